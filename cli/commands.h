#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class TROMData;

// A mistake in the command line itself: status 1 with the usage text.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline const char* const DefaultDataFileName = "Teenage Mutant Ninja Turtles (U) (!).ini";

struct TCliArgs {
    TCliArgs(int argc, char** argv);
    bool Has(const std::string& name) const;
    std::optional<std::string> Get(const std::string& name) const;
    int Number(const std::string& name, int def) const;
    std::string DataDir() const;
    // --data, else detection over data.dat, else the default data file.
    std::string ChooseDataFile(const std::string& romPath) const;
    std::unique_ptr<TROMData> OpenModel(const std::string& romPath) const;
    const std::string& Positional(size_t i, const char* what) const {
        if (i >= positional.size()) throw UsageError(std::string("missing ") + what);
        return positional[i];
    }

    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

int CmdInfo(const TCliArgs& args);
int CmdDetect(const TCliArgs& args);
int CmdDump(const TCliArgs& args);
int CmdRepack(const TCliArgs& args);
int CmdRender(const TCliArgs& args);
int CmdIPS(const TCliArgs& args);

// quillborn-cli: the editor's model and drawing code for scripts and batch work.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/classes_romdata.h"
#include "rom/Errors.h"
#include "tools/core_detect.h"

namespace fs = std::filesystem;

namespace {

const char* const Usage =
    "usage:\n"
    "  quillborn-cli info ROM\n"
    "  quillborn-cli detect ROM\n"
    "  quillborn-cli dump ROM [--data FILE] [--json]\n"
    "  quillborn-cli repack ROM [--data FILE] -o OUT\n"
    "  quillborn-cli render ROM [--data FILE] --level N --stage N [--screen N | --all] [--no-markers] [--palette FILE] -o OUT.png\n"
    "  quillborn-cli render ROM [--data FILE] --level N --world [--palette FILE] -o OUT.png\n"
    "  quillborn-cli ips create CLEAN EDITED OUT.ips\n"
    "  quillborn-cli ips apply PATCH IN OUT\n"
    "options for every command: --data-dir DIR (another Data folder)\n";

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

}  // namespace

TCliArgs::TCliArgs(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--", 0) == 0 || a == "-o") {
            static const std::vector<std::string> flags = {"--json", "--all", "--world", "--no-markers"};
            bool isFlag = false;
            for (const auto& f : flags) isFlag = isFlag || a == f;
            if (isFlag) {
                options[a] = "";
            } else {
                if (i + 1 >= argc) throw UsageError("option " + a + " needs a value");
                options[a] = argv[++i];
            }
        } else {
            positional.push_back(a);
        }
    }
}

bool TCliArgs::Has(const std::string& name) const { return options.count(name) != 0; }

std::optional<std::string> TCliArgs::Get(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

int TCliArgs::Number(const std::string& name, int def) const {
    auto v = Get(name);
    if (!v) return def;
    try {
        size_t used = 0;
        int n = std::stoi(*v, &used, 10);
        if (used != v->size()) throw UsageError(name + " needs a whole number, not '" + *v + "'");
        return n;
    } catch (const std::logic_error&) {
        throw UsageError(name + " needs a whole number, not '" + *v + "'");
    }
}

std::string TCliArgs::DataDir() const {
    if (auto d = Get("--data-dir")) return *d;
    return ExecutableDir() + "/Data";
}

std::string TCliArgs::ChooseDataFile(const std::string& romPath) const {
    if (auto d = Get("--data")) return *d;
    const std::string dir = DataDir();
    std::string name;
    std::error_code ec;
    // Detection as the editor does it; without a data.dat there is nothing to detect from.
    if (fs::exists(dir + "/data.dat", ec)) name = DetectDataFile(romPath, dir);
    if (name.empty()) name = DefaultDataFileName;
    const std::string path = dir + "/" + name;
    if (!fs::exists(path, ec)) throw EditorError("no data file for this ROM (tried \"" + path + "\"); name one with --data");
    return path;
}

std::unique_ptr<TROMData> TCliArgs::OpenModel(const std::string& romPath) const {
    std::error_code ec;
    if (!fs::exists(romPath, ec)) throw EditorError("no such file: " + romPath);
    return std::make_unique<TROMData>(romPath, ChooseDataFile(romPath), DataDir());
}

int main(int argc, char** argv) {
    try {
        TCliArgs args(argc, argv);
        if (args.positional.empty()) throw UsageError("no command given");
        const std::string cmd = args.positional[0];
        if (cmd == "info") return CmdInfo(args);
        if (cmd == "detect") return CmdDetect(args);
        if (cmd == "dump") return CmdDump(args);
        if (cmd == "repack") return CmdRepack(args);
        if (cmd == "render") return CmdRender(args);
        if (cmd == "ips") return CmdIPS(args);
        if (cmd == "help" || cmd == "--help") {
            std::cout << Usage;
            return 0;
        }
        throw UsageError("unknown command '" + cmd + "'");
    } catch (const UsageError& e) {
        std::cerr << "error: " << e.what() << "\n" << Usage;
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return 2;
    }
}

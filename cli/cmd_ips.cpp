// ips create and ips apply.

#include <iostream>

#include "cli/commands.h"
#include "tools/core_ips.h"

int CmdIPS(const TCliArgs& args) {
    const std::string& action = args.Positional(1, "ips action (create or apply)");
    if (action == "create") {
        const std::string& clean = args.Positional(2, "CLEAN");
        const std::string& edited = args.Positional(3, "EDITED");
        const std::string& out = args.Positional(4, "OUT.ips");
        if (args.positional.size() > 5) throw UsageError("ips create takes three files");
        CreateIPSFile(clean, edited, out);
        return 0;
    }
    if (action == "apply") {
        const std::string& patch = args.Positional(2, "PATCH");
        const std::string& in = args.Positional(3, "IN");
        const std::string& out = args.Positional(4, "OUT");
        if (args.positional.size() > 5) throw UsageError("ips apply takes three files");
        ApplyIPSFile(patch, in, out);
        return 0;
    }
    throw UsageError("unknown ips action '" + action + "' (create or apply)");
}

#include "tools/core_emulator.h"

std::optional<std::string> EmulatorParameters(int emuFileSettings, const std::string& romPath) {
    switch (emuFileSettings) {
    case 0:
    case 1: return " " + romPath;
    case 2: return " \"" + romPath + "\"";
    default: return std::nullopt;
    }
}

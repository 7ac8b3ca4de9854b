#pragma once
// The parameter string an associated emulator is started with.

#include <optional>
#include <string>

// EmuFileSettings 0: a space and the path; 1: the short 8.3 form, which this platform does not have, so
// the path as in 0; 2: a space and the path in double quotes. Any other value: no launch (nullopt).
std::optional<std::string> EmulatorParameters(int emuFileSettings, const std::string& romPath);

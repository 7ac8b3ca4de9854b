#pragma once
// Builds a model from fuzzed data-file text and ROM bytes and runs every model operation on it.
// Input: the data-file text, a backslash and one more byte, then the ROM bytes (the text's own
// backslashes doubled).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

void RunModelFuzzInput(const uint8_t* data, size_t size);

void SplitModelFuzzInput(const uint8_t* data, size_t size, std::string& text, std::vector<uint8_t>& rom);
// The inverse, for making seeds.
std::vector<uint8_t> MakeModelFuzzInput(const std::string& iniText, const std::vector<uint8_t>& rom);

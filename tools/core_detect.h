#pragma once
// Pairing a ROM with a data file: the list in Data/data.dat and the AutoCheck signatures.

#include <string>
#include <vector>

// The lines of Data/data.dat in order (empty lines left out); throws EditorError when the file is missing.
std::vector<std::string> ReadDataFileList(const std::string& dataDir);

// The name, as listed, of the first data file whose signature matches the ROM file, or "".
// Throws EditorError when data.dat is missing or a signature value is not hexadecimal.
std::string DetectDataFile(const std::string& romPath, const std::string& dataDir);

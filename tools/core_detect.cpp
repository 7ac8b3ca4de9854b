#include "tools/core_detect.h"

#include <filesystem>
#include <fstream>

#include "model/MemINIHexFile.h"
#include "rom/Errors.h"
#include "rom/ROMImage.h"

std::vector<std::string> ReadDataFileList(const std::string& dataDir) {
    const std::string path = dataDir + "/data.dat";
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) throw EditorError("Cannot open file \"" + path + "\". No such file.");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!Trim(line).empty()) lines.push_back(line);
    }
    return lines;
}

std::string DetectDataFile(const std::string& romPath, const std::string& dataDir) {
    const std::vector<std::string> names = ReadDataFileList(dataDir);
    const TROMImage rom(romPath);
    for (const std::string& name : names) {
        const TMemINIHexFile ini(dataDir + "/" + name);
        const TOffset location = ini.ReadHex("AutoCheck", "Location");
        const int expected[4] = {ini.ReadHex("AutoCheck", "Auto1"), ini.ReadHex("AutoCheck", "Auto2"),
                                 ini.ReadHex("AutoCheck", "Auto3"), ini.ReadHex("AutoCheck", "Auto4")};
        // A signature that reaches past the end of the ROM matches nothing.
        if (!rom.InRange(location, 4)) continue;
        bool match = true;
        for (int i = 0; i < 4 && match; ++i) match = rom.ReadByte(location + i) == (expected[i] & 0xFF);
        if (match) return name;
    }
    return {};
}

#include "model/NameList.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/IniFile.h"
#include "rom/Errors.h"

void LoadNameListFromText(TNameList& list, const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 2, "//") == 0) continue;
        // The key ends at the first colon that is not the line's last character.
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon + 1 == line.size()) continue;  // not an entry
        std::string key = line.substr(0, colon);
        std::string name = line.substr(colon + 1);
        auto index = ParseHex(Trim(key));
        if (!index) throw ConvertError(key);
        if (*index < 0 || *index > 255) throw ListIndexError(*index);
        list[static_cast<size_t>(*index)] = "$" + key + " - " + name;
    }
}

void LoadNameList(TNameList& list, const std::string& fileName) {
    list.assign(256, std::string());
    for (int i = 0; i < 256; ++i) list[static_cast<size_t>(i)] = "$" + HexByte(i) + " - N\\A";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EditorError("Cannot open file \"" + fileName + "\".");
    std::stringstream ss;
    ss << in.rdbuf();
    LoadNameListFromText(list, ss.str());
}

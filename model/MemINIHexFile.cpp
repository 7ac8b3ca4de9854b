#include "model/MemINIHexFile.h"

#include "rom/Errors.h"

int TMemINIHexFile::ReadHex(std::string_view section, std::string_view key) const {
    std::string text = Trim(ReadString(section, key, "0"));
    auto v = ParseHex(text);
    if (!v) throw ConvertError(text);
    return *v;
}

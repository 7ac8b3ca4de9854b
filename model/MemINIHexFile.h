#pragma once
// The data-file reader: an INI file whose offsets are bare hexadecimal numbers.

#include <string>

#include "model/IniFile.h"

class TMemINIHexFile : public TIniFile {
public:
    TMemINIHexFile() = default;
    explicit TMemINIHexFile(const std::string& fileName) : TIniFile(TIniFile::FromFile(fileName)) {}
    explicit TMemINIHexFile(TIniFile ini) : TIniFile(std::move(ini)) {}

    // Missing key: 0. Text that is not bare hexadecimal throws "'text' is not a valid integer value".
    int ReadHex(std::string_view section, std::string_view key) const;
    // Decimal with default 0.
    int ReadInt(std::string_view section, std::string_view key) const { return ReadInteger(section, key, 0); }
};

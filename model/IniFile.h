#pragma once
// A small INI file held in memory: sections and keys matched without regard to case,
// file order, comments and unknown keys kept, read and written whole.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TIniFile {
public:
    TIniFile() = default;
    // A missing file gives an empty INI; a file that exists but cannot be read throws EditorError.
    static TIniFile FromFile(const std::string& fileName);
    static TIniFile FromText(std::string_view text);

    std::string ToText() const;
    // Written whole through a temporary file; false when it cannot be written.
    bool SaveToFile(const std::string& fileName) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal; "0x1F" and "$1F" read as hexadecimal; anything unreadable gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, long long value) {
        WriteString(section, key, std::to_string(value));
    }
    void WriteBool(std::string_view section, std::string_view key, bool value) { WriteString(section, key, value ? "1" : "0"); }

    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Line {
        std::string Key;    // empty for a comment or a line without '='
        std::string Value;  // the whole raw text for comments
        bool IsEntry = false;
    };
    struct Section {
        std::string Name;
        std::vector<Line> Lines;
        std::unordered_map<std::string, size_t> Index;  // lower-case key -> line
    };
    const Section* FindSection(std::string_view name) const;
    Section& SectionFor(std::string_view name);

    std::vector<std::string> preamble_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;
};

// Number readers shared by the INI readers and every place that reads typed text.
std::string Trim(std::string_view s);
std::string ToLower(std::string_view s);
// Hexadecimal digits only (no prefix, no sign), at most 32 bits; "FFFFFFFF" reads as -1 as a 32-bit value does.
std::optional<int> ParseHex(std::string_view text);
// Decimal with optional sign, or "0x..."/"$..." hexadecimal.
std::optional<int> ParseInt(std::string_view text);
// Two upper-case hexadecimal digits of the low byte, as every byte value is shown.
std::string HexByte(int value);

#include "model/IniFile.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "rom/Errors.h"

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(b, e - b));
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> ParseHex(std::string_view text) {
    if (text.empty()) return std::nullopt;
    unsigned long long v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<int>(static_cast<uint32_t>(v));
}

std::optional<int> ParseInt(std::string_view raw) {
    std::string text = Trim(raw);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(std::string_view(text).substr(2));
    if (!text.empty() && text[0] == '$') return ParseHex(std::string_view(text).substr(1));
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) neg = text[i++] == '-';
    if (i >= text.size()) return std::nullopt;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (neg) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<int>(v);
}

std::string HexByte(int value) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFF);
    return buf;
}

TIniFile TIniFile::FromFile(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return {};
    std::ifstream in(fileName, std::ios::binary);
    if (!in || std::filesystem::is_directory(fileName, ec)) throw EditorError("Cannot open file \"" + fileName + "\".");
    std::stringstream ss;
    ss << in.rdbuf();
    return FromText(ss.str());
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        std::string_view raw = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string line = Trim(raw);
        if (nl == std::string_view::npos && line.empty()) break;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &ini.SectionFor(Trim(std::string_view(line).substr(1, line.size() - 2)));
            continue;
        }
        Line l;
        size_t eq = line.find('=');
        bool comment = line.empty() || line[0] == ';' || line[0] == '#';
        if (!comment && eq != std::string::npos) {
            l.Key = Trim(std::string_view(line).substr(0, eq));
            l.Value = Trim(std::string_view(line).substr(eq + 1));
            l.IsEntry = !l.Key.empty();
        }
        if (!l.IsEntry) l.Value = std::string(raw);
        if (!current) {
            ini.preamble_.push_back(std::string(raw));
            continue;
        }
        if (l.IsEntry) {
            // The first of two equal keys wins, as readers of these files expect.
            if (current->Index.count(ToLower(l.Key))) continue;
            current->Index.emplace(ToLower(l.Key), current->Lines.size());
        }
        current->Lines.push_back(std::move(l));
    }
    return ini;
}

std::string TIniFile::ToText() const {
    std::string out;
    for (const auto& p : preamble_) out += p + "\n";
    for (const auto& s : sections_) {
        out += "[" + s.Name + "]\n";
        for (const auto& l : s.Lines) out += l.IsEntry ? l.Key + "=" + l.Value + "\n" : l.Value + "\n";
    }
    return out;
}

bool TIniFile::SaveToFile(const std::string& fileName) const {
    std::string tmp = fileName + ".tmp~";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        std::string text = ToText();
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), fileName.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(ToLower(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TIniFile::Section& TIniFile::SectionFor(std::string_view name) {
    auto [it, fresh] = sectionIndex_.try_emplace(ToLower(name), sections_.size());
    if (fresh) sections_.push_back(Section{std::string(name), {}, {}});
    return sections_[it->second];
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const { return Value(section, key).has_value(); }

std::optional<std::string> TIniFile::Value(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    auto it = s->Index.find(ToLower(key));
    if (it == s->Index.end()) return std::nullopt;
    return s->Lines[it->second].Value;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    auto v = Value(section, key);
    return v ? *v : std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    auto v = Value(section, key);
    if (!v) return def;
    auto n = ParseInt(*v);
    return n ? *n : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = SectionFor(section);
    auto [it, fresh] = s.Index.try_emplace(ToLower(key), s.Lines.size());
    if (fresh)
        s.Lines.push_back(Line{std::string(key), std::string(value), true});
    else
        s.Lines[it->second].Value = std::string(value);
}

std::vector<std::string> TIniFile::Sections() const {
    std::vector<std::string> out;
    for (const auto& s : sections_) out.push_back(s.Name);
    return out;
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
    std::vector<std::string> out;
    if (const Section* s = FindSection(section))
        for (const auto& l : s->Lines)
            if (l.IsEntry) out.push_back(l.Key);
    return out;
}

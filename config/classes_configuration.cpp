#include "config/classes_configuration.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "model/IniFile.h"
#include "rom/Errors.h"

namespace {

const char* const RecentKeys[TEditorConfig::RecentSlots] = {"RecentFile0", "RecentFile1", "RecentFile2", "RecentFile3",
                                                             "RecentFile4"};

uint8_t ReadByteSetting(const TIniFile& ini, const char* key, uint8_t def) {
    // Only the low eight bits are kept, as the field is a byte.
    return static_cast<uint8_t>(static_cast<unsigned>(ini.ReadInteger("General", key, def)) & 0xFFu);
}

TColor32 ReadColour(const TIniFile& ini, const char* section, TColor32 def) {
    // Each channel falls back to its own default; unsigned arithmetic so that an out-of-range
    // channel wraps instead of overflowing.
    auto channel = [&](const char* key, int shift) {
        return static_cast<uint32_t>(ini.ReadInteger(section, key, static_cast<int>((def >> shift) & 0xFFu)));
    };
    uint32_t a = channel("A", 24), r = channel("R", 16), g = channel("G", 8), b = channel("B", 0);
    return a * 16777216u + r * 65536u + g * 256u + b;
}

void WriteColour(TIniFile& ini, const char* section, TColor32 c) {
    ini.WriteInteger(section, "R", (c >> 16) & 0xFFu);
    ini.WriteInteger(section, "G", (c >> 8) & 0xFFu);
    ini.WriteInteger(section, "B", c & 0xFFu);
    ini.WriteInteger(section, "A", (c >> 24) & 0xFFu);
}

// Nothing when the file exists but cannot be read; a missing file is an empty INI.
std::optional<TIniFile> ReadSettingsFile(const std::string& fileName) {
    try {
        return TIniFile::FromFile(fileName);
    } catch (const EditorError&) {
        return std::nullopt;
    }
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    auto st = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

}  // namespace

TEditorConfig::TEditorConfig(std::string settingsFileName, std::string programFolder)
    : settingsFileName_(std::move(settingsFileName)), programFolder_(std::move(programFolder)) {
    // The folder is joined with "/", so a trailing separator would double it.
    while (!programFolder_.empty() && programFolder_.back() == '/') programFolder_.pop_back();
    LoadSettings();
    SaveSettings();
}

void TEditorConfig::LoadSettings() {
    // An unreadable file gives every default, as a missing one does.
    TIniFile ini = ReadSettingsFile(settingsFileName_).value_or(TIniFile());

    leftTextColour_ = ReadColour(ini, "LeftText", DefaultLeftTextColour);
    midTextColour_ = ReadColour(ini, "MidText", DefaultMidTextColour);
    gridlineColour_ = ReadColour(ini, "Gridline", DefaultGridlineColour);
    specOutlineColour_ = ReadColour(ini, "SpecOutline", DefaultSpecOutlineColour);

    palette_ = ini.ReadString("General", "Palette", DefaultPalette);
    gridlines_ = ini.ReadBool("General", "Gridlines", true);
    dispMidLeftText_ = ini.ReadBool("General", "DispMidLeftText", true);
    dataFile_ = ini.ReadString("General", "DataFile", DefaultDataFile);
    emulatorPath_ = ini.ReadString("General", "EmulatorPath", "");
    emuFileSettings_ = ReadByteSetting(ini, "EmuFileSettings", 0);
    backup_ = ini.ReadBool("General", "Backup", true);
    emuDisplaySaveWarning_ = ini.ReadBool("General", "EmuDisplaySaveWarning", true);
    lastPalTilEd_ = ReadByteSetting(ini, "LastPalTilEd", 0);
    lastPalTSA_ = ReadByteSetting(ini, "LastPalTSA", 0);
    lastPalTitle_ = ReadByteSetting(ini, "LastPalTitle", 0);
    mapperWarnings_ = ReadByteSetting(ini, "MapperWarnings", DefaultMapperWarnings);
    autoCheck_ = ini.ReadBool("General", "AutoCheck", true);
    disableEnemyDeletePrompt_ = ini.ReadBool("General", "DisableEnemyDeletePrompt", false);

    for (int i = 0; i < RecentSlots; ++i) recentFiles_[i] = ini.ReadString("Recent", RecentKeys[i], "");

    ipsOriginal_ = ini.ReadString("IPS", "Original", "");
    ipsOutput_ = ini.ReadString("IPS", "Output", "");

    autoObjMode_ = ini.ReadBool("General", "AutoObjMode", true);
    iconTrans_ = ini.ReadBool("General", "IconTrans", false);
    iconOpaque_ = ReadByteSetting(ini, "IconOpaque", DefaultIconOpaque);

    showGridlines_ = gridlines_;
    PurgeRecentFiles();
}

bool TEditorConfig::SaveSettings() {
    // Start from the file as it is now, so sections and keys the editor does not use survive.
    // A file that is there but cannot be read is left alone rather than replaced by our keys only.
    std::optional<TIniFile> existing = ReadSettingsFile(settingsFileName_);
    if (!existing) {
        lastSaveFailed_ = true;
        return false;
    }
    TIniFile& ini = *existing;

    // Write order decides the order of sections and keys in a new file.
    WriteColour(ini, "LeftText", leftTextColour_);
    WriteColour(ini, "MidText", midTextColour_);
    WriteColour(ini, "Gridline", gridlineColour_);
    WriteColour(ini, "SpecOutline", specOutlineColour_);

    ini.WriteString("General", "Palette", palette_);
    ini.WriteBool("General", "Gridlines", gridlines_);
    ini.WriteBool("General", "DispMidLeftText", dispMidLeftText_);
    ini.WriteString("General", "DataFile", dataFile_);
    ini.WriteString("General", "EmulatorPath", emulatorPath_);
    ini.WriteInteger("General", "EmuFileSettings", emuFileSettings_);
    ini.WriteBool("General", "Backup", backup_);
    ini.WriteBool("General", "EmuDisplaySaveWarning", emuDisplaySaveWarning_);
    ini.WriteInteger("General", "LastPalTilEd", lastPalTilEd_);
    ini.WriteInteger("General", "LastPalTSA", lastPalTSA_);
    ini.WriteInteger("General", "LastPalTitle", lastPalTitle_);
    ini.WriteInteger("General", "MapperWarnings", mapperWarnings_);
    ini.WriteBool("General", "AutoCheck", autoCheck_);
    ini.WriteBool("General", "DisableEnemyDeletePrompt", disableEnemyDeletePrompt_);

    for (int i = 0; i < RecentSlots; ++i) ini.WriteString("Recent", RecentKeys[i], recentFiles_[i]);

    ini.WriteString("IPS", "Original", ipsOriginal_);
    ini.WriteString("IPS", "Output", ipsOutput_);

    ini.WriteBool("General", "AutoObjMode", autoObjMode_);
    ini.WriteBool("General", "IconTrans", iconTrans_);
    ini.WriteInteger("General", "IconOpaque", iconOpaque_);

    if (!ini.SaveToFile(settingsFileName_)) {
        // The settings in memory stay as they are and still count as unsaved.
        lastSaveFailed_ = true;
        return false;
    }
    lastSaveFailed_ = false;
    modified_ = false;
    return true;
}

void TEditorConfig::RestoreDefaults() {
    // DataFile, the last-used sub-palettes, the run-time gridline state and the recent list stay.
    leftTextColour_ = DefaultLeftTextColour;
    midTextColour_ = DefaultMidTextColour;
    gridlineColour_ = DefaultGridlineColour;
    specOutlineColour_ = DefaultSpecOutlineColour;
    palette_ = DefaultPalette;
    gridlines_ = true;
    dispMidLeftText_ = true;
    backup_ = true;
    emuFileSettings_ = 0;
    emulatorPath_.clear();
    emuDisplaySaveWarning_ = true;
    mapperWarnings_ = DefaultMapperWarnings;
    autoCheck_ = true;
    ipsOriginal_.clear();
    ipsOutput_.clear();
    autoObjMode_ = true;
    iconTrans_ = false;
    iconOpaque_ = DefaultIconOpaque;
    disableEnemyDeletePrompt_ = false;
}

void TEditorConfig::AddRecentFile(const std::string& path) {
    const std::string wanted = ToLower(path);
    int found = -1;
    for (int i = 0; i < RecentSlots && found < 0; ++i)
        if (ToLower(recentFiles_[i]) == wanted) found = i;

    if (found < 0) {
        for (int i = RecentSlots - 1; i > 0; --i) recentFiles_[i] = std::move(recentFiles_[i - 1]);
        recentFiles_[0] = path;
    } else if (found > 0) {
        // The text already stored wins over the new one, whatever its letter case.
        std::string stored = std::move(recentFiles_[found]);
        for (int i = found; i > 0; --i) recentFiles_[i] = std::move(recentFiles_[i - 1]);
        recentFiles_[0] = std::move(stored);
    }
    modified_ = true;
}

const std::string& TEditorConfig::RecentFile(int slot) const {
    if (slot < 0 || slot >= RecentSlots) throw ListIndexError(slot);
    return recentFiles_[slot];
}

int TEditorConfig::RecentFileCount() const {
    int n = 0;
    for (const auto& f : recentFiles_)
        if (!f.empty()) ++n;
    return n;
}

void TEditorConfig::PurgeRecentFiles() {
    // Slots keep their places: a blank slot between two used ones stays blank.
    for (int i = RecentSlots - 1; i >= 0; --i) {
        if (!FileExists(recentFiles_[i])) {
            recentFiles_[i].clear();
            modified_ = true;
        }
    }
}

std::string TEditorConfig::PalettePath() const { return programFolder_ + "/Data/Palettes/" + palette_; }

std::string TEditorConfig::DataFilePath() const { return programFolder_ + "/Data/" + dataFile_; }

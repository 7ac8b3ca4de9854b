#pragma once
// The editor's settings and their file options.ini, plus the list of the five most recently
// opened ROM files. One instance lives as long as the main window.

#include <array>
#include <cstdint>
#include <string>

#include "rom/Bitmap32.h"

class TEditorConfig {
public:
    static constexpr int RecentSlots = 5;

    // settingsFileName: full path of options.ini. programFolder: the folder of the running
    // executable, which the palette and data-file paths are built on. Loads, then saves at once,
    // so the file holds every key after each start; a failed save is kept in LastSaveFailed().
    TEditorConfig(std::string settingsFileName, std::string programFolder);
    virtual ~TEditorConfig() = default;

    TEditorConfig(const TEditorConfig&) = delete;
    TEditorConfig& operator=(const TEditorConfig&) = delete;

    // Missing keys and unreadable values take their defaults; an unreadable file gives all defaults.
    void LoadSettings();
    // Writes every key into the existing file (keeping what the editor does not know) and clears
    // Modified. False when the file could not be read back or written; Modified then stays set.
    bool SaveSettings();
    bool LastSaveFailed() const { return lastSaveFailed_; }

    void RestoreDefaults();

    void AddRecentFile(const std::string& path);
    // Slots 0-4, slot 0 the newest; an empty text marks a free slot.
    const std::string& RecentFile(int slot) const;
    const std::array<std::string, RecentSlots>& RecentFiles() const { return recentFiles_; }
    int RecentFileCount() const;
    void PurgeRecentFiles();

    std::string PalettePath() const;
    std::string DataFilePath() const;

    bool Modified() const { return modified_; }
    const std::string& SettingsFileName() const { return settingsFileName_; }
    const std::string& ProgramFolder() const { return programFolder_; }

    TColor32 LeftTextColour() const { return leftTextColour_; }
    TColor32 MidTextColour() const { return midTextColour_; }
    TColor32 GridlineColour() const { return gridlineColour_; }
    const std::string& Palette() const { return palette_; }
    bool ShowGridlines() const { return showGridlines_; }
    bool Gridlines() const { return gridlines_; }
    bool DispMidLeftText() const { return dispMidLeftText_; }
    const std::string& DataFile() const { return dataFile_; }
    bool Backup() const { return backup_; }
    const std::string& EmulatorPath() const { return emulatorPath_; }
    uint8_t EmuFileSettings() const { return emuFileSettings_; }
    bool EmuDisplaySaveWarning() const { return emuDisplaySaveWarning_; }
    uint8_t LastPalTilEd() const { return lastPalTilEd_; }
    uint8_t LastPalTSA() const { return lastPalTSA_; }
    uint8_t LastPalTitle() const { return lastPalTitle_; }
    uint8_t MapperWarnings() const { return mapperWarnings_; }
    bool AutoCheck() const { return autoCheck_; }
    const std::string& IPSOriginal() const { return ipsOriginal_; }
    const std::string& IPSOutput() const { return ipsOutput_; }
    bool AutoObjMode() const { return autoObjMode_; }
    TColor32 SpecOutlineColour() const { return specOutlineColour_; }
    bool IconTrans() const { return iconTrans_; }
    uint8_t IconOpaque() const { return iconOpaque_; }
    bool DisableEnemyDeletePrompt() const { return disableEnemyDeletePrompt_; }

    // Every setter marks the settings modified, changed value or not.
    void SetLeftTextColour(TColor32 v) { leftTextColour_ = v; modified_ = true; }
    void SetMidTextColour(TColor32 v) { midTextColour_ = v; modified_ = true; }
    void SetGridlineColour(TColor32 v) { gridlineColour_ = v; modified_ = true; }
    void SetPalette(const std::string& v) { palette_ = v; modified_ = true; }
    // Run-time state only: never stored, never marks the settings modified.
    void SetShowGridlines(bool v) { showGridlines_ = v; }
    void SetGridlines(bool v) { gridlines_ = v; modified_ = true; }
    void SetDispMidLeftText(bool v) { dispMidLeftText_ = v; modified_ = true; }
    void SetDataFile(const std::string& v) { dataFile_ = v; modified_ = true; }
    void SetBackup(bool v) { backup_ = v; modified_ = true; }
    void SetEmulatorPath(const std::string& v) { emulatorPath_ = v; modified_ = true; }
    void SetEmuFileSettings(uint8_t v) { emuFileSettings_ = v; modified_ = true; }
    void SetEmuDisplaySaveWarning(bool v) { emuDisplaySaveWarning_ = v; modified_ = true; }
    void SetLastPalTilEd(uint8_t v) { lastPalTilEd_ = v; modified_ = true; }
    void SetLastPalTSA(uint8_t v) { lastPalTSA_ = v; modified_ = true; }
    void SetLastPalTitle(uint8_t v) { lastPalTitle_ = v; modified_ = true; }
    void SetMapperWarnings(uint8_t v) { mapperWarnings_ = v; modified_ = true; }
    void SetAutoCheck(bool v) { autoCheck_ = v; modified_ = true; }
    void SetIPSOriginal(const std::string& v) { ipsOriginal_ = v; modified_ = true; }
    void SetIPSOutput(const std::string& v) { ipsOutput_ = v; modified_ = true; }
    void SetAutoObjMode(bool v) { autoObjMode_ = v; modified_ = true; }
    void SetSpecOutlineColour(TColor32 v) { specOutlineColour_ = v; modified_ = true; }
    void SetIconTrans(bool v) { iconTrans_ = v; modified_ = true; }
    void SetIconOpaque(uint8_t v) { iconOpaque_ = v; modified_ = true; }
    void SetDisableEnemyDeletePrompt(bool v) { disableEnemyDeletePrompt_ = v; modified_ = true; }

    // Defaults of the settings that have one.
    static constexpr TColor32 DefaultLeftTextColour = 0xFFFF0000u;
    static constexpr TColor32 DefaultMidTextColour = 0xFF00FF00u;
    static constexpr TColor32 DefaultGridlineColour = 0xFFFFFFFFu;
    static constexpr TColor32 DefaultSpecOutlineColour = 0xFFFF0000u;
    static constexpr const char* DefaultPalette = "fx3nespal.pal";
    static constexpr const char* DefaultDataFile = "Teenage Mutant Ninja Turtles (U) (!).ini";
    static constexpr uint8_t DefaultMapperWarnings = 1;
    static constexpr uint8_t DefaultIconOpaque = 200;

private:
    bool modified_ = false;
    TColor32 leftTextColour_ = DefaultLeftTextColour;
    TColor32 midTextColour_ = DefaultMidTextColour;
    TColor32 gridlineColour_ = DefaultGridlineColour;
    std::string settingsFileName_;
    std::string palette_ = DefaultPalette;
    bool showGridlines_ = true;
    bool gridlines_ = true;
    bool dispMidLeftText_ = true;
    std::string dataFile_ = DefaultDataFile;
    bool backup_ = true;
    std::string emulatorPath_;
    uint8_t emuFileSettings_ = 0;
    bool emuDisplaySaveWarning_ = true;
    uint8_t lastPalTilEd_ = 0;
    uint8_t lastPalTSA_ = 0;
    uint8_t lastPalTitle_ = 0;
    uint8_t mapperWarnings_ = DefaultMapperWarnings;
    std::array<std::string, RecentSlots> recentFiles_;
    bool autoCheck_ = true;
    std::string ipsOriginal_;
    std::string ipsOutput_;
    bool autoObjMode_ = true;
    TColor32 specOutlineColour_ = DefaultSpecOutlineColour;
    bool iconTrans_ = false;
    uint8_t iconOpaque_ = DefaultIconOpaque;
    bool disableEnemyDeletePrompt_ = false;

    std::string programFolder_;
    bool lastSaveFailed_ = false;
};

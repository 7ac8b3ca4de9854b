#pragma once
// Small ROM images and data files built in memory for the tests.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "model/IniFile.h"
#include "rom/ROMImage.h"

// A fresh folder under the system's temporary folder, removed again at the end of the test.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);

// An iNES image of the given size with helpers that write bytes and CPU pointers.
struct TRomBytes {
    explicit TRomBytes(int prg = 8, int chr = 16, int mapper = 1);
    void Byte(TOffset at, uint8_t v) { bytes.at(static_cast<size_t>(at)) = v; }
    void Bytes(TOffset at, std::initializer_list<uint8_t> v);
    // A pointer at 'at' to 'target' in the given CPU window; the target must lie in the bank the reader will use.
    void Pointer(TOffset at, TOffset target, int cpuBase);
    uint8_t At(TOffset at) const { return bytes.at(static_cast<size_t>(at)); }
    std::vector<uint8_t> bytes;
};

struct TEnemySpec {
    int screen, x, y, flags;
};
struct TObjectSpec {
    int screen, kind, x, y;
    uint8_t extra[4];
};
struct TStageSpec {
    int width = 1, height = 1;
    std::vector<uint8_t> rooms;  // one per screen; defaults to 0, 1, 2, ...
    uint8_t bgPage = 0x0D, sprPage = 0x10, palette = 0;
    uint8_t spriteChanges[4] = {0x11, 0x12, 0x13, 0x14};
    std::vector<TEnemySpec> enemies;
    std::vector<TObjectSpec> objects;
    bool ownTSA = false;  // a StagemTSA / StagemAttribute pair of its own
    bool glitched = false;
    int maxTiles = 0;
};
enum class TTSAForm { Level, PerStage, None };
struct TLevelSpec {
    std::vector<TStageSpec> stages;
    TTSAForm tsa = TTSAForm::Level;
    int damStage = -1;
    int maxTiles = 0x40;
    int worldWidth = 0, worldHeight = 0;  // 0: no world map
};

// Where the builder put things, for assertions.
struct TStageLayout {
    TOffset scrollData, patTable, paletteEntry, spriteChanges, enemyPointer, specObjPointer, specObjList, ownTSA, ownAttr;
};
struct TLevelLayout {
    TOffset roomBase, tsa, attr, worldBase, worldScroll, worldTSA, worldAttr;
    std::vector<TStageLayout> stages;
};

struct TTestGame {
    TRomBytes rom;
    TIniFile ini;
    std::vector<TLevelLayout> levels;
    TOffset paletteTable = 0, enemySets = 0, solidityPointers = 0, startEnemyData = 0, endEnemyData = 0;
    // Writes game.nes and game.ini into dir; returns the ROM path.
    std::string Write(const TTempDir& dir) const;
    std::string IniPath(const TTempDir& dir) const { return dir.File("game.ini"); }
};

// Lays out rooms, scroll data, tables, TSA, palettes, enemy sets, solidity and enemy lists the way the game does.
// enemyArea is the size of the region between StartEnemyData and EndEnemyData.
TTestGame BuildTestGame(const std::vector<TLevelSpec>& levels, int totalEnemies = 100, int enemyArea = 0x800);

// Two levels: the first with a world map and a 3x2 stage plus a 1x1 stage, the second with per-stage TSA tables.
std::vector<TLevelSpec> StandardLevels();

// quillborn-cli of the build, run with the given arguments; standard output and error together.
struct TCliResult {
    int status;
    std::string out;
};
TCliResult RunCli(const std::vector<std::string>& args);

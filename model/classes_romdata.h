#pragma once
// The game-data model of the one open ROM: image, levels and stages from the data file,
// the selection, the block cache, the object lists and the graphics working copies.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/MemINIHexFile.h"
#include "model/NameList.h"
#include "model/classes_Solidity.h"
#include "model/classes_level.h"
#include "rom/iNESImage.h"

// 8x8 colour indices 0..3, addressed by column and row.
struct TTileGrid {
    std::array<std::array<uint8_t, 8>, 8> Rows{};  // Rows[row][column]
    uint8_t& At(int col, int row) { return Rows[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    uint8_t At(int col, int row) const { return Rows[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    bool operator==(const TTileGrid&) const = default;
};

// Every stage's enemies and special objects, for undo and redo of object edits.
struct TObjectState {
    struct Stage {
        std::vector<TEnemy> Enemies;
        std::vector<TSpecObj> SpecObjs;
    };
    std::vector<std::vector<Stage>> Levels;
    bool operator==(const TObjectState& o) const;
};

struct TMarkerPictures;  // render/markers.h

enum class TSolidityRead { Ok, NoTable, Unterminated };

// Hostile files could otherwise make the object walks unbounded in practice.
constexpr int MaxLoadedEnemies = 65535;
constexpr int MaxLoadedSpecObjs = 65535;
constexpr long long MaxTotalScreens = 1 << 20;

class TROMData {
public:
    // Builds the whole model; throws EditorError (file errors, conversion errors) and leaves nothing behind.
    // dataDir is the Data folder that holds the name lists and marker pictures.
    TROMData(const std::string& romFileName, const std::string& dataFileName, const std::string& dataDir);
    // For the fuzzer and tests: the data file given as text.
    TROMData(const std::string& romFileName, const TMemINIHexFile& dataFile, const std::string& dataDir);
    ~TROMData();
    TROMData(const TROMData&) = delete;
    TROMData& operator=(const TROMData&) = delete;

    TiNESImage& Image() { return *image_; }
    const TiNESImage& Image() const { return *image_; }

    // ---- Selection ----
    void SetLevel(int index);
    void SetStage(int index);
    void SetScreen(int index);

    // ---- Saving and checks ----
    // Writes enemies and special objects into the image and saves the file. On false, SaveError() says why;
    // when the enemies would not fit, nothing at all is written.
    bool SaveROM();
    bool SaveROMAs(const std::string& fileName);
    const std::string& SaveError() const { return saveError_; }
    bool IsValidROM() const;
    void RestoreHeader();

    // ---- Thin accessors ----
    const std::string& ROMFileName() const { return image_->FileName(); }
    bool Modified() const { return image_->Modified(); }
    void SetModified(bool value) { image_->SetModified(value); }
    long long FileSize() const { return image_->Size(); }
    int PRGCount() const { return image_->PRGCount(); }
    int CHRCount() const { return image_->CHRCount(); }
    int MapperNumber() const { return image_->MapperNumber(); }
    std::string MapperName() const { return image_->MapperName(); }
    bool HasDiskDudeTag() const { return image_->HasDiskDudeTag(); }
    void LoadPaletteFile(const std::string& fileName) { image_->LoadPaletteFile(fileName); }
    void LoadDefaultPalette() { image_->LoadDefaultPalette(); }
    TColor32 GetColor(int index) const { return image_->GetColor(index); }
    const std::string& DataDir() const { return dataDir_; }

    // ---- Stage layout (current stage and screen) ----
    TOffset RoomBase() const { return RoomBaseOf(*CurrentLevel); }
    TOffset RoomBaseOf(const TLevel& level) const;
    TOffset StageTSA() const { return TSAOf(*CurrentLevel, StageIndex); }
    TOffset StageAttr() const { return AttrOf(*CurrentLevel, StageIndex); }
    TOffset TSAOf(const TLevel& level, int stageIndex) const;
    TOffset AttrOf(const TLevel& level, int stageIndex) const;
    static bool HasTSASource(const TLevel& level, const TSideScrLevel& stage) {
        return stage.TSAPointer > 0 || level.Source.TSA >= 0;
    }
    static bool HasAttrSource(const TLevel& level, const TSideScrLevel& stage) {
        return stage.AttributePointer > 0 || level.Source.Attr >= 0;
    }
    uint8_t GetBlock(int col, int row) const;
    bool SetBlock(int col, int row, uint8_t value);
    void CacheScreenBlocks();
    void RenderBlock(int block);
    void RefreshBlocks(int first);
    // Refused (false, nothing written) when the level gives no TSA or attribute table.
    bool SetTSATile(int block, int col, uint8_t tile, int row);
    bool CycleAttribute(int block, int xHalf, int yHalf);

    // ---- World map ----
    void InitWorldMap();

    // ---- Enemies and special objects ----
    void LoadEnemies();
    void LoadSpecObjs();
    void SaveEnemies();
    void SaveSpecObjs();
    // Bytes the packed enemies of every stage take from StartEnemyData.
    long long PackedEnemySize() const;
    int EnemyCount() const;
    bool AddEnemy();
    void DeleteEnemy(int index);
    int EnemyAt(int x, int y) const;
    int SpecObjAt(int x, int y) const;
    TObjectState CaptureObjects() const;
    void RestoreObjects(const TObjectState& state);

    // ---- Graphics settings ----
    void LoadPatternBuffer();
    bool StorePatternBuffer();
    void LoadPalette(uint8_t number);
    void LoadStagePalette() { LoadPalette(CurrentStage->GetPaletteIndex()); }
    bool StorePalette(uint8_t number);
    bool StoreStagePalette() { return StorePalette(CurrentStage->GetPaletteIndex()); }
    TOffset PaletteRecord(uint8_t number) const;
    uint8_t GetPaletteEntry(int sub, int entry) const { return PaletteBuffer[static_cast<size_t>((4 * sub + entry) & 15)]; }
    void SetPaletteEntry(int sub, int entry, uint8_t colour) { PaletteBuffer[static_cast<size_t>((4 * sub + entry) & 15)] = colour; }
    void ReadTile(int n, TTileGrid& grid) const;
    bool WriteTile(int n, const TTileGrid& grid);
    uint8_t EnemyTypeFor(uint8_t spritePage, uint8_t slot) const;
    uint8_t StageEnemyType(int slot) const { return EnemyTypeFor(CurrentStage->GetSprPatternTable(), static_cast<uint8_t>(slot)); }
    // 128x128: layout 0 = 16 rows of 16 tiles, 1 = tile pairs stacked in 16-pixel bands.
    void DrawPatternPage(TBitmap32& bitmap, int sub, int layout, int page) const;
    // Offset of background page b's solidity table, or -1 when the page has none (below $0D).
    TOffset SolidityTableOffset(int bgPage) const;
    TSolidityRead ReadSolidity(TSolidityList& list) const;
    // False, nothing written, when the page has no table or an entry would land outside the image.
    bool WriteSolidity(const TSolidityList& list);

    // ---- Drawing (implemented in render/) ----
    // Blocks of the current screen (stale cache slots are drawn first) and, as showMask says
    // (bit 0 enemies, bit 1 special objects), their markers at the given opacity.
    void DrawScreen(TBitmap32& target, uint8_t showMask, int enemyView, uint8_t markerOpacity = 255);
    // Six blocks of the picker from first on; renders those not drawn yet.
    void DrawTileStrip(TBitmap32& target, int first);
    // The 256 background tiles in sub-palette sub; world: the current level's world tiles and palette.
    void DrawPatternTable(TBitmap32& target, int sub, bool world) const;
    // One 16x16 square per screen of the current stage.
    void DrawLevelMap(TBitmap32& target) const;

    // ---- Fields ----
    std::unique_ptr<TBitmap32> BlockCache;
    std::string DataFileName;
    TPatternBuffer PatternBuffer{};
    TPaletteBuffer PaletteBuffer{};
    int LevelIndex = -1;
    int StageIndex = -1;
    std::array<bool, 256> BlockDrawn{};
    TOffset PalettePointers = 0;
    int Screen = 0;
    TOffset SolidityPointers = 0;
    TOffset EnemiesUsedSprite = 0;
    TOffset StartEnemyData = 0;
    TOffset EndEnemyData = 0;
    int TotalEnemies = 0;
    TLevel* CurrentLevel = nullptr;
    TSideScrLevel* CurrentStage = nullptr;
    TLevelList Levels;
    TNameList EnemyNames;
    TNameList SpecObjNames;
    TNameList TileTypeNames;

private:
    void Build(const TMemINIHexFile& ini);
    void LoadDataFile(const TMemINIHexFile& ini);
    void CreateStages(TLevel& level, int count);
    bool CheckEnemySpace();

    std::unique_ptr<TiNESImage> image_;
    std::string dataDir_;
    TMemINIHexFile dataFile_;  // kept for the header check and restore, which read its Mapper keys
    bool objectsLoaded_ = false;
    std::shared_ptr<const TMarkerPictures> markers_;  // read from the Data folder once, at the first drawing that needs them
    std::string saveError_;
};

#pragma once
// A level of the game with its side-scrolling stages and, for some, an overhead world map.

#include <array>
#include <memory>
#include <string>

#include "model/ObjectList.h"
#include "model/classes_enemy.h"
#include "model/classes_property.h"
#include "model/classes_specobj.h"
#include "rom/Bitmap32.h"
#include "rom/iNESImage.h"

// Blocks: 32x32 pixels, 4x4 tiles; one cache slot per block number.
constexpr int BlockSize = 32;
constexpr int BlockCacheWidth = 256 * BlockSize;
constexpr int RoomColumns = 8;
constexpr int RoomRows = 6;       // a stage room: 8x6 blocks, 48 bytes
constexpr int WorldRoomRows = 8;  // a world room: 8x8 blocks, 64 bytes

using TPatternBuffer = std::array<uint8_t, 4096>;
using TPaletteBuffer = std::array<uint8_t, 16>;

// Draws block n (TSA entry at tsa + 16n, attribute at attr + n) into its slot of a block cache.
void DrawBlock(const TiNESImage& image, TBitmap32& cache, int n, TOffset tsa, TOffset attr, const TPatternBuffer& patterns,
               const TPaletteBuffer& palette);

class TSideScrLevel {
public:
    explicit TSideScrLevel(TiNESImage* image) : Image(image) {}

    uint8_t Width() const { return Image->ReadByte(ScrollData); }
    uint8_t Height() const { return Image->ReadByte(ScrollData + 1); }
    int ScreenCount() const { return Width() * Height(); }
    uint8_t GetRoom(int screen) const { return Image->ReadByte(ScrollData + 2 + screen); }
    bool SetRoom(int screen, uint8_t value) { return Image->WriteByte(ScrollData + 2 + screen, value); }
    uint8_t GetBGPatternTable() const { return Image->ReadByte(PatTableEntry); }
    bool SetBGPatternTable(uint8_t v) { return Image->WriteByte(PatTableEntry, v); }
    uint8_t GetSprPatternTable() const { return Image->ReadByte(PatTableEntry + 1); }
    bool SetSprPatternTable(uint8_t v) { return Image->WriteByte(PatTableEntry + 1, v); }
    uint8_t GetPaletteIndex() const { return Image->ReadByte(PaletteEntry); }
    bool SetPaletteIndex(uint8_t v) { return Image->WriteByte(PaletteEntry, v); }
    uint8_t GetSpriteChange(int index) const { return Image->ReadByte(SpriteChangeData + index); }
    bool SetSpriteChange(int index, uint8_t v) { return Image->WriteByte(SpriteChangeData + index, v); }

    TiNESImage* Image;
    bool Glitched = false;
    TOffset TSAPointer = 0;
    TOffset AttributePointer = 0;
    TOffset ScrollData = 0;
    TOffset PatTableEntry = 0;
    TOffset PaletteEntry = 0;
    TOffset SpriteChangeData = 0;
    TOffset EnemyPointer = 0;
    TOffset SpecObjPointer = 0;
    bool IsDamStage = false;
    uint8_t MaxTiles = 0;
    std::unique_ptr<TEnemyList> Enemies;
    // Stages whose lists start at the same place share one list, so an edit cannot be overwritten
    // by a stale copy when both are written back.
    std::shared_ptr<TSpecObjList> SpecObjs;
};

using TSideScrLevelList = TObjectList<TSideScrLevel>;

// Where a level's tables are found: the offsets of its pointer keys, -1 where the data file gives none.
// Kept beside the property list because the drawing paths ask for them on every redraw.
struct TLevelSources {
    TOffset LevelData = -1;
    TOffset TSA = -1;  // LevelTSAPointer, or the Level5TSAStart table when TSAPerStage
    bool TSAPerStage = false;
    TOffset Attr = -1;
    bool AttrPerStage = false;
    TOffset WorldLevelData = -1;
    TOffset WorldTSA = -1;
    TOffset WorldAttr = -1;
    TOffset WorldPalette = -1;
    TOffset WorldPatternTable = -1;
};

class TLevel {
public:
    explicit TLevel(TiNESImage* image) : Image(image) {}

    bool HasWorldMap() const { return Properties.Find("WorldLevelDataPointer") != nullptr; }
    // Offset of the named property, or -1 when the level has none.
    TOffset PropertyOffset(std::string_view name) const {
        const T1ByteProperty* p = Properties.Find(name);
        return p ? p->Offset : -1;
    }

    // World map (read only; callers test HasWorldMap first).
    uint8_t WorldWidth() const { return Image->ReadByte(WorldScrollData); }
    uint8_t WorldHeight() const { return Image->ReadByte(WorldScrollData + 1); }
    uint8_t GetWorldRoom(int screen) const { return Image->ReadByte(WorldScrollData + 2 + screen); }
    TOffset WorldBase() const;
    TOffset WorldTSA() const;
    TOffset WorldAttr() const;
    uint8_t WorldPaletteNumber() const;
    uint8_t WorldPatternPage() const;
    uint8_t GetWorldBlock(int col, int row) const;
    void SetWorldScreen(int screen);
    void CacheWorldScreen();
    void RenderWorldBlock(int block);
    void InitWorldBlocks();
    void FreeWorldBlocks() { WorldBlockCache.reset(); }
    void LoadWorldPalette(TOffset palettePointers);
    void LoadWorldPatterns();
    // Copies the 64 blocks of the selected world screen into a 256x256 picture.
    void DrawWorldScreen(TBitmap32& target) const;
    // Eight blocks of the world picker from first on, rendering those not drawn yet.
    void DrawWorldTileStrip(TBitmap32& target, int first);

    TiNESImage* Image;
    int DamStage = -1;
    TOffset WorldScrollData = 0;
    std::unique_ptr<TBitmap32> WorldBlockCache;
    int WorldScreen = 0;
    std::array<bool, 256> WorldBlockDrawn{};
    uint8_t MaxTiles = 0;
    TPatternBuffer WorldPatternBuffer{};
    TPaletteBuffer WorldPaletteBuffer{};
    TSideScrLevelList Stages;
    T1BytePropertyList Properties;
    TLevelSources Source;
};

using TLevelList = TObjectList<TLevel>;

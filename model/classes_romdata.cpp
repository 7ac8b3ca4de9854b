#include "model/classes_romdata.h"

#include <map>
#include <set>

#include "rom/Errors.h"

namespace {
constexpr int MaxLevels = 255;
constexpr int MaxStages = 255;
const char* const SaveFailedText = "ROM cannot be saved. Another program is probably using the file.";

std::string Hex(long long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "$%llX", v);
    return buf;
}
}  // namespace

bool TObjectState::operator==(const TObjectState& o) const {
    if (Levels.size() != o.Levels.size()) return false;
    for (size_t l = 0; l < Levels.size(); ++l) {
        if (Levels[l].size() != o.Levels[l].size()) return false;
        for (size_t s = 0; s < Levels[l].size(); ++s)
            if (Levels[l][s].Enemies != o.Levels[l][s].Enemies || Levels[l][s].SpecObjs != o.Levels[l][s].SpecObjs) return false;
    }
    return true;
}

// ---------------------------------------------------------------- construction

TROMData::TROMData(const std::string& romFileName, const std::string& dataFileName, const std::string& dataDir)
    : DataFileName(dataFileName), dataDir_(dataDir) {
    image_ = std::make_unique<TiNESImage>(romFileName);
    Build(TMemINIHexFile(dataFileName));
}

TROMData::TROMData(const std::string& romFileName, const TMemINIHexFile& dataFile, const std::string& dataDir)
    : dataDir_(dataDir) {
    image_ = std::make_unique<TiNESImage>(romFileName);
    Build(dataFile);
}

TROMData::~TROMData() = default;

void TROMData::Build(const TMemINIHexFile& ini) {
    dataFile_ = ini;
    LoadDataFile(ini);
    LevelIndex = -1;
    const std::string dir = dataDir_.empty() ? std::string(".") : dataDir_;
    LoadNameList(EnemyNames, dir + "/enemy.dat");
    LoadNameList(SpecObjNames, dir + "/specobj.dat");
    LoadNameList(TileTypeNames, dir + "/tiletypes.dat");
}

void TROMData::LoadDataFile(const TMemINIHexFile& ini) {
    SolidityPointers = ini.ReadHex("General", "SolidityPointers");
    PalettePointers = ini.ReadHex("General", "PalettePointers");
    EnemiesUsedSprite = ini.ReadHex("General", "EnemiesUsedSprite");
    StartEnemyData = ini.ReadHex("EnemyData", "StartEnemyData");
    EndEnemyData = ini.ReadHex("EnemyData", "EndEnemyData");
    TotalEnemies = ini.ReadInt("EnemyData", "TotalEnemies");

    const int levels = ini.ReadInt("General", "Levels");
    if (levels > MaxLevels)
        throw EditorError("The data file lists " + std::to_string(levels) + " levels; at most " + std::to_string(MaxLevels) +
                          " are supported.");
    for (int n = 0; n < levels; ++n) {
        const std::string sec = "Level" + std::to_string(n);
        TLevel& level = Levels.Emplace(image_.get());
        const int stages = ini.ReadInt(sec, "NumOfStages");
        if (stages > MaxStages)
            throw EditorError("Level " + std::to_string(n + 1) + " of the data file lists " + std::to_string(stages) +
                              " stages; at most " + std::to_string(MaxStages) + " are supported.");
        level.DamStage = ini.ValueExists(sec, "DamStage") ? ini.ReadInteger(sec, "DamStage", 0) : -1;

        auto add = [&](const char* key) -> TOffset {
            const TOffset off = ini.ReadHex(sec, key);
            level.Properties.Add(std::make_unique<T1ByteProperty>(image_.get(), off, key));
            return off;
        };
        if (!ini.ReadBool(sec, "NoWorldMap", true)) {
            level.Source.WorldLevelData = add("WorldLevelDataPointer");
            level.Source.WorldTSA = add("WorldTSAPointer");
            level.Source.WorldAttr = add("WorldAttributePointer");
            const TOffset scroll = add("WorldScrollDataPointer");
            add("WorldEntrancePointer");
            level.Source.WorldPalette = add("WorldPalette");
            level.Source.WorldPatternTable = add("WorldPatternTable");
            level.WorldScrollData = image_->ReadPointer(scroll, 0, 0xC000);
        }
        level.Source.LevelData = add("LevelDataPointer");
        if (ini.ValueExists(sec, "LevelTSAPointer")) {
            level.Source.TSA = add("LevelTSAPointer");
        } else if (ini.ValueExists(sec, "Level5TSAStart")) {
            level.Source.TSA = add("Level5TSAStart");
            level.Source.TSAPerStage = true;
        }
        if (ini.ValueExists(sec, "LevelAttributePointer")) {
            level.Source.Attr = add("LevelAttributePointer");
        } else if (ini.ValueExists(sec, "Level5AttributeStart")) {
            level.Source.Attr = add("Level5AttributeStart");
            level.Source.AttrPerStage = true;
        }
        for (const char* key : {"LevelScrollDataPointer", "LevelEnemyDataPointer", "LevelSpecialObjPointer", "LevelPalettePointer",
                                "LevelPatTablePointer", "LevelBossDataPointer", "LevelExitDataPointer", "LevelSpriteChangePointer"})
            add(key);
        level.MaxTiles = static_cast<uint8_t>(ini.ReadHex(sec, "MaxTiles") & 0xFF);

        CreateStages(level, stages);
        for (int m = 0; m < level.Stages.Count(); ++m) {
            TSideScrLevel& stage = level.Stages[m];
            const std::string st = "Stage" + std::to_string(m);
            stage.TSAPointer = ini.ReadHex(sec, st + "TSA");
            stage.AttributePointer = ini.ReadHex(sec, st + "Attribute");
            stage.Glitched = ini.ReadBool(sec, st + "Glitched", false);
            stage.MaxTiles = static_cast<uint8_t>(ini.ReadHex(sec, st + "MaxTiles") & 0xFF);
        }
    }
}

void TROMData::CreateStages(TLevel& level, int count) {
    auto P = [&](const char* key) { return level.PropertyOffset(key); };
    const TiNESImage& img = *image_;
    const TOffset patTable = img.ReadPointer(P("LevelPatTablePointer"), 0, 0xC000);
    const TOffset scrollTable = img.ReadPointer(P("LevelScrollDataPointer"), 0, 0xC000);
    const TOffset paletteTable = img.ReadPointer(P("LevelPalettePointer"), 0, 0xC000);
    const TOffset spriteTable = img.ReadPointer(P("LevelSpriteChangePointer"), 0, 0x8000);
    const TOffset enemyTable = img.ReadPointer(P("LevelEnemyDataPointer"), 0, 0x8000);
    const TOffset specTable = img.ReadPointer(P("LevelSpecialObjPointer"), 0, 0x8000);
    for (int i = 0; i < count; ++i) {
        TSideScrLevel& s = level.Stages.Emplace(image_.get());
        s.IsDamStage = i == level.DamStage;
        s.PatTableEntry = patTable + 2 * i;
        s.ScrollData = img.ReadPointer(scrollTable + 2 * i, 0, 0xC000);
        s.PaletteEntry = paletteTable + i;
        s.SpriteChangeData = img.ReadPointer(spriteTable + 2 * i, 0, 0x8000);
        s.EnemyPointer = enemyTable + 2 * i;
        s.SpecObjPointer = specTable + 2 * i;
    }
}

// ---------------------------------------------------------------- selection

void TROMData::SetLevel(int index) {
    if (index < 0 || index >= Levels.Count()) throw ListIndexError(index);
    if (Levels[index].Stages.Empty()) throw EditorError("Level " + std::to_string(index + 1) + " has no stages.");
    // Object lists are read once per ROM and kept, so unsaved object edits survive level changes.
    if (!objectsLoaded_) {
        LoadEnemies();
        LoadSpecObjs();
        objectsLoaded_ = true;
    }
    LevelIndex = index;
    if (CurrentLevel) CurrentLevel->FreeWorldBlocks();
    CurrentLevel = &Levels[index];
    Screen = 0;
    BlockDrawn.fill(false);
    if (!BlockCache) {
        BlockCache = std::make_unique<TBitmap32>();
        BlockCache->SetSize(BlockCacheWidth, BlockSize);
    }
    StageIndex = -1;
    CurrentStage = nullptr;
    SetStage(0);
}

void TROMData::SetStage(int index) {
    if (!CurrentLevel) throw EditorError("No level is selected.");
    if (index < 0 || index >= CurrentLevel->Stages.Count()) throw ListIndexError(index);
    Screen = 0;
    TSideScrLevel& next = CurrentLevel->Stages[index];
    if (StageIndex >= 0 && CurrentStage) {
        // Blocks drawn for the previous stage stay valid only when every source of their picture is the
        // same: the pattern page and palette number, and also the TSA and attribute tables, which some
        // stages have of their own (keeping those blocks would show another stage's pictures).
        if (CurrentStage->GetBGPatternTable() != next.GetBGPatternTable() ||
            CurrentStage->GetPaletteIndex() != next.GetPaletteIndex() || TSAOf(*CurrentLevel, StageIndex) != TSAOf(*CurrentLevel, index) ||
            AttrOf(*CurrentLevel, StageIndex) != AttrOf(*CurrentLevel, index))
            BlockDrawn.fill(false);
    }
    StageIndex = index;
    CurrentStage = &next;
    LoadPatternBuffer();
    LoadStagePalette();
    CacheScreenBlocks();
}

void TROMData::SetScreen(int index) {
    if (!CurrentStage) throw EditorError("No stage is selected.");
    if (index < 0 || (index > 0 && index >= CurrentStage->ScreenCount())) throw ListIndexError(index);
    Screen = index;
    CacheScreenBlocks();
}

// ---------------------------------------------------------------- saving and checks

long long TROMData::PackedEnemySize() const {
    long long total = 0;
    for (const auto& level : Levels)
        for (const auto& stage : level->Stages) {
            const int n = stage->ScreenCount();
            if (n == 0) continue;
            std::vector<int> perScreen(static_cast<size_t>(n), 0);
            if (stage->Enemies)
                for (const auto& e : *stage->Enemies)
                    if (e->Screen >= 0 && e->Screen < n) ++perScreen[static_cast<size_t>(e->Screen)];
            long long bytes = 2LL * n;
            for (int k = 0; k < n; ++k) {
                if (perScreen[static_cast<size_t>(k)] > 0)
                    bytes += 3LL * perScreen[static_cast<size_t>(k)] + 1;
                else if (k == 0)
                    bytes += 1;
            }
            total += bytes;
        }
    return total;
}

bool TROMData::CheckEnemySpace() {
    const long long need = PackedEnemySize();
    if (need == 0) return true;
    if (StartEnemyData < iNESHeaderSize) {
        saveError_ = "The data file gives no enemy data area (StartEnemyData), so the enemies cannot be saved. Nothing was written.";
        return false;
    }
    const long long end = StartEnemyData + need;
    if (EndEnemyData > StartEnemyData && end > EndEnemyData) {
        saveError_ = "The enemies take " + std::to_string(end - EndEnemyData) + " bytes too many for the enemy data area (" +
                     Hex(StartEnemyData) + " to " + Hex(EndEnemyData) +
                     "). Delete enemies and save again. Nothing was written.";
        return false;
    }
    if (end > image_->Size()) {
        saveError_ = "The enemies take " + std::to_string(end - image_->Size()) +
                     " bytes more than the ROM holds after the enemy data area's start (" + Hex(StartEnemyData) +
                     "). Delete enemies and save again. Nothing was written.";
        return false;
    }
    return true;
}

bool TROMData::SaveROM() {
    saveError_.clear();
    if (!CheckEnemySpace()) return false;
    SaveEnemies();
    SaveSpecObjs();
    if (!image_->Save()) {
        saveError_ = SaveFailedText;
        return false;
    }
    return true;
}

bool TROMData::SaveROMAs(const std::string& fileName) {
    saveError_.clear();
    if (!CheckEnemySpace()) return false;
    SaveEnemies();
    SaveSpecObjs();
    if (!image_->SaveToFile(fileName)) {
        saveError_ = SaveFailedText;
        return false;
    }
    return true;
}

bool TROMData::IsValidROM() const {
    const int mapper = dataFile_.ReadInteger("Mapper", "MapperNum", 1);
    const int prg = dataFile_.ReadInteger("Mapper", "PRGSize", 8);
    const int chr = dataFile_.ReadInteger("Mapper", "CHRSize", 16);
    return image_->IsNESFile() && image_->MapperNumber() == mapper && image_->PRGCount() == prg && image_->CHRCount() == chr;
}

void TROMData::RestoreHeader() {
    const int mapper = dataFile_.ReadInteger("Mapper", "MapperNum", 2);
    const int prg = dataFile_.ReadInteger("Mapper", "PRGSize", 8);
    const int chr = dataFile_.ReadInteger("Mapper", "CHRSize", 0);
    const int vertical = dataFile_.ReadInteger("Mapper", "Vertical", 1);
    const uint8_t bytes[8] = {0x4E, 0x45, 0x53, 0x1A, static_cast<uint8_t>(prg & 0xFF), static_cast<uint8_t>(chr & 0xFF),
                              static_cast<uint8_t>((((mapper & 0x0F) << 4) + vertical) & 0xFF),
                              static_cast<uint8_t>(mapper & 0xF0)};
    for (int i = 0; i < 8; ++i) image_->WriteByte(i, bytes[i]);
    for (int i = 8; i < 16; ++i) image_->WriteByte(i, 0);
}

// ---------------------------------------------------------------- stage layout

TOffset TROMData::RoomBaseOf(const TLevel& level) const { return image_->ReadPointer(level.Source.LevelData, 0, 0x8000); }

namespace {
// The TSA and the attribute tables are found alike: the stage's own pointer, else the level's pointer,
// else the level's per-stage table, else nothing (offset 0). All of them lead into PRG bank 3.
TOffset BlockTable(const TiNESImage& image, TOffset stagePointer, TOffset levelSource, bool perStage, int stageIndex) {
    if (stagePointer > 0) return image.ReadPointer(stagePointer, 0xC010, 0x8000);
    if (levelSource < 0) return 0;
    return image.ReadPointer(perStage ? levelSource + 2 * stageIndex : levelSource, 0xC010, 0x8000);
}
}  // namespace

TOffset TROMData::TSAOf(const TLevel& level, int stageIndex) const {
    if (stageIndex < 0 || stageIndex >= level.Stages.Count()) return 0;
    return BlockTable(*image_, level.Stages[stageIndex].TSAPointer, level.Source.TSA, level.Source.TSAPerStage, stageIndex);
}

TOffset TROMData::AttrOf(const TLevel& level, int stageIndex) const {
    if (stageIndex < 0 || stageIndex >= level.Stages.Count()) return 0;
    return BlockTable(*image_, level.Stages[stageIndex].AttributePointer, level.Source.Attr, level.Source.AttrPerStage, stageIndex);
}

uint8_t TROMData::GetBlock(int col, int row) const {
    return image_->ReadByte(RoomBase() + 48 * CurrentStage->GetRoom(Screen) + 8 * row + col);
}

bool TROMData::SetBlock(int col, int row, uint8_t value) {
    return image_->WriteByte(RoomBase() + 48 * CurrentStage->GetRoom(Screen) + 8 * row + col, value);
}

void TROMData::CacheScreenBlocks() {
    if (!BlockCache || !CurrentStage) return;
    const TOffset base = RoomBase() + 48 * CurrentStage->GetRoom(Screen);
    for (int w = 0; w < RoomRows; ++w)
        for (int c = 0; c < RoomColumns; ++c) {
            const uint8_t n = image_->ReadByte(base + 8 * w + c);
            if (!BlockDrawn[n]) {
                RenderBlock(n);
                BlockDrawn[n] = true;
            }
        }
}

void TROMData::RenderBlock(int block) {
    if (!BlockCache || !CurrentStage || block < 0 || block > 255) return;
    DrawBlock(*image_, *BlockCache, block, StageTSA(), StageAttr(), PatternBuffer, PaletteBuffer);
}

void TROMData::RefreshBlocks(int first) {
    BlockDrawn.fill(false);
    CacheScreenBlocks();
    for (int n = first; n <= first + 5; ++n) {
        if (n < 0 || n > 255 || BlockDrawn[static_cast<size_t>(n)]) continue;
        RenderBlock(n);
        BlockDrawn[static_cast<size_t>(n)] = true;
    }
}

bool TROMData::SetTSATile(int block, int col, uint8_t tile, int row) {
    if (!CurrentStage || !HasTSASource(*CurrentLevel, *CurrentStage)) return false;
    if (!image_->WriteByte(StageTSA() + 16 * block + 4 * row + col, tile)) return false;
    RenderBlock(block);
    return true;
}

bool TROMData::CycleAttribute(int block, int xHalf, int yHalf) {
    if (!CurrentStage || !HasAttrSource(*CurrentLevel, *CurrentStage)) return false;
    const TOffset at = StageAttr() + block;
    if (!image_->InRange(at)) return false;
    const uint8_t a = image_->ReadByte(at);
    int q[4] = {a & 3, (a >> 2) & 3, (a >> 4) & 3, (a >> 6) & 3};
    const int quarter = (yHalf ? 2 : 0) + (xHalf ? 1 : 0);
    q[quarter] = (q[quarter] + 1) % 4;
    image_->WriteByte(at, static_cast<uint8_t>(q[0] + 4 * q[1] + 16 * q[2] + 64 * q[3]));
    RenderBlock(block);
    return true;
}

// ---------------------------------------------------------------- world map

void TROMData::InitWorldMap() {
    if (!CurrentLevel || !CurrentLevel->HasWorldMap()) return;
    CurrentLevel->SetWorldScreen(0);
    CurrentLevel->InitWorldBlocks();
    CurrentLevel->LoadWorldPalette(PalettePointers);
    CurrentLevel->LoadWorldPatterns();
    CurrentLevel->CacheWorldScreen();
}

// ---------------------------------------------------------------- enemies and special objects

void TROMData::LoadEnemies() {
    long long screens = 0;
    int loaded = 0;
    for (const auto& level : Levels)
        for (const auto& stagePtr : level->Stages) {
            TSideScrLevel& stage = *stagePtr;
            stage.Enemies = std::make_unique<TEnemyList>();
            const int n = stage.ScreenCount();
            screens += n;
            if (screens > MaxTotalScreens)
                throw EditorError("The stages of this data file hold more than " + std::to_string(MaxTotalScreens) +
                                  " screens; it does not describe this ROM.");
            const TOffset table = image_->ReadPointer(stage.EnemyPointer, 0, 0x8000);
            for (int k = 0; k < n; ++k) {
                TOffset e = image_->ReadPointer(table + 2 * k, 0, 0x8000);
                while (image_->ReadByte(e) != 0xFF) {
                    if (++loaded > MaxLoadedEnemies)
                        throw EditorError("The ROM holds more than " + std::to_string(MaxLoadedEnemies) +
                                          " enemies; the data file does not describe this ROM.");
                    stage.Enemies->Emplace(image_->ReadByte(e), image_->ReadByte(e + 1) - 16, image_->ReadByte(e + 2), k);
                    e += 3;
                }
            }
        }
}

void TROMData::LoadSpecObjs() {
    std::map<TOffset, std::shared_ptr<TSpecObjList>> byStart;
    int loaded = 0;
    for (const auto& level : Levels)
        for (const auto& stagePtr : level->Stages) {
            TSideScrLevel& stage = *stagePtr;
            TOffset c = image_->ReadPointer(stage.SpecObjPointer, 0, 0x8000);
            auto& shared = byStart[c];
            if (shared) {
                stage.SpecObjs = shared;
                continue;
            }
            shared = std::make_shared<TSpecObjList>();
            while (image_->ReadByte(c) != 0xFF) {
                if (++loaded > MaxLoadedSpecObjs)
                    throw EditorError("The ROM holds more than " + std::to_string(MaxLoadedSpecObjs) +
                                      " special objects; the data file does not describe this ROM.");
                TSpecObj& o = shared->Emplace();
                o.Screen = image_->ReadByte(c);
                o.Kind = image_->ReadByte(c + 1);
                o.SetX(image_->ReadByte(c + 2));
                o.SetY(image_->ReadByte(c + 3) - 16);
                for (int i = 0; i < 4; ++i) o.Extra[static_cast<size_t>(i)] = image_->ReadByte(c + 4 + i);
                c += 8;
            }
            stage.SpecObjs = shared;
        }
}

void TROMData::SaveEnemies() {
    TiNESImage& img = *image_;
    TOffset p = StartEnemyData;
    for (const auto& level : Levels)
        for (const auto& stagePtr : level->Stages) {
            TSideScrLevel& stage = *stagePtr;
            img.WritePointer(p, stage.EnemyPointer);
            const TOffset table = p;
            const int n = stage.ScreenCount();
            p += 2 * n;
            std::vector<std::vector<const TEnemy*>> byScreen(static_cast<size_t>(n));
            if (stage.Enemies)
                for (const auto& e : *stage.Enemies)
                    if (e->Screen >= 0 && e->Screen < n) byScreen[static_cast<size_t>(e->Screen)].push_back(e.get());
            for (int k = 0; k < n; ++k) {
                const auto& list = byScreen[static_cast<size_t>(k)];
                img.WritePointer(p, table + 2 * k);
                for (const TEnemy* e : list) {
                    img.WriteByte(p, static_cast<uint8_t>(e->X() & 0xFF));
                    img.WriteByte(p + 1, static_cast<uint8_t>((e->Y() + 16) & 0xFF));
                    img.WriteByte(p + 2, e->Flags);
                    p += 3;
                }
                if (!list.empty() || k == 0) {
                    img.WriteByte(p, 0xFF);
                    p += 1;
                } else if (img.ReadByte(p - 1) == 0xFF) {
                    img.WritePointer(p - 1, table + 2 * k);  // share the previous screen's terminator
                }
            }
        }
}

void TROMData::SaveSpecObjs() {
    TiNESImage& img = *image_;
    std::set<const TSpecObjList*> written;
    for (const auto& level : Levels)
        for (const auto& stagePtr : level->Stages) {
            const TSideScrLevel& stage = *stagePtr;
            if (!stage.SpecObjs || !written.insert(stage.SpecObjs.get()).second) continue;
            TOffset c = img.ReadPointer(stage.SpecObjPointer, 0, 0x8000);
            for (const auto& o : *stage.SpecObjs) {
                img.WriteByte(c, o->Screen);
                img.WriteByte(c + 1, o->Kind);
                img.WriteByte(c + 2, static_cast<uint8_t>(o->X() & 0xFF));
                img.WriteByte(c + 3, static_cast<uint8_t>((o->Y() + 16) & 0xFF));
                for (int i = 0; i < 4; ++i) img.WriteByte(c + 4 + i, o->Extra[static_cast<size_t>(i)]);
                c += 8;
            }
            img.WriteByte(c, 0xFF);
        }
}

int TROMData::EnemyCount() const {
    int count = 0;
    for (const auto& level : Levels)
        for (const auto& stage : level->Stages)
            if (stage->Enemies) count += stage->Enemies->Count();
    return count;
}

bool TROMData::AddEnemy() {
    if (!CurrentStage || EnemyCount() >= TotalEnemies) return false;
    if (!CurrentStage->Enemies) CurrentStage->Enemies = std::make_unique<TEnemyList>();
    CurrentStage->Enemies->Emplace(0, 0, 0x80, Screen);
    image_->SetModified(true);
    return true;
}

void TROMData::DeleteEnemy(int index) {
    if (!CurrentStage || !CurrentStage->Enemies) throw ListIndexError(index);
    CurrentStage->Enemies->Delete(index);
    image_->SetModified(true);
}

namespace {
// The first object of the list on the screen whose 17x17 box (corner at its position) holds the point.
template <typename List>
int HitIndex(const List* list, int screen, int x, int y) {
    if (!list) return -1;
    for (int i = 0; i < list->Count(); ++i) {
        const auto& o = (*list)[i];
        if (o.Screen == screen && o.X() <= x && x <= o.X() + 16 && o.Y() <= y && y <= o.Y() + 16) return i;
    }
    return -1;
}
}  // namespace

int TROMData::EnemyAt(int x, int y) const { return CurrentStage ? HitIndex(CurrentStage->Enemies.get(), Screen, x, y) : -1; }

int TROMData::SpecObjAt(int x, int y) const { return CurrentStage ? HitIndex(CurrentStage->SpecObjs.get(), Screen, x, y) : -1; }

TObjectState TROMData::CaptureObjects() const {
    TObjectState state;
    for (const auto& level : Levels) {
        auto& stages = state.Levels.emplace_back();
        for (const auto& stage : level->Stages) {
            auto& s = stages.emplace_back();
            if (stage->Enemies)
                for (const auto& e : *stage->Enemies) s.Enemies.push_back(*e);
            if (stage->SpecObjs)
                for (const auto& o : *stage->SpecObjs) s.SpecObjs.push_back(*o);
        }
    }
    return state;
}

void TROMData::RestoreObjects(const TObjectState& state) {
    for (size_t l = 0; l < state.Levels.size() && l < static_cast<size_t>(Levels.Count()); ++l) {
        TLevel& level = Levels[static_cast<int>(l)];
        for (size_t s = 0; s < state.Levels[l].size() && s < static_cast<size_t>(level.Stages.Count()); ++s) {
            TSideScrLevel& stage = level.Stages[static_cast<int>(s)];
            const auto& saved = state.Levels[l][s];
            stage.Enemies = std::make_unique<TEnemyList>();
            for (const auto& e : saved.Enemies) stage.Enemies->Emplace(e);
            if (!stage.SpecObjs) stage.SpecObjs = std::make_shared<TSpecObjList>();
            stage.SpecObjs->Clear();
            for (const auto& o : saved.SpecObjs) stage.SpecObjs->Emplace(o);
        }
    }
}

// ---------------------------------------------------------------- graphics settings

void TROMData::LoadPatternBuffer() { image_->ReadPatternPage(CurrentStage->GetBGPatternTable(), PatternBuffer.data()); }

bool TROMData::StorePatternBuffer() { return image_->WritePatternPage(CurrentStage->GetBGPatternTable(), PatternBuffer.data()); }

TOffset TROMData::PaletteRecord(uint8_t number) const { return image_->ReadPointer(PalettePointers + 2 * number, 0, 0xC000); }

void TROMData::LoadPalette(uint8_t number) {
    const TOffset p = PaletteRecord(number);
    for (int s = 0; s < 4; ++s) {
        PaletteBuffer[static_cast<size_t>(4 * s)] = 0x0F;
        for (int e = 1; e <= 3; ++e) PaletteBuffer[static_cast<size_t>(4 * s + e)] = image_->ReadByte(p + 3 * s + e - 1);
    }
}

bool TROMData::StorePalette(uint8_t number) {
    const TOffset p = PaletteRecord(number);
    if (!image_->InRange(p, 12)) return false;
    for (int s = 0; s < 4; ++s)
        for (int e = 1; e <= 3; ++e) image_->WriteByte(p + 3 * s + e - 1, PaletteBuffer[static_cast<size_t>(4 * s + e)]);
    return true;
}

void TROMData::ReadTile(int n, TTileGrid& grid) const {
    const size_t base = static_cast<size_t>(16 * (n & 0xFF));
    for (int r = 0; r < 8; ++r) {
        const uint8_t lo = PatternBuffer[base + r], hi = PatternBuffer[base + 8 + r];
        for (int x = 0; x < 8; ++x) grid.At(x, r) = static_cast<uint8_t>(((lo >> (7 - x)) & 1) + 2 * ((hi >> (7 - x)) & 1));
    }
}

bool TROMData::WriteTile(int n, const TTileGrid& grid) {
    const size_t base = static_cast<size_t>(16 * (n & 0xFF));
    for (int r = 0; r < 8; ++r) {
        uint8_t lo = 0, hi = 0;
        for (int x = 0; x < 8; ++x) {
            const uint8_t v = grid.At(x, r);
            lo |= static_cast<uint8_t>((v & 1) << (7 - x));
            hi |= static_cast<uint8_t>(((v >> 1) & 1) << (7 - x));
        }
        PatternBuffer[base + r] = lo;
        PatternBuffer[base + 8 + r] = hi;
    }
    return StorePatternBuffer();
}

uint8_t TROMData::EnemyTypeFor(uint8_t spritePage, uint8_t slot) const {
    return image_->ReadByte(image_->ReadPointer(EnemiesUsedSprite + 2 * spritePage, 0, 0x8000) + slot);
}

void TROMData::DrawPatternPage(TBitmap32& bitmap, int sub, int layout, int page) const {
    TPatternBuffer tiles;
    image_->ReadPatternPage(page, tiles.data());
    const uint8_t* colours = PaletteBuffer.data() + 4 * (sub & 3);
    for (int t = 0; t < 256; ++t) {
        int x, y;
        if (layout == 1) {
            const int band = t / 32, j = t % 32;
            x = 8 * (j / 2);
            y = 16 * band + 8 * (j % 2);
        } else {
            x = 8 * (t % 16);
            y = 8 * (t / 16);
        }
        image_->DrawTile(bitmap, tiles.data() + 16 * t, colours, x, y);
    }
}

TOffset TROMData::SolidityTableOffset(int bgPage) const {
    if (bgPage < 13) return -1;
    return image_->ReadPointer(SolidityPointers + 2 * (bgPage - 13), 0x1C010, 0xC000);
}

TSolidityRead TROMData::ReadSolidity(TSolidityList& list) const {
    TOffset a = SolidityTableOffset(CurrentStage->GetBGPatternTable());
    if (a < 0) return TSolidityRead::NoTable;
    // A table covers at most the 256 tiles of its page; one that runs on without an $FF entry has no end.
    for (int i = 0; i < 256; ++i, a += 2) {
        if (!image_->InRange(a, 2)) return TSolidityRead::Unterminated;
        const uint8_t upTo = image_->ReadByte(a);
        list.Emplace(upTo, image_->ReadByte(a + 1));
        if (upTo == 0xFF) return TSolidityRead::Ok;
    }
    return TSolidityRead::Unterminated;
}

bool TROMData::WriteSolidity(const TSolidityList& list) {
    const TOffset a = SolidityTableOffset(CurrentStage->GetBGPatternTable());
    if (a < 0 || !image_->InRange(a, 2LL * list.Count())) return false;
    for (int i = 0; i < list.Count(); ++i) {
        image_->WriteByte(a + 2 * i, list[i].UpToTile);
        image_->WriteByte(a + 2 * i + 1, list[i].TileType);
    }
    return true;
}

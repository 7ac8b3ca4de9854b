#include <gtest/gtest.h>

#include "model/classes_romdata.h"
#include "rom/Errors.h"
#include "support/fixtures.h"

namespace {

struct Game {
    TTempDir dir;
    TTestGame game;
    std::unique_ptr<TROMData> rom;
    explicit Game(const std::vector<TLevelSpec>& levels = StandardLevels(), int totalEnemies = 100, int enemyArea = 0x800)
        : game(BuildTestGame(levels, totalEnemies, enemyArea)) {
        game.Write(dir);
        Reopen();
    }
    // Opens the files as they are on disk now (after a save, the saved ROM).
    void Reopen() {
        rom = std::make_unique<TROMData>(dir.File("game.nes"), game.IniPath(dir), dir.Path());
        rom->LoadDefaultPalette();
        rom->SetLevel(0);
    }
    TiNESImage& img() { return rom->Image(); }
};

TLevelSpec OneStage(int width, int height, std::vector<TEnemySpec> enemies) {
    TLevelSpec l;
    TStageSpec s;
    s.width = width;
    s.height = height;
    s.enemies = std::move(enemies);
    l.stages = {s};
    return l;
}

}  // namespace

// ---------------------------------------------------------------- selection and layout

TEST(Model, SelectionStartsAtLevelStageAndScreenZero) {
    Game g;
    EXPECT_EQ(g.rom->LevelIndex, 0);
    EXPECT_EQ(g.rom->StageIndex, 0);
    EXPECT_EQ(g.rom->Screen, 0);
    EXPECT_EQ(g.rom->CurrentStage, &g.rom->Levels[0].Stages[0]);
    ASSERT_NE(g.rom->BlockCache, nullptr);
    EXPECT_EQ(g.rom->BlockCache->Width(), 8192);
    EXPECT_EQ(g.rom->BlockCache->Height(), 32);
    EXPECT_THROW(g.rom->SetLevel(2), EditorError);
    EXPECT_THROW(g.rom->SetStage(5), EditorError);
    EXPECT_THROW(g.rom->SetScreen(6), EditorError);
    EXPECT_EQ(g.rom->Screen, 0);
}

TEST(Model, ScrollDataRoomsAndBlocks) {
    Game g;
    TSideScrLevel& s = *g.rom->CurrentStage;
    EXPECT_EQ(s.Width(), 3);
    EXPECT_EQ(s.Height(), 2);
    EXPECT_EQ(s.GetRoom(4), 0x04);
    g.rom->SetScreen(4);
    const TOffset base = g.game.levels[0].roomBase;
    EXPECT_EQ(g.rom->RoomBase(), base);
    EXPECT_EQ(g.rom->GetBlock(7, 5), g.img().ReadByte(base + 48 * 4 + 47));
    const auto drawn = g.rom->BlockDrawn;
    ASSERT_TRUE(g.rom->SetBlock(7, 5, 0x99));
    EXPECT_EQ(g.rom->GetBlock(7, 5), 0x99);
    EXPECT_EQ(g.img().ReadByte(base + 48 * 4 + 47), 0x99);
    EXPECT_EQ(g.rom->BlockDrawn, drawn);
    EXPECT_TRUE(g.rom->Modified());
}

TEST(Model, TSAAndAttributeSourcesInOrderOfPrecedence) {
    Game g;
    const auto& L = g.game.levels;
    // Level pointer for stage 0, the stage's own pair for stage 1 (which wins over the level pointer).
    EXPECT_EQ(g.rom->TSAOf(g.rom->Levels[0], 0), L[0].tsa);
    EXPECT_EQ(g.rom->AttrOf(g.rom->Levels[0], 0), L[0].attr);
    EXPECT_EQ(g.rom->TSAOf(g.rom->Levels[0], 1), L[0].stages[1].ownTSA);
    EXPECT_EQ(g.rom->AttrOf(g.rom->Levels[0], 1), L[0].stages[1].ownAttr);
    // Per-stage table: stage 2 takes its pointer from the table's third entry.
    const TLevel& b = g.rom->Levels[1];
    const TOffset table = b.Properties.Find("Level5TSAStart")->Offset;
    EXPECT_EQ(g.rom->TSAOf(b, 2), g.img().ReadPointer(table + 4, 0xC010, 0x8000));
    EXPECT_NE(g.rom->TSAOf(b, 2), g.rom->TSAOf(b, 0));
    // Every table lies in bank 3.
    for (int s = 0; s < 3; ++s) {
        EXPECT_GE(g.rom->TSAOf(b, s), 0xC010);
        EXPECT_LT(g.rom->TSAOf(b, s), 0x10010);
    }
}

TEST(Model, SetTSATileAndCycleAttribute) {
    Game g;
    const TOffset tsa = g.rom->StageTSA(), attr = g.rom->StageAttr();
    ASSERT_TRUE(g.rom->SetTSATile(5, 3, 0x7F, 2));
    EXPECT_EQ(g.img().ReadByte(tsa + 80 + 8 + 3), 0x7F);

    struct Case {
        int x, y;
        uint8_t after;
    };
    for (const Case& c : {Case{1, 1, 0x24}, Case{0, 0, 0xE5}, Case{1, 0, 0xE8}, Case{0, 1, 0xF4}}) {
        g.img().WriteByte(attr + 9, 0xE4);
        ASSERT_TRUE(g.rom->CycleAttribute(9, c.x, c.y));
        EXPECT_EQ(g.img().ReadByte(attr + 9), c.after) << c.x << "," << c.y;
    }
}

TEST(Model, TSAEditsAreRefusedWithoutASource) {
    TLevelSpec l = OneStage(1, 1, {});
    l.tsa = TTSAForm::None;
    Game g({l});
    EXPECT_EQ(g.rom->StageTSA(), 0);
    EXPECT_FALSE(g.rom->SetTSATile(0, 0, 0x12, 0));
    EXPECT_FALSE(g.rom->CycleAttribute(0, 0, 0));
    EXPECT_FALSE(g.rom->Modified());
    EXPECT_EQ(g.img().ReadByte(0), 'N');
}

TEST(Model, RenderBlockUsesTSAAttributePatternsAndPalette) {
    Game g;
    TROMData& r = *g.rom;
    const int n = 0x21;
    r.RenderBlock(n);
    const TOffset tsa = r.StageTSA();
    const uint8_t a = g.img().ReadByte(r.StageAttr() + n);
    for (int ty = 0; ty < 4; ++ty)
        for (int tx = 0; tx < 4; ++tx) {
            const uint8_t t = g.img().ReadByte(tsa + 16 * n + 4 * ty + tx);
            const int q = (a >> (2 * ((ty / 2) * 2 + tx / 2))) & 3;
            TBitmap32 expect(8, 8);
            g.img().DrawTile(expect, r.PatternBuffer.data() + 16 * t, r.PaletteBuffer.data() + 4 * q, 0, 0);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    ASSERT_EQ(r.BlockCache->Pixel(32 * n + 8 * tx + x, 8 * ty + y), expect.Pixel(x, y));
        }
}

TEST(Model, StageChangesClearTheBlockCacheOnlyForNewGraphics) {
    TLevelSpec l;
    TStageSpec a, same, otherPage, otherPalette;
    otherPage.bgPage = 0x0E;
    otherPalette.palette = 4;
    l.stages = {a, same, otherPage, otherPalette};
    Game g({l});
    TROMData& r = *g.rom;
    // Screen 0 shows blocks 0..47; the picker's 50..55 are drawn only by RefreshBlocks.
    auto pickerDrawn = [&] {
        int n = 0;
        for (int b = 50; b <= 55; ++b) n += r.BlockDrawn[static_cast<size_t>(b)];
        return n;
    };
    r.RefreshBlocks(50);
    EXPECT_EQ(pickerDrawn(), 6);
    r.SetStage(1);  // same page and palette number: kept
    EXPECT_EQ(pickerDrawn(), 6);
    r.SetStage(2);  // another background page
    EXPECT_EQ(pickerDrawn(), 0);
    EXPECT_TRUE(r.BlockDrawn[0]);  // the new screen is cached again
    r.SetStage(1);
    r.RefreshBlocks(50);
    r.SetStage(3);  // same page, another palette number
    EXPECT_EQ(pickerDrawn(), 0);
    EXPECT_EQ(r.PaletteBuffer[1], g.img().ReadByte(r.PaletteRecord(4)));
}

TEST(Model, StagesWithTheirOwnTSANeverShowAnotherStagesBlocks) {
    // Level 2 of the standard game: per-stage TSA tables, stages 1 and 2 on the same page and palette.
    Game g;
    TROMData& r = *g.rom;
    r.SetLevel(1);
    r.RefreshBlocks(0);
    r.SetStage(1);
    // Every block the cache claims as drawn must be the block of stage 2's own tables.
    TBitmap32 fresh(8192, 32);
    for (int n = 0; n < 256; ++n) {
        if (!r.BlockDrawn[static_cast<size_t>(n)]) continue;
        DrawBlock(g.img(), fresh, n, r.StageTSA(), r.StageAttr(), r.PatternBuffer, r.PaletteBuffer);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) ASSERT_EQ(r.BlockCache->Pixel(32 * n + x, y), fresh.Pixel(32 * n + x, y)) << "block " << n;
    }
}

// ---------------------------------------------------------------- world map

TEST(Model, WorldMap) {
    Game g;
    TLevel& level = *g.rom->CurrentLevel;
    ASSERT_TRUE(level.HasWorldMap());
    EXPECT_EQ(level.WorldWidth(), 2);
    EXPECT_EQ(level.WorldHeight(), 2);
    EXPECT_EQ(level.WorldScrollData, g.game.levels[0].worldScroll);
    g.rom->InitWorldMap();
    ASSERT_NE(level.WorldBlockCache, nullptr);
    // Palette number 2, pattern page 3 (bytes set by the builder).
    const TOffset d = g.rom->PaletteRecord(2);
    const uint8_t expectPal[16] = {0x0F, g.img().ReadByte(d), g.img().ReadByte(d + 1), g.img().ReadByte(d + 2),
                                   0x0F, g.img().ReadByte(d + 3), g.img().ReadByte(d + 4), g.img().ReadByte(d + 5),
                                   0x0F, g.img().ReadByte(d + 6), g.img().ReadByte(d + 7), g.img().ReadByte(d + 8),
                                   0x0F, g.img().ReadByte(d + 9), g.img().ReadByte(d + 10), g.img().ReadByte(d + 11)};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(level.WorldPaletteBuffer[static_cast<size_t>(i)], expectPal[i]);
    const TOffset page3 = 16 + 8 * 0x4000 + 3 * 0x1000;
    for (int i = 0; i < 4096; i += 97) EXPECT_EQ(level.WorldPatternBuffer[static_cast<size_t>(i)], g.img().ReadByte(page3 + i));

    level.SetWorldScreen(3);
    EXPECT_EQ(level.GetWorldBlock(7, 7), g.img().ReadByte(g.game.levels[0].worldBase + 64 * 3 + 63));
    g.rom->InitWorldMap();  // again: same picture of screen 0
    TBitmap32 screenA(256, 256), screenB(256, 256);
    level.DrawWorldScreen(screenA);
    level.SetWorldScreen(0);
    level.DrawWorldScreen(screenB);
    EXPECT_EQ(screenA, screenB);
    // Leaving the level frees its world cache.
    g.rom->SetLevel(1);
    EXPECT_EQ(level.WorldBlockCache, nullptr);
}

// ---------------------------------------------------------------- enemies and special objects

TEST(Enemies, LoadedFromEveryStage) {
    Game g;
    const TEnemyList& e = *g.rom->Levels[0].Stages[0].Enemies;
    ASSERT_EQ(e.Count(), 4);
    EXPECT_EQ(e[0].Screen, 0);
    EXPECT_EQ(e[1].Screen, 2);
    EXPECT_EQ(e[1].X(), 0x80);
    EXPECT_EQ(e[1].Y(), 0x60);
    EXPECT_EQ(e[1].Flags, 0x82);
    EXPECT_EQ(e[1].TypeSlot(), 2);
    EXPECT_TRUE(e[1].UnknownBit1());
    EXPECT_EQ(g.rom->Levels[1].Stages[0].Enemies->Count(), 1);
    EXPECT_EQ(g.rom->EnemyCount(), 5);
}

TEST(Enemies, PackingMatchesTheGameLayoutByteForByte) {
    struct Case {
        const char* name;
        int width;
        std::vector<TEnemySpec> enemies;
        std::vector<uint8_t> expected;  // the bytes from StartEnemyData; pointer bytes checked separately
        std::vector<int> screenTargets;  // offset of each screen's list from the start
    };
    const std::vector<Case> cases = {
        {"one enemy on screen 1 of 2", 2, {{1, 0x40, 0x20, 0x82}}, {0xFF, 0x40, 0x30, 0x82, 0xFF}, {4, 5}},
        {"three empty screens", 3, {}, {0xFF}, {6, 6, 6}},
        {"screens 0 and 1 empty", 3, {{2, 0x10, 0x00, 0x01}}, {0xFF, 0x10, 0x10, 0x01, 0xFF}, {6, 6, 7}},
        {"y limits", 1, {{0, 1, -16, 0}, {0, 2, 239, 0}}, {0x01, 0x00, 0x00, 0x02, 0xFF, 0x00, 0xFF}, {2}},
    };
    for (const auto& c : cases) {
        Game g({OneStage(c.width, 1, c.enemies)});
        const TOffset p = g.rom->StartEnemyData;
        ASSERT_TRUE(g.rom->SaveROM()) << g.rom->SaveError();
        const TOffset table = p;
        EXPECT_EQ(g.img().ReadPointer(g.rom->CurrentStage->EnemyPointer, 0, 0x8000), table) << c.name;
        for (size_t k = 0; k < c.screenTargets.size(); ++k)
            EXPECT_EQ(g.img().ReadPointer(table + 2 * static_cast<TOffset>(k), 0, 0x8000), p + c.screenTargets[k]) << c.name << " screen " << k;
        const TOffset lists = p + 2 * c.width;
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(g.img().ReadByte(lists + static_cast<TOffset>(i)), c.expected[i]) << c.name << " byte " << i;
        EXPECT_EQ(g.rom->PackedEnemySize(), 2 * c.width + static_cast<long long>(c.expected.size())) << c.name;

        // Read back, the enemies are the same.
        auto before = g.rom->CaptureObjects();
        g.Reopen();
        EXPECT_EQ(g.rom->CaptureObjects(), before) << c.name;
    }
}

TEST(Enemies, StagesFollowEachOtherAndScreensPastTheGridAreDropped) {
    TLevelSpec l = OneStage(2, 1, {{1, 0x40, 0x20, 0x82}});
    l.stages.push_back(l.stages[0]);
    Game g({l});
    g.rom->CurrentStage->Enemies->Emplace(1, 1, 0, 7);  // screen 7 of a two-screen stage
    ASSERT_TRUE(g.rom->SaveROM());
    const TOffset p = g.rom->StartEnemyData;
    EXPECT_EQ(g.img().ReadPointer(g.rom->Levels[0].Stages[1].EnemyPointer, 0, 0x8000), p + 9);
    g.Reopen();
    EXPECT_EQ(g.rom->Levels[0].Stages[0].Enemies->Count(), 1);
}

TEST(Enemies, SaveRefusesWhenTheEnemiesPassTheEnd) {
    // Two screens, one enemy: 4 + 1 + 4 = 9 bytes; an area of 10 holds one more enemy but not two.
    Game g({OneStage(2, 1, {{1, 0x40, 0x20, 0x82}})}, 100, 10);
    const auto bytesBefore = g.img().Data();
    g.rom->SetScreen(1);
    ASSERT_TRUE(g.rom->AddEnemy());
    ASSERT_TRUE(g.rom->AddEnemy());
    const std::string file = g.rom->ROMFileName();
    const auto fileBefore = ReadFileBytes(file);
    EXPECT_FALSE(g.rom->SaveROM());
    EXPECT_NE(g.rom->SaveError().find("5 bytes too many"), std::string::npos) << g.rom->SaveError();
    EXPECT_EQ(g.img().Data(), bytesBefore);
    EXPECT_EQ(ReadFileBytes(file), fileBefore);
    EXPECT_TRUE(g.rom->Modified());
    g.rom->DeleteEnemy(2);
    g.rom->DeleteEnemy(1);
    EXPECT_TRUE(g.rom->SaveROM()) << g.rom->SaveError();
}

TEST(Enemies, ListsSurviveLevelChangesAndAreSaved) {
    Game g;
    g.rom->SetScreen(2);
    ASSERT_TRUE(g.rom->AddEnemy());
    const TEnemy& added = g.rom->CurrentStage->Enemies->Last();
    EXPECT_EQ(added.X(), 0);
    EXPECT_EQ(added.Y(), 0);
    EXPECT_EQ(added.Flags, 0x80);
    EXPECT_EQ(added.Screen, 2);
    EXPECT_TRUE(g.rom->Modified());
    g.rom->SetLevel(1);
    g.rom->SetStage(2);
    g.rom->SetLevel(0);
    EXPECT_EQ(g.rom->CurrentStage->Enemies->Count(), 5);
    ASSERT_TRUE(g.rom->SaveROM());
    g.Reopen();
    EXPECT_EQ(g.rom->CurrentStage->Enemies->Count(), 5);
    EXPECT_EQ(g.rom->EnemyCount(), 6);
}

TEST(Enemies, BudgetHitTestsAndDeletion) {
    Game g(StandardLevels(), 6);
    EXPECT_TRUE(g.rom->AddEnemy());  // 5 -> 6
    EXPECT_FALSE(g.rom->AddEnemy());
    EXPECT_EQ(g.rom->EnemyCount(), 6);

    TEnemyList& list = *g.rom->CurrentStage->Enemies;
    list[0].SetX(0x40);
    list[0].SetY(0x20);
    EXPECT_EQ(g.rom->EnemyAt(0x50, 0x30), 0);
    EXPECT_EQ(g.rom->EnemyAt(0x40, 0x20), 0);
    EXPECT_EQ(g.rom->EnemyAt(0x51, 0x30), -1);
    EXPECT_EQ(g.rom->EnemyAt(0x80, 0x60), -1);  // on screen 2, not the current screen
    g.rom->SetScreen(2);
    EXPECT_EQ(g.rom->EnemyAt(0x80, 0x60), 1);
    g.rom->DeleteEnemy(1);
    EXPECT_EQ(g.rom->EnemyAt(0x80, 0x60), -1);
    EXPECT_THROW(g.rom->DeleteEnemy(40), EditorError);

    list[0].SetX(255);
    EXPECT_EQ(list[0].X(), 254);  // 255 would end the screen's list
    list[0].SetX(-3);
    EXPECT_EQ(list[0].X(), 0);
}

TEST(SpecialObjects, ReadWrittenInPlaceAndShared) {
    Game g;
    TSpecObjList& objs = *g.rom->CurrentStage->SpecObjs;
    ASSERT_EQ(objs.Count(), 2);
    EXPECT_EQ(objs[1].Kind, 7);
    EXPECT_EQ(objs[1].Y(), 0x20);
    EXPECT_EQ(objs[1].Extra[3], 8);
    EXPECT_EQ(g.rom->SpecObjAt(0x41, 0x51), 0);
    objs[0].SetY(300);
    EXPECT_EQ(objs[0].Y(), 239);
    objs[0].SetX(0x33);
    objs[0].SetY(-16);
    g.rom->SetStage(1);
    g.rom->SetStage(0);
    EXPECT_EQ(g.rom->CurrentStage->SpecObjs->Items(0).X(), 0x33);  // kept across stage changes
    ASSERT_TRUE(g.rom->SaveROM());
    const TOffset list = g.game.levels[0].stages[0].specObjList;
    EXPECT_EQ(g.img().ReadByte(list + 2), 0x33);
    EXPECT_EQ(g.img().ReadByte(list + 3), 0x00);
    EXPECT_EQ(g.img().ReadByte(list + 16), 0xFF);

    // Two stages pointing at one list share it, so neither copy overwrites the other's edit.
    Game h;
    h.game.rom.Pointer(h.game.levels[0].stages[1].specObjPointer, h.game.levels[0].stages[0].specObjList, 0x8000);
    h.game.Write(h.dir);
    h.Reopen();
    EXPECT_EQ(h.rom->Levels[0].Stages[0].SpecObjs, h.rom->Levels[0].Stages[1].SpecObjs);
    h.rom->Levels[0].Stages[0].SpecObjs->Items(0).Kind = 0x42;
    ASSERT_TRUE(h.rom->SaveROM());
    EXPECT_EQ(h.img().ReadByte(h.game.levels[0].stages[0].specObjList + 1), 0x42);
}

TEST(Objects, CaptureAndRestore) {
    Game g;
    const TObjectState before = g.rom->CaptureObjects();
    g.rom->AddEnemy();
    g.rom->CurrentStage->SpecObjs->Items(0).SetX(9);
    EXPECT_FALSE(g.rom->CaptureObjects() == before);
    g.rom->RestoreObjects(before);
    EXPECT_EQ(g.rom->CaptureObjects(), before);
}

// ---------------------------------------------------------------- graphics settings

TEST(Graphics, PaletteLoadAndStore) {
    Game g;
    TROMData& r = *g.rom;
    r.LoadPalette(5);
    const TOffset rec = r.PaletteRecord(5);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(r.GetPaletteEntry(s, 0), 0x0F);
        for (int e = 1; e <= 3; ++e) EXPECT_EQ(r.GetPaletteEntry(s, e), g.img().ReadByte(rec + 3 * s + e - 1));
    }
    r.SetPaletteEntry(1, 2, 0x21);
    EXPECT_FALSE(r.Modified());
    const uint8_t around[2] = {g.img().ReadByte(rec - 1), g.img().ReadByte(rec + 12)};
    ASSERT_TRUE(r.StorePalette(5));
    EXPECT_EQ(g.img().ReadByte(rec + 4), 0x21);
    EXPECT_EQ(g.img().ReadByte(rec - 1), around[0]);
    EXPECT_EQ(g.img().ReadByte(rec + 12), around[1]);
}

TEST(Graphics, TilesReadAndWriteThroughThePage) {
    Game g;
    TROMData& r = *g.rom;
    TTileGrid grid;
    r.ReadTile(3, grid);
    ASSERT_TRUE(r.WriteTile(3, grid));
    EXPECT_FALSE(r.Modified());  // same bytes back

    r.PatternBuffer[16 * 4 + 0] = 0x80;
    r.PatternBuffer[16 * 4 + 8] = 0x01;
    r.ReadTile(4, grid);
    EXPECT_EQ(grid.At(0, 0), 1);
    EXPECT_EQ(grid.At(7, 0), 2);
    EXPECT_EQ(grid.At(3, 0), 0);

    grid.At(2, 5) = 3;
    ASSERT_TRUE(r.WriteTile(9, grid));
    const TOffset page = g.img().PatternPageOffset(r.CurrentStage->GetBGPatternTable());
    EXPECT_EQ(g.img().ReadByte(page + 16 * 9 + 5) & 0x20, 0x20);
    EXPECT_EQ(g.img().ReadByte(page + 16 * 9 + 8 + 5) & 0x20, 0x20);
    EXPECT_TRUE(r.Modified());

    // A page past the ROM's CHR pages reads blank and takes no writes.
    r.CurrentStage->SetBGPatternTable(0x40);
    r.LoadPatternBuffer();
    for (uint8_t b : r.PatternBuffer) ASSERT_EQ(b, 0);
    EXPECT_FALSE(r.StorePatternBuffer());
}

TEST(Graphics, DrawPatternPageLayouts) {
    Game g;
    TROMData& r = *g.rom;
    TBitmap32 none(128, 128), inter(128, 128);
    const int page = 0x0D;
    r.DrawPatternPage(none, 0, 0, page);
    r.DrawPatternPage(inter, 0, 1, page);
    auto same = [](const TBitmap32& a, int ax, int ay, const TBitmap32& b, int bx, int by) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (a.Pixel(ax + x, ay + y) != b.Pixel(bx + x, by + y)) return false;
        return true;
    };
    // tile t sits at (8*(t%16), 8*(t/16)) in layout 0
    EXPECT_TRUE(same(inter, 0, 8, none, 8, 0));    // tile 1 below tile 0
    EXPECT_TRUE(same(inter, 8, 0, none, 16, 0));   // tile 2 right of tile 0
    EXPECT_TRUE(same(inter, 0, 16, none, 0, 16));  // tile 32 starts the second band
    EXPECT_TRUE(same(inter, 120, 120, none, 120, 120));
}

TEST(Graphics, EnemySets) {
    Game g;
    // The builder gives slot k of sprite page q the type q*8+k.
    EXPECT_EQ(g.rom->EnemyTypeFor(0x11, 3), 0x11 * 8 + 3);
    EXPECT_EQ(g.rom->StageEnemyType(5), 0x10 * 8 + 5);
    EXPECT_EQ(g.rom->EnemyTypeFor(0x11, 7), 0x11 * 8 + 7);
}

TEST(Graphics, SolidityTables) {
    Game g;
    TROMData& r = *g.rom;
    TSolidityList list;
    ASSERT_EQ(r.ReadSolidity(list), TSolidityRead::Ok);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1].UpToTile, 0x7F);
    EXPECT_EQ(list[1].TileType, 0x0D);
    EXPECT_EQ(list.Last().UpToTile, 0xFF);
    ASSERT_TRUE(r.WriteSolidity(list));
    EXPECT_FALSE(r.Modified());
    list[0].TileType = 9;
    ASSERT_TRUE(r.WriteSolidity(list));
    EXPECT_EQ(g.img().ReadByte(r.SolidityTableOffset(0x0D) + 1), 9);

    // After a page change the table of the new page is read.
    r.CurrentStage->SetBGPatternTable(0x0E);
    TSolidityList other;
    ASSERT_EQ(r.ReadSolidity(other), TSolidityRead::Ok);
    EXPECT_EQ(other[1].TileType, 0x0E);

    // A table of one entry up to $FF.
    g.img().WriteByte(r.SolidityTableOffset(0x0E), 0xFF);
    TSolidityList one;
    EXPECT_EQ(r.ReadSolidity(one), TSolidityRead::Ok);
    EXPECT_EQ(one.Count(), 1);

    // Pages below $0D have no table; tables that never end are reported, not walked forever.
    r.CurrentStage->SetBGPatternTable(0x05);
    TSolidityList none;
    EXPECT_EQ(r.ReadSolidity(none), TSolidityRead::NoTable);
    EXPECT_FALSE(r.WriteSolidity(list));
    r.CurrentStage->SetBGPatternTable(0x0F);
    const TOffset t = r.SolidityTableOffset(0x0F);
    for (int i = 0; i < 600; ++i) g.img().WriteByte(t + i, 0x10);
    TSolidityList endless;
    EXPECT_EQ(r.ReadSolidity(endless), TSolidityRead::Unterminated);
    EXPECT_EQ(endless.Count(), 256);
}

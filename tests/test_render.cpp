// Stage rendering and the main window's pictures: blocks, markers, pickers, sheets, and the render command.

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/classes_romdata.h"
#include "render/map_views.h"
#include "render/stage_sheet.h"
#include "rom/Errors.h"
#include "support/fixtures.h"

namespace {

// ---------------------------------------------------------------- marker pictures written by the tests

// Every marker pixel is opaque (alpha $FF) and differs from its neighbours, so a misplaced or
// mis-chosen glyph cannot go unnoticed; palette colours have alpha 0 and cannot be mistaken for them.
TColor32 GlyphPixel(int digit, int x, int y) { return 0xFF000000u | (16u * digit + x) << 16 | (0x80u + y) << 8 | 0x40u; }
TColor32 BlankEnemyPixel(int x, int y) { return 0xFF000000u | 0xE0u << 16 | (16u * x) << 8 | (16u * y); }
TColor32 BlankSpecObjPixel(int x, int y) { return 0xFF000000u | 0x50u << 16 | (16u * x) << 8 | (16u * y + 1); }

void WriteBMP(const std::string& path, int w, int h, const std::function<TColor32(int, int)>& pixel) {
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor32 c = pixel(x, y);
            uint8_t* p = &rgb[3 * (static_cast<size_t>(y) * w + x)];
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
        }
    ASSERT_NE(stbi_write_bmp(path.c_str(), w, h, 3, rgb.data()), 0);
}

struct TMarkerFiles {
    bool numbers = true, enemy = true, specObj = true;
};

void WriteMarkers(const TTempDir& dir, TMarkerFiles files = {}) {
    if (files.numbers) WriteBMP(dir.File("numbers.bmp"), 128, 8, [](int x, int y) { return GlyphPixel(x / 8, x % 8, y); });
    if (files.enemy) WriteBMP(dir.File("blankenemy.bmp"), 16, 16, BlankEnemyPixel);
    if (files.specObj) WriteBMP(dir.File("blankspecobj.bmp"), 16, 16, BlankSpecObjPixel);
}

// ---------------------------------------------------------------- games

std::unique_ptr<TROMData> Open(const TTestGame& game, const TTempDir& dir, const std::string& dataDir, int level = 0) {
    auto rom = std::make_unique<TROMData>(game.Write(dir), game.IniPath(dir), dataDir);
    rom->LoadDefaultPalette();
    rom->SetLevel(level);
    return rom;
}

// One stage of two screens that show the same room (so screen position, not room, must pick the objects).
TTestGame MarkerGame(uint8_t sprPage = 0x00) {
    TLevelSpec level;
    TStageSpec stage;
    stage.width = 2;
    stage.rooms = {0x00, 0x00};
    stage.sprPage = sprPage;
    level.stages = {stage};
    return BuildTestGame({level});
}

// The 16x16 marker of `kind` showing `value`: digits over the top half, the blank picture below.
TColor32 MarkerPixel(bool enemy, uint8_t value, int lx, int ly) {
    if (ly < 8) return GlyphPixel(lx < 8 ? value >> 4 : value & 15, lx % 8, ly);
    return enemy ? BlankEnemyPixel(lx, ly) : BlankSpecObjPixel(lx, ly);
}

struct TMarkerAt {
    bool enemy;
    int x, y;
    uint8_t value;
};

// The picture as it should be: `base` with each marker painted in order, clipped.
TBitmap32 Painted(const TBitmap32& base, const std::vector<TMarkerAt>& markers) {
    TBitmap32 out = base;
    for (const auto& m : markers)
        for (int ly = 0; ly < 16; ++ly)
            for (int lx = 0; lx < 16; ++lx) out.SetPixel(m.x + lx, m.y + ly, MarkerPixel(m.enemy, m.value, lx, ly));
    return out;
}

TBitmap32 Screen(TROMData& rom, uint8_t mask, int view = 0, uint8_t opacity = 255, int height = 256) {
    TBitmap32 pic(256, height);
    rom.DrawScreen(pic, mask, view, opacity);
    return pic;
}

// Pixels of `a` inside the rectangle equal those of `cache` at (sx, 0).
bool SameBlock(const TBitmap32& a, int x, int y, const TBitmap32& cache, int sx) {
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
            if (a.Pixel(x + c, y + r) != cache.Pixel(sx + c, r)) return false;
    return true;
}

// Block n as it should look in the current stage, drawn into a cache of its own.
TBitmap32 FreshBlocks(const TROMData& rom) {
    TBitmap32 cache(BlockCacheWidth, BlockSize);
    for (int n = 0; n < 256; ++n)
        DrawBlock(rom.Image(), cache, n, rom.StageTSA(), rom.StageAttr(), rom.PatternBuffer, rom.PaletteBuffer);
    return cache;
}

}  // namespace

// ---------------------------------------------------------------- DrawScreen: blocks

TEST(DrawScreen, CopiesTheBlocksOfTheSelectedScreenFromTheCache) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    for (int screen : {0, 4, 5}) {
        rom->SetScreen(screen);
        TBitmap32 pic = Screen(*rom, 0);
        const TBitmap32 fresh = FreshBlocks(*rom);
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 8; ++col) {
                const int b = rom->GetBlock(col, row);
                EXPECT_TRUE(SameBlock(pic, 32 * col, 32 * row, *rom->BlockCache, 32 * b)) << screen << " " << col << "," << row;
                EXPECT_TRUE(SameBlock(pic, 32 * col, 32 * row, fresh, 32 * b)) << screen << " " << col << "," << row;
            }
        // Rows below the screen are left alone.
        for (int x = 0; x < 256; x += 17) EXPECT_EQ(pic.Pixel(x, 200), 0u);
    }
}

TEST(DrawScreen, RendersABlockWhoseCacheSlotIsStale) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    const TBitmap32 fresh = FreshBlocks(*rom);
    // A block painted after a stage change: its slot holds an old picture and its flag is false.
    const uint8_t painted = 0xC8;
    ASSERT_FALSE(rom->BlockDrawn[painted]);
    rom->BlockCache->FillRect(32 * painted, 0, 32 * painted + 32, 32, 0x00123456u);
    ASSERT_TRUE(rom->SetBlock(5, 3, painted));
    TBitmap32 pic = Screen(*rom, 0);
    EXPECT_TRUE(SameBlock(pic, 32 * 5, 32 * 3, fresh, 32 * painted));
    EXPECT_TRUE(rom->BlockDrawn[painted]);
    EXPECT_TRUE(SameBlock(*rom->BlockCache, 32 * painted, 0, fresh, 32 * painted));
}

TEST(DrawScreen, DrawsNoBlocksWithoutASelectedStage) {
    TTempDir dir, data;
    TTestGame game = BuildTestGame(StandardLevels());
    TROMData rom(game.Write(dir), game.IniPath(dir), data.Path());
    TBitmap32 pic(256, 256);
    pic.Clear(0x00ABCDEFu);
    TBitmap32 before = pic;
    rom.DrawScreen(pic, 3, 0);
    rom.DrawTileStrip(pic, 0);
    EXPECT_EQ(pic, before);
}

// ---------------------------------------------------------------- DrawScreen: markers

TEST(DrawScreen, EnemyMarkersShowTheTypeOfTheirSlotAsTwoGlyphs) {
    struct Case {
        uint8_t sprPage;
        uint8_t flags;  // type slot in bits 0-2; the other bits must not matter
        uint8_t type;   // fixture: slot k of page q is type q*8+k
    };
    const std::vector<Case> cases = {
        {0x00, 0x05, 0x05},  // below $10: a leading zero
        {0x10, 0x81, 0x81},
        {0x1F, 0xFA, 0xFA},  // letters, upper case; slot 2 from flags $FA
        {0x01, 0x07, 0x0F},  // slot 7 reads past the six shown slots
    };
    for (const auto& c : cases) {
        TTempDir dir, data;
        WriteMarkers(data);
        auto rom = Open(MarkerGame(c.sprPage), dir, data.Path());
        rom->CurrentStage->Enemies->Clear();
        rom->CurrentStage->Enemies->Emplace(0x30, 0x40, c.flags, 0);
        const TBitmap32 base = Screen(*rom, 0);
        EXPECT_EQ(Screen(*rom, 1), Painted(base, {{true, 0x30, 0x40, c.type}})) << int(c.type);
    }
}

TEST(DrawScreen, EnemyViewResolvesTypesWithASpriteChangePage) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(MarkerGame(0x10), dir, data.Path());  // sprite changes $11 $12 $13 $14
    rom->CurrentStage->Enemies->Clear();
    rom->CurrentStage->Enemies->Emplace(0x50, 0x20, 0x03, 0);
    const TBitmap32 base = Screen(*rom, 0);
    const std::vector<std::pair<int, uint8_t>> cases = {{0, 0x83}, {1, 0x8B}, {2, 0x93}, {3, 0x9B}, {4, 0xA3}};
    for (const auto& [view, type] : cases)
        EXPECT_EQ(Screen(*rom, 1, view), Painted(base, {{true, 0x50, 0x20, type}})) << view;
    // A changed sprite-change byte is read at the next drawing.
    ASSERT_TRUE(rom->CurrentStage->SetSpriteChange(2, 0x05));
    EXPECT_EQ(Screen(*rom, 1, 3), Painted(base, {{true, 0x50, 0x20, 0x2B}}));
}

TEST(DrawScreen, MarkersFollowTheMaskAndTheirScreenPositionInListOrder) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(MarkerGame(0x00), dir, data.Path());
    auto& enemies = *rom->CurrentStage->Enemies;
    auto& objects = *rom->CurrentStage->SpecObjs;
    enemies.Clear();
    objects.Clear();
    enemies.Emplace(0x40, 0x40, 0x01, 0);
    enemies.Emplace(0x48, 0x44, 0x02, 0);  // over the first one
    enemies.Emplace(0x80, 0x80, 0x03, 1);  // screen 1 shows the same room
    auto add = [&](int screen, uint8_t kind, int x, int y) {
        TSpecObj& o = objects.Emplace();
        o.Screen = static_cast<uint8_t>(screen);
        o.Kind = kind;
        o.SetX(x);
        o.SetY(y);
    };
    add(0, 0x3C, 0x44, 0x48);  // over both enemies
    add(1, 0x07, 0x10, 0x10);

    struct Case {
        int screen;
        uint8_t mask;
        std::vector<TMarkerAt> markers;
    };
    const std::vector<Case> cases = {
        {0, 0, {}},
        {0, 1, {{true, 0x40, 0x40, 0x01}, {true, 0x48, 0x44, 0x02}}},
        {0, 2, {{false, 0x44, 0x48, 0x3C}}},
        {0, 3, {{true, 0x40, 0x40, 0x01}, {true, 0x48, 0x44, 0x02}, {false, 0x44, 0x48, 0x3C}}},
        {1, 3, {{true, 0x80, 0x80, 0x03}, {false, 0x10, 0x10, 0x07}}},
    };
    for (const auto& c : cases) {
        rom->SetScreen(c.screen);
        const TBitmap32 base = Screen(*rom, 0);
        EXPECT_EQ(Screen(*rom, c.mask), Painted(base, c.markers)) << c.screen << " mask " << int(c.mask);
    }
}

TEST(DrawScreen, MarkersAreClippedAtEveryEdge) {
    struct Case {
        bool enemy;
        int x, y;
        int height;  // of the target
    };
    const std::vector<Case> cases = {
        {false, -5, -3, 256}, {false, -20, 40, 256}, {true, 0, -16, 256},  {true, 254, 100, 256},
        {false, 250, 239, 256}, {true, 100, 239, 256}, {true, 20, 185, 192}, {false, 300, 10, 256},
    };
    for (const auto& c : cases) {
        TTempDir dir, data;
        WriteMarkers(data);
        auto rom = Open(MarkerGame(0x00), dir, data.Path());
        rom->CurrentStage->Enemies->Clear();
        rom->CurrentStage->SpecObjs->Clear();
        uint8_t value;
        if (c.enemy) {
            rom->CurrentStage->Enemies->Emplace(c.x, c.y, 0x04, 0);
            value = 0x04;
        } else {
            TSpecObj& o = rom->CurrentStage->SpecObjs->Emplace();
            o.Kind = value = 0xB9;
            o.SetX(c.x);
            o.SetY(c.y);
        }
        const TBitmap32 base = Screen(*rom, 0, 0, 255, c.height);
        EXPECT_EQ(Screen(*rom, 3, 0, 255, c.height), Painted(base, {{c.enemy, c.x, c.y, value}})) << c.x << "," << c.y;
    }
}

TEST(DrawScreen, MarkersBelowFullOpacityAreBlendedOverTheBlocks) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(MarkerGame(0x00), dir, data.Path());
    rom->CurrentStage->Enemies->Clear();
    rom->CurrentStage->SpecObjs->Clear();
    rom->CurrentStage->Enemies->Emplace(0x30, 0x30, 0x05, 0);
    TSpecObj& o = rom->CurrentStage->SpecObjs->Emplace();
    o.Kind = 0x2A;
    o.SetX(0x38);
    o.SetY(0x38);
    const TBitmap32 base = Screen(*rom, 0);

    auto picture = [](int w, int h, const std::function<TColor32(int, int)>& px) {
        TBitmap32 b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.SetPixel(x, y, px(x, y));
        return b;
    };
    auto glyph = [&](int d) { return picture(8, 8, [d](int x, int y) { return GlyphPixel(d, x, y); }); };
    for (uint8_t opacity : {0, 1, 128, 200, 254}) {
        TBitmap32 expected = base;
        expected.DrawBlended(0x30, 0x30, picture(16, 16, BlankEnemyPixel), opacity);
        expected.DrawBlended(0x30, 0x30, glyph(0), opacity);
        expected.DrawBlended(0x38, 0x30, glyph(5), opacity);
        expected.DrawBlended(0x38, 0x38, picture(16, 16, BlankSpecObjPixel), opacity);
        expected.DrawBlended(0x38, 0x38, glyph(2), opacity);
        expected.DrawBlended(0x40, 0x38, glyph(10), opacity);
        const TBitmap32 pic = Screen(*rom, 3, 0, opacity);
        EXPECT_EQ(pic, expected) << int(opacity);
        // Blending keeps the blocks' alpha byte: the picture stays a palette picture.
        EXPECT_EQ(pic.Pixel(0x3A, 0x3C) >> 24, 0u) << int(opacity);
    }
    EXPECT_EQ(Screen(*rom, 3, 0, 0), base);
    EXPECT_EQ(Screen(*rom, 3, 0, 255),
              Painted(base, {{true, 0x30, 0x30, 0x05}, {false, 0x38, 0x38, 0x2A}}));
}

TEST(DrawScreen, NoMarkersOfEitherKindWithoutTheDigitPicture) {
    for (TMarkerFiles files : {TMarkerFiles{false, true, true}, TMarkerFiles{false, false, false}}) {
        TTempDir dir, data;
        WriteMarkers(data, files);
        auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
        ASSERT_FALSE(rom->CurrentStage->Enemies->Empty());
        ASSERT_FALSE(rom->CurrentStage->SpecObjs->Empty());
        EXPECT_EQ(Screen(*rom, 3), Screen(*rom, 0));
    }
}

TEST(DrawScreen, AnUnreadableBlankMarkerIsAnErrorNamingTheFile) {
    struct Case {
        TMarkerFiles files;
        const char* broken;  // written as a file that is not a picture; nullptr: missing
        uint8_t mask;
        const char* named;  // nullptr: no error
    };
    const std::vector<Case> cases = {
        {{true, false, true}, "blankenemy.bmp", 1, "blankenemy.bmp"},
        {{true, false, true}, nullptr, 3, "blankenemy.bmp"},
        {{true, false, true}, "blankenemy.bmp", 2, nullptr},  // enemies hidden: the picture is not needed
        {{true, true, false}, "blankspecobj.bmp", 3, "blankspecobj.bmp"},
        {{true, true, false}, nullptr, 1, nullptr},
        {{false, true, true}, "numbers.bmp", 3, "numbers.bmp"},  // there but unreadable
    };
    for (const auto& c : cases) {
        TTempDir dir, data;
        WriteMarkers(data, c.files);
        if (c.broken) data.Write(c.broken, std::string("this is no bitmap"));
        auto rom = Open(MarkerGame(0x00), dir, data.Path());
        rom->CurrentStage->Enemies->Emplace(0x10, 0x10, 0x01, 0);
        rom->CurrentStage->SpecObjs->Emplace().Kind = 0x01;
        const TBitmap32 blocks = Screen(*rom, 0);
        TBitmap32 pic(256, 256);
        if (!c.named) {
            EXPECT_NO_THROW(rom->DrawScreen(pic, c.mask, 0)) << int(c.mask);
            continue;
        }
        try {
            rom->DrawScreen(pic, c.mask, 0);
            ADD_FAILURE() << "no error for " << c.named;
        } catch (const EditorError& e) {
            EXPECT_NE(std::string(e.what()).find(data.File(c.named)), std::string::npos) << e.what();
        }
        // What was drawn before the error stays: the blocks at least.
        for (int y = 0; y < 192; y += 31) EXPECT_EQ(pic.Pixel(200, y), blocks.Pixel(200, y));
    }
}

TEST(DrawScreen, MarkerPicturesAreReadOncePerModel) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(MarkerGame(0x00), dir, data.Path());
    rom->CurrentStage->Enemies->Emplace(0x10, 0x10, 0x01, 0);
    const TBitmap32 first = Screen(*rom, 3);
    ASSERT_NE(first, Screen(*rom, 0));
    std::filesystem::remove_all(data.Path());
    EXPECT_EQ(Screen(*rom, 3), first);
}

// ---------------------------------------------------------------- tile strip, pattern table, level map

TEST(DrawTileStrip, RendersWhatItShowsAndSetsTheFlags) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    const TBitmap32 fresh = FreshBlocks(*rom);
    for (int first : {0, 0x60, 0xC8, 250}) {
        TBitmap32 strip(32, 192);
        rom->DrawTileStrip(strip, first);
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(rom->BlockDrawn[static_cast<size_t>(first + i)]);
            EXPECT_TRUE(SameBlock(strip, 0, 32 * i, fresh, 32 * (first + i))) << first << "+" << i;
        }
    }
}

TEST(DrawPatternTable, StageOrWorldTilesThroughTheChosenSubPalette) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    rom->InitWorldMap();
    const TLevel& level = *rom->CurrentLevel;
    ASSERT_NE(level.WorldPatternBuffer, rom->PatternBuffer);
    for (bool world : {false, true})
        for (int sub = 0; sub < 4; ++sub) {
            const auto& tiles = world ? level.WorldPatternBuffer : rom->PatternBuffer;
            const auto& palette = world ? level.WorldPaletteBuffer : rom->PaletteBuffer;
            TBitmap32 sheet(128, 128);
            rom->DrawPatternTable(sheet, sub, world);
            int mismatches = 0;
            for (int y = 0; y < 128; ++y)
                for (int x = 0; x < 128; ++x) {
                    const int t = 16 * (y / 8) + x / 8, r = y % 8, bit = 7 - x % 8;
                    const int v = ((tiles[16 * t + r] >> bit) & 1) + 2 * ((tiles[16 * t + 8 + r] >> bit) & 1);
                    mismatches += sheet.Pixel(x, y) != rom->GetColor(palette[4 * sub + v]);
                }
            EXPECT_EQ(mismatches, 0) << "world " << world << " sub " << sub;
        }
}

TEST(DrawLevelMap, OneRedSquareWithAWhiteOutlinePerScreen) {
    TLevelSpec level;
    TStageSpec stage;
    stage.width = 4;
    stage.height = 2;
    level.stages = {stage};
    TTempDir dir, data;
    auto rom = Open(BuildTestGame({level}), dir, data.Path());
    TBitmap32 map(16 * rom->CurrentStage->Width(), 16 * rom->CurrentStage->Height());
    ASSERT_EQ(map.Width(), 64);
    ASSERT_EQ(map.Height(), 32);
    rom->DrawLevelMap(map);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool edge = x % 16 == 0 || x % 16 == 15 || y % 16 == 0 || y % 16 == 15;
            EXPECT_EQ(map.Pixel(x, y), edge ? 0xFFFFFFFFu : 0xFFFF0000u) << x << "," << y;
        }
}

// ---------------------------------------------------------------- composed views

TEST(StageView, GridlinesOverBlocksAndMarkers) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    const TColor32 grid = 0xFF123456u;
    TBitmap32 view;
    ComposeStageView(*rom, {3, 0, 255, {true, grid}}, view);
    ASSERT_EQ(view.Width(), 256);
    ASSERT_EQ(view.Height(), 256);
    auto column = [&](int x, int rows) {
        for (int y = 0; y < rows; ++y)
            if (view.Pixel(x, y) != grid) return false;
        return true;
    };
    auto row = [&](int y) {
        for (int x = 0; x < 256; ++x)
            if (view.Pixel(x, y) != grid) return false;
        return true;
    };
    std::vector<int> columns, rows, allRows;
    for (int x = 0; x < 256; ++x)
        if (column(x, 192)) columns.push_back(x);
    for (int y = 0; y < 192; ++y)
        if (row(y)) rows.push_back(y);
    for (int y = 0; y < 256; ++y)
        if (row(y)) allRows.push_back(y);
    EXPECT_EQ(columns, (std::vector<int>{32, 64, 96, 128, 160, 192, 224}));
    EXPECT_EQ(rows, (std::vector<int>{32, 64, 96, 128, 160}));
    EXPECT_EQ(allRows, (std::vector<int>{32, 64, 96, 128, 160, 192, 224}));
    // The enemy at ($20, $40) lies under the line x = 32.
    EXPECT_NE(view.Pixel(0x22, 0x42) >> 24, 0u);

    // Off: the picture is the screen alone.
    ComposeStageView(*rom, {3, 0, 255, {false, grid}}, view);
    EXPECT_EQ(view, Screen(*rom, 3));
}

TEST(StageView, AReusedPictureMatchesAFreshOne) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(MarkerGame(0x00), dir, data.Path());
    rom->CurrentStage->Enemies->Clear();
    rom->CurrentStage->Enemies->Emplace(0x60, 0xE0, 0x02, 0);  // below the visible rows
    TBitmap32 reused;
    ComposeStageView(*rom, {3, 0, 255, {true, 0xFFFFFFFFu}}, reused);
    ASSERT_NE(reused.Pixel(0x62, 0xEA) >> 24, 0u);
    struct Case {
        TStageViewParams params;
        int screen;
    };
    const std::vector<Case> cases = {{{0, 0, 255, {false, 0}}, 0}, {{3, 0, 255, {true, 0xFF00FF00u}}, 1}, {{1, 2, 90, {false, 0}}, 0}};
    for (const auto& c : cases) {
        rom->SetScreen(c.screen);
        ComposeStageView(*rom, c.params, reused);
        TBitmap32 fresh;
        ComposeStageView(*rom, c.params, fresh);
        EXPECT_EQ(reused, fresh);
    }
}

TEST(WorldView, TheSelectedWorldScreenWithGridlines) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    rom->InitWorldMap();
    TLevel& level = *rom->CurrentLevel;
    level.SetWorldScreen(3);
    TBitmap32 view;
    ComposeWorldView(level, {false, 0}, view);
    ASSERT_EQ(view.Width(), 256);
    ASSERT_EQ(view.Height(), 256);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            EXPECT_TRUE(SameBlock(view, 32 * col, 32 * row, *level.WorldBlockCache, 32 * level.GetWorldBlock(col, row)));
    ComposeWorldView(level, {true, 0xFF0000FFu}, view);
    for (int i = 1; i <= 7; ++i)
        for (int t = 0; t < 256; t += 15) {
            EXPECT_EQ(view.Pixel(32 * i, t), 0xFF0000FFu);
            EXPECT_EQ(view.Pixel(t, 32 * i), 0xFF0000FFu);
        }
}

namespace {

// What a picker pixel should be: the mark's edges, else a separator, else the block itself.
TColor32 PickerPixel(const TBitmap32& blocks, const TPickerMarks& m, int x, int y) {
    const int cell = y / 32, ly = y % 32, b = m.First + cell;
    const bool left = b == m.LeftBlock, middle = b == m.MiddleBlock;
    const bool border = x == 0 || x == 31 || ly == 0 || ly == 31;
    if (left && middle) {
        if (x == 31 || ly == 31) return m.MiddleColour;
        if (x == 0 || ly == 0) return m.LeftColour;
    } else if (left && border) {
        return m.LeftColour;
    } else if (middle && border) {
        return m.MiddleColour;
    }
    if (ly == 0 && cell > 0) return 0xFFFFFFFFu;
    return blocks.Pixel(x, y);
}

}  // namespace

TEST(Pickers, MarksSeparatorsAndLabels) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    const TColor32 L = 0xFFE01020u, M = 0x8010E030u;  // the label colours lose the alpha byte
    struct Case {
        int first, left, middle;
        bool labels;
        std::vector<TPickerLabel> expected;
    };
    const std::vector<Case> cases = {
        {0, 2, 2, true, {{"Left", 1, 64, 0xE01020u}, {"Middle", 1, 80, 0x10E030u}}},
        {0, 1, 3, true, {{"Left", 1, 32, 0xE01020u}, {"Middle", 1, 112, 0x10E030u}}},
        {0, 1, 3, false, {}},
        {10, 15, 10, true, {{"Left", 1, 160, 0xE01020u}, {"Middle", 1, 16, 0x10E030u}}},
        {10, 9, 16, true, {}},  // just outside on both sides
        {0x60, 0, 0xFF, true, {}},
        {250, 255, 255, true, {{"Left", 1, 160, 0xE01020u}, {"Middle", 1, 176, 0x10E030u}}},
    };
    for (const auto& c : cases) {
        const TPickerMarks marks{c.first, c.left, c.middle, L, M, c.labels};
        TBitmap32 picker;
        const auto labels = ComposeTilePicker(*rom, marks, picker);
        ASSERT_EQ(picker.Width(), 32);
        ASSERT_EQ(picker.Height(), 192);
        TBitmap32 blocks(32, 192);
        rom->DrawTileStrip(blocks, c.first);
        int wrong = 0;
        for (int y = 0; y < 192; ++y)
            for (int x = 0; x < 32; ++x) wrong += picker.Pixel(x, y) != PickerPixel(blocks, marks, x, y);
        EXPECT_EQ(wrong, 0) << c.first << " " << c.left << " " << c.middle;
        EXPECT_EQ(labels, c.expected) << c.first << " " << c.left << " " << c.middle;
    }
}

TEST(Pickers, TheWorldPickerShowsEightBlocksAndTheWorldMarks) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    rom->InitWorldMap();
    TLevel& level = *rom->CurrentLevel;
    for (int first : {0, 1, 0x40}) {
        const TPickerMarks marks{first, 0, 0, 0xFFFF0000u, 0xFF00FF00u, true};
        TBitmap32 picker;
        const auto labels = ComposeWorldPicker(level, marks, picker);
        ASSERT_EQ(picker.Width(), 32);
        ASSERT_EQ(picker.Height(), 256);
        TBitmap32 blocks(32, 256);
        level.DrawWorldTileStrip(blocks, first);
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(SameBlock(blocks, 0, 32 * i, *level.WorldBlockCache, 32 * (first + i)));
        int wrong = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 32; ++x) wrong += picker.Pixel(x, y) != PickerPixel(blocks, marks, x, y);
        EXPECT_EQ(wrong, 0) << first;
        EXPECT_EQ(labels.size(), first == 0 ? 2u : 0u) << first;
    }
}

// ---------------------------------------------------------------- sheets

TEST(Sheets, AWholeStageIsEveryScreenAtItsGridPlace) {
    TTempDir dir, data;
    WriteMarkers(data);
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    rom->SetScreen(2);
    TBitmap32 sheet;
    DrawWholeStage(*rom, 3, sheet);
    ASSERT_EQ(sheet.Width(), 3 * 256);
    ASSERT_EQ(sheet.Height(), 2 * 192);
    EXPECT_EQ(rom->Screen, 2);
    for (int s = 0; s < 6; ++s) {
        rom->SetScreen(s);
        const TBitmap32 screen = Screen(*rom, 3, 0, 255, 192);
        TBitmap32 cut(256, 192);
        cut.Draw(0, 0, sheet, 256 * (s % 3), 192 * (s / 3), 256, 192);
        EXPECT_EQ(cut, screen) << s;
    }
}

TEST(Sheets, AWholeWorldMapAndItsRefusals) {
    TTempDir dir, data;
    auto rom = Open(BuildTestGame(StandardLevels()), dir, data.Path());
    TBitmap32 sheet;
    DrawWholeWorld(*rom, sheet);
    ASSERT_EQ(sheet.Width(), 512);
    ASSERT_EQ(sheet.Height(), 512);
    TLevel& level = *rom->CurrentLevel;
    for (int s = 0; s < 4; ++s) {
        level.SetWorldScreen(s);
        TBitmap32 screen(256, 256), cut(256, 256);
        level.DrawWorldScreen(screen);
        cut.Draw(0, 0, sheet, 256 * (s % 2), 256 * (s / 2), 256, 256);
        EXPECT_EQ(cut, screen) << s;
    }
    rom->SetLevel(1);
    EXPECT_THROW(DrawWholeWorld(*rom, sheet), EditorError);
}

// ---------------------------------------------------------------- the render command

namespace {

struct TCliRun {
    int status;
    std::string err;
};

TCliRun RunCli(const TTempDir& dir, const std::string& args) {
    const std::string errFile = dir.File("stderr.txt");
    const std::string cmd = std::string(QB_BIN_DIR) + "/quillborn-cli " + args + " 2>\"" + errFile + "\" >/dev/null";
    const int raw = std::system(cmd.c_str());
    const auto bytes = ReadFileBytes(errFile);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(bytes.begin(), bytes.end())};
}

// The model's own drawing as the PNG should hold it: opaque.
TColor32 Opaque(TColor32 c) { return c | 0xFF000000u; }

}  // namespace

TEST(RenderCommand, WritesScreensStagesAndWorldMaps) {
    TTempDir dir, data;
    WriteMarkers(data);
    const TTestGame game = BuildTestGame(StandardLevels());
    const std::string romPath = game.Write(dir);
    const std::string common = "render \"" + romPath + "\" --data \"" + game.IniPath(dir) + "\" --data-dir \"" + data.Path() + "\" ";
    const std::string out = dir.File("out.png");

    TROMData rom(romPath, game.IniPath(dir), data.Path());
    rom.LoadDefaultPalette();
    rom.SetLevel(0);

    struct Case {
        std::string args;
        int width, height;
        int screen;   // which screen the probe falls on
        int px, py;   // probe inside that screen
        uint8_t mask;
    };
    const std::vector<Case> cases = {
        {"--level 1 --stage 1", 256, 192, 0, 0x25, 0x45, 3},           // on the enemy marker at ($20, $40)
        {"--level 1 --stage 1 --no-markers", 256, 192, 0, 0x25, 0x45, 0},
        {"--level 1 --stage 1 --screen 4", 256, 192, 4, 77, 150, 3},
        {"--level 1 --stage 1 --all", 768, 384, 5, 0x12, 0x14, 3},   // enemy on screen 5 at ($10, $10)
    };
    for (const auto& c : cases) {
        std::filesystem::remove(out);
        const TCliRun run = RunCli(dir, common + c.args + " -o \"" + out + "\"");
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        TBitmap32 png;
        ASSERT_TRUE(png.LoadFromFile(out)) << c.args;
        EXPECT_EQ(png.Width(), c.width) << c.args;
        EXPECT_EQ(png.Height(), c.height) << c.args;
        rom.SetScreen(c.screen);
        const TBitmap32 expected = Screen(rom, c.mask, 0, 255, 192);
        const int ox = c.width > 256 ? 256 * (c.screen % 3) : 0, oy = c.width > 256 ? 192 * (c.screen / 3) : 0;
        EXPECT_EQ(png.Pixel(ox + c.px, oy + c.py), Opaque(expected.Pixel(c.px, c.py))) << c.args;
        int alphaNot255 = 0;
        for (int y = 0; y < png.Height(); y += 7)
            for (int x = 0; x < png.Width(); x += 7) alphaNot255 += (png.Pixel(x, y) >> 24) != 0xFF;
        EXPECT_EQ(alphaNot255, 0) << c.args;
    }
    // The marker is really there in the first case and absent in the second.
    ASSERT_EQ(RunCli(dir, common + "--level 1 --stage 1 -o \"" + out + "\"").status, 0);
    TBitmap32 png;
    ASSERT_TRUE(png.LoadFromFile(out));
    EXPECT_EQ(png.Pixel(0x20 + 3, 0x40 + 12), BlankEnemyPixel(3, 12));

    // The world map, whole.
    ASSERT_EQ(RunCli(dir, common + "--level 1 --world -o \"" + out + "\"").status, 0);
    ASSERT_TRUE(png.LoadFromFile(out));
    EXPECT_EQ(png.Width(), 512);
    EXPECT_EQ(png.Height(), 512);
    rom.InitWorldMap();
    rom.CurrentLevel->SetWorldScreen(3);
    TBitmap32 world(256, 256);
    rom.CurrentLevel->DrawWorldScreen(world);
    EXPECT_EQ(png.Pixel(256 + 99, 256 + 201), Opaque(world.Pixel(99, 201)));
}

TEST(RenderCommand, PaletteFileColoursEveryPixel) {
    TTempDir dir, data;
    const TTestGame game = BuildTestGame(StandardLevels());
    const std::string romPath = game.Write(dir);
    std::vector<uint8_t> pal;
    for (int i = 0; i < 64; ++i) pal.insert(pal.end(), {0x12, 0x34, 0x56});
    const std::string palPath = dir.Write("flat.pal", pal);
    const std::string out = dir.File("flat.png");
    const TCliRun run = RunCli(dir, "render \"" + romPath + "\" --data \"" + game.IniPath(dir) + "\" --data-dir \"" + data.Path() +
                                        "\" --level 2 --stage 1 --palette \"" + palPath + "\" -o \"" + out + "\"");
    ASSERT_EQ(run.status, 0) << run.err;
    TBitmap32 png;
    ASSERT_TRUE(png.LoadFromFile(out));
    int other = 0;
    for (int y = 0; y < png.Height(); ++y)
        for (int x = 0; x < png.Width(); ++x) other += png.Pixel(x, y) != 0xFF123456u;
    EXPECT_EQ(other, 0);
}

TEST(RenderCommand, RefusesWhatItCannotDraw) {
    TTempDir dir, data;
    const TTestGame game = BuildTestGame(StandardLevels());
    const std::string romPath = game.Write(dir);
    const std::string common = "render \"" + romPath + "\" --data \"" + game.IniPath(dir) + "\" --data-dir \"" + data.Path() + "\" ";
    const std::string out = " -o \"" + dir.File("x.png") + "\"";
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"--level 2 --world" + out, 2, "no world map"},
        {"--level 3 --stage 1" + out, 2, "level 3"},
        {"--level 0 --stage 1" + out, 2, "level 0"},
        {"--level 1 --stage 3" + out, 2, "stage 3"},
        {"--level 1 --stage 1 --screen 6" + out, 2, "screen 6"},
        {"--level 1 --stage 1 --screen -1" + out, 2, "screen -1"},
        {"--level 1 --stage 1 -o \"" + dir.File("no/such/folder/x.png") + "\"", 2, "cannot write"},
        {"--level 1 --stage 1 --palette \"" + dir.File("missing.pal") + "\"" + out, 2, "missing.pal"},
        {"--level 1" + out, 1, "--stage"},
        {"--level 1 --stage 1 --world" + out, 1, "--stage"},
        {"--level 1 --stage 1 --screen 1 --all" + out, 1, "--all"},
        {"--level 1 --world --all" + out, 1, "--world"},
        {"--stage 1" + out, 1, "--level"},
        {"--level 1 --stage 1", 1, "-o"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli(dir, common + c.args);
        EXPECT_EQ(run.status, c.status) << c.args << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.png")));
}

TEST(RenderCommand, EveryStageAndWorldMapOfTheDemo) {
    const std::string bin = QB_BIN_DIR, romPath = bin + "/demo.nes", ini = bin + "/Data/Quillborn Demo.ini";
    ASSERT_TRUE(std::filesystem::exists(romPath) && std::filesystem::exists(ini)) << "the demo ROM is generated by the build";
    TROMData rom(romPath, ini, bin + "/Data");
    rom.LoadDefaultPalette();
    TTempDir dir;
    const std::string out = dir.File("demo.png");
    const std::string common = "render \"" + romPath + "\" --data \"" + ini + "\" -o \"" + out + "\" ";
    for (int l = 0; l < rom.Levels.Count(); ++l) {
        rom.SetLevel(l);
        const std::string level = "--level " + std::to_string(l + 1);
        for (int s = 0; s < rom.CurrentLevel->Stages.Count(); ++s) {
            rom.SetStage(s);
            const std::string args = level + " --stage " + std::to_string(s + 1) + " --all";
            ASSERT_EQ(RunCli(dir, common + args).status, 0) << args;
            TBitmap32 png, sheet;
            ASSERT_TRUE(png.LoadFromFile(out)) << args;
            DrawWholeStage(rom, 3, sheet);
            ASSERT_EQ(png.Width(), 256 * rom.CurrentStage->Width()) << args;
            ASSERT_EQ(png.Height(), 192 * rom.CurrentStage->Height()) << args;
            int wrong = 0;
            for (int y = 0; y < png.Height(); y += 3)
                for (int x = 0; x < png.Width(); x += 3) wrong += png.Pixel(x, y) != Opaque(sheet.Pixel(x, y));
            EXPECT_EQ(wrong, 0) << args;
        }
        const TCliRun world = RunCli(dir, common + level + " --world");
        if (!rom.CurrentLevel->HasWorldMap()) {
            EXPECT_EQ(world.status, 2) << level;
            continue;
        }
        ASSERT_EQ(world.status, 0) << level << ": " << world.err;
        TBitmap32 png;
        ASSERT_TRUE(png.LoadFromFile(out));
        EXPECT_EQ(png.Width(), 256 * rom.CurrentLevel->WorldWidth()) << level;
        EXPECT_EQ(png.Height(), 256 * rom.CurrentLevel->WorldHeight()) << level;
    }
}

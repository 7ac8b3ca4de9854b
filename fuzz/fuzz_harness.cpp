#include "fuzz/fuzz_harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/classes_romdata.h"
#include "render/map_views.h"
#include "rom/Errors.h"

namespace {

}  // namespace

// Splits the input the way the seeds are made: text up to a single backslash, then the ROM.
void SplitModelFuzzInput(const uint8_t* data, size_t size, std::string& text, std::vector<uint8_t>& rom) {
    size_t i = 0;
    for (; i < size; ++i) {
        if (data[i] != '\\') {
            text.push_back(static_cast<char>(data[i]));
            continue;
        }
        if (i + 1 < size && data[i + 1] == '\\') {
            text.push_back('\\');
            ++i;
            continue;
        }
        i += 2;  // the backslash and the byte after it end the text
        break;
    }
    if (i < size) rom.assign(data + i, data + size);
}

namespace {

const std::string& WorkDir() {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / ("quillborn-fuzz-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void Exercise(TROMData& rom) {
    rom.IsValidROM();
    rom.LoadDefaultPalette();
    const int levels = std::min(rom.Levels.Count(), 6);
    TBitmap32 page(128, 128), strip(32, 256), screen(256, 256);
    for (int l = 0; l < levels; ++l) {
        try {
            rom.SetLevel(l);
        } catch (const EditorError&) {
            continue;
        }
        TLevel& level = *rom.CurrentLevel;
        if (level.HasWorldMap()) {
            rom.InitWorldMap();
            const int worldScreens = std::min(level.WorldWidth() * level.WorldHeight(), 6);
            for (int s = 0; s < worldScreens; ++s) {
                level.SetWorldScreen(s);
                level.DrawWorldScreen(screen);
                ComposeWorldView(level, {true, 0xFFFFFFFFu}, screen);
            }
            level.DrawWorldTileStrip(strip, 250);
            ComposeWorldPicker(level, {250, 255, 255, 0xFFFF0000u, 0xFF00FF00u, true}, strip);
            rom.DrawPatternTable(page, 2, true);
        }
        const int stages = std::min(level.Stages.Count(), 4);
        for (int st = 0; st < stages; ++st) {
            rom.SetStage(st);
            const int screens = std::min(rom.CurrentStage->ScreenCount(), 4);
            for (int s = 0; s < std::max(screens, 1); ++s) {
                rom.SetScreen(s);
                const uint8_t b = rom.GetBlock(7, 5);
                rom.SetBlock(7, 5, b);
                rom.EnemyAt(10, 10);
                rom.SpecObjAt(10, 10);
                rom.DrawScreen(screen, 3, s % 5, s % 2 ? 255 : 128);
                ComposeStageView(rom, {3, 4, 200, {true, 0xFF808080u}}, screen);
            }
            ComposeTilePicker(rom, {250, 251, 251, 0xFFFF0000u, 0xFF00FF00u, true}, strip);
            rom.DrawTileStrip(strip, 250);
            rom.DrawPatternTable(page, 1, false);
            if (rom.CurrentStage->ScreenCount() <= 64) {
                TBitmap32 map(16 * rom.CurrentStage->Width(), 16 * rom.CurrentStage->Height());
                rom.DrawLevelMap(map);
            }
            rom.RefreshBlocks(250);
            rom.RenderBlock(255);
            rom.SetTSATile(255, 3, 0x12, 3);
            rom.CycleAttribute(255, 1, 1);
            if (rom.AddEnemy()) rom.DeleteEnemy(rom.CurrentStage->Enemies->Count() - 1);
            rom.AddEnemy();
            TTileGrid grid;
            rom.ReadTile(255, grid);
            grid.At(7, 7) ^= 3;
            rom.WriteTile(255, grid);
            rom.LoadPalette(0xFF);
            rom.SetPaletteEntry(3, 3, 0x7F);
            rom.StoreStagePalette();
            rom.LoadStagePalette();
            rom.StageEnemyType(7);
            rom.EnemyTypeFor(0xFF, 0xFF);
            rom.DrawPatternPage(page, 3, 0, rom.CurrentStage->GetSprPatternTable());
            rom.DrawPatternPage(page, 1, 1, 0xFF);
            TSolidityList list;
            if (rom.ReadSolidity(list) == TSolidityRead::Ok) rom.WriteSolidity(list);
        }
    }
    const TObjectState state = rom.CaptureObjects();
    rom.Image().BeginRecording();
    rom.RestoreHeader();
    const auto changes = rom.Image().EndRecording();
    rom.Image().ApplyChanges(changes, true);
    rom.RestoreObjects(state);
    rom.PackedEnemySize();
    rom.SaveROMAs(WorkDir() + "/saved.nes");
}

}  // namespace

std::vector<uint8_t> MakeModelFuzzInput(const std::string& iniText, const std::vector<uint8_t>& rom) {
    std::vector<uint8_t> out;
    for (char c : iniText) {
        out.push_back(static_cast<uint8_t>(c));
        if (c == '\\') out.push_back('\\');
    }
    out.push_back('\\');
    out.push_back('|');
    out.insert(out.end(), rom.begin(), rom.end());
    return out;
}

void RunModelFuzzInput(const uint8_t* data, size_t size) {
    std::string text;
    std::vector<uint8_t> bytes;
    SplitModelFuzzInput(data, size, text, bytes);
    const std::string romPath = WorkDir() + "/input.nes";
    {
        std::ofstream out(romPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    try {
        // The marker pictures of the Data folder, so the marker drawing runs too.
        TROMData rom(romPath, TMemINIHexFile(TIniFile::FromText(text)), QB_DATA_DIR);
        Exercise(rom);
    } catch (const EditorError&) {
        // Refused files are fine; crashes, leaks and undefined behaviour are not.
    }
}

#include "render/stage_sheet.h"

#include <string>

#include "model/classes_romdata.h"
#include "render/map_views.h"
#include "rom/Errors.h"

namespace {

void SizeSheet(TBitmap32& sheet, int across, int down, int cellWidth, int cellHeight, const std::string& what) {
    if (across == 0 || down == 0) throw EditorError(what + " has no screens.");
    const long long pixels = static_cast<long long>(across) * cellWidth * down * cellHeight;
    if (pixels > MaxSheetPixels)
        throw EditorError(what + " is " + std::to_string(across) + "x" + std::to_string(down) +
                          " screens; a picture of that size is too large.");
    sheet.SetSize(across * cellWidth, down * cellHeight);
}

}  // namespace

void DrawWholeStage(TROMData& rom, uint8_t showMask, TBitmap32& sheet) {
    if (!rom.CurrentStage) throw EditorError("No stage is selected.");
    const int width = rom.CurrentStage->Width(), height = rom.CurrentStage->Height();
    constexpr int ScreenHeight = RoomRows * BlockSize;
    SizeSheet(sheet, width, height, ViewSize, ScreenHeight, "The stage");
    const int selected = rom.Screen;
    TBitmap32 screen(ViewSize, ScreenHeight);
    for (int s = 0; s < width * height; ++s) {
        rom.SetScreen(s);
        rom.DrawScreen(screen, showMask, 0);
        sheet.Draw(ViewSize * (s % width), ScreenHeight * (s / width), screen);
    }
    rom.SetScreen(selected);
}

void DrawWholeWorld(TROMData& rom, TBitmap32& sheet) {
    if (!rom.CurrentLevel) throw EditorError("No level is selected.");
    TLevel& level = *rom.CurrentLevel;
    const std::string name = "Level " + std::to_string(rom.LevelIndex + 1);
    if (!level.HasWorldMap()) throw EditorError(name + " has no world map.");
    const int width = level.WorldWidth(), height = level.WorldHeight();
    SizeSheet(sheet, width, height, ViewSize, ViewSize, "The world map of " + name);
    rom.InitWorldMap();
    TBitmap32 screen(ViewSize, ViewSize);
    for (int s = 0; s < width * height; ++s) {
        level.SetWorldScreen(s);
        level.DrawWorldScreen(screen);
        sheet.Draw(ViewSize * (s % width), ViewSize * (s / width), screen);
    }
    level.SetWorldScreen(0);
}

#pragma once
// Whole-stage and whole-world pictures, every screen at its place in the grid, for export.

#include <cstdint>

#include "rom/Bitmap32.h"

class TROMData;

// Above this many pixels a sheet is refused rather than allocated: a hostile data file can claim
// 255x255 screens.
constexpr long long MaxSheetPixels = 1LL << 26;

// The current stage, Width*256 by Height*192: screen position s at column s mod Width, row s div
// Width, each drawn as DrawScreen draws it (markers as showMask says, clipped to their screen).
// Selects each screen in turn, then the screen that was selected before. Throws EditorError for a stage
// without screens or too large a picture.
void DrawWholeStage(TROMData& rom, uint8_t showMask, TBitmap32& sheet);
// The current level's world map, WorldWidth*256 by WorldHeight*256, no markers. Prepares the world map
// (InitWorldMap) and leaves world screen 0 selected. Throws EditorError for a level without a world
// map, one without screens, or too large a picture.
void DrawWholeWorld(TROMData& rom, TBitmap32& sheet);

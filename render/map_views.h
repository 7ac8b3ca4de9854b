#pragma once
// The main window's four pictures without the window: stage view, world view, tile picker and
// world picker. The caller keeps one picture per view and hands it in at every redraw; it is sized
// here when it has the wrong size. Text needs a font, so the pickers' "Left" and "Middle" labels
// come back as a list for the window to draw over the picture.

#include <cstdint>
#include <string>
#include <vector>

#include "rom/Bitmap32.h"

class TROMData;
class TLevel;

constexpr int ViewSize = 256;              // stage and world views: 256x256
constexpr int StageViewVisibleRows = 192;  // what the normal layout shows of the stage view
constexpr int PickerWidth = 32;
constexpr int TilePickerCells = 6;   // 32x192
constexpr int WorldPickerCells = 8;  // 32x256

struct TGridlines {
    bool Show = true;
    TColor32 Colour = 0xFFFFFFFFu;
};

struct TStageViewParams {
    uint8_t ShowMask = 3;  // bit 0: enemies ("Enemies" checked), bit 1: special objects
    int EnemyView = 0;     // 0: the stage's sprite page, 1..4: sprite change 1..4
    uint8_t MarkerOpacity = 255;  // the window passes IconOpaque while IconTrans is on
    TGridlines Gridlines;
};

// The lines x = 32i (y 0..255), then y = 32i (x 0..255), i = 1..7.
void DrawGridlines(TBitmap32& target, TColor32 colour);

// The selected screen of the current stage with its markers, then the gridlines. Throws EditorError
// when a marker picture cannot be read; the window then keeps its previous picture.
void ComposeStageView(TROMData& rom, const TStageViewParams& params, TBitmap32& target);
// The selected world screen of the level (no markers), then the gridlines.
void ComposeWorldView(const TLevel& level, const TGridlines& gridlines, TBitmap32& target);

struct TPickerMarks {
    int First = 0;  // the picker scroll bar's position
    int LeftBlock = 0;
    int MiddleBlock = 0;
    TColor32 LeftColour = 0xFFFF0000u;   // LeftTextColour
    TColor32 MiddleColour = 0xFF00FF00u;  // MidTextColour
    bool ShowLabels = true;               // DispMidLeftText
};

// A label for the window to draw with the picker's small font, transparent background, at (X, Y)
// of the picture, in the order given, after the picture is composed.
struct TPickerLabel {
    std::string Text;
    int X = 0;
    int Y = 0;
    TColor32 Colour = 0;  // $00RRGGBB: the mark colour without its alpha byte
    bool operator==(const TPickerLabel&) const = default;
};

// Separators and Left/Middle marks over a strip of `cells` blocks that already holds its blocks;
// returns the labels. Blocks outside first..first + cells - 1 get no mark and no label.
std::vector<TPickerLabel> DrawPickerMarks(TBitmap32& strip, int cells, const TPickerMarks& marks);

// 32x192: six blocks of the current stage from marks.First on, with separators and marks.
std::vector<TPickerLabel> ComposeTilePicker(TROMData& rom, const TPickerMarks& marks, TBitmap32& target);
// 32x256: eight world blocks of the level; marks take WorldLeftBlock and WorldMiddleBlock.
std::vector<TPickerLabel> ComposeWorldPicker(TLevel& level, const TPickerMarks& marks, TBitmap32& target);

#include "render/map_views.h"

#include <algorithm>
#include <cstring>

#include "model/classes_romdata.h"

namespace {

void EnsureSize(TBitmap32& target, int width, int height) {
    if (target.Width() != width || target.Height() != height) target.SetSize(width, height);
}

TColor32 WithoutAlpha(TColor32 c) { return c & 0x00FFFFFFu; }

}  // namespace

void DrawGridlines(TBitmap32& target, TColor32 colour) {
    // Row by row rather than line by line: seven pixels of each row in one pass over the picture.
    const int width = std::min(target.Width(), ViewSize), height = std::min(target.Height(), ViewSize);
    for (int y = 0; y < height; ++y) {
        TColor32* row = target.Row(y);
        for (int x = BlockSize; x < width; x += BlockSize) row[x] = colour;
    }
    for (int y = BlockSize; y < height; y += BlockSize) std::fill_n(target.Row(y), width, colour);
}

void ComposeStageView(TROMData& rom, const TStageViewParams& params, TBitmap32& target) {
    if (target.Width() != ViewSize || target.Height() != ViewSize) {
        target.SetSize(ViewSize, ViewSize);
    } else if (rom.BlockCache && rom.CurrentStage) {
        // The blocks cover the top 192 rows; only what lies below them must start blank again.
        constexpr int top = RoomRows * BlockSize;
        std::memset(target.Row(top), 0, sizeof(TColor32) * ViewSize * (ViewSize - top));
    } else {
        target.Clear(0);
    }
    rom.DrawScreen(target, params.ShowMask, params.EnemyView, params.MarkerOpacity);
    if (params.Gridlines.Show) DrawGridlines(target, params.Gridlines.Colour);
}

void ComposeWorldView(const TLevel& level, const TGridlines& gridlines, TBitmap32& target) {
    EnsureSize(target, ViewSize, ViewSize);
    if (level.WorldBlockCache)
        level.DrawWorldScreen(target);  // covers the whole picture
    else
        target.Clear(0);
    if (gridlines.Show) DrawGridlines(target, gridlines.Colour);
}

std::vector<TPickerLabel> DrawPickerMarks(TBitmap32& strip, int cells, const TPickerMarks& marks) {
    for (int i = 1; i < cells; ++i) strip.HorzLine(0, BlockSize * i, PickerWidth - 1, clWhite32);

    std::vector<TPickerLabel> labels;
    const int first = marks.First, last = marks.First + cells - 1;
    const bool same = marks.LeftBlock == marks.MiddleBlock;
    if (first <= marks.LeftBlock && marks.LeftBlock <= last) {
        const int y = BlockSize * (marks.LeftBlock - first);
        const TColor32 c = marks.LeftColour;
        if (same) {
            strip.VertLine(0, y, y + BlockSize - 1, c);
            strip.HorzLine(0, y, PickerWidth - 1, c);
        } else {
            strip.FrameRect(0, y, PickerWidth, y + BlockSize, c);
        }
        if (marks.ShowLabels) labels.push_back({"Left", 1, y, WithoutAlpha(c)});
    }
    if (first <= marks.MiddleBlock && marks.MiddleBlock <= last) {
        const int y = BlockSize * (marks.MiddleBlock - first);
        const TColor32 c = marks.MiddleColour;
        if (same) {
            // Right and bottom edges only, so one block chosen for both shows both colours.
            strip.VertLine(PickerWidth - 1, y, y + BlockSize - 1, c);
            strip.HorzLine(0, y + BlockSize - 1, PickerWidth - 1, c);
        } else {
            strip.FrameRect(0, y, PickerWidth, y + BlockSize, c);
        }
        if (marks.ShowLabels) labels.push_back({"Middle", 1, y + 16, WithoutAlpha(c)});
    }
    return labels;
}

std::vector<TPickerLabel> ComposeTilePicker(TROMData& rom, const TPickerMarks& marks, TBitmap32& target) {
    EnsureSize(target, PickerWidth, TilePickerCells * BlockSize);
    target.Clear(0);
    rom.DrawTileStrip(target, marks.First);
    return DrawPickerMarks(target, TilePickerCells, marks);
}

std::vector<TPickerLabel> ComposeWorldPicker(TLevel& level, const TPickerMarks& marks, TBitmap32& target) {
    EnsureSize(target, PickerWidth, WorldPickerCells * BlockSize);
    target.Clear(0);
    level.DrawWorldTileStrip(target, marks.First);
    return DrawPickerMarks(target, WorldPickerCells, marks);
}

#include "render/map_views.h"

#include "model/classes_romdata.h"

namespace {

void EnsureSize(TBitmap32& target, int width, int height) {
    if (target.Width() != width || target.Height() != height) target.SetSize(width, height);
}

TColor32 WithoutAlpha(TColor32 c) { return c & 0x00FFFFFFu; }

}  // namespace

void DrawGridlines(TBitmap32& target, TColor32 colour) {
    for (int i = 1; i <= 7; ++i) target.VertLine(BlockSize * i, 0, ViewSize - 1, colour);
    for (int i = 1; i <= 7; ++i) target.HorzLine(0, BlockSize * i, ViewSize - 1, colour);
}

void ComposeStageView(TROMData& rom, const TStageViewParams& params, TBitmap32& target) {
    if (target.Width() != ViewSize || target.Height() != ViewSize) {
        target.SetSize(ViewSize, ViewSize);
    } else if (rom.BlockCache && rom.CurrentStage) {
        // The blocks cover the top 192 rows; only what lies below them must start blank again.
        target.FillRect(0, RoomRows * BlockSize, ViewSize, ViewSize, 0);
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

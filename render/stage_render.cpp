// The stage pictures of the model: the selected screen with its markers, the picker strip,
// the background tile sheet and the screen-grid thumbnail.

#include <cstring>

#include "model/classes_romdata.h"
#include "render/markers.h"

void TROMData::DrawScreen(TBitmap32& target, uint8_t showMask, int enemyView, uint8_t markerOpacity) {
    if (!CurrentStage) return;

    if (BlockCache) {
        // The room is resolved once; this runs on every mouse move while painting.
        const TOffset base = RoomBase() + 48 * CurrentStage->GetRoom(Screen);
        const TiNESImage& image = *image_;
        uint8_t blocks[RoomRows][RoomColumns];
        for (int row = 0; row < RoomRows; ++row)
            for (int col = 0; col < RoomColumns; ++col) {
                const uint8_t b = image.ReadByte(base + 8 * row + col);
                // A block painted since the last stage change may not be in the cache yet.
                if (!BlockDrawn[b]) {
                    RenderBlock(b);
                    BlockDrawn[b] = true;
                }
                blocks[row][col] = b;
            }
        if (target.Width() >= RoomColumns * BlockSize && target.Height() >= RoomRows * BlockSize) {
            // Whole rows of the screen at a time, in fixed-size pieces the compiler copies inline.
            const TColor32* cache = BlockCache->Bits();
            for (int row = 0; row < RoomRows; ++row)
                for (int y = 0; y < BlockSize; ++y) {
                    TColor32* out = target.Row(BlockSize * row + y);
                    const TColor32* in = cache + static_cast<size_t>(y) * BlockCacheWidth;
                    for (int col = 0; col < RoomColumns; ++col)
                        std::memcpy(out + BlockSize * col, in + BlockSize * blocks[row][col], BlockSize * sizeof(TColor32));
                }
        } else {
            for (int row = 0; row < RoomRows; ++row)
                for (int col = 0; col < RoomColumns; ++col)
                    target.Draw(BlockSize * col, BlockSize * row, *BlockCache, BlockSize * blocks[row][col], 0, BlockSize, BlockSize);
        }
    }

    const bool enemies = (showMask & 1) && CurrentStage->Enemies && !CurrentStage->Enemies->Empty();
    const bool specObjs = (showMask & 2) && CurrentStage->SpecObjs && !CurrentStage->SpecObjs->Empty();
    if (!enemies && !specObjs) return;
    if (!markers_) markers_ = TMarkerPictures::Load(dataDir_);
    const TMarkerPictures& m = *markers_;
    if (!m.HasNumbers) return;

    if (enemies) {
        m.RequireBlankEnemy();
        const uint8_t page = enemyView >= 1 && enemyView <= 4 ? CurrentStage->GetSpriteChange(enemyView - 1)
                                                              : CurrentStage->GetSprPatternTable();
        for (const auto& e : *CurrentStage->Enemies) {
            if (e->Screen != Screen) continue;
            m.DrawMarker(target, m.BlankEnemy, e->X(), e->Y(), EnemyTypeFor(page, e->TypeSlot()), markerOpacity);
        }
    }
    // After the enemies, so an object's marker covers an enemy's where they overlap.
    if (specObjs) {
        m.RequireBlankSpecObj();
        for (const auto& o : *CurrentStage->SpecObjs) {
            if (o->Screen != Screen) continue;
            m.DrawMarker(target, m.BlankSpecObj, o->X(), o->Y(), o->Kind, markerOpacity);
        }
    }
}

void TROMData::DrawTileStrip(TBitmap32& target, int first) {
    if (!BlockCache) return;
    for (int i = 0; i < 6; ++i) {
        const int b = first + i;
        if (b < 0 || b > 255) continue;
        if (!BlockDrawn[static_cast<size_t>(b)]) {
            RenderBlock(b);
            BlockDrawn[static_cast<size_t>(b)] = true;
        }
        target.Draw(0, BlockSize * i, *BlockCache, BlockSize * b, 0, BlockSize, BlockSize);
    }
}

void TROMData::DrawPatternTable(TBitmap32& target, int sub, bool world) const {
    const uint8_t* tiles = PatternBuffer.data();
    const uint8_t* palette = PaletteBuffer.data();
    if (world) {
        if (!CurrentLevel) return;
        tiles = CurrentLevel->WorldPatternBuffer.data();
        palette = CurrentLevel->WorldPaletteBuffer.data();
    }
    const uint8_t* colours = palette + 4 * (sub & 3);
    for (int t = 0; t < 256; ++t) image_->DrawTile(target, tiles + 16 * t, colours, 8 * (t % 16), 8 * (t / 16));
}

void TROMData::DrawLevelMap(TBitmap32& target) const {
    if (!CurrentStage) return;
    const int width = CurrentStage->Width(), height = CurrentStage->Height();
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            target.FillRect(16 * c, 16 * r, 16 * c + 16, 16 * r + 16, clRed32);
            target.FrameRect(16 * c, 16 * r, 16 * c + 16, 16 * r + 16, clWhite32);
        }
}

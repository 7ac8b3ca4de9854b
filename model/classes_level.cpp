#include "model/classes_level.h"

void DrawBlock(const TiNESImage& image, TBitmap32& cache, int n, TOffset tsa, TOffset attr, const TPatternBuffer& patterns,
               const TPaletteBuffer& palette) {
    const uint8_t a = image.ReadByte(attr + n);
    const int q[4] = {a & 3, (a >> 2) & 3, (a >> 4) & 3, (a >> 6) & 3};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t t = image.ReadByte(tsa + 16 * n + 4 * y + x);
            const int quarter = (y / 2) * 2 + (x / 2);
            image.DrawTile(cache, patterns.data() + 16 * t, palette.data() + 4 * q[quarter], BlockSize * n + 8 * x, 8 * y);
        }
    }
}

TOffset TLevel::WorldBase() const { return Image->ReadPointer(Source.WorldLevelData, 0, 0x8000); }
TOffset TLevel::WorldTSA() const { return Image->ReadPointer(Source.WorldTSA, 0x10010, 0x8000); }
TOffset TLevel::WorldAttr() const { return Image->ReadPointer(Source.WorldAttr, 0x10010, 0x8000); }
uint8_t TLevel::WorldPaletteNumber() const { return Image->ReadByte(Source.WorldPalette); }
uint8_t TLevel::WorldPatternPage() const { return Image->ReadByte(Source.WorldPatternTable); }

uint8_t TLevel::GetWorldBlock(int col, int row) const {
    return Image->ReadByte(WorldBase() + 64 * GetWorldRoom(WorldScreen) + 8 * row + col);
}

void TLevel::SetWorldScreen(int screen) {
    WorldScreen = screen;
    CacheWorldScreen();
}

void TLevel::CacheWorldScreen() {
    const TOffset base = WorldBase() + 64 * GetWorldRoom(WorldScreen);
    for (int w = 0; w < WorldRoomRows; ++w)
        for (int c = 0; c < RoomColumns; ++c) {
            const uint8_t n = Image->ReadByte(base + 8 * w + c);
            if (!WorldBlockDrawn[n]) {
                RenderWorldBlock(n);
                WorldBlockDrawn[n] = true;
            }
        }
}

void TLevel::RenderWorldBlock(int block) {
    if (!WorldBlockCache || block < 0 || block > 255) return;
    DrawBlock(*Image, *WorldBlockCache, block, WorldTSA(), WorldAttr(), WorldPatternBuffer, WorldPaletteBuffer);
}

void TLevel::InitWorldBlocks() {
    WorldBlockDrawn.fill(false);
    if (!WorldBlockCache) WorldBlockCache = std::make_unique<TBitmap32>();
    WorldBlockCache->SetSize(BlockCacheWidth, BlockSize);
}

void TLevel::LoadWorldPalette(TOffset palettePointers) {
    const uint8_t v = WorldPaletteNumber();
    const TOffset d = Image->ReadPointer(palettePointers + 2 * v, 0, 0xC000);
    for (int i = 0; i < 4; ++i) {
        WorldPaletteBuffer[4 * i] = 0x0F;
        for (int j = 1; j <= 3; ++j) WorldPaletteBuffer[4 * i + j] = Image->ReadByte(d + 3 * i + j - 1);
    }
}

void TLevel::LoadWorldPatterns() { Image->ReadPatternPage(WorldPatternPage(), WorldPatternBuffer.data()); }

void TLevel::DrawWorldScreen(TBitmap32& target) const {
    if (!WorldBlockCache) return;
    const TOffset base = WorldBase() + 64 * GetWorldRoom(WorldScreen);
    for (int row = 0; row < WorldRoomRows; ++row)
        for (int col = 0; col < RoomColumns; ++col) {
            const uint8_t b = Image->ReadByte(base + 8 * row + col);
            target.Draw(BlockSize * col, BlockSize * row, *WorldBlockCache, BlockSize * b, 0, BlockSize, BlockSize);
        }
}

void TLevel::DrawWorldTileStrip(TBitmap32& target, int first) {
    if (!WorldBlockCache) return;
    for (int i = 0; i < 8; ++i) {
        const int b = first + i;
        if (b < 0 || b > 255) continue;
        if (!WorldBlockDrawn[static_cast<size_t>(b)]) {
            RenderWorldBlock(b);
            WorldBlockDrawn[static_cast<size_t>(b)] = true;
        }
        target.Draw(0, BlockSize * i, *WorldBlockCache, BlockSize * b, 0, BlockSize, BlockSize);
    }
}

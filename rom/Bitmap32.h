#pragma once
// A 32-bit picture, pixels $AARRGGBB. Copies are opaque unless a method says otherwise:
// master-palette colours carry alpha 0, so alpha must never be read as transparency here.

#include <cstdint>
#include <string>
#include <vector>

using TColor32 = uint32_t;

constexpr TColor32 clWhite32 = 0xFFFFFFFFu;
constexpr TColor32 clRed32 = 0xFFFF0000u;
constexpr TColor32 clBlack32 = 0xFF000000u;
constexpr TColor32 clCyan32 = 0xFF00FFFFu;

class TBitmap32 {
public:
    TBitmap32() = default;
    TBitmap32(int width, int height) { SetSize(width, height); }

    // Resizes and clears to 0 (transparent black), as a fresh picture.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    TColor32 Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Clipped: writes outside the picture are dropped.
    void SetPixel(int x, int y, TColor32 c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = c;
    }
    TColor32* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const TColor32* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    TColor32* Bits() { return pixels_.data(); }
    const TColor32* Bits() const { return pixels_.data(); }

    void Clear(TColor32 c);
    // Rectangles take the right and bottom edges exclusive; everything is clipped.
    void FillRect(int x1, int y1, int x2, int y2, TColor32 c);
    void FrameRect(int x1, int y1, int x2, int y2, TColor32 c);
    // Lines include both end points.
    void HorzLine(int x1, int y, int x2, TColor32 c);
    void VertLine(int x, int y1, int y2, TColor32 c);
    void Line(int x1, int y1, int x2, int y2, TColor32 c);

    // Opaque copy of the source rectangle (sx, sy, w, h) to (dx, dy), clipped to both pictures.
    void Draw(int dx, int dy, const TBitmap32& src, int sx, int sy, int w, int h);
    void Draw(int dx, int dy, const TBitmap32& src) { Draw(dx, dy, src, 0, 0, src.width_, src.height_); }
    // Copy blended with a master opacity 0..255 (the source's own alpha is ignored).
    void DrawBlended(int dx, int dy, const TBitmap32& src, uint8_t opacity);

    // Reads a Windows bitmap (or any picture stb_image knows); false when it cannot.
    bool LoadFromFile(const std::string& fileName);

    bool operator==(const TBitmap32& o) const {
        return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<TColor32> pixels_;
};

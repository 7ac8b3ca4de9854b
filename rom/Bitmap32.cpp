#include "rom/Bitmap32.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <stb_image.h>

void TBitmap32::SetSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
}

void TBitmap32::Clear(TColor32 c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 c) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    for (int y = y1; y < y2; ++y) std::fill(Row(y) + x1, Row(y) + std::max(x1, x2), c);
}

void TBitmap32::FrameRect(int x1, int y1, int x2, int y2, TColor32 c) {
    if (x2 <= x1 || y2 <= y1) return;
    HorzLine(x1, y1, x2 - 1, c);
    HorzLine(x1, y2 - 1, x2 - 1, c);
    VertLine(x1, y1, y2 - 1, c);
    VertLine(x2 - 1, y1, y2 - 1, c);
}

void TBitmap32::HorzLine(int x1, int y, int x2, TColor32 c) {
    if (y < 0 || y >= height_) return;
    if (x1 > x2) std::swap(x1, x2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, width_ - 1);
    for (int x = x1; x <= x2; ++x) Row(y)[x] = c;
}

void TBitmap32::VertLine(int x, int y1, int y2, TColor32 c) {
    if (x < 0 || x >= width_) return;
    if (y1 > y2) std::swap(y1, y2);
    y1 = std::max(y1, 0);
    y2 = std::min(y2, height_ - 1);
    for (int y = y1; y <= y2; ++y) Row(y)[x] = c;
}

void TBitmap32::Line(int x1, int y1, int x2, int y2, TColor32 c) {
    if (y1 == y2) return HorzLine(x1, y1, x2, c);
    if (x1 == x2) return VertLine(x1, y1, y2, c);
    // Bresenham, for the odd diagonal.
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        SetPixel(x1, y1, c);
        if (x1 == x2 && y1 == y2) break;
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
}

void TBitmap32::Draw(int dx, int dy, const TBitmap32& src, int sx, int sy, int w, int h) {
    // Clip the source rectangle to the source, then the target.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    w = std::min(w, src.width_ - sx);
    h = std::min(h, src.height_ - sy);
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min(w, width_ - dx);
    h = std::min(h, height_ - dy);
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y)
        std::memcpy(Row(dy + y) + dx, src.Row(sy + y) + sx, static_cast<size_t>(w) * sizeof(TColor32));
}

void TBitmap32::DrawBlended(int dx, int dy, const TBitmap32& src, uint8_t opacity) {
    if (opacity == 255) return Draw(dx, dy, src);
    const uint32_t a = opacity, na = 255 - opacity;
    for (int y = 0; y < src.height_; ++y) {
        int ty = dy + y;
        if (ty < 0 || ty >= height_) continue;
        for (int x = 0; x < src.width_; ++x) {
            int tx = dx + x;
            if (tx < 0 || tx >= width_) continue;
            TColor32 s = src.Pixel(x, y), d = Row(ty)[tx];
            auto mix = [&](int shift) {
                uint32_t cs = (s >> shift) & 0xFF, cd = (d >> shift) & 0xFF;
                return ((cs * a + cd * na + 127) / 255) << shift;
            };
            Row(ty)[tx] = (d & 0xFF000000u) | mix(16) | mix(8) | mix(0);
        }
    }
}

bool TBitmap32::LoadFromFile(const std::string& fileName) {
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(fileName.c_str(), &w, &h, &n, 4);
    if (!data) return false;
    SetSize(w, h);
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* p = data + 4 * i;
        pixels_[i] = (static_cast<TColor32>(p[3]) << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    }
    stbi_image_free(data);
    return true;
}

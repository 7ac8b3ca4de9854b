#pragma once
// Pixel canvases of 2-bit colour numbers, NES tile encoding, and the page builder that turns a
// set of 32x32 blocks into a pattern page, a TSA table, an attribute table and a solidity table.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

[[noreturn]] inline void fail(const std::string& msg) { throw std::runtime_error(msg); }

// Integer hash for deterministic textures; callers pass coordinates already reduced to the
// texture's period so that repeated tiles stay identical.
inline uint32_t hash3(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Small deterministic generator for layout decisions.
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }
};

struct Canvas {
    int w = 0, h = 0;
    std::vector<uint8_t> p;
    Canvas() = default;
    Canvas(int width, int height, uint8_t fill = 0) : w(width), h(height), p(static_cast<size_t>(width * height), fill) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    uint8_t get(int x, int y) const { return inside(x, y) ? p[static_cast<size_t>(y * w + x)] : 0; }
    void set(int x, int y, int c) {
        if (inside(x, y)) p[static_cast<size_t>(y * w + x)] = static_cast<uint8_t>(c & 3);
    }
    void rect(int x, int y, int rw, int rh, int c) {
        for (int j = y; j < y + rh; ++j)
            for (int i = x; i < x + rw; ++i) set(i, j, c);
    }
    void frame(int x, int y, int rw, int rh, int c) {
        hline(x, x + rw - 1, y, c);
        hline(x, x + rw - 1, y + rh - 1, c);
        vline(x, y, y + rh - 1, c);
        vline(x + rw - 1, y, y + rh - 1, c);
    }
    void hline(int x0, int x1, int y, int c) {
        for (int x = x0; x <= x1; ++x) set(x, y, c);
    }
    void vline(int x, int y0, int y1, int c) {
        for (int y = y0; y <= y1; ++y) set(x, y, c);
    }
    void line(int x0, int y0, int x1, int y1, int c) {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            set(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    void ellipse(double cx, double cy, double rx, double ry, int c) {
        for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y)
            for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
                double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
                if (u * u + v * v <= 1.0) set(x, y, c);
            }
    }
    void disc(double cx, double cy, double r, int c) { ellipse(cx, cy, r, r, c); }
    // Copies src onto this canvas; pixels equal to `skip` (when 0..3) are left out.
    void blit(const Canvas& src, int x, int y, int skip = -1) {
        for (int j = 0; j < src.h; ++j)
            for (int i = 0; i < src.w; ++i) {
                int c = src.get(i, j);
                if (c != skip) set(x + i, y + j, c);
            }
    }
    Canvas crop(int x, int y, int cw, int ch) const {
        Canvas out(cw, ch);
        for (int j = 0; j < ch; ++j)
            for (int i = 0; i < cw; ++i) out.set(i, j, get(x + i, y + j));
        return out;
    }
    Canvas flippedH() const {
        Canvas out(w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) out.set(w - 1 - i, j, get(i, j));
        return out;
    }
    Canvas flippedV() const {
        Canvas out(w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) out.set(i, h - 1 - j, get(i, j));
        return out;
    }
    // Draws colour c around every run of `shape` pixels (4-neighbours), on pixels not in the shape.
    void outline(const std::vector<bool>& shape, int c) {
        std::vector<std::pair<int, int>> marks;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (shape[static_cast<size_t>(y * w + x)]) continue;
                auto in = [&](int i, int j) { return i >= 0 && j >= 0 && i < w && j < h && shape[static_cast<size_t>(j * w + i)]; };
                if (in(x - 1, y) || in(x + 1, y) || in(x, y - 1) || in(x, y + 1)) marks.emplace_back(x, y);
            }
        for (auto [x, y] : marks) set(x, y, c);
    }
};

// Parses pixel art: one string per row, '.' or '0' = colour 0, '1'..'3' = colours 1..3.
inline Canvas art(const std::vector<std::string>& rows) {
    int w = 0;
    for (const auto& r : rows) w = std::max(w, static_cast<int>(r.size()));
    Canvas c(w, static_cast<int>(rows.size()));
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < static_cast<int>(rows[static_cast<size_t>(y)].size()); ++x) {
            char ch = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            if (ch >= '1' && ch <= '3') c.set(x, y, ch - '0');
        }
    return c;
}

using Tile = std::array<uint8_t, 16>;

// NES planar format: bytes 0-7 low plane, 8-15 high plane, leftmost pixel in bit 7.
inline Tile encodeTile(const Canvas& c, int x0, int y0) {
    Tile t{};
    for (int r = 0; r < 8; ++r)
        for (int x = 0; x < 8; ++x) {
            int v = c.get(x0 + x, y0 + r) & 3;
            if (v & 1) t[static_cast<size_t>(r)] |= static_cast<uint8_t>(0x80 >> x);
            if (v & 2) t[static_cast<size_t>(8 + r)] |= static_cast<uint8_t>(0x80 >> x);
        }
    return t;
}

// ---------------------------------------------------------------------------------------------
// A 5x7 font (digits, letters and a little punctuation), used for HUD tiles and the sign art.

inline const std::array<uint8_t, 7>* glyph5x7(char ch) {
    static const std::map<char, std::array<uint8_t, 7>> font = {
        {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
        {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
        {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
        {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
        {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
        {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
        {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
        {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
        {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
        {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
        {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
        {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
        {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
        {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
        {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
        {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
        {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
        {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    };
    auto it = font.find(ch);
    return it == font.end() ? nullptr : &it->second;
}

inline void drawText(Canvas& c, int x, int y, const std::string& text, int colour) {
    for (char ch : text) {
        if (const auto* g = glyph5x7(ch))
            for (int r = 0; r < 7; ++r)
                for (int i = 0; i < 5; ++i)
                    if ((*g)[static_cast<size_t>(r)] & (0x10 >> i)) c.set(x + i, y + r, colour);
        x += 6;
    }
}

// The HUD font every background page carries in its last tiles: colour 3 glyph, colour 1 shadow.
inline const std::string& hudFontChars() {
    static const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-!.:";
    return chars;
}

inline Tile hudGlyphTile(char ch) {
    Canvas c(8, 8);
    const auto* g = glyph5x7(ch);
    if (!g) fail(std::string("no glyph for ") + ch);
    for (int r = 0; r < 7; ++r)
        for (int i = 0; i < 5; ++i)
            if ((*g)[static_cast<size_t>(r)] & (0x10 >> i)) {
                c.set(1 + i + 1, r + 1, 1);
                c.set(1 + i, r, 3);
            }
    return encodeTile(c, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Blocks and themes.

// Tile type codes of the solidity tables (named in Data/tiletypes.dat).
enum TileType : uint8_t {
    TEmpty = 0x00,
    TSolid = 0x01,
    TLadder = 0x02,
    TWater = 0x03,
    TSpikes = 0x04,
    TPlatform = 0x05,
    TSeaweed = 0x06,
    TDoor = 0x07,
    TConveyorL = 0x08,
    TConveyorR = 0x09,
    TDeepWater = 0x0A,
    TBreakable = 0x0B,
};

using Quarters = std::array<uint8_t, 4>;  // sub-palette of top-left, top-right, bottom-left, bottom-right
using RowTypes = std::array<uint8_t, 4>;  // tile type of each of the four tile rows

inline Quarters allQ(uint8_t s) { return {s, s, s, s}; }
inline RowTypes allT(uint8_t t) { return {t, t, t, t}; }

struct Block {
    std::string name;
    Canvas px{32, 32};
    Quarters pal{};
    RowTypes types{};
};

struct Theme {
    std::string name;
    std::vector<Block> blocks;

    int add(const std::string& name, const Canvas& px, Quarters pal, RowTypes types) {
        if (px.w != 32 || px.h != 32) fail("block " + name + " is not 32x32");
        for (const auto& b : blocks)
            if (b.name == name) fail("duplicate block " + name);
        blocks.push_back(Block{name, px, pal, types});
        return static_cast<int>(blocks.size()) - 1;
    }
    // Slices a canvas that is a multiple of 32 in both directions into blocks name_c_r.
    void addSliced(const std::string& name, const Canvas& big, Quarters pal, RowTypes types) {
        for (int r = 0; r < big.h / 32; ++r)
            for (int c = 0; c < big.w / 32; ++c)
                add(name + "_" + std::to_string(c) + "_" + std::to_string(r), big.crop(32 * c, 32 * r, 32, 32), pal, types);
    }
    uint8_t id(const std::string& name) const {
        for (size_t i = 0; i < blocks.size(); ++i)
            if (blocks[i].name == name) return static_cast<uint8_t>(i);
        fail("theme " + this->name + " has no block " + name);
    }
    int count() const { return static_cast<int>(blocks.size()); }
};

struct BuiltPage {
    std::vector<uint8_t> chr;       // 4096 bytes
    std::vector<uint8_t> tsa;       // 16 bytes per block
    std::vector<uint8_t> attr;      // one byte per block
    std::vector<uint8_t> solidity;  // (up-to tile, type) pairs, last up to $FF
    int tileCount = 0;              // tiles used by the blocks
};

// Deduplicates the blocks' tiles and numbers them grouped by tile type, so that the solidity
// table is one short run of ranges. The HUD font sits in the last tiles as empty tiles.
inline BuiltPage buildPage(const Theme& theme) {
    struct Entry {
        Tile data;
        uint8_t type;
        int order;
    };
    std::vector<Entry> unique;
    std::vector<std::array<int, 16>> blockTiles;
    for (const Block& b : theme.blocks) {
        std::array<int, 16> ids{};
        for (int ty = 0; ty < 4; ++ty)
            for (int tx = 0; tx < 4; ++tx) {
                Tile t = encodeTile(b.px, tx * 8, ty * 8);
                uint8_t type = b.types[static_cast<size_t>(ty)];
                int found = -1;
                for (size_t i = 0; i < unique.size(); ++i)
                    if (unique[i].data == t && unique[i].type == type) { found = static_cast<int>(i); break; }
                if (found < 0) {
                    unique.push_back(Entry{t, type, static_cast<int>(unique.size())});
                    found = static_cast<int>(unique.size()) - 1;
                }
                ids[static_cast<size_t>(ty * 4 + tx)] = found;
            }
        blockTiles.push_back(ids);
    }
    std::vector<int> sorted(unique.size());
    for (size_t i = 0; i < sorted.size(); ++i) sorted[i] = static_cast<int>(i);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) { return unique[static_cast<size_t>(a)].type < unique[static_cast<size_t>(b)].type; });
    std::vector<int> number(unique.size());
    for (size_t n = 0; n < sorted.size(); ++n) number[static_cast<size_t>(sorted[n])] = static_cast<int>(n);

    const int fontFirst = 256 - static_cast<int>(hudFontChars().size());
    if (static_cast<int>(unique.size()) > fontFirst)
        fail("theme " + theme.name + " needs " + std::to_string(unique.size()) + " tiles, more than the page holds");

    BuiltPage out;
    out.tileCount = static_cast<int>(unique.size());
    out.chr.assign(4096, 0);
    for (size_t i = 0; i < unique.size(); ++i)
        std::copy(unique[i].data.begin(), unique[i].data.end(), out.chr.begin() + 16 * number[i]);
    for (size_t k = 0; k < hudFontChars().size(); ++k) {
        Tile t = hudGlyphTile(hudFontChars()[k]);
        std::copy(t.begin(), t.end(), out.chr.begin() + 16 * (fontFirst + static_cast<int>(k)));
    }
    for (size_t b = 0; b < theme.blocks.size(); ++b) {
        for (int k = 0; k < 16; ++k) out.tsa.push_back(static_cast<uint8_t>(number[static_cast<size_t>(blockTiles[b][static_cast<size_t>(k)])]));
        const Quarters& q = theme.blocks[b].pal;
        out.attr.push_back(static_cast<uint8_t>((q[0] & 3) | (q[1] & 3) << 2 | (q[2] & 3) << 4 | (q[3] & 3) << 6));
    }
    // One range per type group, then the rest of the page (unused tiles and the font) as empty.
    int n = 0;
    while (n < static_cast<int>(sorted.size())) {
        uint8_t type = unique[static_cast<size_t>(sorted[static_cast<size_t>(n)])].type;
        int last = n;
        while (last + 1 < static_cast<int>(sorted.size()) && unique[static_cast<size_t>(sorted[static_cast<size_t>(last + 1)])].type == type) ++last;
        out.solidity.push_back(static_cast<uint8_t>(last));
        out.solidity.push_back(type);
        n = last + 1;
    }
    if (out.solidity.empty() || out.solidity[out.solidity.size() - 2] != 0xFF) {
        out.solidity.push_back(0xFF);
        out.solidity.push_back(TEmpty);
    }
    return out;
}

// A stage room: 8 columns by 6 rows of block numbers; a world room is 8 by 8.
struct Room {
    int rows = 6;
    std::vector<uint8_t> b;
    explicit Room(int rowCount = 6, uint8_t fill = 0) : rows(rowCount), b(static_cast<size_t>(8 * rowCount), fill) {}
    void set(int c, int r, uint8_t v) {
        if (c >= 0 && c < 8 && r >= 0 && r < rows) b[static_cast<size_t>(r * 8 + c)] = v;
    }
    uint8_t get(int c, int r) const { return b[static_cast<size_t>(r * 8 + c)]; }
    void fill(int c0, int r0, int c1, int r1, uint8_t v) {
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) set(c, r, v);
    }
    void row(int r, uint8_t v) { fill(0, r, 7, r, v); }
};

// ---------------------------------------------------------------------------------------------
// Texture helpers shared by the themes. All of them repeat every 16 pixels so tiles repeat too.

// Running bond bricks 16x8; returns which part of the brick a pixel is.
enum class BrickPart { Face, Mortar, Shade, Light };
inline BrickPart brickAt(int x, int y) {
    int row = (y >> 3) & 1;
    int yy = y & 7;
    int xx = (x + row * 8) & 15;
    if (yy == 7 || xx == 15) return BrickPart::Mortar;
    if (yy == 6 || xx == 14) return BrickPart::Shade;
    if (yy == 0 || xx == 0) return BrickPart::Light;
    return BrickPart::Face;
}

inline void brickFill(Canvas& c, int x0, int y0, int w, int h, int face, int mortar, int shade, int light) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            switch (brickAt(x, y)) {
            case BrickPart::Face: c.set(x, y, face); break;
            case BrickPart::Mortar: c.set(x, y, mortar); break;
            case BrickPart::Shade: c.set(x, y, shade); break;
            case BrickPart::Light: c.set(x, y, light); break;
            }
        }
}

// Sparse specks: true for about `percent` percent of the pixels, repeating every 16 pixels.
inline bool speck(int x, int y, uint32_t seed, int percent) {
    return static_cast<int>(hash3(static_cast<uint32_t>(x & 15), static_cast<uint32_t>(y & 15), seed) % 100u) < percent;
}

// Rolling wave height (0..3) along x, period 16.
inline int waveAt(int x) {
    static const int w[16] = {2, 1, 1, 0, 0, 0, 1, 1, 2, 2, 3, 3, 3, 3, 2, 2};
    return w[x & 15];
}

}  // namespace demo

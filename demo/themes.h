#pragma once
// The background block sets. Each theme is drawn with colour numbers whose meaning is fixed per
// sub-palette (see the palette table in make_demo.cpp), so one set can be recoloured by another
// palette, the way the game reuses its graphics by day and by night.

#include "art.h"

namespace demo {

// ---- pieces several themes share -------------------------------------------------------------

// Ladder on a plain background: two rails and a rung every 8 pixels.
inline Canvas ladderArt(int bg, int rail, int light) {
    Canvas c(32, 32, bg);
    for (int y = 0; y < 32; ++y) {
        c.set(5, y, 0);
        c.set(6, y, light);
        c.set(7, y, rail);
        c.set(8, y, 0);
        c.set(23, y, 0);
        c.set(24, y, light);
        c.set(25, y, rail);
        c.set(26, y, 0);
        int yy = y & 7;
        if (yy == 2) c.hline(9, 22, y, light);
        if (yy == 3) c.hline(9, 22, y, rail);
        if (yy == 4) c.hline(9, 22, y, 0);
    }
    return c;
}

// Water surface: background above, a rolling crest, water with short glints below.
inline Canvas waterTopArt(int bg, int foam, int water, int glint, int surface) {
    Canvas c(32, 32, bg);
    for (int x = 0; x < 32; ++x) {
        int top = surface + waveAt(x);
        c.set(x, top, foam);
        c.set(x, top + 1, (x & 3) ? foam : water);
        for (int y = top + 2; y < 32; ++y) c.set(x, y, water);
    }
    for (int y = surface + 6; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((y & 7) == 5 && ((x + (y >> 3) * 5) & 15) < 4) c.set(x, y, glint);
    return c;
}

inline Canvas waterArt(int water, int glint, int deep) {
    Canvas c(32, 32, water);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if ((y & 7) == 5 && ((x + (y >> 3) * 5) & 15) < 4) c.set(x, y, glint);
            if (deep >= 0 && (y & 7) == 1 && ((x + 9 + (y >> 3) * 3) & 15) < 3) c.set(x, y, deep);
        }
    return c;
}

// Steel truss girder across the top half of a block.
inline Canvas girderArt(int bg, int face, int light) {
    Canvas c(32, 32, bg);
    c.hline(0, 31, 0, 0);
    c.hline(0, 31, 1, light);
    c.rect(0, 2, 32, 2, face);
    c.hline(0, 31, 4, 0);
    for (int y = 5; y <= 9; ++y) {
        int v = y - 5;
        for (int x = 0; x < 32; ++x) {
            int xx = x & 15;
            bool strut = (xx >= v * 2 && xx <= v * 2 + 2) || (xx >= 13 - v * 2 && xx <= 15 - v * 2);
            if (strut) c.set(x, y, face);
        }
    }
    c.hline(0, 31, 10, 0);
    c.rect(0, 11, 32, 2, face);
    c.hline(0, 31, 13, 0);
    return c;
}

// A window in a 16x16 quarter at (qx, qy): frame colour, glass colour, cross bars in black.
inline void windowArt(Canvas& c, int qx, int qy, int frame, int glass, bool bars, int sill) {
    c.rect(qx + 3, qy + 2, 10, 12, frame);
    c.rect(qx + 4, qy + 3, 8, 10, glass);
    if (bars) {
        c.vline(qx + 7, qy + 3, qy + 12, 0);
        c.hline(qx + 4, qx + 11, qy + 7, 0);
    }
    if (sill >= 0) {
        c.hline(qx + 2, qx + 13, qy + 14, sill);
        c.hline(qx + 2, qx + 13, qy + 15, 0);
    }
}

// A cloud mask made of discs and a flat base, white with a black edge.
inline void cloudArt(Canvas& c, const std::vector<std::array<double, 3>>& discs, int x0, int x1, int y0, int y1, int white) {
    std::vector<bool> shape(static_cast<size_t>(c.w * c.h), false);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            bool in = x >= x0 && x <= x1 && y >= y0 && y <= y1;
            for (const auto& d : discs) {
                double dx = x + 0.5 - d[0], dy = y + 0.5 - d[1];
                if (dx * dx + dy * dy <= d[2] * d[2]) in = true;
            }
            shape[static_cast<size_t>(y * c.w + x)] = in;
        }
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if (shape[static_cast<size_t>(y * c.w + x)]) c.set(x, y, white);
    c.outline(shape, 0);
}

inline Canvas spikesArt(int bg, int light, int mid) {
    Canvas c(32, 32, bg);
    for (int s = 0; s < 4; ++s) {
        int x0 = s * 8;
        for (int y = 10; y < 26; ++y) {
            int half = (y - 10) * 4 / 16;  // 0..3
            for (int x = x0 + 3 - half; x <= x0 + 4 + half; ++x) c.set(x, y, x < x0 + 4 ? light : mid);
            c.set(x0 + 3 - half - 1, y, 0);
            c.set(x0 + 4 + half + 1, y, 0);
        }
    }
    c.rect(0, 26, 32, 6, mid);
    c.hline(0, 31, 26, light);
    c.hline(0, 31, 31, 0);
    for (int x = 0; x < 32; x += 8) c.vline(x, 27, 30, 0);
    return c;
}

// ---- city street by day ----------------------------------------------------------------------
// SP0: 1 sky, 2 white, 3 water.  SP1: 1 sky, 2 brick red, 3 tan.
// SP2: 1 sky, 2 green, 3 earth.   SP3: 1 sky, 2 grey, 3 yellow.

inline Theme makeCity() {
    Theme t{"city", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty), S = allT(TSolid);

    t.add("sky", Canvas(32, 32, 1), P0, E);
    {
        Canvas c(64, 32, 1);
        cloudArt(c, {{{14, 21, 8}}, {{26, 14, 10}}, {{40, 13, 10}}, {{52, 20, 8}}}, 10, 55, 19, 27, 2);
        t.addSliced("cloud", c, P0, E);
    }
    {
        Canvas c(32, 32, 1);
        cloudArt(c, {{{10, 19, 6}}, {{18, 14, 8}}, {{25, 20, 5}}}, 8, 27, 18, 24, 2);
        t.add("cloud_small", c, P0, E);
    }
    {
        Canvas c(32, 32, 1);
        for (int x = 0; x < 32; ++x) {
            int blade = static_cast<int>(hash3(static_cast<uint32_t>(x & 15), 0, 7) % 4u);
            int top = 6 - ((x & 1) ? blade : blade / 2);
            int bottom = 12 + static_cast<int>(hash3(static_cast<uint32_t>(x & 15), 1, 7) % 4u);
            for (int y = top; y < bottom; ++y) c.set(x, y, 2);
            for (int y = bottom; y < 32; ++y) c.set(x, y, speck(x, y, 11, 7) ? 0 : 3);
            c.set(x, bottom, 0);
        }
        t.add("grass_top", c, P2, S);
    }
    {
        Canvas c(32, 32, 3);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 11, 7)) c.set(x, y, 0);
        t.add("dirt", c, P2, S);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 3, 0, 2);
        t.add("brick", c, P1, S);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 3, 0, 2);
        c.rect(0, 0, 32, 5, 3);
        c.hline(0, 31, 5, 0);
        for (int x = 7; x < 32; x += 16) c.vline(x, 0, 4, 0);
        t.add("brick_top", c, P1, S);
    }
    // Brick facades behind the street: black mortar sets them apart from solid walls.
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 0, 2, 2);
        t.add("bg_brick", c, P1, E);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 0, 2, 2);
        for (int q = 0; q < 4; ++q) windowArt(c, (q & 1) * 16, (q >> 1) * 16, 3, 1, true, 3);
        t.add("bg_brick_win", c, P1, E);
    }
    {
        Canvas c(32, 32, 1);
        brickFill(c, 0, 14, 32, 18, 2, 0, 2, 2);
        c.rect(0, 9, 32, 4, 3);
        c.hline(0, 31, 8, 0);
        c.hline(0, 31, 13, 0);
        for (int x = 2; x < 32; x += 6) c.set(x, 11, 0);
        windowArt(c, 0, 16, 3, 1, true, 3);
        windowArt(c, 16, 16, 3, 1, true, 3);
        t.add("bg_brick_top", c, P1, E);
    }
    // Grey office block: lit and dark windows.
    auto greyWall = [](Canvas& c, int y0) {
        c.rect(0, y0, 32, 32 - y0, 2);
        for (int y = y0; y < 32; ++y) {
            c.set(0, y, 0);
            c.set(16, y, (y & 1) ? 0 : 2);
        }
    };
    auto greyWindow = [](Canvas& c, int qx, int qy, bool lit) {
        c.rect(qx + 3, qy + 2, 10, 12, 0);
        if (lit) {
            c.rect(qx + 4, qy + 3, 8, 10, 3);
            c.vline(qx + 7, qy + 3, qy + 12, 0);
            c.hline(qx + 4, qx + 11, qy + 7, 0);
        } else {
            for (int k = 0; k < 4; ++k) c.set(qx + 9 - k, qy + 4 + k, 1);
            for (int k = 0; k < 3; ++k) c.set(qx + 10 - k, qy + 8 + k, 1);
        }
    };
    {
        Canvas c(32, 32, 1);
        greyWall(c, 8);
        c.rect(0, 8, 32, 3, 3);
        c.hline(0, 31, 7, 0);
        c.hline(0, 31, 11, 0);
        greyWindow(c, 0, 16, true);
        greyWindow(c, 16, 16, false);
        t.add("grey_top", c, P3, E);
    }
    {
        Canvas c(32, 32);
        greyWall(c, 0);
        greyWindow(c, 0, 0, true);
        greyWindow(c, 16, 0, false);
        greyWindow(c, 0, 16, false);
        greyWindow(c, 16, 16, true);
        t.add("grey_win", c, P3, E);
    }
    {
        Canvas c(32, 32);
        greyWall(c, 0);
        greyWindow(c, 0, 0, false);
        greyWindow(c, 16, 0, false);
        greyWindow(c, 0, 16, true);
        greyWindow(c, 16, 16, false);
        t.add("grey_win2", c, P3, E);
    }
    {
        Canvas c(32, 32);
        greyWall(c, 0);
        c.rect(7, 4, 18, 28, 0);
        c.rect(9, 6, 14, 8, 3);
        c.vline(15, 6, 13, 0);
        c.vline(16, 6, 13, 0);
        c.rect(9, 15, 6, 17, 2);
        c.rect(17, 15, 6, 17, 2);
        c.set(13, 24, 3);
        c.set(18, 24, 3);
        t.add("grey_door", c, P3, {TEmpty, TDoor, TDoor, TDoor});
    }
    t.add("ladder", ladderArt(1, 2, 3), P3, allT(TLadder));
    t.add("water_top", waterTopArt(1, 2, 3, 2, 9), P0, {TEmpty, TWater, TWater, TWater});
    t.add("water", waterArt(3, 2, -1), P0, allT(TWater));
    {
        // Sidewalk slabs above a painted kerb.
        Canvas c(32, 32, 2);
        c.hline(0, 31, 0, 3);
        for (int x = 0; x < 32; x += 16) c.vline(x, 1, 9, 0);
        c.hline(0, 31, 10, 0);
        for (int y = 11; y < 25; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 21, 5)) c.set(x, y, 0);
        c.rect(0, 25, 32, 3, 3);
        c.rect(0, 28, 32, 4, 0);
        t.add("sidewalk", c, P3, S);
    }
    {
        Canvas c(32, 32, 2);
        c.hline(0, 31, 0, 3);
        for (int x = 0; x < 32; x += 16) c.vline(x, 1, 9, 0);
        c.ellipse(16, 5, 12, 3.5, 0);
        c.ellipse(16, 5, 10, 2.2, 2);
        c.hline(8, 24, 5, 0);
        c.hline(0, 31, 10, 0);
        for (int y = 11; y < 25; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 21, 5)) c.set(x, y, 0);
        c.rect(0, 25, 32, 3, 3);
        c.rect(0, 28, 32, 4, 0);
        t.add("manhole", c, P3, S);
    }
    {
        Canvas c(32, 32, 2);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 33, 9)) c.set(x, y, 0);
        c.rect(2, 14, 16, 3, 3);
        t.add("road", c, P3, S);
    }
    {
        Canvas c(32, 32, 1);
        c.rect(14, 10, 4, 22, 2);
        c.vline(14, 10, 31, 0);
        c.vline(17, 10, 31, 0);
        c.rect(6, 5, 12, 2, 2);
        c.hline(6, 17, 4, 0);
        c.hline(6, 13, 7, 0);
        c.rect(3, 8, 9, 5, 3);
        c.frame(2, 7, 11, 7, 0);
        c.hline(4, 10, 13, 3);
        t.add("lamp_head", c, P3, E);
    }
    {
        Canvas c(32, 32, 1);
        c.rect(14, 0, 4, 32, 2);
        c.vline(14, 0, 31, 0);
        c.vline(17, 0, 31, 0);
        c.rect(11, 25, 10, 7, 2);
        c.frame(10, 24, 12, 8, 0);
        t.add("lamp_pole", c, P3, E);
    }
    t.add("girder", girderArt(1, 2, 3), P1, {TPlatform, TPlatform, TEmpty, TEmpty});
    {
        Canvas c(32, 32, 1);
        for (int y = 5; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (((x + y) & 7) == 0 || ((x - y + 64) & 7) == 0) c.set(x, y, 2);
        c.hline(0, 31, 2, 0);
        c.hline(0, 31, 3, 2);
        c.hline(0, 31, 4, 0);
        for (int y = 2; y < 32; ++y) {
            c.set(0, y, 0);
            c.set(1, y, 2);
            c.set(2, y, 0);
        }
        t.add("fence", c, P3, E);
    }
    {
        // Tree two blocks tall: leafy crown, trunk standing on the ground below.
        Canvas c(32, 64, 1);
        std::vector<bool> crown(static_cast<size_t>(32 * 64), false);
        const double discs[][3] = {{16, 16, 12}, {8, 25, 8}, {24, 25, 8}, {16, 30, 9}};
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 32; ++x)
                for (const auto& d : discs) {
                    double dx = x + 0.5 - d[0], dy = y + 0.5 - d[1];
                    if (dx * dx + dy * dy <= d[2] * d[2]) crown[static_cast<size_t>(y * 32 + x)] = true;
                }
        c.rect(13, 32, 6, 32, 3);
        c.vline(12, 32, 63, 0);
        c.vline(19, 32, 63, 0);
        c.vline(15, 40, 50, 0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 32; ++x)
                if (crown[static_cast<size_t>(y * 32 + x)]) c.set(x, y, hash3(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 5) % 9u == 0 ? 0 : 2);
        c.outline(crown, 0);
        t.addSliced("tree", c, P2, E);
    }
    {
        Canvas c(32, 32, 1);
        c.rect(11, 14, 10, 18, 3);
        c.frame(10, 13, 12, 19, 0);
        c.ellipse(16, 13, 5, 4, 3);
        c.rect(12, 9, 8, 2, 0);
        c.rect(6, 19, 20, 4, 3);
        c.frame(5, 18, 22, 6, 0);
        c.vline(14, 25, 30, 0);
        t.add("hydrant", c, P3, {TEmpty, TSolid, TSolid, TSolid});
    }
    {
        Canvas c(32, 32, 2);
        c.frame(0, 0, 32, 32, 0);
        c.frame(1, 1, 30, 30, 3);
        c.frame(2, 2, 28, 28, 3);
        c.frame(3, 3, 26, 26, 0);
        for (int y = 4; y < 28; ++y) {
            if ((y & 7) == 3) c.hline(4, 27, y, 0);
        }
        c.line(4, 4, 27, 27, 3);
        c.line(5, 4, 27, 26, 3);
        c.line(27, 4, 4, 27, 3);
        c.line(26, 4, 4, 26, 3);
        t.add("crate", c, P1, S);
    }
    return t;
}

// ---- sewers ----------------------------------------------------------------------------------
// Colour 1 is the same dark olive in every sub-palette, so the faint brickwork behind the
// gallery can show through next to pipes, ladders and water.
// SP0 water: 1 murk, 2 water, 3 foam.  SP1 bricks: 1 mortar, 2 face, 3 light.
// SP2 pipes: 1 mortar, 2 mid, 3 light.  SP3 metal: 1 mortar, 2 mid, 3 light.

inline Canvas sewerBack() {
    Canvas c(32, 32);
    brickFill(c, 0, 0, 32, 32, 0, 1, 0, 0);
    return c;
}

// Puts `obj` in front of the brickwork: pixels of obj equal to `see` show the wall instead.
inline Canvas overBack(const Canvas& obj, int see) {
    Canvas back = sewerBack();
    Canvas c = obj;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (obj.get(x, y) == see) c.set(x, y, back.get(x, y));
    return c;
}

inline Theme makeSewer() {
    Theme t{"sewer", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty), S = allT(TSolid);

    t.add("bg_wall", sewerBack(), P1, E);
    t.add("dark", Canvas(32, 32, 0), P1, E);
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 0, 1, 3);
        t.add("brick", c, P1, S);
    }
    {
        // Slimy ledge on top of the brickwork.
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 0, 1, 3);
        c.rect(0, 0, 32, 4, 3);
        for (int x = 0; x < 32; ++x) {
            int drip = static_cast<int>(hash3(static_cast<uint32_t>(x & 15), 2, 9) % 5u);
            for (int y = 4; y < 4 + drip; ++y) c.set(x, y, 3);
        }
        c.hline(0, 31, 0, 1);
        t.add("brick_top", c, P1, S);
    }
    {
        Canvas c(32, 32, 2);
        c.hline(0, 31, 0, 3);
        c.rect(0, 1, 32, 3, 2);
        c.hline(0, 31, 4, 0);
        for (int y = 5; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 41, 10)) c.set(x, y, 1);
        for (int x = 0; x < 32; x += 16) c.vline(x, 0, 31, 0);
        c.hline(0, 31, 18, 1);
        t.add("floor", c, P3, S);
    }
    t.add("water_top", overBack(waterTopArt(1, 3, 2, 3, 10), 1), P0, {TEmpty, TWater, TWater, TWater});
    t.add("water", waterArt(2, 3, 1), P0, allT(TWater));
    // Pipes: outline black, light top, body, and a dithered shadow underneath.
    auto pipeBand = [](Canvas& c, int x0, int x1) {
        c.hline(x0, x1, 3, 0);
        c.rect(x0, 4, x1 - x0 + 1, 4, 3);
        c.rect(x0, 8, x1 - x0 + 1, 14, 2);
        for (int y = 22; y < 27; ++y)
            for (int x = x0; x <= x1; ++x) c.set(x, y, ((x + y) & 1) || y >= 25 ? 0 : 2);
        c.hline(x0, x1, 27, 0);
        for (int x = x0; x <= x1; ++x)
            if (speck(x, 14, 51, 12)) c.set(x, 14, 3);
    };
    {
        Canvas c(32, 32, 1);
        pipeBand(c, 0, 31);
        t.add("pipe_h", overBack(c, 1), P2, S);
    }
    {
        Canvas c(32, 32, 1);
        pipeBand(c, 0, 31);
        c.rect(11, 1, 10, 29, 2);
        c.frame(10, 0, 12, 31, 0);
        c.vline(11, 1, 29, 3);
        c.vline(12, 1, 29, 3);
        c.set(14, 4, 0);
        c.set(17, 4, 0);
        c.set(14, 25, 0);
        c.set(17, 25, 0);
        t.add("pipe_joint", overBack(c, 1), P2, S);
    }
    {
        Canvas c(32, 32, 1);
        Canvas h(32, 32, 1);
        pipeBand(h, 0, 31);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) c.set(x, y, h.get(y, x));
        t.add("pipe_v", overBack(c, 1), P2, E);
    }
    {
        // Pipe ending in a mouth that spills water.
        Canvas c(32, 32, 1);
        pipeBand(c, 0, 19);
        c.rect(19, 0, 7, 31, 2);
        c.frame(18, 0, 9, 31, 0);
        c.vline(19, 1, 29, 3);
        c.ellipse(25, 15, 3, 9, 0);
        c.rect(27, 11, 5, 3, 3);
        c.rect(27, 14, 5, 18, 2);
        for (int y = 14; y < 32; ++y) c.set(28 + (y & 1) + ((y >> 2) & 1), y, 3);
        t.add("pipe_mouth", overBack(c, 1), P2, S);
    }
    {
        // The spill falling on: a strip under the mouth's right edge.
        Canvas c(32, 32, 1);
        for (int y = 0; y < 32; ++y)
            for (int x = 27; x < 32; ++x) c.set(x, y, 2);
        for (int y = 0; y < 32; ++y) c.set(28 + (y & 1) + ((y >> 2) & 1), y, 3);
        t.add("waterfall", overBack(c, 1), P2, E);
    }
    t.add("ladder", overBack(ladderArt(1, 2, 3), 1), P3, allT(TLadder));
    {
        Canvas c(32, 32, 1);
        c.hline(0, 31, 0, 3);
        for (int y = 1; y < 7; ++y)
            for (int x = 0; x < 32; ++x) c.set(x, y, (x & 3) == 3 ? 0 : ((x & 3) == 0 ? 3 : 2));
        c.hline(0, 31, 7, 0);
        t.add("grate", overBack(c, 1), P3, {TPlatform, TEmpty, TEmpty, TEmpty});
    }
    t.add("spikes", overBack(spikesArt(1, 3, 2), 1), P3, {TEmpty, TSpikes, TSpikes, TSolid});
    {
        // Round drain in the wall, barred.
        Canvas c = sewerBack();
        c.disc(16, 16, 12, 2);
        c.disc(16, 16, 10, 0);
        for (int x = 9; x < 24; x += 4) c.vline(x, 7, 25, 3);
        c.hline(6, 26, 16, 2);
        t.add("drain", c, P3, E);
    }
    return t;
}

// ---- river and dam ---------------------------------------------------------------------------
// Shared by the riverbank (sky behind) and the flooded dam (deep water behind).
// SP0: 1 open, 2 light, 3 water.  SP1 concrete: 1 open, 2 dark, 3 light.
// SP2 plants: 1 open, 2 bright, 3 dark.  SP3 earth and rust: 1 open, 2 dark, 3 light.

inline Theme makeDam() {
    Theme t{"dam", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty), S = allT(TSolid);

    t.add("open", Canvas(32, 32, 1), P0, E);
    {
        Canvas c(64, 32, 1);
        cloudArt(c, {{{12, 20, 7}}, {{24, 13, 9}}, {{37, 15, 9}}, {{50, 21, 7}}}, 10, 54, 19, 26, 2);
        t.addSliced("cloud", c, P0, E);
    }
    // The river lies a little below the bank, so a jetty can stand over its surface.
    t.add("water_top", waterTopArt(1, 2, 3, 2, 17), P0, {TEmpty, TEmpty, TWater, TWater});
    t.add("water", waterArt(3, 2, -1), P0, allT(TWater));
    for (int v = 0; v < 2; ++v) {
        Canvas c(32, 32, 1);
        const int pos[2][4][3] = {{{8, 22, 4}, {20, 10, 3}, {25, 26, 2}, {12, 6, 2}}, {{22, 20, 4}, {9, 12, 3}, {6, 27, 2}, {26, 5, 2}}};
        for (const auto& b : pos[v]) {
            c.disc(b[0], b[1], b[2], 2);
            c.disc(b[0], b[1], b[2] - 1, 1);
            c.set(b[0] - 1, b[1] - 1, 2);
        }
        t.add(v ? "bubbles2" : "bubbles", c, P0, E);
    }
    auto slabs = [](Canvas& c, int y0) {
        for (int y = y0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int xx = x & 15, yy = y & 15;
                int v = 2;
                if (xx == 15 || yy == 15) v = 0;
                else if (xx == 0 || yy == 0) v = 3;
                else if (speck(x, y, 61, 6)) v = 3;
                c.set(x, y, v);
            }
    };
    {
        Canvas c(32, 32);
        slabs(c, 0);
        t.add("concrete", c, P1, S);
    }
    {
        Canvas c(32, 32);
        slabs(c, 0);
        c.rect(0, 0, 32, 4, 3);
        c.hline(0, 31, 4, 0);
        for (int x = 3; x < 32; x += 8) c.set(x, 2, 0);
        t.add("concrete_top", c, P1, S);
    }
    {
        Canvas c(32, 32);
        slabs(c, 0);
        c.disc(16, 16, 13, 0);
        c.disc(16, 16, 11, 3);
        c.disc(16, 16, 9, 0);
        for (int x = 10; x < 23; x += 4) c.vline(x, 8, 24, 2);
        t.add("outlet", c, P1, S);
    }
    {
        Canvas c(32, 32, 1);
        c.rect(0, 0, 32, 3, 3);
        c.hline(0, 31, 3, 0);
        c.rect(0, 28, 32, 3, 2);
        c.hline(0, 31, 31, 0);
        for (int x = 2; x < 32; x += 8) {
            c.vline(x, 4, 27, 0);
            c.vline(x + 1, 4, 27, 3);
            c.vline(x + 2, 4, 27, 2);
            c.vline(x + 3, 4, 27, 0);
        }
        t.add("grate", c, P1, E);
    }
    t.add("ladder", ladderArt(1, 2, 3), P1, allT(TLadder));
    {
        Canvas c(32, 32, 2);
        for (int x = 0; x < 32; ++x) {
            int top = 5 + (waveAt(x * 2) >> 1);
            for (int y = 0; y < top; ++y) c.set(x, y, 1);
            c.set(x, top, 3);
            c.set(x, top + 1, 3);
        }
        for (int y = 8; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 71, 8)) c.set(x, y, 3);
                else if (speck(x, y, 72, 4)) c.set(x, y, 0);
        t.add("sand_top", c, P3, S);
    }
    {
        Canvas c(32, 32, 2);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 71, 8)) c.set(x, y, 3);
                else if (speck(x, y, 72, 4)) c.set(x, y, 0);
        t.add("sand", c, P3, S);
    }
    {
        Canvas c(32, 32, 1);
        c.ellipse(16, 19, 15, 13, 0);
        c.ellipse(16, 19, 14, 12, 2);
        c.ellipse(12, 14, 6, 4, 3);
        c.line(18, 10, 24, 22, 0);
        t.add("rock", c, P3, {TEmpty, TSolid, TSolid, TSolid});
    }
    // Electric seaweed: wavy strands, with a tip block for the tops.
    auto weed = [](Canvas& c, bool tips) {
        const int base[3] = {5, 15, 25};
        const int tipY[3] = {6, 2, 9};
        for (int s = 0; s < 3; ++s)
            for (int y = 0; y < 32; ++y) {
                if (tips && y < tipY[s]) continue;
                int x = base[s] + waveAt(y + s * 5) - 1;
                c.set(x - 1, y, 0);
                c.set(x, y, 2);
                c.set(x + 1, y, 2);
                c.set(x + 2, y, 3);
                c.set(x + 3, y, 0);
                if ((y + s * 3) % 9 == 0) {
                    c.set(x + 3, y, 2);
                    c.set(x + 4, y - 1, 2);
                }
            }
    };
    {
        Canvas c(32, 32, 1);
        weed(c, true);
        t.add("weed_top", c, P2, allT(TSeaweed));
    }
    {
        Canvas c(32, 32, 1);
        weed(c, false);
        t.add("weed", c, P2, allT(TSeaweed));
    }
    {
        Canvas c(32, 32, 1);
        weed(c, true);
        t.add("weed_hang", c.flippedV(), P2, allT(TSeaweed));
    }
    {
        // Grass bank: green in the top quarters, earth in the bottom ones.
        Canvas c(32, 32, 1);
        for (int x = 0; x < 32; ++x) {
            int blade = static_cast<int>(hash3(static_cast<uint32_t>(x & 15), 0, 17) % 4u);
            int top = 5 - ((x & 1) ? blade : blade / 2);
            for (int y = top; y < 16; ++y) c.set(x, y, y < 8 ? 2 : ((y + x) % 5 == 0 ? 2 : 3));
            c.set(x, 15, 0);
        }
        for (int y = 16; y < 32; ++y)
            for (int x = 0; x < 32; ++x) c.set(x, y, speck(x, y, 81, 9) ? 3 : (speck(x, y, 82, 4) ? 0 : 2));
        t.add("grass_top", c, {2, 2, 3, 3}, S);
    }
    {
        Canvas c(32, 32, 2);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) c.set(x, y, speck(x, y, 81, 9) ? 3 : (speck(x, y, 82, 4) ? 0 : 2));
        t.add("dirt", c, P3, S);
    }
    {
        // Jetty over the water: planks on top, posts standing in the river below.
        Canvas c(32, 32, 1);
        c.hline(0, 31, 0, 3);
        c.rect(0, 1, 32, 6, 2);
        for (int x = 0; x < 32; x += 8) {
            c.vline(x, 1, 6, 0);
            c.set(x + 2, 3, 0);
        }
        c.hline(0, 31, 7, 0);
        for (int y = 8; y < 16; ++y) {
            c.rect(4, y, 5, 1, 2);
            c.rect(21, y, 5, 1, 2);
            c.set(3, y, 0);
            c.set(9, y, 0);
            c.set(20, y, 0);
            c.set(26, y, 0);
        }
        Canvas w = waterTopArt(1, 2, 3, 2, 17);
        for (int y = 16; y < 32; ++y)
            for (int x = 0; x < 32; ++x) c.set(x, y, w.get(x, y));
        for (int y = 16; y < 32; ++y) {
            c.hline(3, 9, y, 0);
            c.hline(20, 26, y, 0);
        }
        t.add("jetty", c, {3, 3, 0, 0}, {TPlatform, TEmpty, TWater, TWater});
    }
    {
        Canvas c(32, 32, 1);
        c.rect(0, 0, 32, 8, 3);
        c.frame(0, 0, 32, 8, 0);
        c.rect(2, 8, 4, 24, 2);
        c.rect(26, 8, 4, 24, 2);
        c.vline(1, 8, 31, 0);
        c.vline(6, 8, 31, 0);
        c.vline(25, 8, 31, 0);
        c.vline(30, 8, 31, 0);
        c.line(6, 10, 25, 29, 2);
        c.line(25, 10, 6, 29, 2);
        t.add("scaffold", c, P3, {TPlatform, TEmpty, TEmpty, TEmpty});
    }
    {
        // Warning board on the dam wall.
        Canvas c(32, 32);
        slabs(c, 0);
        c.rect(3, 6, 26, 15, 3);
        c.frame(3, 6, 26, 15, 0);
        drawText(c, 7, 10, "DAM", 0);
        c.rect(8, 21, 2, 8, 0);
        c.rect(22, 21, 2, 8, 0);
        t.add("sign", c, P1, S);
    }
    return t;
}

// ---- rooftops by night -----------------------------------------------------------------------
// Background black. SP0 sky: 1 far skyline, 2 stars, 3 moon and far windows.
// SP1 brick: 1 dark, 2 mid, 3 light.  SP2 concrete: 1 grey, 2 light, 3 lit window.
// SP3 metal: 1 dark, 2 mid, 3 light.

inline Theme makeRooftop() {
    Theme t{"rooftop", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty), S = allT(TSolid);

    t.add("night", Canvas(32, 32, 0), P0, E);
    for (int v = 0; v < 2; ++v) {
        Canvas c(32, 32);
        for (int k = 0; k < 4; ++k) {
            int x = static_cast<int>(hash3(static_cast<uint32_t>(k), static_cast<uint32_t>(v), 91) % 30u) + 1;
            int y = static_cast<int>(hash3(static_cast<uint32_t>(k), static_cast<uint32_t>(v), 92) % 30u) + 1;
            c.set(x, y, 2);
            if (k == v) {
                c.set(x - 1, y, 3);
                c.set(x + 1, y, 3);
                c.set(x, y - 1, 3);
                c.set(x, y + 1, 3);
            }
        }
        t.add(v ? "stars2" : "stars", c, P0, E);
    }
    {
        Canvas c(32, 32);
        c.disc(16, 16, 12, 3);
        c.disc(20, 13, 10, 0);
        c.disc(10, 19, 2, 1);
        c.disc(14, 24, 1.5, 1);
        t.add("moon", c, P0, E);
    }
    auto skyline = [](Canvas& c, bool top) {
        for (int x = 0; x < 32; ++x) {
            int col = x / 6;
            int h = top ? 6 + static_cast<int>(hash3(static_cast<uint32_t>(col), 0, 93) % 20u) : 0;
            for (int y = h; y < 32; ++y) c.set(x, y, 1);
        }
        for (int y = 0; y < 32; y += 4)
            for (int x = 1; x < 32; x += 3)
                if (c.get(x, y) == 1 && c.get(x, y - 2) == 1 && hash3(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 94) % 4u == 0) c.set(x, y, 3);
    };
    {
        Canvas c(32, 32);
        skyline(c, true);
        t.add("skyline_top", c, P0, E);
    }
    {
        Canvas c(32, 32);
        skyline(c, false);
        t.add("skyline", c, P0, E);
    }
    auto concrete = [](Canvas& c, int y0) {
        c.rect(0, y0, 32, 32 - y0, 1);
        for (int y = y0; y < 32; ++y)
            if ((y & 15) == 15) c.hline(0, 31, y, 0);
    };
    auto window = [](Canvas& c, int qx, int qy, bool lit) {
        c.rect(qx + 3, qy + 2, 10, 11, 2);
        c.rect(qx + 4, qy + 3, 8, 9, lit ? 3 : 0);
        c.vline(qx + 7, qy + 3, qy + 11, 2);
    };
    {
        Canvas c(32, 32);
        concrete(c, 4);
        c.rect(0, 0, 32, 4, 2);
        c.hline(0, 31, 4, 0);
        window(c, 0, 16, true);
        window(c, 16, 16, false);
        t.add("roof_edge", c, P2, S);
    }
    {
        Canvas c(32, 32);
        concrete(c, 0);
        window(c, 0, 0, false);
        window(c, 16, 0, true);
        window(c, 0, 16, true);
        window(c, 16, 16, true);
        t.add("wall_win", c, P2, S);
    }
    {
        Canvas c(32, 32);
        concrete(c, 0);
        window(c, 0, 0, true);
        window(c, 16, 0, false);
        window(c, 0, 16, false);
        window(c, 16, 16, false);
        t.add("wall_win2", c, P2, S);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 1, 1, 3);
        c.rect(0, 0, 32, 4, 3);
        c.hline(0, 31, 4, 0);
        t.add("brick_edge", c, P1, S);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 1, 1, 3);
        t.add("brick_wall", c, P1, S);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 1, 1, 3);
        for (int q = 0; q < 4; ++q) windowArt(c, (q & 1) * 16, (q >> 1) * 16, 1, 0, false, 3);
        t.add("brick_win", c, P1, S);
    }
    {
        // Water tank on stilts, two blocks by two.
        Canvas c(64, 64);
        for (int y = 6; y < 20; ++y) {
            int half = (y - 6) * 22 / 14 + 2;
            c.hline(32 - half, 31 + half, y, y < 10 ? 3 : 2);
            c.set(32 - half - 1, y, 0);
            c.set(31 + half + 1, y, 0);
        }
        c.rect(9, 20, 46, 24, 2);
        c.frame(8, 19, 48, 26, 0);
        for (int x = 12; x < 54; x += 6) c.vline(x, 20, 43, 1);
        c.hline(9, 54, 26, 0);
        c.hline(9, 54, 37, 0);
        c.rect(10, 21, 3, 22, 3);
        for (int leg : {12, 30, 50}) {
            c.rect(leg, 45, 3, 19, 1);
            c.vline(leg - 1, 45, 63, 0);
            c.vline(leg + 3, 45, 63, 0);
        }
        c.line(15, 47, 29, 61, 1);
        c.line(29, 47, 15, 61, 1);
        c.line(33, 47, 49, 61, 1);
        c.line(49, 47, 33, 61, 1);
        c.vline(32, 0, 5, 1);
        c.set(32, 0, 3);
        t.addSliced("tank", c, P1, E);
    }
    {
        Canvas c(32, 32);
        c.vline(15, 4, 31, 2);
        c.vline(16, 4, 31, 1);
        for (int y = 8; y < 32; y += 7) c.hline(9 + (y - 8) / 4, 22 - (y - 8) / 4, y, 2);
        c.disc(15.5, 3, 2, 3);
        t.add("antenna", c, P3, E);
    }
    {
        Canvas c(32, 32);
        brickFill(c, 6, 6, 20, 26, 2, 1, 1, 3);
        c.rect(4, 2, 24, 4, 3);
        c.frame(3, 1, 26, 6, 0);
        c.vline(5, 7, 31, 0);
        c.vline(26, 7, 31, 0);
        t.add("chimney", c, {1, 1, 1, 1}, {TEmpty, TSolid, TSolid, TSolid});
    }
    {
        Canvas c(32, 32);
        c.rect(2, 8, 28, 24, 2);
        c.frame(1, 7, 30, 25, 0);
        c.hline(2, 29, 8, 3);
        c.disc(16, 20, 8, 1);
        for (int k = 0; k < 4; ++k) c.line(16, 20, 16 + (k & 1 ? 7 : -7), 20 + (k & 2 ? 7 : -7), 3);
        c.disc(16, 20, 2, 0);
        t.add("ac_unit", c, P3, {TEmpty, TSolid, TSolid, TSolid});
    }
    t.add("ladder", ladderArt(0, 2, 3), P3, allT(TLadder));
    {
        Canvas c(32, 32);
        c.rect(0, 0, 32, 3, 3);
        c.rect(0, 3, 32, 7, 2);
        c.rect(0, 10, 32, 2, 1);
        c.hline(0, 31, 12, 0);
        for (int x = 4; x < 32; x += 8) {
            c.set(x, 5, 0);
            c.set(x, 8, 0);
        }
        t.add("beam", c, P3, {TPlatform, TPlatform, TEmpty, TEmpty});
        // The same beam in front of the far skyline, whose colour 1 this sub-palette shares:
        // once across the skyline's ragged top, once across its body.
        Canvas mid = c;
        for (int x = 0; x < 32; ++x) {
            int h = 6 + static_cast<int>(hash3(static_cast<uint32_t>(x / 6), 0, 93) % 20u);
            for (int y = std::max(h, 13); y < 32; ++y) mid.set(x, y, 1);
        }
        t.add("beam_mid", mid, P3, {TPlatform, TPlatform, TEmpty, TEmpty});
        c.rect(0, 13, 32, 19, 1);
        t.add("beam_low", c, P3, {TPlatform, TPlatform, TEmpty, TEmpty});
    }
    {
        // Neon sign, two blocks wide.
        Canvas c(64, 32);
        c.frame(1, 4, 62, 20, 2);
        c.frame(2, 5, 60, 18, 2);
        drawText(c, 7, 11, "PIZZA!", 3);
        drawText(c, 8, 11, "PIZZA!", 3);
        c.vline(16, 24, 31, 1);
        c.vline(47, 24, 31, 1);
        t.addSliced("sign", c, P2, E);
    }
    t.add("spikes", spikesArt(0, 3, 2), P3, {TEmpty, TSpikes, TSpikes, TSolid});
    return t;
}

// ---- warehouse -------------------------------------------------------------------------------
// Colour 1 is the same grey in every sub-palette: the ribbed wall behind shows around everything.
// SP0 wood: 1 wall, 2 mid, 3 light.  SP1 walls: 1 wall, 2 mid, 3 light.
// SP2 red steel: 1 wall, 2 mid, 3 light.  SP3 metal and lamps: 1 wall, 2 metal, 3 glow.

inline Canvas warehouseBack() {
    Canvas c(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) c.set(x, y, (x & 7) < 3 && y != 31 ? 1 : 0);
    return c;
}

inline Canvas overWall(const Canvas& obj, int see) {
    Canvas back = warehouseBack();
    Canvas c = obj;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (obj.get(x, y) == see) c.set(x, y, back.get(x, y));
    return c;
}

inline Theme makeWarehouse() {
    Theme t{"warehouse", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty), S = allT(TSolid);

    t.add("dark", Canvas(32, 32, 0), P1, E);
    t.add("wall", warehouseBack(), P1, E);
    {
        // Under the roof: trusses across the top of the wall.
        Canvas c = warehouseBack();
        c.rect(0, 0, 32, 9, 0);
        c.hline(0, 31, 1, 2);
        c.hline(0, 31, 8, 2);
        for (int x = 0; x < 32; x += 8) {
            c.line(x, 8, x + 7, 1, 2);
            c.vline(x, 1, 8, 2);
        }
        c.hline(0, 31, 9, 3);
        t.add("wall_top", c, P1, E);
    }
    {
        Canvas c = warehouseBack();
        c.rect(4, 4, 24, 20, 3);
        c.rect(6, 6, 20, 16, 0);
        for (int x = 10; x < 26; x += 5) c.vline(x, 6, 21, 2);
        c.set(8, 9, 3);
        c.set(22, 17, 3);
        c.hline(3, 28, 24, 2);
        c.hline(3, 28, 25, 0);
        t.add("window", c, P1, E);
    }
    {
        Canvas c(32, 32, 1);
        c.hline(0, 31, 0, 2);
        c.hline(0, 31, 1, 3);
        c.rect(0, 2, 32, 3, 2);
        c.hline(0, 31, 5, 0);
        for (int y = 6; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (speck(x, y, 101, 6)) c.set(x, y, 0);
        c.line(4, 12, 9, 18, 0);
        c.line(9, 18, 8, 24, 0);
        t.add("floor", c, P3, S);
    }
    {
        Canvas c(32, 32, 2);
        c.frame(0, 0, 32, 32, 0);
        c.rect(1, 1, 30, 3, 3);
        c.rect(1, 1, 3, 30, 3);
        for (int y = 28; y < 31; ++y)
            for (int x = 1; x < 31; ++x)
                if ((x + y) & 1) c.set(x, y, 0);
        for (int y = 4; y < 28; ++y)
            if ((y - 4) % 6 == 5) c.hline(4, 27, y, 0);
        c.line(4, 4, 27, 27, 3);
        c.line(4, 5, 26, 27, 0);
        t.add("crate", c, P0, S);
    }
    {
        Canvas c(32, 32, 1);
        c.rect(5, 2, 22, 30, 2);
        c.vline(4, 3, 30, 0);
        c.vline(27, 3, 30, 0);
        c.hline(5, 26, 1, 0);
        c.rect(7, 2, 3, 30, 3);
        for (int y = 2; y < 32; ++y)
            for (int x = 22; x < 27; ++x)
                if ((x + y) & 1) c.set(x, y, 0);
        for (int y : {8, 20}) {
            c.hline(5, 26, y, 0);
            c.hline(5, 26, y + 1, 3);
        }
        c.ellipse(16, 3, 10, 1.5, 0);
        t.add("barrel", overWall(c, 1), P2, S);
    }
    t.add("girder", overWall(girderArt(1, 2, 3), 1), P2, {TPlatform, TPlatform, TEmpty, TEmpty});
    {
        Canvas c(32, 32, 1);
        c.rect(10, 0, 12, 32, 2);
        c.vline(9, 0, 31, 0);
        c.vline(22, 0, 31, 0);
        c.vline(10, 0, 31, 3);
        c.vline(11, 0, 31, 3);
        for (int y = 4; y < 32; y += 16) {
            c.disc(16, y + 4, 3, 0);
            c.disc(16, y + 4, 1.5, 3);
        }
        t.add("column", overWall(c, 1), P2, E);
    }
    t.add("ladder", overWall(ladderArt(1, 2, 2), 1), P3, allT(TLadder));
    {
        Canvas c(32, 32, 1);
        c.vline(16, 0, 12, 2);
        for (int y = 13; y < 21; ++y) {
            int half = (y - 13) + 3;
            c.hline(16 - half, 15 + half, y, 2);
            c.set(16 - half - 1, y, 0);
            c.set(16 + half, y, 0);
        }
        c.hline(5, 26, 21, 0);
        c.ellipse(16, 23, 5, 2.5, 3);
        for (int y = 26; y < 32; y += 2)
            for (int x = 8 + (y - 26); x < 24 - (y - 26); x += 3) c.set(x + (y & 2), y, 3);
        t.add("lamp", overWall(c, 1), P3, E);
    }
    {
        Canvas c(32, 32, 1);
        for (int y = 0; y < 32; ++y) {
            int yy = y & 7;
            if (yy < 5) {
                c.set(14, y, 2);
                c.set(17, y, 2);
                if (yy == 0 || yy == 4) c.hline(14, 17, y, 2);
                c.set(15, y, 0);
                c.set(16, y, 0);
            } else {
                c.hline(15, 16, y, 2);
            }
        }
        t.add("chain", overWall(c, 1), P3, E);
    }
    t.add("spikes", overWall(spikesArt(1, 3, 2), 1), P3, {TEmpty, TSpikes, TSpikes, TSolid});
    {
        // Conveyor belt with rollers; the belt runs right.
        Canvas c(32, 32, 1);
        c.rect(0, 0, 32, 3, 2);
        for (int x = 0; x < 32; x += 4) c.set(x, 1, 0);
        c.rect(0, 3, 32, 10, 0);
        for (int x = 4; x < 32; x += 8) {
            c.disc(x + 0.5, 8, 4, 2);
            c.disc(x + 0.5, 8, 1.5, 0);
        }
        c.rect(0, 13, 32, 2, 2);
        c.hline(0, 31, 15, 0);
        t.add("conveyor", overWall(c, 1), P3, {TConveyorR, TConveyorR, TEmpty, TEmpty});
    }
    {
        Canvas c(32, 64, 2);
        c.frame(0, 0, 32, 64, 0);
        c.frame(1, 1, 30, 62, 3);
        for (int x = 2; x < 30; x += 7) c.vline(x, 2, 61, 0);
        c.line(2, 2, 29, 61, 3);
        c.rect(24, 32, 3, 3, 0);
        t.addSliced("door", c, P0, allT(TDoor));
    }
    {
        Canvas c(32, 32);
        brickFill(c, 0, 0, 32, 32, 2, 0, 0, 3);
        t.add("brick", c, P2, allT(TBreakable));
    }
    return t;
}

// ---- world map, seen from above ---------------------------------------------------------------
// SP0 water: 1 deep, 2 mid, 3 light.  SP1 grass: 1 dark, 2 mid, 3 light.
// SP2 roads: 1 asphalt, 2 pavement, 3 white paint.  SP3 roofs: 1 dark, 2 red, 3 tan.

inline Theme makeWorld() {
    Theme t{"world", {}};
    const Quarters P0 = allQ(0), P1 = allQ(1), P2 = allQ(2), P3 = allQ(3);
    const RowTypes E = allT(TEmpty);

    auto grass = [](Canvas& c, int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                int v = 2;
                if (speck(x, y, 111, 6)) v = 1;
                else if (speck(x, y, 112, 5)) v = 3;
                c.set(x, y, v);
            }
    };
    auto water = [](Canvas& c, int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                int v = 2;
                int yy = y & 7, xx = (x + (y & 8 ? 6 : 0)) & 15;
                if (yy == 3 && xx >= 2 && xx <= 6) v = 3;
                else if (yy == 4 && (xx == 1 || xx == 7)) v = 3;
                else if (yy == 6 && xx >= 10 && xx <= 13) v = 1;
                c.set(x, y, v);
            }
    };
    {
        Canvas c(32, 32);
        grass(c, 0, 0, 32, 32);
        t.add("grass", c, P1, E);
    }
    {
        Canvas c(32, 32);
        grass(c, 0, 0, 32, 32);
        c.disc(18, 18, 12, 1);
        std::vector<bool> crown(32 * 32, false);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                double dx = x + 0.5 - 15, dy = y + 0.5 - 15;
                crown[static_cast<size_t>(y * 32 + x)] = dx * dx + dy * dy <= 121;
            }
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (crown[static_cast<size_t>(y * 32 + x)]) {
                    double dx = x + 0.5 - 11, dy = y + 0.5 - 11;
                    c.set(x, y, dx * dx + dy * dy < 20 ? 3 : (hash3(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 113) % 7u == 0 ? 1 : 2));
                }
        c.outline(crown, 0);
        t.add("tree", c, P1, E);
    }
    {
        Canvas c(32, 32);
        grass(c, 0, 0, 32, 32);
        for (int q = 0; q < 4; ++q) {
            int cx = (q & 1) * 16 + 8, cy = (q >> 1) * 16 + 8;
            c.disc(cx + 1, cy + 1, 6, 1);
            c.disc(cx, cy, 6, 0);
            c.disc(cx, cy, 5, 2);
            c.disc(cx - 2, cy - 2, 2, 3);
        }
        t.add("trees", c, P1, E);
    }
    {
        Canvas c(32, 32);
        water(c, 0, 0, 32, 32);
        t.add("water", c, P0, E);
    }
    {
        // River banks: grass on one side, water on the other, split at a quarter line.
        Canvas c(32, 32);
        grass(c, 0, 0, 16, 32);
        water(c, 16, 0, 16, 32);
        c.vline(14, 0, 31, 1);
        c.vline(15, 0, 31, 0);
        for (int y = 0; y < 32; ++y)
            if ((y & 3) != 0) c.set(16, y, 3);
        t.add("bank_gw", c, {1, 0, 1, 0}, E);
    }
    {
        Canvas c(32, 32);
        water(c, 0, 0, 16, 32);
        grass(c, 16, 0, 16, 32);
        c.vline(16, 0, 31, 0);
        c.vline(17, 0, 31, 1);
        for (int y = 0; y < 32; ++y)
            if ((y & 3) != 2) c.set(15, y, 3);
        t.add("bank_wg", c, {0, 1, 0, 1}, E);
    }
    auto roadH = [](Canvas& c) {
        c.rect(0, 0, 32, 6, 2);
        for (int x = 0; x < 32; x += 8) c.vline(x, 0, 5, 1);
        c.hline(0, 31, 6, 0);
        c.rect(0, 7, 32, 18, 1);
        for (int x = 0; x < 32; ++x)
            if ((x & 15) < 8) {
                c.set(x, 15, 3);
                c.set(x, 16, 3);
            }
        c.hline(0, 31, 25, 0);
        c.rect(0, 26, 32, 6, 2);
        for (int x = 4; x < 32; x += 8) c.vline(x, 26, 31, 1);
    };
    auto transpose = [](const Canvas& s) {
        Canvas c(s.h, s.w);
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x) c.set(y, x, s.get(x, y));
        return c;
    };
    Canvas rh(32, 32);
    roadH(rh);
    t.add("road_h", rh, P2, E);
    t.add("road_v", transpose(rh), P2, E);
    {
        Canvas c(32, 32, 1);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                bool nearV = x < 7 || x > 24, nearH = y < 7 || y > 24;
                if (nearV && nearH) c.set(x, y, 2);
                else if (nearV && (y & 3) < 2) c.set(x, y, 3);
                else if (nearH && (x & 3) < 2) c.set(x, y, 3);
            }
        t.add("road_x", c, P2, E);
    }
    {
        Canvas c = rh;
        c.disc(20, 16, 5, 0);
        c.disc(20, 16, 4, 2);
        c.hline(17, 23, 16, 0);
        c.vline(20, 13, 19, 0);
        t.add("manhole", c, P2, allT(TDoor));
    }
    {
        Canvas c(32, 32, 1);
        for (int x = 0; x < 32; ++x)
            if ((x & 15) < 8) {
                c.set(x, 15, 3);
                c.set(x, 16, 3);
            }
        c.rect(0, 0, 32, 5, 2);
        c.rect(0, 27, 32, 5, 2);
        for (int x = 0; x < 32; x += 4) {
            c.vline(x, 0, 4, 0);
            c.vline(x, 27, 31, 0);
        }
        c.hline(0, 31, 5, 0);
        c.hline(0, 31, 26, 0);
        t.add("bridge_h", c, P2, E);
        t.add("bridge_v", transpose(c), P2, E);
    }
    {
        Canvas c(32, 32, 2);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if ((x & 7) == 7 || (y & 7) == 7) c.set(x, y, 1);
        c.disc(16, 16, 5, 3);
        c.disc(16, 16, 3, 0);
        t.add("plaza", c, P2, E);
    }
    {
        Canvas c(32, 32, 1);
        for (int x = 3; x < 32; x += 8) c.vline(x, 2, 13, 3);
        for (int x = 3; x < 32; x += 8) c.vline(x, 18, 29, 3);
        c.hline(0, 31, 15, 3);
        t.add("parking", c, P2, E);
    }
    {
        // Flat roof of a city block, two by two blocks, with vents and a skylight.
        Canvas c(64, 64, 3);
        c.frame(0, 0, 64, 64, 0);
        c.frame(1, 1, 62, 62, 2);
        c.frame(2, 2, 60, 60, 2);
        c.frame(3, 3, 58, 58, 1);
        c.rect(3, 58, 58, 3, 1);
        c.rect(58, 3, 3, 58, 1);
        c.rect(10, 10, 14, 10, 1);
        c.frame(10, 10, 14, 10, 0);
        c.hline(11, 22, 14, 0);
        c.rect(38, 34, 16, 16, 2);
        c.frame(38, 34, 16, 16, 0);
        c.line(39, 35, 52, 48, 0);
        c.line(52, 35, 39, 48, 0);
        c.disc(18, 44, 5, 0);
        c.disc(18, 44, 4, 2);
        c.disc(18, 44, 1.5, 0);
        t.addSliced("roof", c, P3, E);
    }
    {
        // A house with a ridged roof in one block.
        Canvas c(32, 32, 1);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (((x + y) & 3) == 0) c.set(x, y, 0);
        c.rect(3, 4, 26, 24, 2);
        c.frame(2, 3, 28, 26, 0);
        for (int y = 4; y < 28; ++y) {
            if ((y & 3) == 3) c.hline(3, 28, y, 1);
        }
        c.rect(3, 15, 26, 2, 3);
        c.rect(20, 6, 4, 6, 1);
        c.frame(20, 6, 4, 6, 0);
        t.add("house", c, {3, 3, 3, 3}, E);
    }
    return t;
}

}  // namespace demo

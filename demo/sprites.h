#pragma once
// Sprite pattern pages: creatures, robots, items and the turtles, as 16x16 figures stored in the
// 8x16 sprite order (top-left, bottom-left, top-right, bottom-right), so the interleaved page
// preview shows each figure whole. Colour 3 is the dark outline, 1 the body, 2 the details.

#include "art.h"

namespace demo {

// Enemy type codes (named in Data/enemy.dat).
enum EnemyType : uint8_t {
    FootSoldier = 0x00, FootGunner, Mouser, RollerCar, FireFreak, JetFoot, SewerBat, SpiderBot,
    FrogTrooper, SewerEel, LaserTurret, BuzzDrone, SludgeBlob, WallCrawler, BarrelBot, StoneWarrior,
    SnapperPlant, ElectricJelly, RockSoldier, BombDropper, NinjaHound, HoverTank, ClawCrab, BigMouser,
    RhinoBrute, WarthogBrute, ArmoredMaster, BrainWalker,
    EnemyTypeCount
};

// Draws colour 3 around everything that is not colour 0, then keeps the figure inside 16x16.
inline void outlineFigure(Canvas& c) {
    std::vector<bool> shape(static_cast<size_t>(c.w * c.h));
    for (int i = 0; i < c.w * c.h; ++i) shape[static_cast<size_t>(i)] = c.p[static_cast<size_t>(i)] != 0;
    c.outline(shape, 3);
}

// Mirrors an 8-column left half into a symmetric 16-column figure.
inline Canvas symmetric(const std::vector<std::string>& left) {
    Canvas half = art(left);
    Canvas c(16, half.h);
    c.blit(half, 0, 0);
    c.blit(half.flippedH(), 8, 0);
    return c;
}

inline Canvas footSoldier(bool gun, int frame) {
    Canvas c = art({
        "................",
        "......3333......",
        ".....311113.....",
        "....31111113....",
        "....32222223....",
        "....31211213....",
        ".....311113.....",
        "...3331111333...",
        "..311133331113..",
        "..313.31113.313.",
        "..33..32223..33.",
        ".....3111113....",
        ".....311.113....",
        "....311...113...",
        "....31.....13...",
        "...333.....333..",
    });
    if (frame) {
        c.rect(3, 11, 13, 5, 0);
        c.blit(art({".....3111113....", ".....311113.....", "......3113......", "......3113......", ".....33333......"}), 0, 11);
    }
    if (gun) {
        c.rect(11, 8, 5, 2, 0);
        c.hline(11, 15, 8, 3);
        c.hline(11, 15, 9, 2);
    }
    return c;
}

inline Canvas mouser(int frame) {
    Canvas c = art({
        "................",
        "..33333333......",
        ".3111111113.....",
        "311221111113....",
        "311231111113....",
        "311111111113....",
        "3333333333313...",
        "32222222222 3...",
        "3.2.2.2.2.2.3...",
        "3...........3...",
        "3.2.2.2.2.2.3...",
        "322222222223....",
        "33333333333.....",
        "..313...313.....",
        ".3313..3313.....",
        ".3333..3333.....",
    });
    if (frame) {
        c.rect(0, 7, 14, 5, 0);
        c.blit(art({"322222222223", "3.2.2.2.2.23", "322222222223", "333333333333", "............"}), 0, 7);
        c.rect(0, 13, 12, 3, 0);
        c.blit(art({"...313.313..", "..3313.3313.", "..3333.3333."}), 0, 13);
    }
    return c;
}

inline Canvas bat(int frame) {
    if (frame == 0)
        return symmetric({
            "........", "........", "3.....3.", "33....33", "313...31", "3113..31",
            "31113311", "31111121", "31111111", "3113.311", "313...31", "33.....3",
            "3.......", "........", "........", "........",
        });
    return symmetric({
        "........", "........", "......3.", "......33", "......31", "......31",
        ".....311", "..333121", ".3111111", "311111.1", "31133311", "313...31",
        "33......", "3.......", "........", "........",
    });
}

inline Canvas turtle(int pose) {
    Canvas c = art({
        "......3333......",
        ".....311113.....",
        "....31111113....",
        "....32222223....",
        "....31211213....",
        ".....311113.....",
        "...33333333.....",
        "..3222221113....",
        ".32222221113....",
        ".32222222213....",
        "..3222221113....",
        "...3322223......",
        "....31113.......",
        "....31.313......",
        "...311..311.....",
        "...333..333.....",
    });
    switch (pose & 7) {
    case 1:  // stride
        c.rect(2, 12, 12, 4, 0);
        c.blit(art({"....31113.......", "...311..313.....", "..311....313....", "..333.....333..."}), 0, 12);
        break;
    case 2:  // weapon raised
        c.line(10, 8, 15, 1, 2);
        c.line(11, 8, 15, 2, 3);
        break;
    case 3:  // strike
        c.hline(11, 15, 8, 2);
        c.hline(11, 15, 9, 3);
        break;
    case 4:  // jump, tucked
        c.rect(2, 12, 12, 4, 0);
        c.blit(art({"...3111113......", "...3113113......", "....33.33......."}), 0, 12);
        break;
    case 5:  // climbing, arms up
        c.vline(3, 2, 8, 1);
        c.vline(12, 2, 8, 1);
        break;
    case 6:  // swimming, stretched
        c = art({
            "................", "................", "................", "................",
            "......3333......", ".....322223.....", "33..3222222333..", "3113222222211113",
            "3113222222211213", "33..3222222333..", ".....322223.....", "......3333......",
            "................", "................", "................", "................",
        });
        break;
    case 7:  // hurt
        c = c.flippedH();
        c.rect(5, 4, 6, 1, 2);
        break;
    default: break;
    }
    return c;
}

// A parametric robot or creature, built from a seed and an archetype so every type looks its own.
enum class Shape { Walker, Flyer, Crawler, Blob, Roller, Turret, Plant, Jelly, Hound, Flame, Eel };

inline Canvas creatureShape(Shape shape, uint32_t seed, int frame) {
    Rng r(seed * 2654435761u + 17);
    Canvas c(16, 16);
    switch (shape) {
    case Shape::Walker: {
        int hw = r.range(3, 4), hh = r.range(3, 5), bw = r.range(4, 6), bh = r.range(4, 5);
        int top = 15 - 4 - bh - hh;
        c.rect(8 - hw, top, 2 * hw, hh, 1);
        c.hline(8 - hw + 1, 8 + hw - 2, top + 1, 2);
        c.set(8 - 2, top + 2, 2);
        c.set(8 + 1, top + 2, 2);
        if (r.next() & 1) c.vline(8, top - 2, top - 1, 2);
        int by = top + hh;
        c.rect(8 - bw, by, 2 * bw, bh, 1);
        c.hline(8 - bw + 1, 8 + bw - 2, by + 1, 2);
        c.vline(8 - bw - 1, by + 1, by + bh, 1);
        c.vline(8 + bw, by + 1, by + bh, 1);
        int spread = frame ? 1 : 0;
        c.rect(5 - spread, by + bh, 2, 15 - by - bh, 1);
        c.rect(9 + spread, by + bh, 2, 15 - by - bh, 1);
        c.hline(4 - spread, 6 - spread, 14, 2);
        c.hline(9 + spread, 11 + spread, 14, 2);
        break;
    }
    case Shape::Flyer: {
        c.ellipse(8, 8, 3.5, 3, 1);
        c.set(7, 7, 2);
        c.set(9, 7, 2);
        int wy = frame ? 10 : 4;
        c.line(4, 8, 0, wy, 1);
        c.line(4, 7, 1, wy - 1, 1);
        c.line(11, 8, 15, wy, 1);
        c.line(11, 7, 14, wy - 1, 1);
        c.vline(8, 11, 13, 2);
        if (r.next() & 1) c.rect(6, 2, 4, 2, 2);
        break;
    }
    case Shape::Crawler: {
        c.ellipse(8, 9, 6, 4, 1);
        c.rect(2, 9, 12, 2, 1);
        c.hline(4, 11, 7, 2);
        c.set(5, 9, 2);
        c.set(10, 9, 2);
        for (int k = 0; k < 3; ++k) {
            int lx = 3 + k * 2, rx = 12 - k * 2, d = (frame + k) & 1;
            c.line(lx, 11, lx - 2 + d, 15, 1);
            c.line(rx, 11, rx + 2 - d, 15, 1);
        }
        if (r.next() & 1) {
            c.line(2, 8, 0, 5, 1);
            c.line(13, 8, 15, 5, 1);
        }
        break;
    }
    case Shape::Blob: {
        c.ellipse(8, 10 + frame * 0.5, 6.5 + frame * 0.5, 5 - frame * 0.5, 1);
        c.set(6, 9, 2);
        c.set(10, 9, 2);
        c.hline(6, 10, 12, 2);
        for (int k = 0; k < 3; ++k) c.vline(4 + k * 4, 14, 15, 1);
        break;
    }
    case Shape::Roller: {
        c.rect(2, 5, 12, 6, 1);
        c.rect(5, 2, 7, 3, 1);
        c.rect(6, 3, 4, 1, 2);
        c.disc(4.5, 12.5, 3, 1);
        c.disc(11.5, 12.5, 3, 1);
        c.set(frame ? 4 : 5, 12, 2);
        c.set(frame ? 11 : 12, 12, 2);
        c.hline(3, 12, 7, 2);
        break;
    }
    case Shape::Turret: {
        c.ellipse(8, 10, 6, 5, 1);
        c.rect(1, 12, 14, 4, 1);
        c.rect(8, 6, 7, 2, 2);
        c.set(5, 9, 2);
        c.hline(2, 13, 13, 2);
        if (frame) c.rect(14, 5, 2, 4, 2);
        break;
    }
    case Shape::Plant: {
        c.rect(7, 9, 2, 7, 1);
        c.ellipse(4, 12, 3, 1.5, 1);
        c.ellipse(12, 13, 3, 1.5, 1);
        c.ellipse(8, 5, 6, 4.5, 1);
        int open = frame ? 2 : 1;
        c.rect(3, 5 - open / 2, 10, open, 0);
        for (int x = 4; x < 12; x += 2) c.set(x, 4 - open / 2, 2);
        c.set(8, 2, 2);
        break;
    }
    case Shape::Jelly: {
        c.ellipse(8, 5, 6, 4.5, 1);
        c.rect(2, 5, 12, 3, 1);
        c.set(6, 4, 2);
        c.set(10, 4, 2);
        for (int k = 0; k < 4; ++k) {
            int x = 3 + k * 3;
            for (int y = 8; y < 15; ++y) c.set(x + (((y + k + frame) >> 1) & 1), y, (y & 1) ? 2 : 1);
        }
        break;
    }
    case Shape::Hound: {
        c.rect(3, 6, 9, 5, 1);
        c.rect(10, 3, 5, 5, 1);
        c.set(13, 4, 2);
        c.set(14, 7, 2);
        c.line(3, 6, 0, 3, 1);
        int d = frame ? 1 : 0;
        c.rect(3 + d, 11, 2, 4, 1);
        c.rect(9 - d, 11, 2, 4, 1);
        c.hline(4, 10, 8, 2);
        break;
    }
    case Shape::Flame: {
        for (int y = 2; y < 16; ++y) {
            double wdt = (y - 2) * 0.45 + 1 + ((y + frame) & 1) * 0.6;
            double cx = 8 + std::sin((y + frame * 3) * 0.9) * 1.2;
            for (int x = static_cast<int>(cx - wdt); x <= static_cast<int>(cx + wdt); ++x) c.set(x, y, y > 8 && std::abs(x - cx) < wdt - 2 ? 2 : 1);
        }
        c.set(6, 10, 0);
        c.set(10, 10, 0);
        break;
    }
    case Shape::Eel: {
        for (int x = 1; x < 15; ++x) {
            int y = 8 + static_cast<int>(std::lround(std::sin(x * 0.7 + frame * 1.5) * 3));
            c.vline(x, y - 1, y + 1, 1);
            c.set(x, y, (x & 1) ? 2 : 1);
        }
        c.rect(12, 5, 3, 4, 1);
        c.set(13, 6, 2);
        break;
    }
    }
    outlineFigure(c);
    return c;
}

inline Canvas enemyFigure(int type, int frame) {
    switch (type) {
    case FootSoldier: return footSoldier(false, frame);
    case FootGunner: return footSoldier(true, frame);
    case Mouser: return mouser(frame);
    case SewerBat: return bat(frame);
    case RollerCar: return creatureShape(Shape::Roller, 3, frame);
    case FireFreak: return creatureShape(Shape::Flame, 4, frame);
    case JetFoot: {
        Canvas c = footSoldier(false, 0);
        c.rect(4, 13, 9, 3, 0);
        c.rect(6, 13, 4, 1, 2);
        c.rect(7, 14, 2, 2 - frame, 2);
        return c;
    }
    case SpiderBot: return creatureShape(Shape::Crawler, 7, frame);
    case FrogTrooper: return creatureShape(Shape::Walker, 8, frame);
    case SewerEel: return creatureShape(Shape::Eel, 9, frame);
    case LaserTurret: return creatureShape(Shape::Turret, 10, frame);
    case BuzzDrone: return creatureShape(Shape::Flyer, 11, frame);
    case SludgeBlob: return creatureShape(Shape::Blob, 12, frame);
    case WallCrawler: return creatureShape(Shape::Crawler, 13, frame);
    case BarrelBot: return creatureShape(Shape::Walker, 14, frame);
    case StoneWarrior: return creatureShape(Shape::Walker, 15, frame);
    case SnapperPlant: return creatureShape(Shape::Plant, 16, frame);
    case ElectricJelly: return creatureShape(Shape::Jelly, 17, frame);
    case RockSoldier: return creatureShape(Shape::Walker, 18, frame);
    case BombDropper: return creatureShape(Shape::Flyer, 19, frame);
    case NinjaHound: return creatureShape(Shape::Hound, 20, frame);
    case HoverTank: return creatureShape(Shape::Roller, 21, frame);
    case ClawCrab: return creatureShape(Shape::Crawler, 22, frame);
    default: return creatureShape(Shape::Walker, static_cast<uint32_t>(type), frame);
    }
}

inline Canvas itemFigure(int k) {
    switch (k) {
    case 0: {  // pizza slice
        Canvas c(16, 16);
        for (int y = 2; y < 14; ++y) c.hline(8 - (y - 2) / 2, 8 + (y - 2) / 2, y, 1);
        c.hline(2, 14, 13, 2);
        c.hline(2, 14, 14, 2);
        c.disc(7, 8, 1.2, 2);
        c.disc(10, 11, 1.2, 2);
        c.set(6, 11, 2);
        outlineFigure(c);
        return c;
    }
    case 1: {  // whole pizza
        Canvas c(16, 16);
        c.disc(8, 8, 7, 2);
        c.disc(8, 8, 5.5, 1);
        for (int a = 0; a < 5; ++a) c.disc(8 + 3.2 * std::cos(a * 1.26), 8 + 3.2 * std::sin(a * 1.26), 1.1, 2);
        outlineFigure(c);
        return c;
    }
    case 2: {  // shuriken
        Canvas c(16, 16);
        c.line(8, 1, 8, 15, 1);
        c.line(1, 8, 15, 8, 1);
        c.line(3, 3, 13, 13, 2);
        c.line(13, 3, 3, 13, 2);
        c.disc(8, 8, 2, 1);
        c.set(8, 8, 0);
        outlineFigure(c);
        return c;
    }
    case 3:
    case 4: {  // explosion, two sizes
        Canvas c(16, 16);
        double r = k == 3 ? 4 : 7;
        for (int a = 0; a < 12; ++a) {
            double len = r * ((a & 1) ? 0.6 : 1.0);
            c.line(8, 8, 8 + static_cast<int>(std::lround(std::cos(a * 0.5236) * len)), 8 + static_cast<int>(std::lround(std::sin(a * 0.5236) * len)), 1);
        }
        c.disc(8, 8, r * 0.5, 2);
        outlineFigure(c);
        return c;
    }
    case 5: {  // missile
        Canvas c(16, 16);
        c.rect(3, 7, 9, 3, 1);
        c.rect(12, 7, 2, 3, 2);
        c.set(14, 8, 2);
        c.line(3, 6, 1, 4, 1);
        c.line(3, 10, 1, 12, 1);
        outlineFigure(c);
        return c;
    }
    case 6: {  // scroll
        Canvas c(16, 16);
        c.rect(3, 4, 10, 8, 1);
        c.rect(2, 3, 2, 10, 2);
        c.rect(12, 3, 2, 10, 2);
        for (int y = 6; y < 11; y += 2) c.hline(5, 10, y, 2);
        outlineFigure(c);
        return c;
    }
    default: {  // bullet
        Canvas c(16, 16);
        c.disc(8, 8, 2.5, 2);
        c.set(8, 8, 1);
        outlineFigure(c);
        return c;
    }
    }
}

// Writes a 16x16 figure as metasprite m of a page (four tiles in 8x16 order).
inline void putFigure(std::vector<uint8_t>& page, int m, const Canvas& fig) {
    const int order[4][2] = {{0, 0}, {0, 8}, {8, 0}, {8, 8}};
    for (int k = 0; k < 4; ++k) {
        Tile t = encodeTile(fig, order[k][0], order[k][1]);
        std::copy(t.begin(), t.end(), page.begin() + 16 * (4 * m + k));
    }
}

// Doubles a figure into four 16x16 quarters (a big boss-sized version).
inline std::array<Canvas, 4> bigFigure(const Canvas& fig) {
    Canvas big(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) big.set(x, y, fig.get(x / 2, y / 2));
    return {big.crop(0, 0, 16, 16), big.crop(16, 0, 16, 16), big.crop(0, 16, 16, 16), big.crop(16, 16, 16, 16)};
}

// An enemy page: both frames of the eight types of its set, items and effects, and a big
// version of its first type.
inline std::vector<uint8_t> enemyPage(const std::array<uint8_t, 8>& set, int bigType) {
    std::vector<uint8_t> page(4096, 0);
    int m = 0;
    for (uint8_t type : set)
        for (int f = 0; f < 2; ++f) putFigure(page, m++, enemyFigure(type, f));
    for (int k = 0; k < 8; ++k) putFigure(page, m++, itemFigure(k));
    auto big = bigFigure(enemyFigure(bigType, 0));
    // Big figures line up as 2x2 metasprites on the 8-wide metasprite grid.
    m = 32;
    putFigure(page, m, big[0]);
    putFigure(page, m + 1, big[1]);
    putFigure(page, m + 8, big[2]);
    putFigure(page, m + 9, big[3]);
    auto big2 = bigFigure(enemyFigure(bigType, 1));
    putFigure(page, m + 2, big2[0]);
    putFigure(page, m + 3, big2[1]);
    putFigure(page, m + 10, big2[2]);
    putFigure(page, m + 11, big2[3]);
    return page;
}

inline std::vector<uint8_t> turtlePage() {
    std::vector<uint8_t> page(4096, 0);
    int m = 0;
    for (int rep = 0; rep < 2; ++rep)
        for (int pose = 0; pose < 8; ++pose) {
            Canvas c = turtle(pose);
            if (rep) c = c.flippedH();
            putFigure(page, m++, c);
        }
    for (int k = 0; k < 8; ++k) putFigure(page, m++, itemFigure(k));
    // Weapons: katana, bo staff, sai, nunchaku.
    Canvas w(16, 16);
    w.line(1, 14, 14, 1, 1);
    w.line(1, 13, 3, 15, 2);
    outlineFigure(w);
    putFigure(page, m++, w);
    Canvas bo(16, 16);
    bo.line(0, 15, 15, 0, 2);
    bo.line(1, 15, 15, 1, 1);
    outlineFigure(bo);
    putFigure(page, m++, bo);
    Canvas sai(16, 16);
    sai.vline(8, 1, 13, 1);
    sai.line(8, 9, 5, 6, 1);
    sai.line(8, 9, 11, 6, 1);
    sai.rect(7, 12, 3, 3, 2);
    outlineFigure(sai);
    putFigure(page, m++, sai);
    Canvas nun(16, 16);
    nun.rect(2, 2, 3, 6, 1);
    nun.rect(11, 8, 3, 6, 1);
    nun.line(4, 8, 11, 9, 2);
    outlineFigure(nun);
    putFigure(page, m++, nun);
    return page;
}

// The title page: the HUD font and a large logo drawn with the font at double size.
inline std::vector<uint8_t> titlePage() {
    std::vector<uint8_t> page(4096, 0);
    const std::string& chars = hudFontChars();
    for (size_t k = 0; k < chars.size(); ++k) {
        Tile t = hudGlyphTile(chars[k]);
        std::copy(t.begin(), t.end(), page.begin() + 16 * static_cast<int>(k));
    }
    Canvas logo(128, 48);
    Canvas small(64, 8);
    drawText(small, 1, 0, "QUILLBORN", 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x)
            if (small.get(x / 2, y / 2)) logo.set(x, y + 4, ((x + y) & 3) == 0 ? 2 : 1);
    Canvas small2(64, 8);
    drawText(small2, 10, 0, "DEMO", 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x)
            if (small2.get(x / 2, y / 2)) logo.set(x, y + 26, 2);
    std::vector<bool> shape(static_cast<size_t>(logo.w * logo.h));
    for (int i = 0; i < logo.w * logo.h; ++i) shape[static_cast<size_t>(i)] = logo.p[static_cast<size_t>(i)] != 0;
    logo.outline(shape, 3);
    for (int ty = 0; ty < 6; ++ty)
        for (int tx = 0; tx < 16; ++tx) {
            Tile t = encodeTile(logo, tx * 8, ty * 8);
            std::copy(t.begin(), t.end(), page.begin() + 16 * (64 + ty * 16 + tx));
        }
    return page;
}

}  // namespace demo

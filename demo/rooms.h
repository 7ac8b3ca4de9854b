#pragma once
// Room layouts: 8x6 grids of block numbers for the stages, 8x8 for the world map. Rooms of one
// stage line up edge to edge, so a stage reads as one continuous place.

#include "themes.h"

namespace demo {

// A stage: grid size and the rooms in screen order (row by row); rooms are level-wide numbers.
struct StageGrid {
    int width = 1, height = 1;
    std::vector<uint8_t> rooms;
};

// Adds rooms to a level's pool and returns their numbers.
inline std::vector<uint8_t> addRooms(std::vector<Room>& pool, const std::vector<Room>& rooms) {
    std::vector<uint8_t> ids;
    for (const Room& r : rooms) {
        if (pool.size() >= 256) fail("too many rooms in one level");
        ids.push_back(static_cast<uint8_t>(pool.size()));
        pool.push_back(r);
    }
    return ids;
}

// ---- city street -----------------------------------------------------------------------------

inline std::vector<Room> cityStreetRooms(const Theme& t) {
    const uint8_t sky = t.id("sky"), cl = t.id("cloud_0_0"), cr = t.id("cloud_1_0"), cs = t.id("cloud_small");
    const uint8_t side = t.id("sidewalk"), road = t.id("road"), man = t.id("manhole");
    const uint8_t gTop = t.id("grey_top"), gWin = t.id("grey_win"), gWin2 = t.id("grey_win2"), gDoor = t.id("grey_door");
    const uint8_t bTop = t.id("bg_brick_top"), bWin = t.id("bg_brick_win"), bBrick = t.id("bg_brick");
    const uint8_t lampH = t.id("lamp_head"), lampP = t.id("lamp_pole"), hyd = t.id("hydrant"), crate = t.id("crate");
    const uint8_t fence = t.id("fence"), girder = t.id("girder"), ladder = t.id("ladder");
    const uint8_t wTop = t.id("water_top"), water = t.id("water"), brick = t.id("brick"), brickTop = t.id("brick_top");
    const uint8_t grass = t.id("grass_top"), dirt = t.id("dirt"), treeT = t.id("tree_0_0"), treeB = t.id("tree_0_1");

    auto street = [&]() {
        Room r(6, sky);
        r.row(4, side);
        r.row(5, road);
        return r;
    };
    auto lamp = [&](Room& r, int c) {
        r.set(c, 2, lampH);
        r.set(c, 3, lampP);
    };
    auto canal = [&](Room& r, int c0, int c1) {
        r.fill(c0, 4, c1, 4, wTop);
        r.fill(c0, 5, c1, 5, water);
    };
    std::vector<Room> rooms;
    {
        Room r = street();
        r.set(1, 0, cl);
        r.set(2, 0, cr);
        r.set(6, 1, cs);
        r.fill(3, 1, 5, 1, gTop);
        r.fill(3, 2, 5, 2, gWin);
        r.set(3, 3, gWin2);
        r.set(4, 3, gDoor);
        r.set(5, 3, gWin2);
        lamp(r, 1);
        r.set(7, 3, hyd);
        rooms.push_back(r);
    }
    {
        Room r = street();
        r.fill(0, 0, 3, 0, bTop);
        r.fill(0, 1, 3, 2, bWin);
        r.fill(0, 3, 3, 3, bBrick);
        r.set(1, 3, bWin);
        r.fill(4, 3, 7, 3, fence);
        r.set(6, 0, cs);
        r.set(5, 3, crate);
        rooms.push_back(r);
    }
    {
        Room r = street();
        r.set(0, 0, cl);
        r.set(1, 0, cr);
        canal(r, 3, 4);
        r.fill(2, 2, 5, 2, girder);
        r.set(6, 2, ladder);
        r.set(6, 3, ladder);
        r.set(7, 2, treeT);
        r.set(7, 3, treeB);
        r.set(5, 0, cs);
        rooms.push_back(r);
    }
    {
        Room r(6, sky);
        r.row(4, grass);
        r.row(5, dirt);
        r.set(1, 2, treeT);
        r.set(1, 3, treeB);
        r.set(4, 2, treeT);
        r.set(4, 3, treeB);
        r.set(2, 0, cl);
        r.set(3, 0, cr);
        r.fill(6, 3, 7, 3, fence);
        rooms.push_back(r);
    }
    {
        Room r = street();
        r.set(0, 3, hyd);
        lamp(r, 2);
        r.fill(4, 0, 7, 0, gTop);
        r.fill(4, 1, 7, 1, gWin);
        r.fill(4, 2, 7, 2, gWin2);
        r.fill(4, 3, 7, 3, gWin);
        r.set(6, 3, gDoor);
        rooms.push_back(r);
    }
    {
        Room r = street();
        canal(r, 0, 1);
        r.set(1, 0, cl);
        r.set(2, 0, cr);
        r.set(3, 2, brickTop);
        r.set(3, 3, brick);
        r.set(4, 2, ladder);
        r.set(4, 3, ladder);
        r.fill(5, 2, 7, 2, brickTop);
        r.set(6, 3, crate);
        rooms.push_back(r);
    }
    {
        Room r = street();
        r.fill(0, 1, 2, 1, bTop);
        r.fill(0, 2, 2, 3, bWin);
        r.set(1, 3, bBrick);
        lamp(r, 4);
        r.fill(6, 0, 7, 0, gTop);
        r.fill(6, 1, 7, 3, gWin2);
        r.set(7, 2, gWin);
        r.set(5, 4, man);
        r.set(3, 0, cs);
        rooms.push_back(r);
    }
    {
        Room r = street();
        r.fill(6, 0, 7, 0, brickTop);
        r.fill(6, 1, 7, 3, brick);
        r.set(4, 3, crate);
        r.set(5, 3, crate);
        r.set(5, 2, crate);
        r.set(1, 0, cs);
        r.set(2, 3, hyd);
        rooms.push_back(r);
    }
    return rooms;
}

inline Room cityPlazaRoom(const Theme& t) {
    Room r(6, t.id("sky"));
    r.row(4, t.id("sidewalk"));
    r.row(5, t.id("road"));
    r.set(0, 2, t.id("tree_0_0"));
    r.set(0, 3, t.id("tree_0_1"));
    r.set(7, 2, t.id("tree_0_0"));
    r.set(7, 3, t.id("tree_0_1"));
    r.set(1, 2, t.id("lamp_head"));
    r.set(1, 3, t.id("lamp_pole"));
    r.set(6, 2, t.id("lamp_head"));
    r.set(6, 3, t.id("lamp_pole"));
    r.fill(2, 1, 5, 1, t.id("grey_top"));
    r.fill(2, 2, 5, 2, t.id("grey_win"));
    r.fill(2, 3, 5, 3, t.id("grey_win2"));
    r.set(3, 3, t.id("grey_door"));
    r.set(2, 0, t.id("cloud_0_0"));
    r.set(3, 0, t.id("cloud_1_0"));
    r.set(4, 4, t.id("manhole"));
    return r;
}

// ---- sewers: an upper gallery and a lower channel, joined by ladders -------------------------

struct SewerPlan {
    int ladderCol = -1;     // ladder down to the room below (upper rooms) or from above (lower rooms)
    int variant = 0;
    bool leftWall = false, rightWall = false;
};

inline Room sewerUpper(const Theme& t, const SewerPlan& p) {
    const uint8_t bg = t.id("bg_wall"), brick = t.id("brick"), brickTop = t.id("brick_top"), floor = t.id("floor");
    const uint8_t pipe = t.id("pipe_h"), joint = t.id("pipe_joint"), pipeV = t.id("pipe_v"), mouth = t.id("pipe_mouth");
    const uint8_t fall = t.id("waterfall"), wTop = t.id("water_top"), ladder = t.id("ladder"), grate = t.id("grate");
    const uint8_t spikes = t.id("spikes"), drain = t.id("drain");
    Room r(6, bg);
    r.row(0, brick);
    r.row(5, floor);
    switch (p.variant % 4) {
    case 0:
        r.row(1, pipe);
        r.set(3, 1, joint);
        r.fill(1, 3, 3, 3, grate);
        r.set(5, 3, drain);
        break;
    case 1:
        r.set(0, 2, pipe);
        r.set(1, 2, pipe);
        r.set(2, 2, mouth);
        r.set(2, 3, fall);
        r.fill(1, 4, 3, 4, wTop);
        r.fill(5, 2, 7, 2, grate);
        break;
    case 2:
        r.fill(6, 1, 6, 4, pipeV);
        r.fill(0, 2, 2, 2, grate);
        r.set(3, 4, spikes);
        r.set(4, 4, spikes);
        break;
    default:
        r.set(3, 2, drain);
        r.fill(5, 3, 7, 3, brickTop);
        r.fill(5, 4, 7, 4, brick);
        r.row(1, pipe);
        r.set(6, 1, joint);
        break;
    }
    if (p.ladderCol >= 0) r.fill(p.ladderCol, 3, p.ladderCol, 5, ladder);
    if (p.leftWall) r.fill(0, 0, 0, 5, brick);
    if (p.rightWall) r.fill(7, 0, 7, 5, brick);
    return r;
}

inline Room sewerLower(const Theme& t, const SewerPlan& p) {
    const uint8_t bg = t.id("bg_wall"), brick = t.id("brick"), brickTop = t.id("brick_top"), floor = t.id("floor");
    const uint8_t pipe = t.id("pipe_h"), pipeV = t.id("pipe_v"), wTop = t.id("water_top"), water = t.id("water");
    const uint8_t ladder = t.id("ladder"), grate = t.id("grate"), spikes = t.id("spikes"), drain = t.id("drain");
    const uint8_t joint = t.id("pipe_joint");
    Room r(6, bg);
    r.row(4, floor);
    r.row(5, brick);
    switch (p.variant % 4) {
    case 0:
        r.fill(0, 0, 0, 3, pipeV);
        r.fill(2, 4, 3, 4, wTop);
        r.fill(2, 5, 3, 5, water);
        break;
    case 1:
        r.row(1, pipe);
        r.set(4, 1, joint);
        r.fill(1, 4, 5, 4, wTop);
        r.fill(1, 5, 5, 5, water);
        r.fill(2, 3, 4, 3, grate);
        break;
    case 2:
        r.set(5, 3, brickTop);
        r.set(6, 3, brickTop);
        r.set(2, 3, spikes);
        r.set(3, 3, spikes);
        r.set(6, 1, drain);
        break;
    default:
        r.set(4, 2, drain);
        r.fill(5, 4, 6, 4, wTop);
        r.fill(5, 5, 6, 5, water);
        r.fill(1, 1, 3, 1, pipe);
        break;
    }
    if (p.ladderCol >= 0) r.fill(p.ladderCol, 0, p.ladderCol, 3, ladder);
    if (p.leftWall) r.fill(0, 0, 0, 5, brick);
    if (p.rightWall) r.fill(7, 0, 7, 5, brick);
    return r;
}

// ---- riverbank and dam -----------------------------------------------------------------------

inline std::vector<Room> riverbankRooms(const Theme& t) {
    const uint8_t open = t.id("open"), cl = t.id("cloud_0_0"), cr = t.id("cloud_1_0");
    const uint8_t grass = t.id("grass_top"), dirt = t.id("dirt"), wTop = t.id("water_top"), water = t.id("water");
    const uint8_t jetty = t.id("jetty"), scaffold = t.id("scaffold"), rock = t.id("rock");
    const uint8_t conc = t.id("concrete"), concTop = t.id("concrete_top"), outlet = t.id("outlet"), grate = t.id("grate");
    const uint8_t sign = t.id("sign"), ladder = t.id("ladder"), reedTop = t.id("weed_top");
    auto bank = [&]() {
        Room r(6, open);
        r.row(4, grass);
        r.row(5, dirt);
        return r;
    };
    auto river = [&](Room& r, int c0, int c1) {
        r.fill(c0, 4, c1, 4, wTop);
        r.fill(c0, 5, c1, 5, water);
    };
    std::vector<Room> rooms;
    {
        Room r = bank();
        r.set(1, 0, cl);
        r.set(2, 0, cr);
        r.fill(3, 2, 4, 2, scaffold);
        r.set(6, 3, rock);
        rooms.push_back(r);
    }
    {
        Room r = bank();
        river(r, 2, 5);
        r.fill(3, 4, 4, 4, jetty);
        r.set(5, 1, cl);
        r.set(6, 1, cr);
        rooms.push_back(r);
    }
    {
        Room r = bank();
        r.set(2, 3, sign);
        r.set(5, 3, concTop);
        r.set(6, 3, concTop);
        r.set(0, 0, cl);
        r.set(1, 0, cr);
        rooms.push_back(r);
    }
    {
        Room r = bank();
        river(r, 0, 6);
        r.fill(1, 4, 2, 4, jetty);
        r.set(5, 4, jetty);
        r.fill(2, 2, 3, 2, scaffold);
        r.set(4, 0, cl);
        r.set(5, 0, cr);
        rooms.push_back(r);
    }
    {
        Room r = bank();
        r.set(1, 3, reedTop);
        r.set(2, 3, reedTop);
        r.set(5, 3, rock);
        r.set(3, 1, cl);
        r.set(4, 1, cr);
        rooms.push_back(r);
    }
    {
        Room r = bank();
        r.fill(4, 0, 7, 0, grate);
        r.fill(4, 1, 7, 1, concTop);
        r.fill(4, 2, 7, 5, conc);
        r.set(5, 3, outlet);
        r.set(6, 2, sign);
        r.fill(3, 1, 3, 3, ladder);
        r.set(0, 0, cl);
        r.set(1, 0, cr);
        rooms.push_back(r);
    }
    return rooms;
}

// The flooded dam, four rooms across and three down.
inline std::vector<Room> damRooms(const Theme& t) {
    const uint8_t open = t.id("open"), conc = t.id("concrete"), concTop = t.id("concrete_top");
    const uint8_t sandTop = t.id("sand_top"), sand = t.id("sand"), rock = t.id("rock"), outlet = t.id("outlet");
    const uint8_t weedTop = t.id("weed_top"), weed = t.id("weed"), hang = t.id("weed_hang"), grate = t.id("grate");
    const uint8_t bub = t.id("bubbles"), bub2 = t.id("bubbles2"), sign = t.id("sign");
    std::vector<Room> rooms;
    for (int gy = 0; gy < 3; ++gy)
        for (int gx = 0; gx < 4; ++gx) {
            Rng rng(static_cast<uint32_t>(1000 + gy * 4 + gx));
            Room r(6, open);
            if (gy == 0) {
                r.row(0, conc);
                for (int c = 0; c < 8; ++c)
                    if (rng.range(0, 2) == 0) r.set(c, 1, hang);
            }
            if (gy == 2) {
                r.row(4, sandTop);
                r.row(5, sand);
                for (int c = 0; c < 8; ++c) {
                    int k = rng.range(0, 5);
                    if (k == 0) {
                        r.set(c, 2, weedTop);
                        r.set(c, 3, weed);
                    } else if (k == 1) {
                        r.set(c, 3, weedTop);
                    } else if (k == 2) {
                        r.set(c, 3, rock);
                    }
                }
            }
            if (gy == 1) {
                // A concrete shelf with weed on it, at a height that varies across the dam.
                int row = 2 + (gx & 1);
                int c0 = rng.range(0, 3), c1 = c0 + rng.range(2, 4);
                r.fill(c0, row, c1, row, concTop);
                r.fill(c0, row + 1, c1, row + 1, conc);
                if (c1 > c0 + 1) r.set(c0 + 1, row - 1, weedTop);
                r.set(c1, row + 1, outlet);
            }
            if (gy == 0 && gx > 0 && gx < 3) {
                r.fill(3, 3, 5, 3, grate);
                r.set(4, 2, sign);
            }
            for (int k = 0; k < 3; ++k) {
                int c = rng.range(0, 7), w = rng.range(1, 4);
                if (r.get(c, w) == open) r.set(c, w, (k & 1) ? bub : bub2);
            }
            if (gx == 0) {
                r.fill(0, 0, 0, 5, conc);
                if (gy < 2) r.set(0, 2, outlet);
            }
            if (gx == 3) r.fill(7, 0, 7, 5, conc);
            rooms.push_back(r);
        }
    return rooms;
}

// ---- rooftops --------------------------------------------------------------------------------

// A strip of rooftops `rooms` screens long, cut into rooms; buildings of varied height with gaps.
inline std::vector<Room> rooftopRooms(const Theme& t, int roomCount, uint32_t seed, bool moon) {
    const uint8_t night = t.id("night"), stars = t.id("stars"), stars2 = t.id("stars2"), moonB = t.id("moon");
    const uint8_t skyTop = t.id("skyline_top"), skyline = t.id("skyline");
    const uint8_t edge = t.id("roof_edge"), win = t.id("wall_win"), win2 = t.id("wall_win2");
    const uint8_t bEdge = t.id("brick_edge"), bWall = t.id("brick_wall"), bWin = t.id("brick_win");
    const uint8_t antenna = t.id("antenna"), chimney = t.id("chimney"), ac = t.id("ac_unit"), beam = t.id("beam");
    const uint8_t beamLow = t.id("beam_low"), beamMid = t.id("beam_mid");
    const uint8_t ladder = t.id("ladder"), spikes = t.id("spikes");
    const uint8_t tank[4] = {t.id("tank_0_0"), t.id("tank_1_0"), t.id("tank_0_1"), t.id("tank_1_1")};
    const uint8_t sign[2] = {t.id("sign_0_0"), t.id("sign_1_0")};
    const int W = roomCount * 8;
    std::vector<std::vector<uint8_t>> g(6, std::vector<uint8_t>(static_cast<size_t>(W), night));
    Rng rng(seed);
    for (int x = 0; x < W; ++x) {
        g[0][static_cast<size_t>(x)] = rng.range(0, 3) == 0 ? stars : night;
        g[1][static_cast<size_t>(x)] = rng.range(0, 4) == 0 ? stars2 : night;
        g[2][static_cast<size_t>(x)] = rng.range(0, 6) == 0 ? stars : night;
        g[3][static_cast<size_t>(x)] = skyTop;
        g[4][static_cast<size_t>(x)] = skyline;
        g[5][static_cast<size_t>(x)] = skyline;
    }
    if (moon) g[0][6] = moonB;
    int x = 0, prevRoof = 3;
    bool first = true;
    while (x < W) {
        int width = first ? 6 : rng.range(3, 7);
        int roof = first ? 3 : rng.range(2, 4);
        if (x + width > W) width = W - x;
        bool brickHouse = rng.range(0, 2) == 0;
        for (int c = x; c < x + width; ++c) {
            g[static_cast<size_t>(roof)][static_cast<size_t>(c)] = brickHouse ? bEdge : edge;
            for (int w = roof + 1; w < 6; ++w)
                g[static_cast<size_t>(w)][static_cast<size_t>(c)] = brickHouse ? (((c + w) & 1) ? bWin : bWall) : (((c * 3 + w) % 4 == 0) ? win2 : win);
        }
        // Something on the roof.
        int k = rng.range(0, 5);
        int c = x + rng.range(0, std::max(0, width - 2));
        if (roof >= 2 && k == 0 && width >= 2 && c + 1 < x + width) {
            g[static_cast<size_t>(roof - 2)][static_cast<size_t>(c)] = tank[0];
            g[static_cast<size_t>(roof - 2)][static_cast<size_t>(c + 1)] = tank[1];
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c)] = tank[2];
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c + 1)] = tank[3];
        } else if (k == 1) {
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c)] = antenna;
        } else if (k == 2) {
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c)] = chimney;
        } else if (k == 3 && c + 1 < x + width) {
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c)] = sign[0];
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c + 1)] = sign[1];
        } else if (k == 4) {
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(c)] = ac;
        } else if (width >= 4) {
            g[static_cast<size_t>(roof - 1)][static_cast<size_t>(x + width - 2)] = spikes;
        }
        // A ladder up from a lower roof to a higher neighbour.
        if (!first && roof < prevRoof && x > 0) {
            for (int w = roof; w < prevRoof; ++w) g[static_cast<size_t>(w)][static_cast<size_t>(x)] = ladder;
        }
        x += width;
        prevRoof = roof;
        first = false;
        if (x >= W) break;
        int gap = rng.range(1, 2);
        if (x + gap >= W) gap = W - x;
        if (rng.range(0, 1) == 0)
            for (int c2 = x; c2 < x + gap; ++c2) g[static_cast<size_t>(roof)][static_cast<size_t>(c2)] = roof >= 4 ? beamLow : (roof == 3 ? beamMid : beam);
        x += gap;
    }
    std::vector<Room> rooms;
    for (int rm = 0; rm < roomCount; ++rm) {
        Room r(6);
        for (int w = 0; w < 6; ++w)
            for (int c = 0; c < 8; ++c) r.set(c, w, g[static_cast<size_t>(w)][static_cast<size_t>(rm * 8 + c)]);
        rooms.push_back(r);
    }
    return rooms;
}

// Rooms whose block numbers are scrambled, as a stage broken in the game data would show.
inline Room scrambledRoom(const Room& base, int maxBlock, uint32_t seed) {
    Room r = base;
    Rng rng(seed);
    for (int w = 0; w < 6; ++w)
        for (int c = 0; c < 8; ++c)
            if (rng.range(0, 2) != 0) r.set(c, w, static_cast<uint8_t>(rng.range(0, maxBlock - 1)));
    return r;
}

// ---- warehouse: two shafts side by side, three rooms deep ---------------------------------------

inline std::vector<Room> warehouseRooms(const Theme& t) {
    const uint8_t dark = t.id("dark"), wall = t.id("wall"), wallTop = t.id("wall_top"), window = t.id("window");
    const uint8_t floor = t.id("floor"), crate = t.id("crate"), barrel = t.id("barrel"), girder = t.id("girder");
    const uint8_t column = t.id("column"), ladder = t.id("ladder"), lamp = t.id("lamp"), chain = t.id("chain");
    const uint8_t spikes = t.id("spikes"), conveyor = t.id("conveyor"), doorT = t.id("door_0_0"), doorB = t.id("door_0_1");
    const uint8_t brick = t.id("brick");
    auto base = [&]() { return Room(6, wall); };
    std::vector<Room> rooms;
    {  // top left
        Room r = base();
        r.row(0, wallTop);
        r.set(3, 1, window);
        r.set(5, 1, lamp);
        r.fill(0, 3, 3, 3, girder);
        r.fill(2, 3, 2, 5, ladder);
        r.set(6, 1, chain);
        r.set(6, 2, chain);
        r.fill(0, 0, 0, 5, brick);
        rooms.push_back(r);
    }
    {  // top right
        Room r = base();
        r.row(0, wallTop);
        r.set(1, 1, window);
        r.set(4, 1, window);
        r.set(2, 1, lamp);
        r.fill(4, 4, 7, 4, girder);
        r.fill(5, 4, 5, 5, ladder);
        r.fill(7, 0, 7, 5, dark);
        r.set(7, 2, column);
        rooms.push_back(r);
    }
    {  // middle left
        Room r = base();
        r.fill(2, 0, 2, 5, ladder);
        r.fill(3, 3, 6, 3, girder);
        r.set(4, 2, crate);
        r.set(5, 2, crate);
        r.set(6, 0, chain);
        r.set(6, 1, chain);
        r.set(4, 0, column);
        r.set(4, 1, column);
        r.fill(0, 0, 0, 5, brick);
        rooms.push_back(r);
    }
    {  // middle right
        Room r = base();
        r.fill(5, 0, 5, 5, ladder);
        r.fill(0, 2, 3, 2, girder);
        r.set(1, 1, barrel);
        r.set(3, 0, lamp);
        r.fill(7, 0, 7, 5, dark);
        r.set(7, 3, column);
        r.set(7, 4, column);
        r.set(6, 4, spikes);
        rooms.push_back(r);
    }
    {  // bottom left
        Room r = base();
        r.fill(2, 0, 2, 3, ladder);
        r.row(4, floor);
        r.row(5, floor);
        r.set(4, 3, crate);
        r.set(5, 3, crate);
        r.set(5, 2, crate);
        r.set(6, 3, barrel);
        r.set(1, 2, doorT);
        r.set(1, 3, doorB);
        r.fill(0, 0, 0, 5, brick);
        rooms.push_back(r);
    }
    {  // bottom right
        Room r = base();
        r.fill(5, 0, 5, 3, ladder);
        r.row(4, floor);
        r.row(5, floor);
        r.fill(0, 3, 3, 3, conveyor);
        r.set(6, 3, spikes);
        r.set(2, 1, lamp);
        r.fill(7, 0, 7, 5, brick);
        rooms.push_back(r);
    }
    return rooms;
}

// ---- world map --------------------------------------------------------------------------------

// The overhead city: a 24x16 block map (three world screens across, two down).
inline std::vector<Room> worldRooms(const Theme& t, int screensAcross, int screensDown) {
    const int W = screensAcross * 8, H = screensDown * 8;
    const uint8_t grass = t.id("grass"), tree = t.id("tree"), trees = t.id("trees"), water = t.id("water");
    const uint8_t bankGW = t.id("bank_gw"), bankWG = t.id("bank_wg"), roadH = t.id("road_h"), roadV = t.id("road_v");
    const uint8_t roadX = t.id("road_x"), man = t.id("manhole"), bridgeH = t.id("bridge_h"), plaza = t.id("plaza");
    const uint8_t parking = t.id("parking"), house = t.id("house");
    const uint8_t roof[4] = {t.id("roof_0_0"), t.id("roof_1_0"), t.id("roof_0_1"), t.id("roof_1_1")};
    std::vector<std::vector<uint8_t>> g(static_cast<size_t>(H), std::vector<uint8_t>(static_cast<size_t>(W), grass));
    auto at = [&](int x, int y) -> uint8_t& { return g[static_cast<size_t>(y)][static_cast<size_t>(x)]; };
    const int riverX = 10;
    const std::vector<int> roadRows = {3, 12}, roadCols = {4, 16, 21};
    // Roads, the river and the riverside park come first; city blocks fill what is left.
    std::vector<std::vector<bool>> taken(static_cast<size_t>(H), std::vector<bool>(static_cast<size_t>(W), false));
    auto take = [&](int x, int y) { taken[static_cast<size_t>(y)][static_cast<size_t>(x)] = true; };
    auto isFree = [&](int x, int y) { return x >= 0 && y >= 0 && x < W && y < H && !taken[static_cast<size_t>(y)][static_cast<size_t>(x)]; };
    for (int y = 0; y < H; ++y) {
        at(riverX - 1, y) = bankGW;
        at(riverX, y) = water;
        at(riverX + 1, y) = bankWG;
        for (int x = riverX - 1; x <= riverX + 1; ++x) take(x, y);
    }
    for (int y : roadRows)
        for (int x = 0; x < W; ++x) {
            at(x, y) = (x >= riverX - 1 && x <= riverX + 1) ? bridgeH : roadH;
            take(x, y);
        }
    for (int x : roadCols)
        for (int y = 0; y < H; ++y) {
            at(x, y) = roadV;
            take(x, y);
        }
    for (int y : roadRows)
        for (int x : roadCols) at(x, y) = roadX;
    for (int y = 5; y < 11; ++y)
        for (int x = riverX - 4; x < riverX - 1; ++x) {
            at(x, y) = (x + y) % 3 == 0 ? tree : grass;
            take(x, y);
        }
    at(riverX - 3, 7) = plaza;
    Rng rng(4242);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!isFree(x, y)) continue;
            int k = rng.range(0, 9);
            if (k < 5 && isFree(x + 1, y) && isFree(x, y + 1) && isFree(x + 1, y + 1)) {
                at(x, y) = roof[0];
                at(x + 1, y) = roof[1];
                at(x, y + 1) = roof[2];
                at(x + 1, y + 1) = roof[3];
                take(x + 1, y);
                take(x, y + 1);
                take(x + 1, y + 1);
            } else if (k < 7) {
                at(x, y) = house;
            } else if (k == 7) {
                at(x, y) = trees;
            } else if (k == 8) {
                at(x, y) = tree;
            } else {
                at(x, y) = isFree(x + 1, y) ? parking : grass;
            }
            take(x, y);
        }
    at(7, 3) = man;
    at(19, 12) = man;
    at(2, 12) = man;
    std::vector<Room> rooms;
    for (int sy = 0; sy < screensDown; ++sy)
        for (int sx = 0; sx < screensAcross; ++sx) {
            Room r(8);
            for (int w = 0; w < 8; ++w)
                for (int c = 0; c < 8; ++c) r.set(c, w, at(sx * 8 + c, sy * 8 + w));
            rooms.push_back(r);
        }
    return rooms;
}

}  // namespace demo

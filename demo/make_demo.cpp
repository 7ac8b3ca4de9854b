// Writes the demo ROM and its data file, so a fresh build has something real to open without any
// commercial ROM. Usage: quillborn-demo-gen ROM-PATH DATA-FILE-PATH
//
// Layout of the PRG banks (file offset = 16 + bank x 0x4000):
//   bank 0-2  room data of levels 1-3 (one bank per level), and their room pointers
//   bank 3    stage TSA and attribute tables (the game reads them from this bank only)
//   bank 4    world-map rooms, TSA and attribute tables
//   bank 5    enemy pointer tables and the enemy region, special objects, sprite changes, enemy sets
//   bank 6    per-stage TSA tables of level 2, boss/exit/entrance data
//   bank 7    the fixed bank ($C000): scroll data, palettes, pattern-table and palette-number bytes,
//             solidity tables, the signature and the reset stub
// The output is the same on every run.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "rooms.h"
#include "sprites.h"

namespace demo {

constexpr int kHeader = 16;
constexpr int kBank = 0x4000;
constexpr int kPRGBanks = 8;
constexpr int kCHRBanks = 16;
constexpr int kPages = 2 * kCHRBanks;
constexpr int kPRGEnd = kHeader + kPRGBanks * kBank;
constexpr int kROMSize = kPRGEnd + kCHRBanks * 0x2000;

inline int bankStart(int bank) { return kHeader + bank * kBank; }
inline int bankOf(int offset) { return offset < kHeader ? 0 : (offset - kHeader) / kBank; }
inline int pageOffset(int page) { return kPRGEnd + page * 0x1000; }

// ---------------------------------------------------------------------------------------------
// The ROM being built: bump allocation per PRG bank with overlap detection, and a record of every
// pointer written so that each can be re-read afterwards the way the editor reads it.

class RomBuilder {
public:
    RomBuilder() : data_(kROMSize, 0xFF), used_(kROMSize, false) {
        for (int b = 0; b < kPRGBanks; ++b) cursor_[static_cast<size_t>(b)] = bankStart(b);
        const uint8_t header[16] = {'N', 'E', 'S', 0x1A, kPRGBanks, kCHRBanks, 0x11, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
        std::copy(header, header + 16, data_.begin());
        std::fill(used_.begin(), used_.begin() + kHeader, true);
        std::fill(data_.begin() + kPRGEnd, data_.end(), 0);
    }

    int alloc(int bank, int size, const std::string& what) {
        int off = cursor_[static_cast<size_t>(bank)];
        if (off + size > bankStart(bank) + kBank) fail("PRG bank " + std::to_string(bank) + " is full at " + what);
        claim(off, size, what);
        cursor_[static_cast<size_t>(bank)] = off + size;
        return off;
    }
    int place(int bank, const std::vector<uint8_t>& bytes, const std::string& what) {
        int off = alloc(bank, static_cast<int>(bytes.size()), what);
        write(off, bytes);
        return off;
    }
    // Marks bytes at a fixed place as taken; fails when two structures would overlap.
    void claim(int off, int size, const std::string& what) {
        if (off < kHeader || off + size > kPRGEnd) fail(what + " lies outside PRG-ROM");
        for (int i = off; i < off + size; ++i) {
            if (used_[static_cast<size_t>(i)]) fail(what + " overlaps another structure at " + hex(i));
            used_[static_cast<size_t>(i)] = true;
        }
    }
    void write(int off, const std::vector<uint8_t>& bytes) {
        for (size_t i = 0; i < bytes.size(); ++i) data_.at(static_cast<size_t>(off) + i) = bytes[i];
    }
    void put8(int off, uint8_t v) { data_.at(static_cast<size_t>(off)) = v; }
    uint8_t get8(int off) const { return data_.at(static_cast<size_t>(off)); }

    // Stores a pointer to `target` at `at`. With bankOffset 0 the target must share the
    // pointer's bank; otherwise it must lie in the bank that starts at bankOffset.
    void pointer(int at, int target, int cpuBase, int bankOffset, const std::string& what) {
        int bank = bankOffset ? bankOf(bankOffset) : bankOf(at);
        if (bankOf(target) != bank || target < kHeader || target >= kPRGEnd)
            fail(what + ": target " + hex(target) + " is not in PRG bank " + std::to_string(bank));
        int value = (target - kHeader) % kBank + cpuBase;
        put8(at, static_cast<uint8_t>(value & 0xFF));
        put8(at + 1, static_cast<uint8_t>(value >> 8));
        // A rewritten pointer (a screen that ends up sharing the previous terminator) replaces
        // its earlier record.
        std::erase_if(pointers_, [at](const PointerRecord& r) { return r.at == at; });
        pointers_.push_back({at, bankOffset, cpuBase, target, what});
    }
    // The editor's pointer reading: value - CPU base + bank x 0x4000 + 16.
    int readPointer(int at, int bankOffset, int cpuBase) const {
        int value = get8(at) + 256 * get8(at + 1);
        int base = bankOffset ? bankOffset : at;
        int bank = (base - kHeader) / kBank;
        if (base < kHeader) bank = 0;
        return value - cpuBase + bank * kBank + kHeader;
    }
    void verifyPointers() const {
        for (const auto& p : pointers_) {
            int got = readPointer(p.at, p.bankOffset, p.cpuBase);
            if (got != p.target) fail("self-check: pointer " + p.what + " at " + hex(p.at) + " reads " + hex(got) + ", expected " + hex(p.target));
        }
    }
    size_t pointerCount() const { return pointers_.size(); }
    int freeBytes(int bank) const { return bankStart(bank) + kBank - cursor_[static_cast<size_t>(bank)]; }
    const std::vector<uint8_t>& bytes() const { return data_; }
    std::vector<uint8_t>& bytes() { return data_; }

    static std::string hex(int v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", v);
        return buf;
    }

private:
    struct PointerRecord {
        int at, bankOffset, cpuBase, target;
        std::string what;
    };
    std::vector<uint8_t> data_;
    std::vector<bool> used_;
    std::array<int, kPRGBanks> cursor_{};
    std::vector<PointerRecord> pointers_;
};

// ---------------------------------------------------------------------------------------------
// What the demo contains.

// Special-object kinds (named in Data/specobj.dat).
enum ObjKind : uint8_t {
    PizzaSlice = 0x00, HalfPizza, WholePizza, Missiles, Scroll, Boomerangs, Rope, Shurikens,
    Invincibility, DamBomb, ExtraTurtle, BossDoor,
};

struct EnemyRec {
    int screen, x, y;
    uint8_t flags;
};
struct ObjRec {
    uint8_t screen, kind, x;
    int y;
    std::array<uint8_t, 4> extra;
};

struct StageSpec {
    std::string name;
    const Theme* theme = nullptr;
    int table = -1;  // index into the stage TSA tables
    StageGrid grid;
    uint8_t bgPage = 0, sprPage = 0, palette = 0;
    std::array<uint8_t, 4> spriteChanges{};
    bool ownTSA = false;  // Stage<m>TSA / Stage<m>Attribute
    int ownTSABank = 0;   // where that stage's own pointers lie
    bool glitched = false;
    uint8_t maxTiles = 0;
    std::vector<EnemyRec> enemies;
    std::vector<ObjRec> objects;
};

enum class TSAForm { LevelPointer, PerStage };

struct LevelSpec {
    std::string name;
    int roomBank = 0;
    std::vector<Room> rooms;
    std::vector<StageSpec> stages;
    TSAForm form = TSAForm::LevelPointer;
    int levelTable = -1;  // for the level-wide form
    int levelPointerBank = 0;
    uint8_t maxTiles = 0;
    int damStage = -1;
    bool worldMap = false;
};

inline EnemyRec E(int screen, int x, int y, int slot, uint8_t high = 0x80) {
    return EnemyRec{screen, x, y, static_cast<uint8_t>(high | (slot & 7))};
}
inline ObjRec O(int screen, uint8_t kind, int x, int y, std::array<uint8_t, 4> extra = {0, 0, 0, 0}) {
    return ObjRec{static_cast<uint8_t>(screen), kind, static_cast<uint8_t>(x), y, extra};
}

// Palette table: three colours for each of four sub-palettes; colour 0 is always black ($0F).
inline const std::vector<std::array<uint8_t, 12>>& paletteTable() {
    static const std::vector<std::array<uint8_t, 12>> table = {
        {0x11, 0x21, 0x31, 0x0A, 0x1A, 0x2A, 0x00, 0x10, 0x30, 0x06, 0x16, 0x27},  // 00 world map
        {0x21, 0x30, 0x11, 0x21, 0x16, 0x27, 0x21, 0x1A, 0x17, 0x21, 0x00, 0x28},  // 01 street by day
        {0x08, 0x11, 0x21, 0x08, 0x18, 0x28, 0x08, 0x1A, 0x2A, 0x08, 0x10, 0x20},  // 02 sewer
        {0x26, 0x37, 0x02, 0x26, 0x06, 0x17, 0x26, 0x0A, 0x07, 0x26, 0x00, 0x38},  // 03 street at dusk
        {0x21, 0x30, 0x11, 0x21, 0x00, 0x10, 0x21, 0x2A, 0x1A, 0x21, 0x07, 0x17},  // 04 riverbank
        {0x0C, 0x2C, 0x1C, 0x0C, 0x00, 0x10, 0x0C, 0x25, 0x15, 0x0C, 0x08, 0x18},  // 05 flooded dam
        {0x07, 0x1B, 0x2B, 0x07, 0x17, 0x27, 0x07, 0x1A, 0x2A, 0x07, 0x10, 0x20},  // 06 sewer, green water
        {0x0C, 0x30, 0x38, 0x06, 0x16, 0x26, 0x00, 0x10, 0x28, 0x0C, 0x1C, 0x2C},  // 07 rooftops by night
        {0x2D, 0x17, 0x27, 0x2D, 0x00, 0x10, 0x2D, 0x16, 0x26, 0x2D, 0x10, 0x38},  // 08 warehouse
        {0x14, 0x3C, 0x05, 0x19, 0x24, 0x0B, 0x1C, 0x27, 0x03, 0x15, 0x3A, 0x06},  // 09 broken colours
        {0x03, 0x34, 0x36, 0x07, 0x17, 0x27, 0x00, 0x10, 0x37, 0x03, 0x11, 0x21},  // 0A rooftops at dawn
        {0x02, 0x10, 0x0C, 0x02, 0x06, 0x17, 0x02, 0x0A, 0x07, 0x02, 0x00, 0x28},  // 0B street by night
        {0x06, 0x16, 0x26, 0x06, 0x17, 0x27, 0x06, 0x18, 0x28, 0x06, 0x10, 0x20},  // 0C sewer, red light
        {0x0A, 0x1A, 0x2A, 0x0A, 0x00, 0x10, 0x0A, 0x24, 0x14, 0x0A, 0x07, 0x17},  // 0D murky water
        {0x1D, 0x20, 0x30, 0x07, 0x17, 0x27, 0x00, 0x10, 0x38, 0x1D, 0x2D, 0x3D},  // 0E rooftops in a storm
        {0x1D, 0x12, 0x22, 0x1D, 0x00, 0x10, 0x1D, 0x02, 0x12, 0x1D, 0x10, 0x38},  // 0F warehouse, blue
        {0x16, 0x27, 0x30, 0x12, 0x22, 0x30, 0x1A, 0x2A, 0x30, 0x00, 0x10, 0x30},  // 10 title
        {0x00, 0x10, 0x20, 0x0C, 0x1C, 0x2C, 0x06, 0x16, 0x26, 0x08, 0x18, 0x28},  // 11 machine base
        {0x01, 0x11, 0x21, 0x09, 0x19, 0x29, 0x2D, 0x00, 0x10, 0x07, 0x17, 0x27},  // 12 world map by night
        {0x21, 0x30, 0x32, 0x21, 0x10, 0x30, 0x21, 0x1B, 0x2B, 0x21, 0x00, 0x20},  // 13 snow
        {0x07, 0x17, 0x27, 0x08, 0x18, 0x28, 0x0A, 0x1A, 0x2A, 0x1D, 0x00, 0x10},  // 14 cave
        {0x27, 0x37, 0x16, 0x27, 0x06, 0x16, 0x27, 0x0A, 0x19, 0x27, 0x07, 0x17},  // 15 sunset
        {0x00, 0x10, 0x20, 0x00, 0x10, 0x20, 0x00, 0x10, 0x20, 0x00, 0x10, 0x20},  // 16 greys
    };
    return table;
}

// Enemy sets: eight type codes per sprite page (the editor shows six; the game may read eight).
inline std::array<std::array<uint8_t, 8>, kPages> enemySets() {
    std::array<std::array<uint8_t, 8>, kPages> s{};
    s[0x00] = {FootSoldier, Mouser, FootGunner, RollerCar, SewerBat, JetFoot, BuzzDrone, FireFreak};
    s[0x01] = {FootSoldier, FootGunner, RollerCar, JetFoot, BombDropper, NinjaHound, BuzzDrone, Mouser};
    s[0x02] = {Mouser, SewerBat, SludgeBlob, WallCrawler, SewerEel, FootSoldier, FireFreak, SpiderBot};
    s[0x03] = {FootSoldier, FireFreak, RollerCar, BarrelBot, BuzzDrone, Mouser, JetFoot, FootGunner};
    s[0x04] = {FrogTrooper, SnapperPlant, BuzzDrone, FootSoldier, ClawCrab, JetFoot, SewerEel, BombDropper};
    s[0x05] = {ElectricJelly, SewerEel, ClawCrab, SpiderBot, BombDropper, LaserTurret, SludgeBlob, FrogTrooper};
    s[0x06] = {Mouser, SludgeBlob, SewerBat, SpiderBot, WallCrawler, FireFreak, SewerEel, FootSoldier};
    s[0x07] = {FootSoldier, JetFoot, BuzzDrone, NinjaHound, StoneWarrior, HoverTank, FootGunner, BombDropper};
    s[0x08] = {BarrelBot, LaserTurret, FootGunner, SpiderBot, RockSoldier, Mouser, FootSoldier, HoverTank};
    s[0x09] = {StoneWarrior, ElectricJelly, RollerCar, SnapperPlant, WallCrawler, BrainWalker, RockSoldier, FireFreak};
    s[0x0A] = {FootSoldier, NinjaHound, BuzzDrone, JetFoot, BombDropper, StoneWarrior, FootGunner, HoverTank};
    s[0x0B] = {BigMouser, Mouser, FootSoldier, SewerBat, RhinoBrute, WarthogBrute, SludgeBlob, FireFreak};
    s[0x0C] = {ArmoredMaster, BrainWalker, FootSoldier, FootGunner, HoverTank, LaserTurret, RockSoldier, StoneWarrior};
    // Background and title pages carry a plain foot-soldier set so every page has one.
    for (int p = 0x0D; p <= 0x13; ++p) s[static_cast<size_t>(p)] = {FootSoldier, FootGunner, Mouser, RollerCar, SewerBat, JetFoot, FootSoldier, Mouser};
    // The spare sprite pages mix all kinds, six different types each.
    for (int p = 0x14; p < kPages; ++p) {
        Rng rng(static_cast<uint32_t>(700 + p));
        std::vector<uint8_t> chosen;
        while (chosen.size() < 8) {
            auto t = static_cast<uint8_t>(rng.range(0, EnemyTypeCount - 1));
            if (std::find(chosen.begin(), chosen.end(), t) == chosen.end() || chosen.size() >= 6) chosen.push_back(t);
        }
        std::copy(chosen.begin(), chosen.end(), s[static_cast<size_t>(p)].begin());
    }
    return s;
}

// Page numbers.
constexpr uint8_t kPageTurtles = 0x00;
constexpr uint8_t kPageCity = 0x0D, kPageSewer = 0x0E, kPageDam = 0x0F, kPageRooftop = 0x10;
constexpr uint8_t kPageWorld = 0x11, kPageWarehouse = 0x12, kPageTitle = 0x13;
constexpr uint8_t kFirstSolidityPage = 0x0D;
constexpr uint8_t kWorldPalette = 0x00;

struct World {
    int width = 3, height = 2;
    std::vector<Room> rooms;
};

// ---------------------------------------------------------------------------------------------
// The data file, written as text and read back for the self-check.

class DataFile {
public:
    void section(const std::string& name) {
        if (!text_.empty()) text_ += "\n";
        text_ += "[" + name + "]\n";
    }
    void hexKey(const std::string& key, int value) {
        if (value < 0) fail("negative value for " + key);
        text_ += key + "=" + RomBuilder::hex(value) + "\n";
    }
    void decKey(const std::string& key, int value) { text_ += key + "=" + std::to_string(value) + "\n"; }
    void comment(const std::string& c) { text_ += "; " + c + "\n"; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// A strict reader: keys match without regard to case, hex values must be bare hex digits.
class IniReader {
public:
    explicit IniReader(const std::string& text) {
        std::istringstream in(text);
        std::string line, sec;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == ';') continue;
            if (line.front() == '[') {
                sec = lower(line.substr(1, line.find(']') - 1));
                continue;
            }
            auto eq = line.find('=');
            if (eq == std::string::npos) fail("self-check: data file line without '=': " + line);
            values_[sec][lower(line.substr(0, eq))] = line.substr(eq + 1);
        }
    }
    bool has(const std::string& sec, const std::string& key) const {
        auto s = values_.find(lower(sec));
        return s != values_.end() && s->second.count(lower(key));
    }
    int hexValue(const std::string& sec, const std::string& key) const {
        if (!has(sec, key)) return 0;
        const std::string& v = values_.at(lower(sec)).at(lower(key));
        if (v.empty() || v.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
            fail("self-check: [" + sec + "] " + key + " is not bare hexadecimal: " + v);
        return static_cast<int>(std::stol(v, nullptr, 16));
    }
    int decValue(const std::string& sec, const std::string& key, int def) const {
        if (!has(sec, key)) return def;
        const std::string& v = values_.at(lower(sec)).at(lower(key));
        if (v.empty() || v.find_first_not_of("0123456789") != std::string::npos) fail("self-check: [" + sec + "] " + key + " is not decimal: " + v);
        return std::stoi(v);
    }

private:
    static std::string lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::map<std::string, std::map<std::string, std::string>> values_;
};

// ---------------------------------------------------------------------------------------------
// Enemy packing, exactly as the editor's save packs it, so that opening and saving the demo
// leaves the enemy region unchanged.

inline int packEnemies(RomBuilder& rom, int start, const std::vector<std::pair<int, const StageSpec*>>& stages, const std::string& tag) {
    int p = start;
    for (const auto& [enemyPointer, st] : stages) {
        rom.pointer(enemyPointer, p, 0x8000, 0, tag + " " + st->name + " enemy table");
        int table = p;
        int n = st->grid.width * st->grid.height;
        p += 2 * n;
        for (int k = 0; k < n; ++k) {
            rom.pointer(table + 2 * k, p, 0x8000, 0, tag + " " + st->name + " screen " + std::to_string(k) + " enemies");
            bool any = false;
            for (const EnemyRec& e : st->enemies)
                if (e.screen == k) {
                    rom.put8(p, static_cast<uint8_t>(e.x & 0xFF));
                    rom.put8(p + 1, static_cast<uint8_t>((e.y + 16) & 0xFF));
                    rom.put8(p + 2, e.flags);
                    p += 3;
                    any = true;
                }
            if (any || k == 0) {
                rom.put8(p, 0xFF);
                p += 1;
            } else if (rom.get8(p - 1) == 0xFF) {
                rom.pointer(table + 2 * k, p - 1, 0x8000, 0, tag + " " + st->name + " screen " + std::to_string(k) + " shared end");
            }
        }
    }
    return p;
}

// ---------------------------------------------------------------------------------------------

struct Demo {
    RomBuilder rom;
    std::vector<Theme> themes;       // stage themes, in table order
    std::vector<BuiltPage> built;    // their pages
    std::vector<int> tsaAt, attrAt;  // where each table lies (bank 3)
    std::vector<uint8_t> themePage;
    Theme world;
    BuiltPage worldBuilt;
    World worldMap;
    std::vector<LevelSpec> levels;
    DataFile ini;

    // Expected places, filled while writing and compared by the self-check.
    struct StagePlaces {
        int scroll = 0, pat = 0, pal = 0, spriteChange = 0, enemyPtr = 0, objPtr = 0, objList = 0, tsa = 0, attr = 0;
    };
    std::vector<std::vector<StagePlaces>> places;
    std::vector<int> roomBase;
    int worldBase = 0, worldTSA = 0, worldAttr = 0, worldScroll = 0;
    std::vector<int> paletteAt;
    std::array<int, kPages> setAt{};
    std::map<int, int> solidityAt;  // background page -> table
    int startEnemy = 0, endEnemy = 0, totalEnemies = 0;
    int signatureAt = 0;
    const std::string signature = "QUILLBORN DEMO 1";

    void build();
    void design();
    void writeGraphics();
    void writeLevels();
    void writeDataFile();
    void selfCheck() const;
};

void Demo::design() {
    themes = {makeCity(), makeSewer(), makeDam(), makeRooftop(), makeWarehouse()};
    themePage = {kPageCity, kPageSewer, kPageDam, kPageRooftop, kPageWarehouse};
    const Theme& city = themes[0];
    const Theme& sewer = themes[1];
    const Theme& dam = themes[2];
    const Theme& roof = themes[3];
    const Theme& ware = themes[4];
    world = makeWorld();
    worldMap.rooms = worldRooms(world, worldMap.width, worldMap.height);

    // Level 1: the streets, with a world map, one block set for the level and a sewer stage
    // that brings its own.
    {
        LevelSpec L;
        L.name = "Level0";
        L.roomBank = 0;
        L.form = TSAForm::LevelPointer;
        L.levelTable = 0;
        L.levelPointerBank = 0;
        L.maxTiles = static_cast<uint8_t>(city.count());
        L.worldMap = true;
        auto street = addRooms(L.rooms, cityStreetRooms(city));
        std::vector<Room> upper, lower;
        const SewerPlan up[4] = {{6, 0, true, false}, {-1, 1, false, false}, {-1, 2, false, false}, {1, 3, false, true}};
        const SewerPlan down[4] = {{6, 0, true, false}, {-1, 1, false, false}, {-1, 2, false, false}, {1, 3, false, true}};
        for (int k = 0; k < 4; ++k) {
            upper.push_back(sewerUpper(sewer, up[k]));
            lower.push_back(sewerLower(sewer, down[k]));
        }
        auto top = addRooms(L.rooms, upper);
        auto bottom = addRooms(L.rooms, lower);
        auto plaza = addRooms(L.rooms, {cityPlazaRoom(city)});

        StageSpec s0;
        s0.name = "street";
        s0.theme = &city;
        s0.table = 0;
        s0.grid = {8, 1, street};
        s0.bgPage = kPageCity;
        s0.sprPage = 0x01;
        s0.palette = 0x01;
        s0.spriteChanges = {0x0B, 0x03, 0x14, 0x15};
        s0.enemies = {E(0, 0xB0, 112, 0), E(0, 0xD8, 112, 1), E(2, 0x60, 48, 4), E(2, 0xA0, 112, 0, 0x00), E(3, 0x40, 112, 2),
                      E(3, 0xC0, 112, 5), E(3, 0x80, 24, 4, 0xC0), E(5, 0xB0, 48, 0), E(6, 0x30, 112, 3), E(6, 0x90, 112, 1, 0x90),
                      E(7, 0x20, 112, 0), E(7, 0x58, 112, 0)};
        s0.objects = {O(1, PizzaSlice, 0x50, 112), O(4, Scroll, 0x38, 96, {0x01, 0x00, 0x00, 0x00}), O(6, WholePizza, 0xA8, 112)};
        L.stages.push_back(s0);

        StageSpec s1;
        s1.name = "sewer";
        s1.theme = &sewer;
        s1.table = 1;
        s1.ownTSA = true;
        s1.ownTSABank = 2;
        s1.maxTiles = static_cast<uint8_t>(sewer.count());
        std::vector<uint8_t> g(top);
        g.insert(g.end(), bottom.begin(), bottom.end());
        s1.grid = {4, 2, g};
        s1.bgPage = kPageSewer;
        s1.sprPage = 0x02;
        s1.palette = 0x02;
        s1.spriteChanges = {0x06, 0x0B, 0x16, 0x02};
        s1.enemies = {E(0, 0x70, 144, 0), E(1, 0x98, 56, 1), E(1, 0xC0, 144, 2), E(3, 0x90, 80, 3), E(4, 0xA0, 112, 0),
                      E(5, 0x30, 40, 1), E(5, 0xD0, 112, 4, 0x00), E(7, 0x50, 112, 0), E(7, 0x88, 112, 2, 0xA0)};
        s1.objects = {O(2, HalfPizza, 0x20, 48), O(5, Missiles, 0x70, 80, {0x05, 0x00, 0x00, 0x00}), O(6, PizzaSlice, 0xE0, 112)};
        L.stages.push_back(s1);

        StageSpec s2;
        s2.name = "plaza";
        s2.theme = &city;
        s2.table = 0;
        s2.maxTiles = 0x10;
        s2.grid = {1, 1, plaza};
        s2.bgPage = kPageCity;
        s2.sprPage = 0x03;
        s2.palette = 0x03;
        s2.spriteChanges = {0x03, 0x01, 0x17, 0x18};
        s2.enemies = {E(0, 0x40, 112, 1), E(0, 0xC0, 112, 3)};
        L.stages.push_back(s2);
        levels.push_back(std::move(L));
    }
    // Level 2: the river and the dam. Every stage takes its block set from a per-stage table.
    {
        LevelSpec L;
        L.name = "Level1";
        L.roomBank = 1;
        L.form = TSAForm::PerStage;
        L.maxTiles = static_cast<uint8_t>(dam.count());
        L.damStage = 1;
        auto bank = addRooms(L.rooms, riverbankRooms(dam));
        auto flooded = addRooms(L.rooms, damRooms(dam));
        std::vector<Room> sew;
        sew.push_back(sewerUpper(sewer, {5, 1, true, false}));
        sew.push_back(sewerUpper(sewer, {-1, 3, false, true}));
        sew.push_back(sewerLower(sewer, {5, 2, true, false}));
        sew.push_back(sewerLower(sewer, {-1, 1, false, true}));
        auto sewRooms = addRooms(L.rooms, sew);

        StageSpec s0;
        s0.name = "riverbank";
        s0.theme = &dam;
        s0.table = 2;
        s0.grid = {6, 1, bank};
        s0.bgPage = kPageDam;
        s0.sprPage = 0x04;
        s0.palette = 0x04;
        s0.spriteChanges = {0x04, 0x05, 0x19, 0x1A};
        s0.enemies = {E(0, 0xA0, 112, 0), E(1, 0x48, 100, 1), E(1, 0xB8, 40, 2), E(3, 0x60, 120, 5), E(3, 0xE8, 112, 3),
                      E(4, 0x50, 112, 4, 0x00), E(5, 0x40, 112, 0)};
        s0.objects = {O(2, Boomerangs, 0x80, 112), O(4, HalfPizza, 0xC0, 112)};
        L.stages.push_back(s0);

        StageSpec s1;
        s1.name = "dam";
        s1.theme = &dam;
        s1.table = 2;
        s1.grid = {4, 3, flooded};
        s1.bgPage = kPageDam;
        s1.sprPage = 0x05;
        s1.palette = 0x05;
        s1.spriteChanges = {0x05, 0x05, 0x05, 0x05};
        s1.enemies = {E(1, 0x60, 90, 0), E(2, 0xA0, 100, 1), E(5, 0x40, 60, 0), E(5, 0xC0, 120, 2), E(6, 0x80, 40, 3),
                      E(8, 0x50, 112, 2, 0x00), E(9, 0xA0, 60, 0), E(10, 0x30, 112, 5), E(11, 0x70, 80, 1)};
        s1.objects = {O(1, DamBomb, 0x30, 80, {0x00, 0x01, 0x00, 0x00}), O(3, DamBomb, 0xB0, 120, {0x01, 0x01, 0x00, 0x00}),
                      O(6, DamBomb, 0x70, 100, {0x02, 0x01, 0x00, 0x00}), O(9, DamBomb, 0x40, 112, {0x03, 0x01, 0x00, 0x00}),
                      O(11, DamBomb, 0xC0, 112, {0x04, 0x01, 0x00, 0x00}), O(4, WholePizza, 0x60, 40)};
        L.stages.push_back(s1);

        StageSpec s2;
        s2.name = "drain";
        s2.theme = &sewer;
        s2.table = 1;
        s2.maxTiles = static_cast<uint8_t>(sewer.count());
        s2.grid = {2, 2, sewRooms};
        s2.bgPage = kPageSewer;
        s2.sprPage = 0x06;
        s2.palette = 0x06;
        s2.spriteChanges = {0x06, 0x02, 0x1B, 0x0B};
        s2.enemies = {E(0, 0x90, 144, 0), E(2, 0x40, 112, 1), E(3, 0x90, 112, 3)};
        s2.objects = {O(3, PizzaSlice, 0x30, 112)};
        L.stages.push_back(s2);
        levels.push_back(std::move(L));
    }
    // Level 3: the rooftops, with a warehouse that brings its own block set and a broken stage.
    {
        LevelSpec L;
        L.name = "Level2";
        L.roomBank = 2;
        L.form = TSAForm::LevelPointer;
        L.levelTable = 3;
        L.levelPointerBank = 3;
        L.maxTiles = static_cast<uint8_t>(roof.count());
        auto tops = rooftopRooms(roof, 10, 77, true);
        auto topIds = addRooms(L.rooms, tops);
        auto wareIds = addRooms(L.rooms, warehouseRooms(ware));
        auto broken = addRooms(L.rooms, {scrambledRoom(tops[4], roof.count(), 9), scrambledRoom(tops[7], roof.count(), 10)});
        auto dawn = addRooms(L.rooms, rooftopRooms(roof, 2, 31, false));

        StageSpec s0;
        s0.name = "rooftops";
        s0.theme = &roof;
        s0.table = 3;
        s0.grid = {10, 1, topIds};
        s0.bgPage = kPageRooftop;
        s0.sprPage = 0x07;
        s0.palette = 0x07;
        s0.spriteChanges = {0x07, 0x0A, 0x1C, 0x1D};
        s0.enemies = {E(1, 0x50, 40, 2), E(2, 0x80, 20, 0), E(4, 0x30, 30, 1), E(4, 0xB0, 30, 3), E(6, 0x70, 40, 4, 0x00),
                      E(8, 0x40, 30, 0), E(8, 0x90, 30, 5), E(9, 0xC0, 30, 2)};
        s0.objects = {O(3, Shurikens, 0x90, 40), O(7, Invincibility, 0x40, 20, {0x00, 0x00, 0x10, 0x00})};
        L.stages.push_back(s0);

        StageSpec s1;
        s1.name = "warehouse";
        s1.theme = &ware;
        s1.table = 4;
        s1.ownTSA = true;
        s1.ownTSABank = 6;
        s1.maxTiles = static_cast<uint8_t>(ware.count());
        s1.grid = {2, 3, wareIds};
        s1.bgPage = kPageWarehouse;
        s1.sprPage = 0x08;
        s1.palette = 0x08;
        s1.spriteChanges = {0x08, 0x0C, 0x1E, 0x1F};
        s1.enemies = {E(0, 0xA0, 70, 1), E(2, 0x90, 40, 0), E(3, 0x28, 24, 2), E(4, 0xB0, 112, 4), E(5, 0x60, 112, 3), E(5, 0x30, 60, 5, 0x00)};
        s1.objects = {O(1, Rope, 0x40, 96), O(4, ExtraTurtle, 0x70, 64, {0x00, 0x00, 0x00, 0x01}), O(5, BossDoor, 0x20, 96, {0x02, 0x00, 0x00, 0x00})};
        L.stages.push_back(s1);

        StageSpec s2;
        s2.name = "broken";
        s2.theme = &roof;
        s2.table = 3;
        s2.glitched = true;
        s2.grid = {3, 1, {topIds[4], broken[0], broken[1]}};
        s2.bgPage = kPageRooftop;
        s2.sprPage = 0x09;
        s2.palette = 0x09;
        s2.spriteChanges = {0x09, 0x09, 0x09, 0x09};
        s2.enemies = {E(1, 0x70, 60, 5)};
        L.stages.push_back(s2);

        StageSpec s3;
        s3.name = "dawn";
        s3.theme = &roof;
        s3.table = 3;
        s3.grid = {2, 1, dawn};
        s3.bgPage = kPageRooftop;
        s3.sprPage = 0x0A;
        s3.palette = 0x0A;
        s3.spriteChanges = {0x0A, 0x07, 0x0C, 0x14};
        s3.enemies = {E(0, 0xC0, 30, 1), E(1, 0x60, 30, 0)};
        s3.objects = {O(1, WholePizza, 0xA0, 30)};
        L.stages.push_back(s3);
        levels.push_back(std::move(L));
    }
}

void Demo::writeGraphics() {
    // Pattern pages.
    auto& bytes = rom.bytes();
    auto putPage = [&](int page, const std::vector<uint8_t>& chr) {
        if (chr.size() != 4096) fail("page " + std::to_string(page) + " is not 4096 bytes");
        std::copy(chr.begin(), chr.end(), bytes.begin() + pageOffset(page));
    };
    for (const Theme& t : themes) built.push_back(buildPage(t));
    worldBuilt = buildPage(world);
    for (size_t i = 0; i < themes.size(); ++i) putPage(themePage[i], built[i].chr);
    putPage(kPageWorld, worldBuilt.chr);
    putPage(kPageTitle, titlePage());
    putPage(kPageTurtles, turtlePage());
    auto sets = enemySets();
    for (int p = 0; p < kPages; ++p) {
        bool sprite = (p >= 0x01 && p <= 0x0C) || p >= 0x14;
        if (sprite) putPage(p, enemyPage(sets[static_cast<size_t>(p)], sets[static_cast<size_t>(p)][static_cast<size_t>(p % 6)]));
    }

    // Stage TSA and attribute tables in bank 3; world tables in bank 4.
    for (size_t i = 0; i < themes.size(); ++i) {
        tsaAt.push_back(rom.place(3, built[i].tsa, themes[i].name + " TSA"));
        attrAt.push_back(rom.place(3, built[i].attr, themes[i].name + " attributes"));
    }
    worldTSA = rom.place(4, worldBuilt.tsa, "world TSA");
    worldAttr = rom.place(4, worldBuilt.attr, "world attributes");

    // Palettes and their pointer table, in the fixed bank.
    const auto& pals = paletteTable();
    int palTable = rom.alloc(7, 2 * static_cast<int>(pals.size()), "palette pointers");
    for (size_t n = 0; n < pals.size(); ++n) {
        int at = rom.place(7, std::vector<uint8_t>(pals[n].begin(), pals[n].end()), "palette " + std::to_string(n));
        paletteAt.push_back(at);
        rom.pointer(palTable + 2 * static_cast<int>(n), at, 0xC000, 0, "palette " + std::to_string(n));
    }
    ini.section("General");
    ini.decKey("Levels", static_cast<int>(levels.size()));
    ini.hexKey("PalettePointers", palTable);

    // Solidity tables for every page from $0D up (pages without a background share a table).
    int solTable = rom.alloc(7, 2 * (kPages - kFirstSolidityPage), "solidity pointers");
    ini.hexKey("SolidityPointers", solTable);
    int plain = rom.place(7, {0xFF, TEmpty}, "solidity of pages without a background");
    for (int p = kFirstSolidityPage; p < kPages; ++p) {
        int target = plain;
        for (size_t i = 0; i < themes.size(); ++i)
            if (themePage[i] == p) target = rom.place(7, built[i].solidity, themes[i].name + " solidity");
        if (p == kPageWorld) target = rom.place(7, worldBuilt.solidity, "world solidity");
        solidityAt[p] = target;
        rom.pointer(solTable + 2 * (p - kFirstSolidityPage), target, 0xC000, 0x1C010, "solidity of page " + std::to_string(p));
    }

    // Enemy sets, one pointer per pattern page.
    int setTable = rom.alloc(5, 2 * kPages, "enemy set pointers");
    ini.hexKey("EnemiesUsedSprite", setTable);
    for (int p = 0; p < kPages; ++p) {
        const auto& s = sets[static_cast<size_t>(p)];
        setAt[static_cast<size_t>(p)] = rom.place(5, std::vector<uint8_t>(s.begin(), s.end()), "enemy set " + std::to_string(p));
        rom.pointer(setTable + 2 * p, setAt[static_cast<size_t>(p)], 0x8000, 0, "enemy set of page " + std::to_string(p));
    }
}

void Demo::writeLevels() {
    // Per-level pointer slots, filled below; the enemy tables are packed after all the levels
    // are known, since they share one region.
    std::vector<std::pair<int, const StageSpec*>> enemyStages;
    std::vector<std::map<std::string, int>> keys(levels.size());
    std::vector<std::map<int, std::pair<int, int>>> ownKeys(levels.size());
    places.assign(levels.size(), {});

    for (size_t li = 0; li < levels.size(); ++li) {
        LevelSpec& L = levels[li];
        auto& K = keys[li];
        const std::string tag = L.name;
        const int n = static_cast<int>(L.stages.size());
        places[li].assign(static_cast<size_t>(n), {});

        // Rooms.
        std::vector<uint8_t> roomBytes;
        for (const Room& r : L.rooms) roomBytes.insert(roomBytes.end(), r.b.begin(), r.b.end());
        int base = rom.place(L.roomBank, roomBytes, tag + " rooms");
        roomBase.push_back(base);
        K["LevelDataPointer"] = rom.alloc(L.roomBank, 2, tag + " room pointer");
        rom.pointer(K["LevelDataPointer"], base, 0x8000, 0, tag + " rooms");

        // Block sets.
        if (L.form == TSAForm::LevelPointer) {
            K["LevelTSAPointer"] = rom.alloc(L.levelPointerBank, 2, tag + " TSA pointer");
            K["LevelAttributePointer"] = rom.alloc(L.levelPointerBank, 2, tag + " attribute pointer");
            rom.pointer(K["LevelTSAPointer"], tsaAt[static_cast<size_t>(L.levelTable)], 0x8000, 0xC010, tag + " TSA");
            rom.pointer(K["LevelAttributePointer"], attrAt[static_cast<size_t>(L.levelTable)], 0x8000, 0xC010, tag + " attributes");
        } else {
            K["Level5TSAStart"] = rom.alloc(6, 2 * n, tag + " per-stage TSA pointers");
            K["Level5AttributeStart"] = rom.alloc(6, 2 * n, tag + " per-stage attribute pointers");
            for (int s = 0; s < n; ++s) {
                int table = L.stages[static_cast<size_t>(s)].table;
                rom.pointer(K["Level5TSAStart"] + 2 * s, tsaAt[static_cast<size_t>(table)], 0x8000, 0xC010, tag + " stage " + std::to_string(s) + " TSA");
                rom.pointer(K["Level5AttributeStart"] + 2 * s, attrAt[static_cast<size_t>(table)], 0x8000, 0xC010, tag + " stage " + std::to_string(s) + " attributes");
            }
        }
        for (int s = 0; s < n; ++s) {
            const StageSpec& st = L.stages[static_cast<size_t>(s)];
            auto& pl = places[li][static_cast<size_t>(s)];
            pl.tsa = tsaAt[static_cast<size_t>(st.table)];
            pl.attr = attrAt[static_cast<size_t>(st.table)];
            if (st.ownTSA) {
                int tsaKey = rom.alloc(st.ownTSABank, 2, tag + " " + st.name + " own TSA pointer");
                int attrKey = rom.alloc(st.ownTSABank, 2, tag + " " + st.name + " own attribute pointer");
                rom.pointer(tsaKey, pl.tsa, 0x8000, 0xC010, tag + " " + st.name + " own TSA");
                rom.pointer(attrKey, pl.attr, 0x8000, 0xC010, tag + " " + st.name + " own attributes");
                ownKeys[li][s] = {tsaKey, attrKey};
            }
        }

        // Scroll data, palette numbers and pattern pages, in the fixed bank.
        K["LevelScrollDataPointer"] = rom.alloc(7, 2, tag + " scroll pointer");
        int scrollTable = rom.alloc(7, 2 * n, tag + " scroll table");
        rom.pointer(K["LevelScrollDataPointer"], scrollTable, 0xC000, 0, tag + " scroll table");
        for (int s = 0; s < n; ++s) {
            const StageSpec& st = L.stages[static_cast<size_t>(s)];
            if (static_cast<int>(st.grid.rooms.size()) != st.grid.width * st.grid.height) fail(st.name + ": grid size and room count differ");
            std::vector<uint8_t> sd = {static_cast<uint8_t>(st.grid.width), static_cast<uint8_t>(st.grid.height)};
            sd.insert(sd.end(), st.grid.rooms.begin(), st.grid.rooms.end());
            int at = rom.place(7, sd, tag + " " + st.name + " scroll data");
            rom.pointer(scrollTable + 2 * s, at, 0xC000, 0, tag + " " + st.name + " scroll data");
            places[li][static_cast<size_t>(s)].scroll = at;
        }
        K["LevelPalettePointer"] = rom.alloc(7, 2, tag + " palette-number pointer");
        std::vector<uint8_t> palNums, patPairs;
        for (const StageSpec& st : L.stages) {
            palNums.push_back(st.palette);
            patPairs.push_back(st.bgPage);
            patPairs.push_back(st.sprPage);
        }
        int palNumAt = rom.place(7, palNums, tag + " palette numbers");
        rom.pointer(K["LevelPalettePointer"], palNumAt, 0xC000, 0, tag + " palette numbers");
        K["LevelPatTablePointer"] = rom.alloc(7, 2, tag + " pattern pointer");
        int patAt = rom.place(7, patPairs, tag + " pattern pages");
        rom.pointer(K["LevelPatTablePointer"], patAt, 0xC000, 0, tag + " pattern pages");
        for (int s = 0; s < n; ++s) {
            places[li][static_cast<size_t>(s)].pal = palNumAt + s;
            places[li][static_cast<size_t>(s)].pat = patAt + 2 * s;
        }

        // Enemy pointer tables, special objects and sprite changes in bank 5.
        K["LevelEnemyDataPointer"] = rom.alloc(5, 2, tag + " enemy pointer");
        int enemyTable = rom.alloc(5, 2 * n, tag + " enemy pointer table");
        rom.pointer(K["LevelEnemyDataPointer"], enemyTable, 0x8000, 0, tag + " enemy pointer table");
        for (int s = 0; s < n; ++s) {
            places[li][static_cast<size_t>(s)].enemyPtr = enemyTable + 2 * s;
            enemyStages.emplace_back(enemyTable + 2 * s, &L.stages[static_cast<size_t>(s)]);
        }
        K["LevelSpecialObjPointer"] = rom.alloc(5, 2, tag + " special-object pointer");
        int objTable = rom.alloc(5, 2 * n, tag + " special-object table");
        rom.pointer(K["LevelSpecialObjPointer"], objTable, 0x8000, 0, tag + " special-object table");
        for (int s = 0; s < n; ++s) {
            const StageSpec& st = L.stages[static_cast<size_t>(s)];
            std::vector<uint8_t> list;
            for (const ObjRec& o : st.objects) {
                list.insert(list.end(), {o.screen, o.kind, o.x, static_cast<uint8_t>((o.y + 16) & 0xFF)});
                list.insert(list.end(), o.extra.begin(), o.extra.end());
            }
            list.push_back(0xFF);
            int at = rom.place(5, list, tag + " " + st.name + " special objects");
            rom.pointer(objTable + 2 * s, at, 0x8000, 0, tag + " " + st.name + " special objects");
            places[li][static_cast<size_t>(s)].objPtr = objTable + 2 * s;
            places[li][static_cast<size_t>(s)].objList = at;
        }
        K["LevelSpriteChangePointer"] = rom.alloc(5, 2, tag + " sprite-change pointer");
        int scTable = rom.alloc(5, 2 * n, tag + " sprite-change table");
        rom.pointer(K["LevelSpriteChangePointer"], scTable, 0x8000, 0, tag + " sprite-change table");
        for (int s = 0; s < n; ++s) {
            const StageSpec& st = L.stages[static_cast<size_t>(s)];
            int at = rom.place(5, std::vector<uint8_t>(st.spriteChanges.begin(), st.spriteChanges.end()), tag + " " + st.name + " sprite changes");
            rom.pointer(scTable + 2 * s, at, 0x8000, 0, tag + " " + st.name + " sprite changes");
            places[li][static_cast<size_t>(s)].spriteChange = at;
        }

        // Boss and exit data: kept by the editor as they are.
        std::vector<uint8_t> boss = {0x0B, static_cast<uint8_t>(0x20 + 0x10 * li), 0xB0, 0x90, static_cast<uint8_t>(L.stages.back().grid.width - 1), 0x04};
        int bossAt = rom.place(6, boss, tag + " boss data");
        K["LevelBossDataPointer"] = rom.alloc(6, 2, tag + " boss pointer");
        rom.pointer(K["LevelBossDataPointer"], bossAt, 0x8000, 0, tag + " boss data");
        std::vector<uint8_t> exits;
        for (const StageSpec& st : L.stages) exits.insert(exits.end(), {static_cast<uint8_t>(st.grid.width * st.grid.height - 1), 0xF0, 0x70});
        exits.push_back(0xFF);
        int exitAt = rom.place(6, exits, tag + " exit data");
        K["LevelExitDataPointer"] = rom.alloc(6, 2, tag + " exit pointer");
        rom.pointer(K["LevelExitDataPointer"], exitAt, 0x8000, 0, tag + " exit data");

        if (L.worldMap) {
            std::vector<uint8_t> roomsBytes;
            for (const Room& r : worldMap.rooms) roomsBytes.insert(roomsBytes.end(), r.b.begin(), r.b.end());
            worldBase = rom.place(4, roomsBytes, "world rooms");
            K["WorldLevelDataPointer"] = rom.alloc(4, 2, "world room pointer");
            rom.pointer(K["WorldLevelDataPointer"], worldBase, 0x8000, 0, "world rooms");
            K["WorldTSAPointer"] = rom.alloc(4, 2, "world TSA pointer");
            rom.pointer(K["WorldTSAPointer"], worldTSA, 0x8000, 0x10010, "world TSA");
            K["WorldAttributePointer"] = rom.alloc(4, 2, "world attribute pointer");
            rom.pointer(K["WorldAttributePointer"], worldAttr, 0x8000, 0x10010, "world attributes");
            std::vector<uint8_t> ws = {static_cast<uint8_t>(worldMap.width), static_cast<uint8_t>(worldMap.height)};
            for (int k = 0; k < worldMap.width * worldMap.height; ++k) ws.push_back(static_cast<uint8_t>(k));
            worldScroll = rom.place(7, ws, "world scroll data");
            K["WorldScrollDataPointer"] = rom.alloc(7, 2, "world scroll pointer");
            rom.pointer(K["WorldScrollDataPointer"], worldScroll, 0xC000, 0, "world scroll data");
            // Entrances: world screen, block column and row, the stage it leads to.
            std::vector<uint8_t> entrances = {0x00, 0x07, 0x03, 0x00, 0x04, 0x02, 0x04, 0x01, 0x05, 0x03, 0x04, 0x02, 0xFF};
            int entAt = rom.place(4, entrances, "world entrances");
            K["WorldEntrancePointer"] = rom.alloc(4, 2, "world entrance pointer");
            rom.pointer(K["WorldEntrancePointer"], entAt, 0x8000, 0, "world entrances");
            K["WorldPalette"] = rom.place(7, {kWorldPalette}, "world palette number");
            K["WorldPatternTable"] = rom.place(7, {kPageWorld}, "world pattern page");
        }
    }

    // The enemy region: all stages packed, then plenty of room to grow.
    int enemyCount = 0, screens = 0;
    for (const auto& L : levels)
        for (const auto& st : L.stages) {
            enemyCount += static_cast<int>(st.enemies.size());
            screens += st.grid.width * st.grid.height;
        }
    totalEnemies = 200;
    // Worst case for the budget: every enemy on a screen of its own, each stage's screen 0 empty.
    int worstCase = 2 * screens + 4 * totalEnemies + static_cast<int>(enemyStages.size());
    int regionSize = ((worstCase + 0x1FF) & ~0x1FF) + 0x200;
    startEnemy = rom.alloc(5, regionSize + 1, "enemy region");
    endEnemy = startEnemy + regionSize;
    int packedEnd = packEnemies(rom, startEnemy, enemyStages, "packed");
    if (packedEnd > endEnemy) fail("the demo's enemies do not fit their region");
    if (enemyCount * 3 >= totalEnemies) fail("the enemy budget leaves too little room");

    // The data file's level sections.
    ini.section("EnemyData");
    ini.hexKey("StartEnemyData", startEnemy);
    ini.hexKey("EndEnemyData", endEnemy);
    ini.decKey("TotalEnemies", totalEnemies);
    ini.section("Mapper");
    ini.decKey("MapperNum", 1);
    ini.decKey("PRGSize", kPRGBanks);
    ini.decKey("CHRSize", kCHRBanks);
    ini.decKey("Vertical", 1);
    ini.section("AutoCheck");
    ini.hexKey("Location", signatureAt);
    for (int k = 0; k < 4; ++k) ini.hexKey("Auto" + std::to_string(k + 1), static_cast<unsigned char>(signature[static_cast<size_t>(k)]));
    for (size_t li = 0; li < levels.size(); ++li) {
        const LevelSpec& L = levels[li];
        auto& K = keys[li];
        ini.section("Level" + std::to_string(li));
        ini.decKey("NumOfStages", static_cast<int>(L.stages.size()));
        if (L.damStage >= 0) ini.decKey("DamStage", L.damStage);
        ini.decKey("NoWorldMap", L.worldMap ? 0 : 1);
        if (L.worldMap)
            for (const char* k : {"WorldLevelDataPointer", "WorldTSAPointer", "WorldAttributePointer", "WorldScrollDataPointer", "WorldEntrancePointer", "WorldPalette", "WorldPatternTable"})
                ini.hexKey(k, K.at(k));
        ini.hexKey("LevelDataPointer", K.at("LevelDataPointer"));
        if (L.form == TSAForm::LevelPointer) {
            ini.hexKey("LevelTSAPointer", K.at("LevelTSAPointer"));
            ini.hexKey("LevelAttributePointer", K.at("LevelAttributePointer"));
        } else {
            ini.hexKey("Level5TSAStart", K.at("Level5TSAStart"));
            ini.hexKey("Level5AttributeStart", K.at("Level5AttributeStart"));
        }
        for (const char* k : {"LevelScrollDataPointer", "LevelEnemyDataPointer", "LevelSpecialObjPointer", "LevelPalettePointer", "LevelPatTablePointer",
                              "LevelBossDataPointer", "LevelExitDataPointer", "LevelSpriteChangePointer"})
            ini.hexKey(k, K.at(k));
        ini.hexKey("MaxTiles", L.maxTiles);
        for (size_t s = 0; s < L.stages.size(); ++s) {
            const StageSpec& st = L.stages[s];
            const std::string m = "Stage" + std::to_string(s);
            if (st.ownTSA) {
                ini.hexKey(m + "TSA", ownKeys[li].at(static_cast<int>(s)).first);
                ini.hexKey(m + "Attribute", ownKeys[li].at(static_cast<int>(s)).second);
            }
            if (st.glitched) ini.decKey(m + "Glitched", 1);
            if (st.maxTiles) ini.hexKey(m + "MaxTiles", st.maxTiles);
        }
    }
}

void Demo::build() {
    design();
    // The fixed bank's top: a reset stub that idles, the signature, and the vectors.
    {
        const int stub = bankStart(7) + 0x3F00;  // CPU $FF00
        rom.claim(stub, 6, "reset stub");
        rom.write(stub, {0x78, 0xD8, 0x4C, 0x02, 0xFF, 0x40});  // SEI; CLD; JMP $FF02; RTI
        signatureAt = bankStart(7) + 0x3FD0;  // CPU $FFD0
        rom.claim(signatureAt, static_cast<int>(signature.size()), "signature");
        rom.write(signatureAt, std::vector<uint8_t>(signature.begin(), signature.end()));
        const int vectors = bankStart(7) + 0x3FFA;
        rom.claim(vectors, 6, "vectors");
        rom.write(vectors, {0x05, 0xFF, 0x00, 0xFF, 0x05, 0xFF});  // NMI and IRQ return, RESET to the stub
    }
    writeGraphics();
    writeLevels();
    rom.verifyPointers();
    selfCheck();
}

// ---------------------------------------------------------------------------------------------
// Self-check: read the finished ROM through the data file's text, the way the editor does, and
// compare with what was meant to be written.

void Demo::selfCheck() const {
    const auto& b = rom.bytes();
    auto byte = [&](int off) -> int {
        if (off < 0 || off >= static_cast<int>(b.size())) fail("self-check: read outside the ROM at " + RomBuilder::hex(off));
        return b[static_cast<size_t>(off)];
    };
    auto rp = [&](int at, int bankOffset, int cpuBase) { return rom.readPointer(at, bankOffset, cpuBase); };
    auto expect = [](bool ok, const std::string& what) {
        if (!ok) fail("self-check: " + what);
    };
    IniReader in(ini.text());

    expect(b.size() == static_cast<size_t>(kROMSize), "ROM size");
    expect(b[0] == 'N' && b[1] == 'E' && b[2] == 'S' && b[3] == 0x1A, "iNES magic");
    expect(b[4] == in.decValue("Mapper", "PRGSize", 8) && b[5] == in.decValue("Mapper", "CHRSize", 16), "bank counts");
    expect(((b[7] >> 4) * 16 + (b[6] >> 4)) == in.decValue("Mapper", "MapperNum", 1), "mapper number");
    for (int i = 8; i < 16; ++i) expect(b[static_cast<size_t>(i)] == 0, "header bytes 8-15");
    int loc = in.hexValue("AutoCheck", "Location");
    for (int k = 0; k < 4; ++k) expect(byte(loc + k) == (in.hexValue("AutoCheck", "Auto" + std::to_string(k + 1)) & 0xFF), "signature byte " + std::to_string(k));

    const int palTable = in.hexValue("General", "PalettePointers");
    const int solTable = in.hexValue("General", "SolidityPointers");
    const int setTable = in.hexValue("General", "EnemiesUsedSprite");
    for (size_t n = 0; n < paletteTable().size(); ++n) {
        int at = rp(palTable + 2 * static_cast<int>(n), 0, 0xC000);
        expect(at == paletteAt[n], "palette " + std::to_string(n) + " pointer");
        for (int k = 0; k < 12; ++k) expect(byte(at + k) == paletteTable()[n][static_cast<size_t>(k)], "palette " + std::to_string(n) + " colours");
    }
    auto sets = enemySets();
    for (int p = 0; p < kPages; ++p) {
        int at = rp(setTable + 2 * p, 0, 0x8000);
        expect(at == setAt[static_cast<size_t>(p)], "enemy set pointer of page " + std::to_string(p));
        for (int k = 0; k < 8; ++k) expect(byte(at + k) == sets[static_cast<size_t>(p)][static_cast<size_t>(k)], "enemy set bytes");
    }
    auto checkSolidity = [&](int page) {
        expect(page >= kFirstSolidityPage, "background page below $0D");
        int a = rp(solTable + 2 * (page - kFirstSolidityPage), 0x1C010, 0xC000);
        expect(a == solidityAt.at(page), "solidity pointer of page " + std::to_string(page));
        int prev = -1;
        for (;;) {
            expect(bankOf(a) == 7 && bankOf(a + 1) == 7, "solidity table runs out of bank 7");
            int upTo = byte(a);
            expect(upTo > prev, "solidity ranges in order");
            prev = upTo;
            if (upTo == 0xFF) break;
            a += 2;
        }
    };

    const int levelCount = in.decValue("General", "Levels", 0);
    expect(levelCount == static_cast<int>(levels.size()), "level count");
    int totalWritten = 0;
    std::vector<std::pair<int, std::vector<EnemyRec>>> loaded;  // enemy pointer and enemies, per stage
    std::vector<int> loadedScreens;
    for (int li = 0; li < levelCount; ++li) {
        const LevelSpec& L = levels[static_cast<size_t>(li)];
        const std::string sec = "Level" + std::to_string(li);
        const int n = in.decValue(sec, "NumOfStages", 0);
        expect(n == static_cast<int>(L.stages.size()), sec + " stage count");
        expect(in.decValue(sec, "DamStage", -1) == L.damStage, sec + " dam stage");
        const bool hasWorld = in.decValue(sec, "NoWorldMap", 1) == 0;
        expect(hasWorld == L.worldMap, sec + " world map flag");
        const int base = rp(in.hexValue(sec, "LevelDataPointer"), 0, 0x8000);
        expect(base == roomBase[static_cast<size_t>(li)], sec + " room base");
        const int scrollTable = rp(in.hexValue(sec, "LevelScrollDataPointer"), 0, 0xC000);
        for (int s = 0; s < n; ++s) {
            const StageSpec& st = L.stages[static_cast<size_t>(s)];
            const auto& pl = places[static_cast<size_t>(li)][static_cast<size_t>(s)];
            const std::string what = sec + " stage " + std::to_string(s) + " (" + st.name + ")";
            // Where the editor finds the stage's TSA and attribute tables.
            int tsa = 0, attr = 0;
            int own = in.hexValue(sec, "Stage" + std::to_string(s) + "TSA");
            int ownA = in.hexValue(sec, "Stage" + std::to_string(s) + "Attribute");
            if (own > 0) tsa = rp(own, 0xC010, 0x8000);
            else if (in.has(sec, "LevelTSAPointer")) tsa = rp(in.hexValue(sec, "LevelTSAPointer"), 0xC010, 0x8000);
            else if (in.has(sec, "Level5TSAStart")) tsa = rp(in.hexValue(sec, "Level5TSAStart") + 2 * s, 0xC010, 0x8000);
            if (ownA > 0) attr = rp(ownA, 0xC010, 0x8000);
            else if (in.has(sec, "LevelAttributePointer")) attr = rp(in.hexValue(sec, "LevelAttributePointer"), 0xC010, 0x8000);
            else if (in.has(sec, "Level5AttributeStart")) attr = rp(in.hexValue(sec, "Level5AttributeStart") + 2 * s, 0xC010, 0x8000);
            expect(tsa == pl.tsa && attr == pl.attr, what + " TSA/attribute tables");
            expect(bankOf(tsa) == 3 && bankOf(attr) == 3, what + " tables outside bank 3");
            const int blocks = st.theme->count();
            for (int k = 0; k < blocks; ++k)
                expect(byte(attr + k) == built[static_cast<size_t>(st.table)].attr[static_cast<size_t>(k)], what + " attribute bytes");
            for (int k = 0; k < 16 * blocks; ++k)
                expect(byte(tsa + k) == built[static_cast<size_t>(st.table)].tsa[static_cast<size_t>(k)], what + " TSA bytes");
            int stageMax = in.hexValue(sec, "Stage" + std::to_string(s) + "MaxTiles") & 0xFF;
            int maxTiles = stageMax ? stageMax : (in.hexValue(sec, "MaxTiles") & 0xFF);
            expect(maxTiles >= 6 && maxTiles <= blocks, what + " block picker range");
            expect(in.decValue(sec, "Stage" + std::to_string(s) + "Glitched", 0) == (st.glitched ? 1 : 0), what + " glitched flag");

            // Scroll data and rooms.
            int sd = rp(scrollTable + 2 * s, 0, 0xC000);
            expect(sd == pl.scroll, what + " scroll data");
            int w = byte(sd), h = byte(sd + 1);
            expect(w == st.grid.width && h == st.grid.height, what + " grid size");
            for (int k = 0; k < w * h; ++k) {
                int room = byte(sd + 2 + k);
                expect(room == st.grid.rooms[static_cast<size_t>(k)] && room < static_cast<int>(L.rooms.size()), what + " room numbers");
                for (int c = 0; c < 48; ++c) {
                    int blk = byte(base + 48 * room + c);
                    expect(blk == L.rooms[static_cast<size_t>(room)].b[static_cast<size_t>(c)], what + " room bytes");
                    expect(blk < blocks, what + " uses a block beyond its table");
                }
            }
            // Graphics bytes.
            int pat = rp(in.hexValue(sec, "LevelPatTablePointer"), 0, 0xC000) + 2 * s;
            int pal = rp(in.hexValue(sec, "LevelPalettePointer"), 0, 0xC000) + s;
            int scTable = rp(in.hexValue(sec, "LevelSpriteChangePointer"), 0, 0x8000);
            int sc = rp(scTable + 2 * s, 0, 0x8000);
            expect(pat == pl.pat && pal == pl.pal && sc == pl.spriteChange, what + " graphics bytes");
            expect(byte(pat) == st.bgPage && byte(pat + 1) == st.sprPage && byte(pal) == st.palette, what + " pages and palette");
            expect(byte(pat) < kPages && byte(pat + 1) < kPages && byte(pal) < static_cast<int>(paletteTable().size()), what + " numbers in range");
            for (int k = 0; k < 4; ++k) expect(byte(sc + k) == st.spriteChanges[static_cast<size_t>(k)] && byte(sc + k) < kPages, what + " sprite changes");
            checkSolidity(byte(pat));
            // The background page is the theme's page, so the blocks draw with their own tiles.
            for (int k = 0; k < 4096; ++k)
                expect(byte(pageOffset(st.bgPage) + k) == built[static_cast<size_t>(st.table)].chr[static_cast<size_t>(k)], what + " background page");

            // Enemies, read as the editor loads them.
            int enemyPtr = rp(in.hexValue(sec, "LevelEnemyDataPointer"), 0, 0x8000) + 2 * s;
            expect(enemyPtr == pl.enemyPtr, what + " enemy pointer");
            int table = rp(enemyPtr, 0, 0x8000);
            std::vector<EnemyRec> got;
            for (int k = 0; k < w * h; ++k) {
                int e = rp(table + 2 * k, 0, 0x8000);
                int guard = 0;
                while (byte(e) != 0xFF) {
                    got.push_back(EnemyRec{k, byte(e), byte(e + 1) - 16, static_cast<uint8_t>(byte(e + 2))});
                    e += 3;
                    expect(++guard < 256, what + " enemy list without an end");
                }
            }
            std::vector<EnemyRec> want;
            for (int k = 0; k < w * h; ++k)
                for (const EnemyRec& e : st.enemies)
                    if (e.screen == k) want.push_back(e);
            expect(got.size() == want.size(), what + " enemy count");
            for (size_t i = 0; i < got.size(); ++i) {
                expect(got[i].screen == want[i].screen && got[i].x == want[i].x && got[i].y == want[i].y && got[i].flags == want[i].flags, what + " enemy " + std::to_string(i));
                expect(got[i].x < 0xFF && got[i].y >= -16 && got[i].y < 240 && (got[i].flags & 7) <= 5, what + " enemy values");
            }
            totalWritten += static_cast<int>(got.size());
            loaded.emplace_back(enemyPtr, got);
            loadedScreens.push_back(w * h);

            // Special objects.
            int objPtr = rp(in.hexValue(sec, "LevelSpecialObjPointer"), 0, 0x8000) + 2 * s;
            int c = rp(objPtr, 0, 0x8000);
            expect(objPtr == pl.objPtr && c == pl.objList, what + " special-object list");
            size_t count = 0;
            while (byte(c) != 0xFF) {
                expect(count < st.objects.size(), what + " special objects beyond the list");
                const ObjRec& o = st.objects[count];
                expect(byte(c) == o.screen && byte(c + 1) == o.kind && byte(c + 2) == o.x && byte(c + 3) - 16 == o.y, what + " special object");
                expect(o.screen < w * h, what + " special object on a screen the stage lacks");
                c += 8;
                ++count;
            }
            expect(count == st.objects.size(), what + " special-object count");
        }
        if (hasWorld) {
            int wsd = rp(in.hexValue(sec, "WorldScrollDataPointer"), 0, 0xC000);
            int wbase = rp(in.hexValue(sec, "WorldLevelDataPointer"), 0, 0x8000);
            int wtsa = rp(in.hexValue(sec, "WorldTSAPointer"), 0x10010, 0x8000);
            int wattr = rp(in.hexValue(sec, "WorldAttributePointer"), 0x10010, 0x8000);
            expect(wsd == worldScroll && wbase == worldBase && wtsa == worldTSA && wattr == worldAttr, sec + " world map places");
            expect(bankOf(wtsa) == 4 && bankOf(wattr) == 4, sec + " world tables outside bank 4");
            int ww = byte(wsd), wh = byte(wsd + 1);
            expect(ww >= 2 && wh >= 2 && ww == worldMap.width && wh == worldMap.height, sec + " world size");
            for (int k = 0; k < ww * wh; ++k) {
                int room = byte(wsd + 2 + k);
                expect(room < static_cast<int>(worldMap.rooms.size()), sec + " world room number");
                for (int c = 0; c < 64; ++c) expect(byte(wbase + 64 * room + c) < world.count(), sec + " world block beyond its table");
            }
            expect(byte(in.hexValue(sec, "WorldPalette")) == kWorldPalette, sec + " world palette");
            int wpage = byte(in.hexValue(sec, "WorldPatternTable"));
            expect(wpage == kPageWorld, sec + " world pattern page");
            for (int k = 0; k < 4096; ++k) expect(byte(pageOffset(wpage) + k) == worldBuilt.chr[static_cast<size_t>(k)], sec + " world page");
            for (const char* k : {"WorldEntrancePointer"}) expect(in.has(sec, k), sec + " " + k);
        }
        for (const char* k : {"LevelBossDataPointer", "LevelExitDataPointer"}) expect(in.hexValue(sec, k) > 0, sec + " " + k);
    }

    // Saving must reproduce the enemy region byte for byte, and the budget must fit the region.
    const int start = in.hexValue("EnemyData", "StartEnemyData");
    const int end = in.hexValue("EnemyData", "EndEnemyData");
    const int total = in.decValue("EnemyData", "TotalEnemies", 0);
    expect(start == startEnemy && end == endEnemy && end > start, "enemy region bounds");
    expect(bankOf(start) == bankOf(end), "enemy region crosses a bank");
    for (const auto& [ptr, list] : loaded) expect(bankOf(ptr) == bankOf(start), "enemy pointer table outside the enemy region's bank");
    {
        RomBuilder copy = rom;
        std::vector<StageSpec> stagesCopy;
        stagesCopy.reserve(loaded.size());
        std::vector<std::pair<int, const StageSpec*>> order;
        size_t i = 0;
        for (const auto& L : levels)
            for (const auto& st : L.stages) {
                StageSpec t;
                t.name = st.name;
                t.grid = st.grid;
                t.enemies = loaded[i].second;
                stagesCopy.push_back(t);
                ++i;
            }
        for (size_t k = 0; k < loaded.size(); ++k) order.emplace_back(loaded[k].first, &stagesCopy[k]);
        int packedEnd = packEnemies(copy, start, order, "repacked");
        expect(packedEnd <= end, "packed enemies pass the end of the region");
        for (int off = kHeader; off < kPRGEnd; ++off)
            expect(copy.bytes()[static_cast<size_t>(off)] == b[static_cast<size_t>(off)], "repacking the enemies changes byte " + RomBuilder::hex(off));
    }
    int screens = 0;
    for (int s : loadedScreens) screens += s;
    int worst = 2 * screens + 4 * total + static_cast<int>(loadedScreens.size());
    expect(start + worst <= end, "TotalEnemies does not fit the enemy region");
    expect(totalWritten < total, "more enemies than TotalEnemies");
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) fail("cannot create " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fail("cannot write " + path);
}

}  // namespace demo

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << (argc ? argv[0] : "quillborn-demo-gen") << " ROM-PATH DATA-FILE-PATH\n";
        return 1;
    }
    try {
        demo::Demo d;
        d.build();
        const auto& b = d.rom.bytes();
        demo::writeFile(argv[1], std::string(b.begin(), b.end()));
        std::string text = "; Quillborn demo ROM (generated)\n" + d.ini.text();
        demo::writeFile(argv[2], text);
        int enemies = 0, stages = 0;
        for (const auto& L : d.levels) {
            stages += static_cast<int>(L.stages.size());
            for (const auto& s : L.stages) enemies += static_cast<int>(s.enemies.size());
        }
        std::cout << "demo ROM: " << b.size() << " bytes, " << d.levels.size() << " levels, " << stages << " stages, " << enemies
                  << " enemies, " << d.rom.pointerCount() << " pointers checked\n";
    } catch (const std::exception& e) {
        std::cerr << "demo generator: " << e.what() << "\n";
        return 2;
    }
    return 0;
}

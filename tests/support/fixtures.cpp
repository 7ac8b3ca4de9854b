#include "support/fixtures.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>

namespace fs = std::filesystem;

TTempDir::TTempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() / ("quillborn-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TTempDir::~TTempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& text) const {
    std::ofstream out(File(name), std::ios::binary);
    out << text;
    return File(name);
}

std::string TTempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return File(name);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TRomBytes::TRomBytes(int prg, int chr, int mapper) : bytes(16 + static_cast<size_t>(prg) * 0x4000 + static_cast<size_t>(chr) * 0x2000, 0) {
    bytes[0] = 'N';
    bytes[1] = 'E';
    bytes[2] = 'S';
    bytes[3] = 0x1A;
    bytes[4] = static_cast<uint8_t>(prg);
    bytes[5] = static_cast<uint8_t>(chr);
    bytes[6] = static_cast<uint8_t>((mapper & 0x0F) << 4);
    bytes[7] = static_cast<uint8_t>(mapper & 0xF0);
}

void TRomBytes::Bytes(TOffset at, std::initializer_list<uint8_t> v) {
    for (uint8_t b : v) Byte(at++, b);
}

void TRomBytes::Pointer(TOffset at, TOffset target, int cpuBase) {
    const int value = static_cast<int>((target - 16) % 0x4000) + cpuBase;
    Byte(at, static_cast<uint8_t>(value & 0xFF));
    Byte(at + 1, static_cast<uint8_t>(value >> 8));
}

namespace {

std::string H(long long v) {
    std::ostringstream o;
    o << std::uppercase << std::hex << v;
    return o.str();
}

// A bump allocator inside one 16 KiB PRG bank.
struct TBank {
    TOffset next, end;
    explicit TBank(int bank) : next(16 + bank * 0x4000), end(16 + (bank + 1) * 0x4000) {}
    TOffset Take(TOffset size) {
        if (next + size > end) throw std::runtime_error("test ROM bank full");
        TOffset at = next;
        next += size;
        return at;
    }
};

}  // namespace

std::string TTestGame::Write(const TTempDir& dir) const {
    dir.Write("game.ini", ini.ToText());
    return dir.Write("game.nes", rom.bytes);
}

TTestGame BuildTestGame(const std::vector<TLevelSpec>& levels, int totalEnemies, int enemyArea) {
    TTestGame g;
    TRomBytes& r = g.rom;
    TBank tables(1);      // level tables, rooms, scroll data, object lists: bank 1
    TBank tsaBank(3);     // stage TSA and attributes: bank 3
    TBank worldTsa(4);    // world TSA and attributes: bank 4
    TBank fixed(7);       // palettes, enemy sets, solidity: bank 7 (the $C000 window of the game)
    TBank enemies(2);     // the enemy data area and the per-stage enemy tables: bank 2

    // Pattern pages get a recognisable byte pattern so that page copies can be told apart.
    const TOffset chr = 16 + 8 * 0x4000;
    for (TOffset i = chr; i < static_cast<TOffset>(r.bytes.size()); ++i) r.bytes[static_cast<size_t>(i)] = static_cast<uint8_t>((i - chr) / 0x1000 * 16 + (i % 7));

    // Palettes $00-$16: 12 bytes each; palette n holds n*12 .. n*12+11 masked into colour range.
    g.paletteTable = fixed.Take(2 * 0x17);
    for (int n = 0; n < 0x17; ++n) {
        TOffset rec = fixed.Take(12);
        r.Pointer(g.paletteTable + 2 * n, rec, 0xC000);
        for (int i = 0; i < 12; ++i) r.Byte(rec + i, static_cast<uint8_t>((n * 12 + i) % 0x40));
    }
    // Enemy sets for all 32 pages: slot k of page q is type q*8+k.
    g.enemySets = tables.Take(2 * 32);
    for (int q = 0; q < 32; ++q) {
        TOffset set = tables.Take(8);
        r.Pointer(g.enemySets + 2 * q, set, 0x8000);
        for (int k = 0; k < 8; ++k) r.Byte(set + k, static_cast<uint8_t>(q * 8 + k));
    }
    // Solidity tables for pages $0D-$1F: three entries each, the last up to $FF.
    g.solidityPointers = fixed.Take(2 * (0x20 - 0x0D));
    for (int b = 0x0D; b < 0x20; ++b) {
        TOffset t = fixed.Take(6);
        r.Pointer(g.solidityPointers + 2 * (b - 0x0D), t, 0xC000);
        r.Bytes(t, {0x1F, 0x00, 0x7F, static_cast<uint8_t>(b), 0xFF, 0x02});
    }
    g.startEnemyData = enemies.Take(enemyArea);
    g.endEnemyData = g.startEnemyData + enemyArea;

    TIniFile& ini = g.ini;
    ini.WriteInteger("General", "Levels", static_cast<long long>(levels.size()));
    ini.WriteString("General", "SolidityPointers", H(g.solidityPointers));
    ini.WriteString("General", "PalettePointers", H(g.paletteTable));
    ini.WriteString("General", "EnemiesUsedSprite", H(g.enemySets));
    ini.WriteString("EnemyData", "StartEnemyData", H(g.startEnemyData));
    ini.WriteString("EnemyData", "EndEnemyData", H(g.endEnemyData));
    ini.WriteInteger("EnemyData", "TotalEnemies", totalEnemies);
    ini.WriteInteger("Mapper", "MapperNum", 1);
    ini.WriteInteger("Mapper", "PRGSize", 8);
    ini.WriteInteger("Mapper", "CHRSize", 16);

    for (size_t li = 0; li < levels.size(); ++li) {
        const TLevelSpec& L = levels[li];
        const std::string sec = "Level" + std::to_string(li);
        TLevelLayout lay{};
        const int n = static_cast<int>(L.stages.size());
        ini.WriteInteger(sec, "NumOfStages", n);
        if (L.damStage >= 0) ini.WriteInteger(sec, "DamStage", L.damStage);
        ini.WriteString(sec, "MaxTiles", H(L.maxTiles));

        // Pointer slots of the level's keys.
        auto key = [&](const char* name, TBank* bank = nullptr) {
            TOffset at = (bank ? *bank : tables).Take(2);
            ini.WriteString(sec, name, H(at));
            return at;
        };
        // Rooms: enough for every room number used, 48 bytes each, block = (room*7 + cell) & 0x3F.
        int maxRoom = 0;
        for (const auto& s : L.stages)
            for (int i = 0; i < s.width * s.height; ++i)
                maxRoom = std::max(maxRoom, static_cast<int>(i < static_cast<int>(s.rooms.size()) ? s.rooms[static_cast<size_t>(i)] : i));
        lay.roomBase = tables.Take(48 * (maxRoom + 1));
        for (int room = 0; room <= maxRoom; ++room)
            for (int c = 0; c < 48; ++c) r.Byte(lay.roomBase + 48 * room + c, static_cast<uint8_t>((room * 7 + c) & 0x3F));
        r.Pointer(key("LevelDataPointer"), lay.roomBase, 0x8000);

        // TSA and attributes: tile number of block b at (x, y) = (b + 4y + x) & 0xFF; attribute of b = b.
        // Every table differs (seeded by its place), so drawing from the wrong one shows.
        auto makeTSA = [&](TOffset& tsa, TOffset& attr) {
            tsa = tsaBank.Take(16 * 80);
            attr = tsaBank.Take(80);
            const int seed = static_cast<int>((tsa >> 4) & 0x3F);
            for (int b = 0; b < 80; ++b) {
                for (int i = 0; i < 16; ++i) r.Byte(tsa + 16 * b + i, static_cast<uint8_t>((b + i + seed * 3) & 0xFF));
                r.Byte(attr + b, static_cast<uint8_t>(b + seed));
            }
        };
        if (L.tsa == TTSAForm::Level) {
            makeTSA(lay.tsa, lay.attr);
            r.Pointer(key("LevelTSAPointer"), lay.tsa, 0x8000);
            r.Pointer(key("LevelAttributePointer"), lay.attr, 0x8000);
        } else if (L.tsa == TTSAForm::PerStage) {
            // The keys name the tables themselves: two bytes per stage.
            TOffset tsaTable = tables.Take(2 * n), attrTable = tables.Take(2 * n);
            ini.WriteString(sec, "Level5TSAStart", H(tsaTable));
            ini.WriteString(sec, "Level5AttributeStart", H(attrTable));
            for (int s = 0; s < n; ++s) {
                TOffset tsa, attr;
                makeTSA(tsa, attr);
                if (s == 0) lay.tsa = tsa, lay.attr = attr;
                r.Pointer(tsaTable + 2 * s, tsa, 0x8000);
                r.Pointer(attrTable + 2 * s, attr, 0x8000);
            }
        }

        TOffset scrollTable = tables.Take(2 * n), patTable = tables.Take(2 * n), palTable = tables.Take(n);
        TOffset sprTable = tables.Take(2 * n), specTable = tables.Take(2 * n);
        TOffset enemyTable = enemies.Take(2 * n);
        r.Pointer(key("LevelScrollDataPointer"), scrollTable, 0xC000);
        r.Pointer(key("LevelEnemyDataPointer", &enemies), enemyTable, 0x8000);  // must share the table's bank
        r.Pointer(key("LevelSpecialObjPointer"), specTable, 0x8000);
        r.Pointer(key("LevelPalettePointer"), palTable, 0xC000);
        r.Pointer(key("LevelPatTablePointer"), patTable, 0xC000);
        key("LevelBossDataPointer");
        key("LevelExitDataPointer");
        r.Pointer(key("LevelSpriteChangePointer"), sprTable, 0x8000);

        for (int s = 0; s < n; ++s) {
            const TStageSpec& S = L.stages[static_cast<size_t>(s)];
            TStageLayout st{};
            const int screens = S.width * S.height;
            st.scrollData = tables.Take(2 + screens);
            r.Byte(st.scrollData, static_cast<uint8_t>(S.width));
            r.Byte(st.scrollData + 1, static_cast<uint8_t>(S.height));
            for (int i = 0; i < screens; ++i)
                r.Byte(st.scrollData + 2 + i, i < static_cast<int>(S.rooms.size()) ? S.rooms[static_cast<size_t>(i)] : static_cast<uint8_t>(i));
            r.Pointer(scrollTable + 2 * s, st.scrollData, 0xC000);
            st.patTable = patTable + 2 * s;
            r.Byte(st.patTable, S.bgPage);
            r.Byte(st.patTable + 1, S.sprPage);
            st.paletteEntry = palTable + s;
            r.Byte(st.paletteEntry, S.palette);
            st.spriteChanges = tables.Take(4);
            for (int k = 0; k < 4; ++k) r.Byte(st.spriteChanges + k, S.spriteChanges[k]);
            r.Pointer(sprTable + 2 * s, st.spriteChanges, 0x8000);

            // Enemies in the game's layout: a screen table, then the lists, empty screens sharing a terminator.
            st.enemyPointer = enemyTable + 2 * s;
            TOffset screenTable = enemies.Take(2 * screens);
            r.Pointer(st.enemyPointer, screenTable, 0x8000);
            for (int k = 0; k < screens; ++k) {
                std::vector<TEnemySpec> here;
                for (const auto& e : S.enemies)
                    if (e.screen == k) here.push_back(e);
                TOffset list = enemies.Take(3 * static_cast<TOffset>(here.size()) + 1);
                r.Pointer(screenTable + 2 * k, list, 0x8000);
                for (size_t i = 0; i < here.size(); ++i)
                    r.Bytes(list + 3 * static_cast<TOffset>(i), {static_cast<uint8_t>(here[i].x), static_cast<uint8_t>(here[i].y + 16),
                                                                 static_cast<uint8_t>(here[i].flags)});
                r.Byte(list + 3 * static_cast<TOffset>(here.size()), 0xFF);
            }

            st.specObjPointer = specTable + 2 * s;
            st.specObjList = tables.Take(8 * static_cast<TOffset>(S.objects.size()) + 1);
            r.Pointer(st.specObjPointer, st.specObjList, 0x8000);
            for (size_t i = 0; i < S.objects.size(); ++i) {
                const auto& o = S.objects[i];
                TOffset at = st.specObjList + 8 * static_cast<TOffset>(i);
                r.Bytes(at, {static_cast<uint8_t>(o.screen), static_cast<uint8_t>(o.kind), static_cast<uint8_t>(o.x),
                             static_cast<uint8_t>(o.y + 16), o.extra[0], o.extra[1], o.extra[2], o.extra[3]});
            }
            r.Byte(st.specObjList + 8 * static_cast<TOffset>(S.objects.size()), 0xFF);

            const std::string stKey = "Stage" + std::to_string(s);
            if (S.ownTSA) {
                makeTSA(st.ownTSA, st.ownAttr);
                TOffset tp = tables.Take(2), ap = tables.Take(2);
                r.Pointer(tp, st.ownTSA, 0x8000);
                r.Pointer(ap, st.ownAttr, 0x8000);
                ini.WriteString(sec, stKey + "TSA", H(tp));
                ini.WriteString(sec, stKey + "Attribute", H(ap));
            }
            if (S.glitched) ini.WriteInteger(sec, stKey + "Glitched", 1);
            if (S.maxTiles) ini.WriteString(sec, stKey + "MaxTiles", H(S.maxTiles));
            lay.stages.push_back(st);
        }

        if (L.worldWidth > 0) {
            ini.WriteInteger(sec, "NoWorldMap", 0);
            const int screens = L.worldWidth * L.worldHeight;
            lay.worldBase = tables.Take(64 * screens);
            for (int room = 0; room < screens; ++room)
                for (int c = 0; c < 64; ++c) r.Byte(lay.worldBase + 64 * room + c, static_cast<uint8_t>((room * 5 + c) & 0x7F));
            r.Pointer(key("WorldLevelDataPointer"), lay.worldBase, 0x8000);
            lay.worldTSA = worldTsa.Take(16 * 256);
            lay.worldAttr = worldTsa.Take(256);
            for (int b = 0; b < 256; ++b) {
                for (int i = 0; i < 16; ++i) r.Byte(lay.worldTSA + 16 * b + i, static_cast<uint8_t>((b * 3 + i) & 0xFF));
                r.Byte(lay.worldAttr + b, static_cast<uint8_t>(~b));
            }
            r.Pointer(key("WorldTSAPointer"), lay.worldTSA, 0x8000);
            r.Pointer(key("WorldAttributePointer"), lay.worldAttr, 0x8000);
            lay.worldScroll = tables.Take(2 + screens);
            r.Byte(lay.worldScroll, static_cast<uint8_t>(L.worldWidth));
            r.Byte(lay.worldScroll + 1, static_cast<uint8_t>(L.worldHeight));
            for (int i = 0; i < screens; ++i) r.Byte(lay.worldScroll + 2 + i, static_cast<uint8_t>(i));
            r.Pointer(key("WorldScrollDataPointer"), lay.worldScroll, 0xC000);
            key("WorldEntrancePointer");
            TOffset pal = key("WorldPalette"), pat = key("WorldPatternTable");
            r.Byte(pal, 0x02);
            r.Byte(pat, 0x03);
        }
        g.levels.push_back(lay);
    }
    return g;
}

std::vector<TLevelSpec> StandardLevels() {
    TLevelSpec a;
    TStageSpec s0;
    s0.width = 3;
    s0.height = 2;
    s0.rooms = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05};
    s0.enemies = {{0, 0x20, 0x40, 0x01}, {2, 0x80, 0x60, 0x82}, {2, 0x90, 0x30, 0x03}, {5, 0x10, 0x10, 0x00}};
    s0.objects = {{0, 0x05, 0x40, 0x50, {1, 2, 3, 4}}, {1, 0x07, 0x60, 0x20, {5, 6, 7, 8}}};
    TStageSpec s1;
    s1.rooms = {0x02};
    s1.bgPage = 0x0E;
    s1.sprPage = 0x11;
    s1.palette = 0x03;
    s1.ownTSA = true;
    s1.glitched = true;
    s1.maxTiles = 0x20;
    a.stages = {s0, s1};
    a.damStage = 1;
    a.worldWidth = 2;
    a.worldHeight = 2;

    TLevelSpec b;
    b.tsa = TTSAForm::PerStage;
    TStageSpec t0;
    t0.width = 2;
    t0.rooms = {0x00, 0x01};
    t0.bgPage = 0x0D;
    t0.palette = 0x05;
    t0.enemies = {{1, 0x40, 0x20, 0x82}};
    TStageSpec t1 = t0;
    t1.enemies.clear();
    t1.palette = 0x05;
    TStageSpec t2 = t0;
    t2.width = 1;
    t2.rooms = {0x01};
    t2.enemies.clear();
    b.stages = {t0, t1, t2};
    return {a, b};
}

TCliResult RunCli(const std::vector<std::string>& args) {
    auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char ch : s) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
        return q + "'";
    };
    std::string cmd = quote(std::string(QB_BIN_DIR) + "/quillborn-cli");
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " 2>&1";
    TCliResult r{-1, {}};
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

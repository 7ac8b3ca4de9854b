// info, detect, dump and repack.

#include <functional>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "model/classes_romdata.h"
#include "rom/Errors.h"
#include "tools/core_detect.h"

namespace {

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

template <typename T, typename F>
std::string JsonList(const T& items, F&& each) {
    std::string out = "[";
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ",";
        first = false;
        out += each(item);
    }
    return out + "]";
}

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string HexOffset(long long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, v < 0 ? "-$%llX" : "$%llX", v < 0 ? -v : v);
    return buf;
}

std::vector<int> Rooms(int count, const std::function<int(int)>& room) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(room(i));
    return out;
}

std::string NumberList(const std::vector<int>& v) {
    return JsonList(v, [](int n) { return std::to_string(n); });
}

std::string StageJson(const TROMData& rom, const TLevel& level, int index) {
    const TSideScrLevel& s = level.Stages[index];
    std::ostringstream o;
    o << "{\"number\":" << index + 1 << ",\"width\":" << int(s.Width()) << ",\"height\":" << int(s.Height())
      << ",\"rooms\":" << NumberList(Rooms(s.ScreenCount(), [&](int i) { return s.GetRoom(i); }))
      << ",\"bg_page\":" << int(s.GetBGPatternTable()) << ",\"spr_page\":" << int(s.GetSprPatternTable())
      << ",\"palette\":" << int(s.GetPaletteIndex())
      << ",\"sprite_changes\":" << NumberList(Rooms(4, [&](int i) { return s.GetSpriteChange(i); }))
      << ",\"glitched\":" << Bool(s.Glitched) << ",\"dam\":" << Bool(s.IsDamStage) << ",\"max_tiles\":" << int(s.MaxTiles)
      << ",\"room_base\":" << rom.RoomBaseOf(level) << ",\"tsa\":" << rom.TSAOf(level, index)
      << ",\"attributes\":" << rom.AttrOf(level, index) << ",\"scroll_data\":" << s.ScrollData << ",\"enemies\":";
    std::vector<const TEnemy*> enemies;
    if (s.Enemies)
        for (const auto& e : *s.Enemies) enemies.push_back(e.get());
    o << JsonList(enemies, [](const TEnemy* e) {
        return "{\"screen\":" + std::to_string(e->Screen) + ",\"x\":" + std::to_string(e->X()) + ",\"y\":" + std::to_string(e->Y()) +
               ",\"flags\":" + std::to_string(e->Flags) + "}";
    });
    std::vector<const TSpecObj*> objects;
    if (s.SpecObjs)
        for (const auto& ob : *s.SpecObjs) objects.push_back(ob.get());
    o << ",\"objects\":" << JsonList(objects, [](const TSpecObj* ob) {
        return "{\"screen\":" + std::to_string(ob->Screen) + ",\"kind\":" + std::to_string(ob->Kind) +
               ",\"x\":" + std::to_string(ob->X()) + ",\"y\":" + std::to_string(ob->Y()) + ",\"extra\":" +
               NumberList({ob->Extra[0], ob->Extra[1], ob->Extra[2], ob->Extra[3]}) + "}";
    });
    o << "}";
    return o.str();
}

void DumpJson(const TROMData& rom) {
    std::ostringstream o;
    o << "{\"rom\":{\"size\":" << rom.FileSize() << ",\"prg_banks\":" << rom.PRGCount() << ",\"chr_banks\":" << rom.CHRCount()
      << ",\"mapper\":" << rom.MapperNumber() << ",\"mapper_name\":" << JsonString(rom.MapperName())
      << ",\"diskdude\":" << Bool(rom.HasDiskDudeTag()) << ",\"valid\":" << Bool(rom.IsValidROM()) << "},\"levels\":[";
    for (int l = 0; l < rom.Levels.Count(); ++l) {
        const TLevel& level = rom.Levels[l];
        if (l) o << ",";
        o << "{\"number\":" << l + 1 << ",\"has_world_map\":" << Bool(level.HasWorldMap()) << ",\"dam_stage\":" << level.DamStage
          << ",\"max_tiles\":" << int(level.MaxTiles);
        if (level.HasWorldMap())
            o << ",\"world\":{\"width\":" << int(level.WorldWidth()) << ",\"height\":" << int(level.WorldHeight())
              << ",\"rooms\":" << NumberList(Rooms(level.WorldWidth() * level.WorldHeight(), [&](int i) { return level.GetWorldRoom(i); }))
              << ",\"palette\":" << int(level.WorldPaletteNumber()) << ",\"pattern_page\":" << int(level.WorldPatternPage()) << "}";
        o << ",\"stages\":[";
        for (int s = 0; s < level.Stages.Count(); ++s) o << (s ? "," : "") << StageJson(rom, level, s);
        o << "]}";
    }
    o << "]}\n";
    std::cout << o.str();
}

void DumpText(const TROMData& rom) {
    std::cout << "ROM: " << rom.ROMFileName() << "\n"
              << "  size " << rom.FileSize() << " bytes, " << rom.PRGCount() << " PRG banks, " << rom.CHRCount() << " CHR banks, mapper "
              << rom.MapperNumber() << " (" << rom.MapperName() << ")" << (rom.HasDiskDudeTag() ? ", DiskDude tag" : "")
              << (rom.IsValidROM() ? ", matches its data file" : ", does NOT match its data file's Mapper section") << "\n"
              << "Data file: " << rom.DataFileName << "\n"
              << "  enemies " << rom.EnemyCount() << " of at most " << rom.TotalEnemies << ", enemy area " << HexOffset(rom.StartEnemyData)
              << " to " << HexOffset(rom.EndEnemyData) << " (packed size " << rom.PackedEnemySize() << " bytes)\n";
    for (int l = 0; l < rom.Levels.Count(); ++l) {
        const TLevel& level = rom.Levels[l];
        std::cout << "Level " << l + 1 << ": " << level.Stages.Count() << " stage(s), max tiles " << int(level.MaxTiles)
                  << (level.DamStage >= 0 ? ", dam stage " + std::to_string(level.DamStage + 1) : std::string()) << "\n";
        if (level.HasWorldMap()) {
            std::cout << "  World map " << int(level.WorldWidth()) << "x" << int(level.WorldHeight()) << ", palette $"
                      << HexByte(level.WorldPaletteNumber()) << ", pattern page $" << HexByte(level.WorldPatternPage()) << ", rooms";
            for (int i = 0; i < level.WorldWidth() * level.WorldHeight(); ++i) std::cout << " " << HexByte(level.GetWorldRoom(i));
            std::cout << "\n";
        }
        for (int si = 0; si < level.Stages.Count(); ++si) {
            const TSideScrLevel& s = level.Stages[si];
            std::cout << "  Stage " << l + 1 << "-" << si + 1 << ": " << int(s.Width()) << "x" << int(s.Height()) << " screens"
                      << (s.Glitched ? ", glitched" : "") << (s.IsDamStage ? ", dam stage" : "") << ", BG page $"
                      << HexByte(s.GetBGPatternTable()) << ", sprite page $" << HexByte(s.GetSprPatternTable()) << ", palette $"
                      << HexByte(s.GetPaletteIndex()) << ", sprite changes";
            for (int k = 0; k < 4; ++k) std::cout << " $" << HexByte(s.GetSpriteChange(k));
            std::cout << (s.MaxTiles ? ", max tiles " + std::to_string(s.MaxTiles) : std::string()) << "\n"
                      << "    rooms at " << HexOffset(rom.RoomBaseOf(level)) << ", TSA at " << HexOffset(rom.TSAOf(level, si))
                      << ", attributes at " << HexOffset(rom.AttrOf(level, si)) << ", scroll data at " << HexOffset(s.ScrollData)
                      << "\n    screens:";
            for (int i = 0; i < s.ScreenCount(); ++i) std::cout << " " << HexByte(s.GetRoom(i));
            std::cout << "\n";
            if (s.Enemies)
                for (const auto& e : *s.Enemies)
                    std::cout << "    enemy on screen " << e->Screen << " at (" << e->X() << ", " << e->Y() << "), flags $"
                              << HexByte(e->Flags) << ", slot " << int(e->TypeSlot()) << "\n";
            if (s.SpecObjs)
                for (const auto& ob : *s.SpecObjs)
                    std::cout << "    object " << rom.SpecObjNames[ob->Kind] << " on screen " << int(ob->Screen) << " at (" << ob->X()
                              << ", " << ob->Y() << "), extra " << HexByte(ob->Extra[0]) << " " << HexByte(ob->Extra[1]) << " "
                              << HexByte(ob->Extra[2]) << " " << HexByte(ob->Extra[3]) << "\n";
        }
    }
}

}  // namespace

int CmdInfo(const TCliArgs& args) {
    const TiNESImage image(args.Positional(1, "ROM"));
    std::cout << "Mapper: " << image.MapperNumber() << " (" << image.MapperName() << ")\n"
              << "PRG banks: " << image.PRGCount() << "\n"
              << "CHR banks: " << image.CHRCount() << "\n"
              << "Size: " << image.Size() << " bytes\n"
              << "DiskDude tag: " << (image.HasDiskDudeTag() ? "yes" : "no") << "\n"
              << "iNES: " << (image.IsNESFile() ? "yes" : "no") << "\n";
    return 0;
}

int CmdDetect(const TCliArgs& args) {
    const std::string name = DetectDataFile(args.Positional(1, "ROM"), args.DataDir());
    if (name.empty()) throw EditorError("no data file matches");
    std::cout << name << "\n";
    return 0;
}

int CmdDump(const TCliArgs& args) {
    auto rom = args.OpenModel(args.Positional(1, "ROM"));
    rom->LoadEnemies();
    rom->LoadSpecObjs();
    if (args.Has("--json"))
        DumpJson(*rom);
    else
        DumpText(*rom);
    return 0;
}

int CmdRepack(const TCliArgs& args) {
    auto out = args.Get("-o");
    if (!out) throw UsageError("repack needs -o OUT");
    auto rom = args.OpenModel(args.Positional(1, "ROM"));
    rom->LoadEnemies();
    rom->LoadSpecObjs();
    if (!rom->SaveROMAs(*out)) throw EditorError(rom->SaveError());
    return 0;
}

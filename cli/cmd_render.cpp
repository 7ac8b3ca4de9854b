// render: a screen, a whole stage or a level's world map as a PNG.

#include <stb_image_write.h>

#include <cstdint>
#include <vector>

#include "cli/commands.h"
#include "model/classes_romdata.h"
#include "render/stage_sheet.h"
#include "rom/Errors.h"

namespace {

// Palette colours carry alpha 0; a PNG viewer would take that as transparent.
void WritePNG(const TBitmap32& picture, const std::string& path) {
    const int w = picture.Width(), h = picture.Height();
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    const TColor32* px = picture.Bits();
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        rgba[4 * i] = static_cast<uint8_t>(px[i] >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(px[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(px[i]);
        rgba[4 * i + 3] = 0xFF;
    }
    if (!stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4)) throw EditorError("cannot write \"" + path + "\"");
}

int CountedFrom1(const TCliArgs& args, const std::string& name, int count, const std::string& what) {
    if (!args.Has(name)) throw UsageError("render needs " + name + " N");
    const int n = args.Number(name, 0);
    if (n < 1 || n > count)
        throw EditorError(what + " " + std::to_string(n) + " does not exist (there " + (count == 1 ? "is " : "are ") +
                          std::to_string(count) + ")");
    return n - 1;
}

}  // namespace

int CmdRender(const TCliArgs& args) {
    const std::string& romPath = args.Positional(1, "ROM");
    const auto out = args.Get("-o");
    if (!out) throw UsageError("render needs -o OUT.png");
    const bool world = args.Has("--world");
    if (world == args.Has("--stage")) throw UsageError("render needs either --stage N or --world");
    if (args.Has("--screen") && args.Has("--all")) throw UsageError("--screen and --all exclude each other");
    if (world && (args.Has("--screen") || args.Has("--all") || args.Has("--no-markers")))
        throw UsageError("--world takes no --screen, --all or --no-markers");

    auto rom = args.OpenModel(romPath);
    if (auto palette = args.Get("--palette"))
        rom->LoadPaletteFile(*palette);
    else
        rom->LoadDefaultPalette();

    rom->SetLevel(CountedFrom1(args, "--level", rom->Levels.Count(), "level"));
    TBitmap32 picture;
    if (world) {
        DrawWholeWorld(*rom, picture);
    } else {
        rom->SetStage(CountedFrom1(args, "--stage", rom->CurrentLevel->Stages.Count(), "stage"));
        const uint8_t mask = args.Has("--no-markers") ? 0 : 3;
        if (args.Has("--all")) {
            DrawWholeStage(*rom, mask, picture);
        } else {
            const int screens = rom->CurrentStage->ScreenCount();
            const int screen = args.Number("--screen", 0);
            if (screen < 0 || screen >= screens)
                throw EditorError("screen " + std::to_string(screen) + " does not exist (the stage has " + std::to_string(screens) +
                                  " screens, counted from 0)");
            rom->SetScreen(screen);
            picture.SetSize(256, 192);
            rom->DrawScreen(picture, mask, 0);
        }
    }
    WritePNG(picture, *out);
    return 0;
}

// quillborn-bench: drawing speed, each figure as a ratio to a plain memory copy of the same
// number of bytes measured in the same run.
//
//   build/bin/quillborn-bench [--benchmark_repetitions=N ...]
//
// Works on the demo ROM beside the executable (demo.nes, "Data/Quillborn Demo.ini"); without it,
// on a game from the test fixture builder.

#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/classes_romdata.h"
#include "render/map_views.h"
#include "render/stage_sheet.h"
#include "support/fixtures.h"

namespace {

struct TPlace {
    int level = 0, stage = 0, screen = 0;
};

struct TBench {
    TTempDir dir, data;
    std::string source;
    std::unique_ptr<TROMData> rom;
    TPlace view;   // the screen with the most markers
    TPlace sheet;  // the stage with the most screens
    int markers = 0;
    long long sheetBytes = 0;
};

TBench* bench = nullptr;

// Marker pictures of the right sizes; their look does not matter here.
void WriteMarkerPictures(const TTempDir& data) {
    auto write = [&](const char* name, int w, int h) {
        std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
        stbi_write_bmp(data.File(name).c_str(), w, h, 3, rgb.data());
    };
    write("numbers.bmp", 128, 8);
    write("blankenemy.bmp", 16, 16);
    write("blankspecobj.bmp", 16, 16);
}

std::unique_ptr<TROMData> OpenGame(TBench& b) {
    const std::string bin = QB_BIN_DIR;
    const std::string demo = bin + "/demo.nes", demoIni = bin + "/Data/Quillborn Demo.ini";
    std::error_code ec;
    if (std::filesystem::exists(demo, ec) && std::filesystem::exists(demoIni, ec)) {
        b.source = "demo ROM " + demo;
        return std::make_unique<TROMData>(demo, demoIni, b.data.Path());
    }
    TLevelSpec level;
    TStageSpec stage;
    stage.width = 8;
    stage.height = 2;
    stage.enemies = {{0, 0x20, 0x40, 1}, {0, 0x60, 0x80, 2}, {0, 0xA0, 0x20, 3}, {3, 0x10, 0x10, 0}};
    stage.objects = {{0, 0x05, 0x40, 0x50, {0, 0, 0, 0}}};
    level.stages = {stage};
    const TTestGame game = BuildTestGame({level});
    b.source = "fixture game (no demo ROM at " + demo + ")";
    return std::make_unique<TROMData>(game.Write(b.dir), game.IniPath(b.dir), b.data.Path());
}

int MarkersOnScreen(const TROMData& rom) {
    int n = 0;
    for (const auto& e : *rom.CurrentStage->Enemies) n += e->Screen == rom.Screen;
    for (const auto& o : *rom.CurrentStage->SpecObjs) n += o->Screen == rom.Screen;
    return n;
}

void Select(TROMData& rom, const TPlace& p) {
    rom.SetLevel(p.level);
    rom.SetStage(p.stage);
    rom.SetScreen(p.screen);
}

void Prepare(TBench& b) {
    WriteMarkerPictures(b.data);
    b.rom = OpenGame(b);
    TROMData& rom = *b.rom;
    rom.LoadDefaultPalette();
    int bestMarkers = -1, bestScreens = -1;
    for (int l = 0; l < rom.Levels.Count(); ++l) {
        if (rom.Levels[l].Stages.Empty()) continue;
        rom.SetLevel(l);
        for (int s = 0; s < rom.CurrentLevel->Stages.Count(); ++s) {
            rom.SetStage(s);
            const int screens = rom.CurrentStage->ScreenCount();
            if (screens > bestScreens) bestScreens = screens, b.sheet = {l, s, 0};
            for (int k = 0; k < screens; ++k) {
                rom.Screen = k;  // counting only; nothing is drawn
                if (int m = MarkersOnScreen(rom); m > bestMarkers) bestMarkers = m, b.view = {l, s, k};
            }
        }
    }
    // The view is measured with markers: give the chosen screen a few when the game has none there.
    Select(rom, b.view);
    for (int i = MarkersOnScreen(rom); i < 6; ++i) rom.CurrentStage->Enemies->Emplace(24 + 36 * i, 20 + 24 * i, i & 7, rom.Screen);
    b.markers = MarkersOnScreen(rom);
    Select(rom, b.sheet);
    b.sheetBytes = 4LL * rom.CurrentStage->Width() * 256 * rom.CurrentStage->Height() * 192;
}

void Copy(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void ComposeStageViewWarm(benchmark::State& state) {
    TROMData& rom = *bench->rom;
    Select(rom, bench->view);
    const TStageViewParams params{3, 0, static_cast<uint8_t>(state.range(0)), {true, 0xFFFFFFFFu}};
    TBitmap32 view;
    ComposeStageView(rom, params, view);  // warms the cache and sizes the picture
    for (auto _ : state) {
        ComposeStageView(rom, params, view);
        benchmark::DoNotOptimize(view.Bits());
        benchmark::ClobberMemory();
    }
    state.counters["markers"] = bench->markers;
}

void DrawAllBlocksCold(benchmark::State& state) {
    TROMData& rom = *bench->rom;
    Select(rom, bench->view);
    for (auto _ : state) {
        rom.BlockDrawn.fill(false);
        for (int n = 0; n < 256; ++n) {
            rom.RenderBlock(n);
            rom.BlockDrawn[static_cast<size_t>(n)] = true;
        }
        benchmark::DoNotOptimize(rom.BlockCache->Bits());
        benchmark::ClobberMemory();
    }
}

// What `render --all` does once the model is open: every screen from a cold cache into one sheet.
void RenderWholeStage(benchmark::State& state) {
    TROMData& rom = *bench->rom;
    Select(rom, bench->sheet);
    TBitmap32 sheet;
    for (auto _ : state) {
        rom.BlockDrawn.fill(false);
        DrawWholeStage(rom, 3, sheet);
        benchmark::DoNotOptimize(sheet.Bits());
        benchmark::ClobberMemory();
    }
    state.counters["screens"] = rom.CurrentStage->ScreenCount();
}

// The console report, plus each measurement as a ratio to its baseline at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& r : reports) {
            if (r.error_occurred) continue;
            const std::string name = r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args);
            const double t = r.GetAdjustedRealTime();
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "median") median_[name] = t;
            } else if (!best_.count(name) || t < best_[name]) {
                best_[name] = t;
            }
        }
    }

    void PrintRatios() const {
        struct Pair {
            const char* label;
            std::string measured, baseline;
            const char* note;
        };
        const std::vector<Pair> pairs = {
            {"stage view, warm cache, opaque markers", "ComposeStageView/255", "Memcpy256KiB", "  (target: at most 3x)"},
            {"stage view, warm cache, blended markers", "ComposeStageView/200", "Memcpy256KiB", ""},
            {"256 blocks into a cold cache", "DrawAllBlocksCold", "Memcpy1MiB", ""},
            {"whole stage, as render --all", "RenderWholeStage", "MemcpySheet", ""},
        };
        std::printf("\nRatios to the baseline copy of the same bytes (same run, %s real time):\n",
                    median_.empty() ? "best" : "median");
        for (const auto& p : pairs) {
            const double m = Time(p.measured), b = Time(p.baseline);
            if (m <= 0 || b <= 0) continue;  // filtered out
            std::printf("  %-42s %8.2fx  (%s / %s)%s\n", p.label, m / b, p.measured.c_str(), p.baseline.c_str(), p.note);
        }
    }

private:
    double Time(const std::string& name) const {
        if (auto it = median_.find(name); it != median_.end()) return it->second;
        if (auto it = best_.find(name); it != best_.end()) return it->second;
        return 0;
    }
    std::map<std::string, double> best_, median_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TBench b;
    try {
        Prepare(b);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 2;
    }
    bench = &b;
    std::printf("Game: %s\nView: level %d stage %d screen %d, %d markers; sheet: level %d stage %d\n", b.source.c_str(),
                b.view.level + 1, b.view.stage + 1, b.view.screen, b.markers, b.sheet.level + 1, b.sheet.stage + 1);

    const size_t sheetBytes = static_cast<size_t>(b.sheetBytes);
    benchmark::RegisterBenchmark("Memcpy256KiB", [](benchmark::State& s) { Copy(s, 256 * 256 * 4); })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ComposeStageView", ComposeStageViewWarm)->Arg(255)->Arg(200)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Memcpy1MiB", [](benchmark::State& s) { Copy(s, BlockCacheWidth * BlockSize * 4); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("DrawAllBlocksCold", DrawAllBlocksCold)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("MemcpySheet", [sheetBytes](benchmark::State& s) { Copy(s, sheetBytes); })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("RenderWholeStage", RenderWholeStage)->Unit(benchmark::kMicrosecond);

    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    bench = nullptr;
    return 0;
}

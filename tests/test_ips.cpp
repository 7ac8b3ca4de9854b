// IPS patches: our writer against an independent search for the cheapest patch, the reader against
// malformed patches, the file functions and the command line.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

#include "rom/Errors.h"
#include "support/fixtures.h"
#include "tools/core_ips.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

bool Must(const Bytes& clean, const Bytes& edited, size_t i) { return i >= clean.size() || clean[i] != edited[i]; }

// The cheapest patch made of non-overlapping records, by a plain search over every record [i, j):
// an independent check on the writer, too slow for real files.
size_t ReferenceSize(const Bytes& clean, const Bytes& edited) {
    const size_t n = edited.size();
    const int64_t inf = INT64_MAX / 4;
    std::vector<int64_t> best(n + 1, inf);
    best[0] = 0;
    for (size_t j = 1; j <= n; ++j) {
        if (!Must(clean, edited, j - 1)) best[j] = best[j - 1];
        bool constant = true;
        for (size_t i = j; i-- > 0 && j - i <= IPSMaxRecordLength;) {
            constant = constant && edited[i] == edited[j - 1];
            if (i == IPSEOFOffset || best[i] >= inf) continue;
            best[j] = std::min(best[j], best[i] + 5 + static_cast<int64_t>(j - i));
            if (constant) best[j] = std::min(best[j], best[i] + 8);
        }
    }
    return 5 + static_cast<size_t>(best[n]) + 3 + (n < clean.size() ? 3 : 0);
}

// What a simple writer makes: one plain record per run of changed bytes.
size_t NaiveSize(const Bytes& clean, const Bytes& edited) {
    size_t size = 8 + (edited.size() < clean.size() ? 3 : 0);
    for (size_t i = 0; i < edited.size();) {
        if (!Must(clean, edited, i)) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < edited.size() && Must(clean, edited, j) && j - i < IPSMaxRecordLength) ++j;
        size += 5 + (j - i);
        i = j;
    }
    return size;
}

// A file of the given size with a few structures ROMs have: runs of one value and varied bytes.
Bytes Varied(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(size);
    for (size_t i = 0; i < size;) {
        const size_t run = 1 + rng() % 12;
        const uint8_t v = static_cast<uint8_t>(rng());
        const bool flat = rng() % 3 == 0;
        for (size_t k = 0; k < run && i < size; ++k, ++i) b[i] = flat ? v : static_cast<uint8_t>(rng());
    }
    return b;
}

// Edits of the kinds hacks make: scattered bytes, filled areas, copied blocks, a few bytes in a fill.
Bytes Edit(const Bytes& clean, uint32_t seed, size_t newSize) {
    std::mt19937 rng(seed);
    Bytes e = clean;
    e.resize(newSize, 0);
    if (e.empty()) return e;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < edits; ++k) {
        const size_t at = rng() % e.size();
        const size_t len = std::min<size_t>(e.size() - at, 1 + rng() % 40);
        switch (rng() % 4) {
        case 0: e[at] = static_cast<uint8_t>(rng()); break;
        case 1: std::fill_n(e.begin() + static_cast<std::ptrdiff_t>(at), len, static_cast<uint8_t>(rng() % 2 ? 0xFF : 0x00)); break;
        case 2:
            for (size_t i = 0; i < len; ++i) e[at + i] = static_cast<uint8_t>(rng());
            break;
        case 3: {
            const uint8_t v = static_cast<uint8_t>(rng());
            std::fill_n(e.begin() + static_cast<std::ptrdiff_t>(at), len, v);
            if (len > 4) e[at + len / 2] = static_cast<uint8_t>(v + 1);
            break;
        }
        }
    }
    return e;
}

}  // namespace

TEST(IPS, RoundTripsAndIsNeverLargerThanTheCheapestPlainPatch) {
    struct Case {
        size_t cleanSize, editedSize;
    };
    const Case cases[] = {{0, 0}, {0, 37}, {37, 0}, {1, 1}, {64, 64}, {200, 200}, {200, 260}, {260, 200}, {300, 300}};
    for (const Case& c : cases) {
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            const Bytes clean = Varied(c.cleanSize, seed);
            const Bytes edited = Edit(clean, seed * 7919u, c.editedSize);
            const Bytes patch = CreateIPS(clean, edited);
            SCOPED_TRACE("sizes " + std::to_string(c.cleanSize) + "->" + std::to_string(c.editedSize) + " seed " + std::to_string(seed));
            ASSERT_EQ(ApplyIPS(patch, clean), edited);
            EXPECT_LE(patch.size(), ReferenceSize(clean, edited));
            EXPECT_LE(patch.size(), NaiveSize(clean, edited));
            // Only the truncation extension follows "EOF", and only when the file shrank.
            const TIPSPatch parsed = ParseIPS(patch);
            EXPECT_EQ(parsed.TruncateTo.has_value(), c.editedSize < c.cleanSize);
            EXPECT_EQ(WriteIPS(parsed), patch);
        }
    }
}

TEST(IPS, SizesOfKnownPatches) {
    struct Case {
        const char* name;
        std::function<void(Bytes& clean, Bytes& edited)> make;
        size_t expected;
    };
    const Case cases[] = {
        {"identical files", [](Bytes&, Bytes&) {}, 8},
        {"one byte", [](Bytes&, Bytes& e) { e[10] = 1; }, 5 + 6 + 3},
        // Two changes 4 bytes apart: one record of 6 (11) beats two of 1 (12).
        {"merged across a gap of 4", [](Bytes&, Bytes& e) { e[10] = 1, e[15] = 2; }, 5 + 11 + 3},
        // 6 bytes apart: two records (12) beat one of 8 (13).
        {"split across a gap of 6", [](Bytes&, Bytes& e) { e[10] = 1, e[17] = 2; }, 5 + 12 + 3},
        {"a run is one RLE record", [](Bytes&, Bytes& e) { std::fill_n(e.begin() + 20, 40, 0xFF); }, 5 + 8 + 3},
        // Three bytes of a run: a plain record (8) equals an RLE record (8).
        {"short run", [](Bytes&, Bytes& e) { std::fill_n(e.begin() + 20, 3, 0xFF); }, 5 + 8 + 3},
        // A run with one other byte inside: one RLE record below and one byte on top (8 + 6),
        // where records side by side need 8 + 6 + 8.
        {"a run with a byte inside",
         [](Bytes&, Bytes& e) {
             std::fill_n(e.begin() + 20, 60, 0xFF);
             e[50] = 0x12;
         },
         5 + 14 + 3},
        // A run of 00 holding a run of FF: both as RLE records, the second on top.
        {"a run inside a run",
         [](Bytes&, Bytes& e) {
             std::fill_n(e.begin() + 20, 80, 0x00);
             std::fill_n(e.begin() + 50, 10, 0xFF);
         },
         5 + 16 + 3},
        // Unchanged bytes equal to the run do not break it.
        {"a run over unchanged equal bytes",
         [](Bytes& c, Bytes& e) {
             std::fill_n(c.begin() + 30, 10, 0x55);
             std::fill_n(e.begin() + 20, 40, 0x55);
         },
         5 + 8 + 3},
        {"longer file: new bytes written in full", [](Bytes&, Bytes& e) { e.resize(e.size() + 10, 0); }, 5 + 8 + 3},
        {"longer file with varied bytes", [](Bytes&, Bytes& e) { for (int i = 0; i < 7; ++i) e.push_back(static_cast<uint8_t>(i + 1)); },
         5 + 12 + 3},
        {"shorter file: truncation after EOF", [](Bytes&, Bytes& e) { e.resize(e.size() - 9); }, 5 + 3 + 3},
        {"shorter file and a change", [](Bytes&, Bytes& e) { e.resize(e.size() - 9), e[0] = 9; }, 5 + 6 + 3 + 3},
        // Over the record limit: 65535 + 4465 varied bytes need two plain records.
        {"plain data over 65535 bytes",
         [](Bytes& c, Bytes& e) {
             c.assign(80000, 0);
             e = c;
             for (size_t i = 100; i < 70100; ++i) e[i] = static_cast<uint8_t>(1 + i % 200);
         },
         5 + (5 + 65535) + (5 + 4465) + 3},
        {"a run over 65535 bytes", [](Bytes& c, Bytes& e) { c.assign(80000, 0), e = c, std::fill_n(e.begin() + 10, 70000, 0xEE); },
         5 + 16 + 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes clean(100);
        for (size_t i = 0; i < clean.size(); ++i) clean[i] = static_cast<uint8_t>(i * 37 + 11);
        Bytes edited = clean;
        c.make(clean, edited);
        const Bytes patch = CreateIPS(clean, edited);
        EXPECT_EQ(patch.size(), c.expected);
        EXPECT_EQ(ApplyIPS(patch, clean), edited);
        for (const TIPSRecord& r : ParseIPS(patch).Records) EXPECT_LE(r.Length, IPSMaxRecordLength);
    }
}

TEST(IPS, NoRecordStartsAtTheEOFOffset) {
    struct Case {
        const char* name;
        uint32_t from, count;
        bool run;
        bool equalBefore;  // the unchanged byte before the change already holds the run's value
        size_t expected;
    };
    const Case cases[] = {
        {"one byte at the offset: start one earlier", IPSEOFOffset, 1, false, false, 5 + 7 + 3},
        {"a run from the offset, unchanged equal byte before", IPSEOFOffset, 30, true, true, 5 + 8 + 3},
        // The run's RLE record starts one byte early, and the byte before it goes on top.
        {"a run from the offset, other byte before", IPSEOFOffset, 30, true, false, 5 + 14 + 3},
        {"varied bytes from the offset", IPSEOFOffset, 20, false, false, 5 + 26 + 3},
        {"a change across the offset", IPSEOFOffset - 3, 7, false, false, 5 + 12 + 3},
    };
    Bytes base(IPSEOFOffset + 100, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes clean = base, edited = base;
        clean[IPSEOFOffset - 1] = c.equalBefore ? 0x77 : 0x01;
        edited[IPSEOFOffset - 1] = clean[IPSEOFOffset - 1];
        for (uint32_t i = 0; i < c.count; ++i) edited[c.from + i] = c.run ? 0x77 : static_cast<uint8_t>(0x80 + i);
        const Bytes patch = CreateIPS(clean, edited);
        EXPECT_EQ(patch.size(), c.expected);
        for (const TIPSRecord& r : ParseIPS(patch).Records) EXPECT_NE(r.Offset, IPSEOFOffset);
        EXPECT_EQ(ApplyIPS(patch, clean), edited);
    }
}

TEST(IPS, FilesOver16MiBAreRefused) {
    const Bytes big(IPSMaxFileSize + 1, 0), fits(IPSMaxFileSize, 0);
    EXPECT_THROW(CreateIPS(big, fits), EditorError);
    EXPECT_THROW(CreateIPS(fits, big), EditorError);
    // 16 MiB exactly: the last offset, $FFFFFF, still fits in 24 bits.
    Bytes edited = fits;
    edited.back() = 1;
    const Bytes patch = CreateIPS(fits, edited);
    EXPECT_EQ(patch.size(), 5u + 6 + 3);
    EXPECT_EQ(ParseIPS(patch).Records.at(0).Offset, 0xFFFFFFu);
}

TEST(IPS, ApplyReadsPlainRLEAndTruncationRecords) {
    struct Case {
        const char* name;
        Bytes patch, input, expected;
    };
    const Case cases[] = {
        {"plain", {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 2, 0xAA, 0xBB, 'E', 'O', 'F'}, {1, 2, 3, 4}, {1, 0xAA, 0xBB, 4}},
        {"RLE", {'P', 'A', 'T', 'C', 'H', 0, 0, 2, 0, 0, 0, 3, 0x5A, 'E', 'O', 'F'}, {1, 2, 3, 4, 5, 6}, {1, 2, 0x5A, 0x5A, 0x5A, 6}},
        {"later records overwrite earlier ones",
         {'P', 'A', 'T', 'C', 'H', 0, 0, 0, 0, 0, 0, 5, 0x11, 0, 0, 2, 0, 1, 0x22, 'E', 'O', 'F'},
         {0, 0, 0, 0, 0},
         {0x11, 0x11, 0x22, 0x11, 0x11}},
        {"records past the end grow the file, the gap zero-filled", {'P', 'A', 'T', 'C', 'H', 0, 0, 6, 0, 1, 9, 'E', 'O', 'F'}, {1, 2}, {1, 2, 0, 0, 0, 0, 9}},
        {"truncation", {'P', 'A', 'T', 'C', 'H', 0, 0, 0, 0, 1, 7, 'E', 'O', 'F', 0, 0, 3}, {1, 2, 3, 4, 5}, {7, 2, 3}},
        {"empty patch", {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'}, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ApplyIPS(c.patch, c.input), c.expected);
    }
}

TEST(IPS, MalformedPatchesAreRefusedAndWriteNothing) {
    struct Case {
        const char* name;
        Bytes patch;
        const char* reason;
    };
    const Case cases[] = {
        {"empty file", {}, "does not begin with \"PATCH\""},
        {"bad header", {'P', 'A', 'T', 'C', 'X', 'E', 'O', 'F'}, "does not begin with \"PATCH\""},
        {"missing EOF", {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 1, 7}, "without the \"EOF\" marker"},
        {"record header cut off", {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0}, "is cut off"},
        {"record data past the end", {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 9, 7, 'E', 'O', 'F'}, "reaches past the end"},
        {"RLE record past the end", {'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 0, 0, 4}, "reaches past the end"},
        {"junk after EOF", {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 1, 2}, "2 unexpected bytes"},
        {"four bytes after EOF", {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0, 0, 1, 2}, "4 unexpected bytes"},
    };
    TTempDir dir;
    const Bytes input = {1, 2, 3, 4, 5};
    const std::string in = dir.Write("in.bin", input);
    const std::string existing = dir.Write("existing.bin", Bytes{9, 9});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ApplyIPS(c.patch, input);
            ADD_FAILURE() << "accepted";
        } catch (const EditorError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        const std::string patch = dir.Write("bad.ips", c.patch);
        const std::string fresh = dir.File("fresh.bin");
        try {
            ApplyIPSFile(patch, in, fresh);
            ADD_FAILURE() << "accepted";
        } catch (const EditorError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + patch + "\" is not a valid IPS patch"), std::string::npos) << e.what();
        }
        EXPECT_THROW(ApplyIPSFile(patch, in, existing), EditorError);
        EXPECT_FALSE(fs::exists(fresh));
        EXPECT_EQ(ReadFileBytes(existing), (Bytes{9, 9}));
    }
    // Nothing but the files we wrote: no temporary file left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}

TEST(IPS, FilesAreWrittenWholeOrNotAtAll) {
    TTempDir dir;
    const Bytes clean = Varied(4000, 5), edited = Edit(clean, 99, 4100);
    const std::string c = dir.Write("clean.nes", clean), e = dir.Write("edited.nes", edited);
    CreateIPSFile(c, e, dir.File("hack.ips"));
    ApplyIPSFile(dir.File("hack.ips"), c, dir.File("out.nes"));
    EXPECT_EQ(ReadFileBytes(dir.File("out.nes")), edited);
    EXPECT_EQ(ReadFileBytes(dir.File("hack.ips")), CreateIPS(clean, edited));
    // Applying in place replaces the input.
    ApplyIPSFile(dir.File("hack.ips"), c, c);
    EXPECT_EQ(ReadFileBytes(c), edited);

    // A folder that does not exist, and a read-only folder: an error, no file.
    EXPECT_THROW(CreateIPSFile(e, e, dir.File("missing/hack.ips")), EditorError);
    fs::create_directories(dir.File("locked"));
    ::chmod(dir.File("locked").c_str(), 0555);
    if (::access(dir.File("locked").c_str(), W_OK) != 0) {  // root writes anywhere
        EXPECT_THROW(CreateIPSFile(e, e, dir.File("locked/hack.ips")), EditorError);
        EXPECT_TRUE(fs::is_empty(dir.File("locked")));
    }
    ::chmod(dir.File("locked").c_str(), 0755);
    EXPECT_THROW(CreateIPSFile(dir.File("nothing.nes"), e, dir.File("x.ips")), EditorError);
    EXPECT_FALSE(fs::exists(dir.File("x.ips")));
}

// ---------------------------------------------------------------- the command line


TEST(IPS, CommandLineCreatesAndAppliesOnTheDemo) {
    const std::string demo = std::string(QB_BIN_DIR) + "/demo.nes";
    ASSERT_TRUE(fs::exists(demo));
    TTempDir dir;
    const Bytes clean = ReadFileBytes(demo);
    Bytes edited = Edit(clean, 2024, clean.size());
    std::fill_n(edited.begin() + 0x9000, 0x300, 0xFF);
    const std::string e = dir.Write("edited.nes", edited);

    TCliResult r = RunCli({"ips", "create", demo, e, dir.File("hack.ips")});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFileBytes(dir.File("hack.ips")), CreateIPS(clean, edited));
    r = RunCli({"ips", "apply", dir.File("hack.ips"), demo, dir.File("out.nes")});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(ReadFileBytes(dir.File("out.nes")), edited);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outStart;
    };
    const std::string junk = dir.Write("junk.ips", std::string("PATCHEOFxx"));
    const Case cases[] = {
        {{"ips", "apply", junk, demo, dir.File("never.nes")}, 2,
         "error: \"" + junk + "\" is not a valid IPS patch: 2 unexpected bytes follow the \"EOF\" marker.\n"},
        {{"ips", "create", dir.File("none.nes"), e, dir.File("never.ips")}, 2, "error: Cannot open file \"" + dir.File("none.nes") + "\"."},
        {{"ips", "create", demo, e}, 1, "error: missing OUT.ips\n"},
        {{"ips", "merge", demo, e, dir.File("never.ips")}, 1, "error: unknown ips action 'merge'"},
    };
    for (const Case& c : cases) {
        r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << r.out;
        EXPECT_EQ(r.out.rfind(c.outStart, 0), 0u) << r.out;
    }
    EXPECT_FALSE(fs::exists(dir.File("never.nes")));
    EXPECT_FALSE(fs::exists(dir.File("never.ips")));
}

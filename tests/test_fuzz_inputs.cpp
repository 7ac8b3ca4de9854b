// The fuzzer's seeds and every input it once crashed on, replayed through the same harness.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_harness.h"
#include "support/fixtures.h"

TEST(FuzzInputs, SeedsAndKeptCrashesRunCleanly) {
    int replayed = 0;
    for (const char* folder : {"seeds", "regressions"}) {
        const std::filesystem::path dir = std::filesystem::path(QB_SOURCE_DIR) / "fuzz" / folder;
        if (!std::filesystem::exists(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const auto bytes = ReadFileBytes(entry.path().string());
            SCOPED_TRACE(entry.path().string());
            EXPECT_NO_THROW(RunModelFuzzInput(bytes.data(), bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

TEST(FuzzInputs, InputsSplitBackIntoTextAndROM) {
    const std::vector<uint8_t> rom = {'N', 'E', 'S', '\\', '\\', 0, 0xFF};
    for (const std::string text : {"", "[General]\nLevels=1\n", "a\\b\\\\c\\"}) {
        const auto input = MakeModelFuzzInput(text, rom);
        std::string t;
        std::vector<uint8_t> r;
        SplitModelFuzzInput(input.data(), input.size(), t, r);
        EXPECT_EQ(t, text);
        EXPECT_EQ(r, rom);
    }
}

// quillborn-cli as a user runs it: on the demo ROM and on ROMs built by the tests.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

#include "support/fixtures.h"

namespace {

const std::string Demo = std::string(QB_BIN_DIR) + "/demo.nes";

}  // namespace

TEST(Cli, InfoOnTheDemo) {
    ASSERT_TRUE(std::filesystem::exists(Demo));
    const TCliResult r = RunCli({"info", Demo});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out,
              "Mapper: 1 (Nintendo MMC1)\nPRG banks: 8\nCHR banks: 16\nSize: 262160 bytes\nDiskDude tag: no\niNES: yes\n");
}

TEST(Cli, DetectFindsTheDemoDataFileAndOnlyForTheDemo) {
    TCliResult r = RunCli({"detect", Demo});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Quillborn Demo.ini\n");

    TTempDir dir;
    const std::string other = dir.Write("other.nes", TRomBytes().bytes);
    r = RunCli({"detect", other});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "error: no data file matches\n");
}

TEST(Cli, DumpAndRepackTheDemo) {
    TCliResult r = RunCli({"dump", Demo, "--json"});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"rom\":{\"size\":262160,\"prg_banks\":8,\"chr_banks\":16,\"mapper\":1,\"mapper_name\":\"Nintendo MMC1\""),
              std::string::npos);
    EXPECT_NE(r.out.find("\"valid\":true"), std::string::npos);
    EXPECT_NE(r.out.find("\"has_world_map\":true"), std::string::npos);

    // Repacking writes a new file and leaves the input untouched; dumping the copy gives the same model.
    TTempDir dir;
    const auto before = ReadFileBytes(Demo);
    const std::string out = dir.File("repacked.nes");
    TCliResult p = RunCli({"repack", Demo, "-o", out});
    ASSERT_EQ(p.status, 0) << p.out;
    EXPECT_EQ(ReadFileBytes(Demo), before);
    TCliResult again = RunCli({"dump", out, "--json", "--data", std::string(QB_BIN_DIR) + "/Data/Quillborn Demo.ini"});
    ASSERT_EQ(again.status, 0) << again.out;
    EXPECT_EQ(again.out, r.out);
}

TEST(Cli, DumpOfAFixtureGame) {
    TTempDir dir;
    TTestGame g = BuildTestGame(StandardLevels());
    const std::string rom = g.Write(dir);
    TCliResult r = RunCli({"dump", rom, "--json", "--data", g.IniPath(dir), "--data-dir", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.out;
    // Stage 1 of level 1: 3x2, the enemies as the fixture placed them, y as the model holds it.
    EXPECT_NE(r.out.find("{\"number\":1,\"width\":3,\"height\":2,\"rooms\":[0,1,2,3,4,5],\"bg_page\":13,\"spr_page\":16,\"palette\":0,"
                         "\"sprite_changes\":[17,18,19,20],\"glitched\":false,\"dam\":false,\"max_tiles\":0,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"enemies\":[{\"screen\":0,\"x\":32,\"y\":64,\"flags\":1},{\"screen\":2,\"x\":128,\"y\":96,\"flags\":130}"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"objects\":[{\"screen\":0,\"kind\":5,\"x\":64,\"y\":80,\"extra\":[1,2,3,4]}"), std::string::npos);
    EXPECT_NE(r.out.find("\"world\":{\"width\":2,\"height\":2,\"rooms\":[0,1,2,3],\"palette\":2,\"pattern_page\":3}"), std::string::npos);
    EXPECT_NE(r.out.find("\"dam_stage\":1"), std::string::npos);

    TCliResult text = RunCli({"dump", rom, "--data", g.IniPath(dir), "--data-dir", dir.Path()});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Stage 1-2: 1x1 screens, glitched, dam stage"), std::string::npos) << text.out;
}

TEST(Cli, ErrorsAndStatus) {
    TTempDir dir;
    TTestGame g = BuildTestGame(StandardLevels());
    const std::string rom = g.Write(dir);
    const std::string bad = dir.Write("bad.ini", "[General]\nLevels=1\n[Level0]\nNumOfStages=1\nLevelDataPointer=xyz\n");
    TCliResult r = RunCli({"dump", rom, "--data", bad});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "error: 'xyz' is not a valid integer value\n");

    r = RunCli({"info", dir.File("missing.nes")});
    EXPECT_EQ(r.status, 2);
    r = RunCli({"frobnicate"});
    EXPECT_EQ(r.status, 1);
    r = RunCli({"repack", rom, "--data", g.IniPath(dir)});
    EXPECT_EQ(r.status, 1);  // no -o
}

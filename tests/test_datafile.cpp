#include <gtest/gtest.h>

#include "model/MemINIHexFile.h"
#include "model/NameList.h"
#include "model/classes_romdata.h"
#include "rom/Errors.h"
#include "support/fixtures.h"

TEST(IniFile, SectionsAndKeysIgnoreCaseAndKeepOrder) {
    TIniFile ini = TIniFile::FromText("; top comment\r\n[General]\r\nLevels = 3\r\n; note\r\nfoo=bar\r\n[level0]\nNumOfStages=2\n[GENERAL]\nextra=1\n");
    EXPECT_EQ(ini.ReadInteger("general", "LEVELS", 0), 3);
    EXPECT_EQ(ini.ReadString("Level0", "numofstages", ""), "2");
    EXPECT_EQ(ini.ReadString("General", "extra", ""), "1");  // a repeated section joins the first
    EXPECT_FALSE(ini.ValueExists("General", "missing"));
    EXPECT_FALSE(ini.ValueExists("Nowhere", "Levels"));
    ini.WriteString("general", "Levels", "4");
    ini.WriteString("New", "Key", "v");
    const std::string text = ini.ToText();
    EXPECT_EQ(text, "; top comment\n[General]\nLevels=4\n; note\nfoo=bar\nextra=1\n[level0]\nNumOfStages=2\n[New]\nKey=v\n");
}

TEST(IniFile, DecimalReading) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"3", 3},     {"0x3", 3},  {"0X1f", 31}, {"$10", 16}, {"abc", 7}, {"", 7},
                          {"-5", -5},   {"0x", 7},   {"1.5", 7},   {" 12 ", 12}, {"99999999999", 7}};
    for (const auto& c : cases) {
        TIniFile ini = TIniFile::FromText(std::string("[S]\nK=") + c.text + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", 7), c.expected) << c.text;
    }
}

TEST(DataFile, HexValues) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"1C3F0", 0x1C3F0}, {"0", 0}, {"ff", 0xFF}, {"FFFFFFFF", -1}};
    for (const auto& c : cases) {
        TMemINIHexFile ini(TIniFile::FromText(std::string("[S]\nK=") + c.text + "\n"));
        EXPECT_EQ(ini.ReadHex("S", "K"), c.expected) << c.text;
    }
    TMemINIHexFile empty;
    EXPECT_EQ(empty.ReadHex("General", "SolidityPointers"), 0);
    for (const char* bad : {"xyz", "$1C", "", "0x10", "1 2", "100000000"}) {
        TMemINIHexFile ini(TIniFile::FromText(std::string("[S]\nK=") + bad + "\n"));
        try {
            ini.ReadHex("S", "K");
            ADD_FAILURE() << bad << " was accepted";
        } catch (const EditorError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(NameLists, DefaultsAndLines) {
    TNameList list;
    TTempDir dir;
    LoadNameList(list, dir.File("missing.dat"));
    ASSERT_EQ(list.size(), 256u);
    EXPECT_EQ(list[10], "$0A - N\\A");
    EXPECT_EQ(list[255], "$FF - N\\A");

    LoadNameList(list, dir.Write("names.dat",
                                 "// comment: 01:Nope\r\n"
                                 "a:Test\r\n"
                                 "0B: Spaced\n"
                                 "0C:First\n"
                                 "0C:Second\n"
                                 "no colon here\n"
                                 "0D:\n"
                                 "\n"
                                 "10:Time: 12:30\n"));
    EXPECT_EQ(list[1], "$01 - N\\A");
    EXPECT_EQ(list[10], "$a - Test");
    EXPECT_EQ(list[11], "$0B -  Spaced");
    EXPECT_EQ(list[12], "$0C - Second");
    EXPECT_EQ(list[13], "$0D - N\\A");
    EXPECT_EQ(list[16], "$10 - Time: 12:30");

    try {
        LoadNameList(list, dir.Write("bad.dat", "zz:Bad\n"));
        ADD_FAILURE();
    } catch (const EditorError& e) {
        EXPECT_STREQ(e.what(), "'zz' is not a valid integer value");
    }
    try {
        LoadNameList(list, dir.Write("big.dat", "100:Too far\n"));
        ADD_FAILURE();
    } catch (const EditorError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (256)");
    }
}

namespace {

std::unique_ptr<TROMData> Open(const TTempDir& dir, const std::string& iniText, const TRomBytes& rom = TRomBytes()) {
    return std::make_unique<TROMData>(dir.Write("r.nes", rom.bytes), dir.Write("d.ini", iniText), dir.Path());
}

}  // namespace

TEST(DataFile, LevelsStagesAndProperties) {
    TTempDir dir;
    auto rom = Open(dir,
                    "[General]\nLevels=2\n"
                    "[Level0]\nNumOfStages=3\nDamStage=1\nLevelTSAPointer=10\nLevel5TSAStart=20\nLevel5AttributeStart=30\nMaxTiles=1FF\n"
                    "Stage2MaxTiles=22\nStage1Glitched=1\nStage0TSA=4010\n"
                    "[Level1]\nNumOfStages=0\nNoWorldMap=0\nDamStage=x\n");
    ASSERT_EQ(rom->Levels.Count(), 2);
    const TLevel& a = rom->Levels[0];
    const TLevel& b = rom->Levels[1];
    ASSERT_EQ(a.Stages.Count(), 3);
    EXPECT_EQ(b.Stages.Count(), 0);
    EXPECT_EQ(a.DamStage, 1);
    EXPECT_EQ(b.DamStage, 0);  // present but unreadable
    EXPECT_FALSE(a.Stages[0].IsDamStage);
    EXPECT_TRUE(a.Stages[1].IsDamStage);
    EXPECT_TRUE(a.Stages[1].Glitched);
    EXPECT_EQ(a.Stages[2].MaxTiles, 0x22);
    EXPECT_EQ(a.Stages[0].TSAPointer, 0x4010);
    EXPECT_EQ(a.MaxTiles, 0xFF);  // low byte of 1FF
    EXPECT_FALSE(a.HasWorldMap());
    EXPECT_TRUE(b.HasWorldMap());

    const std::vector<std::string> expectedA = {"LevelDataPointer",     "LevelTSAPointer",      "Level5AttributeStart",
                                                "LevelScrollDataPointer", "LevelEnemyDataPointer", "LevelSpecialObjPointer",
                                                "LevelPalettePointer",  "LevelPatTablePointer", "LevelBossDataPointer",
                                                "LevelExitDataPointer", "LevelSpriteChangePointer"};
    EXPECT_EQ(a.Properties.Names, expectedA);
    EXPECT_EQ(a.Properties.Find("leveltsapointer")->Offset, 0x10);
    EXPECT_EQ(a.Properties.Find("Level5TSAStart"), nullptr);
    EXPECT_EQ(b.Properties.Names.size(), 7u + 9u);
    EXPECT_EQ(b.Properties.Names[0], "WorldLevelDataPointer");
    EXPECT_EQ(b.Properties.Names[6], "WorldPatternTable");
    EXPECT_EQ(rom->LevelIndex, -1);
}

TEST(DataFile, GlobalKeysAndDefaults) {
    TTempDir dir;
    auto rom = Open(dir, "[General]\nLevels=0x3\nPalettePointers=1C000\n[EnemyData]\nStartEnemyData=1C3F0\nTotalEnemies=abc\n[Level0]\n[Level1]\n[Level2]\n");
    EXPECT_EQ(rom->Levels.Count(), 3);
    EXPECT_EQ(rom->StartEnemyData, 0x1C3F0);
    EXPECT_EQ(rom->PalettePointers, 0x1C000);
    EXPECT_EQ(rom->SolidityPointers, 0);
    EXPECT_EQ(rom->TotalEnemies, 0);
    EXPECT_EQ(rom->EnemyNames.size(), 256u);

    auto none = Open(dir, "");
    EXPECT_EQ(none->Levels.Count(), 0);
    EXPECT_THROW(none->SetLevel(0), EditorError);
    // A level without stages cannot be selected, and the failure changes nothing.
    EXPECT_THROW(rom->SetLevel(1), EditorError);
    EXPECT_EQ(rom->LevelIndex, -1);
}

TEST(DataFile, ErrorsLeaveNoModel) {
    TTempDir dir;
    struct Case {
        const char* ini;
        const char* message;
    };
    const Case cases[] = {
        {"[General]\nLevels=1\n[Level0]\nLevelDataPointer=xyz\n", "'xyz' is not a valid integer value"},
        {"[General]\nSolidityPointers=$1C\n", "'$1C' is not a valid integer value"},
        {"[General]\nLevels=300\n", "The data file lists 300 levels; at most 255 are supported."},
        {"[General]\nLevels=1\n[Level0]\nNumOfStages=256\n", "Level 1 of the data file lists 256 stages; at most 255 are supported."},
    };
    for (const auto& c : cases) {
        try {
            Open(dir, c.ini);
            ADD_FAILURE() << c.ini;
        } catch (const EditorError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    // A bad name file ends the construction too.
    dir.Write("enemy.dat", "1FF:Too far\n");
    try {
        Open(dir, "");
        ADD_FAILURE();
    } catch (const EditorError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (511)");
    }
}

TEST(DataFile, ValidityCheckAndHeaderRestore) {
    TTempDir dir;
    TRomBytes good;  // mapper 1, 8 PRG, 16 CHR
    EXPECT_TRUE(Open(dir, "", good)->IsValidROM());
    TRomBytes bad = good;
    bad.Byte(2, 'Z');
    EXPECT_FALSE(Open(dir, "", bad)->IsValidROM());
    EXPECT_FALSE(Open(dir, "[Mapper]\nMapperNum=4\n", good)->IsValidROM());
    EXPECT_TRUE(Open(dir, "[Mapper]\nMapperNum=4\nPRGSize=8\nCHRSize=16\n", TRomBytes(8, 16, 4))->IsValidROM());

    TRomBytes dirty = good;
    dirty.Bytes(4, {1, 2, 0xF3, 'D', 'i', 's', 'k', 'D', 'u', 'd', 'e', '!'});
    auto rom = Open(dir, "[Mapper]\nMapperNum=1\nPRGSize=8\nCHRSize=16\n", dirty);
    EXPECT_TRUE(rom->HasDiskDudeTag());
    rom->RestoreHeader();
    const std::vector<uint8_t> expected = {0x4E, 0x45, 0x53, 0x1A, 0x08, 0x10, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(rom->Image().ReadByte(i), expected[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(rom->Modified());
    EXPECT_FALSE(rom->HasDiskDudeTag());

    // Restoring a header that already holds the values changes nothing.
    TRomBytes clean = good;
    clean.Byte(6, 0x11);
    auto same = Open(dir, "[Mapper]\nMapperNum=1\nPRGSize=8\nCHRSize=16\n", clean);
    same->RestoreHeader();
    EXPECT_FALSE(same->Modified());

    // The restore's own defaults: mapper 2, 8 PRG, 0 CHR, vertical.
    auto defaults = Open(dir, "", good);
    defaults->RestoreHeader();
    EXPECT_EQ(defaults->Image().ReadByte(5), 0);
    EXPECT_EQ(defaults->Image().ReadByte(6), 0x21);
}

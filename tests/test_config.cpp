// TEditorConfig: options.ini reading, writing and the recent-file list.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "config/classes_configuration.h"
#include "model/IniFile.h"
#include "rom/Errors.h"

namespace fs = std::filesystem;

namespace {

using Slots = std::vector<std::string>;

Slots RecentSlotsOf(const TEditorConfig& cfg) {
    Slots out;
    for (int i = 0; i < TEditorConfig::RecentSlots; ++i) out.push_back(cfg.RecentFile(i));
    return out;
}

class EditorConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("qb_config_") + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
                           info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        dir_ = fs::temp_directory_path() / name;
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        // A test may have left folders read-only; open them up so they can be removed.
        for (auto it = fs::recursive_directory_iterator(dir_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    std::string Ini() const { return (dir_ / "options.ini").string(); }
    std::string Folder() const { return dir_.string(); }
    // A real file, for recent-file slots that must survive the purge at start.
    std::string Touch(const std::string& name) const {
        fs::path p = dir_ / name;
        std::ofstream(p) << "x";
        return p.string();
    }
    void WriteIni(const std::string& text) const { std::ofstream(Ini(), std::ios::binary) << text; }
    std::string ReadIniText() const {
        std::ifstream in(Ini(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    TIniFile ReadIni() const { return TIniFile::FromText(ReadIniText()); }

    fs::path dir_;
};

struct Getter {
    const char* Name;
    std::function<long long(const TEditorConfig&)> Get;
    long long Expected;
};

void ExpectValues(const TEditorConfig& cfg, const std::vector<Getter>& table) {
    for (const auto& g : table) EXPECT_EQ(g.Get(cfg), g.Expected) << g.Name;
}

}  // namespace

TEST_F(EditorConfigTest, FreshStartWritesEveryKeyWithDefaultsInOrder) {
    ASSERT_FALSE(fs::exists(Ini()));
    TEditorConfig cfg(Ini(), Folder());
    EXPECT_FALSE(cfg.Modified());
    EXPECT_FALSE(cfg.LastSaveFailed());
    ASSERT_TRUE(fs::exists(Ini()));

    TIniFile ini = ReadIni();
    EXPECT_EQ(ini.Sections(), Slots({"LeftText", "MidText", "Gridline", "SpecOutline", "General", "Recent", "IPS"}));
    for (const char* colour : {"LeftText", "MidText", "Gridline", "SpecOutline"})
        EXPECT_EQ(ini.Keys(colour), Slots({"R", "G", "B", "A"})) << colour;
    EXPECT_EQ(ini.Keys("General"),
              Slots({"Palette", "Gridlines", "DispMidLeftText", "DataFile", "EmulatorPath", "EmuFileSettings", "Backup",
                     "EmuDisplaySaveWarning", "LastPalTilEd", "LastPalTSA", "LastPalTitle", "MapperWarnings", "AutoCheck",
                     "DisableEnemyDeletePrompt", "AutoObjMode", "IconTrans", "IconOpaque"}));
    EXPECT_EQ(ini.Keys("Recent"), Slots({"RecentFile0", "RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4"}));
    EXPECT_EQ(ini.Keys("IPS"), Slots({"Original", "Output"}));

    struct Row {
        const char* Section;
        const char* Key;
        const char* Value;
    };
    const Row rows[] = {
        {"LeftText", "R", "255"}, {"LeftText", "G", "0"}, {"LeftText", "B", "0"}, {"LeftText", "A", "255"},
        {"MidText", "R", "0"}, {"MidText", "G", "255"}, {"MidText", "B", "0"}, {"MidText", "A", "255"},
        {"Gridline", "R", "255"}, {"Gridline", "G", "255"}, {"Gridline", "B", "255"}, {"Gridline", "A", "255"},
        {"SpecOutline", "R", "255"}, {"SpecOutline", "G", "0"}, {"SpecOutline", "B", "0"}, {"SpecOutline", "A", "255"},
        {"General", "Palette", "fx3nespal.pal"}, {"General", "Gridlines", "1"}, {"General", "DispMidLeftText", "1"},
        {"General", "DataFile", "Teenage Mutant Ninja Turtles (U) (!).ini"}, {"General", "EmulatorPath", ""},
        {"General", "EmuFileSettings", "0"}, {"General", "Backup", "1"}, {"General", "EmuDisplaySaveWarning", "1"},
        {"General", "LastPalTilEd", "0"}, {"General", "LastPalTSA", "0"}, {"General", "LastPalTitle", "0"},
        {"General", "MapperWarnings", "1"}, {"General", "AutoCheck", "1"}, {"General", "DisableEnemyDeletePrompt", "0"},
        {"General", "AutoObjMode", "1"}, {"General", "IconTrans", "0"}, {"General", "IconOpaque", "200"},
        {"Recent", "RecentFile0", ""}, {"Recent", "RecentFile4", ""}, {"IPS", "Original", ""}, {"IPS", "Output", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(ini.Value(r.Section, r.Key), std::optional<std::string>(r.Value)) << r.Section << "." << r.Key;

    ExpectValues(cfg, {
                          {"LeftTextColour", [](auto& c) { return c.LeftTextColour(); }, 0xFFFF0000},
                          {"MidTextColour", [](auto& c) { return c.MidTextColour(); }, 0xFF00FF00},
                          {"GridlineColour", [](auto& c) { return c.GridlineColour(); }, 0xFFFFFFFF},
                          {"SpecOutlineColour", [](auto& c) { return c.SpecOutlineColour(); }, 0xFFFF0000},
                          {"ShowGridlines", [](auto& c) { return c.ShowGridlines(); }, 1},
                          {"MapperWarnings", [](auto& c) { return c.MapperWarnings(); }, 1},
                          {"IconOpaque", [](auto& c) { return c.IconOpaque(); }, 200},
                          {"RecentFileCount", [](auto& c) { return c.RecentFileCount(); }, 0},
                      });
    EXPECT_EQ(cfg.Palette(), "fx3nespal.pal");
    EXPECT_EQ(cfg.DataFile(), "Teenage Mutant Ninja Turtles (U) (!).ini");
}

TEST_F(EditorConfigTest, KeysAndSectionsInOtherLetterCaseAreTheSameKey) {
    WriteIni("[general]\nemufilesettings=2\nICONOPAQUE=7\npalette=mine.pal\n[LEFTTEXT]\nr=1\ng=2\nb=3\na=4\n"
             "[recent]\n");
    TEditorConfig cfg(Ini(), Folder());
    EXPECT_EQ(cfg.EmuFileSettings(), 2);
    EXPECT_EQ(cfg.IconOpaque(), 7);
    EXPECT_EQ(cfg.Palette(), "mine.pal");
    EXPECT_EQ(cfg.LeftTextColour(), 0x04010203u);

    // The save wrote into the existing keys instead of adding a second spelling.
    TIniFile ini = ReadIni();
    EXPECT_EQ(ini.Sections(), Slots({"general", "LEFTTEXT", "recent", "MidText", "Gridline", "SpecOutline", "IPS"}));
    Slots general = ini.Keys("General");
    EXPECT_EQ(std::count(general.begin(), general.end(), "emufilesettings"), 1);
    EXPECT_EQ(std::count(general.begin(), general.end(), "EmuFileSettings"), 0);
    EXPECT_EQ(ini.Keys("LeftText"), Slots({"r", "g", "b", "a"}));
    EXPECT_EQ(ini.Value("General", "IconOpaque"), "7");
}

TEST_F(EditorConfigTest, UnknownSectionsKeysAndCommentsSurviveEverySave) {
    WriteIni("; my settings\n[Extra]\nfoo=bar\n[General]\nMyKey=keep me\nBackup=0\n; note inside\n[Tail]\nx=1\n");
    {
        TEditorConfig cfg(Ini(), Folder());
        EXPECT_FALSE(cfg.Backup());
        cfg.SetIconOpaque(9);
        ASSERT_TRUE(cfg.SaveSettings());
    }
    TEditorConfig again(Ini(), Folder());
    EXPECT_EQ(again.IconOpaque(), 9);

    TIniFile ini = ReadIni();
    EXPECT_EQ(ini.Value("Extra", "foo"), "bar");
    EXPECT_EQ(ini.Value("General", "MyKey"), "keep me");
    EXPECT_EQ(ini.Value("Tail", "x"), "1");
    std::string text = ReadIniText();
    EXPECT_NE(text.find("; my settings"), std::string::npos);
    EXPECT_NE(text.find("; note inside"), std::string::npos);
    // The file's own order stays; sections it lacked come after it.
    EXPECT_EQ(ini.Sections(),
              Slots({"Extra", "General", "Tail", "LeftText", "MidText", "Gridline", "SpecOutline", "Recent", "IPS"}));
    Slots general = ini.Keys("General");
    ASSERT_GE(general.size(), 2u);
    EXPECT_EQ(general[0], "MyKey");
    EXPECT_EQ(general[1], "Backup");
}

TEST_F(EditorConfigTest, ByteSettingsKeepTheLowEightBits) {
    WriteIni("[General]\nIconOpaque=300\nEmuFileSettings=258\nMapperWarnings=-1\nLastPalTilEd=$103\n"
             "LastPalTSA=256\nLastPalTitle=0x1FF\n");
    TEditorConfig cfg(Ini(), Folder());
    ExpectValues(cfg, {
                          {"IconOpaque", [](auto& c) { return c.IconOpaque(); }, 44},
                          {"EmuFileSettings", [](auto& c) { return c.EmuFileSettings(); }, 2},
                          {"MapperWarnings", [](auto& c) { return c.MapperWarnings(); }, 255},
                          {"LastPalTilEd", [](auto& c) { return c.LastPalTilEd(); }, 3},
                          {"LastPalTSA", [](auto& c) { return c.LastPalTSA(); }, 0},
                          {"LastPalTitle", [](auto& c) { return c.LastPalTitle(); }, 255},
                      });
    EXPECT_EQ(ReadIni().Value("General", "IconOpaque"), "44");
}

TEST_F(EditorConfigTest, UnreadableValuesTakeTheirDefaultsAndBooleansAreAnyNonZeroNumber) {
    WriteIni("[General]\nIconOpaque=abc\nMapperWarnings=\nGridlines=yes\nIconTrans=-3\nAutoObjMode=0\n"
             "DisableEnemyDeletePrompt=1.5\nBackup=$0\nAutoCheck=2\nEmuFileSettings=1 2\n"
             "[LeftText]\nR=red\nG=16\nB=32\nA=\n");
    TEditorConfig cfg(Ini(), Folder());
    ExpectValues(cfg, {
                          {"IconOpaque", [](auto& c) { return c.IconOpaque(); }, 200},
                          {"MapperWarnings", [](auto& c) { return c.MapperWarnings(); }, 1},
                          {"Gridlines", [](auto& c) { return c.Gridlines(); }, 1},
                          {"IconTrans", [](auto& c) { return c.IconTrans(); }, 1},
                          {"AutoObjMode", [](auto& c) { return c.AutoObjMode(); }, 0},
                          {"DisableEnemyDeletePrompt", [](auto& c) { return c.DisableEnemyDeletePrompt(); }, 0},
                          {"Backup", [](auto& c) { return c.Backup(); }, 0},
                          {"AutoCheck", [](auto& c) { return c.AutoCheck(); }, 1},
                          {"EmuFileSettings", [](auto& c) { return c.EmuFileSettings(); }, 0},
                          // Each channel falls back on its own: R and A default, G and B read.
                          {"LeftTextColour", [](auto& c) { return c.LeftTextColour(); }, 0xFFFF1020},
                      });
}

TEST_F(EditorConfigTest, ColoursAreAssembledFromTheirChannels) {
    WriteIni("[LeftText]\nA=120\nR=18\nG=52\nB=86\n"
             "[MidText]\nR=1\nG=2\nB=3\nA=0\n"
             "[Gridline]\nB=7\n"
             "[SpecOutline]\nB=3\nG=2\nR=1\nA=128\n");
    TEditorConfig cfg(Ini(), Folder());
    ExpectValues(cfg, {
                          {"LeftTextColour", [](auto& c) { return c.LeftTextColour(); }, 0x78123456},
                          {"MidTextColour", [](auto& c) { return c.MidTextColour(); }, 0x00010203},
                          {"GridlineColour", [](auto& c) { return c.GridlineColour(); }, 0xFFFFFF07},
                          {"SpecOutlineColour", [](auto& c) { return c.SpecOutlineColour(); }, 0x80010203},
                      });

    // And back: each channel is written as its byte of the colour.
    cfg.SetGridlineColour(0x7F102030u);
    ASSERT_TRUE(cfg.SaveSettings());
    TIniFile ini = ReadIni();
    EXPECT_EQ(ini.Value("Gridline", "R"), "16");
    EXPECT_EQ(ini.Value("Gridline", "G"), "32");
    EXPECT_EQ(ini.Value("Gridline", "B"), "48");
    EXPECT_EQ(ini.Value("Gridline", "A"), "127");
    EXPECT_EQ(ini.Value("MidText", "A"), "0");
}

TEST_F(EditorConfigTest, AddRecentFileMovesAndKeepsTheStoredText) {
    struct Case {
        const char* Name;
        Slots Adds;  // oldest first
        std::string Path;
        Slots Expected;
    };
    const Slots five = {"/r/A.nes", "/r/B.nes", "/r/C.nes", "/r/D.nes", "/r/E.nes"};
    const Case cases[] = {
        {"second-newest comes back to the top", five, "/r/D.nes",
         {"/r/D.nes", "/r/E.nes", "/r/C.nes", "/r/B.nes", "/r/A.nes"}},
        {"other letter case takes slot 2's stored text", five, "/R/c.NES",
         {"/r/C.nes", "/r/E.nes", "/r/D.nes", "/r/B.nes", "/r/A.nes"}},
        {"the oldest comes back", five, "/r/A.nes", {"/r/A.nes", "/r/E.nes", "/r/D.nes", "/r/C.nes", "/r/B.nes"}},
        {"newest again changes nothing", five, "/r/e.nes", {"/r/E.nes", "/r/D.nes", "/r/C.nes", "/r/B.nes", "/r/A.nes"}},
        {"a new path drops slot 4", five, "/r/F.nes", {"/r/F.nes", "/r/E.nes", "/r/D.nes", "/r/C.nes", "/r/B.nes"}},
        {"a new path into a short list", {"/r/A.nes"}, "/r/B.nes", {"/r/B.nes", "/r/A.nes", "", "", ""}},
        {"first path", {}, "/r/A.nes", {"/r/A.nes", "", "", "", ""}},
        {"move within a short list", {"/r/A.nes", "/r/B.nes", "/r/C.nes"}, "/r/a.nes",
         {"/r/A.nes", "/r/C.nes", "/r/B.nes", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove(Ini());
        TEditorConfig cfg(Ini(), Folder());
        for (const auto& p : c.Adds) cfg.AddRecentFile(p);
        ASSERT_TRUE(cfg.SaveSettings());
        ASSERT_FALSE(cfg.Modified());
        cfg.AddRecentFile(c.Path);
        EXPECT_EQ(RecentSlotsOf(cfg), c.Expected);
        EXPECT_TRUE(cfg.Modified());
        long long used = std::count_if(c.Expected.begin(), c.Expected.end(), [](auto& s) { return !s.empty(); });
        EXPECT_EQ(cfg.RecentFileCount(), used);
    }
}

TEST_F(EditorConfigTest, RecentFileOutsideTheFiveSlotsIsAnError) {
    TEditorConfig cfg(Ini(), Folder());
    for (int slot : {-1, 5, 100}) EXPECT_THROW(cfg.RecentFile(slot), EditorError) << slot;
    EXPECT_NO_THROW(cfg.RecentFile(4));
}

TEST_F(EditorConfigTest, MissingRecentFilesAreBlankedInPlaceAtStart) {
    const std::string a = Touch("A.nes"), b = Touch("B.nes"), c = Touch("C.nes"), d = Touch("D.nes"), e = Touch("E.nes");
    const std::string f = Touch("F.nes");
    fs::create_directory(dir_ / "folder.nes");
    WriteIni("[Recent]\nRecentFile0=" + a + "\nRecentFile1=" + b + "\nRecentFile2=" + c + "\nRecentFile3=" + d +
             "\nRecentFile4=" + e + "\n");
    {
        // Every file there: nothing blanked, nothing to save.
        TEditorConfig cfg(Ini(), Folder());
        cfg.LoadSettings();
        EXPECT_FALSE(cfg.Modified());
        EXPECT_EQ(RecentSlotsOf(cfg), Slots({a, b, c, d, e}));
    }
    fs::remove(b);
    {
        TEditorConfig cfg(Ini(), Folder());
        EXPECT_EQ(RecentSlotsOf(cfg), Slots({a, "", c, d, e}));
        EXPECT_EQ(cfg.RecentFileCount(), 4);
        EXPECT_FALSE(cfg.Modified());
        EXPECT_EQ(ReadIni().Value("Recent", "RecentFile1"), "");

        cfg.AddRecentFile(f);
        EXPECT_EQ(RecentSlotsOf(cfg), Slots({f, a, "", c, d}));
        EXPECT_TRUE(cfg.Modified());
        ASSERT_TRUE(cfg.SaveSettings());
    }
    {
        // A folder is no ROM file; the blank slot stays where it is after another start.
        TIniFile ini = ReadIni();
        ini.WriteString("Recent", "RecentFile4", (dir_ / "folder.nes").string());
        ASSERT_TRUE(ini.SaveToFile(Ini()));
        TEditorConfig cfg(Ini(), Folder());
        EXPECT_EQ(RecentSlotsOf(cfg), Slots({f, a, "", c, ""}));

        // A reload after a file vanished while running marks the change.
        fs::remove(c);
        cfg.LoadSettings();
        EXPECT_EQ(RecentSlotsOf(cfg), Slots({f, a, "", "", ""}));
        EXPECT_TRUE(cfg.Modified());
    }
}

TEST_F(EditorConfigTest, RestoreDefaultsLeavesDataFileLastPalettesAndRecents) {
    const std::string rom = Touch("game.nes");
    WriteIni("[LeftText]\nR=1\nG=1\nB=1\nA=1\n[MidText]\nR=2\nG=2\nB=2\nA=2\n[Gridline]\nR=3\nG=3\nB=3\nA=3\n"
             "[SpecOutline]\nR=4\nG=4\nB=4\nA=4\n"
             "[General]\nPalette=other.pal\nGridlines=0\nDispMidLeftText=0\nDataFile=hack.ini\nEmulatorPath=/bin/emu\n"
             "EmuFileSettings=2\nBackup=0\nEmuDisplaySaveWarning=0\nLastPalTilEd=3\nLastPalTSA=2\nLastPalTitle=1\n"
             "MapperWarnings=0\nAutoCheck=0\nDisableEnemyDeletePrompt=1\nAutoObjMode=0\nIconTrans=1\nIconOpaque=17\n"
             "[Recent]\nRecentFile0=" + rom + "\n[IPS]\nOriginal=/clean.nes\nOutput=/out.ips\n");
    TEditorConfig cfg(Ini(), Folder());
    ASSERT_FALSE(cfg.Modified());
    ASSERT_FALSE(cfg.ShowGridlines());
    cfg.RestoreDefaults();
    EXPECT_FALSE(cfg.Modified());

    ExpectValues(cfg, {
                          {"LeftTextColour", [](auto& c) { return c.LeftTextColour(); }, 0xFFFF0000},
                          {"MidTextColour", [](auto& c) { return c.MidTextColour(); }, 0xFF00FF00},
                          {"GridlineColour", [](auto& c) { return c.GridlineColour(); }, 0xFFFFFFFF},
                          {"SpecOutlineColour", [](auto& c) { return c.SpecOutlineColour(); }, 0xFFFF0000},
                          {"Gridlines", [](auto& c) { return c.Gridlines(); }, 1},
                          {"DispMidLeftText", [](auto& c) { return c.DispMidLeftText(); }, 1},
                          {"EmuFileSettings", [](auto& c) { return c.EmuFileSettings(); }, 0},
                          {"Backup", [](auto& c) { return c.Backup(); }, 1},
                          {"EmuDisplaySaveWarning", [](auto& c) { return c.EmuDisplaySaveWarning(); }, 1},
                          {"MapperWarnings", [](auto& c) { return c.MapperWarnings(); }, 1},
                          {"AutoCheck", [](auto& c) { return c.AutoCheck(); }, 1},
                          {"DisableEnemyDeletePrompt", [](auto& c) { return c.DisableEnemyDeletePrompt(); }, 0},
                          {"AutoObjMode", [](auto& c) { return c.AutoObjMode(); }, 1},
                          {"IconTrans", [](auto& c) { return c.IconTrans(); }, 0},
                          {"IconOpaque", [](auto& c) { return c.IconOpaque(); }, 200},
                          // Left as they were:
                          {"LastPalTilEd", [](auto& c) { return c.LastPalTilEd(); }, 3},
                          {"LastPalTSA", [](auto& c) { return c.LastPalTSA(); }, 2},
                          {"LastPalTitle", [](auto& c) { return c.LastPalTitle(); }, 1},
                          {"ShowGridlines", [](auto& c) { return c.ShowGridlines(); }, 0},
                      });
    EXPECT_EQ(cfg.Palette(), "fx3nespal.pal");
    EXPECT_EQ(cfg.EmulatorPath(), "");
    EXPECT_EQ(cfg.IPSOriginal(), "");
    EXPECT_EQ(cfg.IPSOutput(), "");
    EXPECT_EQ(cfg.DataFile(), "hack.ini");
    EXPECT_EQ(RecentSlotsOf(cfg), Slots({rom, "", "", "", ""}));

    ASSERT_TRUE(cfg.SaveSettings());
    TEditorConfig again(Ini(), Folder());
    EXPECT_EQ(again.DataFile(), "hack.ini");
    EXPECT_EQ(again.LastPalTilEd(), 3);
    EXPECT_EQ(again.RecentFile(0), rom);
    EXPECT_EQ(again.IconOpaque(), 200);
}

TEST_F(EditorConfigTest, ShowGridlinesIsRunTimeStateOnly) {
    for (bool stored : {true, false}) {
        SCOPED_TRACE(stored);
        WriteIni(std::string("[General]\nGridlines=") + (stored ? "1" : "0") + "\n");
        {
            TEditorConfig cfg(Ini(), Folder());
            EXPECT_EQ(cfg.ShowGridlines(), stored);
            cfg.SetShowGridlines(!stored);
            EXPECT_EQ(cfg.ShowGridlines(), !stored);
            EXPECT_EQ(cfg.Gridlines(), stored);
            EXPECT_FALSE(cfg.Modified());
            ASSERT_TRUE(cfg.SaveSettings());
        }
        EXPECT_EQ(ReadIni().Value("General", "Gridlines"), stored ? "1" : "0");
        TEditorConfig again(Ini(), Folder());
        EXPECT_EQ(again.ShowGridlines(), stored);
    }
}

TEST_F(EditorConfigTest, EverySetterMarksModifiedAndItsValueIsSaved) {
    struct Case {
        const char* Name;
        std::function<void(TEditorConfig&)> Set;
        std::function<bool(const TEditorConfig&)> Holds;
    };
    const Case cases[] = {
        {"LeftTextColour", [](auto& c) { c.SetLeftTextColour(0x11223344); }, [](auto& c) { return c.LeftTextColour() == 0x11223344; }},
        {"MidTextColour", [](auto& c) { c.SetMidTextColour(0x01020304); }, [](auto& c) { return c.MidTextColour() == 0x01020304; }},
        {"GridlineColour", [](auto& c) { c.SetGridlineColour(0); }, [](auto& c) { return c.GridlineColour() == 0; }},
        {"SpecOutlineColour", [](auto& c) { c.SetSpecOutlineColour(0xFE00FE01); }, [](auto& c) { return c.SpecOutlineColour() == 0xFE00FE01; }},
        {"Palette", [](auto& c) { c.SetPalette("nestopia.pal"); }, [](auto& c) { return c.Palette() == "nestopia.pal"; }},
        {"Gridlines", [](auto& c) { c.SetGridlines(false); }, [](auto& c) { return !c.Gridlines(); }},
        {"DispMidLeftText", [](auto& c) { c.SetDispMidLeftText(false); }, [](auto& c) { return !c.DispMidLeftText(); }},
        {"DataFile", [](auto& c) { c.SetDataFile("My Hack.ini"); }, [](auto& c) { return c.DataFile() == "My Hack.ini"; }},
        {"Backup", [](auto& c) { c.SetBackup(false); }, [](auto& c) { return !c.Backup(); }},
        {"EmulatorPath", [](auto& c) { c.SetEmulatorPath("/usr/bin/fceux"); }, [](auto& c) { return c.EmulatorPath() == "/usr/bin/fceux"; }},
        {"EmuFileSettings", [](auto& c) { c.SetEmuFileSettings(2); }, [](auto& c) { return c.EmuFileSettings() == 2; }},
        {"EmuDisplaySaveWarning", [](auto& c) { c.SetEmuDisplaySaveWarning(false); }, [](auto& c) { return !c.EmuDisplaySaveWarning(); }},
        {"LastPalTilEd", [](auto& c) { c.SetLastPalTilEd(3); }, [](auto& c) { return c.LastPalTilEd() == 3; }},
        {"LastPalTSA", [](auto& c) { c.SetLastPalTSA(2); }, [](auto& c) { return c.LastPalTSA() == 2; }},
        {"LastPalTitle", [](auto& c) { c.SetLastPalTitle(1); }, [](auto& c) { return c.LastPalTitle() == 1; }},
        {"MapperWarnings", [](auto& c) { c.SetMapperWarnings(2); }, [](auto& c) { return c.MapperWarnings() == 2; }},
        {"AutoCheck", [](auto& c) { c.SetAutoCheck(false); }, [](auto& c) { return !c.AutoCheck(); }},
        {"IPSOriginal", [](auto& c) { c.SetIPSOriginal("/roms/clean.nes"); }, [](auto& c) { return c.IPSOriginal() == "/roms/clean.nes"; }},
        {"IPSOutput", [](auto& c) { c.SetIPSOutput("/roms/hack.ips"); }, [](auto& c) { return c.IPSOutput() == "/roms/hack.ips"; }},
        {"AutoObjMode", [](auto& c) { c.SetAutoObjMode(false); }, [](auto& c) { return !c.AutoObjMode(); }},
        {"IconTrans", [](auto& c) { c.SetIconTrans(true); }, [](auto& c) { return c.IconTrans(); }},
        {"IconOpaque", [](auto& c) { c.SetIconOpaque(255); }, [](auto& c) { return c.IconOpaque() == 255; }},
        {"DisableEnemyDeletePrompt", [](auto& c) { c.SetDisableEnemyDeletePrompt(true); }, [](auto& c) { return c.DisableEnemyDeletePrompt(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove(Ini());
        {
            TEditorConfig cfg(Ini(), Folder());
            ASSERT_FALSE(c.Holds(cfg)) << "the case must change a default";
            c.Set(cfg);
            EXPECT_TRUE(cfg.Modified());
            EXPECT_TRUE(c.Holds(cfg));
            ASSERT_TRUE(cfg.SaveSettings());
            EXPECT_FALSE(cfg.Modified());
            // Setting the same value again still counts as a change.
            c.Set(cfg);
            EXPECT_TRUE(cfg.Modified());
        }
        TEditorConfig again(Ini(), Folder());
        EXPECT_TRUE(c.Holds(again));
    }
}

TEST_F(EditorConfigTest, PathsAreBuiltOnTheProgramFolder) {
    struct Case {
        std::string Folder, Palette, DataFile, PalettePath, DataFilePath;
    };
    const Case cases[] = {
        {"/opt/quillborn", "fx3nespal.pal", "Teenage Mutant Ninja Turtles (U) (!).ini",
         "/opt/quillborn/Data/Palettes/fx3nespal.pal", "/opt/quillborn/Data/Teenage Mutant Ninja Turtles (U) (!).ini"},
        {"/opt/quillborn/", "a.pal", "b.ini", "/opt/quillborn/Data/Palettes/a.pal", "/opt/quillborn/Data/b.ini"},
        {"/", "a.pal", "b.ini", "/Data/Palettes/a.pal", "/Data/b.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Folder);
        TEditorConfig cfg(Ini(), c.Folder);
        cfg.SetPalette(c.Palette);
        cfg.SetDataFile(c.DataFile);
        EXPECT_EQ(cfg.PalettePath(), c.PalettePath);
        EXPECT_EQ(cfg.DataFilePath(), c.DataFilePath);
    }
}

TEST_F(EditorConfigTest, UnwritableSettingsFileKeepsSettingsAndReportsFailure) {
    // The folder that should hold options.ini is a regular file, so nothing can be written there.
    const std::string blocker = Touch("notafolder");
    const std::string ini = blocker + "/options.ini";
    TEditorConfig cfg(ini, Folder());
    EXPECT_TRUE(cfg.LastSaveFailed());
    EXPECT_EQ(cfg.IconOpaque(), 200);
    EXPECT_EQ(cfg.Palette(), "fx3nespal.pal");

    cfg.SetIconOpaque(5);
    cfg.AddRecentFile("/r/A.nes");
    EXPECT_FALSE(cfg.SaveSettings());
    EXPECT_TRUE(cfg.Modified());
    EXPECT_TRUE(cfg.LastSaveFailed());
    EXPECT_EQ(cfg.IconOpaque(), 5);
    EXPECT_EQ(cfg.RecentFile(0), "/r/A.nes");

    // Once the folder is there the next save goes through.
    fs::remove(blocker);
    fs::create_directory(blocker);
    EXPECT_TRUE(cfg.SaveSettings());
    EXPECT_FALSE(cfg.LastSaveFailed());
    EXPECT_FALSE(cfg.Modified());
    EXPECT_EQ(TIniFile::FromFile(ini).Value("General", "IconOpaque"), "5");
}

TEST_F(EditorConfigTest, SettingsPathThatIsAFolderGivesDefaults) {
    fs::create_directory(Ini());
    TEditorConfig cfg(Ini(), Folder());
    EXPECT_TRUE(cfg.LastSaveFailed());
    EXPECT_TRUE(fs::is_directory(Ini()));
    EXPECT_EQ(cfg.MapperWarnings(), 1);
    EXPECT_EQ(cfg.DataFile(), "Teenage Mutant Ninja Turtles (U) (!).ini");
    cfg.SetBackup(false);
    EXPECT_FALSE(cfg.SaveSettings());
    EXPECT_TRUE(cfg.Modified());
}

TEST_F(EditorConfigTest, ReadOnlyFolderKeepsSettingsAndReportsFailure) {
    WriteIni("[General]\nIconOpaque=77\n");
    ASSERT_EQ(::chmod(Folder().c_str(), 0555), 0);
    {
        // Root writes into read-only folders; there the failure cannot be provoked this way.
        std::ofstream probe(dir_ / "probe", std::ios::binary);
        if (probe) {
            probe.close();
            fs::remove(dir_ / "probe");
            GTEST_SKIP() << "read-only folders are writable for this user";
        }
    }
    TEditorConfig cfg(Ini(), Folder());
    EXPECT_TRUE(cfg.LastSaveFailed());
    EXPECT_EQ(cfg.IconOpaque(), 77);
    cfg.SetIconOpaque(78);
    EXPECT_FALSE(cfg.SaveSettings());
    EXPECT_TRUE(cfg.Modified());
    EXPECT_EQ(cfg.IconOpaque(), 78);
    EXPECT_EQ(ReadIniText(), "[General]\nIconOpaque=77\n");
}

// Zip backups of the ROM file, read back with libzip.
#include <gtest/gtest.h>
#include <zip.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "support/fixtures.h"
#include "tools/core_backup.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct TArchive {
    bool opened = false;
    std::vector<std::string> names;
    Bytes content;  // of the first entry
    uint16_t method = 0xFFFF;
    std::string comment;
};

TArchive ReadArchive(const std::string& path) {
    TArchive a;
    int err = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!za) return a;
    a.opened = true;
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) a.names.emplace_back(zip_get_name(za, static_cast<zip_uint64_t>(i), 0));
    if (n > 0) {
        zip_stat_t st;
        zip_stat_index(za, 0, 0, &st);
        a.method = st.comp_method;
        a.content.resize(st.size);
        zip_file_t* f = zip_fopen_index(za, 0, 0);
        if (f) {
            zip_fread(f, a.content.data(), st.size);
            zip_fclose(f);
        }
    }
    int len = 0;
    const char* c = zip_get_archive_comment(za, &len, ZIP_FL_ENC_RAW);
    if (c) a.comment.assign(c, static_cast<size_t>(len));
    zip_close(za);
    return a;
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

Bytes Random(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    return b;
}

const std::string CommentPrefix = "ZIP Created By Quillborn on: ";

}  // namespace

TEST(Backup, ArchiveNamesFollowTheDateAndTime) {
    struct Case {
        int y, mo, d, h, mi, s;
        const char* name;
    };
    const Case cases[] = {
        {2005, 3, 9, 14, 7, 3, "TMNT 09-03-2005 14-07-03.zip"},
        {1999, 12, 31, 23, 59, 59, "TMNT 31-12-1999 23-59-59.zip"},
        {2024, 1, 1, 0, 0, 0, "TMNT 01-01-2024 00-00-00.zip"},
    };
    for (const Case& c : cases) {
        const std::string name = BackupArchiveName(LocalTime(c.y, c.mo, c.d, c.h, c.mi, c.s));
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(name.size(), 28u);
    }
}

TEST(Backup, OneEntryWithTheRomBeforeTheSaveDeflatedOrStoredWhicheverIsSmaller) {
    struct Case {
        const char* name;
        Bytes rom;
        uint16_t method;
    };
    Bytes game = TRomBytes().bytes;  // mostly zeros: deflate wins
    game[100] = 7;
    const Case cases[] = {
        {"compressible ROM", game, ZIP_CM_DEFLATE},
        {"incompressible ROM", Random(40000, 3), ZIP_CM_STORE},
        {"empty file", Bytes{}, ZIP_CM_STORE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        fs::create_directories(dir.File("My Hacks"));
        const std::string rom = dir.Write("My Hacks/tmnt hack.nes", c.rom);
        const std::string backups = dir.File("prog/Backups");  // neither folder exists yet
        const std::time_t when = LocalTime(2005, 3, 9, 14, 7, 3);
        std::string error;
        ASSERT_TRUE(BackupROM(rom, backups, when, error)) << error;
        EXPECT_TRUE(error.empty());
        // Only the archive: libzip's temporary file is gone.
        std::vector<std::string> files;
        for (const auto& f : fs::directory_iterator(backups)) files.push_back(f.path().filename().string());
        EXPECT_EQ(files, std::vector<std::string>{"TMNT 09-03-2005 14-07-03.zip"});
        const TArchive a = ReadArchive(backups + "/TMNT 09-03-2005 14-07-03.zip");
        ASSERT_TRUE(a.opened);
        EXPECT_EQ(a.names, std::vector<std::string>{"tmnt hack.nes"});
        EXPECT_EQ(a.content, c.rom);
        EXPECT_EQ(a.method, c.method);
        EXPECT_EQ(a.comment.rfind(CommentPrefix, 0), 0u) << a.comment;
        EXPECT_GT(a.comment.size(), CommentPrefix.size() + 4);
        // The ROM itself is left alone.
        EXPECT_EQ(ReadFileBytes(rom), c.rom);
    }
}

TEST(Backup, SameSecondKeepsTheEntryAndRenewsTheComment) {
    TTempDir dir;
    const Bytes first = Random(3000, 1);
    const std::string rom = dir.Write("game.nes", first);
    const std::string backups = dir.File("Backups");
    const std::time_t when = LocalTime(2010, 6, 15, 8, 30, 0);
    std::string error;
    ASSERT_TRUE(BackupROM(rom, backups, when, error)) << error;
    const std::string archive = backups + "/" + BackupArchiveName(when);

    // Mark the comment, so that a renewed one shows.
    {
        int err = 0;
        zip_t* za = zip_open(archive.c_str(), 0, &err);
        ASSERT_NE(za, nullptr);
        ASSERT_EQ(zip_set_archive_comment(za, "old", 3), 0);
        ASSERT_EQ(zip_close(za), 0);
    }
    dir.Write("game.nes", Random(3000, 2));  // the ROM saved in between
    ASSERT_TRUE(BackupROM(rom, backups, when, error)) << error;
    const TArchive a = ReadArchive(archive);
    EXPECT_EQ(a.names, std::vector<std::string>{"game.nes"});
    EXPECT_EQ(a.content, first);
    EXPECT_EQ(a.comment.rfind(CommentPrefix, 0), 0u) << a.comment;

    // Another second: another archive, with the ROM as it is now.
    const std::time_t later = when + 1;
    ASSERT_TRUE(BackupROM(rom, backups, later, error)) << error;
    EXPECT_EQ(ReadArchive(backups + "/" + BackupArchiveName(later)).content, Random(3000, 2));
    EXPECT_EQ(ReadArchive(archive).content, first);
}

TEST(Backup, FailuresAreReportedAndLeaveNoArchive) {
    TTempDir dir;
    const std::string rom = dir.Write("game.nes", Random(500, 4));
    const std::string aFile = dir.Write("plain file", std::string("x"));
    const std::time_t when = LocalTime(2011, 2, 3, 4, 5, 6);
    struct Case {
        const char* name;
        std::string romPath, backupDir;
    };
    const Case cases[] = {
        {"the folder cannot be created (a file stands in the way)", rom, aFile + "/Backups"},
        {"the folder is a file", rom, aFile},
        {"the ROM cannot be read", dir.File("missing.nes"), dir.File("Backups1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(BackupROM(c.romPath, c.backupDir, when, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(fs::exists(c.backupDir + "/" + BackupArchiveName(when)));
    }

    // An archive of that name that is not a zip file is not overwritten.
    fs::create_directories(dir.File("Backups2"));
    const std::string junk = "not a zip file at all";
    const std::string broken = dir.Write("Backups2/" + BackupArchiveName(when), junk);
    std::string error;
    EXPECT_FALSE(BackupROM(rom, dir.File("Backups2"), when, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileBytes(broken), Bytes(junk.begin(), junk.end()));

    // A folder we may not write into.
    fs::create_directories(dir.File("Locked"));
    ::chmod(dir.File("Locked").c_str(), 0555);
    if (::access(dir.File("Locked").c_str(), W_OK) != 0) {  // root writes anywhere
        error.clear();
        EXPECT_FALSE(BackupROM(rom, dir.File("Locked"), when, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(fs::is_empty(dir.File("Locked")));
    }
    ::chmod(dir.File("Locked").c_str(), 0755);
}

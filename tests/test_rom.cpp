#include <gtest/gtest.h>

#include "rom/Errors.h"
#include "rom/iNESImage.h"
#include "support/fixtures.h"

namespace {

std::unique_ptr<TiNESImage> ImageOf(const TTempDir& dir, const std::vector<uint8_t>& bytes) {
    return std::make_unique<TiNESImage>(dir.Write("rom.nes", bytes));
}

std::vector<uint8_t> Header(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> v(16, 0);
    size_t i = 0;
    for (uint8_t b : bytes) v[i++] = b;
    return v;
}

}  // namespace

TEST(ROMImage, MapperNumberAndName) {
    struct Case {
        std::vector<uint8_t> header;
        int mapper;
        std::string name;
        bool diskDude;
    };
    const std::vector<Case> cases = {
        {Header({'N', 'E', 'S', 0x1A, 8, 16, 0x10, 0x00}), 1, "Nintendo MMC1", false},
        {Header({'N', 'E', 'S', 0x1A, 8, 16, 0x10, 'D', 'i', 's', 'k', 'D', 'u', 'd', 'e', '!'}), 1, "Nintendo MMC1", true},
        {Header({'N', 'E', 'S', 0x1A, 8, 16, 0x40, 0x40}), 0x44, "Sunsoft Mapper 4", false},
        {Header({'N', 'E', 'S', 0x1A, 8, 16, 0xC0, 0x00}), 12, "12/Unknown", false},
        {Header({'N', 'E', 'S', 0x1A, 8, 16, 0xF0, 0xF0}), 255, "110-in-1", false},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        auto img = ImageOf(dir, c.header);
        EXPECT_EQ(img->MapperNumber(), c.mapper);
        EXPECT_EQ(img->MapperName(), c.name);
        EXPECT_EQ(img->HasDiskDudeTag(), c.diskDude);
    }
    for (int m = 0; m < 256; ++m) EXPECT_FALSE(TiNESImage::MapperNameOf(m).empty());
    EXPECT_EQ(TiNESImage::MapperNameOf(85), "Knami VRC7");
}

TEST(ROMImage, IsNESFileLooksOnlyAtTheFirstThreeBytes) {
    TTempDir dir;
    EXPECT_TRUE(ImageOf(dir, Header({'N', 'E', 'S', 0x00}))->IsNESFile());
    EXPECT_FALSE(ImageOf(dir, Header({'N', 'E', 'Z', 0x1A}))->IsNESFile());
}

TEST(ROMImage, ShortFilesAreReadSafely) {
    TTempDir dir;
    for (size_t size : {0, 2, 5, 15}) {
        auto img = ImageOf(dir, std::vector<uint8_t>(size, 'N'));
        EXPECT_EQ(img->Size(), static_cast<TOffset>(size));
        EXPECT_FALSE(img->IsNESFile());
        EXPECT_EQ(img->ReadByte(100), 0xFF);  // past the end: the terminator value
        EXPECT_EQ(img->PatternPageCount(), size > 5 ? 2 * 'N' : 2 * 0xFF);
        EXPECT_FALSE(img->WriteByte(static_cast<TOffset>(size), 1));
        EXPECT_FALSE(img->Modified());
    }
}

TEST(ROMImage, PointerArithmetic) {
    TRomBytes r;
    r.Bytes(0x1C3F0, {0x34, 0xD2});
    r.Bytes(0x5000, {0x00, 0x81});
    r.Bytes(0x1E000, {0x00, 0x81});
    TTempDir dir;
    auto img = ImageOf(dir, r.bytes);
    EXPECT_EQ(img->ReadPointer(0x1C3F0, 0, 0xC000), 0x1D244);
    EXPECT_EQ(img->ReadPointer(0x5000, 0xC010, 0x8000), 0xC110);
    EXPECT_EQ(img->ReadPointer(0x1E000, 0xC010, 0x8000), 0xC110);
    EXPECT_EQ(img->ReadPointer(0x5000, 0, 0x8000), 0x4110);

    EXPECT_EQ(TiNESImage::OffsetToCPU(0x4010), 0x8000);
    EXPECT_EQ(TiNESImage::OffsetToCPU(0x800F), 0xBFFF);
    EXPECT_EQ(TiNESImage::OffsetToCPU(0x1D244), 0x9234);

    ASSERT_TRUE(img->WritePointer(0x1D244, 0x6000));
    EXPECT_EQ(img->ReadByte(0x6000), 0x34);
    EXPECT_EQ(img->ReadByte(0x6001), 0x92);
    EXPECT_FALSE(img->WritePointer(0x1D244, img->Size() - 1));
}

TEST(ROMImage, WriteSetsModifiedOnlyOnChange) {
    TRomBytes r;
    r.Byte(0x100, 0x42);
    TTempDir dir;
    auto img = ImageOf(dir, r.bytes);
    EXPECT_TRUE(img->WriteByte(0x100, 0x42));
    EXPECT_FALSE(img->Modified());
    EXPECT_TRUE(img->WriteByte(0x100, 0x43));
    EXPECT_TRUE(img->Modified());
    EXPECT_FALSE(img->WriteByte(-1, 0));
}

TEST(ROMImage, SaveReplacesTheFileAtomically) {
    TRomBytes r;
    TTempDir dir;
    const std::string path = dir.Write("rom.nes", r.bytes);
    TiNESImage img(path);
    img.WriteByte(0x20, 0x99);
    ASSERT_TRUE(img.Save());
    EXPECT_FALSE(img.Modified());
    EXPECT_EQ(ReadFileBytes(path)[0x20], 0x99);

    // A folder that cannot hold the file: the save fails, Modified stays set.
    img.WriteByte(0x20, 0x98);
    EXPECT_FALSE(img.SaveToFile(dir.File("no-such-folder/rom.nes")));
    EXPECT_TRUE(img.Modified());
    EXPECT_EQ(ReadFileBytes(path)[0x20], 0x99);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(ROMImage, MissingFileThrows) {
    TTempDir dir;
    EXPECT_THROW(TiNESImage(dir.File("nothing.nes")), EditorError);
}

TEST(ROMImage, BitTextHelpers) {
    EXPECT_EQ(TROMImage::ByteToBin(0x80), "10000000");
    EXPECT_EQ(TROMImage::ByteToBin(0x05), "00000101");
    EXPECT_EQ(TROMImage::BinToByte("10000000"), 0x01);
    EXPECT_EQ(TROMImage::BinToByte("10100000"), 0x05);
    EXPECT_EQ(TROMImage::BinToByte("1x1"), 0x05);
}

TEST(ROMImage, UndoJournalKeepsFirstOldValue) {
    TRomBytes r;
    r.Byte(0x30, 1);
    TTempDir dir;
    auto img = ImageOf(dir, r.bytes);
    img->BeginRecording();
    img->WriteByte(0x30, 2);
    img->WriteByte(0x30, 3);
    img->WriteByte(0x31, 0);  // unchanged: not recorded
    img->WriteByte(0x32, 7);
    img->WriteByte(0x32, 0);  // back to where it was: dropped
    auto changes = img->EndRecording();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].Offset, 0x30);
    EXPECT_EQ(changes[0].Before, 1);
    EXPECT_EQ(changes[0].After, 3);
    img->ApplyChanges(changes, true);
    EXPECT_EQ(img->ReadByte(0x30), 1);
    img->ApplyChanges(changes, false);
    EXPECT_EQ(img->ReadByte(0x30), 3);
}

TEST(NESGraphics, DefaultPaletteAndFiles) {
    TTempDir dir;
    auto img = ImageOf(dir, TRomBytes().bytes);
    img->LoadDefaultPalette();
    EXPECT_EQ(img->GetColor(0x00), 0x788084u);
    EXPECT_EQ(img->GetColor(0x40), 0x788084u);  // colour numbers wrap at 64

    std::vector<uint8_t> pal(100);
    for (size_t i = 0; i < pal.size(); ++i) pal[i] = static_cast<uint8_t>(i + 1);
    img->LoadPaletteFile(dir.Write("p.pal", pal));
    EXPECT_EQ(img->GetColor(0), 0x010203u);
    EXPECT_EQ(img->GetColor(32), (97u << 16) | (98u << 8) | 99u);
    EXPECT_EQ(img->GetColor(33), 100u << 16);
    EXPECT_EQ(img->GetColor(34), 0u);
    EXPECT_EQ(img->GetColor(63), 0u);

    img->LoadPaletteFile(dir.Write("empty.pal", std::string()));
    for (int i = 0; i < 64; ++i) EXPECT_EQ(img->GetColor(i), 0u);
    EXPECT_THROW(img->LoadPaletteFile(dir.File("missing.pal")), EditorError);
}

TEST(NESGraphics, DrawTileDecodesBothPlanes) {
    TTempDir dir;
    auto img = ImageOf(dir, TRomBytes().bytes);
    img->LoadDefaultPalette();
    const uint8_t pal[4] = {0x0F, 0x16, 0x27, 0x30};
    struct Case {
        uint8_t tile[16];
        int x, y, colour;
    };
    const Case cases[] = {
        {{0x80, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 3},
        {{0x01, 0, 0, 0, 0, 0, 0, 0, 0x00, 0, 0, 0, 0, 0, 0, 0}, 7, 0, 1},
        {{0x00, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0}, 7, 0, 2},
    };
    const TColor32 colours[4] = {0x000008, 0xFC3800, 0xFCA048, 0xFCF8FC};
    for (const auto& c : cases) {
        TBitmap32 bmp(16, 16);
        img->DrawTile(bmp, c.tile, pal, 4, 4);
        int others = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                if (x == c.x && y == c.y)
                    EXPECT_EQ(bmp.Pixel(4 + x, 4 + y), colours[c.colour]);
                else if (bmp.Pixel(4 + x, 4 + y) == colours[0])
                    ++others;
            }
        EXPECT_EQ(others, 63);
        EXPECT_EQ(bmp.Pixel(0, 0), 0u);  // outside the tile untouched
    }
    // Drawing partly outside the picture is clipped, not a crash.
    TBitmap32 small(4, 4);
    img->DrawTile(small, cases[0].tile, pal, -2, -2);
    EXPECT_EQ(small.Pixel(0, 0), colours[0]);
}

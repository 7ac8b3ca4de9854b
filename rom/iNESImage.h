#pragma once
// What an iNES file means: header fields, mapper names, CPU pointer arithmetic, and the
// graphics side (master palette, 8x8 tile decoding).

#include <array>
#include <string>

#include "rom/Bitmap32.h"
#include "rom/ROMImage.h"

constexpr int iNESHeaderSize = 16;
constexpr int PRGBankSize = 0x4000;
constexpr int PatternPageSize = 0x1000;

class TiNESImage : public TROMImage {
public:
    explicit TiNESImage(const std::string& fileName);

    bool IsNESFile() const { return isNESFile_; }
    int PRGCount() const { return ReadByte(4); }
    int CHRCount() const { return ReadByte(5); }
    bool HasDiskDudeTag() const;
    int MapperNumber() const;
    std::string MapperName() const { return MapperNameOf(MapperNumber()); }
    static std::string MapperNameOf(int mapper);

    // The file offset that a stored little-endian CPU pointer designates (no range check).
    TOffset ReadPointer(TOffset pointerOffset, TOffset bankOffset, int cpuBase) const;
    static int OffsetToCPU(TOffset offset);
    // False when either byte falls outside the image.
    bool WritePointer(TOffset targetOffset, TOffset pointerOffset);

    // File offset of pattern-table page p of CHR-ROM.
    TOffset PatternPageOffset(int page) const {
        return iNESHeaderSize + static_cast<TOffset>(PRGCount()) * PRGBankSize + static_cast<TOffset>(page) * PatternPageSize;
    }
    int PatternPageCount() const { return 2 * CHRCount(); }
    bool PatternPageExists(int page) const {
        return page >= 0 && page < PatternPageCount() && InRange(PatternPageOffset(page), PatternPageSize);
    }
    // A page past the ROM's CHR pages reads as blank tiles and takes no writes: its bytes belong to nothing.
    void ReadPatternPage(int page, uint8_t* out4096) const;
    bool WritePatternPage(int page, const uint8_t* in4096);

    void LoadDefaultPalette();
    // Throws EditorError when the file cannot be opened; missing bytes read as 0.
    void LoadPaletteFile(const std::string& fileName);
    // Colour numbers of 64 and above use the number modulo 64.
    TColor32 GetColor(int index) const { return palette_[static_cast<unsigned>(index) & 63u]; }
    const std::array<TColor32, 64>& Palette() const { return palette_; }

    // Decodes the 16 bytes of an NES tile into 8x8 pixels at (x, y) through four colour numbers.
    void DrawTile(TBitmap32& bitmap, const uint8_t* tileData, const uint8_t* paletteIndices, int x, int y) const;

private:
    std::array<TColor32, 64> palette_{};
    bool isNESFile_ = false;
};

// The built-in NES master palette, 0x00RRGGBB.
extern const std::array<TColor32, 64> DefaultNESPalette;

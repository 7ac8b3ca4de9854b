#include "rom/iNESImage.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "rom/Errors.h"

const std::array<TColor32, 64> DefaultNESPalette = {
    0x788084, 0x0000FC, 0x0000C4, 0x4028C4, 0x94008C, 0xAC0028, 0xAC1000, 0x8C1800,
    0x503000, 0x007800, 0x006800, 0x005800, 0x004058, 0x000000, 0x000000, 0x000008,
    0xBCC0C4, 0x0078FC, 0x0088FC, 0x6848FC, 0xDC00D4, 0xE40060, 0xFC3800, 0xE46018,
    0xAC8000, 0x00B800, 0x00A800, 0x00A848, 0x008894, 0x2C2C2C, 0x000000, 0x000000,
    0xFCF8FC, 0x38C0FC, 0x6888FC, 0x9C78FC, 0xFC78FC, 0xFC589C, 0xFC7858, 0xFCA048,
    0xFCB800, 0xBCF818, 0x58D858, 0x58F89C, 0x00E8E4, 0x606060, 0x000000, 0x000000,
    0xFCF8FC, 0xA4E8FC, 0xBCB8FC, 0xDCB8FC, 0xFCB8FC, 0xF4C0E0, 0xF4D0B4, 0xFCE0B4,
    0xFCD884, 0xDCF878, 0xB8F878, 0xB0F0D8, 0x00F8FC, 0xC8C0C0, 0x000000, 0x000000,
};

TiNESImage::TiNESImage(const std::string& fileName) : TROMImage(fileName) {
    isNESFile_ = Size() >= 3 && ReadByte(0) == 'N' && ReadByte(1) == 'E' && ReadByte(2) == 'S';
    // Drawing before a palette is chosen shows the built-in colours, not black.
    LoadDefaultPalette();
}

bool TiNESImage::HasDiskDudeTag() const {
    static const char tag[] = "DiskDude!";
    for (int i = 0; i < 9; ++i)
        if (ReadByte(7 + i) != static_cast<uint8_t>(tag[i])) return false;
    return true;
}

int TiNESImage::MapperNumber() const {
    if (HasDiskDudeTag()) return ReadByte(6) >> 4;
    return (ReadByte(7) >> 4) * 16 + (ReadByte(6) >> 4);
}

std::string TiNESImage::MapperNameOf(int mapper) {
    switch (mapper) {
    case 0: return "NROM";
    case 1: return "Nintendo MMC1";
    case 2: return "UNROM";
    case 3: return "CNROM";
    case 4: return "Nintendo MMC3";
    case 5: return "Nintendo MMC5";
    case 6: return "FFE F3xxx series";
    case 7: return "AOROM";
    case 8: return "FFE F3xxx series";
    case 9: return "Nintendo MMC2";
    case 10: return "Nintendo MMC4";
    case 11: return "Colour Dreams";
    case 13: return "CPROM";
    case 15: return "100-in-1 chip";
    case 16: return "Bandai chip";
    case 17: return "FFE F8xxx";
    case 18: return "Jaleco SS8806";
    case 19: return "Namcot 106";
    case 20: return "Nintendo Disk System";
    case 21: return "Konami VRC4 2A";
    case 22: return "Konami VRC4 1B";
    case 23: return "Konami VRC2b";
    case 24: return "Konami VRC6";
    case 25: return "Konami VRC4";
    case 26: return "Konami VRC6V";
    case 32: return "Irem G101";
    case 33: return "Taito TC0190/TC0350";
    case 34: return "Nina-1";
    case 40: return "SMB2j";
    case 41: return "Caltron 6-in-1";
    case 42: return "Mario Baby";
    case 44: return "7-in-1";
    case 45: return "1000000-in-1";
    case 46: return "Rumble Station";
    case 47: return "NES-QJ";
    case 48: return "Taito TC190V";
    case 49: return "4-in-1";
    case 50: return "SMB2j";
    case 64: return "Tengen Rambo-1";
    case 65: return "Irem H3001";
    case 66: return "Bandai 74161/32";
    case 67: return "Sunsoft Mapper 3";
    case 68: return "Sunsoft Mapper 4";
    case 69: return "Sunsoft Mapper 5";
    case 70: return "74161/32";
    case 71: return "Camerica Mapper";
    case 72: return "Jaleco Early Mapper #0";
    case 73: return "Konami VRC3";
    case 75: return "Jaleco/Konami VRC1";
    case 76: return "Namco 109";
    case 77: return "Irem Early Mapper 0";
    case 78: return "Jaleco 74161/32";
    case 79: return "Nina-3 (AVE)";
    case 80: return "Taito X-005";
    case 82: return "Taito C075";
    case 83: return "Cony";
    case 85: return "Knami VRC7";
    case 86: return "Jaleco Early Mapper #2";
    case 87: return "Konami 74161/32";
    case 88: return "Namco 118";
    case 89: return "Sunsoft Early Mapper";
    case 90: return "PC-JY-??";
    case 92: return "Jaleco Early Mapper #1";
    case 93: return "Sunsoft 74161/32";
    case 94: return "Capcom 74161/32";
    case 95: return "Namco 106M";
    case 96: return "Bandai 74161/32";
    case 97: return "Irem 74161/32";
    case 99: return "VS Unisystem";
    case 100: return "Nesticle MMC3";
    case 101: return "Jaleco 74161/32";
    case 105: return "NES-EVENT";
    case 112: return "PC-Asder";
    case 113: return "PC-Sachen/Hacker";
    case 117: return "PC-Future";
    case 118: return "IQS MMC3";
    case 122: return "Sunsoft 74161/32";
    case 140: return "Jaleco ??";
    case 144: return "Death Race";
    case 151: return "VS Unisystem (Konami)";
    case 152: return "?? (Arkanoid 2)";
    case 153: return "Bandai ?? (Famicom Jump 2)";
    case 154: return "Namco ?? (Devil Man)";
    case 155: return "MMC1 w/o normal WRAM disable";
    case 160: return "PC-Aladdin";
    case 180: return "Nichibutsu";
    case 182: return "PC-SuperDonkeyKong";
    case 184: return "Sunsoft 74161/32";
    case 185: return "CHR-ROM Disable Protect";
    case 187: return "Street Fighter Zero 2 97";
    case 188: return "Bandai Karaoke Studio";
    case 189: return "Street Fighter 2 Yoko";
    case 225: return "72-in-1";
    case 226: return "76-in-1";
    case 227: return "1200-in-1";
    case 228: return "Action 52";
    case 229: return "31-in-1";
    case 230: return "22-in-1";
    case 231: return "20-in-1";
    case 232: return "Quattro Games";
    case 233: return "42-in-1";
    case 235: return "150-in-1";
    case 240: return "Gen Ke Le Zhuan";
    case 242: return "Wai Xing Zhan Shi";
    case 243: return "PC-Sachen/Hacker";
    case 246: return "Phone Serm Berm";
    case 249: return "Waixing ??";
    case 250: return "Time Diver Avenger";
    case 255: return "110-in-1";
    default: return std::to_string(mapper) + "/Unknown";
    }
}

TOffset TiNESImage::ReadPointer(TOffset pointerOffset, TOffset bankOffset, int cpuBase) const {
    TOffset value = ReadByte(pointerOffset) + 256 * ReadByte(pointerOffset + 1);
    TOffset base = bankOffset != 0 ? bankOffset : pointerOffset;
    TOffset bank = (base - iNESHeaderSize) / PRGBankSize;  // truncates toward zero, as the game's tools did
    if (base < iNESHeaderSize) bank = 0;
    return value - cpuBase + bank * PRGBankSize + iNESHeaderSize;
}

int TiNESImage::OffsetToCPU(TOffset offset) {
    return static_cast<int>((offset - iNESHeaderSize) % PRGBankSize) + 0x8000;
}

bool TiNESImage::WritePointer(TOffset targetOffset, TOffset pointerOffset) {
    if (!InRange(pointerOffset, 2)) return false;
    int a = OffsetToCPU(targetOffset);
    WriteByte(pointerOffset, static_cast<uint8_t>(a & 0xFF));
    WriteByte(pointerOffset + 1, static_cast<uint8_t>((a >> 8) & 0xFF));
    return true;
}

void TiNESImage::ReadPatternPage(int page, uint8_t* out) const {
    if (!PatternPageExists(page)) {
        std::memset(out, 0, PatternPageSize);
        return;
    }
    std::memcpy(out, Data().data() + PatternPageOffset(page), PatternPageSize);
}

bool TiNESImage::WritePatternPage(int page, const uint8_t* in) {
    if (!PatternPageExists(page)) return false;
    const TOffset base = PatternPageOffset(page);
    for (int i = 0; i < PatternPageSize; ++i) WriteByte(base + i, in[i]);
    return true;
}

void TiNESImage::LoadDefaultPalette() { palette_ = DefaultNESPalette; }

void TiNESImage::LoadPaletteFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EditorError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    uint8_t bytes[192] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    for (int i = 0; i < 64; ++i)
        palette_[i] = (static_cast<TColor32>(bytes[3 * i]) << 16) | (bytes[3 * i + 1] << 8) | bytes[3 * i + 2];
}

void TiNESImage::DrawTile(TBitmap32& bitmap, const uint8_t* tileData, const uint8_t* paletteIndices, int x, int y) const {
    const TColor32 colours[4] = {GetColor(paletteIndices[0]), GetColor(paletteIndices[1]), GetColor(paletteIndices[2]),
                                 GetColor(paletteIndices[3])};
    const bool inside = x >= 0 && y >= 0 && x + 8 <= bitmap.Width() && y + 8 <= bitmap.Height();
    for (int r = 0; r < 8; ++r) {
        const uint8_t lo = tileData[r], hi = tileData[r + 8];
        for (int c = 0; c < 8; ++c) {
            const int v = ((lo >> (7 - c)) & 1) | (((hi >> (7 - c)) & 1) << 1);
            if (inside)
                bitmap.Row(y + r)[x + c] = colours[v];
            else
                bitmap.SetPixel(x + c, y + r, colours[v]);
        }
    }
}

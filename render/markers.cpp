#include "render/markers.h"

#include <algorithm>
#include <filesystem>

#include "rom/Errors.h"

namespace {

std::string ReadError(const std::string& path) { return "Cannot read the marker picture \"" + path + "\"."; }

void Put(TBitmap32& target, int x, int y, const TBitmap32& picture, uint8_t opacity) {
    if (picture.Empty()) return;
    if (opacity == 255)
        target.Draw(x, y, picture);
    else
        target.DrawBlended(x, y, picture, opacity);
}

}  // namespace

std::shared_ptr<const TMarkerPictures> TMarkerPictures::Load(const std::string& dataDir) {
    namespace fs = std::filesystem;
    const fs::path dir = dataDir.empty() ? fs::path(".") : fs::path(dataDir);
    auto pictures = std::make_shared<TMarkerPictures>();
    const std::string numbers = (dir / NumbersFile).string();
    std::error_code ec;
    if (!fs::exists(numbers, ec)) return pictures;  // no digits, no markers
    if (!pictures->Numbers.LoadFromFile(numbers)) throw EditorError(ReadError(numbers));
    pictures->HasNumbers = true;

    const std::string enemy = (dir / BlankEnemyFile).string();
    if (!pictures->BlankEnemy.LoadFromFile(enemy)) pictures->BlankEnemyError = ReadError(enemy);
    const std::string specObj = (dir / BlankSpecObjFile).string();
    if (!pictures->BlankSpecObj.LoadFromFile(specObj)) pictures->BlankSpecObjError = ReadError(specObj);

    const TBitmap32& strip = pictures->Numbers;
    for (int d = 0; d < 16; ++d) {
        const int w = std::clamp(strip.Width() - 8 * d, 0, 8);
        const int h = std::min(strip.Height(), 8);
        TBitmap32& glyph = pictures->Glyphs[static_cast<size_t>(d)];
        glyph.SetSize(w, h);
        glyph.Draw(0, 0, strip, 8 * d, 0, w, h);
    }
    return pictures;
}

void TMarkerPictures::RequireBlankEnemy() const {
    if (!BlankEnemyError.empty()) throw EditorError(BlankEnemyError);
}

void TMarkerPictures::RequireBlankSpecObj() const {
    if (!BlankSpecObjError.empty()) throw EditorError(BlankSpecObjError);
}

void TMarkerPictures::DrawMarker(TBitmap32& target, const TBitmap32& blank, int x, int y, uint8_t value, uint8_t opacity) const {
    Put(target, x, y, blank, opacity);
    Put(target, x, y, Glyphs[value >> 4], opacity);
    Put(target, x + 8, y, Glyphs[value & 15], opacity);
}

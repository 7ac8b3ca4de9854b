#pragma once
// The enemy and special-object marker pictures of the Data folder, read once per model.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "rom/Bitmap32.h"

struct TMarkerPictures {
    static constexpr const char* NumbersFile = "numbers.bmp";
    static constexpr const char* BlankEnemyFile = "blankenemy.bmp";
    static constexpr const char* BlankSpecObjFile = "blankspecobj.bmp";

    TBitmap32 Numbers;       // glyph strip: hexadecimal digit d at columns 8d..8d+7, 8 rows
    TBitmap32 BlankEnemy;    // 16x16 enemy marker
    TBitmap32 BlankSpecObj;  // 16x16 special-object marker
    // False when numbers.bmp is missing: then neither kind of marker is drawn.
    bool HasNumbers = false;
    // Set when numbers.bmp is there but that blank marker could not be read; the text names the file.
    std::string BlankEnemyError;
    std::string BlankSpecObjError;
    // Each digit cut out of the strip once, so a blended copy can take it whole. A glyph that the strip
    // does not (fully) hold is cut to what is there, as a clipped copy from the strip would be.
    std::array<TBitmap32, 16> Glyphs;

    // Reads the three pictures from dataDir (empty: the working folder). Throws EditorError naming
    // numbers.bmp when it exists but cannot be read; a blank marker that cannot be read is kept as an
    // error for the drawing that needs it.
    static std::shared_ptr<const TMarkerPictures> Load(const std::string& dataDir);

    // Throws the kept error of the blank marker, if any.
    void RequireBlankEnemy() const;
    void RequireBlankSpecObj() const;

    // The marker picture at (x, y), then value as two upper-case hexadecimal glyphs over its top half,
    // at (x, y) and (x + 8, y); opaque at 255, blended below.
    void DrawMarker(TBitmap32& target, const TBitmap32& blank, int x, int y, uint8_t value, uint8_t opacity) const;
};

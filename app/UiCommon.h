#pragma once
// Small helpers shared by the editor's windows.

#include <QColor>
#include <QIcon>
#include <QString>
#include <string>

inline std::string Std(const QString& s) { return s.toStdString(); }
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A command picture: a letter or two on a coloured tile.
QIcon GlyphIcon(const QString& glyph, QColor colour);

// The maker's homepage, opened by the Help menu and the About box.
inline const char* const HomepageURL = "https://quillborn.example.org/";

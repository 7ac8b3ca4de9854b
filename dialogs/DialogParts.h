#pragma once
// Small pieces the editor dialogs share.

#include <QLabel>
#include <QString>
#include <algorithm>

#include "model/IniFile.h"

// A byte as two upper-case hexadecimal digits.
inline QString HexText(int v) { return QString::fromStdString(HexByte(v)); }

// A label at its designed place; with a height, centred vertically in it.
inline QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int height = 0) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    if (height > 0) {
        l->setFixedHeight(height);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return l;
}

// Places a control at its designed x, or further right when the platform's font makes the control
// before it wider than the design allowed for.
inline void PlaceAfter(QWidget* w, const QWidget* before, int x, int gap = 4) {
    w->move(std::max(x, before->x() + before->width() + gap), w->y());
}

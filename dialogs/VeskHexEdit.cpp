#include "dialogs/VeskHexEdit.h"

#include <QKeyEvent>

#include "model/IniFile.h"

bool TVeskHexEdit::Accepts(QChar c) {
    const ushort u = c.unicode();
    return u == 8 || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

std::optional<int> TVeskHexEdit::Value() const { return ParseHex(text().toStdString()); }

void TVeskHexEdit::keyPressEvent(QKeyEvent* e) {
    // Keys that are not characters (Delete, arrows, Home, ...) keep working; every character that is
    // not a hexadecimal digit or backspace is dropped, control characters such as Ctrl+V included.
    const QString text = e->text();
    if (!text.isEmpty() && e->key() != Qt::Key_Delete) {
        for (QChar c : text)
            if (!Accepts(c)) return;
    }
    QLineEdit::keyPressEvent(e);
}

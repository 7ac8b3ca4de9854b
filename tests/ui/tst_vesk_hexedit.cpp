// The hexadecimal edit box: the key filter and the reading of its value.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QtTest>

#include "dialogs/VeskHexEdit.h"

namespace {

// A key as the platform delivers it: Ctrl+letter arrives as a control character.
void Key(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

void Type(QWidget* w, const QString& chars) {
    for (QChar c : chars) Key(w, c.toUpper().unicode(), QString(c));
}

QString Control(char letter) { return QString(QChar(letter - 'A' + 1)); }

}  // namespace

class TestVeskHexEdit : public QObject {
    Q_OBJECT
private slots:
    void filterPassesHexDigitsAndBackspaceOnly() {
        QString passed;
        for (int code = 0; code < 256; ++code)
            if (TVeskHexEdit::Accepts(QChar(code))) passed += QChar(code);
        QCOMPARE(passed, QString("\b0123456789ABCDEFabcdef"));
        for (QChar c : {QChar(0x0660), QChar(0xFF10), QChar(0xFF21)}) QVERIFY(!TVeskHexEdit::Accepts(c));  // other digits and letters
    }

    void typingOtherCharactersChangesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("g") << "g";
        QTest::newRow("space") << " ";
        QTest::newRow("minus") << "-";
        QTest::newRow("dollar") << "$";
        QTest::newRow("G") << "G";
        QTest::newRow("x") << "x";
    }
    void typingOtherCharactersChangesNothing() {
        QFETCH(QString, typed);
        TVeskHexEdit box;
        box.setMaxLength(2);
        box.setText("1");
        box.end(false);
        Type(&box, typed);
        QCOMPARE(box.text(), QString("1"));
    }

    void caseIsKeptAndReadAsHex() {
        TVeskHexEdit box;
        box.setMaxLength(2);
        Type(&box, "a");
        Type(&box, "B");
        QCOMPARE(box.text(), QString("aB"));
        QCOMPARE(box.Value(), std::optional<int>(0xAB));
        // A third digit is refused by the length.
        Type(&box, "7");
        QCOMPARE(box.text(), QString("aB"));
    }

    void editingKeysWork() {
        TVeskHexEdit box;
        box.setMaxLength(2);
        Type(&box, "4c");
        Key(&box, Qt::Key_Backspace, QString(QChar(8)));
        QCOMPARE(box.text(), QString("4"));
        Type(&box, "e");
        Key(&box, Qt::Key_Left, QString());
        Key(&box, Qt::Key_Left, QString());
        Key(&box, Qt::Key_Delete, QString(QChar(127)));
        QCOMPARE(box.text(), QString("e"));
        Key(&box, Qt::Key_End, QString());
        Type(&box, "0");
        QCOMPARE(box.text(), QString("e0"));
    }

    void controlShortcutsAreDropped() {
        QClipboard* clip = QApplication::clipboard();
        clip->setText("77");
        if (clip->text() != "77") QSKIP("this platform has no clipboard");
        TVeskHexEdit box;
        box.setMaxLength(2);
        // Paste.
        Key(&box, Qt::Key_V, Control('V'), Qt::ControlModifier);
        QCOMPARE(box.text(), QString());
        // Undo.
        Type(&box, "3");
        Key(&box, Qt::Key_Z, Control('Z'), Qt::ControlModifier);
        QCOMPARE(box.text(), QString("3"));
        // Copy and cut.
        box.selectAll();
        Key(&box, Qt::Key_C, Control('C'), Qt::ControlModifier);
        QCOMPARE(clip->text(), QString("77"));
        Key(&box, Qt::Key_X, Control('X'), Qt::ControlModifier);
        QCOMPARE(box.text(), QString("3"));
        QCOMPARE(clip->text(), QString("77"));
        // The edit box itself still pastes (its context menu does this).
        box.clear();
        box.paste();
        QCOMPARE(box.text(), QString("77"));
    }

    void valueOfWhatTheBoxHolds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // -1: cannot be read
        QTest::newRow("00") << "00" << 0;
        QTest::newRow("1f") << "1f" << 0x1F;
        QTest::newRow("1F") << "1F" << 0x1F;
        QTest::newRow("single digit") << "9" << 9;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("pasted letters") << "zz" << -1;
        QTest::newRow("pasted dollar") << "$1" << -1;
        QTest::newRow("pasted space") << " 1" << -1;
    }
    void valueOfWhatTheBoxHolds() {
        QFETCH(QString, text);
        QFETCH(int, value);
        TVeskHexEdit box;
        box.setText(text);
        QCOMPARE(box.Value(), value < 0 ? std::nullopt : std::optional<int>(value));
    }
};

QTEST_MAIN(TestVeskHexEdit)
#include "tst_vesk_hexedit.moc"

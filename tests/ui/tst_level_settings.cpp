// The solidity editor and Level Settings, driven against a real main window.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/frm_EditorMain.h"
#include "dialogs/VeskHexEdit.h"
#include "dialogs/frm_LevelSettings.h"
#include "dialogs/frm_SolidityEditor.h"
#include "ui/ui_support.h"

namespace {

// Also keeps the default text each input box offered.
class TRecordingPrompter : public TScriptedPrompter {
public:
    std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt, const QString& value) override {
        defaults << value;
        return TScriptedPrompter::Input(parent, caption, prompt, value);
    }
    QStringList defaults;
};

struct Editor : TOpenEditor {
    TRecordingPrompter prompt;
    explicit Editor(const std::vector<TLevelSpec>& levels = StandardLevels(),
                    const std::function<void(TProgramFolder&)>& prepare = nullptr)
        : TOpenEditor(levels) {
        // Names of our own, so the lists can be checked against text the model did not make.
        folder.dir.Write("Data/tiletypes.dat", std::string("00:Air\n02:Solid\n0D:Spikes\n0E:Ladder\n"));
        folder.dir.Write("Data/enemy.dat", std::string("80:Foot Soldier\n81:Mouser\n85:Roller Car\n88:Bat\n"));
        Open(prepare);
    }
    uint8_t at(TOffset o) { return bytes()[static_cast<size_t>(o)]; }
};

QImage Page(TROMData& rom, int page, int layout) {
    TBitmap32 b(128, 128);
    rom.DrawPatternPage(b, 0, layout, page);
    return ToImage(b);
}

TOffset PageOffset(const TROMData& rom, int page) { return 16 + rom.PRGCount() * 0x4000 + page * 0x1000; }

template <class D>
void WhenModal(bool& seen, std::function<void(D*)> f) {
    seen = false;
    QTimer::singleShot(0, [&seen, f] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) return;
        seen = true;
        f(d);
        // A dialog that refused to close would hold the test in its loop: the test sees it as cancelled.
        if (d->isVisible()) d->reject();
    });
}

QStringList Rows(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList Rows(const QTableWidget* table) {
    QStringList out;
    for (int i = 0; i < table->rowCount(); ++i) out << table->item(i, 0)->text() + "|" + table->item(i, 1)->text();
    return out;
}

void Select(QTableWidget* table, int row) { table->selectRow(row); }

void DoubleClick(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemDoubleClicked(list->item(row));
}

void FocusIn(QWidget* w) {
    QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

// The level with a stage on a page without a table ($0C) and one whose table never ends ($1F).
std::vector<TLevelSpec> OddSolidityLevels() {
    std::vector<TLevelSpec> levels = StandardLevels();
    levels[1].stages[1].bgPage = 0x0C;
    levels[1].stages[2].bgPage = 0x1F;
    return levels;
}

}  // namespace

class TestLevelSettings : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ solidity editor

    void solidityShowsTheTable() {
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        QCOMPARE(d.windowTitle(), QString("Solidity Editor"));
        QCOMPARE(d.height(), 336);
        QVERIFY(d.width() >= 510);
        QCOMPARE(d.lvwSolidityData->geometry(), QRect(8, 8, 233, 257));
        QCOMPARE(d.imgTSA->geometry(), QRect(248, 8, 256, 256));
        QCOMPARE(d.imgTSA->Scale(), 2);
        QCOMPARE(d.lvwSolidityData->horizontalHeaderItem(0)->text(), QString("Up To Tile"));
        QCOMPARE(d.lvwSolidityData->horizontalHeaderItem(1)->text(), QString("Tile Type"));
        QCOMPARE(d.lvwSolidityData->columnWidth(0), 100);
        QCOMPARE(d.txtUpToTile->text(), QString("00"));
        QCOMPARE(d.txtUpToTile->maxLength(), 2);
        QCOMPARE(d.lblHighlight->text(), QString("Highlighted Tile: $00"));
        QCOMPARE(d.cmdEdit->text(), QString("&Edit"));
        QVERIFY(d.cmdOK->isDefault());
        d.show();
        // Page $0D's table: up to $1F air, up to $7F type $0D, up to $FF solid.
        QCOMPARE(Rows(d.lvwSolidityData), QStringList({"1F|$00 - Air", "7F|$0D - Spikes", "FF|$02 - Solid"}));
        QVERIFY(d.lvwSolidityData->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(d.cbTileType->count(), 256);
        QCOMPARE(d.cbTileType->itemText(0x0E), QString("$0E - Ladder"));
        QCOMPARE(d.cbTileType->itemText(0x41), QString("$41 - N\\A"));
        QCOMPARE(d.cbTileType->currentIndex(), -1);
        QCOMPARE(d.List().Count(), 3);
    }

    void soliditySheetUsesTheTSAEditorsColoursAndTheStageTiles() {
        Editor e;
        e.w->Settings().SetLastPalTilEd(2);
        QVERIFY(e.w->HandlePageKey(Qt::Key_PageDown, Qt::ShiftModifier));  // the world map
        QVERIFY(e.w->WorldView);
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        TBitmap32 stage(128, 128), world(128, 128);
        e.rom().DrawPatternTable(stage, 2, false);
        e.rom().DrawPatternTable(world, 2, true);
        QCOMPARE(d.imgTSA->Image(), ToImage(stage));
        QVERIFY(ToImage(stage) != ToImage(world));
        TBitmap32 other(128, 128);
        e.rom().DrawPatternTable(other, 1, false);
        QVERIFY(ToImage(stage) != ToImage(other));
    }

    void solidityHighlightNamesTheTileUnderTheMouse_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << 0 << 0 << "Highlighted Tile: $00";
        QTest::newRow("$12") << 2 * 16 + 1 << 16 + 1 << "Highlighted Tile: $12";
        QTest::newRow("cell edge") << 15 << 31 << "Highlighted Tile: $10";
        QTest::newRow("last") << 255 << 255 << "Highlighted Tile: $FF";
        QTest::newRow("$E3") << 3 * 16 << 14 * 16 + 15 << "Highlighted Tile: $E3";
    }
    void solidityHighlightNamesTheTileUnderTheMouse() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, text);
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Move(d.imgTSA, Qt::NoButton, 100, 100);
        Move(d.imgTSA, Qt::NoButton, x, y);
        QCOMPARE(d.lblHighlight->text(), text);
    }

    void solidityEditChangesTheSelectedEntry() {
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        // Edit without a row, or without a tile type, does nothing.
        d.txtUpToTile->setText("44");
        d.cmdEdit->click();
        Select(d.lvwSolidityData, 1);
        QCOMPARE(d.txtUpToTile->text(), QString("7F"));
        QCOMPARE(d.cbTileType->currentIndex(), 0x0D);
        d.cbTileType->setCurrentIndex(-1);
        d.txtUpToTile->setText("44");
        d.cmdEdit->click();
        QCOMPARE(Rows(d.lvwSolidityData)[1], QString("7F|$0D - Spikes"));

        d.txtUpToTile->setText("9c");
        d.cbTileType->setCurrentIndex(0x0E);
        d.cmdEdit->click();
        QCOMPARE(Rows(d.lvwSolidityData), QStringList({"1F|$00 - Air", "9C|$0E - Ladder", "FF|$02 - Solid"}));
        QCOMPARE(int(d.List()[1].UpToTile), 0x9C);
        QCOMPARE(int(d.List()[1].TileType), 0x0E);
        // Rebuilt with no row selected; the boxes keep their values.
        QVERIFY(d.lvwSolidityData->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(d.txtUpToTile->text(), QString("9c"));
        QCOMPARE(d.cbTileType->currentIndex(), 0x0E);
        // Entries may go in any order.
        Select(d.lvwSolidityData, 0);
        d.txtUpToTile->setText("F0");
        d.cmdEdit->click();
        QCOMPARE(Rows(d.lvwSolidityData)[0], QString("F0|$00 - Air"));
        QCOMPARE(e.bytes(), e.original);  // nothing reaches the image before OK
    }

    void solidityUnreadableUpToLeavesTheEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("pasted letters") << "g1";
        QTest::newRow("pasted space") << " 1";
    }
    void solidityUnreadableUpToLeavesTheEntry() {
        QFETCH(QString, text);
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Select(d.lvwSolidityData, 2);
        d.cbTileType->setCurrentIndex(0x0D);
        d.txtUpToTile->setText(text);
        d.cmdEdit->click();
        QCOMPARE(e.prompt.texts.last(), QString("Up To Tile must be a hexadecimal value."));
        QCOMPARE(int(d.List()[2].UpToTile), 0xFF);
        QCOMPARE(int(d.List()[2].TileType), 0x02);
        QCOMPARE(Rows(d.lvwSolidityData)[2], QString("FF|$02 - Solid"));
    }

    void solidityOKNeedsTheLastEntryUpToFF() {
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Select(d.lvwSolidityData, 2);
        d.txtUpToTile->setText("80");
        d.cmdEdit->click();
        d.cmdOK->click();
        QCOMPARE(e.prompt.texts.last(), QString("The last solidity setting must be up to $FF."));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.isVisible());
        QCOMPARE(Rows(d.lvwSolidityData)[2], QString("80|$02 - Solid"));  // kept as edited
        // An earlier entry up to $FF does not count.
        Select(d.lvwSolidityData, 0);
        d.txtUpToTile->setText("FF");
        d.cbTileType->setCurrentIndex(0);
        d.cmdEdit->click();
        d.cmdOK->click();
        QVERIFY(d.isVisible());
        d.cmdCancel->click();
        SolidityEditorClosed(*e.w, d, d.result() == QDialog::Accepted);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);
    }

    void solidityOKWritesTheTableAsOneStep() {
        Editor e;
        const TOffset table = e.rom().SolidityTableOffset(0x0D);
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Select(d.lvwSolidityData, 0);
        d.txtUpToTile->setText("2a");
        d.cbTileType->setCurrentIndex(0x31);
        d.cmdEdit->click();
        Select(d.lvwSolidityData, 2);
        d.cbTileType->setCurrentIndex(0x05);
        d.cmdEdit->click();
        d.cmdOK->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        SolidityEditorClosed(*e.w, d, true);
        std::vector<TOffset> want{table, table + 1, table + 5};
        std::sort(want.begin(), want.end());
        QCOMPARE(e.Changed(), want);
        QCOMPARE(e.at(table), uint8_t(0x2A));
        QCOMPARE(e.at(table + 1), uint8_t(0x31));
        QCOMPARE(e.at(table + 4), uint8_t(0xFF));
        QCOMPARE(e.at(table + 5), uint8_t(0x05));
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Solidity"));
        e.w->UndoStack().undo();
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
    }

    void solidityOKWithoutEditsWritesNothing() {
        Editor e;
        TfrmSolidityEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Select(d.lvwSolidityData, 1);
        d.cmdOK->click();
        SolidityEditorClosed(*e.w, d, d.result() == QDialog::Accepted);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);
    }

    void solidityCommandRefusesStagesItCannotEdit_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("message");
        QTest::newRow("no table") << 1 << "Background page $0C has no solidity table.";
        QTest::newRow("no end") << 2
                                << "The solidity table of background page $1F has no entry up to $FF before the end of its page or of the "
                                   "ROM, so it cannot be edited.";
    }
    void solidityCommandRefusesStagesItCannotEdit() {
        QFETCH(int, stage);
        QFETCH(QString, message);
        Editor e(OddSolidityLevels(), [](TProgramFolder& f) {
            // Page $1F's table runs into the pattern pages, which hold no $FF.
            f.game.rom.Pointer(f.game.solidityPointers + 2 * (0x1F - 0x0D), 0x1C010 + 0x3FFF, 0xC000);
            f.dir.Write("game.nes", f.game.rom.bytes);
        });
        QVERIFY(e.w->HandlePageKey(Qt::Key_PageUp, Qt::NoModifier));  // level 2
        for (int i = 0; i < stage; ++i) QVERIFY(e.w->HandlePageKey(Qt::Key_PageUp, Qt::ShiftModifier));
        QCOMPARE(e.rom().StageIndex, stage);
        bool seen = false;
        WhenModal<QDialog>(seen, [](QDialog* d) { d->reject(); });
        e.w->Action("actSolidityEditor")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!seen);
        QCOMPARE(e.prompt.texts.last(), message);
        QCOMPARE(e.bytes(), e.original);

        // The stage before it has a table and opens.
        QVERIFY(e.w->HandlePageKey(Qt::Key_PageDown, Qt::ShiftModifier));
        if (stage == 1) {
            WhenModal<TfrmSolidityEditor>(seen, [](TfrmSolidityEditor* d) { d->cmdOK->click(); });
            e.w->Action("actSolidityEditor")->trigger();
            QVERIFY(seen);
            QCOMPARE(e.bytes(), e.original);
        }
    }

    void solidityCommandWritesOnOK() {
        Editor e;
        bool seen = false;
        WhenModal<TfrmSolidityEditor>(seen, [](TfrmSolidityEditor* d) {
            d->lvwSolidityData->selectRow(1);
            d->txtUpToTile->setText("90");
            d->cmdEdit->click();
            d->cmdOK->click();
        });
        e.w->Action("actSolidityEditor")->trigger();
        QVERIFY(seen);
        QCOMPARE(e.at(e.rom().SolidityTableOffset(0x0D) + 2), uint8_t(0x90));
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Solidity"));
        QVERIFY(e.w->windowTitle().endsWith(" *"));
    }

    // ------------------------------------------------------------ level settings

    void levelSettingsShowsTheStage() {
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        QCOMPARE(d.windowTitle(), QString("Level Settings"));
        QCOMPARE(d.size(), QSize(432, 398));
        QCOMPARE(d.pgcPatternTableSettings->count(), 4);
        QStringList tabs;
        for (int i = 0; i < 4; ++i) tabs << d.pgcPatternTableSettings->tabText(i);
        QCOMPARE(tabs, QStringList({"General", "BG Pattern Table Settings", "Sprite Pattern Table Settings", "Sprite Changes"}));
        QCOMPARE(d.pgcPatternTableSettings->widget(3)->objectName(), QString("tshSpriteChanges"));
        QCOMPARE(d.lblBGPatternTable->text(), QString("BG Pattern Table : (00)"));
        QCOMPARE(d.txtWidth->text(), QString("0"));
        for (TImageView* v : {d.imgBGPatternTable, d.imgSprPatternTable, d.imgSpriteChange}) {
            QCOMPARE(v->size(), QSize(256, 256));
            QCOMPARE(v->Scale(), 2);
        }
        QCOMPARE(d.rdgInterLeave->title(), QString("Interleave Type:"));
        QCOMPARE(d.rdgInterLeaveItems->button(0)->text(), QString("None"));
        QCOMPARE(d.rdgInterLeaveItems->button(1)->text(), QString("Interleave-4"));
        QCOMPARE(d.rdgInterLeaveItems->checkedId(), 1);
        QCOMPARE(d.rdgSpriteChangeItems->checkedId(), 1);
        d.show();
        QCOMPARE(d.pgcPatternTableSettings->currentIndex(), 0);
        QVERIFY(d.pgcPatternTableSettings->isTabVisible(3));
        QCOMPARE(d.txtWidth->text(), QString("3"));
        QCOMPARE(d.txtHeight->text(), QString("2"));
        QVERIFY(!d.txtWidth->isEnabled());
        QVERIFY(!d.txtHeight->isEnabled());
        QCOMPARE(Rows(d.lstRooms), QStringList({"00", "01", "02", "03", "04", "05"}));
        QCOMPARE(d.scrBGSetting->minimum(), 0);
        QCOMPARE(d.scrBGSetting->maximum(), 0x1F);  // 16 CHR banks: pages $00-$1F
        QCOMPARE(d.scrSprSetting->maximum(), 0x1F);
        QCOMPARE(d.scrBGSetting->value(), 0x0D);
        QCOMPARE(d.scrSprSetting->value(), 0x10);
        QCOMPARE(d.lblBGPatternTable->text(), QString("BG Pattern Table : (0D)"));
        QCOMPARE(d.lblSprPatternTable->text(), QString("Spr Pattern Table : (10)"));
        for (int k = 0; k < 4; ++k) QCOMPARE(d.txtSpriteChange[k]->text(), QString("%1").arg(0x11 + k, 2, 16).toUpper());
        for (int k = 0; k < 4; ++k) QCOMPARE(d.txtSpriteChange[k]->maxLength(), 2);
        // Page $10's enemy set: types $80-$85.
        QCOMPARE(Rows(d.lstAvailableEnemies),
                 QStringList({"$80 - Foot Soldier", "$81 - Mouser", "$82 - N\\A", "$83 - N\\A", "$84 - N\\A", "$85 - Roller Car"}));
        QCOMPARE(d.SpriteChangePage, uint8_t(0));
        QCOMPARE(d.imgBGPatternTable->Image(), Page(e.rom(), 0x0D, 0));
        QCOMPARE(d.imgSprPatternTable->Image(), Page(e.rom(), 0x10, 1));
        QCOMPARE(d.imgSpriteChange->Image(), Page(e.rom(), 0x00, 1));
        QVERIFY(Page(e.rom(), 0x10, 1) != Page(e.rom(), 0x10, 0));
        QCOMPARE(e.bytes(), e.original);
    }

    void levelSettingsPreviewsFollowTheControls() {
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        d.scrBGSetting->setValue(0x1A);
        QCOMPARE(d.lblBGPatternTable->text(), QString("BG Pattern Table : (1A)"));
        QCOMPARE(d.imgBGPatternTable->Image(), Page(e.rom(), 0x1A, 0));
        d.scrSprSetting->setValue(0x03);
        QCOMPARE(d.lblSprPatternTable->text(), QString("Spr Pattern Table : (03)"));
        QCOMPARE(d.imgSprPatternTable->Image(), Page(e.rom(), 0x03, 1));
        d.rdgInterLeaveItems->button(0)->click();
        QCOMPARE(d.imgSprPatternTable->Image(), Page(e.rom(), 0x03, 0));
        // The enemies stay those of the stored sprite page.
        QCOMPARE(d.lstAvailableEnemies->item(0)->text(), QString("$80 - Foot Soldier"));
        // Sprite changes: entering a box previews its page, typing previews as it goes, clamped to the last page.
        FocusIn(d.txtSpriteChange[2]);
        QCOMPARE(d.SpriteChangePage, uint8_t(0x13));
        QCOMPARE(d.imgSpriteChange->Image(), Page(e.rom(), 0x13, 1));
        d.rdgSpriteChangeItems->button(0)->click();
        QCOMPARE(d.imgSpriteChange->Image(), Page(e.rom(), 0x13, 0));
        d.txtSpriteChange[0]->clear();
        QTest::keyClick(d.txtSpriteChange[0], Qt::Key_F, Qt::NoModifier);
        QCOMPARE(d.SpriteChangePage, uint8_t(0x0F));
        QTest::keyClick(d.txtSpriteChange[0], Qt::Key_F, Qt::NoModifier);
        QCOMPARE(d.txtSpriteChange[0]->text(), QString("ff"));
        QCOMPARE(d.SpriteChangePage, uint8_t(0x1F));
        QCOMPARE(d.imgSpriteChange->Image(), Page(e.rom(), 0x1F, 0));
        QTest::keyClick(d.txtSpriteChange[0], Qt::Key_Backspace);
        QTest::keyClick(d.txtSpriteChange[0], Qt::Key_Backspace);
        QCOMPARE(d.SpriteChangePage, uint8_t(0));
        QCOMPARE(d.imgSpriteChange->Image(), Page(e.rom(), 0x00, 0));
        // Pasted letters name no page: the preview stays.
        FocusIn(d.txtSpriteChange[1]);
        d.txtSpriteChange[1]->setText("zz");
        FocusIn(d.txtSpriteChange[1]);
        QCOMPARE(d.SpriteChangePage, uint8_t(0x12));
        QCOMPARE(e.bytes(), e.original);
    }

    void levelSettingsRoomEntry_data() {
        QTest::addColumn<QVariant>("typed");  // a string, or nothing for Cancel
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("message");  // empty: none
        QTest::newRow("lower case") << QVariant("1f") << "1f" << "";
        QTest::newRow("three digits") << QVariant("1FF") << "1FF" << "";
        QTest::newRow("letters") << QVariant("xyz") << "04" << "You need to enter a valid hexadecimal value. Not xyz.";
        QTest::newRow("empty") << QVariant("") << "04" << "You need to enter a valid hexadecimal value. Not .";
        QTest::newRow("dollar") << QVariant("$10") << "04" << "You need to enter a valid hexadecimal value. Not $10.";
        QTest::newRow("cancel") << QVariant() << "04" << "";
    }
    void levelSettingsRoomEntry() {
        QFETCH(QVariant, typed);
        QFETCH(QString, row);
        QFETCH(QString, message);
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        e.prompt.inputs = {typed.isValid() ? std::optional<QString>(typed.toString()) : std::nullopt};
        DoubleClick(d.lstRooms, 4);
        QCOMPARE(e.prompt.captions.first(), QString("Enter new value"));
        QCOMPARE(e.prompt.texts.first(), QString("Enter new value"));
        QCOMPARE(e.prompt.defaults, QStringList({"04"}));
        QCOMPARE(d.lstRooms->item(4)->text(), row);
        if (message.isEmpty())
            QCOMPARE(e.prompt.texts.size(), 1);
        else
            QCOMPARE(e.prompt.texts.last(), message);
        QCOMPARE(e.bytes(), e.original);
        // OK writes the low eight bits of what the row holds.
        d.cmdOK->click();
        LevelSettingsClosed(*e.w, d, d.result() == QDialog::Accepted);
        const bool ok = row.toInt(nullptr, 16) != 4;
        QCOMPARE(e.at(e.folder.game.levels[0].stages[0].scrollData + 2 + 4), uint8_t(row.toInt(nullptr, 16) & 0xFF));
        QCOMPARE(e.Changed().size(), size_t(ok ? 1 : 0));
    }

    void levelSettingsDoubleClickWithoutARowDoesNothing() {
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        d.lstRooms->clearSelection();
        d.lstRooms->setCurrentRow(-1);
        d.lstRoomsDblClick();
        QVERIFY(e.prompt.texts.isEmpty());
    }

    void levelSettingsOKWritesInOneUndoStep() {
        Editor e;
        const TStageLayout& s = e.folder.game.levels[0].stages[0];
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        e.prompt.inputs = {QString("2c")};
        DoubleClick(d.lstRooms, 0);
        d.scrSprSetting->setValue(0x12);
        d.txtSpriteChange[1]->clear();
        QTest::keyClicks(d.txtSpriteChange[1], "ff");  // previews $1F, writes $FF
        QCOMPARE(d.SpriteChangePage, uint8_t(0x1F));
        d.txtSpriteChange[3]->setText("0a");
        d.cmdOK->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        LevelSettingsClosed(*e.w, d, true);
        std::vector<TOffset> want{s.scrollData + 2, s.patTable + 1, s.spriteChanges + 1, s.spriteChanges + 3};
        std::sort(want.begin(), want.end());
        QCOMPARE(e.Changed(), want);
        QCOMPARE(e.at(s.scrollData + 2), uint8_t(0x2C));
        QCOMPARE(e.at(s.patTable + 1), uint8_t(0x12));
        QCOMPARE(e.at(s.spriteChanges + 1), uint8_t(0xFF));
        QCOMPARE(e.at(s.spriteChanges + 3), uint8_t(0x0A));
        QCOMPARE(e.w->StatusPanels[1]->text(), QString("Level: 1-1 Screen: 00 Screen ID: 00"));
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->UndoStack().undoText(), QString("Level Settings"));
        e.w->UndoStack().undo();
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        e.w->UndoStack().redo();
        QCOMPARE(e.Changed().size(), size_t(4));
    }

    void levelSettingsUnreadableBoxRefusesOK_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty first") << 0 << "";
        QTest::newRow("empty second") << 1 << "";
        QTest::newRow("pasted fourth") << 3 << "x1";
    }
    void levelSettingsUnreadableBoxRefusesOK() {
        QFETCH(int, box);
        QFETCH(QString, text);
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        e.prompt.inputs = {QString("33")};
        DoubleClick(d.lstRooms, 1);
        d.scrSprSetting->setValue(0x05);
        d.scrBGSetting->setValue(0x0E);
        d.txtSpriteChange[box]->setText(text);
        d.cmdOK->click();
        QCOMPARE(e.prompt.texts.last(), QString("Sprite Change %1 must be a hexadecimal value.").arg(box + 1));
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        d.cmdCancel->click();
        LevelSettingsClosed(*e.w, d, d.result() == QDialog::Accepted);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.rom().CurrentStage->GetBGPatternTable(), uint8_t(0x0D));
    }

    void levelSettingsBackgroundPageSwitch() {
        Editor e;
        const TStageLayout& s = e.folder.game.levels[0].stages[0];
        const QImage view = e.w->imgScreen->Image();
        const TPatternBuffer oldPage = e.rom().PatternBuffer;
        {
            // Cancel after moving the bar changes nothing.
            TfrmLevelSettings d(e.rom(), e.w.get());
            d.show();
            d.scrBGSetting->setValue(0x0F);
            d.cmdCancel->click();
            LevelSettingsClosed(*e.w, d, false);
            QCOMPARE(e.bytes(), e.original);
            QCOMPARE(e.rom().PatternBuffer, oldPage);
            QCOMPARE(e.w->imgScreen->Image(), view);
        }
        // The working page goes back to the old page before the switch.
        e.rom().PatternBuffer[3] ^= 0xFF;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        d.scrBGSetting->setValue(0x0F);
        d.cmdOK->click();
        LevelSettingsClosed(*e.w, d, true);
        const TOffset oldAt = PageOffset(e.rom(), 0x0D), newAt = PageOffset(e.rom(), 0x0F);
        std::vector<TOffset> want{s.patTable, oldAt + 3};
        std::sort(want.begin(), want.end());
        QCOMPARE(e.Changed(), want);
        QCOMPARE(e.at(s.patTable), uint8_t(0x0F));
        QCOMPARE(e.at(oldAt + 3), uint8_t(oldPage[3] ^ 0xFF));
        QVERIFY(std::equal(e.rom().PatternBuffer.begin(), e.rom().PatternBuffer.end(), e.bytes().begin() + newAt));
        QVERIFY(e.w->imgScreen->Image() != view);  // the stage in the new tiles
        QCOMPARE(e.w->UndoStack().count(), 1);
        e.w->UndoStack().undo();
        QCOMPARE(e.bytes(), e.original);
        QCOMPARE(e.rom().CurrentStage->GetBGPatternTable(), uint8_t(0x0D));
        QVERIFY(std::equal(e.rom().PatternBuffer.begin(), e.rom().PatternBuffer.end(), e.bytes().begin() + oldAt));
        QCOMPARE(e.w->imgScreen->Image(), view);
    }

    void levelSettingsOKWithoutChangesWritesNothing() {
        Editor e;
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        d.pgcPatternTableSettings->setCurrentIndex(3);
        FocusIn(d.txtSpriteChange[3]);
        d.cmdOK->click();
        LevelSettingsClosed(*e.w, d, d.result() == QDialog::Accepted);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);
    }

    void levelSettingsDamStageHidesSpriteChangesButWritesThemBack() {
        Editor e;
        QVERIFY(e.w->HandlePageKey(Qt::Key_PageUp, Qt::ShiftModifier));  // stage 2 of level 1: the dam stage
        QVERIFY(e.rom().CurrentStage->IsDamStage);
        const TStageLayout& s = e.folder.game.levels[0].stages[1];
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        QVERIFY(!d.pgcPatternTableSettings->isTabVisible(TfrmLevelSettings::SpriteChangesTab));
        for (int i = 0; i < 3; ++i) QVERIFY(d.pgcPatternTableSettings->isTabVisible(i));
        QCOMPARE(Rows(d.lstRooms), QStringList({"02"}));
        QCOMPARE(Rows(d.lstAvailableEnemies)[0], QString("$88 - Bat"));  // page $11
        // The hidden boxes hold the stage's values and OK writes them back: changed on purpose here.
        d.txtSpriteChange[2]->setText("2B");
        d.cmdOK->click();
        LevelSettingsClosed(*e.w, d, true);
        QCOMPARE(e.Changed(), (std::vector<TOffset>{s.spriteChanges + 2}));
        QCOMPARE(e.at(s.spriteChanges + 2), uint8_t(0x2B));
        e.w->UndoStack().undo();
        // Unchanged boxes write the same bytes back.
        TfrmLevelSettings again(e.rom(), e.w.get());
        again.show();
        again.cmdOK->click();
        LevelSettingsClosed(*e.w, again, true);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
    }

    void levelSettingsStoredPagesBeyondTheROM() {
        Editor e(StandardLevels(), [](TProgramFolder& f) {
            const TStageLayout& s = f.game.levels[0].stages[0];
            f.game.rom.Byte(s.patTable, 0x40);
            f.game.rom.Byte(s.patTable + 1, 0x25);
            f.dir.Write("game.nes", f.game.rom.bytes);
        });
        TfrmLevelSettings d(e.rom(), e.w.get());
        d.show();
        QCOMPARE(d.scrBGSetting->value(), 0x1F);
        QCOMPARE(d.scrSprSetting->value(), 0x1F);
        QCOMPARE(d.lblBGPatternTable->text(), QString("BG Pattern Table : (1F)"));
        QCOMPARE(d.lblSprPatternTable->text(), QString("Spr Pattern Table : (1F)"));
        QCOMPARE(d.imgBGPatternTable->Image(), Page(e.rom(), 0x1F, 0));
    }

    void levelSettingsCommandRunsTheDialog() {
        Editor e;
        bool seen = false;
        WhenModal<TfrmLevelSettings>(seen, [](TfrmLevelSettings* d) {
            d->scrBGSetting->setValue(0x10);
            d->cmdOK->click();
        });
        e.w->Action("actLevelSettings")->trigger();
        QVERIFY(seen);
        QCOMPARE(e.rom().CurrentStage->GetBGPatternTable(), uint8_t(0x10));
        QVERIFY(std::equal(e.rom().PatternBuffer.begin(), e.rom().PatternBuffer.end(), e.bytes().begin() + PageOffset(e.rom(), 0x10)));
        QCOMPARE(e.w->UndoStack().undoText(), QString("Level Settings"));

        WhenModal<TfrmLevelSettings>(seen, [](TfrmLevelSettings* d) {
            d->scrBGSetting->setValue(0x11);
            d->cmdCancel->click();
        });
        e.w->Action("actLevelSettings")->trigger();
        QVERIFY(seen);
        QCOMPARE(e.rom().CurrentStage->GetBGPatternTable(), uint8_t(0x10));
    }
};

QTEST_MAIN(TestLevelSettings)
#include "tst_level_settings.moc"

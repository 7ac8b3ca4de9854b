// Navigation, property, information and preferences windows, on a real main window.
#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include "app/frm_EditorMain.h"
#include "config/frm_Preferences.h"
#include "dialogs/VeskHexEdit.h"
#include "dialogs/frm_EnemyProperties.h"
#include "dialogs/frm_GoToLevel.h"
#include "dialogs/frm_LevelMap.h"
#include "dialogs/frm_SpecialObjProperties.h"
#include "tools/frm_About.h"
#include "tools/frm_DebugROMViewer.h"
#include "tools/frm_FileProperties.h"
#include "tools/frm_KeyboardLayouts.h"
#include "ui/ui_support.h"

namespace {

struct Editor : TOpenEditor {
    TScriptedPrompter prompt;
    explicit Editor(const std::vector<TLevelSpec>& levels = StandardLevels()) : TOpenEditor(levels) { Open(nullptr, false); }
};

// Set QB_SCREENSHOTS to a folder to keep a picture of each window.
void Keep(QWidget& w, const char* name) {
    const QByteArray dir = qgetenv("QB_SCREENSHOTS");
    if (dir.isEmpty()) return;
    w.show();
    QApplication::processEvents();
    w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

class TAnsweringPreferences : public TfrmPreferences {
public:
    using TfrmPreferences::TfrmPreferences;
    std::optional<QColor> colour;
    QString file;

protected:
    std::optional<QColor> PickColour(const QColor&) override { return colour; }
    QString PickOpenFile(const QString&, const QString&, const QString&) override { return file; }
    QString PickSaveFile(const QString&, const QString&, const QString&) override { return file; }
};

}  // namespace

class TestInfoDialogs : public QObject {
    Q_OBJECT
private slots:
    void levelMapSizeAndRoomUnderThePointer() {
        TLevelSpec l;
        TStageSpec s;
        s.width = 4;
        s.height = 3;
        for (int i = 0; i < 12; ++i) s.rooms.push_back(static_cast<uint8_t>(0x40 + i));
        l.stages = {s};
        Editor e({l});
        TfrmLevelMap map(e.rom(), e.w.get());
        Keep(map, "level-map");
        QCOMPARE(map.imgLevelMap->size(), QSize(128, 96));
        QCOMPARE(map.size(), QSize(128, 96 + 19));
        QCOMPARE(map.imgLevelMap->Image().size(), QSize(64, 48));
        QCOMPARE(map.StatusPanel->text(), QString("Room ID: None"));
        map.imgLevelMapMouseMove({Qt::NoButton, {}, {}, 100, 40});
        QCOMPARE(map.StatusPanel->text(), QString("Room ID: 47"));  // position 1 x 4 + 3
        map.imgLevelMapMouseMove({Qt::NoButton, {}, {}, 130, 40});
        QCOMPARE(map.StatusPanel->text(), QString("Room ID: None"));
    }

    void goToStageRowsAndOK() {
        Editor e;
        e.w->HandlePageKey(Qt::Key_PageUp, Qt::NoModifier);  // level 2, three stages
        e.w->GoToStage(1);
        TfrmGoToLevel go(e.rom(), e.w.get());
        Keep(go, "go-to-stage");
        QCOMPARE(go.windowTitle(), QString("Go To Stage...."));
        QStringList rows;
        for (int i = 0; i < go.lstLevels->count(); ++i) rows << go.lstLevels->item(i)->text();
        QCOMPARE(rows, QStringList({"2-1", "2-2", "2-3"}));
        QCOMPARE(go.lstLevels->currentRow(), 1);
        go.cmdOKClick();
        QCOMPARE(go.ChosenStage, 1);
        e.w->scrLevel->setValue(1);
        e.w->GoToStage(go.ChosenStage);  // the current stage: nothing changes, not even the screen
        QCOMPARE(e.rom().Screen, 1);
        e.w->GoToStage(2);
        QCOMPARE(e.rom().StageIndex, 2);
        QCOMPARE(e.rom().Screen, 0);
        QCOMPARE(e.w->StatusPanels[1]->text(), QString("Level: 2-3 Screen: 00 Screen ID: 01"));
    }

    void enemyFlagsShowAndAreWritten() {
        Editor e;
        TEnemy& enemy = e.rom().CurrentStage->Enemies->Items(0);
        enemy.Flags = 0xA3;
        TfrmEnemyProperties dialog(e.rom(), 0, 0, e.w.get());
        Keep(dialog, "enemy-properties");
        QCOMPARE(dialog.cbEnemyList->count(), 6);
        QCOMPARE(dialog.cbEnemyList->currentIndex(), 3);
        const bool expected[5] = {true, false, true, false, false};
        for (int i = 0; i < 5; ++i) QCOMPARE(dialog.chkUnknownBit[i]->isChecked(), expected[i]);
        // Slot k of page q is type q*8+k in the fixture: the default view lists page $10.
        QCOMPARE(dialog.cbEnemyList->itemText(2), QString::fromStdString(e.rom().EnemyNames[0x10 * 8 + 2]));
        dialog.cbEnemyList->setCurrentIndex(5);
        dialog.chkUnknownBit[0]->setChecked(false);
        dialog.chkUnknownBit[4]->setChecked(true);
        dialog.cmdOKClick();
        QCOMPARE(int(enemy.Flags), 0x20 | 0x08 | 5);

        // The Sprite Change 2 view lists the enemies of the stage's second sprite change page.
        TfrmEnemyProperties second(e.rom(), 0, 2, e.w.get());
        QCOMPARE(second.cbEnemyList->itemText(0), QString::fromStdString(e.rom().EnemyNames[0x12 * 8]));
        // Slots 6 and 7 select no row, and OK keeps them.
        enemy.Flags = 0x07;
        TfrmEnemyProperties high(e.rom(), 0, 0, e.w.get());
        QCOMPARE(high.cbEnemyList->currentIndex(), -1);
        QCOMPARE(int(high.ChosenFlags()), 7);
    }

    void specialObjectFieldsAreEdited() {
        Editor e;
        TSpecObj& obj = e.rom().CurrentStage->SpecObjs->Items(1);  // screen 1, kind 7, extra 5 6 7 8
        TfrmSpecialObjProperties dialog(e.rom(), 1, e.w.get());
        Keep(dialog, "special-object-properties");
        QCOMPARE(dialog.ComboBox1->currentText(), QString("01"));
        QCOMPARE(dialog.ComboBox2->currentIndex(), 7);
        QCOMPARE(dialog.VeskHexEdit[3]->text(), QString("08"));
        dialog.VeskHexEdit[2]->setText("");
        dialog.cmdOKClick();
        QCOMPARE(e.prompt.texts.last(), QString("Unknown 3 must be a hexadecimal value."));
        QCOMPARE(int(obj.Extra[2]), 7);  // nothing written
        dialog.VeskHexEdit[2]->setText("fe");
        dialog.ComboBox1->setCurrentText("04");
        dialog.ComboBox2->setCurrentIndex(9);
        dialog.cmdOKClick();
        QCOMPARE(int(obj.Extra[2]), 0xFE);
        QCOMPARE(int(obj.Screen), 4);
        QCOMPARE(int(obj.Kind), 9);
    }

    void propertyEditsAreOneUndoStep() {
        Editor e;
        const TObjectState before = e.rom().CaptureObjects();
        e.w->BeginEdit("Edit Enemy");
        e.rom().CurrentStage->Enemies->Items(0).Flags = 0x55;
        e.w->EndEdit();
        QVERIFY(e.rom().Modified());
        QCOMPARE(e.w->Action("actUndo")->text(), QString("Undo Edit Enemy"));
        e.w->UndoStack().undo();
        QCOMPARE(e.rom().CaptureObjects(), before);
        QVERIFY(!e.rom().Modified());
    }

    void filePropertiesAndHeaderRestore() {
        Editor e;
        TfrmFileProperties props(*e.w, e.w.get());
        Keep(props, "file-properties");
        QCOMPARE(props.lblMemoryMapper->text(), QString("Memory Mapper: 1 (Nintendo MMC1)"));
        QCOMPARE(props.lblPRGCount->text(), QString("PRG Count: 8"));
        QCOMPARE(props.lblCHRCount->text(), QString("CHR Count: 16"));
        QCOMPARE(props.lblFileSize->text(), QString("File Size: 262160 bytes"));
        QCOMPARE(props.txtFilename->text(), e.folder.Rom());

        // The fixture's data file asks for vertical mirroring (Vertical missing: 1): byte 6 changes.
        props.cmdRestoreHeaderToDefaultClick();
        QCOMPARE(e.prompt.texts.last(), QString("Header restored."));
        QVERIFY(e.rom().Modified());
        e.w->SaveROMCommand();
        props.cmdRestoreHeaderToDefaultClick();  // already the default: no byte changes
        QVERIFY(!e.rom().Modified());

        // A DiskDude tag shows until the header is restored.
        e.rom().Image().BeginRecording();
        for (int i = 0; i < 9; ++i) e.rom().Image().WriteByte(7 + i, static_cast<uint8_t>("DiskDude!"[i]));
        e.rom().Image().EndRecording();
        props.FormShow();
        QVERIFY(props.lblMemoryMapper->text().endsWith(" (Diskdude Tag Present)"));
        props.cmdRestoreHeaderToDefaultClick();
        QVERIFY(!props.lblMemoryMapper->text().contains("Diskdude"));
    }

    void debugViewerRowsAndCaption() {
        Editor e;
        TfrmDebugROMViewer viewer(e.rom(), e.w.get());
        Keep(viewer, "debug-rom-viewer");
        QCOMPARE(viewer.DrawGrid->model()->rowCount(), 8193);
        QCOMPARE(TfrmDebugROMViewer::RowCount(262160), 8193);
        QAbstractItemModel* m = viewer.DrawGrid->model();
        QCOMPARE(m->data(m->index(8192, 17)).toString(), QString::fromStdString(HexByte(e.rom().Image().ReadByte(262159))));
        QVERIFY(m->data(m->index(8192, 18)).toString().isEmpty());
        QCOMPARE(m->data(m->index(1, 0)).toString(), QString("00000020"));
        viewer.DrawGrid->setCurrentIndex(m->index(1, 2));
        QCOMPARE(viewer.windowTitle(), QString("Debug ROM Viewer O:00000020"));
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(!(m->flags(m->index(0, 34)) & Qt::ItemIsSelectable));
        // Hidden from the menu in this build, so the viewer has no way in.
        QVERIFY(!e.w->Action("actDebugROMViewer")->isVisible());
    }

    void aboutAndKeyboardLayout() {
        TScriptedPrompter prompt;
        TfrmAbout about(nullptr);
        Keep(about, "about");
        QCOMPARE(about.windowTitle(), QString("About Quillborn v0.1 ~ The TMNT Editor"));
        QVERIFY(!about.lblHomepage->toolTip().isEmpty());
        TfrmKeyboardLayout keys(nullptr);
        Keep(keys, "keyboard-layout");
        const QStringList lines = keys.mmoKeyboardLayout->toPlainText().split('\n');
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines.first(), QString("Ctrl + Alt + P - Preferences"));
        QCOMPARE(lines.last(), QString("Page Down - Go to the previous level"));
    }

    void preferencesWriteEverySettingBackOnOK() {
        Editor e;
        TEditorConfig& s = e.w->Settings();
        std::filesystem::create_directories(e.folder.dir.File("Data/Palettes"));
        e.folder.dir.Write("Data/Palettes/a.pal", std::string(192, '\x10'));
        e.folder.dir.Write("Data/Palettes/b.pal", std::string(192, '\x20'));
        s.SetLeftTextColour(0x80123456);  // alpha below 255 comes back as 255
        TAnsweringPreferences p(s, e.folder.Folder(), true, e.w.get());
        Keep(p, "preferences");
        QVERIFY(!p.cbDataFile->isEnabled());  // a ROM is open
        QCOMPARE(p.cbDataFile->currentText(), QString("game.ini"));
        QCOMPARE(p.cbPaletteFile->currentText(), QString("a.pal"));  // the setting's file is missing: the first
        p.colour = QColor(1, 2, 3);
        p.BrowseColour(2);
        p.chkBackupFiles->setChecked(true);
        p.chkAutoCheck->setChecked(false);
        p.chkDisableDeleteEnemyPrompt->setChecked(true);
        p.chkAutoGotoObjEditing->setChecked(false);
        p.rdgWhenIncorrectMapper->button(2)->setChecked(true);
        p.chkShowLeftMidText->setChecked(false);
        p.chkShowGridlinesByDefault->setChecked(false);
        p.chkIconTransparency->setChecked(true);
        p.txtIconTransparency->setValue(77);
        p.txtEmulatorPath->setText("/opt/emu/run");
        p.rdgEmuFileSettings->button(2)->setChecked(true);
        p.chkDisplayEmulatorSaveWarning->setChecked(false);
        p.txtOriginalROMFilename->setText("/roms/clean.nes");
        p.file = "/patches/out";
        p.cmdBrowseIPSSaveAsClick();
        p.cbPaletteFile->setCurrentText("b.pal");
        p.cmdOKClick();
        QCOMPARE(s.LeftTextColour(), 0xFF123456u);
        QCOMPARE(s.GridlineColour(), 0xFF010203u);
        QCOMPARE(s.DataFile(), std::string("game.ini"));  // greyed out, still written back
        QCOMPARE(s.Palette(), std::string("b.pal"));
        QVERIFY(s.Backup());
        QVERIFY(!s.AutoCheck());
        QVERIFY(s.DisableEnemyDeletePrompt());
        QVERIFY(!s.AutoObjMode());
        QCOMPARE(int(s.MapperWarnings()), 2);
        QVERIFY(!s.DispMidLeftText());
        QVERIFY(!s.Gridlines());
        QVERIFY(s.IconTrans());
        QCOMPARE(int(s.IconOpaque()), 77);
        QCOMPARE(s.EmulatorPath(), std::string("/opt/emu/run"));
        QCOMPARE(int(s.EmuFileSettings()), 2);
        QVERIFY(!s.EmuDisplaySaveWarning());
        QCOMPARE(s.IPSOriginal(), std::string("/roms/clean.nes"));
        QCOMPARE(s.IPSOutput(), std::string("/patches/out.ips"));
        QVERIFY(s.Modified());

        // The window saves and applies: the new palette file colours the stage.
        e.w->AfterPreferences();
        QVERIFY(!s.Modified());
        QCOMPARE(e.rom().GetColor(5), 0x202020u);
    }

    void restoreDefaultsThenCancelKeepsTheDefaults() {
        Editor e;
        TEditorConfig& s = e.w->Settings();
        s.SetMapperWarnings(0);
        s.SetGridlineColour(0xFF000001);
        s.SaveSettings();
        TAnsweringPreferences p(s, e.folder.Folder(), false, e.w.get());
        QVERIFY(p.cbDataFile->isEnabled());
        p.cmdRestoreDefaultsClick();
        QCOMPARE(p.rdgWhenIncorrectMapper->checkedId(), 1);
        p.reject();
        TEditorConfig reread(s.SettingsFileName(), e.folder.Folder().toStdString());
        QCOMPARE(int(reread.MapperWarnings()), 1);
        QCOMPARE(reread.GridlineColour(), 0xFFFFFFFFu);
        QCOMPARE(reread.DataFile(), std::string("game.ini"));  // not a default the button resets
    }

    void aDataFileNotInTheListShowsNoSelection() {
        Editor e;
        TEditorConfig& s = e.w->Settings();
        s.SetDataFile("Elsewhere.ini");
        TAnsweringPreferences p(s, e.folder.Folder(), false, e.w.get());
        QCOMPARE(p.cbDataFile->currentIndex(), -1);
        p.cmdOKClick();
        QCOMPARE(s.DataFile(), std::string());
    }

    void everyCommandHasItsWindow() {
        Editor e;
        for (const char* name : {"actPreferences", "actGoToLevel", "actLevelMap", "actProperties", "actKeyboardLayout", "actAbout"})
            QVERIFY2(e.w->Action(name)->isEnabled(), name);
    }
};

QTEST_MAIN(TestInfoDialogs)
#include "tst_info_dialogs.moc"

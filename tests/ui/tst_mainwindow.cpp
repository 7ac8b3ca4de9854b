// The main window driven as a user drives it: commands, mouse gestures on the views, keys.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QMenuBar>
#include <QtTest>
#include <filesystem>

#include "rom/Errors.h"

#include "app/Application.h"
#include "app/frm_EditorMain.h"
#include "ui/ui_support.h"

namespace {

// Cell (c, r) of the stage view, in view pixels (the picture is shown at scale 2).
QPoint Cell(int c, int r) { return QPoint(64 * c + 10, 64 * r + 10); }

struct Editor : TOpenEditor {
    TScriptedPrompter prompt;
    explicit Editor(const std::vector<TLevelSpec>& levels = StandardLevels(), int totalEnemies = 100) : TOpenEditor(levels, totalEnemies) {
        Open();
    }
    void Click(int c, int r, Qt::MouseButton b, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(w->imgScreen, b, Cell(c, r).x(), Cell(c, r).y(), mods);
        Release(w->imgScreen, b, Cell(c, r).x(), Cell(c, r).y(), mods);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QVERIFY(w->HandlePageKey(key, mods)); }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithoutROM() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        TfrmEditorMain w(folder.Folder());
        QCOMPARE(w.windowTitle(), QString("Quillborn v0.1 ~ The TMNT Editor"));
        QVERIFY(!w.Model());
        QVERIFY(!w.Action("actSaveROM")->isEnabled());
        QVERIFY(w.Action("actOpenROM")->isEnabled());
        QCOMPARE(w.StatusPanels[0]->text(), QString("ROM not loaded."));
        QVERIFY(w.imgScreen->isHidden());
        // The menus in order, and the debug viewer's item hidden.
        QStringList menus;
        for (QAction* a : w.menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
        QVERIFY(!w.Action("actDebugROMViewer")->isVisible());
        QCOMPARE(w.Action("actGoToLevel")->shortcut(), QKeySequence("Ctrl+J"));
        QCOMPARE(w.Action("actPaletteEditor")->toolTip(), QString("Activates the palette editing dialog"));
    }

    void settingsThatCannotBeSavedAreReported() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        std::filesystem::remove(folder.dir.File("options.ini"));
        std::filesystem::create_directories(folder.dir.File("options.ini"));  // a folder where the file should be
        TfrmEditorMain w(folder.Folder());
        QVERIFY(prompt.texts.size() == 1 && prompt.texts[0].startsWith("The settings cannot be saved to"));
        QCOMPARE(int(w.Settings().MapperWarnings()), 1);  // the settings in memory are the defaults, and valid
    }

    void opensAndShowsTheFirstStage() {
        Editor e;
        QVERIFY(e.w->Model());
        QCOMPARE(e.w->windowTitle(), QString("Quillborn v0.1 ~ The TMNT Editor - [game.nes]"));
        QCOMPARE(e.w->StatusPanels[0]->text(), QString("Map Editing Mode"));
        QCOMPARE(e.w->StatusPanels[1]->text(), QString("Level: 1-1 Screen: 00 Screen ID: 00"));
        QCOMPARE(e.w->StatusPanels[2]->text(), QString("game.ini"));
        QCOMPARE(e.w->imgScreen->size(), QSize(512, 384));
        QCOMPARE(e.w->scrLevel->maximum(), 2);
        QCOMPARE(e.w->scrLevelV->maximum(), 1);
        QCOMPARE(e.w->scrTiles->maximum(), 0x40 - 5);
        QCOMPARE(e.w->imgScreen->Image().size(), QSize(256, 256));
        QVERIFY(e.w->Action("actSaveROM")->isEnabled());
        // The recent files list the ROM, with the submenu shown.
        QCOMPARE(QString::fromStdString(e.w->Settings().RecentFile(0)), e.folder.Rom());
        QVERIFY(e.w->findChild<QMenu*>("mnuRecent")->menuAction()->isVisible());
    }

    void silentReturnsAndMapperReactions() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        TfrmEditorMain w(folder.Folder());
        w.OpenROM(folder.Folder() + "/missing.nes", folder.DataFile(), false);
        w.OpenROM(folder.Rom(), folder.Folder() + "/missing.ini", false);
        QVERIFY(!w.Model());
        QVERIFY(prompt.texts.isEmpty());

        // A header that does not match the data file.
        TRomBytes other = folder.game.rom;
        other.Byte(4, 4);
        const QString bad = QString::fromStdString(folder.dir.Write("bad.nes", other.bytes));
        w.Settings().SetMapperWarnings(0);
        w.OpenROM(bad, folder.DataFile(), false);
        QVERIFY(!w.Model());
        QCOMPARE(prompt.texts.last(), QString("This is not a Teenage Mutant Ninja Turtles ROM."));
        QCOMPARE(QString::fromStdString(w.Settings().RecentFile(0)), bad);  // still the newest recent file

        w.Settings().SetMapperWarnings(1);
        prompt.answers = {TAnswer::No};
        w.OpenROM(bad, folder.DataFile(), false);
        QVERIFY(!w.Model());
        QVERIFY(prompt.texts.last().startsWith("The memory mapper of this ROM does not match"));
        prompt.answers = {TAnswer::Yes};
        w.OpenROM(bad, folder.DataFile(), false);
        QVERIFY(w.Model());

        w.Settings().SetMapperWarnings(2);
        const int shown = prompt.texts.size();
        w.OpenROM(bad, folder.DataFile(), false);
        QVERIFY(w.Model());
        QCOMPARE(prompt.texts.size(), shown);
    }

    void detectionPicksTheDataFile() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        folder.game.ini.WriteString("AutoCheck", "Location", "0");
        folder.game.ini.WriteString("AutoCheck", "Auto1", "4E");
        folder.game.ini.WriteString("AutoCheck", "Auto2", "45");
        folder.game.ini.WriteString("AutoCheck", "Auto3", "53");
        folder.game.ini.WriteString("AutoCheck", "Auto4", "1A");
        folder.dir.Write("Data/game.ini", folder.game.ini.ToText());
        TfrmEditorMain w(folder.Folder());
        w.OpenROM(folder.Rom(), folder.Folder() + "/Data/nothing.ini", true);
        QVERIFY(w.Model());
        QCOMPARE(w.StatusPanels[2]->text(), QString("game.ini"));
    }

    void droppedFilesOpenTheFirst() {
        Editor e;
        e.w->OpenROM(e.folder.Rom(), e.folder.DataFile(), false);
        const QString second = QString::fromStdString(e.folder.dir.Write("second.nes", e.folder.game.rom.bytes));
        QVERIFY(!e.w->DropFiles({}));
        QVERIFY(e.w->DropFiles({QUrl::fromLocalFile(second), QUrl::fromLocalFile(e.folder.Rom())}));
        QCOMPARE(QString::fromStdString(e.rom().ROMFileName()), second);
    }

    void paintingSavingAndTheTitle() {
        Editor e;
        e.w->LeftBlock = 0x11;
        e.w->MiddleBlock = 0x22;
        e.Click(1, 1, Qt::LeftButton);
        QCOMPARE(e.rom().GetBlock(1, 1), uint8_t(0x11));
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        e.Click(2, 1, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(e.rom().GetBlock(2, 1), uint8_t(0x22));
        e.Click(3, 1, Qt::MiddleButton);
        QCOMPARE(e.rom().GetBlock(3, 1), uint8_t(0x22));
        const uint8_t under = e.rom().GetBlock(4, 4);
        e.Click(4, 4, Qt::MiddleButton, Qt::ShiftModifier);  // picks the middle block, paints nothing
        QCOMPARE(e.w->MiddleBlock, under);
        e.Click(4, 4, Qt::RightButton);
        QCOMPARE(e.w->LeftBlock, under);

        e.w->SaveROMCommand();
        QCOMPARE(e.prompt.texts.last(), QString("Changes saved."));
        QVERIFY(!e.w->windowTitle().endsWith(" *"));
        TiNESImage saved(e.folder.Rom().toStdString());
        QCOMPARE(saved.ReadByte(e.rom().RoomBase() + 8 + 1), uint8_t(0x11));
    }

    void dragPaintsEveryCellAsOneStep() {
        Editor e;
        e.w->LeftBlock = 0x33;
        Press(e.w->imgScreen, Qt::LeftButton, Cell(0, 2).x(), Cell(0, 2).y());
        for (int c = 1; c < 8; ++c) Move(e.w->imgScreen, Qt::LeftButton, Cell(c, 2).x(), Cell(c, 2).y());
        Move(e.w->imgScreen, Qt::LeftButton, 600, 100);  // outside: nothing, no error
        Release(e.w->imgScreen, Qt::LeftButton, 600, 100);
        for (int c = 0; c < 8; ++c) QCOMPARE(e.rom().GetBlock(c, 2), uint8_t(0x33));
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->Action("actUndo")->text(), QString("Undo Paint Blocks"));
        e.w->UndoStack().undo();
        QVERIFY(e.rom().GetBlock(0, 2) != 0x33 || e.rom().GetBlock(7, 2) != 0x33);
        QVERIFY(!e.rom().Modified());
        QVERIFY(!e.w->windowTitle().endsWith(" *"));
        e.w->UndoStack().redo();
        for (int c = 0; c < 8; ++c) QCOMPARE(e.rom().GetBlock(c, 2), uint8_t(0x33));
    }

    void pickerScrollRules() {
        Editor e;  // picker range 0..59
        // Above the picker's maximum: the choice is kept, the picker goes only to its maximum.
        e.rom().SetBlock(0, 0, 0x50);
        e.Click(0, 0, Qt::RightButton);
        QCOMPARE(e.w->LeftBlock, uint8_t(0x50));
        QCOMPARE(e.w->scrTiles->value(), 59);
        // Shown in slots 1..5 (positions first+1..first+4 strictly inside): the picker stays.
        e.w->scrTiles->setValue(10);
        e.rom().SetBlock(0, 0, 12);
        e.Click(0, 0, Qt::RightButton);
        QCOMPARE(e.w->scrTiles->value(), 10);
        // The sixth slot: the block comes to the top.
        e.rom().SetBlock(0, 0, 15);
        e.Click(0, 0, Qt::RightButton);
        QCOMPARE(e.w->scrTiles->value(), 15);

        // Picker presses choose blocks: left the Left block, Shift+left and middle the Middle block.
        e.w->scrTiles->setValue(20);
        Press(e.w->imgTiles, Qt::LeftButton, 10, 64 * 2 + 5);
        QCOMPARE(e.w->LeftBlock, uint8_t(22));
        Press(e.w->imgTiles, Qt::MiddleButton, 10, 64 * 3 + 5);
        QCOMPARE(e.w->MiddleBlock, uint8_t(23));
        Press(e.w->imgTiles, Qt::LeftButton, 10, 64 * 5 + 5, Qt::ShiftModifier);
        QCOMPARE(e.w->MiddleBlock, uint8_t(25));
    }

    void pickerEditsBlocksWhileATileIsChosen() {
        Editor e;
        e.w->TSATile = 0x7E;  // as the TSA editor sets it
        e.w->scrTiles->setValue(4);
        const TOffset tsa = e.rom().StageTSA();
        const uint8_t leftBefore = e.w->LeftBlock;
        Press(e.w->imgTiles, Qt::LeftButton, 3 * 16 + 2, 64 + 2 * 16 + 3);  // block 5, tile column 3, tile row 2
        QCOMPARE(e.rom().Image().ReadByte(tsa + 16 * 5 + 4 * 2 + 3), uint8_t(0x7E));
        QCOMPARE(e.w->LeftBlock, leftBefore);
        const uint8_t attr = e.rom().Image().ReadByte(e.rom().StageAttr() + 5);
        Press(e.w->imgTiles, Qt::RightButton, 40, 64 + 40);  // bottom right quarter
        QCOMPARE(int(e.rom().Image().ReadByte(e.rom().StageAttr() + 5) >> 6), ((attr >> 6) + 1) % 4);
        QCOMPARE(e.w->UndoStack().count(), 2);
        e.w->UndoStack().undo();
        e.w->UndoStack().undo();
        QCOMPARE(e.rom().Image().ReadByte(e.rom().StageAttr() + 5), attr);
    }

    void objectDraggingSnapsAndHitOrder() {
        Editor e;
        e.w->SetObjectEditingMode();
        QCOMPARE(e.w->StatusPanels[0]->text(), QString("Object Editing Mode"));
        TEnemy& enemy = e.rom().CurrentStage->Enemies->Items(0);  // screen 0 at (0x20, 0x40)
        Press(e.w->imgScreen, Qt::LeftButton, 2 * 0x24, 2 * 0x44);
        QCOMPARE(int(e.w->DragKind), int(TDragKind::Enemy));
        Move(e.w->imgScreen, Qt::LeftButton, 2 * 0x55, 2 * 0x33);
        QCOMPARE(int(enemy.X()), 0x50);
        QCOMPARE(int(enemy.Y()), 0x32);
        Move(e.w->imgScreen, Qt::LeftButton, 2 * 0x55, 2 * 0x33, Qt::ControlModifier);
        QCOMPARE(int(enemy.X()), 0x55);
        QCOMPARE(int(enemy.Y()), 0x33);
        Release(e.w->imgScreen, Qt::LeftButton, 2 * 0x55, 2 * 0x33);
        QCOMPARE(e.w->DragIndex, -1);
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->Action("actUndo")->text(), QString("Undo Move Enemy"));

        // An enemy over a special object is hit first.
        TSpecObj& obj = e.rom().CurrentStage->SpecObjs->Items(0);  // (0x40, 0x50)
        enemy.SetX(obj.X());
        enemy.SetY(obj.Y());
        Press(e.w->imgScreen, Qt::LeftButton, 2 * obj.X() + 4, 2 * obj.Y() + 4);
        QCOMPARE(int(e.w->DragKind), int(TDragKind::Enemy));
        Release(e.w->imgScreen, Qt::LeftButton, 2 * obj.X() + 4, 2 * obj.Y() + 4);
        enemy.SetX(0xC0);
        Press(e.w->imgScreen, Qt::LeftButton, 2 * obj.X() + 4, 2 * obj.Y() + 4);
        QCOMPARE(int(e.w->DragKind), int(TDragKind::SpecObj));
        Move(e.w->imgScreen, Qt::LeftButton, 2 * 0x71, 2 * 0x61);
        Release(e.w->imgScreen, Qt::LeftButton, 2 * 0x71, 2 * 0x61);
        QCOMPARE(int(obj.X()), 0x70);
        QCOMPARE(int(obj.Y()), 0x60);
        e.w->UndoStack().undo();
        QCOMPARE(int(e.rom().CurrentStage->SpecObjs->Items(0).X()), 0x40);
    }

    void deletingAndAddingEnemies() {
        Editor e(StandardLevels(), 5);
        e.w->SetObjectEditingMode();
        const int before = e.rom().CurrentStage->Enemies->Count();
        e.prompt.answers = {TAnswer::No};
        Press(e.w->imgScreen, Qt::RightButton, 2 * 0x24, 2 * 0x44, Qt::ControlModifier);
        QCOMPARE(e.prompt.texts.last(), QString("Are you sure that you wish to delete this enemy?"));
        QCOMPARE(e.rom().CurrentStage->Enemies->Count(), before);
        e.prompt.answers = {TAnswer::Yes};
        Press(e.w->imgScreen, Qt::RightButton, 2 * 0x24, 2 * 0x44, Qt::ControlModifier);
        QCOMPARE(e.rom().CurrentStage->Enemies->Count(), before - 1);
        QCOMPARE(e.w->DragIndex, -1);

        e.w->SetMapEditingMode();
        e.w->Action("actAddEnemy")->trigger();  // back to 5 of 5
        QCOMPARE(e.rom().CurrentStage->Enemies->Count(), before);
        QCOMPARE(int(e.w->EditMode), int(TEditMode::Object));  // AutoObjMode is on by default
        e.w->Action("actAddEnemy")->trigger();
        QVERIFY(e.prompt.texts.last().startsWith("You have reached the maximum allowed amount of enemies in the ROM."));
        QCOMPARE(e.w->UndoStack().count(), 2);
        e.w->UndoStack().undo();
        e.w->UndoStack().undo();
        QCOMPARE(e.rom().CurrentStage->Enemies->Count(), before);
        QVERIFY(e.rom().CurrentStage->Enemies->Items(0).X() == 0x20);
    }

    void glitchedStagesRefuseEditing() {
        Editor e;
        e.Key(Qt::Key_PageUp, Qt::ShiftModifier);  // stage 2 of level 1 is glitched
        QCOMPARE(e.rom().StageIndex, 1);
        const uint8_t before = e.rom().GetBlock(0, 0);
        e.w->LeftBlock = before ^ 1;
        e.Click(0, 0, Qt::LeftButton);
        QCOMPARE(e.prompt.texts.last(), QString("Quillborn currently does not have editing support for this stage."));
        QCOMPARE(e.rom().GetBlock(0, 0), before);
        // Its own MaxTiles ($20) sets the picker's range.
        QCOMPARE(e.w->scrTiles->maximum(), 0x20 - 5);
    }

    void pageKeysWrapAndTheWorldMapCycle() {
        Editor e;
        e.Key(Qt::Key_PageDown);
        QCOMPARE(e.rom().LevelIndex, 1);  // the first wraps to the last
        e.Key(Qt::Key_PageUp);
        QCOMPARE(e.rom().LevelIndex, 0);  // the last wraps to the first

        // Level 1 has a world map and two stages: stage 1 -> world -> stage 2 going down.
        e.Key(Qt::Key_PageDown, Qt::ShiftModifier);
        QVERIFY(e.w->WorldView);
        QCOMPARE(e.w->imgScreen->height(), 512);
        QCOMPARE(e.w->StatusPanels[1]->text(), QString("Level: 1"));
        QCOMPARE(e.rom().CurrentLevel->WorldScreen, 0);
        e.Key(Qt::Key_PageDown, Qt::ShiftModifier);
        QVERIFY(!e.w->WorldView);
        QCOMPARE(e.rom().StageIndex, 1);
        QCOMPARE(e.w->imgScreen->height(), 384);
        e.Key(Qt::Key_PageUp, Qt::ShiftModifier);  // from the last stage up: the world map
        QVERIFY(e.w->WorldView);
        e.Key(Qt::Key_PageUp, Qt::ShiftModifier);  // and on to the first stage
        QVERIFY(!e.w->WorldView);
        QCOMPARE(e.rom().StageIndex, 0);

        // World scroll bars pick world screens; presses there edit nothing.
        e.Key(Qt::Key_PageDown, Qt::ShiftModifier);
        e.w->scrLevel->setValue(1);
        e.w->scrLevelV->setValue(1);
        QCOMPARE(e.rom().CurrentLevel->WorldScreen, 3);
        e.Click(0, 0, Qt::LeftButton);
        QVERIFY(!e.rom().Modified());

        // Level 2 has no world map: the edges do nothing.
        e.Key(Qt::Key_PageUp);
        QVERIFY(!e.w->WorldView);
        e.Key(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(e.rom().StageIndex, 0);
        QVERIFY(!e.w->WorldView);
    }

    void undoAfterALevelChangeShowsTheEdit() {
        Editor e;
        e.w->scrLevel->setValue(2);  // screen 2
        e.w->LeftBlock = 0x3C;
        e.Click(5, 3, Qt::LeftButton);
        e.Key(Qt::Key_PageUp);
        QCOMPARE(e.rom().LevelIndex, 1);
        e.w->UndoStack().undo();
        QCOMPARE(e.rom().LevelIndex, 0);
        QCOMPARE(e.rom().Screen, 2);
        QVERIFY(e.rom().GetBlock(5, 3) != 0x3C);
        QCOMPARE(e.w->StatusPanels[1]->text(), QString("Level: 1-1 Screen: 02 Screen ID: 02"));
    }

    void closingAsksAndKeepsOnCancel() {
        Editor e;
        e.w->LeftBlock = 0x21;
        e.Click(0, 0, Qt::LeftButton);
        e.prompt.answers = {TAnswer::Cancel};
        QVERIFY(!e.w->CloseROM(false));
        QVERIFY(e.w->Model());
        QCOMPARE(e.prompt.texts.last(), QString("This ROM has some changes. Do you wish to save?"));

        // Opening another ROM asks the same first; Cancel keeps the open one.
        e.prompt.answers = {TAnswer::Cancel};
        e.w->OpenROM(e.folder.Rom(), e.folder.DataFile(), false);
        QVERIFY(e.w->Model()->Modified());

        e.prompt.answers = {TAnswer::No};
        QVERIFY(e.w->CloseROM(false));
        QVERIFY(!e.w->Model());
        QVERIFY(e.w->imgScreen->isHidden());
        TiNESImage onDisk(e.folder.Rom().toStdString());
        QCOMPARE(onDisk.Data(), e.folder.game.rom.bytes);

        // Yes saves, and a save that fails keeps the ROM open.
        e.w->OpenROM(e.folder.Rom(), e.folder.DataFile(), false);
        e.Click(0, 0, Qt::LeftButton);
        e.prompt.answers = {TAnswer::Yes};
        QVERIFY(e.w->CloseROM(false));
        QCOMPARE(TiNESImage(e.folder.Rom().toStdString()).ReadByte(e.folder.game.levels[0].roomBase), uint8_t(0x21));
    }

    void errorsInEventHandlersAreReportedAndTheEditorGoesOn() {
        Editor e;
        // A level without stages cannot be selected: the key's handler fails, the report shows it.
        struct Thrower : QObject {
            bool event(QEvent* ev) override {
                if (ev->type() == QEvent::User) throw EditorError("Level 3 has no stages.");
                return QObject::event(ev);
            }
        } thrower;
        QEvent ev(QEvent::User);
        QApplication::sendEvent(&thrower, &ev);
        QCOMPARE(e.prompt.texts.last(), QString("Level 3 has no stages."));
        e.w->LeftBlock = 0x3F;
        e.Click(0, 0, Qt::LeftButton);  // and the editor goes on
        QVERIFY(e.rom().Modified());
    }

    void aSaveThatFailsOnClosingKeepsTheROMOpen() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        std::filesystem::create_directories(folder.dir.File("roms"));
        const QString rom = QString::fromStdString(folder.dir.Write("roms/game.nes", folder.game.rom.bytes));
        TfrmEditorMain w(folder.Folder());
        w.OpenROM(rom, folder.DataFile(), false);
        w.LeftBlock = 0x2A;
        Press(w.imgScreen, Qt::LeftButton, 10, 10);
        Release(w.imgScreen, Qt::LeftButton, 10, 10);
        std::filesystem::remove_all(folder.dir.File("roms"));  // nowhere to save to
        prompt.answers = {TAnswer::Yes};
        QVERIFY(!w.CloseROM(true));
        QVERIFY(w.Model());
        QCOMPARE(prompt.texts.last(), QString("ROM cannot be saved. Another program is probably using the file."));
        QVERIFY(w.Model()->Modified());
    }

    void viewMenuAndGridlines() {
        Editor e;
        QCOMPARE(int(e.w->ShowMask()), 2);  // Enemies clear, Special Objects set at start
        e.w->findChild<QAction*>("mnuEnemies")->trigger();
        QCOMPARE(int(e.w->ShowMask()), 3);
        e.w->findChild<QAction*>("mnuSpriteChange3")->trigger();
        QCOMPARE(e.w->EnemyView, 3);
        const bool grid = e.w->Settings().ShowGridlines();
        e.w->Action("actEnableGridlines")->trigger();
        QCOMPARE(e.w->Settings().ShowGridlines(), !grid);
        QCOMPARE(e.w->Action("actEnableGridlines")->isChecked(), !grid);
        QCOMPARE(e.w->Settings().Gridlines(), true);  // the stored default is not touched
    }
};

int main(int argc, char** argv) {
    TQuillbornApp app(argc, argv);  // with the general error report, as the editor runs
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainwindow.moc"

// The TSA editor, the tile editor and the palette editor, driven against a real main window.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/frm_EditorMain.h"
#include "dialogs/frm_PaletteEditor.h"
#include "dialogs/frm_TSAEditor.h"
#include "dialogs/frm_TileEditor.h"
#include "ui/ui_support.h"

namespace {

struct Editor : TOpenEditor {
    TScriptedPrompter prompt;
    explicit Editor(const std::vector<TLevelSpec>& levels = StandardLevels()) : TOpenEditor(levels) { Open(); }
    // For tests that change the ROM file before it opens.
    Editor(const std::vector<TLevelSpec>& levels, const std::function<void(TProgramFolder&)>& prepare) : TOpenEditor(levels) {
        Open(prepare);
    }
    TfrmTSA* OpenTSA() {
        w->Action("actTSAEditor")->trigger();
        return qobject_cast<TfrmTSA*>(w->TSAEditor.data());
    }
};

QRgb Rgb(QRgb c) { return c & 0xFFFFFF; }

QImage Sheet(TROMData& rom, int sub, bool world, int tile) {
    TBitmap32 b(128, 128);
    rom.DrawPatternTable(b, sub, world);
    if (tile >= 0) b.FrameRect(8 * (tile % 16), 8 * (tile / 16), 8 * (tile % 16) + 8, 8 * (tile / 16) + 8, clRed32);
    return ToImage(b);
}

// Runs f on the modal dialog of type D as soon as the nested loop of exec() starts.
template <class D>
void WhenModal(bool& seen, std::function<void(D*)> f) {
    seen = false;
    QTimer::singleShot(0, [&seen, f] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) {
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) other->reject();
            return;
        }
        seen = true;
        f(d);
        // A dialog that refused to close would hold the test in its loop: the test sees it as cancelled.
        if (d->isVisible()) d->reject();
    });
}

QString HexPair(int v) { return QString("%1").arg(v & 0xFF, 2, 16, QChar('0')).toUpper(); }

// The stage's working palette as palette n of the image holds it.
TPaletteBuffer PaletteOf(TROMData& rom, int n) {
    TPaletteBuffer p{};
    const TOffset record = rom.PaletteRecord(static_cast<uint8_t>(n));
    for (int s = 0; s < 4; ++s) {
        p[static_cast<size_t>(4 * s)] = 0x0F;
        for (int e = 1; e <= 3; ++e) p[static_cast<size_t>(4 * s + e)] = rom.Image().ReadByte(record + 3 * s + e - 1);
    }
    return p;
}

// The centre of tile t's square in the TSA sheet (view pixels).
QPoint SheetPoint(int t) { return QPoint(16 * (t % 16) + 7, 16 * (t / 16) + 9); }

TOffset PageOffset(const TROMData& rom, int page) { return 16 + rom.PRGCount() * 0x4000 + page * 0x1000; }

}  // namespace

class TestGraphicsDialogs : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ TSA editor

    void tsaCommandOpensOneToolWindow() {
        Editor e;
        QCOMPARE(e.w->TSATile, -1);
        TfrmTSA* tsa = e.OpenTSA();
        QVERIFY(tsa);
        QCOMPARE(tsa->windowTitle(), QString("TSA Editor"));
        QCOMPARE(tsa->size(), QSize(256, 275));
        QCOMPARE(tsa->pos(), QPoint(626, 380));
        QVERIFY(tsa->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(tsa->windowType(), Qt::Tool);
        QVERIFY(tsa->isVisible());
        QCOMPARE(tsa->imgTSA->geometry(), QRect(0, 0, 256, 256));
        QCOMPARE(tsa->imgTSA->Scale(), 2);
        QCOMPARE(tsa->StatusPanels[0]->width(), 139);
        QCOMPARE(tsa->StatusPanels[1]->width(), 50);
        QCOMPARE(e.w->TSATile, 0);
        // The status texts wait for the mouse.
        QCOMPARE(tsa->StatusPanels[0]->text(), QString());
        QCOMPARE(tsa->StatusPanels[1]->text(), QString());
        QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), e.w->Settings().LastPalTilEd(), false, 0));

        // A second command brings up the same window and keeps its choice.
        const QPoint p = SheetPoint(0x21);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y());
        QCOMPARE(e.OpenTSA(), tsa);
        QCOMPARE(e.w->findChildren<TfrmTSA*>().size(), 1);
        QCOMPARE(e.w->TSATile, 0x21);
        QVERIFY(!e.rom().Modified());
    }

    void tsaChoosingFramesTheTileAndFeedsThePicker() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        const QPoint p = SheetPoint(0x3A);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y());
        QCOMPARE(e.w->TSATile, 0x3A);
        QCOMPARE(tsa->FrameX, 80);
        QCOMPARE(tsa->FrameY, 24);
        const QImage sheet = tsa->imgTSA->Image();
        QCOMPARE(sheet, Sheet(e.rom(), e.w->Settings().LastPalTilEd(), false, 0x3A));
        for (QPoint q : {QPoint(80, 24), QPoint(87, 24), QPoint(80, 31), QPoint(87, 31)}) QCOMPARE(Rgb(sheet.pixel(q)), QRgb(0xFF0000));
        // The picker now puts that tile into blocks.
        Press(e.w->imgTiles, Qt::LeftButton, 2, 2);
        QCOMPARE(e.bytes()[static_cast<size_t>(e.rom().StageTSA())], uint8_t(0x3A));
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Block"));
    }

    void tsaStatusFollowsTheMouse() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        struct Case {
            int x, y;
            const char* under;
        };
        for (Case c : {Case{0, 0, "00"}, Case{15, 15, "00"}, Case{16, 0, "01"}, Case{3 * 16 + 5, 4 * 16 + 2, "43"}, Case{255, 255, "FF"},
                       Case{255, 0, "0F"}, Case{0, 255, "F0"}}) {
            Move(tsa->imgTSA, Qt::NoButton, c.x, c.y);
            QCOMPARE(tsa->StatusPanels[1]->text(), QString(c.under));
            QCOMPARE(tsa->StatusPanels[0]->text(), QString("Selected: 00"));
        }
        const QPoint p = SheetPoint(0xC7);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y());
        Move(tsa->imgTSA, Qt::NoButton, 1, 1);
        QCOMPARE(tsa->StatusPanels[0]->text(), QString("Selected: C7"));
        // Beyond the sheet (a drag held past its edge) names no tile.
        Move(tsa->imgTSA, Qt::LeftButton, 300, 20);
        QCOMPARE(tsa->StatusPanels[1]->text(), QString("00"));
    }

    void tsaRightClickCyclesTheSheetColoursOnly() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        const QPoint p = SheetPoint(0x12);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y());
        e.w->Settings().SaveSettings();
        QVERIFY(!e.w->Settings().Modified());
        const int start = e.w->Settings().LastPalTilEd();
        for (int i = 1; i <= 4; ++i) {
            Release(tsa->imgTSA, Qt::RightButton, 40, 200);
            const int sub = (start + i) % 4;
            QCOMPARE(int(e.w->Settings().LastPalTilEd()), sub);
            QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), sub, false, 0x12));
            QCOMPARE(e.w->TSATile, 0x12);
        }
        QVERIFY(e.w->Settings().Modified());
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.bytes(), e.original);
        // The sub-palettes really differ, so the comparisons above saw the change.
        QVERIFY(Sheet(e.rom(), 0, false, -1) != Sheet(e.rom(), 1, false, -1));
    }

    void tsaSheetFollowsTheWorldMap() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        QVERIFY(e.w->HandlePageKey(Qt::Key_PageDown, Qt::ShiftModifier));  // stage 1 -> the world map
        QVERIFY(e.w->WorldView);
        const int sub = e.w->Settings().LastPalTilEd();
        QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), sub, true, 0));
        QVERIFY(Sheet(e.rom(), sub, true, 0) != Sheet(e.rom(), sub, false, 0));

        // A tile opened from the world map's sheet is the stage's tile, and it goes to the stage's page.
        const int tile = 0x05;
        const TOffset stagePage = PageOffset(e.rom(), e.rom().CurrentStage->GetBGPatternTable());
        const TOffset worldPage = PageOffset(e.rom(), e.rom().CurrentLevel->WorldPatternPage());
        bool seen = false;
        TTileGrid shown, stageTile;
        e.rom().ReadTile(tile, stageTile);
        WhenModal<Tfrm16x16TileEditor>(seen, [&](Tfrm16x16TileEditor* d) {
            shown = d->Grid;
            Release(d->imgAvailPal, Qt::LeftButton, 80, 10);  // primary colour 3
            for (int x = 1; x < 160; x += 20) Press(d->imgTile, Qt::LeftButton, x, 1);  // the top row
            d->cmdOK->click();
        });
        const QPoint p = SheetPoint(tile);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y(), Qt::ShiftModifier);
        QVERIFY(seen);
        QCOMPARE(shown, stageTile);
        QCOMPARE(e.bytes()[static_cast<size_t>(stagePage + 16 * tile)], uint8_t(0xFF));
        QCOMPARE(e.bytes()[static_cast<size_t>(stagePage + 16 * tile + 8)], uint8_t(0xFF));
        for (TOffset i = worldPage; i < worldPage + 4096; ++i) QCOMPARE(e.bytes()[static_cast<size_t>(i)], e.original[static_cast<size_t>(i)]);
        QVERIFY(e.w->WorldView);
        QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), sub, true, tile));

        QVERIFY(e.w->HandlePageKey(Qt::Key_PageDown, Qt::ShiftModifier));  // the world map -> stage 2
        QVERIFY(!e.w->WorldView);
        QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), sub, false, tile));
    }

    void tsaShiftClickEditsTheTileAsOneUndoStep() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        // The tile at the top left of the screen's first block, so the stage view shows the edit.
        const uint8_t block = e.rom().GetBlock(0, 0);
        const int tile = e.bytes()[static_cast<size_t>(e.rom().StageTSA() + 16 * block)];
        const QRgb viewBefore = e.w->imgScreen->Image().pixel(1, 1);
        TTileGrid grid;
        e.rom().ReadTile(tile, grid);
        const uint8_t painted = static_cast<uint8_t>((grid.At(1, 1) + 1) % 4);

        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            bool seen = false;
            int shownTile = -1;
            WhenModal<Tfrm16x16TileEditor>(seen, [&](Tfrm16x16TileEditor* d) {
                shownTile = d->TileNumber;
                d->cmdCancel->click();
            });
            const QPoint p = SheetPoint(0x3A);
            Release(tsa->imgTSA, button, p.x(), p.y(), button == Qt::LeftButton ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY(seen);
            QCOMPARE(shownTile, 0x3A);
            QCOMPARE(e.w->TSATile, 0x3A);
            QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), e.w->Settings().LastPalTilEd(), false, 0x3A));
        }
        // Cancel wrote nothing.
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);

        bool seen = false;
        WhenModal<Tfrm16x16TileEditor>(seen, [&](Tfrm16x16TileEditor* d) {
            if (painted != 0) Release(d->imgAvailPal, Qt::LeftButton, 25 * painted + 3, 10);
            Press(d->imgTile, Qt::LeftButton, 25, 25);  // column 1, row 1
            d->cmdOK->click();
        });
        const QPoint p = SheetPoint(tile);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y(), Qt::ShiftModifier);
        QVERIFY(seen);
        TTileGrid after;
        e.rom().ReadTile(tile, after);
        QCOMPARE(after.At(1, 1), painted);
        const TOffset page = PageOffset(e.rom(), e.rom().CurrentStage->GetBGPatternTable());
        QCOMPARE(int(e.bytes()[static_cast<size_t>(page + 16 * tile + 1)] >> 6 & 1), painted & 1);
        QCOMPARE(int(e.bytes()[static_cast<size_t>(page + 16 * tile + 9)] >> 6 & 1), painted >> 1);
        QVERIFY(e.rom().Modified());
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        QVERIFY(Rgb(e.w->imgScreen->Image().pixel(1, 1)) != Rgb(viewBefore));  // the view shows the new tile
        QCOMPARE(tsa->imgTSA->Image(), Sheet(e.rom(), e.w->Settings().LastPalTilEd(), false, tile));
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Tile"));

        e.w->UndoStack().undo();
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        e.rom().ReadTile(tile, after);
        QCOMPARE(after, grid);
        QCOMPARE(Rgb(e.w->imgScreen->Image().pixel(1, 1)), Rgb(viewBefore));
    }

    void tsaClosingClearsTheChoiceAndTheNextOpeningStartsAfresh() {
        Editor e;
        TfrmTSA* tsa = e.OpenTSA();
        const QPoint p = SheetPoint(0x44);
        Release(tsa->imgTSA, Qt::LeftButton, p.x(), p.y());
        QVERIFY(tsa->close());
        QCOMPARE(e.w->TSATile, -1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!e.w->TSAEditor);
        // The picker chooses blocks again.
        Press(e.w->imgTiles, Qt::LeftButton, 10, 64 * 2 + 5);
        QCOMPARE(e.w->LeftBlock, uint8_t(2));
        QCOMPARE(e.bytes(), e.original);

        tsa = e.OpenTSA();
        QVERIFY(tsa);
        QCOMPARE(e.w->TSATile, 0);
        QCOMPARE(tsa->FrameX, 0);
        QCOMPARE(tsa->FrameY, 0);

        // Closing the ROM closes the window too.
        QVERIFY(e.w->CloseROM(false));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!e.w->TSAEditor);
        QCOMPARE(e.w->TSATile, -1);
    }

    // ------------------------------------------------------------ tile editor

    void tileEditorWindow() {
        Editor e;
        Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
        QCOMPARE(d.windowTitle(), QString("8x8 Tile Editor"));
        QCOMPARE(d.size(), QSize(280, 205));
        QCOMPARE(d.imgTile->geometry(), QRect(8, 8, 160, 160));
        QCOMPARE(d.imgTile->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(d.imgAvailPal->geometry(), QRect(176, 8, 100, 50));
        QCOMPARE(d.cmdOK->text(), QString("&OK"));
        QVERIFY(d.cmdOK->isDefault());
        QCOMPARE(d.cmdCancel->text(), QString("&Cancel"));
        QCOMPARE(d.PrimaryColour, uint8_t(0));
        QCOMPARE(d.SecondaryColour, uint8_t(0));
        d.TileNumber = 0x21;
        d.show();
        QCOMPARE(d.imgTile->Image().size(), QSize(8, 8));
        QCOMPARE(d.imgAvailPal->Image().size(), QSize(100, 25));
        // Each tile pixel is a 20x20 square and each strip cell 25 wide and 50 tall on screen.
        const QImage shot = d.grab().toImage();
        TTileGrid g;
        e.rom().ReadTile(0x21, g);
        const int sub = e.w->Settings().LastPalTSA();
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const QRgb want = Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(sub, g.At(c, r))));
                QCOMPARE(Rgb(shot.pixel(8 + 20 * c, 8 + 20 * r)), want);
                QCOMPARE(Rgb(shot.pixel(8 + 20 * c + 19, 8 + 20 * r + 19)), want);
            }
        for (int k = 0; k < 4; ++k) {
            const QRgb want = Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(sub, k)));
            for (QPoint q : {QPoint(176 + 25 * k + 5, 8 + 2), QPoint(176 + 25 * k + 20, 8 + 47)}) QCOMPARE(Rgb(shot.pixel(q)), want);
        }
        QCOMPARE(Rgb(shot.pixel(176 + 2, 8 + 48)), Rgb(d.imgAvailPal->Image().pixel(2, 24)));
        QCOMPARE(Rgb(shot.pixel(176 + 2, 8 + 49)), QRgb(0x00FFFF));  // the bottom edge of cell 0's frame, stretched
    }

    void tileEditorPaintsOnlyInsideTheView_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("column");  // -1: nothing painted
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("colour");
        QTest::newRow("left edge") << 0 << 50 << int(Qt::LeftButton) << -1 << -1 << 0;
        QTest::newRow("one in") << 1 << 50 << int(Qt::LeftButton) << 0 << 2 << 2;
        QTest::newRow("top edge") << 50 << 0 << int(Qt::LeftButton) << -1 << -1 << 0;
        QTest::newRow("first pixel") << 1 << 1 << int(Qt::LeftButton) << 0 << 0 << 2;
        QTest::newRow("last pixel") << 159 << 159 << int(Qt::LeftButton) << 7 << 7 << 2;
        QTest::newRow("right beyond") << 160 << 50 << int(Qt::LeftButton) << -1 << -1 << 0;
        QTest::newRow("below") << 50 << 160 << int(Qt::LeftButton) << -1 << -1 << 0;
        QTest::newRow("cell border") << 20 << 39 << int(Qt::LeftButton) << 1 << 1 << 2;
        QTest::newRow("right button") << 99 << 61 << int(Qt::RightButton) << 4 << 3 << 1;
        QTest::newRow("middle button") << 99 << 61 << int(Qt::MiddleButton) << -1 << -1 << 0;
    }
    void tileEditorPaintsOnlyInsideTheView() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, button);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, colour);
        Editor e;
        Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.TileNumber = 0x30;
        d.show();
        // A tile of one colour that neither painting colour has.
        TTileGrid blank;
        for (auto& r : blank.Rows) r.fill(3);
        d.Grid = blank;
        d.DrawTileView();
        Release(d.imgAvailPal, Qt::LeftButton, 50, 5);   // primary 2
        Release(d.imgAvailPal, Qt::RightButton, 30, 5);  // secondary 1
        Press(d.imgTile, Qt::MouseButton(button), x, y);
        TTileGrid want = blank;
        if (column >= 0) want.At(column, row) = static_cast<uint8_t>(colour);
        QCOMPARE(d.Grid, want);
        // The view shows the grid.
        const int sub = e.w->Settings().LastPalTSA();
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                QCOMPARE(Rgb(d.imgTile->Image().pixel(c, r)), Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(sub, want.At(c, r)))));
    }

    void tileEditorDragsPaintWithEitherButton() {
        Editor e;
        Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        TTileGrid blank{};
        d.Grid = blank;
        Release(d.imgAvailPal, Qt::LeftButton, 99, 5);   // primary 3
        Release(d.imgAvailPal, Qt::RightButton, 26, 5);  // secondary 1
        // Right drag across the whole tile: the secondary colour everywhere it passes.
        Press(d.imgTile, Qt::RightButton, 150, 150);
        for (int i = 1; i < 160; i += 20) Move(d.imgTile, Qt::RightButton, i, i);
        for (int i = 0; i < 8; ++i) QCOMPARE(d.Grid.At(i, i), uint8_t(1));
        QCOMPARE(d.Grid.At(7, 7), uint8_t(1));
        // Both held: the primary colour. None held: nothing.
        Move(d.imgTile, Qt::LeftButton | Qt::RightButton, 45, 5);
        QCOMPARE(d.Grid.At(2, 0), uint8_t(3));
        Move(d.imgTile, Qt::NoButton, 65, 5);
        QCOMPARE(d.Grid.At(3, 0), uint8_t(0));
        Move(d.imgTile, Qt::MiddleButton, 85, 5);
        QCOMPARE(d.Grid.At(4, 0), uint8_t(0));
        // Dragging beyond the view's edges paints nothing and does not fail.
        Move(d.imgTile, Qt::LeftButton, 200, 5);
        Move(d.imgTile, Qt::LeftButton, -5, 5);
        QCOMPARE(d.Grid.At(7, 0), uint8_t(0));
        QCOMPARE(d.Grid.At(0, 0), uint8_t(1));
    }

    void tileEditorStripFrames_data() {
        QTest::addColumn<int>("primary");
        QTest::addColumn<int>("secondary");
        QTest::newRow("0 and 0") << 0 << 0;
        QTest::newRow("1 and 2") << 1 << 2;
        QTest::newRow("3 and 3") << 3 << 3;
        QTest::newRow("3 and 0") << 3 << 0;
    }
    void tileEditorStripFrames() {
        QFETCH(int, primary);
        QFETCH(int, secondary);
        Editor e;
        Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.show();
        Release(d.imgAvailPal, Qt::LeftButton, 25 * primary + 12, 40);
        Release(d.imgAvailPal, Qt::RightButton, 25 * secondary + 24, 1);
        QCOMPARE(int(d.PrimaryColour), primary);
        QCOMPARE(int(d.SecondaryColour), secondary);
        const QImage strip = d.imgAvailPal->Image();
        const int sub = e.w->Settings().LastPalTSA();
        for (int k = 0; k < 4; ++k) {
            QRgb edge = Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(sub, k)));
            if (k == primary) edge = 0xFF0000;
            if (k == secondary) edge = 0x00FFFF;
            for (QPoint q : {QPoint(25 * k, 0), QPoint(25 * k + 24, 0), QPoint(25 * k, 24), QPoint(25 * k + 24, 24), QPoint(25 * k + 12, 24)})
                QCOMPARE(Rgb(strip.pixel(q)), edge);
            QCOMPARE(Rgb(strip.pixel(25 * k + 12, 12)), Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(sub, k))));
        }
    }

    void tileEditorSubPaletteCyclesWithoutChangingTheTile() {
        Editor e;
        e.w->Settings().SetLastPalTSA(2);
        e.w->Settings().SaveSettings();
        Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
        d.TileNumber = 0x33;
        d.show();
        Release(d.imgAvailPal, Qt::LeftButton, 60, 5);
        const TTileGrid grid = d.Grid;
        struct Step {
            Qt::MouseButton button;
            Qt::KeyboardModifiers mods;
            int sub;
        };
        for (Step s : {Step{Qt::LeftButton, Qt::ShiftModifier, 3}, Step{Qt::MiddleButton, Qt::NoModifier, 0}, Step{Qt::MiddleButton, Qt::ShiftModifier, 1}}) {
            Release(d.imgAvailPal, s.button, 90, 5, s.mods);
            QCOMPARE(int(e.w->Settings().LastPalTSA()), s.sub);
            QCOMPARE(d.Grid, grid);
            QCOMPARE(int(d.PrimaryColour), 2);
            QCOMPARE(int(d.SecondaryColour), 0);
            QCOMPARE(Rgb(d.imgAvailPal->Image().pixel(12, 12)), Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(s.sub, 0))));
            for (int r = 0; r < 8; ++r)
                for (int c = 0; c < 8; ++c)
                    QCOMPARE(Rgb(d.imgTile->Image().pixel(c, r)), Rgb(e.rom().GetColor(e.rom().GetPaletteEntry(s.sub, grid.At(c, r)))));
        }
        QVERIFY(e.w->Settings().Modified());
        // A release that ends beyond the strip chooses nothing.
        Release(d.imgAvailPal, Qt::LeftButton, 120, 5);
        Release(d.imgAvailPal, Qt::MiddleButton, -3, 5);
        QCOMPARE(int(d.PrimaryColour), 2);
        QCOMPARE(int(e.w->Settings().LastPalTSA()), 1);
    }

    void tileEditorOKAndCancel() {
        Editor e;
        {
            // OK without painting: no byte changes.
            Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
            d.TileNumber = 0x10;
            d.show();
            d.cmdOK->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(e.bytes(), e.original);
            QVERIFY(!e.rom().Modified());
        }
        const TPatternBuffer patterns = e.rom().PatternBuffer;
        {
            // Cancel after painting: neither the working page nor the image changes.
            Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
            d.TileNumber = 0x10;
            d.show();
            Release(d.imgAvailPal, Qt::LeftButton, 80, 5);
            Press(d.imgTile, Qt::LeftButton, 5, 5);
            Move(d.imgTile, Qt::LeftButton, 155, 5);
            d.cmdCancel->click();
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QCOMPARE(e.rom().PatternBuffer, patterns);
            QCOMPARE(e.bytes(), e.original);
            QVERIFY(!e.rom().Modified());
        }
        {
            // OK after painting column 0, row 2 and column 7, row 2 in colour 3 (both bit planes).
            Tfrm16x16TileEditor d(e.rom(), e.w->Settings(), e.w.get());
            d.TileNumber = 0x10;
            d.show();
            TTileGrid blank{};
            d.Grid = blank;
            Release(d.imgAvailPal, Qt::LeftButton, 80, 5);
            Press(d.imgTile, Qt::LeftButton, 1, 50);
            Press(d.imgTile, Qt::LeftButton, 159, 50);
            d.cmdOK->click();
            const TOffset tile = PageOffset(e.rom(), e.rom().CurrentStage->GetBGPatternTable()) + 16 * 0x10;
            for (int r = 0; r < 8; ++r) {
                const uint8_t want = r == 2 ? 0x81 : 0x00;
                QCOMPARE(e.bytes()[static_cast<size_t>(tile + r)], want);
                QCOMPARE(e.bytes()[static_cast<size_t>(tile + 8 + r)], want);
                QCOMPARE(e.rom().PatternBuffer[static_cast<size_t>(16 * 0x10 + r)], want);
            }
            // Nothing beyond the tile changed.
            for (size_t i = 0; i < e.bytes().size(); ++i)
                if (static_cast<TOffset>(i) < tile || static_cast<TOffset>(i) >= tile + 16) QCOMPARE(e.bytes()[i], e.original[i]);
        }
    }

    // ------------------------------------------------------------ palette editor

    void paletteEditorShowsTheStagePalette_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("number");
        QTest::newRow("1-1") << 0 << 0 << 0;
        QTest::newRow("1-2") << 0 << 1 << 3;
        QTest::newRow("2-1") << 1 << 0 << 5;
    }
    void paletteEditorShowsTheStagePalette() {
        QFETCH(int, level);
        QFETCH(int, stage);
        QFETCH(int, number);
        Editor e;
        e.rom().SetLevel(level);
        e.rom().SetStage(stage);
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        QCOMPARE(d.windowTitle(), QString("Palette Editor"));
        QCOMPARE(d.size(), QSize(425, 207));
        QCOMPARE(d.imgNESColours->geometry(), QRect(80, 8, 286, 73));
        QCOMPARE(d.lblCurrentPalette->text(), QString("Palette Colour Under Mouse: $00"));
        for (const char* name : {"lbl000F", "lbl101F", "lbl202F", "lbl303F", "lblPaletteIndex"}) QVERIFY(d.findChild<QLabel*>(name));
        QCOMPARE(d.findChild<QLabel*>("lbl202F")->text(), QString("20 - 2F"));
        QCOMPARE(d.cbPaletteIndex->count(), 23);
        QCOMPARE(d.cbPaletteIndex->itemText(0), QString("00"));
        QCOMPARE(d.cbPaletteIndex->itemText(15), QString("0F"));
        QCOMPARE(d.cbPaletteIndex->itemText(22), QString("16"));
        d.show();
        QVERIFY(!d.PaletteChanged);
        QCOMPARE(d.cbPaletteIndex->currentIndex(), number);
        QCOMPARE(d.PaletteNumber(), number);
        // Palette n of the test game holds the colours 12n .. 12n + 11.
        for (int k = 0; k < 4; ++k) {
            const int c = 12 * number + 3 * k;
            QCOMPARE(d.imgBGPal[k]->toolTip(), "$0F $" + HexPair(c % 64) + " $" + HexPair((c + 1) % 64) + " $" + HexPair((c + 2) % 64));
            QCOMPARE(d.imgBGPal[k]->geometry(), QRect(8 + 104 * k, 144, 100, 25));
            for (int entry = 0; entry < 4; ++entry)
                QCOMPARE(Rgb(d.imgBGPal[k]->Image().pixel(25 * entry + 12, 12)),
                         Rgb(e.rom().GetColor(entry == 0 ? 0x0F : (c + entry - 1) % 64)));
        }
        // The grid: colour 16i + j at (18j, 18i + 1), the black line on the left, the frame around $00.
        const QImage grid = d.imgNESColours->Image();
        QCOMPARE(grid.size(), QSize(287, 74));
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 16; ++j) QCOMPARE(Rgb(grid.pixel(18 * j + 8, 18 * i + 9)), Rgb(e.rom().GetColor(16 * i + j)));
        QCOMPARE(Rgb(grid.pixel(0, 40)), QRgb(0));
        for (QPoint q : {QPoint(0, 0), QPoint(17, 0), QPoint(17, 18), QPoint(5, 18)}) QCOMPARE(Rgb(grid.pixel(q)), QRgb(0xFF0000));
        QCOMPARE(e.bytes(), e.original);
    }

    void paletteEditorGridChoosesTheColour_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("colour");
        QTest::newRow("top left") << 0 << 0 << 0x00;
        QTest::newRow("gap right of $00") << 17 << 5 << 0x00;
        QTest::newRow("$01") << 18 << 1 << 0x01;
        QTest::newRow("$25") << 18 * 5 + 9 << 18 * 2 + 9 << 0x25;
        QTest::newRow("$10") << 3 << 18 + 3 << 0x10;
        QTest::newRow("$3F") << 285 << 72 << 0x3F;
        QTest::newRow("$2F") << 18 * 15 + 1 << 18 * 3 - 1 << 0x2F;
    }
    void paletteEditorGridChoosesTheColour() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, colour);
        Editor e;
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        Press(d.imgNESColours, Qt::LeftButton, 18 * 7 + 5, 18 * 1 + 5);  // somewhere else first
        Press(d.imgNESColours, Qt::LeftButton, x, y);
        QCOMPARE(int(d.CurrentColour), colour);
        QCOMPARE(d.ColourFrameX, 18 * (colour % 16));
        QCOMPARE(d.ColourFrameY, 18 * (colour / 16));
        QCOMPARE(d.lblCurrentPalette->text(), "Palette Colour Under Mouse: $" + HexPair(colour));
        // The frame surrounds the colour's cell, one pixel outside it where the grid has room.
        const QImage grid = d.imgNESColours->Image();
        const int left = colour % 16 == 0 ? 0 : 18 * (colour % 16) - 1, top = 18 * (colour / 16);
        const int right = 18 * (colour % 16) + 17, bottom = top + 18;
        for (QPoint q : {QPoint(left, top), QPoint(left, bottom), QPoint(right - 1, top), QPoint(right - 1, bottom)}) QCOMPARE(Rgb(grid.pixel(q)), QRgb(0xFF0000));
        // The last column's right edge falls beyond the picture.
        if (right < grid.width()) QCOMPARE(Rgb(grid.pixel(right, top + 9)), QRgb(0xFF0000));
        else QCOMPARE(right, 287);
        // The old frame around $17 is gone.
        QVERIFY(Rgb(grid.pixel(18 * 7 - 1, 18 + 9)) != QRgb(0xFF0000));
        QVERIFY(!d.PaletteChanged);
    }

    void paletteEditorLabelFollowsTheMouse() {
        Editor e;
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        Press(d.imgNESColours, Qt::LeftButton, 18 * 10 + 4, 18 * 2 + 4);  // $2A
        Move(d.imgNESColours, Qt::NoButton, 18 * 1 + 4, 18 * 3 + 4);
        QCOMPARE(d.lblCurrentPalette->text(), QString("Palette Colour Under Mouse: $31"));
        QCOMPARE(int(d.CurrentColour), 0x2A);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(d.imgNESColours, &leave);
        QCOMPARE(d.lblCurrentPalette->text(), QString("Palette Colour Under Mouse: $2A"));
    }

    void paletteEditorEntryZeroIsRefused() {
        Editor e;
        const QImage view = e.w->imgScreen->Image();
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        const TPaletteBuffer before = e.rom().PaletteBuffer;
        const QString hint = d.imgBGPal[2]->toolTip();
        Press(d.imgNESColours, Qt::LeftButton, 18 * 3 + 4, 4);  // $03
        Release(d.imgBGPal[2], Qt::LeftButton, 24, 10);
        QCOMPARE(e.prompt.texts.last(), QString("This palette entry is not editable."));
        QCOMPARE(e.rom().PaletteBuffer, before);
        QCOMPARE(d.imgBGPal[2]->toolTip(), hint);
        QVERIFY(d.PaletteChanged);
        // Still a change: closing without OK reloads the stage's palette and redraws.
        e.rom().PaletteBuffer[5] = 0x30;
        e.w->imgScreen->SetBitmap(TBitmap32(256, 256));
        PaletteEditorClosed(*e.w, d, false);
        QCOMPARE(e.rom().PaletteBuffer, before);
        QCOMPARE(e.w->imgScreen->Image(), view);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
    }

    void paletteEditorAnyButtonSetsAnEntry_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void paletteEditorAnyButtonSetsAnEntry() {
        QFETCH(int, button);
        Editor e;
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        Press(d.imgNESColours, Qt::LeftButton, 18 * 12 + 4, 18 * 3 + 4);  // $3C
        TPaletteBuffer want = e.rom().PaletteBuffer;
        Release(d.imgBGPal[3], Qt::MouseButton(button), 99, 3);  // sub-palette 3, entry 3
        want[15] = 0x3C;
        QCOMPARE(e.rom().PaletteBuffer, want);
        QCOMPARE(d.imgBGPal[3]->toolTip(), "$0F $" + HexPair(want[13]) + " $" + HexPair(want[14]) + " $3C");
        QCOMPARE(Rgb(d.imgBGPal[3]->Image().pixel(90, 10)), Rgb(e.rom().GetColor(0x3C)));
        QVERIFY(d.PaletteChanged);
        QCOMPARE(e.bytes(), e.original);  // only the working copy until OK
        // A release beyond the swatch sets nothing.
        Release(d.imgBGPal[3], Qt::MouseButton(button), 130, 3);
        QCOMPARE(e.rom().PaletteBuffer, want);
    }

    void paletteEditorPreviewThenCancelRestoresTheStage() {
        Editor e;
        const TPaletteBuffer own = e.rom().PaletteBuffer;
        const QImage view = e.w->imgScreen->Image();
        int previews = 0;
        TfrmPaletteEditor d(e.rom(), [&] {
            ++previews;
            e.w->RefreshGraphics();
        }, e.w.get());
        d.show();
        QCOMPARE(previews, 0);
        d.cbPaletteIndex->setCurrentIndex(5);
        QCOMPARE(previews, 1);
        QVERIFY(d.PaletteChanged);
        QCOMPARE(e.rom().PaletteBuffer, PaletteOf(e.rom(), 5));
        QVERIFY(e.w->imgScreen->Image() != view);  // the main window shows palette $05
        QCOMPARE(d.imgBGPal[1]->toolTip(), QString("$0F $3F $00 $01"));  // 12*5+3 = $3F, then wrapping
        PaletteEditorClosed(*e.w, d, false);
        QCOMPARE(e.rom().PaletteBuffer, own);
        QCOMPARE(e.w->imgScreen->Image(), view);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);
    }

    void paletteEditorOKWithoutChangesWritesNothing() {
        Editor e;
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        d.cmdOK->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        PaletteEditorClosed(*e.w, d, true);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.w->UndoStack().count(), 0);
        QVERIFY(!e.w->windowTitle().endsWith(" *"));
    }

    void paletteEditorOKWritesNumberAndColoursAsOneStep() {
        Editor e;
        const TPaletteBuffer own = e.rom().PaletteBuffer;
        const QImage view = e.w->imgScreen->Image();
        TfrmPaletteEditor d(e.rom(), [&] { e.w->RefreshGraphics(); }, e.w.get());
        d.show();
        d.cbPaletteIndex->setCurrentIndex(5);
        Press(d.imgNESColours, Qt::LeftButton, 18 * 10 + 4, 18 * 2 + 4);  // $2A
        Release(d.imgBGPal[1], Qt::LeftButton, 60, 10);                   // sub-palette 1, entry 2
        d.cmdOK->click();
        PaletteEditorClosed(*e.w, d, true);

        const TStageLayout& s = e.folder.game.levels[0].stages[0];
        QCOMPARE(e.bytes()[static_cast<size_t>(s.paletteEntry)], uint8_t(5));
        const TOffset record = e.rom().PaletteRecord(5);
        std::vector<size_t> changed;
        for (size_t i = 0; i < e.bytes().size(); ++i)
            if (e.bytes()[i] != e.original[i]) changed.push_back(i);
        QCOMPARE(changed, (std::vector<size_t>{static_cast<size_t>(s.paletteEntry), static_cast<size_t>(record + 4)}));
        QCOMPARE(e.bytes()[static_cast<size_t>(record + 4)], uint8_t(0x2A));
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        QCOMPARE(e.w->UndoStack().count(), 1);
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Palette"));
        // Every stage that uses palette $05 shows the change: the second level's stages do.
        e.rom().SetLevel(1);
        QCOMPARE(e.rom().PaletteBuffer[6], uint8_t(0x2A));
        e.rom().SetLevel(0);

        e.w->UndoStack().undo();
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.rom().PaletteBuffer, own);
        QCOMPARE(e.w->imgScreen->Image(), view);
        e.w->UndoStack().redo();
        QCOMPARE(e.bytes()[static_cast<size_t>(record + 4)], uint8_t(0x2A));
        QCOMPARE(e.bytes()[static_cast<size_t>(s.paletteEntry)], uint8_t(5));
    }

    void paletteEditorNumberBeyondTheListIsKept() {
        Editor e(StandardLevels(), [](TProgramFolder& f) {
            f.game.rom.Byte(f.game.levels[0].stages[0].paletteEntry, 0x20);
            f.dir.Write("game.nes", f.game.rom.bytes);
        });
        const TPaletteBuffer own = e.rom().PaletteBuffer;
        TfrmPaletteEditor d(e.rom(), [] {}, e.w.get());
        d.show();
        QCOMPARE(d.cbPaletteIndex->currentIndex(), -1);
        QCOMPARE(d.PaletteNumber(), -1);
        Press(d.imgNESColours, Qt::LeftButton, 18 * 4 + 4, 4);  // $04
        Release(d.imgBGPal[0], Qt::LeftButton, 30, 10);
        QCOMPARE(e.rom().PaletteBuffer[1], uint8_t(0x04));
        d.cmdOK->click();
        PaletteEditorClosed(*e.w, d, true);
        QCOMPARE(e.bytes(), e.original);
        QVERIFY(!e.rom().Modified());
        QCOMPARE(e.rom().PaletteBuffer, own);
        QCOMPARE(e.w->UndoStack().count(), 0);
    }

    void paletteCommandRunsTheDialog() {
        Editor e;
        bool seen = false;
        WhenModal<TfrmPaletteEditor>(seen, [](TfrmPaletteEditor* d) {
            QCOMPARE(d->parentWidget()->objectName(), QString("frmEditorMain"));
            d->cbPaletteIndex->setCurrentIndex(2);
            d->cmdCancel->click();
        });
        e.w->Action("actPaletteEditor")->trigger();
        QVERIFY(seen);
        QCOMPARE(e.bytes(), e.original);
        QCOMPARE(e.rom().PaletteBuffer[1], e.original[static_cast<size_t>(e.rom().PaletteRecord(0))]);

        WhenModal<TfrmPaletteEditor>(seen, [](TfrmPaletteEditor* d) {
            d->cbPaletteIndex->setCurrentIndex(2);
            d->cmdOK->click();
        });
        e.w->Action("actPaletteEditor")->trigger();
        QVERIFY(seen);
        QCOMPARE(e.rom().CurrentStage->GetPaletteIndex(), uint8_t(2));
        QCOMPARE(e.w->UndoStack().undoText(), QString("Edit Palette"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

};

QTEST_MAIN(TestGraphicsDialogs)
#include "tst_graphics_dialogs.moc"

#include "dialogs/frm_TSAEditor.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "dialogs/frm_TileEditor.h"
#include "model/IniFile.h"

namespace {
constexpr int SheetView = 256;  // the 128x128 sheet at scale 2
constexpr int TilePixels = 16;  // one tile in view pixels
}  // namespace

TfrmTSA::TfrmTSA(TfrmEditorMain& window)
    : TSheetWindow(&window, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      window_(window) {
    setObjectName("frmTSA");
    setWindowTitle("TSA Editor");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(256, 275);
    move(626, 380);

    imgTSA = new TImageView(this, 2);
    imgTSA->setObjectName("imgTSA");
    imgTSA->setGeometry(0, 0, SheetView, SheetView);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setGeometry(0, 256, 256, 19);
    const int widths[2] = {139, 50};
    for (int i = 0; i < 2; ++i) {
        StatusPanels[i] = new QLabel(StatusBar);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar->addWidget(StatusPanels[i]);
    }

    connect(imgTSA, &TImageView::MouseMove, this, &TfrmTSA::imgTSAMouseMove);
    connect(imgTSA, &TImageView::MouseUp, this, &TfrmTSA::imgTSAMouseUp);
}

void TfrmTSA::showEvent(QShowEvent* e) {
    TSheetWindow::showEvent(e);
    // Coming back from minimised is no new opening: the chosen tile stays.
    if (!e->spontaneous()) FormShow();
}

void TfrmTSA::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

void TfrmTSA::FormShow() {
    DrawSheet();
    window_.TSATile = 0;
}

void TfrmTSA::FormClose() {
    window_.TSATile = -1;
    window_.RefreshTitle();
    window_.RedrawPicker();
}

void TfrmTSA::DrawSheet() {
    TROMData* model = window_.Model();
    if (!model) return;
    TBitmap32 sheet(128, 128);
    model->DrawPatternTable(sheet, window_.Settings().LastPalTilEd(), window_.WorldView);
    sheet.FrameRect(FrameX, FrameY, FrameX + 8, FrameY + 8, clRed32);
    imgTSA->SetBitmap(sheet);
}

void TfrmTSA::ChooseTile(int x, int y) {
    const int column = x / TilePixels, row = y / TilePixels;
    FrameX = 8 * column;
    FrameY = 8 * row;
    window_.TSATile = 16 * row + column;
}

void TfrmTSA::imgTSAMouseMove(const TViewMouse& m) {
    // While a button is held the view keeps reporting beyond its edges; those points name no tile.
    if (m.X < 0 || m.X >= SheetView || m.Y < 0 || m.Y >= SheetView) return;
    StatusPanels[0]->setText("Selected: " + QString::fromStdString(HexByte(window_.TSATile)));
    StatusPanels[1]->setText(QString::fromStdString(HexByte((m.Y / TilePixels) * 16 + m.X / TilePixels)));
}

void TfrmTSA::imgTSAMouseUp(const TViewMouse& m) {
    // A press released outside the sheet is a cancelled click.
    if (m.X < 0 || m.X >= SheetView || m.Y < 0 || m.Y >= SheetView) return;
    const bool shift = m.Modifiers & Qt::ShiftModifier;
    if (m.Button == Qt::MiddleButton || (m.Button == Qt::LeftButton && shift)) {
        ChooseTile(m.X, m.Y);
        DrawSheet();
        EditTile();
    } else if (m.Button == Qt::LeftButton) {
        ChooseTile(m.X, m.Y);
    } else if (m.Button == Qt::RightButton) {
        TEditorConfig& s = window_.Settings();
        s.SetLastPalTilEd(static_cast<uint8_t>((s.LastPalTilEd() + 1) % 4));
    }
    DrawSheet();
}

void TfrmTSA::EditTile() {
    TROMData* model = window_.Model();
    if (!model || window_.TSATile < 0) return;
    Tfrm16x16TileEditor editor(*model, window_.Settings(), this, &window_);
    editor.TileNumber = window_.TSATile;
    // The tile editor's OK writes the tile; with what follows it is one undo step.
    window_.BeginEdit("Edit Tile");
    if (editor.exec() == QDialog::Accepted) {
        model->StorePatternBuffer();
        DrawSheet();
        window_.RefreshGraphics();
        window_.RefreshTitle();
    }
    window_.EndEdit();
}

#include "dialogs/frm_TileEditor.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "config/classes_configuration.h"

void TStretchView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (Image().isNull()) return;
    p.scale(scaleX_, scaleY_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, Image());
}

namespace {
constexpr int TileScale = 20;
constexpr int TileViewSize = 8 * TileScale;  // 160
constexpr int StripCell = 25;
}  // namespace

Tfrm16x16TileEditor::Tfrm16x16TileEditor(TROMData& model, TEditorConfig& settings, QWidget* parent, QWidget* centreOn)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      model_(model), settings_(settings), centreOn_(centreOn) {
    setObjectName("frm16x16TileEditor");
    setWindowTitle("8x8 Tile Editor");
    setFixedSize(280, 205);

    imgTile = new TImageView(this, TileScale);
    imgTile->setObjectName("imgTile");
    imgTile->setGeometry(8, 8, TileViewSize, TileViewSize);
    imgTile->setCursor(Qt::CrossCursor);
    imgAvailPal = new TStretchView(this, 1, 2);
    imgAvailPal->setObjectName("imgAvailPal");
    imgAvailPal->setGeometry(176, 8, 100, 50);

    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(120, 176, 75, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(200, 176, 75, 25);

    connect(imgTile, &TImageView::MouseDown, this, &Tfrm16x16TileEditor::imgTileMouseDown);
    connect(imgTile, &TImageView::MouseMove, this, &Tfrm16x16TileEditor::imgTileMouseMove);
    connect(imgAvailPal, &TImageView::MouseUp, this, &Tfrm16x16TileEditor::imgAvailPalMouseUp);
    connect(cmdOK, &QPushButton::clicked, this, &Tfrm16x16TileEditor::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm16x16TileEditor::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (centreOn_) move(centreOn_->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    FormShow();
}

void Tfrm16x16TileEditor::FormShow() {
    model_.ReadTile(TileNumber, Grid);
    DrawTileView();
    DrawColourStrip();
}

void Tfrm16x16TileEditor::DrawTileView() {
    TBitmap32 bmp(8, 8);
    const int sub = settings_.LastPalTSA();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) bmp.SetPixel(x, y, model_.GetColor(model_.GetPaletteEntry(sub, Grid.At(x, y))));
    imgTile->SetBitmap(bmp);
}

void Tfrm16x16TileEditor::DrawColourStrip() {
    TBitmap32 bmp(4 * StripCell, StripCell);
    const int sub = settings_.LastPalTSA();
    for (int k = 0; k < 4; ++k)
        bmp.FillRect(StripCell * k, 0, StripCell * k + StripCell, StripCell, model_.GetColor(model_.GetPaletteEntry(sub, k)));
    // Cyan after red: when both choose one cell, the secondary frame is the one seen.
    bmp.FrameRect(StripCell * PrimaryColour, 0, StripCell * PrimaryColour + StripCell, StripCell, clRed32);
    bmp.FrameRect(StripCell * SecondaryColour, 0, StripCell * SecondaryColour + StripCell, StripCell, clCyan32);
    imgAvailPal->SetBitmap(bmp);
}

void Tfrm16x16TileEditor::Paint(int x, int y, uint8_t colour) {
    // The outermost left column and top row of the view do not paint.
    if (!(x > 0 && x < TileViewSize && y > 0 && y < TileViewSize)) return;
    Grid.At(x / TileScale, y / TileScale) = colour;
    DrawTileView();
}

void Tfrm16x16TileEditor::imgTileMouseDown(const TViewMouse& m) {
    if (m.Button == Qt::LeftButton)
        Paint(m.X, m.Y, PrimaryColour);
    else if (m.Button == Qt::RightButton)
        Paint(m.X, m.Y, SecondaryColour);
}

void Tfrm16x16TileEditor::imgTileMouseMove(const TViewMouse& m) {
    if (m.Buttons & Qt::LeftButton)
        Paint(m.X, m.Y, PrimaryColour);
    else if (m.Buttons & Qt::RightButton)
        Paint(m.X, m.Y, SecondaryColour);
}

void Tfrm16x16TileEditor::imgAvailPalMouseUp(const TViewMouse& m) {
    // A press that ends outside the strip names no colour.
    if (m.X < 0 || m.X >= 4 * StripCell || m.Y < 0 || m.Y >= imgAvailPal->height()) return;
    const bool shift = m.Modifiers & Qt::ShiftModifier;
    if (m.Button == Qt::MiddleButton || (m.Button == Qt::LeftButton && shift)) {
        settings_.SetLastPalTSA(static_cast<uint8_t>((settings_.LastPalTSA() + 1) % 4));
        DrawColourStrip();
        DrawTileView();
    } else if (m.Button == Qt::LeftButton) {
        PrimaryColour = static_cast<uint8_t>(m.X / StripCell);
        DrawColourStrip();
    } else if (m.Button == Qt::RightButton) {
        SecondaryColour = static_cast<uint8_t>(m.X / StripCell);
        DrawColourStrip();
    }
}

void Tfrm16x16TileEditor::cmdOKClick() {
    model_.WriteTile(TileNumber, Grid);
    accept();
}

#include "dialogs/frm_PaletteEditor.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include "app/Prompt.h"
#include "dialogs/DialogParts.h"
#include "model/IniFile.h"

namespace {
constexpr int GridCell = 18;  // one colour's band in the grid, gap included
constexpr int SwatchCell = 25;

}  // namespace

TfrmPaletteEditor::TfrmPaletteEditor(TROMData& model, std::function<void()> preview, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      model_(model), preview_(std::move(preview)) {
    setObjectName("frmPaletteEditor");
    setWindowTitle("Palette Editor");
    setFixedSize(425, 207);

    imgNESColours = new TImageView(this, 1);
    imgNESColours->setObjectName("imgNESColours");
    imgNESColours->setGeometry(80, 8, 286, 73);
    imgNESColours->installEventFilter(this);
    NewLabel(this, "lbl000F", "00 - 0F", 368, 9);
    NewLabel(this, "lbl101F", "10 - 1F", 368, 27);
    NewLabel(this, "lbl202F", "20 - 2F", 368, 45);
    NewLabel(this, "lbl303F", "30 - 3F", 368, 63);
    lblCurrentPalette = NewLabel(this, "lblCurrentPalette", "Palette Colour Under Mouse: $00", 80, 88);
    lblCurrentPalette->setMinimumWidth(220);
    cbPaletteIndex = new QComboBox(this);
    cbPaletteIndex->setObjectName("cbPaletteIndex");
    cbPaletteIndex->setGeometry(88, 112, 89, cbPaletteIndex->sizeHint().height());
    QLabel* index = NewLabel(this, "lblPaletteIndex", "Palette Index:", 8, 112);
    index->setFixedHeight(cbPaletteIndex->height());
    index->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A wider platform font pushes the list right instead of under its label.
    cbPaletteIndex->move(std::max(88, index->x() + index->width() + 4), 112);
    for (int n = 0; n < PaletteCount; ++n) cbPaletteIndex->addItem(HexText(n));

    const int left[4] = {8, 112, 216, 320};
    for (int k = 0; k < 4; ++k) {
        imgBGPal[k] = new TImageView(this, 1);
        imgBGPal[k]->setObjectName(QString("imgBGPal%1").arg(k + 1));
        imgBGPal[k]->setGeometry(left[k], 144, 100, 25);
        imgBGPal[k]->setProperty("Tag", k);
        connect(imgBGPal[k], &TImageView::MouseUp, this, [this, k](const TViewMouse& m) { imgBGPal1MouseUp(k, m); });
    }

    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(262, 176, 75, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(342, 176, 75, 25);

    connect(cbPaletteIndex, &QComboBox::currentIndexChanged, this, &TfrmPaletteEditor::cbPaletteIndexChange);
    connect(imgNESColours, &TImageView::MouseDown, this, &TfrmPaletteEditor::imgNESColoursMouseDown);
    connect(imgNESColours, &TImageView::MouseMove, this, &TfrmPaletteEditor::imgNESColoursMouseMove);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPaletteEditor::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

int TfrmPaletteEditor::PaletteNumber() const { return cbPaletteIndex->currentIndex(); }

void TfrmPaletteEditor::FormShow() {
    PaletteChanged = false;
    DrawNESColours();
    {
        // Showing the stage's own number is no change of palette.
        const QSignalBlocker quiet(cbPaletteIndex);
        const int number = model_.CurrentStage->GetPaletteIndex();
        cbPaletteIndex->setCurrentIndex(number < PaletteCount ? number : -1);
    }
    DrawSubPalettes();
}

void TfrmPaletteEditor::DrawNESColours() {
    TBitmap32 bmp(287, 74);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 16; ++j)
            bmp.FillRect(GridCell * j, GridCell * i + 1, GridCell * j + 17, GridCell * i + 18, model_.GetColor(16 * i + j));
    bmp.VertLine(0, 0, 73, clBlack32);
    if (ColourFrameX == 0)
        bmp.FrameRect(0, ColourFrameY, 18, ColourFrameY + 19, clRed32);
    else
        bmp.FrameRect(ColourFrameX - 1, ColourFrameY, ColourFrameX + 18, ColourFrameY + 19, clRed32);
    imgNESColours->SetBitmap(bmp);
}

void TfrmPaletteEditor::DrawSubPalettes() {
    for (int k = 0; k < 4; ++k) {
        TBitmap32 bmp(4 * SwatchCell, SwatchCell);
        QStringList hint;
        for (int e = 0; e < 4; ++e) {
            const uint8_t colour = model_.GetPaletteEntry(k, e);
            bmp.FillRect(SwatchCell * e, 0, SwatchCell * e + SwatchCell, SwatchCell, model_.GetColor(colour));
            hint << HexText(colour);
        }
        imgBGPal[k]->SetBitmap(bmp);
        imgBGPal[k]->setToolTip("$" + hint.join(" $"));
    }
}

void TfrmPaletteEditor::cbPaletteIndexChange() {
    const int number = PaletteNumber();
    if (number < 0) return;
    PaletteChanged = true;
    model_.LoadPalette(static_cast<uint8_t>(number));
    if (preview_) preview_();
    DrawSubPalettes();
}

void TfrmPaletteEditor::imgBGPal1MouseUp(int tag, const TViewMouse& m) {
    // A press released beyond the swatch names no entry.
    if (m.X < 0 || m.X >= 4 * SwatchCell || m.Y < 0 || m.Y >= SwatchCell) return;
    PaletteChanged = true;
    const int entry = m.X / SwatchCell;
    if (entry == 0) {
        TPrompter::Current().Message(this, "This palette entry is not editable.");
        return;
    }
    model_.SetPaletteEntry(tag, entry, CurrentColour);
    DrawSubPalettes();
}

int TfrmPaletteEditor::ColourAt(int x, int y) {
    if (x < 0 || y < 0 || x >= 286 || y >= 73) return -1;
    // Each colour owns its cell and the one-pixel gap beside and above it.
    const int column = std::min(x / GridCell, 15), row = std::min(y / GridCell, 3);
    return 16 * row + column;
}

void TfrmPaletteEditor::ShowColourLabel(int colour) { lblCurrentPalette->setText("Palette Colour Under Mouse: $" + HexText(colour)); }

void TfrmPaletteEditor::imgNESColoursMouseDown(const TViewMouse& m) {
    const int colour = ColourAt(m.X, m.Y);
    if (colour < 0) return;
    CurrentColour = static_cast<uint8_t>(colour);
    ColourFrameX = GridCell * (colour % 16);
    ColourFrameY = GridCell * (colour / 16);
    DrawNESColours();
    ShowColourLabel(colour);
}

void TfrmPaletteEditor::imgNESColoursMouseMove(const TViewMouse& m) {
    const int colour = ColourAt(m.X, m.Y);
    if (colour >= 0) ShowColourLabel(colour);
}

bool TfrmPaletteEditor::eventFilter(QObject* watched, QEvent* e) {
    // Away from the grid the label names the colour a swatch click writes.
    if (watched == imgNESColours && e->type() == QEvent::Leave) ShowColourLabel(CurrentColour);
    return QDialog::eventFilter(watched, e);
}

#pragma once
// The palette editor: chooses the stage's palette number with a live preview in the main window and
// sets entries 1-3 of the four background sub-palettes from the 64 NES colours.

#include <QDialog>
#include <functional>

#include "app/ImageView.h"
#include "model/classes_romdata.h"

class QComboBox;
class QLabel;
class QPushButton;
class TfrmEditorMain;

class TfrmPaletteEditor : public QDialog {
    Q_OBJECT
public:
    // preview: redraws the main window in PaletteBuffer's colours.
    TfrmPaletteEditor(TROMData& model, std::function<void()> preview, QWidget* parent);

    static constexpr int PaletteCount = 0x17;  // palette numbers $00-$16

    bool PaletteChanged = false;
    uint8_t CurrentColour = 0;
    int ColourFrameX = 0;
    int ColourFrameY = 0;
    // The chosen palette number, or -1 while no item is selected (a stage whose number is above $16).
    int PaletteNumber() const;

    void FormShow();
    void DrawNESColours();
    void DrawSubPalettes();
    void cbPaletteIndexChange();
    void imgBGPal1MouseUp(int tag, const TViewMouse& m);
    void imgNESColoursMouseDown(const TViewMouse& m);
    void imgNESColoursMouseMove(const TViewMouse& m);

    TImageView* imgNESColours;
    QLabel* lblCurrentPalette;
    QComboBox* cbPaletteIndex;
    TImageView* imgBGPal[4];
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    static int ColourAt(int x, int y);
    void ShowColourLabel(int colour);

    TROMData& model_;
    std::function<void()> preview_;
};

// The main window's work after the dialog returns: on OK the stage takes the chosen palette number and
// its colours as one undo step; otherwise a previewed palette gives way to the stage's own again.
void PaletteEditorClosed(TfrmEditorMain& window, const TfrmPaletteEditor& dialog, bool ok);

#pragma once
// The TSA editor: a small tool window beside the main window that shows the 256 background tiles,
// chooses the tile that the picker puts into blocks, and opens the tile editor.

#include <QLabel>
#include <QStatusBar>

#include "app/frm_EditorMain.h"

class TfrmTSA : public TSheetWindow {
    Q_OBJECT
public:
    explicit TfrmTSA(TfrmEditorMain& window);

    // The sheet in sub-palette LastPalTilEd: the world map's tiles while the main window shows it.
    void DrawSheet() override;
    void FormShow();
    void FormClose();
    void imgTSAMouseMove(const TViewMouse& m);
    void imgTSAMouseUp(const TViewMouse& m);
    // Opens the tile editor on the chosen tile; on OK the page is stored and the main window redrawn.
    void EditTile();

    int FrameX = 0;
    int FrameY = 0;

    TImageView* imgTSA;
    QStatusBar* StatusBar;
    QLabel* StatusPanels[2];

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void ChooseTile(int x, int y);

    TfrmEditorMain& window_;
};

#pragma once
// The 8x8 tile editor: repaints one tile of the current stage's background page in the four colours
// of one background sub-palette.

#include <QDialog>

#include "app/ImageView.h"
#include "model/classes_romdata.h"

class QPushButton;
class TEditorConfig;

// A picture view whose horizontal and vertical scales differ (the colour strip is shown twice as tall).
class TStretchView : public TImageView {
public:
    TStretchView(QWidget* parent, int scaleX, int scaleY) : TImageView(parent, scaleX), scaleX_(scaleX), scaleY_(scaleY) {}
    int ScaleX() const { return scaleX_; }
    int ScaleY() const { return scaleY_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int scaleX_, scaleY_;
};

class Tfrm16x16TileEditor : public QDialog {
    Q_OBJECT
public:
    // centreOn: the window the dialog opens centred on (the main window).
    Tfrm16x16TileEditor(TROMData& model, TEditorConfig& settings, QWidget* parent, QWidget* centreOn = nullptr);

    int TileNumber = 0;
    uint8_t PrimaryColour = 0;
    uint8_t SecondaryColour = 0;
    TTileGrid Grid;  // the working copy of the tile, written only by OK

    void FormShow();
    void DrawTileView();
    void DrawColourStrip();
    void imgTileMouseDown(const TViewMouse& m);
    void imgTileMouseMove(const TViewMouse& m);
    void imgAvailPalMouseUp(const TViewMouse& m);
    void cmdOKClick();

    TImageView* imgTile;
    TStretchView* imgAvailPal;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Paint(int x, int y, uint8_t colour);

    TROMData& model_;
    TEditorConfig& settings_;
    QWidget* centreOn_;
};

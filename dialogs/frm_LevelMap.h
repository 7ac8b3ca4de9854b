#pragma once
// The level map: one square per screen of the current stage, the room under the mouse below.

#include <QDialog>

#include "app/ImageView.h"

class QLabel;
class TROMData;

class TfrmLevelMap : public QDialog {
    Q_OBJECT
public:
    TfrmLevelMap(TROMData& rom, QWidget* parent);
    TImageView* imgLevelMap;
    QLabel* StatusPanel;
    void imgLevelMapMouseMove(const TViewMouse& m);

private:
    TROMData& rom_;
};

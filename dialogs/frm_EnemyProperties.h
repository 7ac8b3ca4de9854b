#pragma once
// An enemy's type slot and its five unnamed flag bits.

#include <QDialog>

class QCheckBox;
class QComboBox;
class TROMData;
class TEnemy;

class TfrmEnemyProperties : public QDialog {
    Q_OBJECT
public:
    // viewSprites: the main window's EnemyView, so the list shows the enemies of the page the markers use.
    TfrmEnemyProperties(TROMData& rom, int enemyIndex, int viewSprites, QWidget* parent);
    QComboBox* cbEnemyList;
    QCheckBox* chkUnknownBit[5];
    // The Flags byte the controls describe: slot from the list (kept when no row is chosen), bits from the boxes.
    uint8_t ChosenFlags() const;
    void cmdOKClick();

private:
    TEnemy& enemy_;
};

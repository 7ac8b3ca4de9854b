#pragma once
// Go To Stage: the stages of the current level, the current one selected.

#include <QDialog>

class QListWidget;
class TROMData;

class TfrmGoToLevel : public QDialog {
    Q_OBJECT
public:
    TfrmGoToLevel(TROMData& rom, QWidget* parent);
    int ChosenStage = -1;
    QListWidget* lstLevels;
    void cmdOKClick();

private:
    void FormShow();
    TROMData& rom_;
};

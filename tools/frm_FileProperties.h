#pragma once
// What the iNES header says, and putting it back to the values the data file expects.

#include <QDialog>

class QLabel;
class QLineEdit;
class TfrmEditorMain;

class TfrmFileProperties : public QDialog {
    Q_OBJECT
public:
    TfrmFileProperties(TfrmEditorMain& main, QWidget* parent);
    QLineEdit* txtFilename;
    QLabel* lblMemoryMapper;
    QLabel* lblPRGCount;
    QLabel* lblCHRCount;
    QLabel* lblFileSize;
    void FormShow();
    void cmdRestoreHeaderToDefaultClick();

private:
    TfrmEditorMain& main_;
};

#pragma once
// Hack distribution: saves the open ROM and writes an IPS patch against a clean copy of the game.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TfrmEditorMain;

class TfrmDistribution : public QDialog {
    Q_OBJECT
public:
    TfrmDistribution(TfrmEditorMain& main, QWidget* parent);

    void cmdOriginalClick();
    void cmdOutputClick();
    void cmdOKClick();
    // The patch file for the open ROM: the typed path, else the ROM's path with the extension ".ips".
    QString PatchPath() const;

    QLineEdit* txtOriginalROM;
    QPushButton* cmdOriginal;
    QLineEdit* txtOutputPatch;
    QPushButton* cmdOutput;
    QComboBox* cbPatchFormat;

protected:
    // The file pickers; a file name, or empty when the user cancelled. Tests answer them directly.
    virtual QString ChooseOpenFile(const QString& title, const QString& folder, const QString& filter);
    virtual QString ChooseSaveFile(const QString& title, const QString& folder, const QString& filter, const QString& suffix);

private:
    QString StartFolderFor(const QString& text) const;
    TfrmEditorMain& main_;
};

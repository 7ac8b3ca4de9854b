#pragma once
// The solidity editor: the entries of the current background page's solidity table (tiles up to a
// number get a tile type), beside the page's tiles so that a tile's number can be found by pointing.

#include <QDialog>

#include "app/ImageView.h"
#include "model/classes_romdata.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TEditorConfig;
class TfrmEditorMain;
class TVeskHexEdit;

class TfrmSolidityEditor : public QDialog {
    Q_OBJECT
public:
    TfrmSolidityEditor(TROMData& model, TEditorConfig& settings, QWidget* parent);

    // Why the current stage's table cannot be edited, or an empty text when it can.
    static QString CannotEdit(const TROMData& model);

    // The entries as edited; they live as long as the dialog, so that its OK can write them afterwards.
    const TSolidityList& List() const { return list_; }

    void FormShow();
    void FillList();
    void lvwSolidityDataClick();
    void cmdEditClick();
    void imgTSAMouseMove(const TViewMouse& m);
    void cmdOKClick();

    QTableWidget* lvwSolidityData;
    TImageView* imgTSA;
    TVeskHexEdit* txtUpToTile;
    QComboBox* cbTileType;
    QPushButton* cmdEdit;
    QLabel* lblHighlight;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* e) override;

private:
    int SelectedRow() const;

    TROMData& model_;
    TEditorConfig& settings_;
    TSolidityList list_;
};

// The main window's work after the dialog returns: on OK the table is written as one undo step.
void SolidityEditorClosed(TfrmEditorMain& window, const TfrmSolidityEditor& dialog, bool ok);

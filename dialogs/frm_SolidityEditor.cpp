#include "dialogs/frm_SolidityEditor.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

#include "app/Prompt.h"
#include "dialogs/DialogParts.h"
#include "config/classes_configuration.h"
#include "dialogs/VeskHexEdit.h"
#include "model/IniFile.h"

TfrmSolidityEditor::TfrmSolidityEditor(TROMData& model, TEditorConfig& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      model_(model), settings_(settings) {
    setObjectName("frmSolidityEditor");
    setWindowTitle("Solidity Editor");

    lvwSolidityData = new QTableWidget(0, 2, this);
    lvwSolidityData->setObjectName("lvwSolidityData");
    lvwSolidityData->setGeometry(8, 8, 233, 257);
    lvwSolidityData->setHorizontalHeaderLabels({"Up To Tile", "Tile Type"});
    lvwSolidityData->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lvwSolidityData->setColumnWidth(0, 100);
    lvwSolidityData->setColumnWidth(1, 100);
    lvwSolidityData->verticalHeader()->hide();
    lvwSolidityData->verticalHeader()->setDefaultSectionSize(lvwSolidityData->fontMetrics().height() + 4);
    lvwSolidityData->setShowGrid(true);
    lvwSolidityData->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwSolidityData->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwSolidityData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwSolidityData->setWordWrap(false);
    // The chosen row stays marked while the user types in the boxes below.
    QPalette pal = lvwSolidityData->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    lvwSolidityData->setPalette(pal);

    imgTSA = new TImageView(this, 2);
    imgTSA->setObjectName("imgTSA");
    imgTSA->setGeometry(248, 8, 256, 256);

    const QLabel* upTo = NewLabel(this, "lblUpToTile", "Up To Tile:", 8, 272, 21);
    txtUpToTile = new TVeskHexEdit(this);
    txtUpToTile->setObjectName("txtUpToTile");
    txtUpToTile->setGeometry(64, 272, 50, 21);
    txtUpToTile->setMaxLength(2);
    txtUpToTile->setText("00");
    PlaceAfter(txtUpToTile, upTo, 64, 4);
    QLabel* tileType = NewLabel(this, "lblTileType", "Tile Type:", 120, 272, 21);
    PlaceAfter(tileType, txtUpToTile, 120, 6);
    cbTileType = new QComboBox(this);
    cbTileType->setObjectName("cbTileType");
    cbTileType->setGeometry(176, 272, 137, 21);
    PlaceAfter(cbTileType, tileType, 176, 4);
    cmdEdit = new QPushButton("&Edit", this);
    cmdEdit->setObjectName("cmdEdit");
    cmdEdit->setGeometry(320, 272, 75, 21);
    cmdEdit->setAutoDefault(false);
    PlaceAfter(cmdEdit, cbTileType, 320, 7);
    lblHighlight = NewLabel(this, "lblHighlight", "Highlighted Tile: $00", 400, 272, 21);
    PlaceAfter(lblHighlight, cmdEdit, 400, 5);
    lblHighlight->setFixedWidth(lblHighlight->fontMetrics().horizontalAdvance("Highlighted Tile: $WW") + 2);
    // A wider font widens the window rather than cutting the label off; the buttons keep to the right edge.
    const int width = std::max(510, lblHighlight->x() + lblHighlight->width() + 4);
    setFixedSize(width, 336);

    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(width - 158, 304, 75, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(width - 78, 304, 75, 25);

    connect(lvwSolidityData, &QTableWidget::itemSelectionChanged, this, &TfrmSolidityEditor::lvwSolidityDataClick);
    connect(lvwSolidityData, &QTableWidget::cellClicked, this, &TfrmSolidityEditor::lvwSolidityDataClick);
    connect(cmdEdit, &QPushButton::clicked, this, &TfrmSolidityEditor::cmdEditClick);
    connect(imgTSA, &TImageView::MouseMove, this, &TfrmSolidityEditor::imgTSAMouseMove);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmSolidityEditor::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmSolidityEditor::CannotEdit(const TROMData& model) {
    const int page = model.CurrentStage->GetBGPatternTable();
    if (model.SolidityTableOffset(page) < 0)
        return "Background page $" + HexText(page) + " has no solidity table.";
    TSolidityList list;
    if (model.ReadSolidity(list) != TSolidityRead::Ok)
        return "The solidity table of background page $" + HexText(page) +
               " has no entry up to $FF before the end of its page or of the ROM, so it cannot be edited.";
    return QString();
}

void TfrmSolidityEditor::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TfrmSolidityEditor::FormShow() {
    list_.Clear();
    // Always the stage's own tiles, also while the main window shows the world map.
    TBitmap32 sheet(128, 128);
    model_.DrawPatternTable(sheet, settings_.LastPalTilEd(), false);
    imgTSA->SetBitmap(sheet);
    cbTileType->clear();
    for (const std::string& name : model_.TileTypeNames) cbTileType->addItem(QString::fromStdString(name));
    cbTileType->setCurrentIndex(-1);
    model_.ReadSolidity(list_);
    FillList();
}

void TfrmSolidityEditor::FillList() {
    const QSignalBlocker quiet(lvwSolidityData);
    lvwSolidityData->clearContents();
    lvwSolidityData->setRowCount(list_.Count());
    for (int i = 0; i < list_.Count(); ++i) {
        const TSolidity& s = list_[i];
        lvwSolidityData->setItem(i, 0, new QTableWidgetItem(HexText(s.UpToTile)));
        const QString type = s.TileType < static_cast<int>(model_.TileTypeNames.size())
                                 ? QString::fromStdString(model_.TileTypeNames[s.TileType])
                                 : QString();
        lvwSolidityData->setItem(i, 1, new QTableWidgetItem(type));
    }
    lvwSolidityData->clearSelection();
    lvwSolidityData->setCurrentCell(-1, -1);
}

int TfrmSolidityEditor::SelectedRow() const {
    const QModelIndexList rows = lvwSolidityData->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    const int row = rows.first().row();
    return row < list_.Count() ? row : -1;
}

void TfrmSolidityEditor::lvwSolidityDataClick() {
    const int row = SelectedRow();
    if (row < 0) return;
    txtUpToTile->setText(HexText(list_[row].UpToTile));
    cbTileType->setCurrentIndex(list_[row].TileType);
}

void TfrmSolidityEditor::cmdEditClick() {
    const int row = SelectedRow();
    if (row < 0 || cbTileType->currentIndex() < 0) return;
    const std::optional<int> upTo = txtUpToTile->Value();
    if (!upTo) {
        TPrompter::Current().Message(this, "Up To Tile must be a hexadecimal value.");
        return;
    }
    list_[row].UpToTile = static_cast<uint8_t>(*upTo & 0xFF);
    list_[row].TileType = static_cast<uint8_t>(cbTileType->currentIndex());
    FillList();
}

void TfrmSolidityEditor::imgTSAMouseMove(const TViewMouse& m) {
    if (m.X < 0 || m.X >= 256 || m.Y < 0 || m.Y >= 256) return;
    lblHighlight->setText("Highlighted Tile: $" + HexText((m.Y / 16) * 16 + m.X / 16));
}

void TfrmSolidityEditor::cmdOKClick() {
    if (list_.Empty() || list_.Last().UpToTile != 0xFF) {
        TPrompter::Current().Message(this, "The last solidity setting must be up to $FF.");
        return;
    }
    accept();
}

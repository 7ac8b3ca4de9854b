#include "dialogs/frm_GoToLevel.h"

#include <QListWidget>
#include <QPushButton>

#include "model/classes_romdata.h"

TfrmGoToLevel::TfrmGoToLevel(TROMData& rom, QWidget* parent) : QDialog(parent), rom_(rom) {
    setObjectName("frmGoToLevel");
    setWindowTitle("Go To Stage....");
    setFixedSize(264, 215);
    lstLevels = new QListWidget(this);
    lstLevels->setObjectName("lstLevels");
    lstLevels->setGeometry(8, 8, 249, 169);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(104, 184, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setGeometry(184, 184, 75, 25);
    connect(ok, &QPushButton::clicked, this, &TfrmGoToLevel::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstLevels, &QListWidget::itemDoubleClicked, this, &TfrmGoToLevel::cmdOKClick);
    FormShow();
}

void TfrmGoToLevel::FormShow() {
    lstLevels->clear();
    for (int s = 0; s < rom_.CurrentLevel->Stages.Count(); ++s)
        lstLevels->addItem(QString("%1-%2").arg(rom_.LevelIndex + 1).arg(s + 1));
    lstLevels->setCurrentRow(rom_.StageIndex);
}

void TfrmGoToLevel::cmdOKClick() {
    ChosenStage = lstLevels->currentRow();
    accept();
}

#include "dialogs/frm_EnemyProperties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "model/classes_romdata.h"

namespace {
// Unknown Bit 1..5 are bits 7..3 of the flags.
constexpr uint8_t BitOf(int i) { return static_cast<uint8_t>(0x80 >> i); }
}  // namespace

TfrmEnemyProperties::TfrmEnemyProperties(TROMData& rom, int enemyIndex, int viewSprites, QWidget* parent)
    : QDialog(parent), enemy_(rom.CurrentStage->Enemies->Items(enemyIndex)) {
    setObjectName("frmEnemyProperties");
    setWindowTitle("Enemy Properties");
    setFixedSize(361, 134);
    auto* lbl = new QLabel("ID:", this);
    lbl->setObjectName("lblID");
    lbl->move(8, 11);
    cbEnemyList = new QComboBox(this);
    cbEnemyList->setObjectName("cbEnemyList");
    cbEnemyList->setGeometry(64, 8, 145, 22);
    const QPoint places[5] = {{8, 40}, {136, 40}, {248, 40}, {8, 64}, {136, 64}};
    for (int i = 0; i < 5; ++i) {
        chkUnknownBit[i] = new QCheckBox(QString("Unknown Bit %1").arg(i + 1), this);
        chkUnknownBit[i]->setObjectName(QString("chkUnknownBit%1").arg(i + 1));
        chkUnknownBit[i]->move(places[i]);
    }
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(200, 104, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setGeometry(280, 104, 75, 25);
    connect(ok, &QPushButton::clicked, this, &TfrmEnemyProperties::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The page the stage view resolves the markers with.
    const TSideScrLevel& stage = *rom.CurrentStage;
    const uint8_t page = viewSprites == 0 ? stage.GetSprPatternTable() : stage.GetSpriteChange(viewSprites - 1);
    for (int slot = 0; slot < 6; ++slot)
        cbEnemyList->addItem(QString::fromStdString(rom.EnemyNames[rom.EnemyTypeFor(page, static_cast<uint8_t>(slot))]));
    cbEnemyList->setCurrentIndex(enemy_.TypeSlot() < 6 ? enemy_.TypeSlot() : -1);
    for (int i = 0; i < 5; ++i) chkUnknownBit[i]->setChecked(enemy_.Flags & BitOf(i));
}

uint8_t TfrmEnemyProperties::ChosenFlags() const {
    const int row = cbEnemyList->currentIndex();
    uint8_t flags = static_cast<uint8_t>(row >= 0 ? row : enemy_.TypeSlot());
    for (int i = 0; i < 5; ++i)
        if (chkUnknownBit[i]->isChecked()) flags |= BitOf(i);
    return flags;
}

void TfrmEnemyProperties::cmdOKClick() {
    enemy_.Flags = ChosenFlags();
    accept();
}

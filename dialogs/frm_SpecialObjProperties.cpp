#include "dialogs/frm_SpecialObjProperties.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/Prompt.h"
#include "dialogs/VeskHexEdit.h"
#include "model/classes_romdata.h"

TfrmSpecialObjProperties::TfrmSpecialObjProperties(TROMData& rom, int objectIndex, QWidget* parent)
    : QDialog(parent), object_(rom.CurrentStage->SpecObjs->Items(objectIndex)) {
    setObjectName("frmSpecialObjProperties");
    setWindowTitle("Special Object Properties");
    setFixedSize(400, 192);
    auto label = [&](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->move(x, y + 3);
    };
    label("lblRoom", "Room:", 8, 8);
    label("lblID", "ID:", 8, 32);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setGeometry(80, 8, 145, 22);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setGeometry(80, 32, 145, 22);
    for (int i = 0; i < 4; ++i) {
        label(QString("lblUnknown%1").arg(i + 1).toLatin1().constData(), QString("Unknown %1:").arg(i + 1), 8, 56 + 24 * i);
        VeskHexEdit[i] = new TVeskHexEdit(this);
        VeskHexEdit[i]->setObjectName(QString("VeskHexEdit%1").arg(i + 1));
        VeskHexEdit[i]->setMaxLength(2);
        VeskHexEdit[i]->setGeometry(80, 56 + 24 * i, 49, 21);
        VeskHexEdit[i]->setText(QString::fromStdString(HexByte(object_.Extra[static_cast<size_t>(i)])));
    }
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(240, 160, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setGeometry(320, 160, 75, 25);
    connect(ok, &QPushButton::clicked, this, &TfrmSpecialObjProperties::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const int screens = std::max(1, rom.CurrentStage->ScreenCount());
    for (int s = 0; s < screens; ++s) ComboBox1->addItem(QString::fromStdString(HexByte(s)));
    ComboBox1->setCurrentText(QString::fromStdString(HexByte(object_.Screen)));
    for (const std::string& name : rom.SpecObjNames) ComboBox2->addItem(QString::fromStdString(name));
    ComboBox2->setCurrentIndex(object_.Kind);
}

void TfrmSpecialObjProperties::cmdOKClick() {
    const auto room = ParseHex(Trim(ComboBox1->currentText().toStdString()));
    if (!room || *room < 0 || *room > 255) {
        TPrompter::Current().Message(this, "Room must be a hexadecimal value from 00 to FF.");
        return;
    }
    int extra[4];
    for (int i = 0; i < 4; ++i) {
        const auto v = VeskHexEdit[i]->Value();
        if (!v) {
            TPrompter::Current().Message(this, QString("Unknown %1 must be a hexadecimal value.").arg(i + 1));
            return;
        }
        extra[i] = *v;
    }
    object_.Screen = static_cast<uint8_t>(*room);
    if (ComboBox2->currentIndex() >= 0) object_.Kind = static_cast<uint8_t>(ComboBox2->currentIndex());
    for (int i = 0; i < 4; ++i) object_.Extra[static_cast<size_t>(i)] = static_cast<uint8_t>(extra[i]);
    accept();
}

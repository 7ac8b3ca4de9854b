#include "tools/frm_FileProperties.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Prompt.h"
#include "app/frm_EditorMain.h"

TfrmFileProperties::TfrmFileProperties(TfrmEditorMain& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmFileProperties");
    setWindowTitle("Properties");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Filename:", this));
    txtFilename = new QLineEdit(this);
    txtFilename->setObjectName("txtFilename");
    txtFilename->setReadOnly(true);
    txtFilename->setMinimumWidth(320);
    row->addWidget(txtFilename);
    layout->addLayout(row);
    auto label = [&](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        layout->addWidget(l);
        return l;
    };
    lblMemoryMapper = label("lblMemoryMapper");
    lblPRGCount = label("lblPRGCount");
    lblCHRCount = label("lblCHRCount");
    lblFileSize = label("lblFileSize");
    auto* buttons = new QHBoxLayout;
    auto* restore = new QPushButton("Restore iNES Header To Default", this);
    restore->setObjectName("cmdRestoreHeaderToDefault");
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    buttons->addWidget(restore);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(restore, &QPushButton::clicked, this, &TfrmFileProperties::cmdRestoreHeaderToDefaultClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    FormShow();
}

void TfrmFileProperties::FormShow() {
    const TROMData& rom = *main_.Model();
    txtFilename->setText(QString::fromStdString(rom.ROMFileName()));
    lblCHRCount->setText(QString("CHR Count: %1").arg(rom.CHRCount()));
    lblPRGCount->setText(QString("PRG Count: %1").arg(rom.PRGCount()));
    QString mapper = QString("Memory Mapper: %1 (%2)").arg(rom.MapperNumber()).arg(QString::fromStdString(rom.MapperName()));
    if (rom.HasDiskDudeTag()) mapper += " (Diskdude Tag Present)";
    lblMemoryMapper->setText(mapper);
    lblFileSize->setText(QString("File Size: %1 bytes").arg(rom.FileSize()));
}

void TfrmFileProperties::cmdRestoreHeaderToDefaultClick() {
    main_.BeginEdit("Restore Header");
    main_.Model()->RestoreHeader();
    main_.EndEdit();
    FormShow();
    TPrompter::Current().Message(this, "Header restored.");
}

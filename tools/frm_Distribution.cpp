#include "tools/frm_Distribution.h"

#include <QComboBox>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "app/frm_EditorMain.h"
#include "rom/Errors.h"
#include "tools/core_ips.h"

TfrmDistribution::TfrmDistribution(TfrmEditorMain& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmDistribution");
    setWindowTitle("Hack Distribution");

    txtOriginalROM = new QLineEdit(Q(main.Settings().IPSOriginal()), this);
    txtOriginalROM->setObjectName("txtOriginalROM");
    txtOriginalROM->setMinimumWidth(300);
    cmdOriginal = new QPushButton("...", this);
    cmdOriginal->setObjectName("cmdOriginal");
    txtOutputPatch = new QLineEdit(Q(main.Settings().IPSOutput()), this);
    txtOutputPatch->setObjectName("txtOutputPatch");
    txtOutputPatch->setToolTip("(If left unspecified, patch is dumped to the same directory and \nwith same name as ROM)");
    cmdOutput = new QPushButton("...", this);
    cmdOutput->setObjectName("cmdOutput");
    for (QPushButton* b : {cmdOriginal, cmdOutput}) b->setFixedWidth(b->fontMetrics().horizontalAdvance("...") + 16);
    cbPatchFormat = new QComboBox(this);
    cbPatchFormat->setObjectName("cbPatchFormat");
    cbPatchFormat->addItem("IPS");
    cbPatchFormat->setCurrentIndex(0);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");

    auto* grid = new QGridLayout(this);
    auto label = [&](const QString& text, QWidget* buddy, int row) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        grid->addWidget(l, row, 0);
    };
    label("Original ROM:", txtOriginalROM, 0);
    grid->addWidget(txtOriginalROM, 0, 1);
    grid->addWidget(cmdOriginal, 0, 2);
    label("Output Patch:", txtOutputPatch, 1);
    grid->addWidget(txtOutputPatch, 1, 1);
    grid->addWidget(cmdOutput, 1, 2);
    label("Patch Format:", cbPatchFormat, 2);
    grid->addWidget(cbPatchFormat, 2, 1, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOriginal, &QPushButton::clicked, this, &TfrmDistribution::cmdOriginalClick);
    connect(cmdOutput, &QPushButton::clicked, this, &TfrmDistribution::cmdOutputClick);
    connect(ok, &QPushButton::clicked, this, &TfrmDistribution::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmDistribution::StartFolderFor(const QString& text) const {
    if (!text.isEmpty()) {
        const QString folder = QFileInfo(text).absolutePath();
        if (QFileInfo(folder).isDir()) return folder;
    }
    return main_.ProgramFolder();
}

QString TfrmDistribution::ChooseOpenFile(const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, folder, filter);
}

QString TfrmDistribution::ChooseSaveFile(const QString& title, const QString& folder, const QString& filter, const QString& suffix) {
    QFileDialog dialog(this, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void TfrmDistribution::cmdOriginalClick() {
    const QString name = ChooseOpenFile("Please select the original unmodified ROM", StartFolderFor(txtOriginalROM->text()),
                                        "iNES Image (*.nes);;All Files (*)");
    if (name.isEmpty() || !QFileInfo(name).isFile()) return;
    txtOriginalROM->setText(QFileInfo(name).absoluteFilePath());
    txtOriginalROM->setCursorPosition(static_cast<int>(txtOriginalROM->text().size()));
}

void TfrmDistribution::cmdOutputClick() {
    const QString name =
        ChooseSaveFile("Please enter the name of your patch", StartFolderFor(txtOutputPatch->text()), "IPS File (*.ips)", "ips");
    if (name.isEmpty()) return;
    txtOutputPatch->setText(name);
    txtOutputPatch->setCursorPosition(static_cast<int>(txtOutputPatch->text().size()));
}

QString TfrmDistribution::PatchPath() const {
    if (!txtOutputPatch->text().isEmpty()) return txtOutputPatch->text();
    const QFileInfo rom(Q(main_.Model()->ROMFileName()));
    return rom.path() + "/" + rom.completeBaseName() + ".ips";
}

void TfrmDistribution::cmdOKClick() {
    TPrompter& prompt = TPrompter::Current();
    if (!QFileInfo(txtOriginalROM->text()).isFile()) {
        prompt.Message(this, "Please enter the original ROM filename to base the patch off.");
        return;
    }
    TROMData* rom = main_.Model();
    if (!rom) return;
    if (cbPatchFormat->currentText() == "IPS") {
        const QString patch = PatchPath();
        // The patch must never replace the ROM it describes, nor the clean ROM it is made against.
        auto same = [](const QString& a, const QString& b) {
            const QFileInfo fa(a), fb(b);
            if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
            return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
        };
        if (same(patch, Q(rom->ROMFileName())) || same(patch, txtOriginalROM->text())) {
            prompt.Message(this, "The patch would replace \"" + patch + "\". Please choose another name for the patch.");
            return;
        }
        // One saved state: the patch is made from the file on disk, so a ROM that could not be saved
        // yields no patch at all rather than one of an older state.
        main_.EndEdit();
        if (!rom->SaveROM()) {
            prompt.Message(this, Q(rom->SaveError()) + "\nNo patch was written.");
            return;
        }
        main_.UndoStack().setClean();
        try {
            CreateIPSFile(Std(txtOriginalROM->text()), rom->ROMFileName(), Std(patch));
        } catch (const EditorError& e) {
            prompt.Message(this, "The patch could not be written: " + Q(e.what()));
            return;
        }
    }
    accept();
}

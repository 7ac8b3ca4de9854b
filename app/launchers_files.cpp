// The file tools' commands of the main window: opening, backups, distribution, the emulator.

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QProcess>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "app/frm_EditorMain.h"

void TfrmEditorMain::ConnectFileCommands() {
    connect(Action("actOpenROM"), &QAction::triggered, this, &TfrmEditorMain::OpenROMCommand);
    connect(mnuLaunchAssociatedEmulator, &QAction::triggered, this, [this] {
        LaunchEmulator();
        RefreshTitle();
    });
    missingWindows_.push_back(Action("actBackupManager"));
    missingWindows_.push_back(Action("actDistribute"));
}

void TfrmEditorMain::OpenROMCommand() {
    QString start = QFileInfo(Q(settings_->RecentFile(0))).absolutePath();
    if (settings_->RecentFile(0).empty() || !QDir(start).exists()) start = programFolder_;
    const QString rom = QFileDialog::getOpenFileName(this, "Open ROM", start, "iNES Images (*.nes);;All Files (*.*)");
    if (!rom.isEmpty() && QFileInfo(rom).isFile()) OpenROM(rom, Q(settings_->DataFilePath()), settings_->AutoCheck());
}

void TfrmEditorMain::UpdateEmulatorMenuItem() {
    const QString path = Q(settings_->EmulatorPath());
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    mnuLaunchAssociatedEmulator->setText(exists ? "Launch " + QFileInfo(path).fileName() : QString("No emulator associated"));
    mnuLaunchAssociatedEmulator->setIcon(exists ? QFileIconProvider().icon(QFileInfo(path)) : GlyphIcon("E", QColor(0x40, 0x70, 0x40)));
    mnuLaunchAssociatedEmulator->setEnabled(exists && model_ != nullptr);
}

void TfrmEditorMain::LaunchEmulator() {
    TPrompter& prompt = TPrompter::Current();
    if (!model_) {
        prompt.Message(this, "Please load the ROM first.");
        return;
    }
    const QString emulator = Q(settings_->EmulatorPath());
    if (emulator.isEmpty() || !QFileInfo(emulator).isFile()) {
        prompt.Message(this, "There is no emulator associated, or the emulator cannot be found.");
        return;
    }
    if (settings_->EmuDisplaySaveWarning() &&
        prompt.Ask(this, TPromptKind::Warning, QString(),
                   "Warning: This will save all currently made changes to the ROM. Do you wish to proceed?\r\n\r\n"
                   "Please note, this warning can be disabled in the Preferences dialog.",
                   TButtons::YesNo) != TAnswer::Yes)
        return;
    EndEdit();
    // The emulator never runs on a ROM that could not be saved.
    if (!model_->SaveROM()) {
        prompt.Message(this, Q(model_->SaveError()) + "\nThe emulator was not started.");
        return;
    }
    undoStack_.setClean();
    const QString rom = Q(model_->ROMFileName());
    QString params;
    switch (settings_->EmuFileSettings()) {
    case 0:
    case 1:  // this platform has no short names: the full path
        params = " " + rom;
        break;
    case 2: params = " \"" + rom + "\""; break;
    default: return;
    }
    if (!QProcess::startDetached(emulator, QProcess::splitCommand(params)))
        prompt.Message(this, "The emulator \"" + emulator + "\" could not be started.");
}

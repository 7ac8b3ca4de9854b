// The file tools' commands of the main window: opening, backups, distribution, the emulator.

#include <QFileIconProvider>
#include <QFileInfo>
#include <QProcess>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "app/frm_EditorMain.h"
#include "tools/core_emulator.h"
#include "tools/frm_BackupManagement.h"
#include "tools/frm_Distribution.h"
#include "tools/frm_OpenDialog.h"

void TfrmEditorMain::ConnectFileCommands() {
    connect(Action("actOpenROM"), &QAction::triggered, this, &TfrmEditorMain::OpenROMCommand);
    connect(Action("actBackupManager"), &QAction::triggered, this, [this] {
        TfrmBackupManagement dialog(programFolder_, this);
        dialog.exec();
    });
    connect(Action("actDistribute"), &QAction::triggered, this, [this] {
        if (!model_) return;
        TfrmDistribution dialog(*this, this);
        dialog.exec();
        // Also after Cancel: a save made before a patch that failed has changed the title.
        RefreshTitle();
    });
    connect(mnuLaunchAssociatedEmulator, &QAction::triggered, this, [this] {
        LaunchEmulator();
        RefreshTitle();
    });
}

void TfrmEditorMain::OpenROMCommand() {
    TfrmOpenDialog dialog(*settings_, programFolder_, this);
    const QString recent = Q(settings_->RecentFile(0));
    if (!recent.isEmpty()) dialog.StartFolder = QFileInfo(recent).absolutePath();
    dialog.exec();
    if (!dialog.ROMPath.isEmpty() && QFileInfo(dialog.ROMPath).isFile()) OpenROM(dialog.ROMPath, dialog.DataFilePath, dialog.AutoCheckROMType);
}

void TfrmEditorMain::UpdateEmulatorMenuItem() {
    const QString path = Q(settings_->EmulatorPath());
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    mnuLaunchAssociatedEmulator->setText(exists ? "Launch " + QFileInfo(path).fileName() : QString("No emulator associated"));
    // The system's picture for the emulator's file where it has one, else the generic emulator picture.
    QIcon icon;
    if (exists) icon = QFileIconProvider().icon(QFileInfo(path));
    mnuLaunchAssociatedEmulator->setIcon(!icon.isNull() ? icon : GlyphIcon("E", QColor(0x40, 0x70, 0x40)));
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
                   "Warning: This will save all currently made changes to the ROM. Do you wish to proceed?\n\n"
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
    const std::optional<std::string> params = EmulatorParameters(settings_->EmuFileSettings(), model_->ROMFileName());
    if (!params) return;
    // The parameter string is split as a command line is; the working folder stays the editor's.
    if (!QProcess::startDetached(emulator, QProcess::splitCommand(Q(*params))))
        prompt.Message(this, "The emulator \"" + emulator + "\" could not be started.");
}

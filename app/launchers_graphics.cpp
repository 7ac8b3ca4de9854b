// The graphics tools' commands of the main window: TSA editor, palette editor, solidity editor,
// level settings. The work after each dialog is a function of its own, so that it can be driven
// without a modal loop.

#include "app/Prompt.h"
#include "app/frm_EditorMain.h"
#include "dialogs/frm_LevelSettings.h"
#include "dialogs/frm_PaletteEditor.h"
#include "dialogs/frm_SolidityEditor.h"
#include "dialogs/frm_TSAEditor.h"
#include "model/IniFile.h"

void TfrmEditorMain::ConnectGraphicsCommands() {
    connect(Action("actTSAEditor"), &QAction::triggered, this, [this] {
        if (!model_) return;
        if (!TSAEditor) TSAEditor = new TfrmTSA(*this);
        TSAEditor->show();
        TSAEditor->raise();
        TSAEditor->activateWindow();
        RedrawPicker();
    });
    connect(Action("actPaletteEditor"), &QAction::triggered, this, [this] {
        if (!model_) return;
        EndEdit();
        TfrmPaletteEditor dialog(*model_, [this] { RefreshGraphics(); }, this);
        const bool ok = dialog.exec() == QDialog::Accepted;
        PaletteEditorClosed(*this, dialog, ok);
    });
    connect(Action("actSolidityEditor"), &QAction::triggered, this, [this] {
        if (!model_) return;
        EndEdit();
        const QString refused = TfrmSolidityEditor::CannotEdit(*model_);
        if (!refused.isEmpty()) {
            TPrompter::Current().Message(this, refused);
            return;
        }
        TfrmSolidityEditor dialog(*model_, *settings_, this);
        const bool ok = dialog.exec() == QDialog::Accepted;
        SolidityEditorClosed(*this, dialog, ok);
    });
    connect(Action("actLevelSettings"), &QAction::triggered, this, [this] {
        if (!model_) return;
        EndEdit();
        TfrmLevelSettings dialog(*model_, this);
        const bool ok = dialog.exec() == QDialog::Accepted;
        LevelSettingsClosed(*this, dialog, ok);
    });
}

void PaletteEditorClosed(TfrmEditorMain& window, const TfrmPaletteEditor& dialog, bool ok) {
    TROMData& model = *window.Model();
    const int number = dialog.PaletteNumber();
    if (ok && number >= 0) {
        window.BeginEdit("Edit Palette");
        model.CurrentStage->SetPaletteIndex(static_cast<uint8_t>(number));
        const bool stored = model.StoreStagePalette();
        window.RefreshGraphics();
        window.RefreshTitle();
        window.EndEdit();
        if (!stored)
            TPrompter::Current().Message(&window, "The colours of palette $" + QString::fromStdString(HexByte(number)) +
                                                      " lie outside the ROM and were not written.");
        return;
    }
    // Cancel, or OK without a palette number (the stage's number lies beyond the list): the stage
    // keeps its own number and colours.
    if (dialog.PaletteChanged) {
        model.LoadStagePalette();
        window.RefreshGraphics();
    }
}

void SolidityEditorClosed(TfrmEditorMain& window, const TfrmSolidityEditor& dialog, bool ok) {
    if (!ok) return;
    window.BeginEdit("Edit Solidity");
    const bool written = window.Model()->WriteSolidity(dialog.List());
    window.EndEdit();
    if (!written) TPrompter::Current().Message(&window, "The solidity table could not be written: it lies outside the ROM.");
    window.RefreshTitle();
}

void LevelSettingsClosed(TfrmEditorMain& window, TfrmLevelSettings& dialog, bool ok) {
    if (!ok) return;
    TROMData& model = *window.Model();
    window.BeginEdit("Level Settings");
    dialog.ApplySettings();
    if (dialog.BGPage() != model.CurrentStage->GetBGPatternTable()) {
        model.StorePatternBuffer();
        model.CurrentStage->SetBGPatternTable(static_cast<uint8_t>(dialog.BGPage()));
        model.LoadPatternBuffer();
    }
    window.RefreshGraphics();
    window.RefreshTitle();
    window.EndEdit();
}

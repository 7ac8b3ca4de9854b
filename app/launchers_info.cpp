// The navigation, property, information and preferences commands of the main window.

#include <QFileInfo>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "app/frm_EditorMain.h"
#include "config/frm_Preferences.h"
#include "dialogs/frm_EnemyProperties.h"
#include "dialogs/frm_GoToLevel.h"
#include "dialogs/frm_LevelMap.h"
#include "dialogs/frm_SpecialObjProperties.h"
#include "tools/frm_About.h"
#include "tools/frm_DebugROMViewer.h"
#include "tools/frm_FileProperties.h"
#include "tools/frm_KeyboardLayouts.h"

void TfrmEditorMain::ConnectInfoCommands() {
    connect(Action("actPreferences"), &QAction::triggered, this, [this] {
        TfrmPreferences dialog(*settings_, programFolder_, model_ != nullptr, this);
        if (dialog.exec() == QDialog::Accepted) AfterPreferences();
    });
    connect(Action("actGoToLevel"), &QAction::triggered, this, [this] {
        if (!model_) return;
        EndEdit();
        TfrmGoToLevel dialog(*model_, this);
        if (dialog.exec() == QDialog::Accepted) GoToStage(dialog.ChosenStage);
    });
    connect(Action("actLevelMap"), &QAction::triggered, this, [this] {
        if (!model_) return;
        TfrmLevelMap dialog(*model_, this);
        dialog.exec();
    });
    connect(Action("actProperties"), &QAction::triggered, this, [this] {
        if (!model_) return;
        TfrmFileProperties dialog(*this, this);
        dialog.exec();
        RefreshTitle();
    });
    connect(Action("actKeyboardLayout"), &QAction::triggered, this, [this] {
        TfrmKeyboardLayout dialog(this);
        dialog.exec();
    });
    connect(Action("actAbout"), &QAction::triggered, this, [this] {
        TfrmAbout dialog(this);
        dialog.exec();
    });
    connect(Action("actDebugROMViewer"), &QAction::triggered, this, [this] {
        if (!model_) return;
        TfrmDebugROMViewer dialog(*model_, this);
        dialog.exec();
    });
}

void TfrmEditorMain::AfterPreferences() {
    if (!settings_->SaveSettings()) ReportSettingsNotSaved();
    UpdateEmulatorMenuItem();
    if (model_) {
        // Without the chosen palette file the built-in colours stay.
        const QString palette = Q(settings_->PalettePath());
        if (QFileInfo(palette).isFile())
            model_->LoadPaletteFile(Std(palette));
        else
            model_->LoadDefaultPalette();
        RefreshGraphics();
    }
    Action("actEnableGridlines")->setChecked(settings_->ShowGridlines());
}

void TfrmEditorMain::GoToStage(int stage) {
    if (!model_ || stage < 0 || stage == model_->StageIndex) return;
    model_->SetStage(stage);
    ResetView();
    RedrawTSASheet();
}

void TfrmEditorMain::EditEnemyProperties(int index) {
    BeginEdit("Edit Enemy");
    TfrmEnemyProperties dialog(*model_, index, EnemyView, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    EndEdit();
    if (ok) {
        RedrawView();
        RefreshTitle();
    }
}

void TfrmEditorMain::EditSpecObjProperties(int index) {
    BeginEdit("Edit Special Object");
    TfrmSpecialObjProperties dialog(*model_, index, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    EndEdit();
    if (ok) {
        RedrawView();
        RefreshTitle();
    }
}

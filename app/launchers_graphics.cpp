// The graphics tools' commands of the main window.

#include "app/frm_EditorMain.h"

void TfrmEditorMain::ConnectGraphicsCommands() {
    for (const char* name : {"actTSAEditor", "actPaletteEditor", "actSolidityEditor", "actLevelSettings"})
        missingWindows_.push_back(Action(name));
}

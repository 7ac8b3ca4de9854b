// The navigation, property, information and preferences commands of the main window.

#include "app/frm_EditorMain.h"

void TfrmEditorMain::ConnectInfoCommands() {
    for (const char* name : {"actPreferences", "actGoToLevel", "actLevelMap", "actProperties", "actKeyboardLayout", "actAbout",
                             "actDebugROMViewer"})
        missingWindows_.push_back(Action(name));
}

// The property dialogs of enemies and special objects come with the navigation and property windows;
// until then Shift+right on an object only holds it.
void TfrmEditorMain::EditEnemyProperties(int) {}
void TfrmEditorMain::EditSpecObjProperties(int) {}

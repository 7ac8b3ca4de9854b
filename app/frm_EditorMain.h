#pragma once
// The main window: owner of the open ROM and the settings, its commands, and stage editing.

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QScrollBar>
#include <QUndoStack>
#include <memory>

#include "app/ImageView.h"
#include "app/Prompt.h"
#include "config/classes_configuration.h"
#include "model/classes_romdata.h"

class QAction;
class QActionGroup;
class QMenu;
class QToolBar;

// The TSA editor as the main window sees it: a sheet that redraws when the stage or graphics change.
class TSheetWindow : public QWidget {
public:
    using QWidget::QWidget;
    virtual void DrawSheet() = 0;
};

enum class TEditMode { Map = 0, Object = 1 };
enum class TDragKind { None = -1, Enemy = 1, SpecObj = 2 };

// Where an edit happened, so that undo and redo can show it.
struct TEditPlace {
    int Level = 0, Stage = 0, Screen = 0;
};

class TfrmEditorMain : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: where options.ini, Data/ and Backups/ live (the executable's folder).
    explicit TfrmEditorMain(const QString& programFolder, QWidget* parent = nullptr);
    ~TfrmEditorMain() override;

    // ---- The program-wide references ----
    TROMData* Model() const { return model_.get(); }
    TEditorConfig& Settings() const { return *settings_; }
    QString ProgramFolder() const { return programFolder_; }
    QString DataFolder() const { return programFolder_ + "/Data"; }

    // ---- ROM handling ----
    void OpenROM(const QString& romPath, QString dataPath, bool autoCheck);
    bool CloseROM(bool appClosing);  // false when the user cancelled or a save failed
    void SaveROMCommand();
    void RefreshTitle();
    void EnableEditing(bool on);
    void RefreshRecentMenu();
    void UpdateEmulatorMenuItem();

    // ---- Drawing ----
    void DrawStageView();
    void DrawTilePicker();
    void DrawWorldView();
    void DrawWorldPicker();
    void RedrawView();
    void RedrawPicker();
    void RefreshGraphics();

    // ---- View state ----
    void ResetView();
    void ShowStageStatus();
    void UpdateStageScrollRanges();
    void UpdatePickerRange();
    void ShowWorldStatus();
    void UpdateWorldScrollRanges();
    void NormalLayout();
    void TallLayout();
    void SetMapEditingMode();
    void SetObjectEditingMode();
    // Page Up / Page Down with and without Shift; true when the key was handled.
    bool HandlePageKey(int key, Qt::KeyboardModifiers modifiers);
    // Files dropped on the window: the first opens as a ROM.
    bool DropFiles(const QList<QUrl>& urls);
    void LaunchEmulator();
    // What follows the Preferences' OK, and Go To Stage's.
    void AfterPreferences();
    void GoToStage(int stage);
    // Shift+right on an object in object editing mode.
    void EditEnemyProperties(int index);
    void EditSpecObjProperties(int index);


    // ---- Undo: every gesture that changes the ROM or the object lists is one step ----
    void BeginEdit(const QString& name);
    void EndEdit();
    QUndoStack& UndoStack() { return undoStack_; }
    void ApplyEdit(const std::vector<TByteChange>& changes, const TObjectState& objects, bool objectsChanged, const TEditPlace& place,
                   bool undo);

    // ---- Window state ----
    TEditMode EditMode = TEditMode::Map;
    uint8_t LeftBlock = 0;
    uint8_t MiddleBlock = 0;
    uint8_t WorldLeftBlock = 0;
    uint8_t WorldMiddleBlock = 0;
    int EnemyView = 0;
    bool WorldView = false;
    int TSATile = -1;
    QPointer<TSheetWindow> TSAEditor;  // the modeless TSA editor while it is open
    void RedrawTSASheet() {
        if (TSAEditor) TSAEditor->DrawSheet();
    }
    void CloseTSAEditor();
    int DragIndex = -1;
    TDragKind DragKind = TDragKind::None;
    uint8_t ShowMask() const;

    // Controls, public for the dialogs and the tests.
    TImageView* imgScreen;
    TImageView* imgTiles;
    QScrollBar* scrLevel;
    QScrollBar* scrLevelV;
    QScrollBar* scrTiles;
    QToolBar* tlbToolbar;
    QLabel* StatusPanels[3];
    QAction* Action(const char* objectName) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void CreateActions();
    // The commands that open windows, one group per file (launchers_*.cpp).
    void ConnectFileCommands();      // Open ROM, Backup Manager, Distribute Hack, emulator
    void ConnectGraphicsCommands();  // TSA Editor, Palette Editor, Solidity Editor, Level Settings
    void ConnectInfoCommands();      // Preferences, Go To Stage, Level Map, File Properties, Keyboard Layout, About, Debug ROM Viewer
    void CreateMenus();
    void CreateToolbar();
    void CreateControls();
    void ApplyLayout(int clientHeight, int viewHeight, int scrLevelTop);
    QAction* NewAction(const char* name, const QString& caption, const QString& hint, const QKeySequence& key, bool needsROM);

    void imgScreenMouseDown(const TViewMouse& m);
    void imgScreenMouseMove(const TViewMouse& m);
    void imgScreenMouseUp(const TViewMouse& m);
    void imgTilesMouseDown(const TViewMouse& m);
    void scrLevelChange();
    void BringIntoPicker(uint8_t block);
    void AddNewEnemy();
    void ToggleGridlines();
    void OpenROMCommand();
    void OpenRecent(int slot);
    void DiscardModel();
    void ReportSettingsNotSaved();
    // Asks whether to save a modified ROM first; false when the user cancels or the save fails.
    bool SaveChangesFirst(TButtons buttons);
    TEditPlace Place() const;
    void ShowPlace(const TEditPlace& place);

    QString programFolder_;
    std::unique_ptr<TEditorConfig> settings_;
    std::unique_ptr<TROMData> model_;
    QUndoStack undoStack_;
    bool editOpen_ = false;
    QString editName_;
    TEditPlace editPlace_;
    TObjectState editObjects_;
    TBitmap32 viewPicture_, pickerPicture_;
    int clientHeight_ = 0;

    std::vector<QAction*> romActions_;     // enabled only while a ROM is open
    QMenu* mnuRecent = nullptr;
    QAction* recentItems_[5] = {};
    QAction* mnuLaunchAssociatedEmulator = nullptr;
    QAction* mnuEnemies = nullptr;
    QAction* mnuSpecialObjects = nullptr;
    QAction* mnuDebugROMViewer = nullptr;
    QAction* spriteViews_[5] = {};
    QActionGroup* modeGroup_ = nullptr;
    QActionGroup* viewGroup_ = nullptr;
    QWidget* client_ = nullptr;
};

// The build-time switch that shows the Debug ROM Viewer's menu item.
extern const bool DebugBuild;

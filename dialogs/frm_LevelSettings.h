#pragma once
// Level Settings: the room grid, the background and sprite pattern-table pages and the four sprite
// changes of the current stage, each page previewed as a picture of its tiles.

#include <QDialog>

#include "app/ImageView.h"
#include "model/classes_romdata.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTabWidget;
class TfrmEditorMain;
class TVeskHexEdit;

class TfrmLevelSettings : public QDialog {
    Q_OBJECT
public:
    TfrmLevelSettings(TROMData& model, QWidget* parent);

    uint8_t SpriteChangePage = 0;
    int HighestPage() const;  // P: 2 x CHRCount - 1

    void FormShow();
    void ShowSettings();
    void DrawBGPage();
    void DrawSprPage();
    void DrawSpriteChange();
    void scrBGSettingChange();
    void scrSprSettingChange();
    // Entering a sprite-change box or typing in it previews the page it names.
    void txtSpriteChange1Enter(TVeskHexEdit* box);
    void lstRoomsDblClick();
    // Checks every box; refuses with a message naming the first that cannot be read.
    void cmdOKClick();
    // The writes of OK, in order: rooms, sprite page, the four sprite changes.
    void ApplySettings();
    int BGPage() const;

    QTabWidget* pgcPatternTableSettings;
    QLineEdit* txtWidth;
    QLineEdit* txtHeight;
    QListWidget* lstRooms;
    QLabel* lblBGPatternTable;
    QScrollBar* scrBGSetting;
    TImageView* imgBGPatternTable;
    QLabel* lblSprPatternTable;
    QScrollBar* scrSprSetting;
    TImageView* imgSprPatternTable;
    QGroupBox* rdgInterLeave;
    QButtonGroup* rdgInterLeaveItems;
    QListWidget* lstAvailableEnemies;
    TVeskHexEdit* txtSpriteChange[4];
    TImageView* imgSpriteChange;
    QGroupBox* rdgSpriteChange;
    QButtonGroup* rdgSpriteChangeItems;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    static constexpr int SpriteChangesTab = 3;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void DrawPage(TImageView* view, int page, int layout);

    TROMData& model_;
};

// The main window's work after the dialog returns: on OK the dialog's writes, then the background page
// switch, as one undo step, and the redraw.
void LevelSettingsClosed(TfrmEditorMain& window, TfrmLevelSettings& dialog, bool ok);

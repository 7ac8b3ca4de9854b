#pragma once
// Helpers for the window tests: a prompter that answers from a script, a program folder with its
// own Data folder, and mouse events on the picture views.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

#include <QImage>
#include <functional>

#include "app/ImageView.h"
#include "app/Prompt.h"
#include "support/fixtures.h"

class TScriptedPrompter : public TPrompter {
public:
    TScriptedPrompter() { Install(this); }
    ~TScriptedPrompter() override { Install(nullptr); }
    TAnswer Ask(QWidget*, TPromptKind, const QString& caption, const QString& text, TButtons buttons) override;
    std::optional<QString> Input(QWidget*, const QString& caption, const QString& prompt, const QString& value) override;

    std::deque<TAnswer> answers;           // next answers to questions; a message takes Ok
    std::deque<std::optional<QString>> inputs;
    QStringList texts;                     // every text shown, in order
    QStringList captions;
};

// A program folder: Data/ with data.dat naming game.ini, the fixture game's files, and options.ini.
struct TProgramFolder {
    explicit TProgramFolder(const std::vector<TLevelSpec>& levels = StandardLevels(), int totalEnemies = 100);
    TTempDir dir;
    TTestGame game;
    QString Folder() const { return QString::fromStdString(dir.Path()); }
    QString Rom() const { return QString::fromStdString(dir.File("game.nes")); }
    QString DataFile() const { return QString::fromStdString(dir.File("Data/game.ini")); }
};

class TfrmEditorMain;
class TROMData;

// A main window with the fixture game open. A test's own fixture derives from it, installs its
// prompter as a member, and calls Open() in its constructor, so every prompt of the window is answered.
struct TOpenEditor {
    explicit TOpenEditor(const std::vector<TLevelSpec>& levels = StandardLevels(), int totalEnemies = 100);
    virtual ~TOpenEditor();
    // prepare may change the program folder's files before the window opens them.
    void Open(const std::function<void(TProgramFolder&)>& prepare = nullptr, bool show = true);
    TROMData& rom();
    const std::vector<uint8_t>& bytes();
    // Offsets whose bytes differ from the image as opened.
    std::vector<TOffset> Changed();

    TProgramFolder folder;
    std::unique_ptr<TfrmEditorMain> w;
    std::vector<uint8_t> original;  // the image as opened
};

// A picture as the views show it.
QImage ToImage(const TBitmap32& b);

// Mouse gestures on a view, in the view's own pixels.
void Press(TImageView* view, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
void Move(TImageView* view, Qt::MouseButtons buttons, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
void Release(TImageView* view, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);

#include "ui/ui_support.h"

#include <QMouseEvent>
#include <QApplication>
#include <cstring>
#include <filesystem>

#include "app/frm_EditorMain.h"

TAnswer TScriptedPrompter::Ask(QWidget*, TPromptKind, const QString& caption, const QString& text, TButtons buttons) {
    texts << text;
    captions << caption;
    if (buttons == TButtons::Ok) return TAnswer::Ok;
    if (answers.empty()) return TAnswer::Cancel;
    TAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> TScriptedPrompter::Input(QWidget*, const QString& caption, const QString& prompt, const QString& value) {
    texts << prompt;
    captions << caption;
    if (inputs.empty()) return value;
    const bool answered = inputs.front().has_value();
    const QString text = answered ? *inputs.front() : QString();
    inputs.pop_front();
    if (!answered) return std::nullopt;
    return text;
}

TProgramFolder::TProgramFolder(const std::vector<TLevelSpec>& levels, int totalEnemies) : game(BuildTestGame(levels, totalEnemies)) {
    std::filesystem::create_directories(dir.File("Data"));
    dir.Write("game.nes", game.rom.bytes);
    dir.Write("Data/game.ini", game.ini.ToText());
    dir.Write("Data/data.dat", std::string("game.ini\n"));
    // The game's data file is the default one, and no backups get in the way of the tests.
    dir.Write("options.ini", std::string("[General]\nDataFile=game.ini\nBackup=0\nAutoCheck=0\n"));
}

namespace {
void Send(TImageView* view, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int x, int y, Qt::KeyboardModifiers mods) {
    const QPointF local(x, y);
    QMouseEvent e(type, local, view->mapToGlobal(local), button, buttons, mods);
    QApplication::sendEvent(view, &e);
}
}  // namespace

void Press(TImageView* view, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    Send(view, QEvent::MouseButtonPress, button, button, x, y, mods);
}
void Move(TImageView* view, Qt::MouseButtons buttons, int x, int y, Qt::KeyboardModifiers mods) {
    Send(view, QEvent::MouseMove, Qt::NoButton, buttons, x, y, mods);
}
void Release(TImageView* view, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers mods) {
    Send(view, QEvent::MouseButtonRelease, button, Qt::NoButton, x, y, mods);
}

TOpenEditor::TOpenEditor(const std::vector<TLevelSpec>& levels, int totalEnemies) : folder(levels, totalEnemies) {}

TOpenEditor::~TOpenEditor() = default;

void TOpenEditor::Open(const std::function<void(TProgramFolder&)>& prepare, bool show) {
    if (prepare) prepare(folder);
    w = std::make_unique<TfrmEditorMain>(folder.Folder());
    if (show) w->show();
    w->OpenROM(folder.Rom(), folder.DataFile(), false);
    if (w->Model()) original = rom().Image().Data();
}

TROMData& TOpenEditor::rom() { return *w->Model(); }

const std::vector<uint8_t>& TOpenEditor::bytes() { return rom().Image().Data(); }

std::vector<TOffset> TOpenEditor::Changed() {
    std::vector<TOffset> out;
    for (size_t i = 0; i < bytes().size(); ++i)
        if (bytes()[i] != original[i]) out.push_back(static_cast<TOffset>(i));
    return out;
}

QImage ToImage(const TBitmap32& b) {
    QImage img(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < b.Height(); ++y) std::memcpy(img.scanLine(y), b.Row(y), static_cast<size_t>(b.Width()) * 4);
    return img;
}

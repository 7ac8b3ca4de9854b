// Quillborn: the editor's entry point.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "app/Prompt.h"
#include "app/frm_EditorMain.h"


int main(int argc, char** argv) {
    TQuillbornApp app(argc, argv);
    QApplication::setApplicationName("Quillborn");

    // Our own flags; what remains is the command line of the editor.
    QStringList args = app.arguments().mid(1);
    QString screenshot;
    bool world = false;
    for (int i = 0; i < args.size();) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[i + 1];
            args.remove(i, 2);
        } else if (args[i] == "--world") {
            world = true;
            args.remove(i);
        } else {
            ++i;
        }
    }

    TfrmEditorMain window(QCoreApplication::applicationDirPath());
    window.show();
    // Exactly one argument naming an existing file opens it as a ROM.
    if (args.size() == 1 && QFileInfo(args[0]).isFile()) {
        try {
            window.OpenROM(args[0], QString::fromStdString(window.Settings().DataFilePath()), window.Settings().AutoCheck());
        } catch (const std::exception& e) {
            if (screenshot.isEmpty()) TPrompter::Current().Error(&window, QString::fromStdString(e.what()));
            else std::fprintf(stderr, "error: %s\n", e.what());
        }
    }
    if (!screenshot.isEmpty()) {
        if (!window.Model()) {
            std::fprintf(stderr, "error: the ROM could not be opened\n");
            return 2;
        }
        if (world) {
            // The world map of the first level that has one, as Shift+Page Down on its first stage shows it.
            TROMData& rom = *window.Model();
            for (int l = 0; l < rom.Levels.Count(); ++l)
                if (rom.Levels[l].HasWorldMap()) {
                    while (rom.LevelIndex != l) window.HandlePageKey(Qt::Key_PageUp, Qt::NoModifier);
                    window.HandlePageKey(Qt::Key_PageDown, Qt::ShiftModifier);
                    break;
                }
        }
        QApplication::processEvents();
        if (!window.grab().save(screenshot)) {
            std::fprintf(stderr, "error: cannot write %s\n", screenshot.toLocal8Bit().constData());
            return 2;
        }
        return 0;
    }
    return app.exec();
}

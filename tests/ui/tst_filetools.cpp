// The file tools: open dialog, backup manager, hack distribution and emulator launch, on a real main window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <zip.h>

#include <filesystem>
#include <functional>

#include "app/Application.h"
#include "app/frm_EditorMain.h"
#include "tools/core_backup.h"
#include "tools/core_emulator.h"
#include "tools/core_ips.h"
#include "tools/frm_BackupManagement.h"
#include "tools/frm_Distribution.h"
#include "tools/frm_OpenDialog.h"
#include "ui/ui_support.h"

namespace fs = std::filesystem;

namespace {

QString S(const std::string& s) { return QString::fromStdString(s); }

struct Editor : TOpenEditor {
    TScriptedPrompter prompt;
    Editor() { Open(nullptr, false); }
    // One undoable change of the ROM in memory.
    void Change(uint8_t block = 0x2A) {
        w->BeginEdit("Paint Blocks");
        rom().SetBlock(1, 1, block);
        w->EndEdit();
    }
};

// The names the file list shows, once the folder has been read.
QStringList ListedFiles(const TfrmOpenDialog& d) {
    QStringList names;
    const QModelIndex root = d.FileListBox->rootIndex();
    for (int r = 0; r < d.FileModel()->rowCount(root); ++r) names << d.FileModel()->index(r, 0, root).data().toString();
    names.sort();
    return names;
}

// Runs a modal window's own event loop, handing the window to 'act' once it is up.
template <typename TWindow>
void WhenShown(std::function<void(TWindow&)> act) {
    QTimer::singleShot(0, [act] {
        auto* w = qobject_cast<TWindow*>(QApplication::activeModalWidget());
        QVERIFY2(w, "the window did not open");
        act(*w);
        if (w->isVisible()) w->reject();
    });
}

// A distribution dialog whose file pickers answer from the test.
class TTestDistribution : public TfrmDistribution {
public:
    using TfrmDistribution::TfrmDistribution;
    QString openAnswer, saveAnswer;
    QStringList asked;  // title | folder | filter [| suffix]
protected:
    QString ChooseOpenFile(const QString& title, const QString& folder, const QString& filter) override {
        asked << title + "|" + folder + "|" + filter;
        return openAnswer;
    }
    QString ChooseSaveFile(const QString& title, const QString& folder, const QString& filter, const QString& suffix) override {
        asked << title + "|" + folder + "|" + filter + "|" + suffix;
        return saveAnswer;
    }
};

const QString EmulatorWarning =
    "Warning: This will save all currently made changes to the ROM. Do you wish to proceed?\n\n"
    "Please note, this warning can be disabled in the Preferences dialog.";

// A stand-in emulator: writes the number of its arguments and each argument in brackets.
QString WriteRecorder(const TTempDir& dir) {
    const std::string script = dir.Write("record emu.sh",
                                         std::string("#!/bin/sh\n"
                                                     "out=\"$(dirname \"$0\")/args.txt\"\n"
                                                     "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; } > \"$out.tmp\"\n"
                                                     "mv \"$out.tmp\" \"$out\"\n"));
    fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    return S(script);
}

QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

std::vector<uint8_t> ZipEntry(const QString& archive, QString* name) {
    int err = 0;
    zip_t* za = zip_open(archive.toStdString().c_str(), ZIP_RDONLY, &err);
    if (!za || zip_get_num_entries(za, 0) != 1) {
        if (za) zip_close(za);
        return {};
    }
    zip_stat_t st;
    zip_stat_index(za, 0, 0, &st);
    *name = QString::fromUtf8(st.name);
    std::vector<uint8_t> data(st.size);
    zip_file_t* f = zip_fopen_index(za, 0, 0);
    zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    zip_close(za);
    return data;
}

}  // namespace

class TestFileTools : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------- open dialog

    void openDialogDataFileListAndSelection() {
        struct Case {
            QString dataFileSetting;
            int selected;
        };
        const Case cases[] = {{"game.ini", 1}, {"GAME.ini", 1}, {"third.ini", 2}, {"missing.ini", -1}};
        for (const Case& c : cases) {
            TScriptedPrompter prompt;
            TProgramFolder folder;
            folder.dir.Write("Data/data.dat", std::string("First.ini\r\nGame.INI\n\nthird.ini\n"));
            TEditorConfig settings(folder.dir.File("options.ini"), folder.dir.Path());
            settings.SetDataFile(c.dataFileSetting.toStdString());
            settings.SetAutoCheck(false);
            TfrmOpenDialog d(settings, folder.Folder(), nullptr);
            d.show();
            QCOMPARE(d.windowTitle(), QString("Open Dialog"));
            QStringList items;
            for (int i = 0; i < d.cbDataFile->count(); ++i) items << d.cbDataFile->itemText(i);
            QCOMPARE(items, QStringList({"First.ini", "Game.INI", "third.ini"}));
            QCOMPARE(d.cbDataFile->currentIndex(), c.selected);
            QVERIFY(!d.chkAutoCheckROMType->isChecked());
            QVERIFY(prompt.texts.isEmpty());
        }
    }

    void openDialogMissingDataListIsReportedAndTheDialogStillOpens() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        fs::remove(folder.dir.File("Data/data.dat"));
        TEditorConfig settings(folder.dir.File("options.ini"), folder.dir.Path());
        settings.SetAutoCheck(true);
        TfrmOpenDialog d(settings, folder.Folder(), nullptr);
        d.show();
        QVERIFY(d.isVisible());
        QCOMPARE(prompt.texts.size(), 1);
        QVERIFY(prompt.texts[0].contains("data.dat"));
        QCOMPARE(d.cbDataFile->count(), 0);
        // The rest of the preparation still happens.
        QVERIFY(d.chkAutoCheckROMType->isChecked());
        QCOMPARE(d.CurrentFolder(), folder.Folder());
    }

    void openDialogFilterMasks() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        folder.dir.Write("other.NES.txt", std::string("x"));
        folder.dir.Write("README", std::string("x"));
        folder.dir.Write("b.nes", std::string("x"));
        folder.dir.Write("LOUD.NES", std::string("x"));
        TEditorConfig settings(folder.dir.File("options.ini"), folder.dir.Path());
        TfrmOpenDialog d(settings, folder.Folder(), nullptr);
        d.show();
        QStringList filters;
        for (int i = 0; i < d.cbFilter->count(); ++i) filters << d.cbFilter->itemText(i);
        QCOMPARE(filters, QStringList({"iNES Images (*.nes)", "All Files (*.nes)"}));
        QCOMPARE(d.cbFilter->currentIndex(), 0);
        struct Case {
            int filter;
            QString mask;
            QStringList files;
        };
        const Case cases[] = {
            {1, "*.*", {"LOUD.NES", "README", "b.nes", "game.nes", "options.ini", "other.NES.txt"}},
            {0, "*.nes", {"LOUD.NES", "b.nes", "game.nes"}},
        };
        for (const Case& c : cases) {
            d.cbFilter->setCurrentIndex(c.filter);
            QCOMPARE(d.FileMask(), c.mask);
            QTRY_COMPARE(ListedFiles(d), c.files);
        }
    }

    void openDialogOKNeedsAnExistingFileAndGivesTheResults() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        folder.dir.Write("Data/data.dat", std::string("other.ini\ngame.ini\n"));
        const QString second = S(folder.dir.Write("second.nes", std::string("NES")));
        TEditorConfig settings(folder.dir.File("options.ini"), folder.dir.Path());
        settings.SetAutoCheck(true);
        settings.SetDataFile("game.ini");
        settings.SaveSettings();
        TfrmOpenDialog d(settings, folder.Folder(), nullptr);
        d.show();
        auto* ok = d.findChild<QPushButton*>("cmdOK");
        QCOMPARE(ok->text(), QString("&OK"));
        QVERIFY(ok->isDefault());

        // Nothing selected, then a selected file that has gone: the message, and the dialog stays.
        ok->click();
        QCOMPARE(prompt.texts, QStringList({"Please select a valid file."}));
        QCOMPARE(prompt.captions.last(), QString("Quillborn v0.1 ~ The TMNT Editor"));
        d.FileListBox->setCurrentIndex(d.FileModel()->index(second));
        QFile::remove(second);
        ok->click();
        QCOMPARE(prompt.texts.size(), 2);
        QVERIFY(d.isVisible());
        QVERIFY(d.ROMPath.isEmpty());

        d.FileListBox->setCurrentIndex(d.FileModel()->index(folder.Rom()));
        d.cbDataFile->setCurrentIndex(0);
        d.chkAutoCheckROMType->setChecked(false);
        ok->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.ROMPath, folder.Rom());
        QCOMPARE(d.DataFilePath, folder.Folder() + "/Data/other.ini");
        QCOMPARE(d.AutoCheckROMType, false);
        // The dialog never changes the settings.
        QVERIFY(settings.AutoCheck());
        QCOMPARE(S(settings.DataFile()), QString("game.ini"));
        QVERIFY(!settings.Modified());
    }

    void openDialogStartFolderButtonsAndKeys() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        TTempDir home;
        fs::create_directories(home.File("Desktop"));
        fs::create_directories(home.File("Documents"));
        fs::create_directories(folder.dir.File("Hacks/deep"));
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QByteArray::fromStdString(home.Path()));
        TEditorConfig settings(folder.dir.File("options.ini"), folder.dir.Path());
        struct Case {
            QString start, shown;
        };
        const Case cases[] = {
            {folder.Folder() + "/Hacks/deep", folder.Folder() + "/Hacks/deep"},
            {folder.Folder() + "/gone", folder.Folder()},
            {QString(), folder.Folder()},
        };
        for (const Case& c : cases) {
            TfrmOpenDialog d(settings, folder.Folder(), nullptr);
            d.StartFolder = c.start;
            d.show();
            QCOMPARE(d.CurrentFolder(), c.shown);
        }

        TfrmOpenDialog d(settings, folder.Folder(), nullptr);
        d.StartFolder = folder.Folder() + "/Hacks";
        d.show();
        QCOMPARE(d.cmdApplicationDirectory->text(), QString("Application \nDirectory"));
        QCOMPARE(d.cmdApplicationDirectory->toolTip(), QString("Application's Directory"));
        QCOMPARE(d.cmdDesktop->toolTip(), QString("Desktop"));
        QCOMPARE(d.cmdMyDocuments->toolTip(), QString("My Documents"));
        d.cmdDesktop->click();
        QCOMPARE(d.CurrentFolder(), S(home.File("Desktop")));
        d.cmdMyDocuments->click();
        QCOMPARE(d.CurrentFolder(), S(home.File("Documents")));
        d.cmdApplicationDirectory->click();
        QCOMPARE(d.CurrentFolder(), folder.Folder());
        // The file list and the drive selector follow the folder tree.
        QCOMPARE(d.FileModel()->filePath(d.FileListBox->rootIndex()), folder.Folder());
        QTRY_COMPARE(ListedFiles(d), QStringList({"game.nes"}));
        const QString volume = d.DriveCombo->currentData().toString();
        if (d.DriveCombo->count() > 0) QVERIFY(volume == "/" || folder.Folder().startsWith(volume + "/"));
        for (const QStorageInfo& v : TfrmOpenDialog::ListedVolumes()) {
            QVERIFY(!QStringList({"proc", "sysfs", "tmpfs", "devpts", "cgroup2"}).contains(QString::fromLatin1(v.fileSystemType())));
            QVERIFY(QFileInfo(v.rootPath()).isDir());
        }

        // F5 reads everything again, in the same folder.
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        const QFileSystemModel* before = d.FileModel();
        QTest::keyClick(d.FileListBox, Qt::Key_F5);
        QVERIFY(d.FileModel() != before);
        QCOMPARE(d.CurrentFolder(), folder.Folder());
        QTRY_COMPARE(ListedFiles(d), QStringList({"game.nes"}));
        // Escape closes without a result, even with a file selected.
        d.FileListBox->setCurrentIndex(d.FileModel()->index(folder.Rom()));
        QTest::keyClick(d.FileListBox, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.ROMPath.isEmpty());
        qputenv("HOME", oldHome);
    }

    void openROMCommandOpensWhatTheDialogChose() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        fs::create_directories(folder.dir.File("Hacks"));
        const QString hack = S(folder.dir.Write("Hacks/hack.nes", folder.game.rom.bytes));
        TfrmEditorMain w(folder.Folder());
        // Recent slot 0 names the folder to start in.
        w.Settings().AddRecentFile(hack.toStdString());

        // Cancel with a file selected opens nothing.
        WhenShown<TfrmOpenDialog>([&](TfrmOpenDialog& d) {
            QCOMPARE(d.CurrentFolder(), folder.Folder() + "/Hacks");
            d.FileListBox->setCurrentIndex(d.FileModel()->index(hack));
            d.findChild<QPushButton*>("cmdCancel")->click();
        });
        w.Action("actOpenROM")->trigger();
        QVERIFY(!w.Model());

        WhenShown<TfrmOpenDialog>([&](TfrmOpenDialog& d) {
            d.FileListBox->setCurrentIndex(d.FileModel()->index(hack));
            d.chkAutoCheckROMType->setChecked(false);
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        w.Action("actOpenROM")->trigger();
        QVERIFY(w.Model());
        QCOMPARE(S(w.Model()->ROMFileName()), hack);
        QCOMPARE(w.StatusPanels[2]->text(), QString("game.ini"));
    }

    // ---------------------------------------------------------------- backups

    void backupSizesAsKilobytes() {
        struct Case {
            qint64 bytes;
            QString text;
        };
        const Case cases[] = {
            {0, "0"},          {98304, "96"},      {121262, "118.42"}, {1536, "1.5"},      {128, "0.13"},  // 0.125: a half goes up
            {1152, "1.13"},    {1029, "1"},        {1030, "1.01"},     {10485760, "10240"}, {1023, "1"},
        };
        const QLocale c(QLocale::C), german(QLocale::German);
        for (const Case& k : cases) {
            QCOMPARE(FormatBackupSize(k.bytes, c), k.text);
            QCOMPARE(FormatBackupSize(k.bytes, german), QString(k.text).replace('.', ','));
        }
    }

    void backupManagerListsOnlyTwentyEightCharacterNames() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        {
            TfrmBackupManagement empty(folder.Folder(), nullptr);  // no Backups folder yet
            QCOMPARE(empty.lvwBackups->rowCount(), 0);
            QCOMPARE(empty.lblOverallSize->text(), QString("Overall Size: 0kb"));
        }
        fs::create_directories(folder.dir.File("Backups"));
        folder.dir.Write("Backups/TMNT 09-03-2005 14-07-03.zip", std::vector<uint8_t>(121262, 1));
        folder.dir.Write("Backups/TMNT 01-01-2024 00-00-00.zip", std::vector<uint8_t>(98304, 1));
        folder.dir.Write("Backups/abcdefghijklmnopqrstuvwx.zip", std::vector<uint8_t>(1536, 1));
        folder.dir.Write("Backups/TMNT 1-1-2024 0-0-0.zip", std::vector<uint8_t>(5000, 1));
        folder.dir.Write("Backups/TMNT 02-01-2024 00-00-00.txt", std::vector<uint8_t>(7000, 1));
        TfrmBackupManagement d(folder.Folder(), nullptr);
        d.show();
        QCOMPARE(d.windowTitle(), QString("Backup Management"));
        QStringList headers;
        for (int c = 0; c < 3; ++c) {
            headers << d.lvwBackups->horizontalHeaderItem(c)->text();
            QCOMPARE(d.lvwBackups->columnWidth(c), 100);
        }
        QCOMPARE(headers, QStringList({"Date", "Time", "Size"}));
        QVERIFY(d.lvwBackups->showGrid());
        QCOMPARE(d.lvwBackups->selectionBehavior(), QAbstractItemView::SelectRows);
        QStringList rows;
        for (int r = 0; r < d.lvwBackups->rowCount(); ++r)
            rows << d.lvwBackups->item(r, 0)->text() + "|" + d.lvwBackups->item(r, 1)->text() + "|" + d.lvwBackups->item(r, 2)->text();
        rows.sort();
        QCOMPARE(rows, QStringList({"01-01-2024|00:00:00|96kb", "09-03-2005|14:07:03|118.42kb", "fghijklmno|qrstuvwx|1.5kb"}));
        QCOMPARE(d.lblOverallSize->text(), "Overall Size: " + FormatBackupSize(121262 + 98304 + 1536) + "kb");
        QCOMPARE(d.findChild<QPushButton*>("cmdOK")->text(), QString("&OK"));
    }

    void backupManagerDeletesOnYesOnly() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        fs::create_directories(folder.dir.File("Backups"));
        const std::string keep = folder.dir.Write("Backups/TMNT 01-01-2024 00-00-00.zip", std::vector<uint8_t>(2048, 1));
        const std::string target = folder.dir.Write("Backups/TMNT 09-03-2005 14-07-03.zip", std::vector<uint8_t>(1024, 1));
        TfrmBackupManagement d(folder.Folder(), nullptr);
        QCOMPARE(d.mnuDelete->text(), QString("Delete"));
        QVERIFY(d.PopupMenu->actions().contains(d.mnuDelete));
        QCOMPARE(d.lvwBackups->contextMenuPolicy(), Qt::CustomContextMenu);
        // Nothing selected: no question, nothing deleted.
        d.mnuDelete->trigger();
        QVERIFY(prompt.texts.isEmpty());
        int row = -1;
        for (int r = 0; r < d.lvwBackups->rowCount(); ++r)
            if (d.lvwBackups->item(r, 0)->text() == "09-03-2005") row = r;
        QVERIFY(row >= 0);

        struct Case {
            TAnswer answer;
            bool remains;
            int rows;
        };
        const Case cases[] = {{TAnswer::No, true, 2}, {TAnswer::Yes, false, 1}};
        for (const Case& c : cases) {
            d.lvwBackups->selectRow(row);
            prompt.answers = {c.answer};
            d.mnuDelete->trigger();
            QCOMPARE(prompt.texts.last(), QString("Do you wish to delete this backup?"));
            QCOMPARE(fs::exists(target), c.remains);
            QVERIFY(fs::exists(keep));
            QCOMPARE(d.lvwBackups->rowCount(), c.rows);
        }
        QCOMPARE(d.lblOverallSize->text(), QString("Overall Size: 2kb"));
    }

    void backupManagerCommandWithAndWithoutROM() {
        Editor e;
        fs::create_directories(e.folder.dir.File("Backups"));
        e.folder.dir.Write("Backups/TMNT 09-03-2005 14-07-03.zip", std::vector<uint8_t>(1024, 1));
        QAction* cmd = e.w->Action("actBackupManager");
        QCOMPARE(cmd->shortcut(), QKeySequence("Ctrl+B"));
        for (bool withROM : {true, false}) {
            if (!withROM) e.w->CloseROM(false);
            QVERIFY(cmd->isEnabled());
            bool seen = false;
            WhenShown<TfrmBackupManagement>([&](TfrmBackupManagement& d) {
                seen = d.lvwBackups->rowCount() == 1;
                d.findChild<QPushButton*>("cmdOK")->click();
            });
            cmd->trigger();
            QVERIFY(seen);
        }
    }

    void savingMakesABackupOfTheFileBeforeTheSave() {
        Editor e;
        e.w->Settings().SetBackup(true);
        const std::vector<uint8_t> before = ReadFileBytes(e.folder.Rom().toStdString());
        e.Change();
        e.w->SaveROMCommand();
        QCOMPARE(e.prompt.texts.last(), QString("Changes saved."));
        const QStringList archives = QDir(e.folder.Folder() + "/Backups").entryList({"*.zip"}, QDir::Files);
        QCOMPARE(archives.size(), 1);
        QString name;
        QCOMPARE(ZipEntry(e.folder.Folder() + "/Backups/" + archives[0], &name), before);
        QCOMPARE(name, QString("game.nes"));
        QVERIFY(ReadFileBytes(e.folder.Rom().toStdString()) != before);
    }

    // ---------------------------------------------------------------- hack distribution

    void distributionNeedsTheCleanROM() {
        Editor e;
        e.w->Settings().SetIPSOriginal(e.folder.Folder().toStdString() + "/nothing.nes");
        e.w->Settings().SetIPSOutput(e.folder.Folder().toStdString() + "/out.ips");
        e.Change();
        const std::vector<uint8_t> onDisk = ReadFileBytes(e.folder.Rom().toStdString());
        for (const QString& original : {QString(), e.folder.Folder() + "/nothing.nes", e.folder.Folder()}) {
            TTestDistribution d(*e.w, e.w.get());
            QCOMPARE(d.windowTitle(), QString("Hack Distribution"));
            QCOMPARE(d.txtOutputPatch->text(), e.folder.Folder() + "/out.ips");
            d.txtOriginalROM->setText(original);
            d.findChild<QPushButton*>("cmdOK")->click();
            QCOMPARE(e.prompt.texts.last(), QString("Please enter the original ROM filename to base the patch off."));
            QVERIFY(d.result() != QDialog::Accepted);
        }
        // Nothing saved, nothing written.
        QVERIFY(e.rom().Modified());
        QCOMPARE(ReadFileBytes(e.folder.Rom().toStdString()), onDisk);
        QVERIFY(!QFile::exists(e.folder.Folder() + "/out.ips"));
    }

    void distributionSavesAndWritesAPatchThatAppliesBack() {
        // An empty field puts the patch beside the ROM; a typed path is used as it stands.
        for (const QString& typed : {QString(), QString("Patches/my hack.ips")}) {
            Editor e;
            const std::string clean = e.folder.dir.Write("clean copy.nes", e.folder.game.rom.bytes);
            fs::create_directories(e.folder.dir.File("Patches"));
            e.w->Settings().SetIPSOriginal(clean);
            e.Change(0x2A);
            e.rom().Image().WriteByte(e.rom().Image().Size() - 1, 0x77);
            e.rom().SetModified(true);
            const QString expected = typed.isEmpty() ? e.folder.Folder() + "/game.ips" : e.folder.Folder() + "/" + typed;
            TTestDistribution d(*e.w, e.w.get());
            QCOMPARE(d.txtOriginalROM->text(), S(clean));
            QCOMPARE(d.txtOutputPatch->toolTip(), QString("(If left unspecified, patch is dumped to the same directory and \nwith same name as ROM)"));
            QCOMPARE(d.cbPatchFormat->count(), 1);
            QCOMPARE(d.cbPatchFormat->currentText(), QString("IPS"));
            d.txtOutputPatch->setText(typed.isEmpty() ? QString() : expected);
            QCOMPARE(d.PatchPath(), expected);
            d.findChild<QPushButton*>("cmdOK")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(e.prompt.texts.isEmpty());
            // Saved without a backup, as one clean point, and the patch turns the clean ROM into it.
            QVERIFY(!e.rom().Modified());
            QVERIFY(e.w->UndoStack().isClean());
            QVERIFY(!fs::exists(e.folder.dir.File("Backups")));
            const std::vector<uint8_t> saved = ReadFileBytes(e.folder.Rom().toStdString());
            QVERIFY(saved == e.rom().Image().Data());
            QVERIFY(saved != e.folder.game.rom.bytes);
            QVERIFY(ApplyIPS(ReadFileBytes(expected.toStdString()), e.folder.game.rom.bytes) == saved);
            // What was typed is not kept in the settings.
            QVERIFY(e.w->Settings().IPSOutput().empty());
        }
    }

    void distributionNeverWritesThePatchOverEitherROM() {
        Editor e;
        const std::string clean = e.folder.dir.Write("clean.nes", e.folder.game.rom.bytes);
        e.w->Settings().SetIPSOriginal(clean);
        e.Change(0x2B);
        const std::vector<uint8_t> cleanBefore = ReadFileBytes(clean);
        const QString rom = e.folder.Rom();
        // The ROM itself, the clean ROM, and the ROM again through another spelling of its folder.
        for (const QString& target : {rom, S(clean), e.folder.Folder() + "/./game.nes"}) {
            TTestDistribution d(*e.w, e.w.get());
            d.txtOutputPatch->setText(target);
            d.findChild<QPushButton*>("cmdOK")->click();
            QVERIFY(d.result() != QDialog::Accepted);
            QVERIFY(e.prompt.texts.last().startsWith("The patch would replace"));
        }
        QVERIFY(e.rom().Modified());  // not even saved
        QCOMPARE(ReadFileBytes(clean), cleanBefore);
        QVERIFY(ReadFileBytes(rom.toStdString()) == e.folder.game.rom.bytes);
    }

    void distributionPatchPathTakesTheROMNameWithIps() {
        struct Case {
            const char* rom;
            const char* patch;
        };
        const Case cases[] = {{"tmnt.nes", "tmnt.ips"}, {"my.hack.v2.nes", "my.hack.v2.ips"}, {"noext", "noext.ips"}};
        for (const Case& c : cases) {
            TScriptedPrompter prompt;
            TProgramFolder folder;
            const QString rom = S(folder.dir.Write(c.rom, folder.game.rom.bytes));
            TfrmEditorMain w(folder.Folder());
            w.OpenROM(rom, folder.DataFile(), false);
            TTestDistribution d(w, &w);
            d.txtOutputPatch->clear();
            QCOMPARE(d.PatchPath(), folder.Folder() + "/" + c.patch);
        }
    }

    void distributionFilePickers() {
        Editor e;
        fs::create_directories(e.folder.dir.File("Clean"));
        const QString clean = S(e.folder.dir.Write("Clean/clean.nes", e.folder.game.rom.bytes));
        TTestDistribution d(*e.w, e.w.get());
        d.txtOriginalROM->clear();
        d.txtOutputPatch->clear();
        // Empty fields: the pickers start in the program folder.
        d.openAnswer = e.folder.Folder() + "/missing.nes";  // a file that does not exist is not taken
        d.cmdOriginal->click();
        QCOMPARE(d.txtOriginalROM->text(), QString());
        d.openAnswer = clean;
        d.cmdOriginal->click();
        QCOMPARE(d.txtOriginalROM->text(), clean);
        QCOMPARE(d.txtOriginalROM->cursorPosition(), int(clean.size()));
        d.openAnswer.clear();  // cancelled: the text stays
        d.cmdOriginal->click();
        QCOMPARE(d.txtOriginalROM->text(), clean);
        d.saveAnswer = e.folder.Folder() + "/Out/new.ips";  // taken without any check
        d.cmdOutput->click();
        QCOMPARE(d.txtOutputPatch->text(), d.saveAnswer);
        QCOMPARE(d.txtOutputPatch->cursorPosition(), int(d.saveAnswer.size()));
        d.saveAnswer.clear();
        d.cmdOutput->click();
        QCOMPARE(d.txtOutputPatch->text(), e.folder.Folder() + "/Out/new.ips");
        const QString openKind = "Please select the original unmodified ROM|", filter = "|iNES Image (*.nes);;All Files (*)";
        const QString saveKind = "Please enter the name of your patch|", saveFilter = "|IPS File (*.ips)|ips";
        QCOMPARE(d.asked, QStringList({openKind + e.folder.Folder() + filter, openKind + e.folder.Folder() + filter,
                                       openKind + e.folder.Folder() + "/Clean" + filter, saveKind + e.folder.Folder() + saveFilter,
                                       // Out/ does not exist: the program folder again
                                       saveKind + e.folder.Folder() + saveFilter}));
    }

    void distributionReportsAFailedSaveAndAFailedPatch() {
        // The ROM's folder goes away: the save fails, and no patch is made from the old file.
        {
            TScriptedPrompter prompt;
            TProgramFolder folder;
            fs::create_directories(folder.dir.File("Work"));
            const QString rom = S(folder.dir.Write("Work/game.nes", folder.game.rom.bytes));
            const std::string clean = folder.dir.Write("clean.nes", folder.game.rom.bytes);
            TfrmEditorMain w(folder.Folder());
            w.OpenROM(rom, folder.DataFile(), false);
            w.BeginEdit("Paint Blocks");
            w.Model()->SetBlock(0, 0, 0x31);
            w.EndEdit();
            fs::remove_all(folder.dir.File("Work"));
            TTestDistribution d(w, &w);
            d.txtOriginalROM->setText(S(clean));
            d.txtOutputPatch->setText(folder.Folder() + "/hack.ips");
            d.findChild<QPushButton*>("cmdOK")->click();
            QCOMPARE(prompt.texts.size(), 1);
            QVERIFY(prompt.texts[0].endsWith("\nNo patch was written."));
            QVERIFY(d.result() != QDialog::Accepted);
            QVERIFY(w.Model()->Modified());
            QVERIFY(!QFile::exists(folder.Folder() + "/hack.ips"));
        }
        // The patch cannot be written: reported, though the ROM was saved.
        {
            Editor e;
            const std::string clean = e.folder.dir.Write("clean.nes", e.folder.game.rom.bytes);
            e.Change();
            TTestDistribution d(*e.w, e.w.get());
            d.txtOriginalROM->setText(S(clean));
            d.txtOutputPatch->setText(e.folder.Folder() + "/no such folder/hack.ips");
            d.findChild<QPushButton*>("cmdOK")->click();
            QCOMPARE(e.prompt.texts.size(), 1);
            QVERIFY(e.prompt.texts[0].startsWith("The patch could not be written: "));
            QVERIFY(d.result() != QDialog::Accepted);
            QVERIFY(!e.rom().Modified());
        }
    }

    void distributeHackCommand() {
        Editor e;
        QAction* cmd = e.w->Action("actDistribute");
        QCOMPARE(cmd->shortcut(), QKeySequence("Ctrl+Alt+S"));
        QVERIFY(cmd->isEnabled());
        const std::string clean = e.folder.dir.Write("clean.nes", e.folder.game.rom.bytes);
        e.Change();
        QVERIFY(e.w->windowTitle().endsWith(" *"));
        // Cancel: nothing saved, nothing written.
        WhenShown<TfrmDistribution>([&](TfrmDistribution& d) {
            d.txtOriginalROM->setText(S(clean));
            d.findChild<QPushButton*>("cmdCancel")->click();
        });
        cmd->trigger();
        QVERIFY(e.rom().Modified());
        QVERIFY(!QFile::exists(e.folder.Folder() + "/game.ips"));
        WhenShown<TfrmDistribution>([&](TfrmDistribution& d) {
            d.txtOriginalROM->setText(S(clean));
            d.txtOutputPatch->clear();
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        cmd->trigger();
        QVERIFY(QFile::exists(e.folder.Folder() + "/game.ips"));
        QCOMPARE(e.w->windowTitle(), QString("Quillborn v0.1 ~ The TMNT Editor - [game.nes]"));
        e.w->CloseROM(false);
        QVERIFY(!cmd->isEnabled());
    }

    // ---------------------------------------------------------------- emulator

    void emulatorParameterStrings() {
        struct Case {
            int mode;
            std::optional<std::string> params;
        };
        const std::string rom = "/home/me/My Hacks/tmnt.nes";
        const Case cases[] = {{0, " /home/me/My Hacks/tmnt.nes"},
                              {1, " /home/me/My Hacks/tmnt.nes"},
                              {2, " \"/home/me/My Hacks/tmnt.nes\""},
                              {3, std::nullopt},
                              {255, std::nullopt}};
        for (const Case& c : cases) QCOMPARE(EmulatorParameters(c.mode, rom), c.params);
    }

    void emulatorMenuItem() {
        TScriptedPrompter prompt;
        TProgramFolder folder;
        const QString emu = WriteRecorder(folder.dir);
        TfrmEditorMain w(folder.Folder());
        auto* item = w.findChild<QAction*>("mnuLaunchAssociatedEmulator");
        QCOMPARE(item->shortcut(), QKeySequence("F12"));
        struct Case {
            QString path;
            bool rom;
            QString caption;
            bool enabled;
        };
        const Case cases[] = {
            {QString(), true, "No emulator associated", false},
            {folder.Folder() + "/gone.sh", true, "No emulator associated", false},
            {emu, true, "Launch record emu.sh", true},
            {emu, false, "Launch record emu.sh", false},
        };
        for (const Case& c : cases) {
            w.Settings().SetEmulatorPath(c.path.toStdString());
            if (c.rom)
                w.OpenROM(folder.Rom(), folder.DataFile(), false);
            else
                w.CloseROM(false);
            w.UpdateEmulatorMenuItem();
            QCOMPARE(item->text(), c.caption);
            QCOMPARE(item->isEnabled(), c.enabled);
            QVERIFY(!item->icon().isNull());
        }
    }

    void emulatorMessagesAndTheWarning() {
        Editor e;
        const QString emu = WriteRecorder(e.folder.dir);
        auto* item = e.w->findChild<QAction*>("mnuLaunchAssociatedEmulator");
        e.w->Settings().SetEmulatorPath(emu.toStdString());
        e.w->UpdateEmulatorMenuItem();

        // The emulator's file deleted while the editor runs: the item stays, the launch reports it.
        e.w->Settings().SetEmulatorPath((e.folder.Folder() + "/deleted.exe").toStdString());
        item->trigger();
        QCOMPARE(e.prompt.texts.last(), QString("There is no emulator associated, or the emulator cannot be found."));
        QCOMPARE(e.prompt.captions.last(), QString("Quillborn v0.1 ~ The TMNT Editor"));
        e.w->Settings().SetEmulatorPath(emu.toStdString());

        // No to the warning: neither saved nor started.
        e.Change();
        const std::vector<uint8_t> onDisk = ReadFileBytes(e.folder.Rom().toStdString());
        e.prompt.answers = {TAnswer::No};
        item->trigger();
        QCOMPARE(e.prompt.texts.last(), EmulatorWarning);
        QCOMPARE(e.prompt.captions.last(), QString());  // the platform's warning caption
        QTest::qWait(300);
        QVERIFY(!QFile::exists(e.folder.Folder() + "/args.txt"));
        QVERIFY(e.rom().Modified());
        QCOMPARE(ReadFileBytes(e.folder.Rom().toStdString()), onDisk);

        // Without a ROM.
        e.prompt.answers = {TAnswer::No};  // to the question about the unsaved change
        e.w->CloseROM(false);
        QVERIFY(!e.w->Model());
        QVERIFY(!item->isEnabled());
        item->setEnabled(true);  // the handler guards itself as well
        item->trigger();
        QCOMPARE(e.prompt.texts.last(), QString("Please load the ROM first."));
    }

    void emulatorReceivesTheROMPath() {
        struct Case {
            int mode;
            bool spaces;
            bool warning;
            QStringList expected;  // with {rom} standing for the path; empty: not started
        };
        const Case cases[] = {
            {0, false, true, {"1", "[{rom}]"}},
            {2, false, false, {"1", "[{rom}]"}},
            {1, false, false, {"1", "[{rom}]"}},
            // Unquoted, a path with spaces arrives in pieces, as on any command line.
            {0, true, false, {"3", "[{dir}/My]", "[Hacks/tmnt]", "[hack.nes]"}},
            {1, true, false, {"3", "[{dir}/My]", "[Hacks/tmnt]", "[hack.nes]"}},
            {2, true, true, {"1", "[{rom}]"}},
            {3, false, false, {}},
        };
        for (const Case& c : cases) {
            TScriptedPrompter prompt;
            TProgramFolder folder;
            const QString emu = WriteRecorder(folder.dir);
            QString rom = folder.Rom();
            if (c.spaces) {
                fs::create_directories(folder.dir.File("My Hacks"));
                rom = S(folder.dir.Write("My Hacks/tmnt hack.nes", folder.game.rom.bytes));
            }
            TfrmEditorMain w(folder.Folder());
            w.Settings().SetEmulatorPath(emu.toStdString());
            w.Settings().SetEmuFileSettings(static_cast<uint8_t>(c.mode));
            w.Settings().SetEmuDisplaySaveWarning(c.warning);
            w.OpenROM(rom, folder.DataFile(), false);
            w.BeginEdit("Paint Blocks");
            w.Model()->SetBlock(2, 2, 0x3C);
            w.EndEdit();
            prompt.answers = {TAnswer::Yes};
            w.findChild<QAction*>("mnuLaunchAssociatedEmulator")->trigger();
            QCOMPARE(prompt.texts, c.warning ? QStringList({EmulatorWarning}) : QStringList());
            // Saved first, without a backup, so the emulator sees the edit.
            QVERIFY(!w.Model()->Modified());
            QVERIFY(!w.windowTitle().endsWith(" *"));
            QVERIFY(ReadFileBytes(rom.toStdString()) == w.Model()->Image().Data());
            QVERIFY(!fs::exists(folder.dir.File("Backups")));
            const QString record = folder.Folder() + "/args.txt";
            if (c.expected.isEmpty()) {
                QTest::qWait(300);
                QVERIFY(!QFile::exists(record));
                continue;
            }
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
            QStringList expected = c.expected;
            expected.replaceInStrings("{rom}", rom).replaceInStrings("{dir}", folder.Folder());
            QCOMPARE(ReadLines(record), expected);
        }
    }

    void emulatorFailedSaveOrStartIsReported() {
        // A ROM whose folder is gone cannot be saved: reported, and nothing starts.
        {
            TScriptedPrompter prompt;
            TProgramFolder folder;
            const QString emu = WriteRecorder(folder.dir);
            fs::create_directories(folder.dir.File("Work"));
            const QString rom = S(folder.dir.Write("Work/game.nes", folder.game.rom.bytes));
            TfrmEditorMain w(folder.Folder());
            w.Settings().SetEmulatorPath(emu.toStdString());
            w.Settings().SetEmuDisplaySaveWarning(false);
            w.OpenROM(rom, folder.DataFile(), false);
            fs::remove_all(folder.dir.File("Work"));
            w.findChild<QAction*>("mnuLaunchAssociatedEmulator")->trigger();
            QCOMPARE(prompt.texts.size(), 1);
            QVERIFY(prompt.texts[0].endsWith("\nThe emulator was not started."));
            QTest::qWait(300);
            QVERIFY(!QFile::exists(folder.Folder() + "/args.txt"));
        }
        // An emulator file that cannot run.
        {
            Editor e;
            const QString emu = WriteRecorder(e.folder.dir);
            fs::permissions(emu.toStdString(), fs::perms::owner_read | fs::perms::owner_write);
            e.w->Settings().SetEmulatorPath(emu.toStdString());
            e.w->Settings().SetEmuDisplaySaveWarning(false);
            e.w->UpdateEmulatorMenuItem();
            e.w->findChild<QAction*>("mnuLaunchAssociatedEmulator")->trigger();
            QCOMPARE(e.prompt.texts, QStringList({"The emulator \"" + emu + "\" could not be started."}));
        }
    }
};

int main(int argc, char** argv) {
    TQuillbornApp app(argc, argv);
    TestFileTools test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filetools.moc"

#pragma once
// The editor's own open dialog: drives, folders and ROM files, and the data file to open the ROM with.

#include <QDialog>
#include <QStorageInfo>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QListView;
class QToolButton;
class QTreeView;
class TEditorConfig;

class TfrmOpenDialog : public QDialog {
    Q_OBJECT
public:
    // programFolder: the executable's folder, whose Data/data.dat lists the data files.
    TfrmOpenDialog(const TEditorConfig& settings, const QString& programFolder, QWidget* parent);

    // Set by the caller before the dialog is shown; an empty or missing folder means the program folder.
    QString StartFolder;

    // Results, read after the dialog closed: the ROM path is empty unless OK succeeded.
    QString ROMPath;
    QString DataFilePath;
    bool AutoCheckROMType = false;

    // The folder shown in the folder tree, and the file list's mask ("*.nes" or "*.*").
    QString CurrentFolder() const;
    QString FileMask() const { return fileMask_; }
    void ShowFolder(const QString& folder);
    // Re-reads the drives, the folder tree and the file list (F5).
    void Refresh();

    void FormShow();
    void cmdOKClick();

    QToolButton* cmdDesktop;
    QToolButton* cmdMyDocuments;
    QToolButton* cmdApplicationDirectory;
    QComboBox* DriveCombo;
    QTreeView* DirectoryListBox;
    QListView* FileListBox;
    QComboBox* cbFilter;
    QComboBox* cbDataFile;
    QCheckBox* chkAutoCheckROMType;
    QFileSystemModel* DirectoryModel() const { return dirModel_; }
    QFileSystemModel* FileModel() const { return fileModel_; }

    // The volumes the drive selector lists: disk, network and optical file systems, no pseudo ones.
    static QList<QStorageInfo> ListedVolumes();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FillDrives();
    void CreateModels();
    void CreateFileModel(const QString& folder);
    void FollowFolder(const QString& folder);
    void ApplyMask();

    const TEditorConfig& settings_;
    QString programFolder_;
    QString desktopFolder_, documentsFolder_;
    QString fileMask_ = "*.nes";
    QFileSystemModel* dirModel_ = nullptr;
    QFileSystemModel* fileModel_ = nullptr;
    bool keepInView_ = false;
};

#pragma once
// The list of zip backups in the Backups folder, with their sizes; deletes one on request.

#include <QDialog>
#include <QLocale>

class QLabel;
class QMenu;
class QTableWidget;

// A size in bytes as kibibytes: rounded to two decimals (halves up), as few digits as needed, with the
// locale's decimal separator ("118.42", "96"). The caller appends "kb".
QString FormatBackupSize(qint64 bytes, const QLocale& locale = QLocale::system());

class TfrmBackupManagement : public QDialog {
    Q_OBJECT
public:
    // programFolder: the executable's folder, which holds Backups/.
    TfrmBackupManagement(const QString& programFolder, QWidget* parent);

    void FormShow();
    void mnuDeleteClick();

    QTableWidget* lvwBackups;
    QLabel* lblOverallSize;
    QMenu* PopupMenu;
    QAction* mnuDelete;

private:
    QString BackupFolder() const { return programFolder_ + "/Backups"; }
    QString programFolder_;
};

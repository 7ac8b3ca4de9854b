#include "tools/frm_BackupManagement.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Prompt.h"

QString FormatBackupSize(qint64 bytes, const QLocale& locale) {
    // Hundredths of a KiB, rounded half up, in whole numbers so that no binary fraction tips a half.
    const qint64 hundredths = (bytes * 100 * 2 + 1024) / 2048;
    QString text = QString::number(hundredths / 100);
    const qint64 fraction = hundredths % 100;
    if (fraction != 0) {
        QString digits = QString("%1").arg(fraction, 2, 10, QChar('0'));
        if (digits.endsWith('0')) digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    return text;
}

TfrmBackupManagement::TfrmBackupManagement(const QString& programFolder, QWidget* parent)
    : QDialog(parent), programFolder_(programFolder) {
    setObjectName("frmBackupManagement");
    setWindowTitle("Backup Management");

    lvwBackups = new QTableWidget(0, 3, this);
    lvwBackups->setObjectName("lvwBackups");
    lvwBackups->setHorizontalHeaderLabels({"Date", "Time", "Size"});
    for (int c = 0; c < 3; ++c) lvwBackups->setColumnWidth(c, 100);
    lvwBackups->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lvwBackups->horizontalHeader()->setHighlightSections(false);
    lvwBackups->verticalHeader()->hide();
    lvwBackups->verticalHeader()->setDefaultSectionSize(lvwBackups->fontMetrics().height() + 6);
    lvwBackups->setShowGrid(true);
    lvwBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwBackups->setWordWrap(false);
    lvwBackups->setFixedSize(300 + 2 * lvwBackups->frameWidth() + lvwBackups->style()->pixelMetric(QStyle::PM_ScrollBarExtent), 220);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    mnuDelete = PopupMenu->addAction("Delete");
    mnuDelete->setObjectName("mnuDelete");
    lvwBackups->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvwBackups, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(lvwBackups->viewport()->mapToGlobal(at)); });
    connect(mnuDelete, &QAction::triggered, this, &TfrmBackupManagement::mnuDeleteClick);

    lblOverallSize = new QLabel(this);
    lblOverallSize->setObjectName("lblOverallSize");
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwBackups);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblOverallSize);
    bottom->addStretch();
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormShow();
}

void TfrmBackupManagement::FormShow() {
    lvwBackups->clearContents();
    lvwBackups->setRowCount(0);
    qint64 total = 0;
    // A missing folder lists nothing.
    const QFileInfoList files = QDir(BackupFolder()).entryInfoList({"*.zip"}, QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) {
        const QString name = f.fileName();
        if (name.size() != 28) continue;
        const int row = lvwBackups->rowCount();
        lvwBackups->insertRow(row);
        lvwBackups->setItem(row, 0, new QTableWidgetItem(name.mid(5, 10)));
        lvwBackups->setItem(row, 1, new QTableWidgetItem(name.mid(16, 8).replace('-', ':')));
        lvwBackups->setItem(row, 2, new QTableWidgetItem(FormatBackupSize(f.size()) + "kb"));
        total += f.size();
    }
    lblOverallSize->setText("Overall Size: " + FormatBackupSize(total) + "kb");
}

void TfrmBackupManagement::mnuDeleteClick() {
    const QModelIndexList rows = lvwBackups->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    const int row = rows.first().row();
    if (TPrompter::Current().Ask(this, TPromptKind::Confirmation, QString(), "Do you wish to delete this backup?", TButtons::YesNo) !=
        TAnswer::Yes)
        return;
    const QString date = lvwBackups->item(row, 0)->text();
    const QString time = lvwBackups->item(row, 1)->text();
    const QString path = BackupFolder() + "/TMNT " + date + " " + QString(time).replace(':', '-') + ".zip";
    if (!QFile::exists(path)) return;
    if (!QFile::remove(path)) TPrompter::Current().Error(this, "The backup \"" + path + "\" cannot be deleted.");
    FormShow();
}

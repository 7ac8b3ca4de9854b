#include "tools/frm_OpenDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "config/classes_configuration.h"
#include "rom/Errors.h"
#include "tools/core_detect.h"

namespace {

enum class TVolumeKind { Fixed, Network, Optical };

// File systems that hold no user files: kernel interfaces, memory, container plumbing, snap images.
const QStringList PseudoFileSystems = {"proc",     "sysfs",      "devtmpfs", "devpts",     "tmpfs",   "ramfs",   "cgroup",
                                       "cgroup2",  "securityfs", "pstore",   "debugfs",    "tracefs", "mqueue",  "hugetlbfs",
                                       "fusectl",  "configfs",   "bpf",      "autofs",     "binfmt_misc", "efivarfs", "rpc_pipefs",
                                       "nsfs",     "squashfs",   "selinuxfs", "fuse.portal", "fuse.gvfsd-fuse"};
const QStringList NetworkFileSystems = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs",
                                        "fuse.sshfs", "davfs", "fuse.davfs2"};
const QStringList OpticalFileSystems = {"iso9660", "udf"};

TVolumeKind KindOf(const QStorageInfo& v) {
    const QString type = QString::fromLatin1(v.fileSystemType());
    if (NetworkFileSystems.contains(type)) return TVolumeKind::Network;
    if (OpticalFileSystems.contains(type)) return TVolumeKind::Optical;
    return TVolumeKind::Fixed;
}

bool IsInside(const QString& folder, const QString& root) {
    return root == "/" || folder == root || folder.startsWith(root + "/");
}

}  // namespace

QList<QStorageInfo> TfrmOpenDialog::ListedVolumes() {
    QList<QStorageInfo> out;
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
        if (PseudoFileSystems.contains(QString::fromLatin1(v.fileSystemType()))) continue;
        // Containers bind single files (hosts, resolv.conf) as volumes: only folders are drives.
        if (!QFileInfo(v.rootPath()).isDir() || roots.contains(v.rootPath())) continue;
        roots << v.rootPath();
        out << v;
    }
    return out;
}

TfrmOpenDialog::TfrmOpenDialog(const TEditorConfig& settings, const QString& programFolder, QWidget* parent)
    : QDialog(parent), settings_(settings), programFolder_(programFolder) {
    setObjectName("frmOpenDialog");
    setWindowTitle("Open Dialog");

    auto bigButton = [&](const char* name, const QString& caption, const QString& hint, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolTip(hint);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(96, 78);
        return b;
    };
    cmdDesktop = bigButton("cmdDesktop", "Desktop", "Desktop", QStyle::SP_DesktopIcon);
    cmdMyDocuments = bigButton("cmdMyDocuments", "My Documents", "My Documents", QStyle::SP_DirHomeIcon);
    cmdApplicationDirectory =
        bigButton("cmdApplicationDirectory", "Application \nDirectory", "Application's Directory", QStyle::SP_ComputerIcon);

    DriveCombo = new QComboBox(this);
    DriveCombo->setObjectName("DriveCombo");
    DriveCombo->setIconSize(QSize(16, 16));
    DirectoryListBox = new QTreeView(this);
    DirectoryListBox->setObjectName("DirectoryListBox");
    DirectoryListBox->setHeaderHidden(true);
    DirectoryListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DirectoryListBox->setFixedSize(230, 250);
    FileListBox = new QListView(this);
    FileListBox->setObjectName("FileListBox");
    FileListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FileListBox->setFixedSize(230, 250);

    cbFilter = new QComboBox(this);
    cbFilter->setObjectName("cbFilter");
    cbFilter->addItems({"iNES Images (*.nes)", "All Files (*.nes)"});
    cbFilter->setCurrentIndex(0);
    cbDataFile = new QComboBox(this);
    cbDataFile->setObjectName("cbDataFile");
    chkAutoCheckROMType = new QCheckBox("Attempt to select correct data file for ROM?", this);
    chkAutoCheckROMType->setObjectName("chkAutoCheckROMType");
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(cmdDesktop);
    left->addWidget(cmdMyDocuments);
    left->addWidget(cmdApplicationDirectory);
    left->addStretch();
    layout->addLayout(left);
    auto* grid = new QGridLayout;
    grid->addWidget(DriveCombo, 0, 0, 1, 2);
    grid->addWidget(DirectoryListBox, 1, 0);
    grid->addWidget(FileListBox, 1, 1);
    auto* filterLabel = new QLabel("Filter:", this);
    filterLabel->setBuddy(cbFilter);
    grid->addWidget(filterLabel, 2, 0);
    grid->addWidget(cbFilter, 2, 1);
    auto* dataLabel = new QLabel("Open With Data File:", this);
    dataLabel->setBuddy(cbDataFile);
    grid->addWidget(dataLabel, 3, 0);
    grid->addWidget(cbDataFile, 3, 1);
    grid->addWidget(chkAutoCheckROMType, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 2);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    CreateModels();
    FillDrives();

    connect(cmdDesktop, &QToolButton::clicked, this, [this] { ShowFolder(desktopFolder_); });
    connect(cmdMyDocuments, &QToolButton::clicked, this, [this] { ShowFolder(documentsFolder_); });
    connect(cmdApplicationDirectory, &QToolButton::clicked, this, [this] { ShowFolder(programFolder_); });
    connect(DriveCombo, &QComboBox::activated, this, [this](int i) { ShowFolder(DriveCombo->itemData(i).toString()); });
    connect(cbFilter, &QComboBox::currentIndexChanged, this, [this](int i) {
        fileMask_ = i == 0 ? "*.nes" : "*.*";
        ApplyMask();
    });
    connect(ok, &QPushButton::clicked, this, &TfrmOpenDialog::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(DirectoryListBox->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { keepInView_ = false; });
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f5, &QShortcut::activated, this, &TfrmOpenDialog::Refresh);
    // Escape closes without a result: QDialog's own reject.
}

void TfrmOpenDialog::CreateModels() {
    const QString folder = dirModel_ ? CurrentFolder() : QString();
    // The views keep their old selection models across setModel; they go with the old models.
    QItemSelectionModel* oldDirSelection = DirectoryListBox->selectionModel();
    QFileSystemModel* oldDirModel = dirModel_;
    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setReadOnly(true);
    dirModel_->setRootPath("/");
    DirectoryListBox->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c) DirectoryListBox->hideColumn(c);
    connect(DirectoryListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { FollowFolder(dirModel_->filePath(current)); });
    // Folders are read and sorted in the background: keep the shown folder in view as the folders
    // around it fill in, until the user scrolls the tree.
    auto keepInView = [this] {
        const QModelIndex current = DirectoryListBox->currentIndex();
        if (keepInView_ && current.isValid()) DirectoryListBox->scrollTo(current);
    };
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, keepInView);
    connect(dirModel_, &QFileSystemModel::layoutChanged, this, keepInView);

    if (oldDirSelection && oldDirSelection->model() == oldDirModel) delete oldDirSelection;
    delete oldDirModel;
    CreateFileModel(folder);
    if (!folder.isEmpty()) ShowFolder(folder);
}

void TfrmOpenDialog::CreateFileModel(const QString& folder) {
    QItemSelectionModel* oldSelection = FileListBox->selectionModel();
    QFileSystemModel* oldModel = fileModel_;
    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setReadOnly(true);
    fileModel_->setNameFilterDisables(false);  // files outside the mask are hidden, not greyed
    ApplyMask();
    if (!folder.isEmpty()) fileModel_->setRootPath(folder);
    FileListBox->setModel(fileModel_);
    if (!folder.isEmpty()) FileListBox->setRootIndex(fileModel_->index(folder));
    if (oldSelection && oldSelection->model() == oldModel) delete oldSelection;
    delete oldModel;
}

void TfrmOpenDialog::ApplyMask() {
    // "*.*" means every file, as it does on the system the mask comes from, names without a dot included.
    fileModel_->setNameFilters({fileMask_ == "*.*" ? QString("*") : fileMask_});
}

void TfrmOpenDialog::FillDrives() {
    DriveCombo->clear();
    for (const QStorageInfo& v : ListedVolumes()) {
        const QStyle::StandardPixmap icon = KindOf(v) == TVolumeKind::Network   ? QStyle::SP_DriveNetIcon
                                            : KindOf(v) == TVolumeKind::Optical ? QStyle::SP_DriveCDIcon
                                                                                : QStyle::SP_DriveHDIcon;
        QString caption = v.rootPath();
        if (!v.name().isEmpty()) caption += " [" + v.name() + "]";
        DriveCombo->addItem(style()->standardIcon(icon), caption, v.rootPath());
    }
    FollowFolder(CurrentFolder());
}

QString TfrmOpenDialog::CurrentFolder() const {
    const QModelIndex i = DirectoryListBox->currentIndex();
    return i.isValid() ? dirModel_->filePath(i) : QString();
}

void TfrmOpenDialog::ShowFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) return;
    const QString path = info.absoluteFilePath();
    const QModelIndex index = dirModel_->index(path);
    if (!index.isValid()) return;
    DirectoryListBox->setCurrentIndex(index);
    DirectoryListBox->scrollTo(index);  // opens the folders above it
    keepInView_ = true;
    FollowFolder(path);
}

void TfrmOpenDialog::FollowFolder(const QString& folder) {
    if (folder.isEmpty()) return;
    // A fresh model for each folder: the model always shows the folders on the way to its root path,
    // even without QDir::Dirs, so one kept across folders would list folders among the files.
    if (fileModel_->rootPath() != folder) CreateFileModel(folder);
    // The drive selector shows the volume that holds the folder.
    int best = -1, bestLength = -1;
    for (int i = 0; i < DriveCombo->count(); ++i) {
        const QString root = DriveCombo->itemData(i).toString();
        if (IsInside(folder, root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    DriveCombo->setCurrentIndex(best);
}

void TfrmOpenDialog::Refresh() {
    FillDrives();
    CreateModels();
}

void TfrmOpenDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TfrmOpenDialog::FormShow() {
    // Where the system keeps no such folder, the home folder stands in.
    auto known = [](QStandardPaths::StandardLocation where) {
        const QString path = QStandardPaths::writableLocation(where);
        return QFileInfo(path).isDir() ? path : QDir::homePath();
    };
    documentsFolder_ = known(QStandardPaths::DocumentsLocation);
    desktopFolder_ = known(QStandardPaths::DesktopLocation);

    cbDataFile->clear();
    try {
        for (const std::string& line : ReadDataFileList(Std(programFolder_ + "/Data"))) cbDataFile->addItem(Q(line));
    } catch (const EditorError& e) {
        // Reported; the dialog still opens, with an empty list.
        TPrompter::Current().Error(this, Q(e.what()));
    }
    chkAutoCheckROMType->setChecked(settings_.AutoCheck());
    cbDataFile->setCurrentIndex(-1);
    const QString wanted = Q(settings_.DataFile());
    for (int i = 0; i < cbDataFile->count(); ++i)
        if (cbDataFile->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            cbDataFile->setCurrentIndex(i);
            break;
        }
    ShowFolder(!StartFolder.isEmpty() && QFileInfo(StartFolder).isDir() ? StartFolder : programFolder_);
}

void TfrmOpenDialog::cmdOKClick() {
    const QModelIndexList selected = FileListBox->selectionModel()->selectedIndexes();
    const QString path = selected.isEmpty() ? QString() : fileModel_->filePath(selected.first());
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        TPrompter::Current().Message(this, "Please select a valid file.");
        return;
    }
    ROMPath = path;
    DataFilePath = programFolder_ + "/Data/" + cbDataFile->currentText();
    AutoCheckROMType = chkAutoCheckROMType->isChecked();
    accept();
}

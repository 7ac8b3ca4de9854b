#include "app/frm_EditorMain.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/EditCommand.h"
#include "app/UiCommon.h"
#include "app/Prompt.h"
#include "render/map_views.h"
#include "rom/Errors.h"
#include "tools/core_backup.h"
#include "tools/core_detect.h"

const bool DebugBuild = false;

namespace {

constexpr int ClientWidth = 621;
constexpr int NormalClientHeight = 454;
constexpr int TallClientHeight = 581;
constexpr int StatusBarHeight = 19;
constexpr int ToolbarHeight = 25;

}  // namespace

TfrmEditorMain::TfrmEditorMain(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder) {
    setObjectName("frmEditorMain");
    // A fixed frame with the system menu and a minimise box, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    CreateControls();
    CreateActions();
    CreateMenus();
    CreateToolbar();
    ConnectFileCommands();
    ConnectGraphicsCommands();
    ConnectInfoCommands();

    // Start-up.
    if (!DebugBuild) mnuDebugROMViewer->setVisible(false);
    WorldView = false;
    TSATile = -1;
    DragIndex = -1;
    settings_ = std::make_unique<TEditorConfig>(Std(programFolder_ + "/options.ini"), Std(programFolder_));
    if (settings_->LastSaveFailed()) ReportSettingsNotSaved();
    EnableEditing(false);
    EnemyView = 0;
    setWindowTitle(ApplicationTitle);
    RefreshRecentMenu();
    UpdateEmulatorMenuItem();
    RefreshTitle();
    Action("actEnableGridlines")->setChecked(settings_->ShowGridlines());
    NormalLayout();
    // Centred on the screen at start.
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);

    connect(&undoStack_, &QUndoStack::indexChanged, this, [this] {
        // Back at the saved state the ROM is unmodified again.
        if (model_ && !editOpen_) model_->SetModified(!undoStack_.isClean());
        RefreshTitle();
    });
}

TfrmEditorMain::~TfrmEditorMain() { qApp->removeEventFilter(this); }

// ---------------------------------------------------------------- construction

void TfrmEditorMain::CreateControls() {
    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);

    tlbToolbar = new QToolBar(client_);
    tlbToolbar->setObjectName("tlbToolbar");
    tlbToolbar->setIconSize(QSize(16, 16));
    tlbToolbar->setMovable(false);
    tlbToolbar->setGeometry(0, 0, ClientWidth, ToolbarHeight);

    imgScreen = new TImageView(client_, 2);
    imgScreen->setObjectName("imgScreen");
    imgScreen->setCursor(Qt::CrossCursor);
    scrLevelV = new QScrollBar(Qt::Vertical, client_);
    scrLevelV->setObjectName("scrLevelV");
    scrLevel = new QScrollBar(Qt::Horizontal, client_);
    scrLevel->setObjectName("scrLevel");
    imgTiles = new TImageView(client_, 2);
    imgTiles->setObjectName("imgTiles");
    scrTiles = new QScrollBar(Qt::Vertical, client_);
    scrTiles->setObjectName("scrTiles");
    scrTiles->setRange(0, 255);
    for (QScrollBar* bar : {scrLevel, scrLevelV, scrTiles}) {
        bar->setPageStep(1);
        bar->setSingleStep(1);
    }

    connect(imgScreen, &TImageView::MouseDown, this, &TfrmEditorMain::imgScreenMouseDown);
    connect(imgScreen, &TImageView::MouseMove, this, &TfrmEditorMain::imgScreenMouseMove);
    connect(imgScreen, &TImageView::MouseUp, this, &TfrmEditorMain::imgScreenMouseUp);
    connect(imgTiles, &TImageView::MouseDown, this, &TfrmEditorMain::imgTilesMouseDown);
    connect(scrLevel, &QScrollBar::valueChanged, this, &TfrmEditorMain::scrLevelChange);
    connect(scrLevelV, &QScrollBar::valueChanged, this, &TfrmEditorMain::scrLevelChange);
    connect(scrTiles, &QScrollBar::valueChanged, this, [this] { RedrawPicker(); });

    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(StatusBarHeight);
    const Qt::Alignment align[3] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter, Qt::AlignRight | Qt::AlignVCenter};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(bar);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setAlignment(align[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(StatusPanels[i]);
    }
}

QAction* TfrmEditorMain::NewAction(const char* name, const QString& caption, const QString& hint, const QKeySequence& key,
                                   bool needsROM) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setShortcutContext(Qt::ApplicationShortcut);
    if (needsROM) romActions_.push_back(a);
    return a;
}

QAction* TfrmEditorMain::Action(const char* objectName) const { return findChild<QAction*>(objectName); }

void TfrmEditorMain::CreateActions() {
    const QStyle* st = style();
    NewAction("actOpenROM", "Open ROM", "Opens a ROM in the editor.", QKeySequence("Ctrl+O"), false)
        ->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    NewAction("actSaveROM", "Save ROM", "Saves the currently loaded ROM.", QKeySequence("Ctrl+S"), true)
        ->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    NewAction("actCloseROM", "Close ROM", "Closes the currently opened ROM.", QKeySequence("Ctrl+W"), true)
        ->setIcon(st->standardIcon(QStyle::SP_DialogCloseButton));
    NewAction("actDistribute", "Distribute Hack", "", QKeySequence("Ctrl+Alt+S"), true);
    NewAction("actBackupManager", "Backup Manager", "", QKeySequence("Ctrl+B"), false);
    NewAction("actPreferences", "Preferences", "Preferences", QKeySequence("Ctrl+Alt+P"), false);
    NewAction("actProperties", "File Properties", "", QKeySequence("Ctrl+R"), true);
    QAction* map = NewAction("actSetMapEditingMode", "Map Editing Mode", "Map Editing Mode", QKeySequence("F2"), true);
    QAction* obj = NewAction("actObjectEditingMode", "Object Editing Mode", "Object Editing Mode", QKeySequence("F3"), true);
    map->setCheckable(true);
    obj->setCheckable(true);
    map->setIcon(GlyphIcon("M", QColor(0x30, 0x80, 0x30)));
    obj->setIcon(GlyphIcon("O", QColor(0xA0, 0x40, 0x30)));
    modeGroup_ = new QActionGroup(this);
    modeGroup_->addAction(map);
    modeGroup_->addAction(obj);
    NewAction("actAddEnemy", "Add New Enemy", "Add New Enemy", QKeySequence("F4"), true)->setIcon(GlyphIcon("+", QColor(0xC0, 0x30, 0x30)));
    QAction* grid = NewAction("actEnableGridlines", "Gridlines", "", QKeySequence("Shift+F5"), true);
    grid->setCheckable(true);
    grid->setIcon(GlyphIcon("#", QColor(0x50, 0x50, 0x60)));
    NewAction("actLevelMap", "Level Map", "", QKeySequence("Ctrl+M"), true);
    NewAction("actGoToLevel", "Go To Stage...", "Go to stage...", QKeySequence("Ctrl+J"), true)->setIcon(GlyphIcon("G", QColor(0x30, 0x60, 0xA0)));
    NewAction("actTSAEditor", "TSA Editor", "TSA Editor", QKeySequence("Ctrl+T"), true)->setIcon(GlyphIcon("T", QColor(0x70, 0x40, 0xA0)));
    NewAction("actLevelSettings", "Level Settings", "", QKeySequence("Ctrl+L"), true);
    NewAction("actPaletteEditor", "Palette Editor", "Activates the palette editing dialog", QKeySequence("Ctrl+P"), true)
        ->setIcon(GlyphIcon("P", QColor(0xC0, 0x80, 0x20)));
    NewAction("actSolidityEditor", "Solidity Editor", "Solidity Editor", QKeySequence("Ctrl+Alt+L"), true)
        ->setIcon(GlyphIcon("S", QColor(0x60, 0x60, 0x60)));
    NewAction("actDebugROMViewer", "Debug ROM Viewer", "", QKeySequence(), true);
    NewAction("actKeyboardLayout", "Keyboard Layout", "", QKeySequence("Ctrl+F1"), false);
    NewAction("actAbout", "About...", "", QKeySequence(), false);
    auto* undo = undoStack_.createUndoAction(this, "Undo");
    undo->setObjectName("actUndo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    auto* redo = undoStack_.createRedoAction(this, "Redo");
    redo->setObjectName("actRedo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    undo->setShortcutContext(Qt::ApplicationShortcut);
    redo->setShortcutContext(Qt::ApplicationShortcut);
    addAction(undo);
    addAction(redo);

    connect(Action("actSaveROM"), &QAction::triggered, this, &TfrmEditorMain::SaveROMCommand);
    connect(Action("actCloseROM"), &QAction::triggered, this, [this] { CloseROM(false); });
    connect(map, &QAction::triggered, this, &TfrmEditorMain::SetMapEditingMode);
    connect(obj, &QAction::triggered, this, &TfrmEditorMain::SetObjectEditingMode);
    connect(Action("actAddEnemy"), &QAction::triggered, this, &TfrmEditorMain::AddNewEnemy);
    connect(grid, &QAction::triggered, this, &TfrmEditorMain::ToggleGridlines);

}

void TfrmEditorMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    auto menu = [&](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    QMenu* file = menu("mnuFile", "&File");
    file->addAction(Action("actOpenROM"));
    mnuRecent = file->addMenu("Recent");
    mnuRecent->setObjectName("mnuRecent");
    for (int i = 0; i < 5; ++i) {
        recentItems_[i] = mnuRecent->addAction(QString());
        recentItems_[i]->setObjectName(QString("mnuRecentFile%1").arg(i));
        connect(recentItems_[i], &QAction::triggered, this, [this, i] { OpenRecent(i); });
    }
    file->addAction(Action("actSaveROM"));
    file->addAction(Action("actDistribute"));
    file->addAction(Action("actCloseROM"));
    file->addSeparator();
    file->addAction(Action("actBackupManager"));
    file->addAction(Action("actPreferences"));
    file->addAction(Action("actProperties"));
    mnuLaunchAssociatedEmulator = file->addAction("Launch Associated Emulator");
    mnuLaunchAssociatedEmulator->setObjectName("mnuLaunchAssociatedEmulator");
    mnuLaunchAssociatedEmulator->setShortcut(QKeySequence("F12"));
    file->addSeparator();
    QAction* exit = file->addAction("Exit");
    exit->setObjectName("mnuExit");
    exit->setShortcut(QKeySequence("Ctrl+X"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menu("mnuEdit", "&Edit");
    edit->addAction(Action("actUndo"));
    edit->addAction(Action("actRedo"));
    edit->addSeparator();
    edit->addAction(Action("actSetMapEditingMode"));
    edit->addAction(Action("actObjectEditingMode"));
    edit->addSeparator();
    edit->addAction(Action("actAddEnemy"));

    QMenu* view = menu("mnuView", "&View");
    mnuEnemies = view->addAction("Enemies");
    mnuEnemies->setObjectName("mnuEnemies");
    mnuEnemies->setShortcut(QKeySequence("Shift+F2"));
    mnuEnemies->setCheckable(true);
    mnuEnemies->setChecked(false);
    mnuSpecialObjects = view->addAction("Special Objects");
    mnuSpecialObjects->setObjectName("mnuSpecialObjects");
    mnuSpecialObjects->setShortcut(QKeySequence("Ctrl+F3"));
    mnuSpecialObjects->setCheckable(true);
    mnuSpecialObjects->setChecked(true);
    connect(mnuEnemies, &QAction::triggered, this, [this] { RedrawView(); });
    connect(mnuSpecialObjects, &QAction::triggered, this, [this] { RedrawView(); });
    view->addAction(Action("actEnableGridlines"));
    view->addSeparator();
    viewGroup_ = new QActionGroup(this);
    const char* names[5] = {"mnuDefault", "mnuSpriteChange1", "mnuSpriteChange2", "mnuSpriteChange3", "mnuSpriteChange4"};
    for (int i = 0; i < 5; ++i) {
        spriteViews_[i] = view->addAction(i == 0 ? QString("Default") : QString("Sprite Change %1").arg(i));
        spriteViews_[i]->setObjectName(names[i]);
        spriteViews_[i]->setCheckable(true);
        viewGroup_->addAction(spriteViews_[i]);
        connect(spriteViews_[i], &QAction::triggered, this, [this, i] {
            EnemyView = i;
            RedrawView();
        });
    }
    spriteViews_[0]->setChecked(true);
    view->addSeparator();
    view->addAction(Action("actLevelMap"));
    view->addAction(Action("actGoToLevel"));

    QMenu* tools = menu("mnuTools", "&Tools");
    tools->addAction(Action("actTSAEditor"));
    tools->addAction(Action("actLevelSettings"));
    tools->addAction(Action("actPaletteEditor"));
    tools->addAction(Action("actSolidityEditor"));
    mnuDebugROMViewer = Action("actDebugROMViewer");
    tools->addAction(mnuDebugROMViewer);

    QMenu* help = menu("mnuHelp", "&Help");
    help->addAction(Action("actKeyboardLayout"));
    help->addSeparator();
    QAction* home = help->addAction("Visit Quillborn Homepage");
    home->setObjectName("mnuVisitHomepage");
    connect(home, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(HomepageURL)); });
    help->addSeparator();
    help->addAction(Action("actAbout"));

    // The check-mark items show no icon in the menu.
    for (const char* name : {"actSetMapEditingMode", "actObjectEditingMode", "actEnableGridlines"}) Action(name)->setIconVisibleInMenu(false);
}

void TfrmEditorMain::CreateToolbar() {
    auto add = [&](const char* name) {
        QAction* a = Action(name);
        tlbToolbar->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(tlbToolbar->widgetForAction(a))) {
            b->setFixedSize(25, 23);
            b->setObjectName(QString("tlb") + (name + 3));
        }
    };
    add("actOpenROM");
    add("actSaveROM");
    add("actCloseROM");
    tlbToolbar->addSeparator();
    add("actGoToLevel");
    add("actTSAEditor");
    add("actPaletteEditor");
    add("actSolidityEditor");
    tlbToolbar->addSeparator();
    add("actEnableGridlines");
    tlbToolbar->addSeparator();
    add("actSetMapEditingMode");
    add("actObjectEditingMode");
    add("actAddEnemy");
}

// ---------------------------------------------------------------- layout

void TfrmEditorMain::ApplyLayout(int clientHeight, int viewHeight, int scrLevelTop) {
    clientHeight_ = clientHeight;
    imgScreen->setGeometry(0, 28, 512, viewHeight);
    scrLevelV->setGeometry(512, 28, 17, viewHeight);
    scrLevel->setGeometry(0, scrLevelTop, 512, 17);
    imgTiles->setGeometry(536, 28, 64, viewHeight);
    scrTiles->setGeometry(600, 28, 17, viewHeight);
    const int menuHeight = menuBar()->sizeHint().height();
    client_->setFixedSize(ClientWidth, clientHeight - StatusBarHeight);
    setFixedSize(ClientWidth, menuHeight + clientHeight);
}

void TfrmEditorMain::NormalLayout() {
    if (clientHeight_ != NormalClientHeight) ApplyLayout(NormalClientHeight, 384, 413);
}

void TfrmEditorMain::TallLayout() {
    if (clientHeight_ != TallClientHeight) ApplyLayout(TallClientHeight, 512, 541);
}

// ---------------------------------------------------------------- ROM handling

void TfrmEditorMain::RefreshTitle() {
    QString caption = ApplicationTitle;
    if (model_) {
        caption += " - [" + QFileInfo(Q(model_->ROMFileName())).fileName() + "]";
        if (model_->Modified()) caption += " *";
    }
    setWindowTitle(caption);
}

void TfrmEditorMain::EnableEditing(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{imgScreen, imgTiles, scrLevel, scrLevelV, scrTiles}) w->setVisible(on);
    for (QAction* a : romActions_) a->setEnabled(on);
    for (QAction* a : {mnuEnemies, mnuSpecialObjects}) a->setEnabled(on);
    for (QAction* a : spriteViews_) a->setEnabled(on);
    UpdateEmulatorMenuItem();
    if (!on) mnuLaunchAssociatedEmulator->setEnabled(false);
    if (on) {
        StatusPanels[0]->setFixedWidth(125);
        StatusPanels[1]->setFixedWidth(300);
        StatusPanels[2]->setFixedWidth(50);
        StatusPanels[1]->show();
        StatusPanels[2]->show();
    } else {
        StatusPanels[0]->setText("ROM not loaded.");
        StatusPanels[0]->setFixedWidth(ClientWidth);
        StatusPanels[1]->hide();
        StatusPanels[2]->hide();
    }
}

void TfrmEditorMain::RefreshRecentMenu() {
    mnuRecent->menuAction()->setVisible(settings_->RecentFileCount() != 0);
    const QFontMetrics fm(mnuRecent->font());
    for (int i = 0; i < 5; ++i) {
        const QString path = Q(settings_->RecentFile(i));
        recentItems_[i]->setVisible(!path.isEmpty());
        recentItems_[i]->setText(fm.elidedText(path, Qt::ElideMiddle, 500));
        recentItems_[i]->setData(path);
    }
}

void TfrmEditorMain::OpenRecent(int slot) {
    OpenROM(Q(settings_->RecentFile(slot)), Q(settings_->DataFilePath()), settings_->AutoCheck());
}

void TfrmEditorMain::CloseTSAEditor() {
    if (TSAEditor) {
        TSAEditor->close();
        delete TSAEditor.data();
    }
    TSATile = -1;
}

void TfrmEditorMain::DiscardModel() {
    CloseTSAEditor();
    EndEdit();
    undoStack_.clear();
    model_.reset();
    TSATile = -1;
    DragIndex = -1;
    DragKind = TDragKind::None;
}

void TfrmEditorMain::OpenROM(const QString& romPath, QString dataPath, bool autoCheck) {
    if (!QFileInfo(romPath).isFile()) return;
    if (autoCheck) {
        std::string detected;
        try {
            detected = DetectDataFile(Std(romPath), Std(DataFolder()));
        } catch (const EditorError& e) {
            TPrompter::Current().Error(this, Q(e.what()));
            return;
        }
        if (!detected.empty()) dataPath = DataFolder() + "/" + Q(detected);
    }
    if (!QFileInfo(dataPath).isFile()) return;

    // Unsaved changes are never dropped without a question.
    if (!SaveChangesFirst(TButtons::YesNoCancel)) return;
    DiscardModel();
    WorldView = false;

    settings_->AddRecentFile(Std(romPath));
    RefreshRecentMenu();

    auto noROM = [this] {
        DiscardModel();
        RefreshTitle();
        EnableEditing(false);
    };
    try {
        model_ = std::make_unique<TROMData>(Std(romPath), Std(dataPath), Std(DataFolder()));
    } catch (const EditorError&) {
        noROM();
        throw;
    }
    if (!model_->IsValidROM()) {
        const int reaction = settings_->MapperWarnings();
        if (reaction == 0) {
            TPrompter::Current().Message(this, "This is not a Teenage Mutant Ninja Turtles ROM.");
            noROM();
            return;
        }
        if (reaction == 1 &&
            TPrompter::Current().Ask(this, TPromptKind::Confirmation, ApplicationTitle,
                                     "The memory mapper of this ROM does not match the specifications of valid Teenage Mutant Ninja "
                                     "Turtles ROMs. Do you wish to continue?",
                                     TButtons::YesNo) != TAnswer::Yes) {
            noROM();
            return;
        }
    }
    try {
        const QString palette = Q(settings_->PalettePath());
        if (QFileInfo(palette).isFile())
            model_->LoadPaletteFile(Std(palette));
        else
            model_->LoadDefaultPalette();
        model_->SetLevel(0);
    } catch (const EditorError&) {
        noROM();
        throw;
    }
    StatusPanels[2]->setText(QFileInfo(dataPath).fileName());
    StatusPanels[2]->setToolTip(dataPath);
    EnableEditing(true);
    SetMapEditingMode();
    UpdateEmulatorMenuItem();
    ResetView();
    RefreshTitle();
    TSATile = -1;
}

bool TfrmEditorMain::SaveChangesFirst(TButtons buttons) {
    EndEdit();
    if (!model_ || !model_->Modified()) return true;
    const TAnswer a = TPrompter::Current().Ask(this, TPromptKind::Confirmation, QString(), "This ROM has some changes. Do you wish to save?", buttons);
    if (a == TAnswer::Cancel) return false;
    if (a == TAnswer::Yes && !model_->SaveROM()) {
        // A failed save keeps the ROM open, so nothing is lost.
        TPrompter::Current().Message(this, Q(model_->SaveError()));
        RefreshTitle();
        return false;
    }
    return true;
}

void TfrmEditorMain::ReportSettingsNotSaved() {
    TPrompter::Current().Error(this, "The settings cannot be saved to \"" + Q(settings_->SettingsFileName()) +
                                         "\". Changes to them last until Quillborn closes.");
}

bool TfrmEditorMain::CloseROM(bool appClosing) {
    if (settings_->Modified() && !settings_->SaveSettings()) ReportSettingsNotSaved();
    if (!model_) return true;
    if (!SaveChangesFirst(appClosing ? TButtons::YesNo : TButtons::YesNoCancel)) return false;
    DiscardModel();
    RefreshTitle();
    if (!appClosing) EnableEditing(false);
    return true;
}

void TfrmEditorMain::SaveROMCommand() {
    if (!model_) return;
    EndEdit();
    if (settings_->Backup()) {
        std::string error;
        if (!BackupROM(model_->ROMFileName(), Std(programFolder_ + "/Backups"), std::time(nullptr), error)) {
            TPrompter::Current().Message(this, "The backup could not be made: " + Q(error) + "\nThe ROM was not saved.");
            return;
        }
    }
    if (model_->SaveROM()) {
        undoStack_.setClean();
        TPrompter::Current().Message(this, "Changes saved.");
    } else {
        TPrompter::Current().Message(this, Q(model_->SaveError()));
    }
    RefreshTitle();
}

void TfrmEditorMain::closeEvent(QCloseEvent* e) {
    if (!CloseROM(true)) {
        e->ignore();
        return;
    }
    if (settings_->Modified() && !settings_->SaveSettings()) ReportSettingsNotSaved();
    e->accept();
}

void TfrmEditorMain::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls() && QApplication::activeModalWidget() == nullptr) e->acceptProposedAction();
}

void TfrmEditorMain::dropEvent(QDropEvent* e) {
    if (DropFiles(e->mimeData()->urls())) e->acceptProposedAction();
}

bool TfrmEditorMain::DropFiles(const QList<QUrl>& urls) {
    // Only the first file opens; while a dialog is open the window takes no drops.
    if (urls.isEmpty() || QApplication::activeModalWidget() != nullptr) return false;
    OpenROM(urls.first().toLocalFile(), Q(settings_->DataFilePath()), settings_->AutoCheck());
    return true;
}

// ---------------------------------------------------------------- drawing

uint8_t TfrmEditorMain::ShowMask() const {
    return static_cast<uint8_t>((mnuEnemies->isChecked() ? 1 : 0) | (mnuSpecialObjects->isChecked() ? 2 : 0));
}

void TfrmEditorMain::DrawStageView() {
    if (!model_) return;
    TStageViewParams p;
    p.ShowMask = ShowMask();
    p.EnemyView = EnemyView;
    p.MarkerOpacity = settings_->IconTrans() ? settings_->IconOpaque() : 255;
    p.Gridlines = {settings_->ShowGridlines(), settings_->GridlineColour()};
    ComposeStageView(*model_, p, viewPicture_);
    imgScreen->SetBitmap(viewPicture_);
}

namespace {
std::vector<TImageView::Label> ToLabels(const std::vector<TPickerLabel>& labels) {
    std::vector<TImageView::Label> out;
    for (const auto& l : labels) out.push_back({QString::fromStdString(l.Text), l.X, l.Y, static_cast<QRgb>(l.Colour)});
    return out;
}
// The picker's small labels: a 7-point font in the 32-pixel-wide picture, which the view doubles.
QFont PickerFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPixelSize(9);
    f.setStretch(QFont::Condensed);
    return f;
}
}  // namespace

void TfrmEditorMain::DrawTilePicker() {
    if (!model_) return;
    TPickerMarks m{scrTiles->value(), LeftBlock, MiddleBlock, settings_->LeftTextColour(), settings_->MidTextColour(),
                   settings_->DispMidLeftText()};
    const auto labels = ComposeTilePicker(*model_, m, pickerPicture_);
    imgTiles->SetBitmap(pickerPicture_);
    imgTiles->SetLabels(ToLabels(labels), PickerFont());
}

void TfrmEditorMain::DrawWorldView() {
    if (!model_ || !model_->CurrentLevel) return;
    ComposeWorldView(*model_->CurrentLevel, {settings_->ShowGridlines(), settings_->GridlineColour()}, viewPicture_);
    imgScreen->SetBitmap(viewPicture_);
}

void TfrmEditorMain::DrawWorldPicker() {
    if (!model_ || !model_->CurrentLevel) return;
    TPickerMarks m{scrTiles->value(), WorldLeftBlock, WorldMiddleBlock, settings_->LeftTextColour(), settings_->MidTextColour(),
                   settings_->DispMidLeftText()};
    const auto labels = ComposeWorldPicker(*model_->CurrentLevel, m, pickerPicture_);
    imgTiles->SetBitmap(pickerPicture_);
    imgTiles->SetLabels(ToLabels(labels), PickerFont());
}

void TfrmEditorMain::RedrawView() { WorldView ? DrawWorldView() : DrawStageView(); }
void TfrmEditorMain::RedrawPicker() { WorldView ? DrawWorldPicker() : DrawTilePicker(); }

void TfrmEditorMain::RefreshGraphics() {
    if (!model_) return;
    model_->RefreshBlocks(scrTiles->value());
    RedrawView();
    RedrawPicker();
    RedrawTSASheet();
}

// ---------------------------------------------------------------- view state

void TfrmEditorMain::ResetView() {
    if (!model_) return;
    if (WorldView) {
        model_->InitWorldMap();
        scrLevel->setValue(0);
        scrLevelV->setValue(0);
        scrTiles->setValue(0);
        DrawWorldView();
        DrawWorldPicker();
        ShowWorldStatus();
        UpdateWorldScrollRanges();
        TallLayout();
        RedrawTSASheet();
        RefreshTitle();
        return;
    }
    UpdatePickerRange();
    scrLevel->setValue(0);
    scrLevelV->setValue(0);
    scrTiles->setValue(0);
    DrawStageView();
    DrawTilePicker();
    ShowStageStatus();
    UpdateStageScrollRanges();
    NormalLayout();
    RefreshTitle();
}

void TfrmEditorMain::ShowStageStatus() {
    const TSideScrLevel& s = *model_->CurrentStage;
    StatusPanels[1]->setText(QString("Level: %1-%2 Screen: %3 Screen ID: %4")
                                 .arg(model_->LevelIndex + 1)
                                 .arg(model_->StageIndex + 1)
                                 .arg(Q(HexByte(model_->Screen)))
                                 .arg(Q(HexByte(s.GetRoom(model_->Screen)))));
}

void TfrmEditorMain::UpdateStageScrollRanges() {
    const TSideScrLevel& s = *model_->CurrentStage;
    scrLevel->setMaximum(std::max(0, s.Width() - 1));
    scrLevelV->setMaximum(std::max(0, s.Height() - 1));
    scrLevel->setEnabled(s.Width() > 1);
    scrLevelV->setEnabled(s.Height() > 1);
}

void TfrmEditorMain::UpdatePickerRange() {
    const int stageMax = model_->CurrentStage->MaxTiles, levelMax = model_->CurrentLevel->MaxTiles;
    if (stageMax != 0)
        scrTiles->setMaximum(std::max(0, stageMax - 5));
    else if (levelMax > 0)
        scrTiles->setMaximum(std::max(0, levelMax - 5));
}

void TfrmEditorMain::ShowWorldStatus() { StatusPanels[1]->setText(QString("Level: %1").arg(model_->LevelIndex + 1)); }

void TfrmEditorMain::UpdateWorldScrollRanges() {
    scrLevelV->setMaximum(std::max(0, model_->CurrentLevel->WorldHeight() - 1));
    scrLevel->setMaximum(std::max(0, model_->CurrentLevel->WorldWidth() - 1));
}

void TfrmEditorMain::scrLevelChange() {
    if (!model_ || !model_->CurrentStage) return;
    const int p = scrLevelV->value() * (scrLevel->maximum() + 1) + scrLevel->value();
    if (WorldView) {
        const TLevel& level = *model_->CurrentLevel;
        if (p >= std::max(1, level.WorldWidth() * level.WorldHeight())) return;
        model_->CurrentLevel->SetWorldScreen(p);
        DrawWorldView();
        DrawWorldPicker();
    } else {
        // While the ranges follow a new stage the position can briefly name no screen.
        if (p >= std::max(1, model_->CurrentStage->ScreenCount())) return;
        model_->SetScreen(p);
        DrawStageView();
        ShowStageStatus();
    }
    RefreshTitle();
}

void TfrmEditorMain::SetMapEditingMode() {
    Action("actSetMapEditingMode")->setChecked(true);
    Action("actObjectEditingMode")->setChecked(false);
    EditMode = TEditMode::Map;
    StatusPanels[0]->setText("Map Editing Mode");
}

void TfrmEditorMain::SetObjectEditingMode() {
    Action("actObjectEditingMode")->setChecked(true);
    Action("actSetMapEditingMode")->setChecked(false);
    EditMode = TEditMode::Object;
    StatusPanels[0]->setText("Object Editing Mode");
}

void TfrmEditorMain::ToggleGridlines() {
    settings_->SetShowGridlines(!settings_->ShowGridlines());
    Action("actEnableGridlines")->setChecked(settings_->ShowGridlines());
    RedrawView();
}

void TfrmEditorMain::AddNewEnemy() {
    if (!model_) return;
    BeginEdit("Add Enemy");
    const bool added = model_->AddEnemy();
    EndEdit();
    if (added) {
        // The new enemy waits at the screen's corner to be dragged into place.
        if (settings_->AutoObjMode() && EditMode != TEditMode::Object) SetObjectEditingMode();
        RedrawView();
        RefreshTitle();
    } else {
        TPrompter::Current().Message(this,
                                     "You have reached the maximum allowed amount of enemies in the ROM. Delete enemies from other "
                                     "stages to add more to this stage.");
    }
}

bool TfrmEditorMain::HandlePageKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!model_ || (key != Qt::Key_PageUp && key != Qt::Key_PageDown)) return false;
    EndEdit();
    const bool up = key == Qt::Key_PageUp;
    const int levels = model_->Levels.Count();
    if (!(modifiers & Qt::ShiftModifier)) {
        WorldView = false;
        const int next = up ? (model_->LevelIndex + 1) % levels : (model_->LevelIndex + levels - 1) % levels;
        model_->SetLevel(next);
    } else {
        const int s = model_->StageIndex, last = model_->CurrentLevel->Stages.Count() - 1;
        const bool world = model_->CurrentLevel->HasWorldMap();
        const int edge = up ? last : 0;
        if (s == edge) {
            if (world) {
                if (!WorldView)
                    WorldView = true;
                else {
                    WorldView = false;
                    model_->SetStage(up ? 0 : last);
                }
            }
        } else if (WorldView) {
            WorldView = false;
        } else {
            model_->SetStage(up ? s + 1 : s - 1);
        }
    }
    ResetView();
    RedrawTSASheet();
    return true;
}

bool TfrmEditorMain::eventFilter(QObject* watched, QEvent* e) {
    // The window sees Page Up and Page Down before any control, so a focused scroll bar never pages.
    if (e->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_PageUp || k->key() == Qt::Key_PageDown) && QApplication::activeModalWidget() == nullptr) {
            if (!model_) return true;
            return HandlePageKey(k->key(), k->modifiers());
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

// ---------------------------------------------------------------- stage editing

void TfrmEditorMain::BringIntoPicker(uint8_t block) {
    const int first = scrTiles->value();
    const int w = std::min<int>(block, scrTiles->maximum());
    if (!(first < w && w < first + 5)) scrTiles->setValue(w);
}

void TfrmEditorMain::imgScreenMouseDown(const TViewMouse& m) {
    if (!model_) return;
    if (WorldView) {
        RefreshTitle();
        return;
    }
    if (model_->CurrentStage->Glitched) {
        TPrompter::Current().Message(this, "Quillborn currently does not have editing support for this stage.");
        return;
    }
    const bool shift = m.Modifiers & Qt::ShiftModifier, ctrl = m.Modifiers & Qt::ControlModifier;
    const int px = m.X / 2, py = m.Y / 2;
    if (EditMode == TEditMode::Map) {
        const int col = std::clamp(px / 32, 0, 7), row = std::clamp(py / 32, 0, 5);
        switch (m.Button) {
        case Qt::LeftButton:
            BeginEdit("Paint Blocks");
            model_->SetBlock(col, row, shift ? MiddleBlock : LeftBlock);
            RedrawView();
            break;
        case Qt::RightButton:
            (shift ? MiddleBlock : LeftBlock) = model_->GetBlock(col, row);
            BringIntoPicker(shift ? MiddleBlock : LeftBlock);
            RedrawPicker();
            break;
        case Qt::MiddleButton:
            if (shift) {
                MiddleBlock = model_->GetBlock(col, row);
            } else {
                BeginEdit("Paint Blocks");
                model_->SetBlock(col, row, MiddleBlock);
            }
            RedrawView();
            break;
        default: break;
        }
    } else {
        const bool right = m.Buttons & Qt::RightButton;
        DragKind = TDragKind::None;
        DragIndex = model_->EnemyAt(px, py);
        if (DragIndex >= 0) {
            DragKind = TDragKind::Enemy;
            if (right) {
                if (shift) {
                    EditEnemyProperties(DragIndex);
                } else if (ctrl) {
                    const bool sure = Settings().DisableEnemyDeletePrompt() ||
                                      TPrompter::Current().Ask(this, TPromptKind::Confirmation, QString(),
                                                               "Are you sure that you wish to delete this enemy?",
                                                               TButtons::YesNo) == TAnswer::Yes;
                    if (sure) {
                        BeginEdit("Delete Enemy");
                        model_->DeleteEnemy(DragIndex);
                        EndEdit();
                    }
                    ShowStageStatus();
                    RedrawView();
                    RefreshTitle();
                }
                DragIndex = -1;
                DragKind = TDragKind::None;
            } else {
                BeginEdit("Move Enemy");
            }
        } else {
            DragIndex = model_->SpecObjAt(px, py);
            if (DragIndex >= 0) {
                DragKind = TDragKind::SpecObj;
                if (right && shift)
                    EditSpecObjProperties(DragIndex);
                else if (!right)
                    BeginEdit("Move Special Object");
            }
        }
    }
    RefreshTitle();
}

void TfrmEditorMain::imgScreenMouseMove(const TViewMouse& m) {
    if (!model_ || WorldView || model_->CurrentStage->Glitched) return;
    if (m.X < 0 || m.X > 511 || m.Y < 0 || m.Y > 383) return;
    const bool shift = m.Modifiers & Qt::ShiftModifier;
    const int px = m.X / 2, py = m.Y / 2;
    if (EditMode == TEditMode::Map) {
        const int col = px / 32, row = py / 32;
        if (m.Buttons & Qt::LeftButton) {
            if (!editOpen_) BeginEdit("Paint Blocks");
            model_->SetBlock(col, row, shift ? MiddleBlock : LeftBlock);
            RedrawView();
        } else if (m.Buttons & Qt::RightButton) {
            (shift ? MiddleBlock : LeftBlock) = model_->GetBlock(col, row);
        } else if (m.Buttons & Qt::MiddleButton) {
            if (shift) {
                MiddleBlock = model_->GetBlock(col, row);
            } else {
                if (!editOpen_) BeginEdit("Paint Blocks");
                model_->SetBlock(col, row, MiddleBlock);
            }
            RedrawView();
        }
        return;
    }
    if (DragIndex < 0 || !(m.Buttons & Qt::LeftButton)) return;
    const bool ctrl = m.Modifiers & Qt::ControlModifier;
    const int x = ctrl ? px : (px & ~7), y = ctrl ? py : (py & ~1);
    if (DragKind == TDragKind::Enemy && DragIndex < model_->CurrentStage->Enemies->Count()) {
        TEnemy& e = model_->CurrentStage->Enemies->Items(DragIndex);
        if (e.X() != x) {
            e.SetX(x);
            model_->SetModified(true);
        }
        if (e.Y() != y) {
            e.SetY(y);
            model_->SetModified(true);
        }
    } else if (DragKind == TDragKind::SpecObj && DragIndex < model_->CurrentStage->SpecObjs->Count()) {
        TSpecObj& o = model_->CurrentStage->SpecObjs->Items(DragIndex);
        if (o.X() != x) {
            o.SetX(x);
            model_->SetModified(true);
        }
        if (o.Y() != y) {
            o.SetY(y);
            model_->SetModified(true);
        }
    }
    RedrawView();
    RefreshTitle();
}

void TfrmEditorMain::imgScreenMouseUp(const TViewMouse&) {
    if (!model_) return;
    if (EditMode == TEditMode::Object) DragIndex = -1;
    EndEdit();
    RefreshTitle();
}

void TfrmEditorMain::imgTilesMouseDown(const TViewMouse& m) {
    if (!model_ || WorldView) return;
    const int first = scrTiles->value();
    const int block = (first + m.Y / 64) % 256;
    const bool shift = m.Modifiers & Qt::ShiftModifier;
    if (TSATile < 0) {
        if ((m.Button == Qt::LeftButton && shift) || m.Button == Qt::MiddleButton)
            MiddleBlock = static_cast<uint8_t>(block);
        else if (m.Button == Qt::LeftButton)
            LeftBlock = static_cast<uint8_t>(block);
    } else if (m.Button == Qt::LeftButton && !shift) {
        BeginEdit("Edit Block");
        model_->SetTSATile(block, m.X / 16, static_cast<uint8_t>(TSATile), (m.Y % 64) / 16);
        EndEdit();
        RedrawView();
    } else if (m.Button == Qt::RightButton) {
        BeginEdit("Change Block Colours");
        model_->CycleAttribute(block, m.X / 32, (m.Y % 64) / 32);
        EndEdit();
        RedrawView();
    }
    RefreshTitle();
    RedrawPicker();
}

// ---------------------------------------------------------------- undo and redo

TEditPlace TfrmEditorMain::Place() const {
    return model_ ? TEditPlace{model_->LevelIndex, model_->StageIndex, model_->Screen} : TEditPlace{};
}

void TfrmEditorMain::BeginEdit(const QString& name) {
    if (!model_) return;
    if (editOpen_) EndEdit();
    editOpen_ = true;
    editName_ = name;
    editPlace_ = Place();
    editObjects_ = model_->CaptureObjects();
    model_->Image().BeginRecording();
}

void TfrmEditorMain::EndEdit() {
    if (!editOpen_ || !model_) {
        editOpen_ = false;
        return;
    }
    editOpen_ = false;
    std::vector<TByteChange> changes = model_->Image().EndRecording();
    TObjectState after = model_->CaptureObjects();
    const bool objectsChanged = !(after == editObjects_);
    if (changes.empty() && !objectsChanged) return;
    undoStack_.push(new TEditCommand(this, editName_, std::move(changes), std::move(editObjects_), std::move(after), objectsChanged, editPlace_));
}

void TfrmEditorMain::ShowPlace(const TEditPlace& place) {
    bool changed = false;
    if (WorldView || place.Level != model_->LevelIndex) {
        WorldView = false;
        model_->SetLevel(place.Level);
        changed = true;
    }
    if (place.Stage != model_->StageIndex) {
        model_->SetStage(place.Stage);
        changed = true;
    }
    if (changed) ResetView();
    if (place.Screen != model_->Screen) {
        const int width = std::max(1, static_cast<int>(model_->CurrentStage->Width()));
        scrLevelV->setValue(place.Screen / width);
        scrLevel->setValue(place.Screen % width);
    }
}

void TfrmEditorMain::ApplyEdit(const std::vector<TByteChange>& changes, const TObjectState& objects, bool objectsChanged,
                               const TEditPlace& place, bool undo) {
    if (!model_) return;
    EndEdit();
    model_->Image().ApplyChanges(changes, undo);
    if (objectsChanged) model_->RestoreObjects(objects);
    ShowPlace(place);
    // The bytes may be tiles or colours of the stage: reload the working copies before drawing.
    model_->LoadPatternBuffer();
    model_->LoadStagePalette();
    RefreshGraphics();
    if (model_->CurrentStage) ShowStageStatus();
    RefreshTitle();
}

#include "config/frm_Preferences.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Prompt.h"
#include "app/UiCommon.h"
#include "config/classes_configuration.h"
#include "rom/Errors.h"
#include "tools/core_detect.h"

namespace {

QButtonGroup* RadioGroup(QWidget* parent, QLayout* into, const char* name, const QString& caption, const QStringList& items) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        layout->addWidget(b);
        group->addButton(b, i);
    }
    into->addWidget(box);
    return group;
}

QCheckBox* Check(QWidget* parent, QLayout* into, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    into->addWidget(c);
    return c;
}

// Colours are stored $AARRGGBB; pickers show them without alpha and give them back opaque.
QColor FromSetting(TColor32 c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }
TColor32 ToSetting(const QColor& c) { return 0xFF000000u | (c.red() << 16) | (c.green() << 8) | c.blue(); }

}  // namespace

TfrmPreferences::TfrmPreferences(TEditorConfig& settings, const QString& programFolder, bool romOpen, QWidget* parent)
    : QDialog(parent), settings_(settings), programFolder_(programFolder) {
    setObjectName("frmPreferences");
    setWindowTitle("Preferences");
    auto* layout = new QVBoxLayout(this);
    pgcPreferences = new QTabWidget(this);
    pgcPreferences->setObjectName("pgcPreferences");
    layout->addWidget(pgcPreferences);

    // General
    auto* general = new QWidget(pgcPreferences);
    auto* g = new QVBoxLayout(general);
    auto* form = new QFormLayout;
    lblDatafile = new QLabel("Default Data File:", general);
    lblDatafile->setObjectName("lblDatafile");
    cbDataFile = new QComboBox(general);
    cbDataFile->setObjectName("cbDataFile");
    form->addRow(lblDatafile, cbDataFile);
    cbPaletteFile = new QComboBox(general);
    cbPaletteFile->setObjectName("cbPaletteFile");
    form->addRow("Palette:", cbPaletteFile);
    g->addLayout(form);
    chkBackupFiles = Check(general, g, "chkBackupFiles", "Backup Files When Saving");
    chkAutoCheck = Check(general, g, "chkAutoCheck", "Attempt to select correct data file for ROM");
    chkDisableDeleteEnemyPrompt = Check(general, g, "chkDisableDeleteEnemyPrompt", "Disable Delete Enemy Prompt");
    chkAutoGotoObjEditing = Check(general, g, "chkAutoGotoObjEditing", "Automatically go to object mode, when adding new enemy/object");
    rdgWhenIncorrectMapper = RadioGroup(general, g, "rdgWhenIncorrectMapper", "When Mapper and PRG counts don't match:",
                                        {"Don't Load ROM", "Prompt", "Ignore"});
    g->addStretch();
    pgcPreferences->addTab(general, "General");

    // Display Options
    auto* display = new QWidget(pgcPreferences);
    auto* d = new QVBoxLayout(display);
    chkShowLeftMidText = Check(display, d, "chkShowLeftMidText", "Show Left && Middle Tile Text");
    auto* colours = new QFormLayout;
    const char* swatchNames[4] = {"imgLeftText", "imgRightText", "imgGridlineColour", "imgSpecObjOutline"};
    const char* buttonNames[4] = {"cmdBrowseLeft", "cmdBrowseRight", "cmdBrowseGridlines", "cmdSpecObjOutline"};
    const char* captions[4] = {"Left Text/Left Selected Tile Colour:", "Middle Text/Middle Selected Tile  Colour:", "Gridline Colour:",
                               "Special Object Outline:"};
    for (int i = 0; i < 4; ++i) {
        auto* row = new QHBoxLayout;
        swatches[i] = new QLabel(display);
        swatches[i]->setObjectName(swatchNames[i]);
        swatches[i]->setFixedSize(25, 20);
        swatches[i]->setAutoFillBackground(true);
        swatches[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        auto* browse = new QPushButton("...", display);
        browse->setObjectName(buttonNames[i]);
        browse->setFixedWidth(30);
        connect(browse, &QPushButton::clicked, this, [this, i] { BrowseColour(i); });
        row->addWidget(swatches[i]);
        row->addWidget(browse);
        row->addStretch();
        colours->addRow(captions[i], row);
    }
    d->addLayout(colours);
    chkShowGridlinesByDefault = Check(display, d, "chkShowGridlinesByDefault", "Show Gridlines By Default");
    chkIconTransparency = Check(display, d, "chkIconTransparency", "Draw Transparent Icons");
    auto* icon = new QFormLayout;
    txtIconTransparency = new QSpinBox(display);
    txtIconTransparency->setObjectName("txtIconTransparency");
    txtIconTransparency->setRange(0, 255);
    icon->addRow("Icon Transparency:", txtIconTransparency);
    d->addLayout(icon);
    d->addStretch();
    pgcPreferences->addTab(display, "Display Options");

    // Emulator Settings
    auto* emulator = new QWidget(pgcPreferences);
    auto* e = new QVBoxLayout(emulator);
    auto* emuRow = new QHBoxLayout;
    emuRow->addWidget(new QLabel("Emulator Path:", emulator));
    txtEmulatorPath = new QLineEdit(emulator);
    txtEmulatorPath->setObjectName("txtEmulatorPath");
    emuRow->addWidget(txtEmulatorPath);
    auto* browseEmu = new QPushButton(". . .", emulator);
    browseEmu->setObjectName("cmdBrowse");
    emuRow->addWidget(browseEmu);
    e->addLayout(emuRow);
    rdgEmuFileSettings = RadioGroup(emulator, e, "rdgEmuFileSettings", "Emulator Filename Settings",
                                    {"Normal", "Use 8.3 DOS Filename", "Surround with quotes"});
    chkDisplayEmulatorSaveWarning = Check(emulator, e, "chkDisplayEmulatorSaveWarning", "Display Emulator Save Warning");
    e->addStretch();
    pgcPreferences->addTab(emulator, "Emulator Settings");
    connect(browseEmu, &QPushButton::clicked, this, &TfrmPreferences::cmdBrowseClick);

    // IPS
    auto* ips = new QWidget(pgcPreferences);
    auto* ip = new QVBoxLayout(ips);
    auto fileRow = [&](const QString& caption, const char* editName, const char* buttonName, QLineEdit*& edit) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(caption, ips));
        edit = new QLineEdit(ips);
        edit->setObjectName(editName);
        row->addWidget(edit);
        auto* b = new QPushButton(". . .", ips);
        b->setObjectName(buttonName);
        row->addWidget(b);
        ip->addLayout(row);
        return b;
    };
    connect(fileRow("Unmodified ROM:", "txtOriginalROMFilename", "cmdIPSBrowse", txtOriginalROMFilename), &QPushButton::clicked, this,
            &TfrmPreferences::cmdIPSBrowseClick);
    connect(fileRow("Save IPS as:", "txtSaveAsIPS", "cmdBrowseIPSSaveAs", txtSaveAsIPS), &QPushButton::clicked, this,
            &TfrmPreferences::cmdBrowseIPSSaveAsClick);
    auto* note = new QLabel("(If left unspecified, IPS is dumped to the same directory and \r\nwith same name as ROM)", ips);
    note->setObjectName("lblIPSNoteSaveAs");
    ip->addWidget(note);
    auto* credit = new QGroupBox("Patching Facilities Provided By:", ips);
    credit->setObjectName("grpPatching");
    auto* c = new QHBoxLayout(credit);
    auto* logo = new QLabel(credit);
    logo->setPixmap(GlyphIcon("IPS", QColor(0x30, 0x50, 0x90)).pixmap(32, 32));
    c->addWidget(logo);
    auto* texts = new QVBoxLayout;
    lblLunarCompress = new QLabel(credit);
    lblLunarCompress->setObjectName("lblLunarCompress");
    texts->addWidget(lblLunarCompress);
    texts->addWidget(new QLabel("Written by the Quillborn developers, after the published IPS format.", credit));
    c->addLayout(texts);
    ip->addWidget(credit);
    ip->addStretch();
    pgcPreferences->addTab(ips, "IPS");

    auto* buttons = new QHBoxLayout;
    auto* restore = new QPushButton("Restore Defaults", this);
    restore->setObjectName("cmdRestoreDefaults");
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    buttons->addWidget(restore);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(restore, &QPushButton::clicked, this, &TfrmPreferences::cmdRestoreDefaultsClick);
    connect(ok, &QPushButton::clicked, this, &TfrmPreferences::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // FormShow
    cbDataFile->setEnabled(!romOpen);
    lblDatafile->setEnabled(!romOpen);
    FillPaletteList();
    FillDataFileList();
    LoadFromSettings();
    lblLunarCompress->setText("Quillborn IPS Writer v" QUILLBORN_VERSION);
}

void TfrmPreferences::FillPaletteList() {
    cbPaletteFile->clear();
    const QDir dir(programFolder_ + "/Data/Palettes");
    for (const QString& name : dir.entryList({"*.pal"}, QDir::Files, QDir::Name)) cbPaletteFile->addItem(name);
}

void TfrmPreferences::FillDataFileList() {
    cbDataFile->clear();
    try {
        for (const std::string& line : ReadDataFileList(Std(programFolder_ + "/Data"))) cbDataFile->addItem(Q(line));
    } catch (const EditorError& e) {
        TPrompter::Current().Error(this, Q(e.what()));
    }
}

void TfrmPreferences::SetSwatch(int swatch, QColor colour) {
    colours_[swatch] = colour;
    QPalette pal = swatches[swatch]->palette();
    pal.setColor(QPalette::Window, colour);
    swatches[swatch]->setPalette(pal);
}

QColor TfrmPreferences::SwatchColour(int swatch) const { return colours_[swatch]; }

void TfrmPreferences::LoadFromSettings() {
    SetSwatch(0, FromSetting(settings_.LeftTextColour()));
    SetSwatch(1, FromSetting(settings_.MidTextColour()));
    SetSwatch(2, FromSetting(settings_.GridlineColour()));
    SetSwatch(3, FromSetting(settings_.SpecOutlineColour()));
    cbDataFile->setCurrentIndex(cbDataFile->findText(Q(settings_.DataFile()), Qt::MatchFixedString));
    const int palette = cbPaletteFile->findText(Q(settings_.Palette()), Qt::MatchFixedString);
    cbPaletteFile->setCurrentIndex(palette >= 0 ? palette : (cbPaletteFile->count() > 0 ? 0 : -1));
    chkBackupFiles->setChecked(settings_.Backup());
    chkAutoCheck->setChecked(settings_.AutoCheck());
    chkDisableDeleteEnemyPrompt->setChecked(settings_.DisableEnemyDeletePrompt());
    chkAutoGotoObjEditing->setChecked(settings_.AutoObjMode());
    if (auto* b = rdgWhenIncorrectMapper->button(settings_.MapperWarnings())) b->setChecked(true);
    chkShowLeftMidText->setChecked(settings_.DispMidLeftText());
    chkShowGridlinesByDefault->setChecked(settings_.Gridlines());
    chkIconTransparency->setChecked(settings_.IconTrans());
    txtIconTransparency->setValue(settings_.IconOpaque());
    txtEmulatorPath->setText(Q(settings_.EmulatorPath()));
    if (auto* b = rdgEmuFileSettings->button(settings_.EmuFileSettings())) b->setChecked(true);
    chkDisplayEmulatorSaveWarning->setChecked(settings_.EmuDisplaySaveWarning());
    txtOriginalROMFilename->setText(Q(settings_.IPSOriginal()));
    txtSaveAsIPS->setText(Q(settings_.IPSOutput()));
}

void TfrmPreferences::ApplyToSettings() {
    settings_.SetLeftTextColour(ToSetting(colours_[0]));
    settings_.SetMidTextColour(ToSetting(colours_[1]));
    settings_.SetGridlineColour(ToSetting(colours_[2]));
    settings_.SetSpecOutlineColour(ToSetting(colours_[3]));
    settings_.SetDataFile(Std(cbDataFile->currentIndex() >= 0 ? cbDataFile->currentText() : QString()));
    settings_.SetPalette(Std(cbPaletteFile->currentIndex() >= 0 ? cbPaletteFile->currentText() : QString()));
    settings_.SetBackup(chkBackupFiles->isChecked());
    settings_.SetAutoCheck(chkAutoCheck->isChecked());
    settings_.SetDisableEnemyDeletePrompt(chkDisableDeleteEnemyPrompt->isChecked());
    settings_.SetAutoObjMode(chkAutoGotoObjEditing->isChecked());
    settings_.SetMapperWarnings(static_cast<uint8_t>(std::max(0, rdgWhenIncorrectMapper->checkedId())));
    settings_.SetDispMidLeftText(chkShowLeftMidText->isChecked());
    settings_.SetGridlines(chkShowGridlinesByDefault->isChecked());
    settings_.SetIconTrans(chkIconTransparency->isChecked());
    settings_.SetIconOpaque(static_cast<uint8_t>(txtIconTransparency->value() & 0xFF));
    settings_.SetEmulatorPath(Std(txtEmulatorPath->text()));
    settings_.SetEmuFileSettings(static_cast<uint8_t>(std::max(0, rdgEmuFileSettings->checkedId())));
    settings_.SetEmuDisplaySaveWarning(chkDisplayEmulatorSaveWarning->isChecked());
    settings_.SetIPSOriginal(Std(txtOriginalROMFilename->text()));
    settings_.SetIPSOutput(Std(txtSaveAsIPS->text()));
}

void TfrmPreferences::cmdOKClick() {
    ApplyToSettings();
    accept();
}

void TfrmPreferences::cmdRestoreDefaultsClick() {
    settings_.RestoreDefaults();
    if (!settings_.SaveSettings()) TPrompter::Current().Error(this, "The settings file cannot be written.");
    LoadFromSettings();
}

void TfrmPreferences::BrowseColour(int swatch) {
    if (auto c = PickColour(colours_[swatch])) SetSwatch(swatch, *c);
}

QString TfrmPreferences::StartFolder(const QString& path, const QString& fallback) const {
    const QString folder = QFileInfo(path).absolutePath();
    return !path.isEmpty() && QDir(folder).exists() ? folder : fallback;
}

void TfrmPreferences::cmdBrowseClick() {
    const QString folder = StartFolder(txtEmulatorPath->text(), openFolder_);
    const QString file = PickOpenFile("Please select a NES emulator", "NES Emulator (*.exe);;All Files (*)", folder);
    if (file.isEmpty()) return;
    openFolder_ = QFileInfo(file).absolutePath();
    if (QFileInfo(file).isFile()) {
        txtEmulatorPath->setText(file);
        txtEmulatorPath->setCursorPosition(static_cast<int>(file.size()));
    }
}

void TfrmPreferences::cmdIPSBrowseClick() {
    const QString folder = StartFolder(txtOriginalROMFilename->text(), programFolder_);
    const QString file = PickOpenFile("Select an original unmodified ROM", "iNES Image (*.nes)", folder);
    if (file.isEmpty()) return;
    openFolder_ = QFileInfo(file).absolutePath();
    if (QFileInfo(file).isFile()) {
        txtOriginalROMFilename->setText(file);
        txtOriginalROMFilename->setCursorPosition(static_cast<int>(file.size()));
    }
}

void TfrmPreferences::cmdBrowseIPSSaveAsClick() {
    const QString folder = StartFolder(txtSaveAsIPS->text(), programFolder_);
    QString file = PickSaveFile("Please select the name of your IPS file", "IPS File (*.ips)", folder);
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += ".ips";
    txtSaveAsIPS->setText(file);
    txtSaveAsIPS->setCursorPosition(static_cast<int>(file.size()));
}

std::optional<QColor> TfrmPreferences::PickColour(const QColor& current) {
    const QColor c = QColorDialog::getColor(current, this);
    if (!c.isValid()) return std::nullopt;
    return c;
}

QString TfrmPreferences::PickOpenFile(const QString& title, const QString& filter, const QString& folder) {
    return QFileDialog::getOpenFileName(this, title, folder, filter, nullptr, QFileDialog::ReadOnly);
}

QString TfrmPreferences::PickSaveFile(const QString& title, const QString& filter, const QString& folder) {
    return QFileDialog::getSaveFileName(this, title, folder, filter);
}

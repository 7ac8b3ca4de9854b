#include "dialogs/frm_LevelSettings.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <numeric>

#include "app/Prompt.h"
#include "dialogs/DialogParts.h"
#include "dialogs/VeskHexEdit.h"
#include "model/IniFile.h"

namespace {

// Qt has no rows of tabs: when the captions do not fit in one row, the longest tabs give way first
// (their captions shortened), so short captions stay whole and every tab stays in sight.
class TFittingTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize hint = QTabBar::tabSizeHint(index);
        std::vector<int> widths;
        for (int i = 0; i < count(); ++i)
            if (isTabVisible(i)) widths.push_back(QTabBar::tabSizeHint(i).width());
        const int available = (parentWidget() ? parentWidget()->width() : width()) - 2;
        if (std::accumulate(widths.begin(), widths.end(), 0) <= available) return hint;
        // The largest cap that lets the tabs fit.
        std::sort(widths.begin(), widths.end());
        int rest = available, cap = 0;
        for (size_t i = 0; i < widths.size(); ++i) {
            const int share = rest / static_cast<int>(widths.size() - i);
            if (widths[i] > share) {
                cap = share;
                break;
            }
            rest -= widths[i];
            cap = widths[i];
        }
        hint.setWidth(std::min(hint.width(), cap));
        return hint;
    }
};

class TPageControl : public QTabWidget {
public:
    explicit TPageControl(QWidget* parent) : QTabWidget(parent) {
        setTabBar(new TFittingTabBar(this));
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideRight);
    }
};

// The page bar sits right of its label's widest text and ends where the page picture ends.
QScrollBar* NewPageBar(QWidget* parent, const char* name, const QLabel* label, const QString& widest) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    const int x = std::max(144, label->x() + label->fontMetrics().horizontalAdvance(widest) + 6);
    bar->setGeometry(x, 8, std::min(121, 8 + 256 - x), 17);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    return bar;
}

// A radio group "Interleave Type:" with "None" and "Interleave-4", the second chosen.
QGroupBox* NewInterleaveGroup(QWidget* parent, const char* name, int x, int y, QButtonGroup*& items) {
    auto* box = new QGroupBox("Interleave Type:", parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 129, 65);
    items = new QButtonGroup(box);
    const char* captions[2] = {"None", "Interleave-4"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(captions[i], box);
        r->setObjectName(QString(name) + QString::number(i));
        r->setGeometry(8, 18 + 20 * i, 113, 19);
        items->addButton(r, i);
    }
    items->button(1)->setChecked(true);
    return box;
}

TImageView* NewPageView(QWidget* parent, const char* name, int x, int y) {
    auto* v = new TImageView(parent, 2);
    v->setObjectName(name);
    v->setGeometry(x, y, 256, 256);
    return v;
}
}  // namespace

TfrmLevelSettings::TfrmLevelSettings(TROMData& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName("frmLevelSettings");
    setWindowTitle("Level Settings");
    setFixedSize(432, 398);

    pgcPatternTableSettings = new TPageControl(this);
    pgcPatternTableSettings->setObjectName("pgcPatternTableSettings");
    pgcPatternTableSettings->setGeometry(8, 8, 417, 353);
    auto tab = [&](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        const int index = pgcPatternTableSettings->addTab(page, caption);
        pgcPatternTableSettings->setTabToolTip(index, caption);
        return page;
    };

    QWidget* general = tab("tshGeneral", "General");
    NewLabel(general, "lblWidth", "Width:", 8, 8, 21);
    txtWidth = new QLineEdit("0", general);
    txtWidth->setObjectName("txtWidth");
    txtWidth->setGeometry(80, 8, 49, 21);
    txtWidth->setMaxLength(2);
    txtWidth->setEnabled(false);
    PlaceAfter(txtWidth, general->findChild<QLabel*>("lblWidth"), 80);
    NewLabel(general, "lblHeight", "Height:", 224, 8, 21);
    txtHeight = new QLineEdit("0", general);
    txtHeight->setObjectName("txtHeight");
    txtHeight->setGeometry(296, 8, 49, 21);
    txtHeight->setEnabled(false);
    PlaceAfter(txtHeight, general->findChild<QLabel*>("lblHeight"), 296);
    const QLabel* roomsUsed = NewLabel(general, "lblRoomsUsed", "Rooms Used:", 8, 32, 17);
    lstRooms = new QListWidget(general);
    lstRooms->setObjectName("lstRooms");
    lstRooms->setGeometry(80, 32, 145, 145);
    PlaceAfter(lstRooms, roomsUsed, 80);

    QWidget* bg = tab("tshBGPatternTable", "BG Pattern Table Settings");
    lblBGPatternTable = NewLabel(bg, "lblBGPatternTable", "BG Pattern Table : (00)", 8, 8, 17);
    scrBGSetting = NewPageBar(bg, "scrBGSetting", lblBGPatternTable, "BG Pattern Table : (FF)");
    imgBGPatternTable = NewPageView(bg, "imgBGPatternTable", 8, 32);

    QWidget* spr = tab("tshSprPatternTable", "Sprite Pattern Table Settings");
    lblSprPatternTable = NewLabel(spr, "lblSprPatternTable", "Spr Pattern Table : (00)", 8, 8, 17);
    scrSprSetting = NewPageBar(spr, "scrSprSetting", lblSprPatternTable, "Spr Pattern Table : (FF)");
    imgSprPatternTable = NewPageView(spr, "imgSprPatternTable", 8, 32);
    rdgInterLeave = NewInterleaveGroup(spr, "rdgInterLeave", 272, 8, rdgInterLeaveItems);
    lstAvailableEnemies = new QListWidget(spr);
    lstAvailableEnemies->setObjectName("lstAvailableEnemies");
    lstAvailableEnemies->setGeometry(272, 80, 121, 113);

    QWidget* changes = tab("tshSpriteChanges", "Sprite Changes");
    const QLabel* spriteChanges = NewLabel(changes, "lblSpriteChanges", "Sprite Changes:", 8, 8, 21);
    const int firstBox = std::max(96, spriteChanges->x() + spriteChanges->width() + 4);
    for (int k = 0; k < 4; ++k) {
        txtSpriteChange[k] = new TVeskHexEdit(changes);
        txtSpriteChange[k]->setObjectName(QString("txtSpriteChange%1").arg(k + 1));
        txtSpriteChange[k]->setGeometry(firstBox + 56 * k, 8, 49, 21);
        txtSpriteChange[k]->setMaxLength(2);
        txtSpriteChange[k]->setText("00");
        txtSpriteChange[k]->installEventFilter(this);
    }
    imgSpriteChange = NewPageView(changes, "imgSpriteChange", 8, 40);
    rdgSpriteChange = NewInterleaveGroup(changes, "rdgSpriteChange", 272, 40, rdgSpriteChangeItems);

    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(272, 368, 75, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(352, 368, 75, 25);

    connect(lstRooms, &QListWidget::itemDoubleClicked, this, &TfrmLevelSettings::lstRoomsDblClick);
    connect(scrBGSetting, &QScrollBar::valueChanged, this, &TfrmLevelSettings::scrBGSettingChange);
    connect(scrSprSetting, &QScrollBar::valueChanged, this, &TfrmLevelSettings::scrSprSettingChange);
    connect(rdgInterLeaveItems, &QButtonGroup::idClicked, this, &TfrmLevelSettings::DrawSprPage);
    connect(rdgSpriteChangeItems, &QButtonGroup::idClicked, this, &TfrmLevelSettings::DrawSpriteChange);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmLevelSettings::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmLevelSettings::HighestPage() const { return 2 * model_.CHRCount() - 1; }

int TfrmLevelSettings::BGPage() const { return scrBGSetting->value(); }

void TfrmLevelSettings::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TfrmLevelSettings::FormShow() {
    pgcPatternTableSettings->setTabVisible(SpriteChangesTab, !model_.CurrentStage->IsDamStage);
    ShowSettings();
}

void TfrmLevelSettings::ShowSettings() {
    const TSideScrLevel& stage = *model_.CurrentStage;
    txtWidth->setText(QString::number(stage.Width()));
    txtHeight->setText(QString::number(stage.Height()));
    txtWidth->setEnabled(false);
    txtHeight->setEnabled(false);

    lstRooms->clear();
    for (int i = 0; i < stage.Width() * stage.Height(); ++i) lstRooms->addItem(HexText(stage.GetRoom(i)));

    SpriteChangePage = 0;
    DrawSpriteChange();

    const int p = std::max(0, HighestPage());
    scrBGSetting->setRange(0, p);
    scrSprSetting->setRange(0, p);
    // A stored page beyond the ROM's last puts its bar at the last page.
    scrBGSetting->setValue(std::min<int>(stage.GetBGPatternTable(), p));
    DrawBGPage();
    scrSprSetting->setValue(std::min<int>(stage.GetSprPatternTable(), p));
    DrawSprPage();

    for (int k = 0; k < 4; ++k) txtSpriteChange[k]->setText(HexText(stage.GetSpriteChange(k)));

    lstAvailableEnemies->clear();
    for (int slot = 0; slot < 6; ++slot) lstAvailableEnemies->addItem(QString::fromStdString(model_.EnemyNames[model_.StageEnemyType(slot)]));
}

void TfrmLevelSettings::DrawPage(TImageView* view, int page, int layout) {
    TBitmap32 picture(128, 128);
    model_.DrawPatternPage(picture, 0, layout, page);
    view->SetBitmap(picture);
}

void TfrmLevelSettings::DrawBGPage() { DrawPage(imgBGPatternTable, scrBGSetting->value(), 0); }
void TfrmLevelSettings::DrawSprPage() { DrawPage(imgSprPatternTable, scrSprSetting->value(), rdgInterLeaveItems->checkedId()); }
void TfrmLevelSettings::DrawSpriteChange() { DrawPage(imgSpriteChange, SpriteChangePage, rdgSpriteChangeItems->checkedId()); }

void TfrmLevelSettings::scrBGSettingChange() {
    lblBGPatternTable->setText("BG Pattern Table : (" + HexText(scrBGSetting->value()) + ")");
    lblBGPatternTable->adjustSize();
    DrawBGPage();
}

void TfrmLevelSettings::scrSprSettingChange() {
    lblSprPatternTable->setText("Spr Pattern Table : (" + HexText(scrSprSetting->value()) + ")");
    lblSprPatternTable->adjustSize();
    DrawSprPage();
}

void TfrmLevelSettings::txtSpriteChange1Enter(TVeskHexEdit* box) {
    if (box->text().isEmpty()) {
        SpriteChangePage = 0;
    } else {
        // Pasted text that is not hexadecimal names no page: the preview stays.
        const std::optional<int> v = box->Value();
        if (!v) return;
        const int p = std::max(0, HighestPage());
        SpriteChangePage = static_cast<uint8_t>(*v > p ? p : *v);
    }
    DrawSpriteChange();
}

bool TfrmLevelSettings::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::KeyRelease)
        for (TVeskHexEdit* box : txtSpriteChange)
            if (watched == box) txtSpriteChange1Enter(box);
    return QDialog::eventFilter(watched, e);
}

void TfrmLevelSettings::lstRoomsDblClick() {
    QListWidgetItem* row = lstRooms->currentItem();
    if (!row || !row->isSelected()) return;
    const std::optional<QString> typed = TPrompter::Current().Input(this, "Enter new value", "Enter new value", row->text());
    const QString text = typed.value_or(row->text());
    if (ParseHex(text.toStdString()))
        row->setText(text);
    else
        TPrompter::Current().Message(this, "You need to enter a valid hexadecimal value. Not " + text + ".");
}

void TfrmLevelSettings::cmdOKClick() {
    // Nothing is written unless every box can be read (room rows are checked as they are typed).
    for (int k = 0; k < 4; ++k)
        if (!txtSpriteChange[k]->Value()) {
            TPrompter::Current().Message(this, QString("Sprite Change %1 must be a hexadecimal value.").arg(k + 1));
            return;
        }
    accept();
}

void TfrmLevelSettings::ApplySettings() {
    TSideScrLevel& stage = *model_.CurrentStage;
    for (int i = 0; i < lstRooms->count(); ++i)
        if (const auto v = ParseHex(lstRooms->item(i)->text().toStdString())) stage.SetRoom(i, static_cast<uint8_t>(*v & 0xFF));
    stage.SetSprPatternTable(static_cast<uint8_t>(scrSprSetting->value()));
    // Also for a dam stage, whose tab is hidden: its four values go back as they were read.
    for (int k = 0; k < 4; ++k)
        if (const auto v = txtSpriteChange[k]->Value()) stage.SetSpriteChange(k, static_cast<uint8_t>(*v & 0xFF));
}

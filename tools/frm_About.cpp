#include "tools/frm_About.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Prompt.h"
#include "app/UiCommon.h"

namespace {
QWidget* Page(QWidget* parent, const QString& text) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setPlainText(text);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}
}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QString("About ") + ApplicationTitle);
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->setObjectName("pgcAbout");
    pages->setDocumentMode(true);  // flat, button-like tabs
    pages->addTab(Page(pages,
                       "Quillborn is a level editor for the NES game\n"
                       "Teenage Mutant Ninja Turtles.\n\n"
                       "Paint map blocks, move enemies, rebuild blocks\n"
                       "from tiles, repaint tiles, edit palettes, solidity\n"
                       "and per-stage settings, and hand your hack out as\n"
                       "an IPS patch.\n\n"
                       "Written by the Quillborn developers.\n\n"
                       "Disclaimer: Quillborn comes with no warranty.\n"
                       "Keep backups of your ROMs. Quillborn is not\n"
                       "affiliated with the makers of the game, and no\n"
                       "game data comes with it."),
                  "About");
    pages->addTab(Page(pages,
                       "Special thanks:\n"
                       "  everyone who documented the NES and its\n"
                       "  iNES file format, and the ROM-hacking\n"
                       "  community that keeps old games alive.\n\n"
                       "Greetings:\n"
                       "  to every hacker who ever drew a level\n"
                       "  one block at a time."),
                  "Special Thanks/Greetings");
    pages->addTab(Page(pages, QString("Built with:\n"
                                      "  Qt %1 (widgets)\n"
                                      "  libzip (backups)\n"
                                      "  zlib, stb_image\n"
                                      "  our own IPS writer\n\n"
                                      "Build tool:\n"
                                      "  CMake and GCC, C++20")
                                      .arg(QT_VERSION_STR)),
                  "Program Information");
    pages->setMinimumSize(470, 260);
    layout->addWidget(pages);

    auto* bottom = new QHBoxLayout;
    lblHomepage = new QLabel("Quillborn Homepage", this);
    lblHomepage->setObjectName("lblHomepage");
    lblHomepage->setStyleSheet("color: blue");
    lblHomepage->setCursor(Qt::PointingHandCursor);
    lblHomepage->setToolTip(HomepageURL);
    lblHomepage->installEventFilter(this);
    bottom->addWidget(lblHomepage);
    bottom->addStretch();
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lblHomepage) {
        QFont f = lblHomepage->font();
        switch (e->type()) {
        case QEvent::Enter: f.setUnderline(true); lblHomepage->setFont(f); break;
        case QEvent::Leave: f.setUnderline(false); lblHomepage->setFont(f); break;
        case QEvent::MouseButtonRelease: QDesktopServices::openUrl(QUrl(HomepageURL)); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

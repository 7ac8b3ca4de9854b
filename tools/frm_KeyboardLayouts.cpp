#include "tools/frm_KeyboardLayouts.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmKeyboardLayout::TfrmKeyboardLayout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmKeyboardLayout");
    setWindowTitle("Keyboard Layout");
    auto* layout = new QVBoxLayout(this);
    mmoKeyboardLayout = new QPlainTextEdit(this);
    mmoKeyboardLayout->setObjectName("mmoKeyboardLayout");
    mmoKeyboardLayout->setReadOnly(true);
    mmoKeyboardLayout->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mmoKeyboardLayout->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoKeyboardLayout->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoKeyboardLayout->setPlainText(
        "Ctrl + Alt + P - Preferences\n"
        "Ctrl + Alt + S - Save as IPS patch\n"
        "Ctrl + B - Backup Manager\n"
        "Ctrl + F1 - Keyboard Layout\n"
        "Ctrl + J - Go to level\n"
        "Ctrl + O - Open ROM\n"
        "Ctrl + R - Properties\n"
        "Ctrl + S - Save the current ROM\n"
        "Ctrl + T - TSA Editor\n"
        "Ctrl + W - Close ROM\n"
        "Ctrl + X - Exit the program\n"
        "F2 - Map Editing Mode\n"
        "F3 - Object Editing Mode\n"
        "F12 - Launch associated emulator\n"
        "Page Up - Go to the next level\n"
        "Page Down - Go to the previous level");
    mmoKeyboardLayout->setMinimumSize(340, 220);
    layout->addWidget(mmoKeyboardLayout);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

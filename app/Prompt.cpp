#include "app/Prompt.h"

#include <QInputDialog>
#include <QMessageBox>

const char* const ApplicationTitle = "Quillborn v0.1 ~ The TMNT Editor";

namespace {
TPrompter* installed = nullptr;
}

TPrompter& TPrompter::Current() {
    static TMessageBoxPrompter boxes;
    return installed ? *installed : boxes;
}

void TPrompter::Install(TPrompter* prompter) { installed = prompter; }

void TPrompter::Message(QWidget* parent, const QString& text) {
    Ask(parent, TPromptKind::Plain, QString::fromUtf8(ApplicationTitle), text, TButtons::Ok);
}

void TPrompter::Error(QWidget* parent, const QString& text) {
    Ask(parent, TPromptKind::Error, QString::fromUtf8(ApplicationTitle), text, TButtons::Ok);
}

TAnswer TMessageBoxPrompter::Ask(QWidget* parent, TPromptKind kind, const QString& caption, const QString& text, TButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case TPromptKind::Plain: icon = QMessageBox::NoIcon; break;
    case TPromptKind::Confirmation: icon = QMessageBox::Question; break;
    case TPromptKind::Warning: icon = QMessageBox::Warning; break;
    case TPromptKind::Error: icon = QMessageBox::Critical; break;
    }
    QMessageBox::StandardButtons std = QMessageBox::Ok;
    if (buttons == TButtons::YesNo) std = QMessageBox::Yes | QMessageBox::No;
    if (buttons == TButtons::YesNoCancel) std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    // The platform's standard captions for confirmations and warnings.
    QString title = caption;
    if (title.isEmpty()) title = kind == TPromptKind::Warning ? QObject::tr("Warning") : QObject::tr("Confirm");
    QMessageBox box(icon, title, text, std, parent);
    switch (box.exec()) {
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    case QMessageBox::Cancel: return TAnswer::Cancel;
    default: return buttons == TButtons::Ok ? TAnswer::Ok : TAnswer::Cancel;
    }
}

std::optional<QString> TMessageBoxPrompter::Input(QWidget* parent, const QString& caption, const QString& prompt, const QString& value) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

#pragma once
// The editor's shortcut keys.

#include <QDialog>

class QPlainTextEdit;

class TfrmKeyboardLayout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKeyboardLayout(QWidget* parent);
    QPlainTextEdit* mmoKeyboardLayout;
};

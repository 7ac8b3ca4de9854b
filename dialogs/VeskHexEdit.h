#pragma once
// A one-line box that takes only hexadecimal digits and backspace from the keyboard.

#include <QLineEdit>
#include <optional>

class TVeskHexEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TVeskHexEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    // The filter on one typed character: backspace, 0-9, A-F and a-f pass.
    static bool Accepts(QChar c);
    // The text read as "$" + text: nullopt when it is empty or not hexadecimal (pasted text can be).
    std::optional<int> Value() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

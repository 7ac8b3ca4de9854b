#pragma once
// Every message box, question and input box of the editor goes through one prompter, so tests can
// answer them without nested modal loops.

#include <QString>
#include <optional>

class QWidget;

enum class TAnswer { Ok, Yes, No, Cancel };
enum class TPromptKind { Plain, Confirmation, Warning, Error };
enum class TButtons { Ok, YesNo, YesNoCancel };

class TPrompter {
public:
    virtual ~TPrompter() = default;
    virtual TAnswer Ask(QWidget* parent, TPromptKind kind, const QString& caption, const QString& text, TButtons buttons) = 0;
    // The text typed, or nullopt when the user cancels.
    virtual std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt, const QString& value) = 0;

    // A plain message with the application's title as caption.
    void Message(QWidget* parent, const QString& text);
    // An error report, as the general error report shows it.
    void Error(QWidget* parent, const QString& text);

    // The one prompter of the program; message boxes unless a test installs its own.
    static TPrompter& Current();
    static void Install(TPrompter* prompter);  // nullptr: back to message boxes
};

class TMessageBoxPrompter : public TPrompter {
public:
    TAnswer Ask(QWidget* parent, TPromptKind kind, const QString& caption, const QString& text, TButtons buttons) override;
    std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt, const QString& value) override;
};

extern const char* const ApplicationTitle;  // "Quillborn v0.1 ~ The TMNT Editor"

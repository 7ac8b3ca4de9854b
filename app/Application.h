#pragma once
// The application object with the general error report: an error that escapes an event handler
// is shown in a message box, and the editor goes on.

#include <QApplication>
#include <exception>

#include "app/Prompt.h"

class TQuillbornApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            TPrompter::Current().Error(activeWindow(), QString::fromStdString(e.what()));
        }
        return false;
    }
};

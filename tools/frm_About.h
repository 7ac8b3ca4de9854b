#pragma once
// The about box: what Quillborn is, thanks, and what it is built with.

#include <QDialog>

class QLabel;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent);
    QLabel* lblHomepage;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

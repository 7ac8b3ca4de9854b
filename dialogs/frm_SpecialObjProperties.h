#pragma once
// A special object's screen, kind and four further bytes.

#include <QDialog>

class QComboBox;
class TROMData;
class TSpecObj;
class TVeskHexEdit;

class TfrmSpecialObjProperties : public QDialog {
    Q_OBJECT
public:
    TfrmSpecialObjProperties(TROMData& rom, int objectIndex, QWidget* parent);
    QComboBox* ComboBox1;  // "Room:": the screen position the object stands on
    QComboBox* ComboBox2;  // "ID:": the object's kind
    TVeskHexEdit* VeskHexEdit[4];
    // Checks every box first; writes nothing and tells the user when one cannot be read.
    void cmdOKClick();

private:
    TSpecObj& object_;
};

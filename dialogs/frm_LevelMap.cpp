#include "dialogs/frm_LevelMap.h"

#include <QLabel>
#include <QVBoxLayout>

#include "model/classes_romdata.h"

namespace {
constexpr int StatusHeight = 19;
}

TfrmLevelMap::TfrmLevelMap(TROMData& rom, QWidget* parent) : QDialog(parent), rom_(rom) {
    setObjectName("frmLevelMap");
    setWindowTitle("Level Map");
    const TSideScrLevel& s = *rom.CurrentStage;
    const int w = s.Width() * 32, h = s.Height() * 32;
    imgLevelMap = new TImageView(this, 2);
    imgLevelMap->setObjectName("imgLevelMap");
    imgLevelMap->setGeometry(0, 0, std::max(w, 1), std::max(h, 1));
    StatusPanel = new QLabel("Room ID: None", this);
    StatusPanel->setObjectName("StatusBar");
    StatusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusPanel->setGeometry(0, h, std::max(w, 1), StatusHeight);
    setFixedSize(std::max(w, 1), h + StatusHeight);

    TBitmap32 picture(s.Width() * 16, s.Height() * 16);
    rom.DrawLevelMap(picture);
    imgLevelMap->SetBitmap(picture);
    connect(imgLevelMap, &TImageView::MouseMove, this, &TfrmLevelMap::imgLevelMapMouseMove);
}

void TfrmLevelMap::imgLevelMapMouseMove(const TViewMouse& m) {
    const TSideScrLevel& s = *rom_.CurrentStage;
    const int col = m.X / 32, row = m.Y / 32;
    if (m.X >= 0 && m.Y >= 0 && col <= s.Width() - 1 && row <= s.Height() - 1)
        StatusPanel->setText("Room ID: " + QString::fromStdString(HexByte(s.GetRoom(row * s.Width() + col))));
    else
        StatusPanel->setText("Room ID: None");
}

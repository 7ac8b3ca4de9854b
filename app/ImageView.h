#pragma once
// A picture shown at a fixed integer scale, top-left aligned, without smoothing, that reports
// mouse presses, moves and releases in the view's own pixels.

#include <QImage>
#include <QWidget>

#include "rom/Bitmap32.h"

struct TViewMouse {
    Qt::MouseButton Button = Qt::NoButton;  // the button that changed (press, release)
    Qt::MouseButtons Buttons;               // the buttons held
    Qt::KeyboardModifiers Modifiers;
    int X = 0;
    int Y = 0;
};

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr, int scale = 1);
    void SetScale(int scale);
    int Scale() const { return scale_; }
    // Copies the picture; palette colours carry alpha 0, so it is shown without alpha.
    void SetBitmap(const TBitmap32& bitmap);
    const QImage& Image() const { return image_; }
    // Text drawn over the picture at picture coordinates (the picker's labels).
    struct Label {
        QString Text;
        int X, Y;
        QRgb Colour;
    };
    void SetLabels(std::vector<Label> labels, const QFont& font);

signals:
    void MouseDown(const TViewMouse& m);
    void MouseMove(const TViewMouse& m);
    void MouseUp(const TViewMouse& m);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TViewMouse FromEvent(QMouseEvent* e) const;
    int scale_;
    QImage image_;
    std::vector<Label> labels_;
    QFont labelFont_;
};

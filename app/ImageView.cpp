#include "app/ImageView.h"

#include <QMouseEvent>
#include <QPainter>

TImageView::TImageView(QWidget* parent, int scale) : QWidget(parent), scale_(scale) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageView::SetScale(int scale) {
    scale_ = scale;
    update();
}

void TImageView::SetBitmap(const TBitmap32& bitmap) {
    if (image_.width() != bitmap.Width() || image_.height() != bitmap.Height())
        image_ = QImage(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(image_.scanLine(y), bitmap.Row(y), static_cast<size_t>(bitmap.Width()) * 4);
    labels_.clear();
    update();
}

void TImageView::SetLabels(std::vector<Label> labels, const QFont& font) {
    labels_ = std::move(labels);
    labelFont_ = font;
    update();
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (image_.isNull()) return;
    p.save();
    p.scale(scale_, scale_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, image_);
    if (!labels_.empty()) {
        p.setFont(labelFont_);
        const QFontMetrics fm(labelFont_);
        for (const auto& l : labels_) {
            p.setPen(QColor(l.Colour));
            p.drawText(l.X, l.Y + fm.ascent(), l.Text);
        }
    }
    p.restore();
}

TViewMouse TImageView::FromEvent(QMouseEvent* e) const {
    TViewMouse m;
    m.Button = e->button();
    m.Buttons = e->buttons();
    m.Modifiers = e->modifiers();
    const QPoint pos = e->position().toPoint();
    m.X = pos.x();
    m.Y = pos.y();
    return m;
}

void TImageView::mousePressEvent(QMouseEvent* e) { emit MouseDown(FromEvent(e)); }
void TImageView::mouseMoveEvent(QMouseEvent* e) { emit MouseMove(FromEvent(e)); }
void TImageView::mouseReleaseEvent(QMouseEvent* e) { emit MouseUp(FromEvent(e)); }

#include "app/UiCommon.h"

#include <QPainter>
#include <QPixmap>

QIcon GlyphIcon(const QString& glyph, QColor colour) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont f = p.font();
    f.setPixelSize(glyph.size() > 1 ? 8 : 11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

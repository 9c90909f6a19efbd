#include "controls/focusring.h"

#include <QPainter>

void DrawFocusRing(QPainter& p, const QRectF& r, FocusShape shape) {
    if (r.width() < 6 || r.height() < 6) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const QRectF outer = r.adjusted(1, 1, -1, -1);  // 2 px line centred 1 px in
    const QRectF inner = r.adjusted(2.5, 2.5, -2.5, -2.5);
    const auto draw = [&](const QRectF& rr, qreal radius) {
        if (shape == FocusShape::Round)
            p.drawEllipse(rr);
        else
            p.drawRoundedRect(rr, radius, radius);
    };
    p.setPen(QPen(QColor(16, 44, 84), 2));
    draw(outer, 4);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    draw(inner, 3);
    p.restore();
}

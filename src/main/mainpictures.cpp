#include "main/mainpictures.h"

#include "controls/pictures.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A button face of the program's picture set; null when it lacks it.
QIcon FromPictureSet(const QString& name) {
    if (!Pictures::ButtonNames().contains(name)) return {};
    const ButtonPictures b = Pictures::Button(name);
    if (b.normal.isNull()) return {};
    QIcon icon;
    icon.addPixmap(b.normal, QIcon::Normal);
    if (!b.over.isNull()) icon.addPixmap(b.over, QIcon::Active);
    if (!b.disabled.isNull()) icon.addPixmap(b.disabled, QIcon::Disabled);
    return icon;
}

QPixmap Canvas(int size, qreal dpr) {
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

void DrawPerson(QPainter& p, QColor c, QPointF at, qreal s) {
    p.setBrush(c);
    p.drawEllipse(QRectF(at.x() - 5 * s, at.y() - 12 * s, 10 * s, 10 * s));
    QPainterPath body;
    body.addRoundedRect(QRectF(at.x() - 9 * s, at.y(), 18 * s, 12 * s), 5 * s, 5 * s);
    p.drawPath(body);
}

QPixmap DrawTool(const QString& name, qreal dpr, bool enabled) {
    QPixmap pm = Canvas(32, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = enabled ? QColor(255, 255, 255) : QColor(200, 215, 230);
    const QColor accent = enabled ? QColor(255, 214, 90) : QColor(190, 190, 190);
    p.setPen(QPen(QColor(20, 60, 110), 1.2));
    if (name == QLatin1String("new-user")) {
        DrawPerson(p, ink, QPointF(13, 18), 1.0);
        p.setBrush(accent);
        p.drawEllipse(QRectF(20, 4, 10, 10));
        p.setPen(QPen(QColor(20, 60, 110), 2));
        p.drawLine(QPointF(25, 6), QPointF(25, 12));
        p.drawLine(QPointF(22, 9), QPointF(28, 9));
    } else if (name == QLatin1String("select-user")) {
        DrawPerson(p, ink, QPointF(10, 18), 0.8);
        DrawPerson(p, accent, QPointF(21, 19), 1.0);
    } else if (name == QLatin1String("teacher")) {
        DrawPerson(p, ink, QPointF(11, 19), 1.0);
        p.setBrush(QColor(40, 110, 60));
        p.drawRect(QRectF(17, 4, 13, 10));
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(19, 8), QPointF(27, 8));
        p.drawLine(QPointF(19, 11), QPointF(25, 11));
    } else if (name == QLatin1String("run")) {
        QPainterPath tri;
        tri.moveTo(9, 5);
        tri.lineTo(27, 16);
        tri.lineTo(9, 27);
        tri.closeSubpath();
        p.setBrush(enabled ? QColor(80, 200, 90) : QColor(170, 180, 170));
        p.drawPath(tri);
    } else if (name == QLatin1String("report")) {
        p.setBrush(ink);
        p.drawRect(QRectF(7, 3, 18, 26));
        p.setPen(QPen(QColor(20, 60, 110), 1.5));
        for (int y = 9; y <= 23; y += 5)
            p.drawLine(QPointF(10, y), QPointF(22, y));
    } else { // exit
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(6, 4, 14, 24));
        p.setBrush(accent);
        QPainterPath arrow;
        arrow.moveTo(14, 13);
        arrow.lineTo(22, 13);
        arrow.lineTo(22, 8);
        arrow.lineTo(30, 16);
        arrow.lineTo(22, 24);
        arrow.lineTo(22, 19);
        arrow.lineTo(14, 19);
        arrow.closeSubpath();
        p.drawPath(arrow);
    }
    return pm;
}

QPixmap DrawNode(int image, qreal dpr) {
    QPixmap pm = Canvas(16, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 110), 1));
    if (image == 0) { // a closed book
        p.setBrush(QColor(70, 120, 200));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawLine(QPointF(5, 4.5), QPointF(11, 4.5));
    } else if (image == 1) { // an open box to tick
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
    } else { // ticked
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
        p.setPen(QPen(QColor(20, 150, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(4.5, 8);
        tick.lineTo(7, 11);
        tick.lineTo(12, 4.5);
        p.drawPath(tick);
    }
    return pm;
}

} // namespace

QIcon ToolPicture(const QString& name) {
    QIcon icon = FromPictureSet(name);
    if (!icon.isNull()) return icon;
    for (qreal dpr : {1.0, 2.0}) {
        icon.addPixmap(DrawTool(name, dpr, true), QIcon::Normal);
        icon.addPixmap(DrawTool(name, dpr, false), QIcon::Disabled);
    }
    return icon;
}

QIcon NodePicture(int image) {
    if (image < 0 || image > 2) image = 1;
    static QIcon cache[3];
    QIcon& icon = cache[image];
    if (!icon.isNull()) return icon;
    const QPixmap set = image == 0   ? Pictures::TreeSection()
                        : image == 1 ? Pictures::TreeToDo()
                                     : Pictures::TreeDone();
    if (!set.isNull()) {
        // Selection must not grey the picture out.
        icon.addPixmap(set, QIcon::Normal);
        icon.addPixmap(set, QIcon::Selected);
        icon.addPixmap(set, QIcon::Disabled);
        return icon;
    }
    icon.addPixmap(DrawNode(image, 1.0));
    icon.addPixmap(DrawNode(image, 2.0));
    return icon;
}

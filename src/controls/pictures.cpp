#include "controls/pictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QtDebug>

namespace {
const QStringList& buttonNames() {
    static const QStringList names = {
        "back",  "cancel", "close",  "comment",  "confirm",     "delete-user", "exit",    "help",
        "key",   "loop",   "mark",   "new-user", "next",        "ok",          "pause",   "play",
        "print", "record", "report", "run",      "select-user", "stop",        "teacher",
    };
    return names;
}

qreal screenScale() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}
} // namespace

QPixmap ControlPicture(const QString& name) {
    return ControlPicture(name, screenScale());
}

QPixmap ControlPicture(const QString& name, qreal scale) {
    static QHash<QString, QPixmap> cache;
    const bool twice = scale > 1.0;
    const QString key = name + (twice ? QStringLiteral("@2x") : QString());
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    QPixmap pm;
    if (!pm.load(QStringLiteral(":/controls/pictures/") + key + QStringLiteral(".png"), "PNG")) {
        qWarning("no control picture %s", qPrintable(name));
        return QPixmap();
    }
    pm.setDevicePixelRatio(twice ? 2.0 : 1.0);
    cache.insert(key, pm);
    return pm;
}

QPixmap KeyedPicture(const QPixmap& picture, QPoint keyPixel) {
    if (picture.isNull() || keyPixel.x() < 0 || keyPixel.y() < 0 ||
        keyPixel.x() >= picture.width() || keyPixel.y() >= picture.height())
        return picture;
    QImage img = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = img.pixel(keyPixel);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == key) line[x] = 0;
    }
    QPixmap out = QPixmap::fromImage(img);
    out.setDevicePixelRatio(picture.devicePixelRatio());
    return out;
}

QSize PictureSize(const QPixmap& picture) {
    if (picture.isNull()) return QSize(0, 0);
    return picture.deviceIndependentSize().toSize();
}

namespace Pictures {

ButtonPictures Button(const QString& icon) {
    const QString base = QStringLiteral("btn-") + icon;
    return {ControlPicture(base), ControlPicture(base + "-over"), ControlPicture(base + "-down"),
            ControlPicture(base + "-dis")};
}

QStringList ButtonNames() {
    return buttonNames();
}

CheckPictures Check() {
    return {ControlPicture("check-on"), ControlPicture("check-on-dis"), ControlPicture("check-off"),
            ControlPicture("check-off-dis")};
}

BarPictures Bar() {
    return {ControlPicture("bar-begin-line"),   ControlPicture("bar-midle-line"),
            ControlPicture("bar-end-line"),     ControlPicture("bar-begin-scroll"),
            ControlPicture("bar-midle-scroll"), ControlPicture("bar-end-scroll")};
}

QPixmap MessageIcon(int index) {
    static const char* names[] = {"icon-error", "icon-question", "icon-warning",
                                  "icon-information"};
    if (index < 0 || index > 3) index = 3;
    return ControlPicture(QString::fromLatin1(names[index]));
}

QPixmap TreeSection() {
    return ControlPicture("tree-section");
}
QPixmap TreeToDo() {
    return ControlPicture("tree-todo");
}
QPixmap TreeDone() {
    return ControlPicture("tree-done");
}

} // namespace Pictures

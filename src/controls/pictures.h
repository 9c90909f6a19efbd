#pragma once
// The program's picture set: button faces, check marks, progress bar pieces,
// message icons and tree node images, shipped as resources at 1x and 2x.
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>

// A picture of the set by its base name ("btn-play-over", "icon-error",
// "tree-done"...). The 2x version is chosen when the screen needs it; the
// result's devicePixelRatio tells which. Unknown names give a null pixmap.
QPixmap ControlPicture(const QString& name);
// Same, at an explicit scale (1 or 2; anything above 1 takes the 2x file).
QPixmap ControlPicture(const QString& name, qreal scale);

// Copy of `picture` in which every pixel of the colour found at `keyPixel`
// (device pixels) is fully transparent. A null picture or a pixel outside
// it gives the picture unchanged.
QPixmap KeyedPicture(const QPixmap& picture, QPoint keyPixel);

// Logical size of a picture (its pixel size divided by its scale).
QSize PictureSize(const QPixmap& picture);

struct ButtonPictures {
    QPixmap normal, over, down, disabled;
};

struct CheckPictures {
    QPixmap on, onDis, off, offDis;
};

struct BarPictures {
    QPixmap beginLine, midleLine, endLine, beginScroll, midleScroll, endScroll;
};

namespace Pictures {
// Face pictures of a round picture button: "play", "stop", "pause", "loop",
// "mark", "comment", "help", "exit", "close", "ok", "cancel", "next", "back",
// "new-user", "select-user", "delete-user", "teacher", "run", "report",
// "confirm", "record", "print", "key".
ButtonPictures Button(const QString& icon);
QStringList ButtonNames();
CheckPictures Check();
BarPictures Bar();
// Message box icons, 32 x 32: 0 error, 1 question, 2 warning, 3 information.
QPixmap MessageIcon(int index);
// Course tree node images, 16 x 16.
QPixmap TreeSection();
QPixmap TreeToDo();
QPixmap TreeDone();
} // namespace Pictures

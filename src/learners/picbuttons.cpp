#include "learners/picbuttons.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace {
QStyle::StandardPixmap pixmapOf(PicKind kind) {
    switch (kind) {
    case PicKind::Ok:
        return QStyle::SP_DialogOkButton;
    case PicKind::Cancel:
        return QStyle::SP_DialogCancelButton;
    case PicKind::NewName:
        return QStyle::SP_FileDialogNewFolder;
    case PicKind::DeleteName:
        return QStyle::SP_TrashIcon;
    case PicKind::Help:
        return QStyle::SP_DialogHelpButton;
    case PicKind::Browse:
        return QStyle::SP_DirOpenIcon;
    }
    return QStyle::SP_DialogOkButton;
}
} // namespace

QAbstractButton* NewPicButton(QWidget* parent, const QString& objectName, const QString& caption,
                              PicKind kind) {
    auto* b = new QPushButton(parent);
    b->setObjectName(objectName);
    b->setText(caption);
    b->setIcon(QApplication::style()->standardIcon(pixmapOf(kind)));
    b->setAutoDefault(false);
    return b;
}

void SetDefaultButton(QAbstractButton* b) {
    if (auto* p = qobject_cast<QPushButton*>(b)) p->setDefault(true);
}

#include "learners/picbuttons.h"

#include "controls/btnimgd1.h"
#include "controls/picturedialog.h"
#include "controls/pictures.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace {
QString pictureOf(PicKind kind) {
    switch (kind) {
    case PicKind::Ok:
        return QStringLiteral("confirm");
    case PicKind::Cancel:
        return QStringLiteral("cancel");
    case PicKind::NewName:
        return QStringLiteral("new-user");
    case PicKind::DeleteName:
        return QStringLiteral("delete-user");
    case PicKind::Help:
        return QStringLiteral("help");
    case PicKind::Browse:
        return QStringLiteral("select-user");
    case PicKind::Play:
        return QStringLiteral("play");
    case PicKind::Print:
        return QStringLiteral("print");
    case PicKind::Key:
        return QStringLiteral("key");
    case PicKind::Exit:
        return QStringLiteral("exit");
    }
    return QStringLiteral("ok");
}
} // namespace

QAbstractButton* NewPicButton(QWidget* parent, const QString& objectName, const QString& caption,
                              PicKind kind) {
    auto* b = new TBtnImgD1Zv(parent);
    b->setObjectName(objectName);
    const QString pic = QStringLiteral("btn-") + pictureOf(kind);
    b->setGlyph(ControlPicture(pic));
    b->setGlyphDown(ControlPicture(pic + QStringLiteral("-down")));
    b->setLayout(TBtnImgD1Zv::blGlyphTop);
    b->setCaption(caption);
    b->setAutoDefault(false);
    b->setMinimumWidth(b->sizeHint().width() + 8);
    // Dark caption on a light window; the dark button strip turns it white.
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, QColor(16, 44, 84));
    b->setPalette(pal);
    return b;
}

void SetDefaultButton(QAbstractButton* b) {
    if (auto* p = qobject_cast<QPushButton*>(b)) p->setDefault(true);
}

void AddToButtonStrip(TPictureDialog* dlg, const QList<QAbstractButton*>& buttons) {
    QHBoxLayout* lay = dlg->buttonLayout();
    // The strip starts with a stretch; one more after the buttons centres them.
    for (QAbstractButton* b : buttons)
        lay->addWidget(b);
    lay->addStretch(1);
    dlg->buttonBar()->show();
}

void UseStarEcho(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

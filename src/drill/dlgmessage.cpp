#include "drill/dlgmessage.h"

#include "controls/ui_hooks.h"
#include "controls/btnimgd1.h"
#include "controls/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

TDlgxMessage::TDlgxMessage(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgxMessage"));
    for (int i = 0; i < 4; ++i)
        ImageListIcon << Pictures::MessageIcon(i);
    auto* lay = new QHBoxLayout(panel());
    lay->setContentsMargins(16, 12, 16, 12);
    lay->setSpacing(14);
    ImageIcon = new QLabel(panel());
    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setFixedSize(32, 32);
    lay->addWidget(ImageIcon, 0, Qt::AlignTop);
    MemoMess = new TMemoView(panel());
    MemoMess->setObjectName(QStringLiteral("MemoMess"));
    lay->addWidget(MemoMess, 1);
    BitBtnOk = addOkButton();
    ShowIcon(3);
    setFixedSize(420, 210);
}

int TDlgxMessage::IconIndex(int flags) {
    switch ((flags & 0xF0) >> 4) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 3;
    }
}

void TDlgxMessage::ShowIcon(int index) {
    const QPixmap& icon = ImageListIcon.at(qBound(0, index, 3));
    QPixmap field(QSize(32, 32) * icon.devicePixelRatio());
    field.setDevicePixelRatio(icon.devicePixelRatio());
    field.fill(panelColour());
    {
        QPainter p(&field);
        p.drawPixmap(0, 0, icon);
    }
    ImageIcon->setPixmap(field);
}

int TDlgxMessage::XMessage(const QString& text, const QString& title, int flags) {
    ShowIcon(IconIndex(flags));
    MemoMess->Clear();
    MemoMess->AddLine(text);
    setTitle(title);
    BitBtnOk->setFocus(Qt::OtherFocusReason);
    return exec();
}

TDlgxMessage& DlgxMessage() {
    static auto* dlg = new TDlgxMessage;
    return *dlg;
}

void InstallXMessageDialog() {
    SetXMessageHandler([](const QString& text, const QString& title, int flags) {
        // A message raised while the box is up (an error in a handler behind
        // it) gets a box of its own instead of a recursive exec().
        if (DlgxMessage().isVisible()) {
            TDlgxMessage extra;
            return extra.XMessage(text, title, flags);
        }
        return DlgxMessage().XMessage(text, title, flags);
    });
}

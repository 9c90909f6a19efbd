#include "drill/eng_dlgerrordo.h"

#include "controls/btnimgd1.h"
#include "controls/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TDlgErrorDo::TDlgErrorDo(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgErrorDo"));
    setTitle(QStringLiteral("Внимание"));
    auto* lay = new QHBoxLayout(panel());
    lay->setContentsMargins(18, 12, 18, 12);
    lay->setSpacing(16);
    ImagePicture = new QLabel(panel());
    ImagePicture->setObjectName(QStringLiteral("ImagePicture"));
    ImagePicture->setPixmap(Pictures::MessageIcon(2));
    ImagePicture->setFixedSize(32, 32);
    lay->addWidget(ImagePicture, 0, Qt::AlignVCenter);
    auto* text = new QVBoxLayout;
    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    Label1 = new QLabel(QStringLiteral("Вы ошиблись."), panel());
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Попробуйте еще раз."), panel());
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* l : {Label1, Label2}) {
        l->setFont(f);
        text->addWidget(l);
    }
    lay->addLayout(text, 1);
    BitBtnOk = addOkButton();
    setFixedSize(340, 190);
}

TDlgErrorDo& DlgErrorDo() {
    static auto* dlg = new TDlgErrorDo;
    return *dlg;
}

#include "drill/eng_dlglexrepit.h"

#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* choiceLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, QColor(16, 44, 84));
    pal.setColor(QPalette::Inactive, QPalette::WindowText, QColor(16, 44, 84));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 160, 172));
    l->setPalette(pal);
    return l;
}

TBtnImgTransD1Zv* choiceButton(QWidget* parent, const QString& name, const QString& icon) {
    auto* b = new TBtnImgTransD1Zv(parent);
    b->setObjectName(name);
    b->setPictures(Pictures::Button(icon));
    b->setFixedSize(b->sizeHint());
    return b;
}
} // namespace

TDlgLexRepit::TDlgLexRepit(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgLexRepit"));
    setTitle(QStringLiteral("Результаты"));
    auto* lay = new QVBoxLayout(panel());
    lay->setContentsMargins(14, 10, 14, 12);
    lay->setSpacing(6);

    MemoComent = new TMemoView(panel());
    MemoComent->setObjectName(QStringLiteral("MemoComent"));
    QFont mf = MemoComent->font();
    mf.setBold(true);
    mf.setPointSizeF(mf.pointSizeF() * 1.1);
    MemoComent->setFont(mf);
    MemoComent->setFixedHeight(56);
    lay->addWidget(MemoComent);

    LabelNow = new QLabel(QStringLiteral("Сейчас вы можете:"), panel());
    LabelNow->setObjectName(QStringLiteral("LabelNow"));
    lay->addWidget(LabelNow);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    BitBtnOk = choiceButton(panel(), QStringLiteral("BitBtnOk"), QStringLiteral("confirm"));
    BitBtn3 = choiceButton(panel(), QStringLiteral("BitBtn3"), QStringLiteral("loop"));
    BitBtn2 = choiceButton(panel(), QStringLiteral("BitBtn2"), QStringLiteral("exit"));
    LabelOk = choiceLabel(panel(), QStringLiteral("LabelOk"),
                          QStringLiteral("Отметить упражнение как выполненное"));
    Label3 = choiceLabel(panel(), QStringLiteral("Label3"),
                         QStringLiteral("Повторить упражнение еще раз"));
    Label2 = choiceLabel(panel(), QStringLiteral("Label2"),
                         QStringLiteral("Просто выйти из упражнения"));
    int row = 0;
    for (auto [b, l] :
         {std::pair{BitBtnOk, LabelOk}, std::pair{BitBtn3, Label3}, std::pair{BitBtn2, Label2}}) {
        grid->addWidget(b, row, 0);
        grid->addWidget(l, row, 1);
        LinkCaption(b, l);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    lay->addLayout(grid);
    lay->addStretch(1);

    connect(BitBtnOk, &TBtnImgTransD1Zv::clicked, this, &TDlgLexRepit::BitBtnOkClick);
    connect(BitBtn3, &TBtnImgTransD1Zv::clicked, this, &TDlgLexRepit::BitBtn3Click);
    connect(BitBtn2, &TBtnImgTransD1Zv::clicked, this, &TDlgLexRepit::BitBtn2Click);
    setTabOrder(BitBtnOk, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);
    setFixedSize(420, 284);
}

void TDlgLexRepit::SetComent(const QString& text) {
    MemoComent->Clear();
    MemoComent->AddLine(text);
}

void TDlgLexRepit::SetOkEnabled(bool on) {
    BitBtnOk->setEnabled(on);
}

void TDlgLexRepit::BitBtnOkClick() {
    done(mrOk);
}
void TDlgLexRepit::BitBtn3Click() {
    done(mrRetry);
}
void TDlgLexRepit::BitBtn2Click() {
    done(mrCancel);
}

void TDlgLexRepit::showEvent(QShowEvent* e) {
    TPictureDialog::showEvent(e);
    (BitBtnOk->isEnabled() ? BitBtnOk : BitBtn3)->setFocus(Qt::OtherFocusReason);
}

TDlgLexRepit& DlgLexRepit() {
    // Lives for the whole run, like the program's other dialogs.
    static auto* dlg = new TDlgLexRepit;
    return *dlg;
}

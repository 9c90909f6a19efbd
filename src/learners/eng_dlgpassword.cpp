#include "learners/eng_dlgpassword.h"

#include "controls/captionedbutton.h"
#include "controls/ui_hooks.h"
#include "learners/picbuttons.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TDlgPassWord::TDlgPassWord(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgPassWord"));
    setTitle(QStringLiteral("Пароль"));

    auto* label = new QLabel(QStringLiteral("Введите пароль:"), panel());
    label->setObjectName(QStringLiteral("Label1"));
    EditPassWord = new QLineEdit(panel());
    EditPassWord->setObjectName(QStringLiteral("EditPassWord"));
    UseStarEcho(EditPassWord);
    EditPassWord->setMinimumWidth(220);
    label->setBuddy(EditPassWord);

    OKBtn = MakeCaptionedButton(buttonBar(), QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("OK"), GlyphAt::Top);
    CancelBtn =
        MakeCaptionedButton(buttonBar(), QStringLiteral("CancelBtn"), QStringLiteral("cancel"),
                            QStringLiteral("Отмена"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);

    AddToButtonStrip(this, {OKBtn, CancelBtn});
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(16, 14, 16, 16);
    top->addWidget(label);
    top->addWidget(EditPassWord);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    SetHelpContext(this, 0);
    InstallF1Help(this);
}

QString TDlgPassWord::password() const {
    return EditPassWord->text();
}

void TDlgPassWord::setHelpTopic(int topic) {
    SetHelpContext(this, topic);
}

int TDlgPassWord::helpTopic() const {
    return property("helpContext").toInt();
}

void TDlgPassWord::FormShow() {
    EditPassWord->clear();
    EditPassWord->setFocus();
}

void TDlgPassWord::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

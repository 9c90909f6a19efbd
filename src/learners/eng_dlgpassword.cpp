#include "learners/eng_dlgpassword.h"

#include "base/ui_hooks.h"
#include "learners/picbuttons.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TDlgPassWord::TDlgPassWord(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgPassWord"));
    setWindowTitle(QStringLiteral("Пароль"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Пароль"), this);
    label->setObjectName(QStringLiteral("Label1"));
    EditPassWord = new QLineEdit(this);
    EditPassWord->setObjectName(QStringLiteral("EditPassWord"));
    EditPassWord->setEchoMode(QLineEdit::Password);
    EditPassWord->setMinimumWidth(220);
    label->setBuddy(EditPassWord);

    OKBtn = NewPicButton(this, QStringLiteral("OKBtn"), QStringLiteral("OK"), PicKind::Ok);
    CancelBtn =
        NewPicButton(this, QStringLiteral("CancelBtn"), QStringLiteral("Отмена"), PicKind::Cancel);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* top = new QVBoxLayout(this);
    top->addWidget(label);
    top->addWidget(EditPassWord);
    top->addSpacing(8);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

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

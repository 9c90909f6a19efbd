#include "learners/eng_dlgchpassprep.h"

#include "controls/captionedbutton.h"
#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "learners/picbuttons.h"
#include "learners/teacherpass.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

QString CheckTeacherPasswordChange(const QString& pass, const QString& confirm) {
    if (pass.isEmpty()) return QStringLiteral("Не введен пароль.");
    if (confirm.isEmpty()) return QStringLiteral("Пароль не подтвержден.");
    if (pass != confirm) return QStringLiteral("Пароль и подтверждение не индентичны");
    return {};
}

TDlgChPassPrep::TDlgChPassPrep(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgChPassPrep"));
    setTitle(QStringLiteral("Изменить преподавательский пароль"));

    auto* label1 = new QLabel(QStringLiteral("Пароль"), panel());
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Подтверждение пароля"), panel());
    label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new QLineEdit(panel());
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(panel());
    Edit2->setObjectName(QStringLiteral("Edit2"));
    for (QLineEdit* e : {Edit1, Edit2}) {
        UseStarEcho(e);
        e->setMinimumWidth(260);
    }
    label1->setBuddy(Edit1);
    label2->setBuddy(Edit2);

    OKBtn = MakeCaptionedButton(buttonBar(), QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("Подтверждние"), GlyphAt::Top);
    CancelBtn =
        MakeCaptionedButton(buttonBar(), QStringLiteral("CancelBtn"), QStringLiteral("cancel"),
                            QStringLiteral("Отмена"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);

    AddToButtonStrip(this, {OKBtn, CancelBtn});
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(16, 14, 16, 16);
    top->addWidget(label1);
    top->addWidget(Edit1);
    top->addWidget(label2);
    top->addWidget(Edit2);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
}

void TDlgChPassPrep::FormShow() {
    Edit1->clear();
    Edit2->clear();
    Edit1->setFocus();
}

void TDlgChPassPrep::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

bool TDlgChPassPrep::FormCloseQuery() {
    const QString msg = CheckTeacherPasswordChange(Edit1->text(), Edit2->text());
    if (!msg.isEmpty()) {
        XMessage(msg, QStringLiteral("Ошибка"), MB_ICONWARNING);
        return false;
    }
    return Guarded([&] { WriteTeacherPassword(Edit1->text()); });
}

void TDlgChPassPrep::done(int r) {
    if (r == QDialog::Accepted && !FormCloseQuery()) return;
    QDialog::done(r);
}

#include "learners/picbuttons.h"

#include "controls/picturedialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

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

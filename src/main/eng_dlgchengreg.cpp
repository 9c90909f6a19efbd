#include "main/eng_dlgchengreg.h"

#include "controls/captionedbutton.h"
#include "controls/ui_hooks.h"
#include "learners/picbuttons.h"
#include "learners/userrec.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TOKBottomDlgChengeReg::TOKBottomDlgChengeReg(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("OKBottomDlgChengeReg"));
    setTitle(QStringLiteral("Изменить режим"));

    RadioGroup1 = new QGroupBox(QStringLiteral("Режим работы пользователя"), panel());
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* grid = new QGridLayout(RadioGroup1);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(8);
    QRadioButton** radios[4] = {&RadioButtonA, &RadioButtonB, &RadioButtonC, &RadioButtonD};
    for (int k = 0; k < 4; ++k) {
        const char mode = char('A' + k);
        auto* radio = new QRadioButton(QString(QLatin1Char(mode)), RadioGroup1);
        radio->setObjectName(QStringLiteral("RadioButton") + QLatin1Char(mode));
        auto* text = new QLabel(WorkModeDescription(mode), RadioGroup1);
        text->setObjectName(QStringLiteral("LabelMode") + QLatin1Char(mode));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        text->setProperty("mode", int(mode));
        text->installEventFilter(this); // a click on the text picks its mode
        grid->addWidget(radio, k, 0, Qt::AlignTop);
        grid->addWidget(text, k, 1, Qt::AlignTop);
        *radios[k] = radio;
    }
    RadioButtonA->setChecked(true);

    LabelWarning = new QLabel(QStringLiteral("Внимание !!!"), panel());
    LabelWarning->setObjectName(QStringLiteral("LabelWarning"));
    QFont bold = LabelWarning->font();
    bold.setBold(true);
    LabelWarning->setFont(bold);
    LabelWarning->setStyleSheet(QStringLiteral("color: #a01010;"));
    LabelWarningText = new QLabel(QStringLiteral("При изменении режима информация о ранее "
                                                 "выполненных ") +
                                      QStringLiteral("упражнениях будет удалена."),
                                  panel());
    LabelWarningText->setObjectName(QStringLiteral("LabelWarningText"));
    LabelWarningText->setWordWrap(true);

    OKBtn = MakeCaptionedButton(this, QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("Подтверждние"), GlyphAt::Top);
    CancelBtn = MakeCaptionedButton(this, QStringLiteral("CancelBtn"), QStringLiteral("cancel"),
                                    QStringLiteral("Отмена"), GlyphAt::Top);
    BitBtn3 = MakeCaptionedButton(this, QStringLiteral("BitBtn3"), QStringLiteral("help"),
                                  QStringLiteral("Помощь"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QAbstractButton::clicked, this, &TOKBottomDlgChengeReg::BitBtn3Click);

    AddToButtonStrip(this, {OKBtn, CancelBtn, BitBtn3});
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(16, 12, 16, 12);
    top->addWidget(RadioGroup1, 1);
    top->addSpacing(4);
    top->addWidget(LabelWarning);
    top->addWidget(LabelWarningText);
    setFixedSize(627, 399);

    setTabOrder(RadioButtonA, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, BitBtn3);

    SetHelpContext(this, 40);
    InstallF1Help(this);
}

char TOKBottomDlgChengeReg::SelectedMode() const {
    if (RadioButtonA->isChecked()) return 'A';
    if (RadioButtonB->isChecked()) return 'B';
    if (RadioButtonC->isChecked()) return 'C';
    if (RadioButtonD->isChecked()) return 'D';
    return 'A';
}

void TOKBottomDlgChengeReg::SetSelectedMode(char mode) {
    QRadioButton* radios[4] = {RadioButtonA, RadioButtonB, RadioButtonC, RadioButtonD};
    if (mode >= 'A' && mode <= 'D') radios[mode - 'A']->setChecked(true);
}

void TOKBottomDlgChengeReg::BitBtn3Click() {
    ShowHelpKeyword(QStringLiteral("SelectReg"));
}

bool TOKBottomDlgChengeReg::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease) {
        const int mode = o->property("mode").toInt();
        if (mode >= 'A' && mode <= 'D') {
            SetSelectedMode(char(mode));
            return true;
        }
    }
    return TPictureDialog::eventFilter(o, e);
}

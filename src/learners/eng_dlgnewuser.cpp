#include "learners/eng_dlgnewuser.h"

#include "controls/captionedbutton.h"
#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "learners/picbuttons.h"
#include "learners/userrec.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

namespace {
// Pasted or dropped text loses what the keyboard could not have typed.
class NameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString kept = FilterNameText(input);
        if (kept.size() != input.size()) {
            pos -= int(input.left(pos).size() - FilterNameText(input.left(pos)).size());
            input = kept;
        }
        return Acceptable;
    }
};
} // namespace

TOKBottomDlgNewUser::TOKBottomDlgNewUser(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("OKBottomDlgNewUser"));
    setTitle(QStringLiteral("Новое имя"));

    auto* labelName = new QLabel(QStringLiteral("Имя нового пользователя"), panel());
    labelName->setObjectName(QStringLiteral("LabelNameUser"));
    EditNameUser = new QLineEdit(panel());
    EditNameUser->setObjectName(QStringLiteral("EditNameUser"));
    EditNameUser->setValidator(new NameValidator(EditNameUser));
    EditNameUser->installEventFilter(this);
    labelName->setBuddy(EditNameUser);

    auto* labelPass = new QLabel(QStringLiteral("Пароль"), panel());
    labelPass->setObjectName(QStringLiteral("LabelPassword"));
    EditPassword = new QLineEdit(panel());
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    auto* labelPass2 = new QLabel(QStringLiteral("Подтверждение пароля"), panel());
    labelPass2->setObjectName(QStringLiteral("LabelPassword2"));
    EditPassword2 = new QLineEdit(panel());
    EditPassword2->setObjectName(QStringLiteral("EditPassword2"));
    for (QLineEdit* e : {EditPassword, EditPassword2})
        UseStarEcho(e);
    labelPass->setBuddy(EditPassword);
    labelPass2->setBuddy(EditPassword2);

    RadioGroupMode = new QGroupBox(QStringLiteral("Режим работы пользователя"), panel());
    RadioGroupMode->setObjectName(QStringLiteral("RadioGroupMode"));
    auto* modes = new QGridLayout(RadioGroupMode);
    modes->setColumnStretch(1, 1);
    QRadioButton** radios[4] = {&RadioButtonA, &RadioButtonB, &RadioButtonC, &RadioButtonD};
    for (int i = 0; i < 4; ++i) {
        const char mode = char('A' + i);
        auto* radio = new QRadioButton(QString(QLatin1Char(mode)), RadioGroupMode);
        radio->setObjectName(QStringLiteral("RadioButton") + QLatin1Char(mode));
        auto* text = new QLabel(WorkModeDescription(mode), RadioGroupMode);
        text->setObjectName(QStringLiteral("LabelMode") + QLatin1Char(mode));
        text->setWordWrap(true);
        text->setMinimumWidth(460);
        text->installEventFilter(this); // a click on the text picks the mode
        m_descriptions.append(text);
        modes->addWidget(radio, i, 0, Qt::AlignTop);
        modes->addWidget(text, i, 1);
        *radios[i] = radio;
    }

    // Kept out of sight: the path always follows the name.
    PanelFile = new QWidget(this);
    PanelFile->setObjectName(QStringLiteral("PanelFile"));
    auto* labelFile = new QLabel(QStringLiteral("Имя файла отчета"), PanelFile);
    EditFileName = new QLineEdit(PanelFile);
    EditFileName->setObjectName(QStringLiteral("EditFileName"));
    EditFileName->setReadOnly(true);
    BitBtn1 =
        MakeCaptionedButton(PanelFile, QStringLiteral("BitBtn1"), QStringLiteral("select-user"),
                            QStringLiteral("Обзор..."), GlyphAt::Top);
    auto* fileRow = new QHBoxLayout(PanelFile);
    fileRow->addWidget(labelFile);
    fileRow->addWidget(EditFileName, 1);
    fileRow->addWidget(BitBtn1);
    PanelFile->hide();

    OKBtn = MakeCaptionedButton(buttonBar(), QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("Подтверждение"), GlyphAt::Top);
    CancelBtn =
        MakeCaptionedButton(buttonBar(), QStringLiteral("CancelBtn"), QStringLiteral("cancel"),
                            QStringLiteral("Отмена"), GlyphAt::Top);
    BitBtn4 = MakeCaptionedButton(buttonBar(), QStringLiteral("BitBtn4"), QStringLiteral("help"),
                                  QStringLiteral("Помощь"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(BitBtn4, &QAbstractButton::clicked, this, &TOKBottomDlgNewUser::BitBtn4Click);
    connect(BitBtn1, &QAbstractButton::clicked, this, &TOKBottomDlgNewUser::BitBtn1Click);
    connect(EditNameUser, &QLineEdit::textChanged, this, &TOKBottomDlgNewUser::EditNameUserChange);

    auto* fields = new QGridLayout;
    fields->addWidget(labelName, 0, 0);
    fields->addWidget(EditNameUser, 1, 0);
    fields->addWidget(labelPass, 0, 1);
    fields->addWidget(EditPassword, 1, 1);
    fields->addWidget(labelPass2, 0, 2);
    fields->addWidget(EditPassword2, 1, 2);
    fields->setColumnStretch(0, 2);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    AddToButtonStrip(this, {OKBtn, CancelBtn, BitBtn4});

    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(16, 14, 16, 14);
    top->addLayout(fields);
    top->addSpacing(6);
    top->addWidget(RadioGroupMode);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(EditNameUser, EditPassword);
    setTabOrder(EditPassword, EditPassword2);
    setTabOrder(EditPassword2, RadioButtonA);
    setTabOrder(RadioButtonA, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, BitBtn4);

    SetHelpContext(this, 20);
    SetHelpKeyword(this, QStringLiteral("NewUser"));
    InstallF1Help(this);
    StendInitial();
}

void TOKBottomDlgNewUser::StendInitial() {
    EditNameUser->clear();
    EditPassword->clear();
    EditPassword2->clear();
    EditFileName->setText(ReportRootPath());
    RadioButtonA->setChecked(true);
    EditNameUser->setFocus();
}

void TOKBottomDlgNewUser::EditNameUserChange(const QString& text) {
    EditFileName->setText(ReportPathFor(text));
}

bool TOKBottomDlgNewUser::EditNameUserKeyPress(QChar key) {
    return NameCharAccepted(key.unicode());
}

char TOKBottomDlgNewUser::selectedMode() const {
    if (RadioButtonB->isChecked()) return 'B';
    if (RadioButtonC->isChecked()) return 'C';
    if (RadioButtonD->isChecked()) return 'D';
    return 'A';
}

NewUserInput TOKBottomDlgNewUser::input() const {
    NewUserInput in;
    in.Name = EditNameUser->text();
    in.Password = EditPassword->text();
    in.Password2 = EditPassword2->text();
    in.ReportPath = EditFileName->text();
    in.Mode = selectedMode();
    return in;
}

void TOKBottomDlgNewUser::BitBtn1Click() {
    QString name = QFileDialog::getSaveFileName(this, QString(), EditFileName->text(),
                                                QStringLiteral("Файлы установок (*.rep)"));
    if (name.isEmpty()) return;
    name = QDir::toNativeSeparators(name);
    if (!name.contains(QLatin1Char('.'))) name += QStringLiteral(".rep");
    EditFileName->setText(name);
}

void TOKBottomDlgNewUser::BitBtn4Click() {
    ShowHelpKeyword(QStringLiteral("NewUser"));
}

bool TOKBottomDlgNewUser::FormCloseQuery() {
    bool ok = false;
    Guarded([&] {
        const QString msg = CheckNewUser(Learners(), input());
        if (!msg.isEmpty()) {
            XMessage(msg, QStringLiteral("Ошибка"), MB_ICONWARNING);
            return;
        }
        CreateLearnerDir(EditFileName->text());
        ok = true;
    });
    return ok;
}

void TOKBottomDlgNewUser::done(int r) {
    if (r == QDialog::Accepted && !FormCloseQuery()) return;
    QDialog::done(r);
}

bool TOKBottomDlgNewUser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditNameUser && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Enter, Tab, Esc and shortcuts carry control codes and keep their
        // usual meaning; only characters beyond the range are refused.
        for (QChar c : key->text())
            if (c.unicode() > 127 && !EditNameUserKeyPress(c)) return true;
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const int i = int(m_descriptions.indexOf(qobject_cast<QLabel*>(watched)));
        if (i >= 0) {
            QRadioButton* radios[4] = {RadioButtonA, RadioButtonB, RadioButtonC, RadioButtonD};
            radios[i]->setChecked(true);
            radios[i]->setFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

#include "learners/eng_dlgselectuser.h"

#include "controls/captionedbutton.h"
#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "learners/eng_dlgnewuser.h"
#include "learners/eng_dlgpassword.h"
#include "learners/learnerops.h"
#include "learners/picbuttons.h"

#include <QAbstractButton>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TOKBottomDlgSelectUsers::TOKBottomDlgSelectUsers(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("OKBottomDlgSelectUsers"));
    setTitle(QStringLiteral("Выбор имени"));

    Label1 = new QLabel(QStringLiteral("Выберите имя"), panel());
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    Label1->setFont(heading);

    ListBoxUsers = new QListWidget(panel());
    ListBoxUsers->setObjectName(QStringLiteral("ListBoxUsers"));
    ListBoxUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxUsers->setMinimumSize(360, 220);
    Label1->setBuddy(ListBoxUsers);

    OKBtn = MakeCaptionedButton(buttonBar(), QStringLiteral("OKBtn"), QStringLiteral("confirm"),
                                QStringLiteral("Подтверждение"), GlyphAt::Top);
    CancelBtn =
        MakeCaptionedButton(buttonBar(), QStringLiteral("CancelBtn"), QStringLiteral("cancel"),
                            QStringLiteral("Отмена"), GlyphAt::Top);
    Button1 =
        MakeCaptionedButton(buttonBar(), QStringLiteral("Button1"), QStringLiteral("new-user"),
                            QStringLiteral("Новое имя"), GlyphAt::Top);
    ButtonDel =
        MakeCaptionedButton(buttonBar(), QStringLiteral("ButtonDel"), QStringLiteral("delete-user"),
                            QStringLiteral("Удалить имя"), GlyphAt::Top);
    BitBtn3 = MakeCaptionedButton(buttonBar(), QStringLiteral("BitBtn3"), QStringLiteral("help"),
                                  QStringLiteral("Помощь"), GlyphAt::Top);
    SetDefaultButton(OKBtn);
    connect(OKBtn, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(Button1, &QAbstractButton::clicked, this, &TOKBottomDlgSelectUsers::Button1Click);
    connect(ButtonDel, &QAbstractButton::clicked, this, &TOKBottomDlgSelectUsers::ButtonDelClick);
    connect(BitBtn3, &QAbstractButton::clicked, this, &TOKBottomDlgSelectUsers::BitBtn3Click);
    // A double click on a name confirms it.
    connect(ListBoxUsers, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    AddToButtonStrip(this, {OKBtn, CancelBtn, Button1, ButtonDel, BitBtn3});
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(16, 12, 16, 14);
    top->addWidget(Label1);
    top->addWidget(ListBoxUsers, 1);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ListBoxUsers, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Button1);
    setTabOrder(Button1, ButtonDel);
    setTabOrder(ButtonDel, BitBtn3);

    SetHelpContext(this, 30);
    SetHelpKeyword(this, QStringLiteral("SelUser"));
    InstallF1Help(this);
    FormCreate();
}

TOKBottomDlgSelectUsers::~TOKBottomDlgSelectUsers() {
    FormDestroy();
}

TOKBottomDlgNewUser* TOKBottomDlgSelectUsers::newUserDialog() {
    if (!m_newUser) m_newUser = new TOKBottomDlgNewUser(this);
    return m_newUser;
}

TDlgPassWord* TOKBottomDlgSelectUsers::passwordDialog() {
    if (!m_password) m_password = new TDlgPassWord(this);
    return m_password;
}

void TOKBottomDlgSelectUsers::FormCreate() {
    Guarded([] { Learners().Load(); });
    App().UserUnchanged = false;
    FormShow();
}

void TOKBottomDlgSelectUsers::FormShow() {
    ListBoxUsers->clear();
    for (const TUserRec& r : Learners().Users)
        ListBoxUsers->addItem(UserListLine(r));
    if (ListBoxUsers->count() > 0) ListBoxUsers->setCurrentRow(0);
    ListBoxUsers->setFocus();
}

void TOKBottomDlgSelectUsers::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Learners made or deleted by other programs on this course since.
    Guarded([] { RefreshLearnerList(Learners()); });
    FormShow();
}

void TOKBottomDlgSelectUsers::FormDestroy() {
    // A list that could not be read is left on disk as it is (Save refuses).
    Guarded([] {
        if (!Learners().loadFailed()) SaveLearnerList(Learners());
    });
}

int TOKBottomDlgSelectUsers::selectedIndex() const {
    const QList<QListWidgetItem*> sel = ListBoxUsers->selectedItems();
    return sel.isEmpty() ? -1 : ListBoxUsers->row(sel.first());
}

void TOKBottomDlgSelectUsers::Button1Click() {
    if (!LearnerListChangeable(Learners())) return;
    TOKBottomDlgNewUser* dlg = newUserDialog();
    dlg->StendInitial();
    if (dlg->exec() != QDialog::Accepted) return;
    Guarded([&] {
        const int i = RegisterLearner(Learners(), dlg->input());
        // The list as it is on disk now: other programs may have added names.
        FormShow();
        ListBoxUsers->setCurrentRow(i);
    });
}

void TOKBottomDlgSelectUsers::ButtonDelClick() {
    LearnerTable& table = Learners();
    if (!LearnerListChangeable(table)) return;
    const int index = selectedIndex();
    if (!table.isEmpty() && index < 0) return;
    TDlgPassWord* pass = passwordDialog();
    if (pass->exec() != QDialog::Accepted) return;
    Guarded([&] {
        if (DeleteLearner(table, index, pass->password(), QDir::currentPath()) !=
            DeleteOutcome::Deleted)
            return;
        FormShow();
        if (ListBoxUsers->count() > 0)
            ListBoxUsers->setCurrentRow(qMin(index, ListBoxUsers->count() - 1));
    });
}

void TOKBottomDlgSelectUsers::BitBtn3Click() {
    ShowHelpKeyword(QStringLiteral("SelUser"));
}

#pragma once
// The select-learner dialog. It owns the learner table's life: the table is
// loaded when the dialog is made at start and saved when it is destroyed.
#include "controls/picturedialog.h"

class QAbstractButton;
class QLabel;
class QListWidget;
class TDlgPassWord;
class TOKBottomDlgNewUser;

class TOKBottomDlgSelectUsers : public TPictureDialog {
    Q_OBJECT
public:
    // The new-learner dialog and the password prompt are the program's
    // long-lived ones when given; otherwise the dialog makes its own.
    explicit TOKBottomDlgSelectUsers(QWidget* parent = nullptr);
    ~TOKBottomDlgSelectUsers() override;

    void setNewUserDialog(TOKBottomDlgNewUser* d) { m_newUser = d; }
    void setPasswordDialog(TDlgPassWord* d) { m_password = d; }
    TOKBottomDlgNewUser* newUserDialog();
    TDlgPassWord* passwordDialog();

    // Index of the selected line (the learner's index), -1 for none.
    int selectedIndex() const;

    QLabel* Label1;
    QListWidget* ListBoxUsers;
    QAbstractButton* OKBtn;
    QAbstractButton* CancelBtn;
    QAbstractButton* Button1;
    QAbstractButton* ButtonDel;
    QAbstractButton* BitBtn3;

public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void FormDestroy();
    // The new-learner procedure; the main window calls it directly too.
    void Button1Click();
    void ButtonDelClick();
    void BitBtn3Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TOKBottomDlgNewUser* m_newUser = nullptr;
    TDlgPassWord* m_password = nullptr;
};

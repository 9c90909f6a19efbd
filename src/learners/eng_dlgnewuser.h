#pragma once
// The new-learner dialog: name, password, work mode. The report path is
// derived from the name and kept on a panel the learner never sees.
#include "learners/learnerops.h"

#include "controls/picturedialog.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

class TOKBottomDlgNewUser : public TPictureDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlgNewUser(QWidget* parent = nullptr);

    // Clears the entries before each showing.
    void StendInitial();
    // False keeps the dialog open; a message has been shown then.
    bool FormCloseQuery();
    // A typed character the name takes (codes 31 to 127, backspace).
    static bool EditNameUserKeyPress(QChar key);

    char selectedMode() const;
    NewUserInput input() const;

    QLineEdit* EditNameUser;
    QLineEdit* EditPassword;
    QLineEdit* EditPassword2;
    QGroupBox* RadioGroupMode;
    QRadioButton* RadioButtonA;
    QRadioButton* RadioButtonB;
    QRadioButton* RadioButtonC;
    QRadioButton* RadioButtonD;
    QWidget* PanelFile;
    QLineEdit* EditFileName;
    QAbstractButton* BitBtn1;
    QAbstractButton* OKBtn;
    QAbstractButton* CancelBtn;
    QAbstractButton* BitBtn4;

public Q_SLOTS:
    void EditNameUserChange(const QString& text);
    void BitBtn1Click();
    void BitBtn4Click();
    void done(int r) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLabel*> m_descriptions;
};

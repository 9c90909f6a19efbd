#pragma once
// The one password prompt, for learners and for the teacher. It checks
// nothing: the caller reads the text after an OK result and compares it.
#include "controls/picturedialog.h"

class QAbstractButton;
class QLineEdit;

class TDlgPassWord : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgPassWord(QWidget* parent = nullptr);

    QString password() const;
    // The help topic F1 opens; the main window sets 90 for the teacher.
    void setHelpTopic(int topic);
    int helpTopic() const;

    QLineEdit* EditPassWord;
    QAbstractButton* OKBtn;
    QAbstractButton* CancelBtn;

public Q_SLOTS:
    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;
};

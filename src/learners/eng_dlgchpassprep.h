#pragma once
// Changing the teacher password, from the teacher console.
#include "controls/picturedialog.h"

class QAbstractButton;
class QLineEdit;

// The message of the first check the two entries fail, empty when they pass.
QString CheckTeacherPasswordChange(const QString& pass, const QString& confirm);

class TDlgChPassPrep : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgChPassPrep(QWidget* parent = nullptr);

    // Runs the checks and stores the password; false keeps the dialog open.
    bool FormCloseQuery();

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QAbstractButton* OKBtn;
    QAbstractButton* CancelBtn;

public Q_SLOTS:
    void FormShow();
    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
};

#pragma once
// Choosing another work mode. Made once and never set up by its caller, so
// it opens with the choice left the last time (A at start).
#include "controls/picturedialog.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QRadioButton;

class TOKBottomDlgChengeReg : public TPictureDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlgChengeReg(QWidget* parent = nullptr);

    // The checked letter, read in the order A, B, C, D.
    char SelectedMode() const;
    void SetSelectedMode(char mode);

    QGroupBox* RadioGroup1;
    QRadioButton* RadioButtonA;
    QRadioButton* RadioButtonB;
    QRadioButton* RadioButtonC;
    QRadioButton* RadioButtonD;
    QLabel* LabelWarning;
    QLabel* LabelWarningText;
    QAbstractButton* OKBtn;
    QAbstractButton* CancelBtn;
    QAbstractButton* BitBtn3;

public Q_SLOTS:
    void BitBtn3Click();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

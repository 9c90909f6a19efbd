#pragma once
// The full-duplex check run before exercises that record the learner while a
// lesson plays, and the dialog that tells the learner it cannot be done.
#include <QDialog>

class QLabel;
class QPushButton;

class TDlgTestFullDulex : public QDialog {
    Q_OBJECT
public:
    explicit TDlgTestFullDulex(QWidget* parent = nullptr);

    QLabel* Label = nullptr;
    QPushButton* OKBtn = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
};

// The program's instance (it lives for the whole run). Without one,
// RunDuplexTest shows a dialog of its own.
void SetDuplexDialog(TDlgTestFullDulex* dlg);

// Plays "Null.wav" and records "NullRec.wav" (current directory) at the same
// time. True when both run; otherwise shows TDlgTestFullDulex modally and
// returns false. A file that cannot be opened throws DeviceError.
bool RunDuplexTest();

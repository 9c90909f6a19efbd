#pragma once
// The results dialog after a completed exercise: mark it done (mrOk), run it
// again (mrRetry) or leave it (mrCancel). Callers set the message and whether
// marking is allowed before each use; the dialog keeps the last state.
#include "controls/picturedialog.h"

class QLabel;
class TBtnImgTransD1Zv;

class TDlgLexRepit : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgLexRepit(QWidget* parent = nullptr);

    // Clears MemoComent and adds `text` as its one line.
    void SetComent(const QString& text);
    // Enables or disables marking as done; its caption greys with it.
    void SetOkEnabled(bool on);

    TMemoView* MemoComent = nullptr;
    QLabel* LabelNow = nullptr;
    TBtnImgTransD1Zv* BitBtnOk = nullptr;
    TBtnImgTransD1Zv* BitBtn3 = nullptr;
    TBtnImgTransD1Zv* BitBtn2 = nullptr;
    QLabel* LabelOk = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;

public Q_SLOTS:
    void BitBtnOkClick();
    void BitBtn3Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* e) override;
};

// The one results dialog of the program, made on first use.
TDlgLexRepit& DlgLexRepit();

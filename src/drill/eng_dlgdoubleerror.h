#pragma once
// Wrong answer: "Вы ошиблись. Правильный ответ:" and the right answer.
// This one shows English answers; TDlgLexicError shows Russian ones.
#include "controls/picturedialog.h"

class QLabel;
class TBtnImgD1Zv;

class TDlgDoubleError : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgDoubleError(QWidget* parent = nullptr);

    // Clears MemoTrueQuest, puts `text` in as its only line, runs the dialog.
    int ShowMdText(const QString& text);

    QLabel* ImagePicture = nullptr;
    QLabel* LabelTitle = nullptr;
    TMemoView* MemoTrueQuest = nullptr;
    TBtnImgD1Zv* BitBtnOk = nullptr;

protected:
    // Bold answer font of a family that has the given writing system.
    static QFont answerFont(int writingSystem);
};

TDlgDoubleError& DlgDoubleError();

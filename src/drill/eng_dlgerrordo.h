#pragma once
// "Try again" after a wrong answer.
#include "controls/picturedialog.h"

class QLabel;
class TBtnImgD1Zv;

class TDlgErrorDo : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgErrorDo(QWidget* parent = nullptr);

    QLabel* ImagePicture = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    TBtnImgD1Zv* BitBtnOk = nullptr;
};

TDlgErrorDo& DlgErrorDo();

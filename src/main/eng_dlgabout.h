#pragma once
// The about box: three pages (the program, its makers, how to work with it).
#include "controls/picturedialog.h"

class QAbstractButton;
class QTabWidget;

class TOKBottomDlgAbout : public TPictureDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlgAbout(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QAbstractButton* OKBtn;
};

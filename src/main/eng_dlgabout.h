#pragma once
// The about box: three pages (the program, its makers, how to work with it).
#include <QDialog>

class QAbstractButton;
class QTabWidget;

class TOKBottomDlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlgAbout(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QAbstractButton* OKBtn;
};

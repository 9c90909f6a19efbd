#pragma once
// The small borderless "please wait" window with the picture progress bar,
// shown while a long list is built.
#include "base/progresswindow.h"

#include <QWidget>

class QLabel;
class TPrgssBarZv;

class TFormProgress : public QWidget, public ProgressWindow {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* parent = nullptr);

    void start(int maximum) override;
    void setPosition(int value) override;
    void finish() override;

    TPrgssBarZv* PrgssBar = nullptr;
    QLabel* LabelWait = nullptr;

protected:
    void paintEvent(QPaintEvent*) override;
};

// Makes MakeProgressWindow() give a TFormProgress.
void InstallPictureProgressWindow();

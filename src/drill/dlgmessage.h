#pragma once
// The program's own message box.
#include "controls/picturedialog.h"

#include <QList>
#include <QPixmap>

class QLabel;
class TBtnImgD1Zv;

class TDlgxMessage : public TPictureDialog {
    Q_OBJECT
public:
    explicit TDlgxMessage(QWidget* parent = nullptr);

    // Icon by the message-box icon group (flags & 0xF0) >> 4: 1 error,
    // 2 question, 3 warning, anything else information. Returns the result.
    int XMessage(const QString& text, const QString& title, int flags);

    // Fills ImageIcon with the panel colour and draws icon `index` on it.
    void ShowIcon(int index);
    // Index into ImageListIcon for the given flags.
    static int IconIndex(int flags);

    QLabel* ImageIcon = nullptr;
    QList<QPixmap> ImageListIcon; // error, question, warning, information
    TMemoView* MemoMess = nullptr;
    TBtnImgD1Zv* BitBtnOk = nullptr;
};

TDlgxMessage& DlgxMessage();

// Routes XMessage() of the whole program to TDlgxMessage.
void InstallXMessageDialog();

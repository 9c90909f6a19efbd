#pragma once
// The common frame of the program's small dialogs: fixed size, centred on the
// screen, a coloured caption bar with the title, a light picture panel for
// the content and a dark button strip. exec() returns ModalResult values;
// closing by the frame or Esc gives mrCancel.
#include "controls/modalresult.h"

#include <QDialog>
#include <QTextEdit>

class QFrame;
class QHBoxLayout;
class QLabel;
class TBtnImgD1Zv;

// A read-only text area used like a memo: cleared, then lines added. Text is
// plain, never markup; a line break inside a line breaks it on screen but it
// stays one line.
class TMemoView : public QTextEdit {
    Q_OBJECT
public:
    explicit TMemoView(QWidget* parent = nullptr);
    void Clear();
    void AddLine(const QString& text);
    QStringList Lines() const;
    void setCentred(bool on) { m_centred = on; }

private:
    bool m_centred = true;
    int m_count = 0;
};

class TPictureDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPictureDialog(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;

    QLabel* captionBar() const { return m_caption; }
    QFrame* panel() const { return m_panel; }
    QWidget* buttonBar() const { return m_buttons; }
    QHBoxLayout* buttonLayout() const { return m_buttonLayout; }

    // The OK picture button in the strip: named BitBtnOk, default, result mrOk.
    TBtnImgD1Zv* addOkButton();

    int exec() override;
    void accept() override;
    void reject() override;

    static QColor panelColour() { return QColor(250, 252, 255); }

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void centreOnScreen();

private:
    QLabel* m_caption;
    QFrame* m_panel;
    QWidget* m_buttons;
    QHBoxLayout* m_buttonLayout;
};

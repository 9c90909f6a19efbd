#pragma once
// Picture check mark with a caption to its right, drawn without a background.
// Its own Enabled flag greys it and stops the toggle, but clicks still arrive
// and fire clicked(), so a window can react to a click on a locked mark.
#include "controls/pictures.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

class TChBxImgTransD1Zv : public QWidget {
    Q_OBJECT
public:
    explicit TChBxImgTransD1Zv(QWidget* parent = nullptr);

    bool Checked() const { return m_checked; }
    void setChecked(bool on);
    // The mark's own enabled flag (the widget itself stays enabled).
    bool markEnabled() const { return m_enabled; }
    void setMarkEnabled(bool on);
    // For a box whose option is on while it is clear: the set pictures are
    // drawn for the clear state and the clear ones for the set state, so the
    // mark the user sees says "on". Checked and the toggle are unchanged.
    bool invertedLook() const { return m_inverted; }
    void setInvertedLook(bool on);

    QPixmap ImgOn() const { return m_on.raw; }
    QPixmap ImgOnDis() const { return m_onDis.raw; }
    QPixmap ImgOff() const { return m_off.raw; }
    QPixmap ImgOffDis() const { return m_offDis.raw; }
    void setImgOn(const QPixmap& pm);
    void setImgOnDis(const QPixmap& pm);
    void setImgOff(const QPixmap& pm);
    void setImgOffDis(const QPixmap& pm);
    void setPictures(const CheckPictures& p);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& text);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    void setCaptionFont(const QFont& f);

    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool on) { m_showHint = on; }

    // The picture the last paint drew.
    QPixmap shownPicture() const { return m_shown; }
    // A click as the mouse gives it: clicked(), then the toggle when enabled.
    void click();

    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked();
    void mouseDown();
    void mouseUp();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    struct Pic {
        QPixmap raw, keyed;
    };
    static Pic make(const QPixmap& pm);
    void repaintNow();

    bool m_checked = false;
    bool m_enabled = true;
    bool m_inverted = false;
    bool m_pressed = false;
    bool m_showHint = true;
    Pic m_on, m_onDis, m_off, m_offDis;
    QString m_caption;
    QColor m_fontColor = QColor(0, 0, 0);
    QPixmap m_shown;
};

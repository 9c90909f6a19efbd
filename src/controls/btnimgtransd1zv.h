#pragma once
// Transparent picture button: no background of its own, each picture drawn
// with the colour of its top-right pixel left out, so the window behind
// shows through. It resizes itself to the picture it shows.
#include "controls/pictures.h"

#include <QPixmap>
#include <QWidget>

class TBtnImgTransD1Zv : public QWidget {
    Q_OBJECT
public:
    explicit TBtnImgTransD1Zv(QWidget* parent = nullptr);

    QPixmap Bitmap() const { return m_bitmap.raw; }
    QPixmap BitmapOver() const { return m_over.raw; }
    QPixmap BitmapDown() const { return m_down.raw; }
    QPixmap BitmapUp() const { return m_up.raw; }
    QPixmap BitmapDisabled() const { return m_disabled.raw; }
    // Setting Bitmap also makes it the current picture and sizes the control.
    void setBitmap(const QPixmap& pm);
    void setBitmapOver(const QPixmap& pm);
    void setBitmapDown(const QPixmap& pm);
    void setBitmapUp(const QPixmap& pm);
    void setBitmapDisabled(const QPixmap& pm);
    // All faces at once: normal, hovered (also the release picture), pressed, disabled.
    void setPictures(const ButtonPictures& p);

    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool on) { m_showHint = on; }

    // The picture the control holds as current, and the one its last paint drew.
    QPixmap currentPicture() const { return m_current.raw; }
    QPixmap shownPicture() const { return m_shown; }

    // Clicks the button as the mouse would (pressed picture, clicked(), back).
    void click();

    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked();
    void mouseDown();
    void mouseUp();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool event(QEvent* e) override;

private:
    struct Pic {
        QPixmap raw, keyed;
    };
    static Pic make(const QPixmap& pm);
    void makeCurrent(const Pic& p); // current picture, resize, repaint
    void drawOnly(const Pic& p);    // resize and repaint with p, current unchanged
    void fitTo(const QPixmap& pm);
    void repaintNow();

    Pic m_bitmap, m_over, m_down, m_up, m_disabled;
    Pic m_current;
    Pic m_override; // what a release drew; shown until the current picture changes
    QPixmap m_shown;
    bool m_showHint = true;
    bool m_pressed = false;
};

#pragma once
// Progress bar drawn from six pictures: the track and the filled part, each
// as begin, middle and end pieces. Draws nothing until all six are set.
#include "controls/pictures.h"
#include "controls/progresspieces.h"

#include <QPixmap>
#include <QWidget>

class TPrgssBarZv : public QWidget {
    Q_OBJECT
public:
    explicit TPrgssBarZv(QWidget* parent = nullptr);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Position() const { return m_position; }
    void setMin(int v);
    void setMax(int v);
    // Repaints only when the value changes.
    void setPosition(int v);

    QPixmap ImgBeginLine() const { return m_pics.beginLine; }
    QPixmap ImgMidleLine() const { return m_pics.midleLine; }
    QPixmap ImgEndLine() const { return m_pics.endLine; }
    QPixmap ImgBeginScroll() const { return m_pics.beginScroll; }
    QPixmap ImgMidleScroll() const { return m_pics.midleScroll; }
    QPixmap ImgEndScroll() const { return m_pics.endScroll; }
    void setImgBeginLine(const QPixmap& pm);
    void setImgMidleLine(const QPixmap& pm);
    void setImgEndLine(const QPixmap& pm);
    void setImgBeginScroll(const QPixmap& pm);
    void setImgMidleScroll(const QPixmap& pm);
    void setImgEndScroll(const QPixmap& pm);
    void setPictures(const BarPictures& p);

    // Where the pieces go at the current size and values (empty when a
    // picture is missing).
    QList<PiecePlacement> placements() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void mouseDown();
    void mouseUp();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool complete() const;
    const QPixmap& picture(BarPiece piece) const;
    void repaintNow();

    int m_min = 0;
    int m_max = 100;
    int m_position = 20;
    BarPictures m_pics;
};

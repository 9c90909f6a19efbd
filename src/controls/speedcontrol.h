#pragma once
// The playback speed picture: a "slower" half on the left, a "faster" half
// on the right and the steps between them as bars that grow with the speed,
// the chosen one dark and its percentage written above the bars. A click on
// a half moves one step, a click on a bar picks it; the wheel, the arrow
// keys and "-"/"+" move one step.
#include <span>

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;

class TSpeedControl : public QWidget {
    Q_OBJECT
public:
    // `steps` in any order; `speed` snaps to the nearest of them.
    TSpeedControl(std::span<const int> steps, int speed, QWidget* parent = nullptr);

    int speed() const { return m_steps.value(m_index); }
    // Snaps to the nearest step; speedChanged only when the step changes.
    void setSpeed(int percent);
    void slower();
    void faster();
    int slowest() const { return m_steps.front(); }
    int fastest() const { return m_steps.back(); }

    // "-" and "+" (the main keys and the numeric pad's; "=" shares its key
    // with "+") change the speed wherever the focus is in `window`, unless
    // it is in a text field, which takes the character.
    void bindKeys(QWidget* window);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void speedChanged(int percent);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void choose(int index);
    int nearest(int percent) const;
    // The step under x (logical pixels), -1 left of them, m_steps.size() right of them.
    int stepAt(qreal x) const;
    // Given less than its height the control lays itself out in one slim
    // row, the percentage beside the faster half.
    bool slim() const;
    QRectF halfRect(int side) const; // 0 slower, 1 faster
    QRectF barsRect() const;
    QRectF textRect() const;

    QList<int> m_steps; // slowest first, as drawn from left to right
    int m_index = 0;
    QPointer<QWidget> m_window; // whose "-" and "+" change the speed
};

// The control in a small box with its caption below it, laid out like the
// captioned picture buttons; the box is the control's parent.
TSpeedControl* MakeCaptionedSpeed(QWidget* parent, std::span<const int> steps, int speed,
                                  QLabel** labelOut = nullptr);

// The key that changes the speed: -1 slower, +1 faster, 0 not such a key.
int SpeedKeyStep(const QKeyEvent& e);

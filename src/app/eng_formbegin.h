#pragma once
// The splash window: the course title picture for a few seconds while the
// start-up music begins. The music outlives the window and its device is
// closed when the music ends.
#include <QDialog>

class AudioDevice;
class QLabel;
class QTimer;

class TFormBegin : public QDialog {
    Q_OBJECT
public:
    explicit TFormBegin(QWidget* parent = nullptr);

    // How long the window stays up, ms (4500 by default). 0: Run() shows
    // nothing and plays nothing (tests, benchmarks).
    static void SetSplashDuration(int ms);
    static int SplashDuration();

    // Shows the window modally and returns when it has closed.
    void Run();

    // The title picture, 480 x 480.
    static QPixmap TitlePicture();
    // The device playing the start-up music; null when none plays.
    static AudioDevice* MusicPlayer();

    QLabel* Image = nullptr;
    QTimer* Timer = nullptr;

public Q_SLOTS:
    void FormShow();
    void TimerTimer();

protected:
    void showEvent(QShowEvent* e) override;
};

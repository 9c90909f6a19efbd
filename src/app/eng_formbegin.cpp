#include "app/eng_formbegin.h"
#include "base/errors.h"
#include "media/audiodevice.h"

#include <cmath>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {
int g_duration = 4500;
QPointer<AudioDevice> g_music;
} // namespace

TFormBegin::TFormBegin(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("TFormBegin");
    setFixedSize(472, 480);
    setModal(true);
    Image = new QLabel(this);
    Image->setObjectName("Image");
    Image->setGeometry(0, 0, 480, 480);
    Image->setPixmap(TitlePicture());
    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setSingleShot(true);
    Timer->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(Timer, &QTimer::timeout, this, &TFormBegin::TimerTimer);
}

void TFormBegin::SetSplashDuration(int ms) {
    g_duration = std::max(0, ms);
}
int TFormBegin::SplashDuration() {
    return g_duration;
}

AudioDevice* TFormBegin::MusicPlayer() {
    return g_music;
}

void TFormBegin::Run() {
    if (g_duration <= 0) return;
    exec();
}

void TFormBegin::showEvent(QShowEvent* e) {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(e);
    FormShow();
}

void TFormBegin::FormShow() {
    Timer->start(std::max(1, g_duration));
    if (g_music) return; // still playing from an earlier showing
    // The player belongs to the application, not to this window: the music
    // goes on after the window has closed.
    auto* player = new AudioDevice(QCoreApplication::instance());
    player->setObjectName("MediaPlayer");
    connect(player, &AudioDevice::notify, player, [player](int) {
        player->close();
        player->deleteLater();
    });
    player->setFileName("music.wav");
    try {
        player->open();
        player->play();
        g_music = player;
    } catch (const VError& e) {
        // No music is no reason to stop the program from starting.
        qWarning("start-up music: %s", e.what());
        delete player;
    }
}

void TFormBegin::TimerTimer() {
    Timer->stop();
    accept();
}

QPixmap TFormBegin::TitlePicture() {
    QPixmap pm(480, 480);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 480);
    sky.setColorAt(0, QColor(196, 226, 246));
    sky.setColorAt(1, QColor(121, 184, 228));
    p.fillRect(pm.rect(), sky);
    // The window is 472 wide: everything is centred on its middle, x = 236.
    const int cx = 236;
    // Soft sound waves behind the title.
    p.setPen(QPen(QColor(255, 255, 255, 110), 3));
    for (int i = 0; i < 4; ++i) {
        QPainterPath wave;
        const int y = 300 + i * 22;
        wave.moveTo(20, y + 10 * std::sin((20 + i * 40) / 38.0));
        for (int x = 28; x <= 452; x += 8)
            wave.lineTo(x, y + 10 * std::sin((x + i * 40) / 38.0));
        p.drawPath(wave);
    }
    p.setPen(QColor(40, 80, 130));
    QFont series("Arial");
    series.setPixelSize(22);
    series.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(series);
    p.drawText(QRect(cx - 220, 90, 440, 30), Qt::AlignCenter, QStringLiteral("Lumora"));
    p.setPen(QPen(QColor(40, 80, 130), 2));
    p.drawLine(cx - 60, 132, cx + 60, 132);
    QFont title("Arial");
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(QRect(cx - 220 + 2, 150 + 2, 440, 90), Qt::AlignCenter, QStringLiteral("Vantrel"));
    p.setPen(QColor(20, 55, 100));
    p.drawText(QRect(cx - 220, 150, 440, 90), Qt::AlignCenter, QStringLiteral("Vantrel"));
    QFont sub("Arial");
    sub.setPixelSize(18);
    p.setFont(sub);
    p.setPen(QColor(30, 65, 110));
    p.drawText(QRect(cx - 220, 240, 440, 50), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Курс понимания американской речи"));
    p.setPen(QPen(QColor(20, 55, 100, 90), 2));
    p.drawRect(QRect(8, 8, 456, 464));
    p.end();
    return pm;
}

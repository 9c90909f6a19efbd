#include "drill/drillwindow.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/btnimgd1.h"
#include "controls/captionedbutton.h"
#include "controls/pictures.h"
#include "controls/speedcontrol.h"
#include "controls/ui_hooks.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

const char* const ReadErrorDamaged = "Ошибка чтения файла.\rПоврежден файл ";
const char* const ReadErrorTextFiles = "Ошибка чтения файла.\rПовреждены текстовые файлы ";

void ShowReadError(const QString& text) {
    XMessage(text, QStringLiteral("Ошибка чтения файла"), MB_ICONSTOP);
}

// ---- playback

EntryPlayback::EntryPlayback(QAbstractButton* button, QObject* parent)
    : QObject(parent), m_button(button), m_device(new AudioDevice(this)) {
    connect(m_device, &AudioDevice::notify, this, &EntryPlayback::OnNotify);
    Refresh();
}

EntryPlayback::~EntryPlayback() {
    Stop();
}

void EntryPlayback::SetEntry(qint32 startPos, qint32 endPos) {
    Stop();
    m_start = startPos;
    m_end = endPos;
    Refresh();
}

void EntryPlayback::Play(const QString& soundFile) {
    if (m_playing || !(m_end > 0 && m_end > m_start)) return;
    m_device->setFileName(NativePath(soundFile));
    m_device->open();
    m_device->setStartPos(m_start);
    m_device->setEndPos(m_end);
    m_playing = true;
    Refresh();
    m_device->play();
}

void EntryPlayback::Stop() {
    if (!m_playing) return;
    // A notification the stop still raises finds m_playing false and is ignored.
    m_playing = false;
    m_device->stop();
    m_device->close();
    Refresh();
}

void EntryPlayback::OnNotify(int) {
    if (!m_playing) return;
    m_playing = false;
    m_device->close();
    Refresh();
    Q_EMIT finished();
}

void EntryPlayback::Refresh() {
    if (m_button) m_button->setEnabled(!m_playing && m_end > 0 && m_end > m_start);
}

// ---- window

TDrillWindow::TDrillWindow(int width, int height, int helpContext, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFixedSize(width, height);
    setModal(true);
    SetHelpContext(this, helpContext);
    InstallF1Help(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(214, 233, 247));
    pal.setColor(QPalette::WindowText, QColor(16, 44, 84));
    setPalette(pal);
    setAutoFillBackground(false);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    setFont(f);
}

void TDrillWindow::PlaceAround(int cx, int cy) {
    move(cx - width() / 2, cy - height() / 2);
}

void TDrillWindow::done(int r) {
    if (m_playback) m_playback->Stop();
    QDialog::done(r);
}

void TDrillWindow::reject() {
    ExitCommand();
}

void TDrillWindow::closeEvent(QCloseEvent* e) {
    // Only the window's own commands close it; a close request is the exit command.
    e->ignore();
    if (isVisible()) ExitCommand();
}

void TDrillWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(QPen(QColor(121, 184, 228), 3));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    p.setPen(QColor(40, 90, 140));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

QLabel* TDrillWindow::MakeCounter(const QString& name, const QString& caption, QPoint pos,
                                  int width) {
    auto* box = new QWidget(this);
    box->setObjectName(name + QStringLiteral("Box"));
    auto* lay = new QVBoxLayout(box);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    auto* number = new QLabel(QStringLiteral("0"), box);
    number->setObjectName(name);
    number->setTextFormat(Qt::PlainText);
    number->setAlignment(Qt::AlignCenter);
    QFont f = number->font();
    f.setPointSize(14);
    f.setBold(true);
    number->setFont(f);
    auto* cap = new QLabel(caption, box);
    cap->setObjectName(QStringLiteral("Caption") + name);
    cap->setTextFormat(Qt::PlainText);
    cap->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lay->addWidget(number);
    lay->addWidget(cap);
    box->setGeometry(pos.x(), pos.y(), width, 48);
    return number;
}

QLabel* TDrillWindow::MakeLabel(const QString& text, QRect geometry, const QString& name) {
    auto* l = new QLabel(text, this);
    l->setTextFormat(Qt::PlainText);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QPlainTextEdit* TDrillWindow::MakeMemo(const QString& name, QRect geometry) {
    auto* m = new QPlainTextEdit(this);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setTabChangesFocus(true);
    m->setFocusPolicy(Qt::NoFocus);
    m->setGeometry(geometry);
    QFont f = m->font();
    f.setPointSize(11);
    m->setFont(f);
    return m;
}

void TDrillWindow::UsePlayButton(QAbstractButton* button) {
    m_playback = new EntryPlayback(button, this);
    m_playButton = button;
    PlayOnKey(button);
    connect(button, &QAbstractButton::clicked, this, &TDrillWindow::PlayEntry);
}

TSpeedControl* TDrillWindow::UseSpeedControl(const QRect& box, bool captioned) {
    TSpeedControl* speed = nullptr;
    if (captioned) {
        speed = MakeCaptionedSpeed(this, PlaySpeed::Steps(), PlaySpeed::Load());
        speed->parentWidget()->setGeometry(box);
    } else {
        speed = new TSpeedControl(PlaySpeed::Steps(), PlaySpeed::Load(), this);
        speed->setObjectName(QStringLiteral("Speed"));
        speed->setGeometry(QRect(box.topLeft(), speed->sizeHint()));
    }
    speed->bindKeys(this);
    m_speedBox = captioned ? speed->parentWidget() : speed;
    if (m_playback) {
        AudioDevice* device = m_playback->Device();
        device->setSpeed(speed->speed());
        connect(speed, &TSpeedControl::speedChanged, device, [device](int percent) {
            PlaySpeed::Save(percent);
            device->setSpeed(percent);
        });
        if (m_playButton) setTabOrder(m_playButton, speed);
    }
    return speed;
}

void TDrillWindow::ShowPlay(bool on) {
    if (m_playButton) m_playButton->setVisible(on);
    if (m_speedBox) m_speedBox->setVisible(on);
}

void TDrillWindow::PlayEntry() {
    Guarded([&] { m_playback->Play(m_sound); });
}

void TDrillWindow::PlayOnKey(QAbstractButton* button) {
    ClickOnKey(button, QKeySequence(Qt::CTRL | Qt::Key_P));
}

#include "controls/formprogress.h"

#include "controls/pictures.h"
#include "controls/prgssbarzv.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

TFormProgress::TFormProgress(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFormProgress"));
    setFixedSize(320, 84);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(16, 12, 16, 12);
    lay->setSpacing(8);
    LabelWait = new QLabel(QStringLiteral("Пожалуйста, подождите..."), this);
    LabelWait->setObjectName(QStringLiteral("LabelWait"));
    LabelWait->setAlignment(Qt::AlignCenter);
    QFont f = LabelWait->font();
    f.setBold(true);
    LabelWait->setFont(f);
    QPalette pal = LabelWait->palette();
    pal.setColor(QPalette::WindowText, QColor(16, 44, 84));
    LabelWait->setPalette(pal);
    PrgssBar = new TPrgssBarZv(this);
    PrgssBar->setObjectName(QStringLiteral("PrgssBar"));
    PrgssBar->setPictures(Pictures::Bar());
    PrgssBar->setFixedHeight(PrgssBar->sizeHint().height());
    lay->addWidget(LabelWait);
    lay->addWidget(PrgssBar);
}

void TFormProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(121, 184, 228));
    p.setPen(QPen(QColor(33, 96, 168), 2));
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void TFormProgress::start(int maximum) {
    PrgssBar->setMin(0);
    PrgssBar->setMax(maximum);
    PrgssBar->setPosition(0);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    repaint();
    // The caller works without returning to the event loop; let the window appear.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormProgress::setPosition(int value) {
    if (value == PrgssBar->Position()) return;
    PrgssBar->setPosition(value);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormProgress::finish() {
    hide();
}

void InstallPictureProgressWindow() {
    SetProgressWindowFactory([] { return std::make_unique<TFormProgress>(); });
}

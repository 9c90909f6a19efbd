#include "main/eng_dlgtestfullduplex.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TDlgTestFullDulex::TDlgTestFullDulex(QWidget* parent) : QDialog(parent) {
    setObjectName("TDlgTestFullDulex");
    setWindowTitle(QStringLiteral("Внимание"));
    setFixedSize(432, 213);
    setModal(true);
    setStyleSheet("TDlgTestFullDulex { background: rgb(121,184,228); }");

    Label = new QLabel(this);
    Label->setObjectName("Label");
    Label->setText(QStringLiteral("На вашем компьютере данное упражнение не \n"
                                  "может быть выполнено. Звуковая карта не \n"
                                  "поддерживает режим FullDuplex (невозможно \n"
                                  "одновременно воспроизводить и записывать)."));
    Label->setAlignment(Qt::AlignCenter);
    QFont f = Label->font();
    f.setPointSize(11);
    Label->setFont(f);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    OKBtn->setMinimumSize(96, 32);
    OKBtn->setStyleSheet(
        "QPushButton { background: rgb(236,244,251); border: 1px solid rgb(60,110,160);"
        " border-radius: 5px; padding: 4px 18px; color: black; }"
        "QPushButton:focus { border: 2px solid rgb(30,70,120); }"
        "QPushButton:pressed { background: rgb(190,215,238); }");
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addStretch();
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(16, 16, 16, 16);
    box->addWidget(Label, 1);
    box->addLayout(buttons);
}

void TDlgTestFullDulex::showEvent(QShowEvent* e) {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    OKBtn->setFocus();
    QDialog::showEvent(e);
}

namespace {
QPointer<TDlgTestFullDulex> g_dialog;
}

void SetDuplexDialog(TDlgTestFullDulex* dlg) {
    g_dialog = dlg;
}

bool RunDuplexTest() {
    AudioDevice player, recorder;
    player.setFileName("Null.wav");
    recorder.setFileName("NullRec.wav");
    player.open();
    recorder.open();
    // A device that refuses to start is exactly what the check looks for.
    try {
        player.play();
    } catch (const DeviceError&) {
    }
    try {
        recorder.startRecording();
    } catch (const DeviceError&) {
    }
    const bool ok =
        player.mode() == AudioDevice::Playing && recorder.mode() == AudioDevice::Recording;
    player.stop();
    recorder.stop();
    if (!ok) {
        if (g_dialog) {
            g_dialog->exec();
        } else {
            TDlgTestFullDulex dlg;
            dlg.exec();
        }
    }
    if (player.lastError() == 0) player.close();
    if (recorder.lastError() == 0) recorder.close();
    return ok;
}

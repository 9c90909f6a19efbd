#include "support_text.h"

#include "base/cp1251.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"

#include <QDir>
#include <QImage>

using testenv::CrLf;
using testenv::WriteBytes;

qint64 WaveMs(const QString& path) {
    const WaveInfo w = ProbeWave(path);
    return FramesToMs(w.frames, w.rate);
}

void WritePicture(const QString& path, QColor c) {
    QImage img(52, 56, QImage::Format_RGB32);
    img.fill(c);
    if (!img.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
}

void WriteWorkTextLesson(const testenv::CourseDir& dir, bool withTiming) {
    WriteBytes(dir.file("L1.txt"), CrLf({"#Title", "One two", "Three four", "#", "Five six",
                                         "Seven", "#Heading", "Eight nine"}));
    WriteBytes(dir.file("T1.txt"),
               EncodeCp1251(u"#Заголовок\r\nРаз два\r\nТри четыре\r\n#\r\nПять шесть\r\n"
                            u"Семь\r\n#Раздел\r\nВосемь девять\r\n"));
    if (withTiming)
        WriteBytes(dir.file("Tm1.txt"), CrLf({"#\t#", "1000\t2000", "2000\t3000", "#\t#",
                                              "3000\t4000", "4000\t5000", "#\t#", "5000\t6000"}));
    QDir().mkpath(dir.file("DemoData"));
    WriteBytes(dir.file("DemoData/Pic1.txt"), CrLf({"0\t2500\tp1.bmp", "2500\t9000\tp2.bmp"}));
    WritePicture(dir.file("DemoData/p1.bmp"), QColor(200, 40, 40));
    WritePicture(dir.file("DemoData/p2.bmp"), QColor(40, 200, 40));
    WriteBytes(dir.file("L1.apc"), CrLf({"003Comment three", "005Note five", "005second"}));
    testwave::WriteSilent(dir.file("Lesson.wav"), 7000);
}

void VirtualAudioTest::initTestCase() {
    testenv::PrivateHome();
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
}

void VirtualAudioTest::init() {
    VirtualAudio::Reset();
}

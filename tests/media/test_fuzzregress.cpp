// Wave files found by fuzzing. Each must be answered quickly: opened, or
// refused with a device error, never a hang or a crash.
#include "common/testenv.h"
#include "media/deviceerror.h"
#include "media/wavefile.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

QByteArray Le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

// 16 kHz mono float header, then the given chunks after it.
QByteArray FloatWave(const QByteArray& chunks) {
    const QByteArray fmt = QByteArray::fromHex("0300010080"
                                               "3e000000fa00000400"
                                               "2000");
    QByteArray body = "WAVE" + QByteArray("fmt ") + Le32(16) + fmt + chunks;
    return "RIFF" + Le32(quint32(body.size())) + body;
}

} // namespace

class TestFuzzRegress : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = std::make_unique<testenv::CourseDir>();
    }

    void answersQuickly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code"); // 0: opens
        QTest::addColumn<qint64>("frames");
        const QByteArray samples = QByteArray(16, '\x10');
        // The input the fuzzer stopped at: a list after the samples claims
        // some 3 GB in a file of 176 bytes; libsndfile spun on it for minutes.
        QTest::newRow("list past the end, as found")
            << QByteArray::fromBase64(
                   "UklGRrICAABXQVZFZm10IBAAAAADAAEAgD4AAAAAAPoAADsATElTVAUAAABqdZKKIQBkYXRhEAAAAA"
                   "MAAQCAPgAAAAAA+gAAOwBMSVNUBQC/wv//////////////////////////////////////////////"
                   "/////////////////////////////////9/////////////////////////////////////////1vr"
                   "4=")
            << int(DevErrBadHeader) << qint64(0);
        QTest::newRow("list past the end")
            << FloatWave("data" + Le32(16) + samples + "LIST" + Le32(0x7fffff00) + "INFOjunk")
            << int(DevErrBadHeader) << qint64(0);
        // What must keep opening: a whole list after the samples, garbage
        // after them, and samples cut short by a recording that stopped.
        QTest::newRow("whole list after the samples")
            << FloatWave("data" + Le32(16) + samples + "LIST" + Le32(4) + "INFO") << 0 << qint64(4);
        QTest::newRow("garbage after the samples")
            << FloatWave("data" + Le32(16) + samples + QByteArray(40, '\xff')) << 0 << qint64(4);
        QTest::newRow("samples cut short")
            << FloatWave("data" + Le32(4000) + samples) << 0 << qint64(4);
    }
    void answersQuickly() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QFETCH(qint64, frames);
        const QString path = QDir::current().absoluteFilePath(QStringLiteral("f.wav"));
        testenv::WriteBytes(path, bytes);
        QElapsedTimer clock;
        clock.start();
        int got = 0;
        WaveInfo info;
        try {
            info = ProbeWave(path);
        } catch (const DeviceError& e) {
            got = e.code();
            QVERIFY(e.text().contains(path));
        }
        QVERIFY2(clock.elapsed() < 2000, "opening took too long");
        QCOMPARE(got, code);
        if (code == 0) {
            QCOMPARE(info.rate, 16000);
            QCOMPARE(info.channels, 1);
            QCOMPARE(info.frames, frames);
        }
    }
};

QTEST_GUILESS_MAIN(TestFuzzRegress)
#include "test_fuzzregress.moc"

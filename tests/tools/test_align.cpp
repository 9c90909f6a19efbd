// vantrel-align and vantrel-check --audio as an author runs them: the
// timing file beside the text, never replaced without --force, clear
// failures; the audio check over a course and over given files.
#include "common/flitesample.h"
#include "common/testenv.h"

#include <QtTest>

namespace {

struct Run {
    int code = -1;
    QString out, err;
};

Run run(const QString& exe, const QStringList& args) {
    QProcess p;
    p.start(exe, args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

Run align(const QStringList& args) {
    return run(QStringLiteral(VANTREL_ALIGN_EXE), args);
}
Run check(const QStringList& args) {
    return run(QStringLiteral(VANTREL_CHECK_EXE), args);
}

// The timing file with one line's range moved by the given amounts.
QByteArray shifted(const QString& timing, int line, int start, int end) {
    QList<QByteArray> lines = testenv::ReadBytes(timing).split('\n');
    const QList<QByteArray> f = lines[line - 1].trimmed().split('\t');
    lines[line - 1] = QByteArray::number(f[0].toInt() + start) + '\t' +
                      QByteArray::number(f[1].toInt() + end) + '\r';
    return lines.join('\n');
}

} // namespace

class TestAlignTool : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    flitesample::Sample m_s;
    QStringList m_lines{"#At the river", "So we went down to the river,",
                        "and fished off the old bridge.", "#", "Nobody caught anything."};

private slots:
    void initTestCase() {
        testenv::PrivateHome();
        m_s = flitesample::Make(m_dir.path(), "L1", m_lines, 9, "rms");
        QVERIFY2(m_s.Error.isEmpty(), qPrintable(m_s.Error));
    }

    void writesBesideTheTextAndKeepsWhatExists() {
        const QString timing = m_dir.filePath("L1.tim");
        QFile::remove(timing);
        const Run first = align({m_s.Text, m_s.Wave});
        QCOMPARE(first.code, 0);
        const QByteArray written = testenv::ReadBytes(timing);
        QCOMPARE(written.count("\r\n"), m_lines.size());
        QVERIFY(first.out.contains("L1.tim")); // the summary names what it wrote

        testenv::WriteBytes(timing, "mine\r\n");
        const Run again = align({m_s.Text, m_s.Wave});
        QCOMPARE(again.code, 1);
        QCOMPARE(testenv::ReadBytes(timing), QByteArray("mine\r\n"));

        QCOMPARE(align({m_s.Text, m_s.Wave, "--force"}).code, 0);
        QCOMPARE(testenv::ReadBytes(timing), written);
        const QStringList left =
            QDir(m_dir.path()).entryList({"L1.tim*", ".L1.tim*"}, QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList{"L1.tim"});
    }

    void refusesClearly_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("named"); // what the message must name
        QTest::newRow("not a sound file")
            << QStringList{"TEXT", "TEXT", "-o", "OUT"} << 2 << "TEXT";
        QTest::newRow("no text file")
            << QStringList{"missing.txt", "WAVE", "-o", "OUT"} << 2 << "missing.txt";
        QTest::newRow("output over the text")
            << QStringList{"TEXT", "WAVE", "-o", "TEXT"} << 64 << "TEXT";
        QTest::newRow("one argument") << QStringList{"TEXT"} << 64 << "";
    }
    void refusesClearly() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, named);
        const QString out = m_dir.filePath("refused.tim");
        const auto fill = [&](QString a) {
            return a.replace("TEXT", m_s.Text).replace("WAVE", m_s.Wave).replace("OUT", out);
        };
        for (QString& a : args)
            a = fill(a);
        const QByteArray text = testenv::ReadBytes(m_s.Text);
        const Run r = align(args);
        QCOMPARE(r.code, code);
        QVERIFY(r.err.contains(fill(named)));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(testenv::ReadBytes(m_s.Text), text);
    }

    void audioCheckOfGivenFiles() {
        // Line 3 made to start 300 ms late.
        const QString bad = m_dir.filePath("bad.tim");
        testenv::WriteBytes(bad, shifted(m_s.Truth, 3, 300, 0));
        const Run r = check({"--audio", m_s.Text, m_s.Wave, bad});
        QCOMPARE(r.code, 1);
        for (const QString& l : r.out.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(l.startsWith(bad + ":3: "), qPrintable(l));
    }

    void audioCheckOfACourse() {
        QTemporaryDir course;
        const QString d = course.path();
        QDir(d).mkpath("DemoData/L1");
        for (const auto& [from, to] : {std::pair(m_s.Text, "L1.txt"), std::pair(m_s.Wave, "L1.wav"),
                                       std::pair(m_s.Truth, "L1.tim")})
            QVERIFY(QFile::copy(from, d + "/DemoData/L1/" + to));
        testenv::WriteBytes(d + "/InitRegD.txt",
                            testenv::CrLf({"Course\t0\t0\t0\tTitle.rtf\t0\t\t\t\t\t",
                                           "Text\t0\t1\t0\tTitle.rtf\t5\tL1\\L1.txt\tL1\\L1.tra\t"
                                           "L1\\L1.wav\tL1\\L1.tim\tL1\\L1.pic"}));
        for (const char* m : {"InitRegA.txt", "InitRegB.txt", "InitRegC.txt"})
            testenv::WriteBytes(d + "/" + m,
                                testenv::CrLf({"Course\t0\t0\t0\tTitle.rtf\t0\t\t\t\t\t"}));
        const Run good = check({"--audio", d});
        QCOMPARE(good.code, 0);
        QCOMPARE(good.out, QString());
        // The last sintagm timed to end a word too early.
        testenv::WriteBytes(d + "/DemoData/L1/L1.tim", shifted(m_s.Truth, 5, 0, -250));
        const Run bad = check({"--audio", d});
        QCOMPARE(bad.code, 1);
        QVERIFY2(bad.out.startsWith("DemoData/L1/L1.tim:5: "), qPrintable(bad.out));
        QCOMPARE(check({"--audio", d + "/nowhere"}).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestAlignTool)
#include "test_align.moc"

// vantrel-check and vantrel-align as an author runs them. The checker on a
// small course (tests/fixtures/checked): a sound course gives no finding; one broken line
// in a file gives one finding naming that file and line; its --dump output of
// the stored files. The aligner: the timing file beside the text, never
// replaced without --force, clear failures; the audio check over a course.
#include "base/textfile.h"
#include "common/flitesample.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "course/progress.h"
#include "learners/userrec.h"

#include <QImage>
#include <QtTest>

namespace {

// A quiet 22050 Hz mono sine of the given length.
QByteArray wave(int ms) {
    return testwave::Pcm(22050, 1, 16, 22050 * ms / 1000);
}

using testenv::CrLf;

void picture(const QString& path) {
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QVERIFY(img.save(path, "BMP"));
}

// A course with one lesson in mode D: vocabulary, multiple choice, true/false,
// text work. Its text files are tests/fixtures/checked; the pictures and
// recordings are made here.
void buildCourse(const QString& dir) {
    testenv::CopyTree(QStringLiteral(VANTREL_SOURCE_DIR "/tests/fixtures/checked"), dir);
    for (const char* p :
         {"DemoData/L1/Page.bmp", "DemoData/L1/p1.bmp", "ill.bmp", "rill.bmp", "gill.bmp"})
        picture(dir + "/" + p);
    for (const char* w : {"music.wav", "Null.wav", "NullRec.wav", "TSBegin.wav"})
        testenv::WriteBytes(dir + "/" + w, wave(100));
    for (const auto& [w, ms] : {std::pair("L1.wav", 2000), {"L1lex.wav", 1500}, {"L1q.wav", 1500}})
        testenv::WriteBytes(dir + "/DemoData/L1/" + w, wave(ms));
}

void replaceLine(const QString& path, int line, const QByteArray& content) {
    QList<QByteArray> l = SplitLines(testenv::ReadBytes(path));
    QVERIFY(line >= 1 && line <= l.size());
    l[line - 1] = content;
    testenv::WriteBytes(path, testenv::CrLf(l));
}

using Files = QHash<QString, QByteArray>; // name -> bytes

struct Run {
    int code = -1;
    QByteArray out;
    QString err;
};

Run run(const QString& exe, const QStringList& args, const QString& cwd = {}) {
    QProcess p;
    if (!cwd.isEmpty()) p.setWorkingDirectory(cwd);
    p.start(exe, args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
Run check(const QStringList& args, const QString& cwd = {}) {
    return run(QStringLiteral(VANTREL_CHECK_EXE), args, cwd);
}
Run align(const QStringList& args) {
    return run(QStringLiteral(VANTREL_ALIGN_EXE), args);
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

class TestTools : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    flitesample::Sample m_s; // a spoken lesson for the aligner
    QStringList m_lines{"#At the river", "So we went down to the river,",
                        "and fished off the old bridge.", "#", "Nobody caught anything."};

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_s = flitesample::Make(m_dir.path(), "L1", m_lines, 9, "rms");
        QVERIFY2(m_s.Error.isEmpty(), qPrintable(m_s.Error));
    }

    void oneFindingPerBreak_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("found"); // the line the finding names
        const auto row = [](const char* name, const char* file, int line, const QByteArray& c,
                            int found = 0) {
            QTest::newRow(name) << QString(file) << line << c << (found ? found : line);
        };
        const QByteArray files = "L1\\L1.txt\tL1\\L1.tra\tL1\\L1.wav\tL1\\L1.tim\tL1\\L1.pic";
        row("structure: RefIndex not a number", "InitRegD.txt", 2,
            "Lesson\t1\tx\t0\tTitle.rtf\t0\t\t\t\t\t");
        row("structure: data file missing", "InitRegD.txt", 4,
            "Choice\t0\t3\t0\tTitle.rtf\t6\tL1\\L9.qst\tL1\\L1.ans\tL1\\L1q.wav\tL1\\L1q.tim\t");
        row("structure: not depth first", "InitRegD.txt", 7,
            "Text\t1\t3\t0\tTitle.rtf\t5\t" + files);
        row("structure: recording after text work", "InitRegD.txt", 5,
            "TrFl\t0\t4\t0\tTitle.rtf\t5\t" + files);
        row("text: empty line", "DemoData/L1/L1.txt", 5, "");
        row("text: missing picture", "DemoData/L1/L1.txt", 4, "#@none.bmp");
        row("translation: marker differs", "DemoData/L1/L1.tra", 3, "Text");
        row("timing: beyond the recording", "DemoData/L1/L1.tim", 6, "1300\t2500");
        row("timing: goes backwards", "DemoData/L1/L1.tim", 5, "300\t700");
        row("timing: sound for a # line", "DemoData/L1/L1.tim", 3, "650\t700");
        row("pictures: missing picture", "DemoData/L1/L1.pic", 1, "0\t1900\tL1\\p9.bmp");
        row("comments: line beyond the text", "DemoData/L1/L1.apc", 1, "009Text");
        row("vocabulary: empty translation", "DemoData/L1/L1.ltr", 2, "");
        row("vocabulary timing: no TAB", "DemoData/L1/L1lex.tim", 2, "700");
        row("answers: one option", "DemoData/L1/L1.ans", 6, "#x", 4);
        row("true/false: nothing after the TAB", "DemoData/L1/L1.tf", 2, "Is it not?\t");
    }
    void oneFindingPerBreak() {
        QFETCH(QString, file);
        QFETCH(int, line);
        QFETCH(QByteArray, content);
        QFETCH(int, found);
        QTemporaryDir dir;
        buildCourse(dir.path());
        replaceLine(dir.path() + "/" + file, line, content);
        const Run broken = check({dir.path()});
        QCOMPARE(broken.code, 1);
        const QList<QByteArray> out = broken.out.trimmed().split('\n');
        QVERIFY2(out.size() == 1, broken.out.constData());
        QVERIFY2(out[0].startsWith(QStringLiteral("%1:%2:").arg(file).arg(found).toUtf8()),
                 broken.out.constData());
    }

    void exitCodes() {
        QCOMPARE(check({"/nonexistent/course"}).code, 2);
        QTemporaryDir dir, sound;
        buildCourse(sound.path()); // the course every break above starts from
        const Run r = check({sound.path()});
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.code, 0);
        const Run empty = check({dir.path()});
        QCOMPARE(empty.code, 1);
        QVERIFY2(empty.out.startsWith("InitRegA.txt:0: "), empty.out.constData());
    }

    // --dump: the stored files as the program's readers give them, in JSON.
    // A check is "path=value" or "path~part of the value"; the path goes
    // through objects and arrays by '/', an array's value is its size, an
    // object's its compact JSON, a missing one's "none".
    void dump_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Files>("files");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("checks");
        const auto row = [](const char* name, const QStringList& args, const Files& files, int code,
                            const QStringList& checks) {
            QTest::newRow(name) << args << files << code << checks;
        };
        row("course, bad second line", {"course", "InitRegD.txt"},
            {{"InitRegD.txt", CrLf({"\xd3\xf0\xee\xea\t1\t0\t1\tp.jpg\t5\ta\tb\tc\td\te\tf",
                                    "X\t1\tnope\t0\t\t0\t"})}},
            2,
            {"count=1", "items=1", "items/0/Caption=Урок", "items/0/DataFile5=e\tf",
             "error~RefIndex"});
        // A short progress file (the course grew): the items it lacks are blank.
        ProgressTable t;
        t.Recs = {{}, {1, 10, "Ann1.wav"}, {0, 20, "Ann2.wav"}};
        t.Count = 2;
        const QByteArray b3 =
            CrLf({"C\t0\t0\t0\t\t0\t", "L\t1\t1\t0\t\t0\t", "E\t1\t2\t0\t\t13\t"});
        row("progress", {"progress", "Ann.rep", "B"},
            {{"InitRegB.txt", b3}, {"Ann.rep", EncodeProgressFile(t)}}, 0,
            {"count=3", "recordsInFile=2", "records=3", "records/0/Done=1", "records/1/Score=20",
             "records/1/RecordFile=Ann2.wav", "records/2/RecordFile=", "error=none"});
        const QByteArray users =
            EncodeUserRec({"Anna", 'C', "", "Report\\Anna\\", "Report\\Anna\\Anna.rep", {}}) +
            EncodeUserRec({"Bob", 'D', "пароль", "Report\\Bob\\", "Report\\Bob\\Bob.rep", {}});
        row("users", {"users", "Users.eng"}, {{"Users.eng", users}}, 0,
            {"count=2", "users/0/Mode=C", "users/1/UserName=Bob", "users/1/Password=пароль",
             "users/1/ReportDir=Report\\Bob\\", "users/1/ReportFile=Report\\Bob\\Bob.rep",
             "error=none"});
        row("users, unreadable list", {"users", "."}, {}, 2, {"count=0", "error~denied"});
        row("report, not a number", {"report", "Users.eng", "x"}, {}, 64, {});
    }
    void dump() {
        QFETCH(QStringList, args);
        QFETCH(Files, files);
        QFETCH(int, code);
        QFETCH(QStringList, checks);
        QTemporaryDir dir;
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            testenv::WriteBytes(dir.filePath(it.key()), it.value());
        const Run r = check(QStringList{"--dump"} + args, dir.path());
        QCOMPARE(r.code, code);
        const QJsonObject root = QJsonDocument::fromJson(r.out).object();
        for (const QString& c : checks) {
            const qsizetype at = c.indexOf(QRegularExpression("[=~]"));
            QJsonValue v = root;
            for (const QString& k : c.left(at).split('/'))
                v = v.isArray() ? v.toArray().at(k.toInt()) : v.toObject().value(k);
            const QString got = v.isString()  ? v.toString()
                                : v.isArray() ? QString::number(v.toArray().size())
                                : v.isObject()
                                    ? QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact)
                                : v.isDouble() ? QString::number(v.toDouble())
                                               : QStringLiteral("none");
            const QString want = c.mid(at + 1);
            QVERIFY2(c[at] == '=' ? got == want : got.contains(want),
                     qPrintable(c + ": got " + got));
        }
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
        QTest::newRow("output over the text")
            << QStringList{"TEXT", "WAVE", "-o", "TEXT"} << 64 << "TEXT";
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

    // The audio check over a course: nothing on the true ranges, a finding
    // for a moved line that names its file and line.
    void audioCheck() {
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
        QCOMPARE(good.out, QByteArray());
        // The last sintagm timed to end a word too early.
        testenv::WriteBytes(d + "/DemoData/L1/L1.tim", shifted(m_s.Truth, 5, 0, -250));
        const Run bad = check({"--audio", d});
        QCOMPARE(bad.code, 1);
        QVERIFY2(bad.out.startsWith("DemoData/L1/L1.tim:5: "), bad.out.constData());
        QCOMPARE(check({"--audio", d + "/nowhere"}).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestTools)
#include "test_tools.moc"

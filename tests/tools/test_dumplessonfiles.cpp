// vantrel-check --dump timing / pictures / comments: what the readers give,
// partial content and the reader's error on a broken line.
#include "common/testenv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

class TestDumpLessonFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void dumps_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first"); // first entry as compact JSON
        QTest::addColumn<QString>("error");
        QTest::newRow("timing") << "timing" << QByteArray("#\t#\r\n0\t1500\r\n1600\t2900") << 0 << 3
                                << R"({"EndPos":0,"StartPos":0})" << "";
        QTest::newRow("timing broken line 2")
            << "timing" << QByteArray("0\t10\r\n12\tx\r\n20\t30\r\n") << 2 << 1
            << R"({"EndPos":10,"StartPos":0})" << "'x' is not a valid integer value";
        QTest::newRow("pictures")
            << "pictures" << QByteArray("0\t5000\tp1.bmp\r\n#\r\n5000\t9000\tL1\\p2.bmp\r\n") << 0 << 3
            << R"({"FromPos":0,"PictureFile":"p1.bmp","ToPos":5000})" << "";
        QTest::newRow("comments")
            << "comments" << QByteArray("007A sentence.\r\n012\xcf\xf0\xe8\xe2\xe5\xf2\r\n") << 0 << 2
            << R"({"SintagmNo":7,"Text":"A sentence."})" << "";
    }
    void dumps() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(int, exitCode);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("f.dat"));
        testenv::WriteBytes(file, content);
        QProcess p;
        p.start(VANTREL_CHECK_EXE, {QStringLiteral("--dump"), kind, file});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), exitCode);
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(o.value("count").toInt(), count);
        const QJsonArray a = o.value(kind == "comments" ? "comments" : "entries").toArray();
        QCOMPARE(int(a.size()), count);
        QCOMPARE(QString::fromUtf8(QJsonDocument(a.first().toObject()).toJson(QJsonDocument::Compact)),
                 first);
        QCOMPARE(o.value("error").toString(), error);
        if (kind == "comments")
            QCOMPARE(a.at(1).toObject().value("Text").toString(), QStringLiteral("Привет"));
    }
};

QTEST_GUILESS_MAIN(TestDumpLessonFiles)
#include "test_dumplessonfiles.moc"

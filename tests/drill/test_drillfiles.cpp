// Readers of the vocabulary and question files.
#include "common/testenv.h"
#include "drill/lexicfiles.h"
#include "drill/questfiles.h"
#include "support_drill.h"

#include <QTest>

Q_DECLARE_METATYPE(LessonFile)

class TestDrillFiles : public QObject {
    Q_OBJECT
    testenv::CourseDir* m_dir = nullptr;
    QString F(const QString& n) const { return m_dir->file(n); }
    void Put(const QString& n, const QByteArray& b) const { testenv::WriteBytes(F(n), b); }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = new testenv::CourseDir;
    }
    void cleanupTestCase() { delete m_dir; }

    // Lines end in a bare LF and the last one is not ended; an empty line is an entry.
    void lexicEntries() {
        Put("e.txt", Join({"to go", "", "a dog"}, "\n", false));
        Put("t.txt", Join({W("идти"), W("пусто"), W("собака")}, "\n", false));
        Put("s.txt", Join({"0\t1500", "1500\t2000", "2000\t3100"}, "\n", false));
        TLexicData d = ReadLexicFiles(F("e.txt"), F("t.txt"), F("s.txt"));
        QVERIFY2(d.Status.ok(), qPrintable(d.Status.Error));
        QCOMPARE(d.Entries.size(), 3);
        QCOMPARE(d.Entries[0].Expression, QString("to go"));
        QCOMPARE(d.Entries[1].Expression, QString());
        QCOMPARE(d.Entries[2].Translation, QString("собака"));
        QCOMPARE(QList<int>({d.Entries[0].EndPos, d.Entries[2].StartPos, d.Entries[2].EndPos}),
                 QList<int>({1500, 2000, 3100}));
    }

    // Each case: translations and timing files, expected status and the
    // ranges / translations read.
    void lexicFailures_data() {
        QTest::addColumn<QByteArray>("trans");  // "?" missing file
        QTest::addColumn<QByteArray>("timing"); // "-" no timing file named, "?" missing file
        QTest::addColumn<LessonFile>("failed");
        QTest::addColumn<int>("line");
        QTest::addColumn<QList<int>>("ends"); // EndPos of entries 1..3
        QTest::addColumn<QStringList>("translations");
        const QByteArray t3 = Join({"a", "b", "c"});
        const QStringList abc{"a", "b", "c"};
        QTest::newRow("no timing file")
            << t3 << QByteArray("-") << LessonFile::None << 0 << QList<int>{0, 0, 0} << abc;
        QTest::newRow("shorter translations")
            << QByteArray("a\r\n") << Join({"0\t10"}) << LessonFile::None << 0
            << QList<int>{10, 0, 0} << QStringList{"a", "", ""};
        QTest::newRow("extra lines ignored")
            << Join({"a", "b", "c", "d"}) << Join({"0\t10", "10\t20", "20\t30", "junk"})
            << LessonFile::None << 0 << QList<int>{10, 20, 30} << abc;
        QTest::newRow("end not a number") << t3 << Join({"0\t10", "12\tx", "20\t30"})
                                          << LessonFile::Timing << 2 << QList<int>{10, 0, 0} << abc;
        QTest::newRow("timing file missing")
            << t3 << QByteArray("?") << LessonFile::Timing << 0 << QList<int>{0, 0, 0} << abc;
        QTest::newRow("translations missing")
            << QByteArray("?") << Join({"0\t10"}) << LessonFile::Translations << 0
            << QList<int>{0, 0, 0} << QStringList{"", "", ""};
    }
    void lexicFailures() {
        QFETCH(QByteArray, trans);
        QFETCH(QByteArray, timing);
        QFETCH(LessonFile, failed);
        QFETCH(int, line);
        QFETCH(QList<int>, ends);
        QFETCH(QStringList, translations);
        Put("e.txt", Join({"one", "two", "three"}));
        QFile::remove(F("t.txt"));
        QFile::remove(F("s.txt"));
        if (trans != "?") Put("t.txt", trans);
        if (timing != "?" && timing != "-") Put("s.txt", timing);
        TLexicData d =
            ReadLexicFiles(F("e.txt"), F("t.txt"), timing == "-" ? QString() : F("s.txt"));
        QCOMPARE(d.Status.Failed, failed);
        QCOMPARE(d.Status.Line, line);
        QCOMPARE(d.Status.Unreadable, failed != LessonFile::None && line == 0);
        QCOMPARE(d.Status.Error.isEmpty(), failed == LessonFile::None);
        // The message names the failing line when there is one.
        QCOMPARE(d.Status.Error.contains(QString("line %1").arg(line)), line > 0);
        QCOMPARE(d.Entries.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(d.Entries[i].EndPos, ends[i]);
            QCOMPARE(d.Entries[i].Translation, translations[i]);
        }
    }

    // No expressions: an empty file reads as no entries, a missing one fails.
    void lexicNoExpressions() {
        QFile::remove(F("none.txt"));
        Put("t.txt", "a\r\n");
        TLexicData d = ReadLexicFiles(F("none.txt"), F("t.txt"), QString());
        QCOMPARE(d.Status.Failed, LessonFile::Expressions);
        QVERIFY(d.Status.Unreadable);
        Put("none.txt", "");
        d = ReadLexicFiles(F("none.txt"), F("t.txt"), QString());
        QVERIFY(d.Status.ok());
        QCOMPARE(d.Entries.size(), 0);
    }

    // Names stored with backslashes; Cyrillic bytes decode through the code page.
    void storedBackslashName() {
        Put("Lesson1/e.txt", "x\r\n");
        Put("Lesson1/t.txt", W("икс") + "\r\n");
        TLexicData d = ReadLexicFiles("Lesson1\\e.txt", "Lesson1\\t.txt", QString());
        QVERIFY2(d.Status.ok(), qPrintable(d.Status.Error));
        QCOMPARE(d.Entries.value(0).Translation, QString::fromUtf8("икс"));
    }

    // Answers files: block structure, the options read ("|" between them)
    // and the failing line.
    void answerBlocks_data() {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QStringList>("options"); // of questions 1..3
        QTest::addColumn<int>("failLine");        // 0: read completely
        const QStringList r123{"r1", "r2", "r3"};
        QTest::newRow("three blocks")
            << Join({"#1", "r1", "w1", "#2", "r2", "#3", "r3", "a", "b", "c"})
            << QStringList{"r1|w1", "r2", "r3|a|b|c"} << 0;
        QTest::newRow("4 stray lines")
            << Join({"s1", "s2", "s3", "s4", "#", "r1", "#", "r2", "#", "r3"}) << r123 << 0;
        QTest::newRow("5 stray lines")
            << Join({"s1", "s2", "s3", "s4", "s5", "#", "r1"}) << QStringList{"", "", ""} << 5;
        QTest::newRow("fifth option") << Join({"#", "r1", "#", "a", "b", "c", "d", "e", "#", "r3"})
                                      << QStringList{"r1", "a|b|c|d", ""} << 8;
        QTest::newRow("empty line")
            << Join({"#", "r1", "w1", "", "#", "r2"}) << QStringList{"r1|w1", "", ""} << 4;
        QTest::newRow("missing blocks") << Join({"#", "r1"}) << QStringList{"r1", "", ""} << 0;
        QTest::newRow("empty block")
            << Join({"#", "#", "r2", "#", "r3"}) << QStringList{"", "r2", "r3"} << 0;
        QTest::newRow("blocks beyond the questions")
            << Join({"#", "r1", "#", "r2", "#", "r3", "#", "a", "b", "c", "d", "e", "", "#"})
            << r123 << 0;
    }
    void answerBlocks() {
        QFETCH(QByteArray, answers);
        QFETCH(QStringList, options);
        QFETCH(int, failLine);
        Put("q.txt", Join({"Q1?", "Q2?", "Q3?"}));
        Put("a.txt", answers);
        TQuestData d = ReadQuestDownFiles(F("q.txt"), F("a.txt"), QString());
        QCOMPARE(d.Entries.size(), 3);
        QCOMPARE(d.Status.Line, failLine);
        QCOMPARE(d.Status.Failed, failLine ? LessonFile::Answers : LessonFile::None);
        for (int i = 0; i < 3; ++i) {
            const TQuestEntry& e = d.Entries[i];
            QCOMPARE(QStringList(e.Answers, e.Answers + e.AnswerCount).join('|'), options[i]);
            QCOMPARE(e.AnswerCount, options[i].isEmpty() ? 0 : int(options[i].count('|')) + 1);
            for (int k = e.AnswerCount; k < QuestOptionsMax; ++k)
                QVERIFY(e.Answers[k].isEmpty());
        }
    }

    void longTexts() {
        const QByteArray q300(300, 'q'), o300(300, 'o');
        Put("q.txt", q300 + "\r\n" + W("Кто?") + "\r\n");
        Put("a.txt", Join({"#", o300, "short", "#", W("Он")}));
        Put("s.txt", Join({"100\t200", "0\t0"}));
        TQuestData d = ReadQuestDownFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QVERIFY(d.Status.ok());
        QCOMPARE(d.Entries[0].Quest, QString(255, 'q'));
        QCOMPARE(d.Entries[0].Answers[0], QString(255, 'o'));
        QCOMPARE(d.Entries[0].Answers[1], QString("short"));
        QCOMPARE(d.Entries[1].Quest, QString::fromUtf8("Кто?"));
        QCOMPARE(d.Entries[1].Answers[0], QString::fromUtf8("Он"));
        QCOMPARE(QList<int>({d.Entries[0].StartPos, d.Entries[0].EndPos}), QList<int>({100, 200}));
        QVERIFY(!HasRange(d.Entries[1].StartPos, d.Entries[1].EndPos));

        // The presentation reads the questions and ranges only.
        QFile::remove(F("a.txt"));
        TQuestData demo = ReadQuestDemoFiles(F("q.txt"), F("s.txt"));
        QVERIFY2(demo.Status.ok(), qPrintable(demo.Status.Error));
        QCOMPARE(demo.Entries.size(), 2);
        QCOMPARE(demo.Entries[0].Quest.size(), 255);
        QCOMPARE(demo.Entries[0].AnswerCount, 0);
        QCOMPARE(demo.Entries[0].EndPos, 200);
        // The multiple-choice reader needs its answers file.
        TQuestData down = ReadQuestDownFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QCOMPARE(down.Status.Failed, LessonFile::Answers);
        QVERIFY(down.Status.Unreadable);
        QCOMPARE(down.Entries.size(), 2);
        // A timing line that fails comes after the answers were read.
        Put("a.txt", Join({"#", "r1", "#", "r2"}));
        Put("s.txt", Join({"0\t1500", "12\tx"}));
        down = ReadQuestDownFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QCOMPARE(down.Status.Failed, LessonFile::Timing);
        QCOMPARE(down.Status.Line, 2);
        QCOMPARE(down.Entries[1].EndPos, 0);
        QCOMPARE(down.Entries[1].AnswerCount, 1);
    }

    void trflLines_data() {
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("yes2");
        QTest::addColumn<int>("failLine");
        QTest::newRow("Q\\t0") << QByteArray("Q\t0") << 3 << true << 0;
        QTest::newRow("Q\\t1") << QByteArray("Q\t1") << 3 << false << 0;
        QTest::newRow("Q\\t0 and more") << QByteArray("Q\t0 trailing") << 3 << true << 0;
        QTest::newRow("Q\\t") << QByteArray("Q\t") << 1 << false << 2;
        QTest::newRow("Q") << QByteArray("Q") << 1 << false << 2;
    }
    void trflLines() {
        QFETCH(QByteArray, line2);
        QFETCH(int, count);
        QFETCH(bool, yes2);
        QFETCH(int, failLine);
        Put("q.txt", Join({W("Это собака?") + "\t1", line2, "Third\t0"}));
        Put("a.txt", "");
        Put("s.txt", Join({"0\t10", "10\t20", "20\t30"}));
        TTrFlData d = ReadTrFlFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QCOMPARE(d.Status.Line, failLine);
        QCOMPARE(d.Status.Failed, failLine ? LessonFile::Questions : LessonFile::None);
        QCOMPARE(d.Entries.size(), count);
        QCOMPARE(d.Entries[0].Quest, QString::fromUtf8("Это собака?"));
        QVERIFY(!d.Entries[0].YesIsRight);
        // After a question-file error the timing is not read at all.
        QCOMPARE(d.Entries[0].EndPos, failLine ? 0 : 10);
        if (count > 1) {
            QCOMPARE(d.Entries[1].Quest, QString("Q"));
            QCOMPARE(d.Entries[1].YesIsRight, yes2);
            QCOMPARE(d.Entries[2].EndPos, 30);
        }
    }

    void trflAnswersAndTiming() {
        Put("q.txt", Join({"A\t0", "B\t1"}));
        Put("s.txt", Join({"0\t10"}));
        QFile::remove(F("a.txt"));
        TTrFlData d = ReadTrFlFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QCOMPARE(d.Status.Failed, LessonFile::Answers);
        QCOMPARE(d.Entries.size(), 2);
        QCOMPARE(d.Entries[0].EndPos, 0);
        Put("a.txt", "anything\r\n");
        d = ReadTrFlFiles(F("q.txt"), F("a.txt"), QString());
        QVERIFY(d.Status.ok());
        QCOMPARE(d.Entries[1].EndPos, 0);
        d = ReadTrFlFiles(F("q.txt"), F("a.txt"), F("s.txt"));
        QVERIFY(d.Status.ok());
        QCOMPARE(d.Entries[0].EndPos, 10);
    }
};

QTEST_GUILESS_MAIN(TestDrillFiles)
#include "test_drillfiles.moc"

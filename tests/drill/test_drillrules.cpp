// Readers of the vocabulary and question files; drill, multiple-choice, true/false
// and presentation logic with seeded runs.
#include "common/testenv.h"
#include "drill/drilllogic.h"
#include "drill/lexicfiles.h"
#include "drill/questfiles.h"
#include "support_drill.h"

#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(LessonFile)

namespace {
QList<TLexicEntry> Lexic(const QStringList& translations) {
    QList<TLexicEntry> out;
    for (const QString& t : translations) {
        TLexicEntry e;
        e.Translation = t;
        out.append(e);
    }
    return out;
}

// A question whose options are "opt1" (the right one) to "opt<n>".
TQuestEntry Quest(const QString& q, int n) {
    TQuestEntry e;
    e.Quest = q;
    e.AnswerCount = n;
    for (int i = 0; i < n; ++i)
        e.Answers[i] = QStringLiteral("opt%1").arg(i + 1);
    return e;
}

QStringList Rows(const QuestDownRun& r) {
    QStringList out;
    for (int p = 1; p <= r.RowCount(); ++p)
        out << r.RowText(p);
    return out;
}

QList<TTrFlEntry> TrFl(const QList<bool>& yesIsRight) {
    QList<TTrFlEntry> out;
    for (bool yes : yesIsRight) {
        TTrFlEntry e;
        e.YesIsRight = yes;
        out.append(e);
    }
    return out;
}
} // namespace

class TestDrillRules : public QObject {
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

    // Pick sequences on the entry on show: "R" right translation, "W" a
    // wrong one, "C" the right text in another case.
    void drillPicks_data() {
        QTest::addColumn<QString>("picks");
        QTest::addColumn<QString>("verdicts"); // R right, T try again, W wrong
        QTest::addColumn<int>("errors");
        QTest::newRow("right") << QString("R") << "R" << 0;
        QTest::newRow("wrong then right") << QString("WR") << "TR" << 0;
        QTest::newRow("wrong twice") << QString("WW") << "TW" << 1;
        QTest::newRow("case differs") << QString("CC") << "TW" << 1;
        QTest::newRow("twice wrong, twice") << QString("WWWW") << "TWTW" << 2;
    }
    void drillPicks() {
        QFETCH(QString, picks);
        QFETCH(QString, verdicts);
        QFETCH(int, errors);
        for (quint32 seed : {1u, 7u, 12345u}) {
            LexicDrill d(Lexic({QString::fromUtf8("дом"), QString::fromUtf8("кошка"), "Cat"}),
                         seed);
            d.SetInitialData();
            for (int i = 0; i < picks.size(); ++i) {
                const int before = d.Current();
                const QString right = d.CurrentEntry().Translation;
                const char p = picks[i].toLatin1(), v = verdicts[i].toLatin1();
                const QString wrong = d.Translations().at(before % 3); // another entry's
                const QString pick = p == 'R' ? right : p == 'C' ? right.toUpper() : wrong;
                LexicDrill::Result r = d.Confirm(pick);
                using V = LexicDrill::Verdict;
                QCOMPARE(r.verdict, v == 'R' ? V::Right : v == 'T' ? V::TryAgain : V::Wrong);
                QCOMPARE(d.Entry(before).Done, v == 'R'); // a wrong one comes again later
                QCOMPARE(d.Missed(), v == 'T');
                if (v == 'T') QCOMPARE(d.Current(), before);  // stays on show
                if (v == 'W') QCOMPARE(r.rightAnswer, right); // shown in the wrong-answer dialog
            }
            QCOMPARE(d.ErrorCount(), errors);
            QCOMPARE(d.Remaining(), 3 - int(verdicts.count('R')));
        }
    }

    void drillRunsToTheEnd() {
        // Duplicate translations: the one text is right for both entries.
        const QStringList tr{"same", "other", "same"};
        for (quint32 seed = 0; seed < 50; ++seed) {
            LexicDrill d(Lexic(tr), seed);
            d.SetInitialData();
            QCOMPARE(d.Translations(), tr);
            QSet<int> shown;
            LexicDrill::Verdict last = LexicDrill::Verdict::Right;
            for (int steps = 0; !d.Finished() && steps < 10; ++steps) {
                shown.insert(d.Current());
                QVERIFY(!d.CurrentEntry().Done); // done entries never come back
                last = d.Confirm(d.CurrentEntry().Translation).verdict;
            }
            QCOMPARE(last, LexicDrill::Verdict::Finished);
            QCOMPARE(shown.size(), 3);
            QCOMPARE(d.RightCount(), 3);
            QCOMPARE(d.Current(), 0);
        }
        // The only entry comes again at once after a wrong answer.
        LexicDrill one(Lexic({"x"}), 3);
        one.SetInitialData();
        QCOMPARE(one.Confirm("y").verdict, LexicDrill::Verdict::TryAgain);
        QCOMPARE(one.Confirm("y").verdict, LexicDrill::Verdict::Wrong);
        QCOMPARE(one.Current(), 1);
        QCOMPARE(one.Confirm("x").verdict, LexicDrill::Verdict::Finished);
        QCOMPARE(one.Confirm("x").verdict, LexicDrill::Verdict::Finished);
        QCOMPARE(one.ErrorCount(), 1);
    }

    // Option count, marks to click before OK, expected verdicts.
    void questOptionCounts_data() {
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("answers"); // R right row, W a wrong row, N no row marked
        QTest::addColumn<QString>("verdicts");
        QTest::addColumn<int>("errors");
        QTest::newRow("1 option, right") << 1 << QString("R") << "R" << 0;
        QTest::newRow("2 options, none marked") << 2 << QString("N") << "W" << 1;
        QTest::newRow("3 options, none marked") << 3 << QString("N") << "T" << 0;
        QTest::newRow("2 options, wrong is final") << 2 << QString("W") << "W" << 1;
        QTest::newRow("3 options, wrong then right") << 3 << QString("WR") << "TR" << 0;
        QTest::newRow("3 options, wrong twice") << 3 << QString("WW") << "TW" << 1;
        QTest::newRow("4 options, wrong then none") << 4 << QString("WN") << "TW" << 1;
    }
    void questOptionCounts() {
        QFETCH(int, options);
        QFETCH(QString, answers);
        QFETCH(QString, verdicts);
        QFETCH(int, errors);
        for (quint32 seed : {2u, 99u, 4242u}) {
            QuestDownRun r({Quest("Q?", options)}, seed);
            r.Start();
            QCOMPARE(r.RowCount(), options);
            QVERIFY(r.Marked(1)); // row 1 is marked when a question comes
            QCOMPARE(r.RowText(r.RightRow()), QString("opt1"));
            const QStringList order = Rows(r);
            for (int i = 0; i < answers.size(); ++i) {
                const char a = answers[i].toLatin1(), v = verdicts[i].toLatin1();
                const int wrong = r.RightRow() == 1 ? 2 : 1;
                r.PickRow(a == 'R' ? r.RightRow() : a == 'W' ? wrong : 1);
                if (a == 'N') r.ClickMark(1); // clicking the marked row clears it
                QuestDownRun::Result res = r.Check();
                using V = QuestDownRun::Verdict;
                QCOMPARE(res.verdict, v == 'R' ? V::Right : v == 'T' ? V::TryAgain : V::Wrong);
                QCOMPARE(res.finished, v != 'T');
                if (v == 'W') QCOMPARE(res.rightAnswer, QString("opt1"));
                QCOMPARE(r.Missed(), v == 'T');
                if (v == 'T') QCOMPARE(Rows(r), order); // rows keep their order after a try-again
            }
            QCOMPARE(r.ErrorCount(), errors);
            QCOMPARE(r.Remaining(), verdicts.endsWith('T') ? 1 : 0);
        }
    }

    void questRightRowSpread() {
        // Option 1 lands in every row, and the right row follows it on every question.
        for (int n = 2; n <= 4; ++n) {
            QSet<int> rows;
            for (quint32 seed = 0; seed < 200; ++seed) {
                QuestDownRun r({Quest("A", n), Quest("B", n)}, seed);
                r.Start();
                for (int q = 0; q < 2; ++q) {
                    rows.insert(r.RightRow());
                    QCOMPARE(r.RowOption(r.RightRow()), 1);
                    const QStringList texts = Rows(r);
                    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), n); // a permutation
                    r.PickRow(r.RightRow());
                    r.Check();
                }
                QCOMPARE(r.ErrorCount(), 0);
            }
            QCOMPARE(rows.size(), n);
        }
    }

    void questWithoutOptionsNotAsked() {
        const QList<TQuestEntry> qs{Quest("A", 2), Quest("empty", 0), Quest("C", 3)};
        for (quint32 seed = 0; seed < 30; ++seed) {
            QuestDownRun r(qs, seed);
            r.Start();
            QCOMPARE(r.Count(), 2);
            int asked = 0;
            for (bool finished = false; !finished && asked < 10; ++asked) {
                QVERIFY(r.CurrentEntry().Quest != "empty");
                r.PickRow(r.RightRow() == 1 ? 2 : 1);
                QuestDownRun::Result res = r.Check();
                if (res.verdict == QuestDownRun::Verdict::TryAgain) res = r.Check();
                finished = res.finished;
            }
            QCOMPARE(asked, 2);
            QCOMPARE(r.ErrorCount(), 2);
        }
        QuestDownRun none({Quest("empty", 0)}, 1);
        none.Start();
        QCOMPARE(none.Count(), 0);
        QCOMPARE(none.Current(), 0);
    }

    void trflRun_data() {
        QTest::addColumn<bool>("yesIsRight");
        QTest::addColumn<bool>("chooseYes");
        QTest::newRow("Да right, Да chosen") << true << true;
        QTest::newRow("Да right, Нет chosen") << true << false;
        QTest::newRow("Нет right, Да chosen") << false << true;
        QTest::newRow("Нет right, Нет chosen") << false << false;
    }
    void trflRun() {
        QFETCH(bool, yesIsRight);
        QFETCH(bool, chooseYes);
        const bool right = yesIsRight == chooseYes;
        TrFlRun r(TrFl({yesIsRight}), 11);
        r.Start();
        QVERIFY(r.YesChosen()); // "Да" at the start
        r.SetYesChosen(chooseYes);
        QVERIFY(r.Judge());
        QCOMPARE(r.ErrorCount(), right ? 0 : 1);
        QCOMPARE(r.Entries()[0].AnsweredRight, right);
        QList<TrFlResultRow> rows = TrFlResults(r.Entries());
        QCOMPARE(rows[0].Answer, yesIsRight ? QString::fromUtf8("Да") : QString::fromUtf8("Нет"));
        // Column 2 tells whether the answer was right, not which was chosen.
        QCOMPARE(rows[0].Yours, right ? QString::fromUtf8("Да") : QString::fromUtf8("Нет"));
        QCOMPARE(rows[0].Right, right);
    }

    void trflSkipAndCarry() {
        for (quint32 seed = 0; seed < 20; ++seed) {
            TrFlRun r(TrFl({true, false, true}), seed);
            r.Start();
            r.Skip();
            r.Skip();
            QCOMPARE(r.Remaining(), 3); // skipping answers nothing
            r.SetYesChosen(false);
            const int first = r.Current();
            QVERIFY(!r.Judge());
            QVERIFY(!r.YesChosen()); // the choice is carried to the next question
            QVERIFY(r.Current() != first);
            QVERIFY(!r.Judge());
            QVERIFY(r.Judge());
            QCOMPARE(r.Remaining(), 0);
            // Нет chosen throughout: wrong on the two "Да" questions.
            QCOMPARE(r.ErrorCount(), 2);
            QVERIFY(r.Judge()); // nothing left to judge
            QCOMPARE(r.ErrorCount(), 2);
        }
        TrFlRun one(TrFl({false}), 4);
        one.Start();
        one.Skip();
        QCOMPARE(one.Current(), 1); // the only open question shows again
    }
};

QTEST_GUILESS_MAIN(TestDrillRules)
#include "test_drillrules.moc"

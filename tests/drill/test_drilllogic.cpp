// Drill, multiple-choice, true/false and presentation logic with seeded runs.
#include "drill/drilllogic.h"

#include <QSet>
#include <QTest>

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

class TestDrillLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

    // A click on a mark clears the others and toggles it; rows not on show are ignored.
    void questMarks() {
        QuestDownRun r({Quest("Q", 3)}, 5);
        r.Start();
        r.ClickMark(3);
        QVERIFY(!r.Marked(1) && r.Marked(3));
        r.ClickMark(3);
        QVERIFY(!r.Marked(3));
        r.ClickMark(2);
        r.ClickMark(4);
        r.PickRow(0);
        r.PickRow(4);
        QVERIFY(r.Marked(2) && !r.Marked(4));
        r.PickRow(3);
        QVERIFY(!r.Marked(2) && r.Marked(3));
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

    void pager_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one entry") << 1;
        QTest::newRow("three entries") << 3;
    }
    void pager() {
        QFETCH(int, count);
        Pager p(count);
        p.Start();
        for (int i = 1; i < count; ++i) {
            QCOMPARE(p.Current(), i);
            QVERIFY(p.Next());
        }
        QCOMPARE(p.Current(), count);
        QCOMPARE(p.Remaining(), 0);
        QVERIFY(!p.Next()); // the next command on the last entry completes
    }
};

QTEST_GUILESS_MAIN(TestDrillLogic)
#include "test_drilllogic.moc"

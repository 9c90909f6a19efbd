// Drill, multiple-choice, true/false and presentation logic with seeded runs.
#include "drill/drilllogic.h"

#include <QSet>
#include <QTest>

namespace {
QList<TLexicEntry> Lexic(const QStringList& translations) {
    QList<TLexicEntry> out;
    for (int i = 0; i < translations.size(); ++i) {
        TLexicEntry e;
        e.Expression = QStringLiteral("expr%1").arg(i + 1);
        e.Translation = translations[i];
        out.append(e);
    }
    return out;
}

TQuestEntry Quest(const QString& q, const QStringList& options) {
    TQuestEntry e;
    e.Quest = q;
    e.AnswerCount = int(options.size());
    for (int i = 0; i < options.size(); ++i)
        e.Answers[i] = options[i];
    return e;
}

QStringList Options(int n) {
    QStringList o;
    for (int i = 1; i <= n; ++i)
        o << QStringLiteral("opt%1").arg(i);
    return o;
}

// Row that does not hold option 1 (only meaningful with two or more rows).
int WrongRow(const QuestDownRun& r) {
    return r.RightRow() == 1 ? 2 : 1;
}

QList<TTrFlEntry> TrFl(const QList<bool>& yesIsRight) {
    QList<TTrFlEntry> out;
    for (int i = 0; i < yesIsRight.size(); ++i) {
        TTrFlEntry e;
        e.Quest = QStringLiteral("Q%1").arg(i + 1);
        e.YesIsRight = yesIsRight[i];
        out.append(e);
    }
    return out;
}
} // namespace

class TestDrillLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Pick sequences on the entry on show: "R" right translation, "W" a
    // wrong one, "C" the right text in another case, "S" with a trailing space.
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
            QCOMPARE(d.RightCount(), 0);
            QCOMPARE(d.Remaining(), 3);
            for (int i = 0; i < picks.size(); ++i) {
                const int before = d.Current();
                const QString right = d.CurrentEntry().Translation;
                const char p = picks[i].toLatin1(), v = verdicts[i].toLatin1();
                const QString other = right.toUpper() == right ? right.toLower() : right.toUpper();
                const QString pick = p == 'R'   ? right
                                     : p == 'W' ? (right == "Cat" ? "дом" : "Cat")
                                     : p == 'C' ? other
                                                : right + " ";
                LexicDrill::Result r = d.Confirm(pick);
                using V = LexicDrill::Verdict;
                QCOMPARE(r.verdict, v == 'R' ? V::Right : v == 'T' ? V::TryAgain : V::Wrong);
                QCOMPARE(d.Entry(before).Done, v == 'R'); // a wrong one comes again later
                QCOMPARE(d.Missed(), v == 'T');
                if (v == 'T') QCOMPARE(d.Current(), before); // stays on show
                if (v == 'W') {
                    QCOMPARE(r.rightAnswer, right); // the dialog shows the right translation
                    QCOMPARE(d.Remaining(), 3);
                }
            }
            QCOMPARE(d.ErrorCount(), errors);
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
            int steps = 0;
            LexicDrill::Verdict last = LexicDrill::Verdict::Right;
            while (!d.Finished() && steps++ < 100) {
                shown.insert(d.Current());
                QVERIFY(!d.CurrentEntry().Done); // done entries never come back
                last = d.Confirm(d.CurrentEntry().Translation).verdict;
            }
            QCOMPARE(last, LexicDrill::Verdict::Finished);
            QCOMPARE(shown.size(), 3);
            QCOMPARE(d.RightCount(), 3);
            QCOMPARE(d.ErrorCount(), 0);
            QCOMPARE(d.Current(), 0);
        }
    }

    void drillOneEntry() {
        LexicDrill d(Lexic({"x"}), 3);
        d.SetInitialData();
        QCOMPARE(d.Current(), 1);
        QCOMPARE(d.Confirm("y").verdict, LexicDrill::Verdict::TryAgain);
        QCOMPARE(d.Confirm("y").verdict, LexicDrill::Verdict::Wrong);
        QCOMPARE(d.Current(), 1); // the only entry comes again at once
        QCOMPARE(d.Confirm("x").verdict, LexicDrill::Verdict::Finished);
        QCOMPARE(d.ErrorCount(), 1);
        QCOMPARE(d.Remaining(), 0);
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
            QuestDownRun r({Quest("Q?", Options(options))}, seed);
            r.Start();
            QCOMPARE(r.Count(), 1);
            QCOMPARE(r.Remaining(), 1);
            QCOMPARE(r.RowCount(), options);
            QVERIFY(r.Marked(1)); // row 1 is marked when a question comes
            QCOMPARE(r.RowText(r.RightRow()), QString("opt1"));
            QStringList order;
            for (int p = 1; p <= options; ++p)
                order << r.RowText(p);
            for (int i = 0; i < answers.size(); ++i) {
                const char a = answers[i].toLatin1(), v = verdicts[i].toLatin1();
                r.PickRow(a == 'R' ? r.RightRow() : a == 'W' ? WrongRow(r) : 1);
                if (a == 'N') {
                    r.ClickMark(1); // clicking the marked row clears it
                    for (int p = 1; p <= 4; ++p)
                        QVERIFY(!r.Marked(p));
                }
                QuestDownRun::Result res = r.Check();
                using V = QuestDownRun::Verdict;
                QCOMPARE(res.verdict, v == 'R' ? V::Right : v == 'T' ? V::TryAgain : V::Wrong);
                QCOMPARE(res.finished, v != 'T');
                if (v == 'W') QCOMPARE(res.rightAnswer, QString("opt1"));
                if (v == 'T') {
                    QVERIFY(r.Missed());
                    QCOMPARE(r.Remaining(), 1);
                    QStringList now;
                    for (int p = 1; p <= options; ++p)
                        now << r.RowText(p);
                    QCOMPARE(now, order); // rows keep their order after a try-again
                }
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
                QuestDownRun r({Quest("A", Options(n)), Quest("B", Options(n))}, seed);
                r.Start();
                for (int q = 0; q < 2; ++q) {
                    rows.insert(r.RightRow());
                    QCOMPARE(r.RowOption(r.RightRow()), 1);
                    QSet<int> opts;
                    for (int p = 1; p <= n; ++p)
                        opts.insert(r.RowOption(p));
                    QCOMPARE(opts.size(), n); // a permutation
                    r.PickRow(r.RightRow());
                    r.Check();
                }
                QCOMPARE(r.ErrorCount(), 0);
            }
            QCOMPARE(rows.size(), n);
        }
    }

    void questMarks() {
        QuestDownRun r({Quest("Q", Options(4))}, 5);
        r.Start();
        r.ClickMark(3);
        QVERIFY(!r.Marked(1) && r.Marked(3));
        r.ClickMark(3);
        QVERIFY(!r.Marked(3));
        r.ClickMark(2);
        r.ClickMark(4);
        QVERIFY(!r.Marked(2) && r.Marked(4));
        QuestDownRun two({Quest("Q", Options(2))}, 5);
        two.Start();
        two.PickRow(3); // no such row on show
        QVERIFY(two.Marked(1) && !two.Marked(3));
    }

    void questWithoutOptionsNotAsked() {
        QList<TQuestEntry> qs{Quest("A", Options(2)), Quest("empty", {}), Quest("C", Options(3))};
        for (quint32 seed = 0; seed < 30; ++seed) {
            QuestDownRun r(qs, seed);
            r.Start();
            QCOMPARE(r.Count(), 2);
            int asked = 0;
            bool finished = false;
            while (!finished && asked < 10) {
                QVERIFY(r.CurrentEntry().Quest != "empty");
                ++asked;
                r.PickRow(WrongRow(r));
                QuestDownRun::Result res = r.Check();
                if (res.verdict == QuestDownRun::Verdict::TryAgain) res = r.Check();
                finished = res.finished;
            }
            QCOMPARE(asked, 2);
            QCOMPARE(r.ErrorCount(), 2);
        }
        QuestDownRun none({Quest("empty", {})}, 1);
        none.Start();
        QCOMPARE(none.Count(), 0);
        QCOMPARE(none.Current(), 0);
    }

    void trflRun_data() {
        QTest::addColumn<bool>("yesIsRight");
        QTest::addColumn<bool>("chooseYes");
        QTest::addColumn<bool>("right");
        QTest::newRow("Да right, Да chosen") << true << true << true;
        QTest::newRow("Да right, Нет chosen") << true << false << false;
        QTest::newRow("Нет right, Да chosen") << false << true << false;
        QTest::newRow("Нет right, Нет chosen") << false << false << true;
    }
    void trflRun() {
        QFETCH(bool, yesIsRight);
        QFETCH(bool, chooseYes);
        QFETCH(bool, right);
        TrFlRun r(TrFl({yesIsRight}), 11);
        r.Start();
        QVERIFY(r.YesChosen()); // "Да" at the start
        r.SetYesChosen(chooseYes);
        QCOMPARE(r.Remaining(), 1);
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
        QCOMPARE(p.Current(), 1);
        QCOMPARE(p.Remaining(), count - 1);
        for (int i = 2; i <= count; ++i) {
            QVERIFY(p.Next());
            QCOMPARE(p.Current(), i);
        }
        QCOMPARE(p.Remaining(), 0);
        QVERIFY(!p.Next()); // the next command on the last entry completes
    }
};

QTEST_GUILESS_MAIN(TestDrillLogic)
#include "test_drilllogic.moc"

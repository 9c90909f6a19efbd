// One report line per course item kind, done and not done.
#include "learners/reportline.h"

#include <QtTest>

class TestReportLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("line"); // "-" for no line
        const QString in = QStringLiteral("       Cap - ");
        QTest::newRow("section") << 0 << 0 << 0 << "   Раздел: Cap";
        QTest::newRow("section done") << 0 << 1 << 7 << "   Раздел: Cap";
        for (int k : {1, 2, 3, 4, 5, 8, 11, 12, 13, 14, 15}) {
            QTest::addRow("kind %d done", k) << k << 1 << 33 << in + "Выполнено";
            QTest::addRow("kind %d not done", k) << k << 0 << 33 << in + "Не выполнено";
        }
        for (int score : {0, 15, -1, 100}) {
            QTest::addRow("questions done %d", score)
                << 6 << 1 << score << in + "Выполнено, Ошибок - " + QString::number(score) + "%";
            QTest::addRow("questions not done %d", score) << 6 << 0 << score << in + "Не выполнено";
            QTest::addRow("true/false done %d", score)
                << 7 << 1 << score << in + "Выполнено, Оценка - " + QString::number(score);
            QTest::addRow("true/false not done %d", score)
                << 7 << 0 << score << in + "Не выполнено";
        }
        QTest::newRow("Done byte not 1 counts as done")
            << 6 << 2 << 4 << in + "Выполнено, Ошибок - 4%";
        for (int k : {9, 10, 16, 255})
            QTest::addRow("kind %d", k) << k << 1 << 0 << "-";
    }
    void lines() {
        QFETCH(int, kind);
        QFETCH(int, done);
        QFETCH(int, score);
        QFETCH(QString, line);
        TCourseItem item;
        item.Caption = QStringLiteral("Cap");
        item.ExerciseKind = quint8(kind);
        TProgressRec rec;
        rec.Done = quint8(done);
        rec.Score = score;
        const std::optional<QString> got = ReportLine(item, rec);
        if (line == "-") {
            QVERIFY(!got.has_value());
        } else {
            QVERIFY(got.has_value());
            QCOMPARE(*got, line);
        }
    }

    void notDoneAfterDeletion() {
        TCourseItem item;
        item.Caption = QStringLiteral("Интервью 1");
        item.ExerciseKind = ekTrans140;
        QCOMPARE(NotDoneLine(item), QStringLiteral("       Интервью 1 - Не выполнено"));
        QCOMPARE(NotDoneLine(item), *ReportLine(item, TProgressRec{}));
    }
};

QTEST_MAIN(TestReportLine)
#include "test_reportline.moc"

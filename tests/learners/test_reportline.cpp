// One report line per course item kind, done and not done.
#include "learners/reportline.h"

#include <QtTest>

class TestReportLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("done");
        QTest::addColumn<QString>("line"); // "-" for no line
        const QString in = QStringLiteral("       Cap - ");
        QTest::newRow("section, done or not") << 0 << 1 << "   Раздел: Cap";
        for (int k : {1, 2, 3, 4, 5, 8, 11, 12, 13, 14, 15})
            QTest::addRow("kind %d done", k) << k << 1 << in + "Выполнено";
        QTest::newRow("plain kind not done") << 4 << 0 << in + "Не выполнено";
        QTest::newRow("questions done") << 6 << 1 << in + "Выполнено, Ошибок - 15%";
        QTest::newRow("questions not done") << 6 << 0 << in + "Не выполнено";
        QTest::newRow("true/false done") << 7 << 1 << in + "Выполнено, Оценка - 15";
        QTest::newRow("true/false not done") << 7 << 0 << in + "Не выполнено";
        QTest::newRow("Done byte not 1 counts as done") << 6 << 2 << in + "Выполнено, Ошибок - 15%";
        for (int k : {9, 10, 16})
            QTest::addRow("kind %d", k) << k << 1 << "-";
    }
    void lines() {
        QFETCH(int, kind);
        QFETCH(int, done);
        QFETCH(QString, line);
        TCourseItem item;
        item.Caption = QStringLiteral("Cap");
        item.ExerciseKind = quint8(kind);
        const std::optional<QString> got = ReportLine(item, TProgressRec{quint8(done), 15, {}});
        QCOMPARE(got.value_or("-"), line);
        // The line a deleted recording leaves is the one of a new item.
        if (line.endsWith("Не выполнено")) QCOMPARE(NotDoneLine(item), line);
    }
};

QTEST_MAIN(TestReportLine)
#include "test_reportline.moc"

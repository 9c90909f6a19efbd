// One report line per course item kind, the report's lines and their items,
// when a recording can be deleted, and how the console names the course
// files it plays.
#include "common/testenv.h"
#include "learners/eng_formprepod.h"
#include "learners/reportbuild.h"
#include "learners/reportline.h"
#include "support_learners.h"

#include <QtTest>

class TestReportBuild : public LearnerTest {
    Q_OBJECT
private Q_SLOTS:
    // One report line per course item kind, done and not done.
    void lineOfEachKind_data() {
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
    void lineOfEachKind() {
        QFETCH(int, kind);
        QFETCH(int, done);
        QFETCH(QString, line);
        TCourseItem item = Item(kind);
        item.Caption = QStringLiteral("Cap");
        const std::optional<QString> got = ReportLine(item, TProgressRec{quint8(done), 15, {}});
        QCOMPARE(got.value_or("-"), line);
        // The line a deleted recording leaves is the one of a new item.
        if (line.endsWith("Не выполнено")) QCOMPARE(NotDoneLine(item), line);
    }

    // Items 3 and 8 (kinds 9 and 16) give no line; the course has 9 items.
    void lines_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("recs");
        QTest::addColumn<QList<int>>("items");
        QTest::newRow("table longer than the course")
            << 11 << 12 << QList<int>{1, 2, 4, 5, 6, 7, 9};
        QTest::newRow("count past the records") << 9 << 5 << QList<int>{1, 2, 4};
        QTest::newRow("count short of the records") << 4 << 10 << QList<int>{1, 2, 4};
    }
    void lines() {
        QFETCH(int, count);
        QFETCH(int, recs);
        QFETCH(QList<int>, items);
        CourseTable course(1);
        for (int k : {0, 4, 9, 12, 2, 13, 6, 16, 14})
            course << Item(k);
        ProgressTable t;
        t.Recs = QList<TProgressRec>(recs);
        t.Count = count;
        const ReportLines got = BuildReportLines(course, t);
        QCOMPARE(got.Items, items);
        QCOMPARE(got.Lines.size(), items.size());
        QCOMPARE(got.Lines.last(), NotDoneLine(course[items.last()]));
    }

    // Recordings are kept by kind 4 and kinds 12 to 15, once done.
    void canDelete_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("done");
        QTest::addColumn<bool>("offered");
        QTest::newRow("4 done") << 4 << 1 << true;
        QTest::newRow("4 not done") << 4 << 0 << false;
        QTest::newRow("11") << 11 << 1 << false;
        QTest::newRow("12") << 12 << 1 << true;
        QTest::newRow("15") << 15 << 1 << true;
        QTest::newRow("16") << 16 << 1 << false;
    }
    void canDelete() {
        QFETCH(int, kind);
        QFETCH(int, done);
        QFETCH(bool, offered);
        QCOMPARE(CanDeleteRecording(Item(kind), TProgressRec{quint8(done), 0, {}}), offered);
    }

    // Names that do not exist go behind the data root, cut to what a record holds.
    void consoleFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("got");
        QTest::newRow("exists") << "s.wav"
                                << "s.wav";
        QTest::newRow("not here") << "L1.txt"
                                  << "DemoData\\L1.txt";
        QTest::newRow("too long") << QString(250, 'x') << "DemoData\\" + QString(246, 'x');
    }
    void consoleFile() {
        QFETCH(QString, name);
        QFETCH(QString, got);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("s.wav"), "RIFF");
        QCOMPARE(ConsoleCourseFile(name, "DemoData\\"), got);
    }
};

QTEST_MAIN(TestReportBuild)
#include "test_reportbuild.moc"

// One report line per course item kind, the report's lines and their items, when a
// recording can be deleted, and how the console names the course files it plays. The
// printed report's layout on a 1200 x 1800 page: rows, columns, rules, page breaks,
// page numbers and the header with its date line; then the whole print path into a
// PDF file, read back with pdftotext, a file that cannot be written, and a cancelled
// choice.
#include "common/testenv.h"
#include "learners/eng_formprepod.h"
#include "learners/printlayout.h"
#include "learners/printreport.h"
#include "learners/reportbuild.h"
#include "learners/reportline.h"
#include "support_learners.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kIn = QStringLiteral("       ");

QList<PrintOp> Lay(const QList<PrintItem>& items, bool onlyDone = false) {
    return LayoutReportPrint(1200, 1800, {QStringLiteral("Анна"), 'B', "<date>", items, onlyDone});
}

// "x,y,height:text" of every text, one list per page.
QList<QStringList> Pages(const QList<PrintOp>& ops) {
    QList<QStringList> pages(1);
    for (const PrintOp& op : ops) {
        if (op.kind == PrintOp::NewPage) pages.append(QStringList());
        if (op.kind == PrintOp::Text)
            pages.last() << QStringLiteral("%1,%2,%3:").arg(op.x).arg(op.y).arg(op.height) +
                                op.text;
    }
    return pages;
}

// A section and rows-1 exercises.
bool Print(int rows, const QString& file, bool choose = true) {
    ReportPrintData d{
        QStringLiteral("Анна Петрова"), 'C', "<date>", {{0, "First", false, 0}}, true};
    for (int i = 1; i < rows; ++i)
        d.items << PrintItem{4, QStringLiteral("Item%1").arg(i), true, 0};
    ReportPrinting().Choose = [file, choose](QPrinter& p, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        return choose;
    };
    return PrintReport(d, nullptr);
}
} // namespace

class TestReport : public LearnerTest {
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

    void header() {
        const QList<PrintOp> ops = Lay({});
        QCOMPARE(Pages(ops),
                 QList<QStringList>({{"240,95,60:Lumora", "60,164,36:Имя пользователя: Анна",
                                      "60,216,36:Режим работы: B;   Дата: <date>",
                                      "240,266,36:Отчет.", "600,1770,23:1"}}));
        // No rows: the closing rule lies under row 0.
        const PrintOp& close = ops[ops.size() - 2];
        QCOMPARE(QList<int>({close.x, close.y, close.x2, close.y2}),
                 QList<int>({60, 318, 1140, 318}));
        const QDateTime when(QDate(2024, 3, 5), QTime(9, 7, 59));
        QCOMPARE(PrintDateText(when, QLocale("ru_RU")), " 05, марта , 2024,   Время:  09:07 ");
        QCOMPARE(PrintDateText(when, QLocale("en_US")), " 05, March , 2024,   Время:  09:07 ");
    }

    void pages_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("48 fill one page exactly") << 48 << QList<int>{48};
        QTest::newRow("49") << 49 << QList<int>{48, 1};
        QTest::newRow("106") << 106 << QList<int>{48, 58};
        QTest::newRow("107") << 107 << QList<int>{48, 58, 1};
    }
    void pages() {
        QFETCH(int, rows);
        QFETCH(QList<int>, perPage);
        QList<PrintItem> items;
        for (int i = 1; i <= rows; ++i)
            items << PrintItem{1, QString::number(i), true, 0};
        const QList<QStringList> pages = Pages(Lay(items));
        QCOMPARE(pages.size(), perPage.size());
        int first = 1;
        for (int p = 0; p < pages.size(); ++p) {
            const QStringList captions = pages[p].filter(",23:" + kIn);
            QCOMPARE(captions.size(), perPage[p]);
            // Row 1 at 318 + 10, the first row of a later page one row below the top.
            QCOMPARE(captions.first(),
                     QString(p ? "67,40,23:" : "67,328,23:") + kIn + QString::number(first));
            QCOMPARE(pages[p].last(), "600,1770,23:" + QString::number(p + 1));
            first += perPage[p];
        }
    }

    void columns_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QStringList>("texts"); // "x:text"
        QTest::addColumn<QList<int>>("verticals");
        auto row = [](const char* tag, int kind, bool done, const QStringList& texts,
                      const QList<int>& verticals) {
            QTest::newRow(tag) << kind << done << texts << verticals;
        };
        const QList<int> frame = {60, 1140}, status = {800, 60, 1140};
        const QString c = "67:" + kIn + "C";
        row("section", 0, false, {"120:   Раздел: C"}, frame);
        row("6 done", 6, true, {c, "547:Ошибок - 15%", "867:Выполнено "}, {480, 800, 60, 1140});
        row("6 not done", 6, false, {c, "867:Не выполнено"}, status);
        row("4 done", 4, true, {c, "867:Выполнено"}, status);
        row("7 done", 7, true, {c + " - Выполнено, Оценка - 15"}, frame);
        row("kind without a line: empty frame", 9, true, {}, frame);
    }
    void columns() {
        QFETCH(int, kind);
        QFETCH(bool, done);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, verticals);
        QStringList gotTexts;
        QList<int> gotVerticals, horizontals;
        for (const PrintOp& op : Lay({PrintItem{kind, "C", done, 15}})) {
            if (op.kind == PrintOp::Text && op.y == 328) {
                gotTexts << QString::number(op.x) + ":" + op.text;
                QVERIFY(op.right > op.x && op.right <= 1140); // clipped to its column
            }
            if (op.kind == PrintOp::Rule && op.x == op.x2 && op.y == 318 && op.y2 == 348)
                gotVerticals << op.x;
            if (op.kind == PrintOp::Rule && op.y == op.y2 && op.x == 60 && op.x2 == 1140)
                horizontals << op.y;
        }
        QCOMPARE(gotTexts, texts);
        QCOMPARE(gotVerticals, verticals);
        QCOMPARE(horizontals, QList<int>({318, 348})); // the row's top and the closing rule
    }

    void onlyDone() {
        QList<PrintItem> items = {{0, "S1", false, 0}, {1, "A", false, 0}, {6, "B", false, 0},
                                  {0, "S2", false, 0}, {9, "E", false, 0}, {2, "D", true, 0}};
        QCOMPARE(Pages(Lay(items, true)).first().mid(4),
                 QStringList({"120,328,23:   Раздел: S1", "120,358,23:   Раздел: S2",
                              "67,388,23:" + kIn + "D", "867,388,23:Выполнено", "600,1770,23:1"}));
        QCOMPARE(Pages(Lay(items, false)).first().size(), 4 + 1 + 2 + 2 + 1 + 0 + 2 + 1);
    }

    // The layout's page break reaches the printer; texts land on their page.
    void printed() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        MessageRecorder rec;
        QVERIFY(Print(60, dir.filePath("r.pdf")));
        QVERIFY(rec.messages.isEmpty());
        QProcess p;
        p.start("pdftotext", {"-layout", dir.filePath("r.pdf"), "-"});
        QVERIFY(p.waitForFinished(30000));
        const QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
        QCOMPARE(pages.size(), 3); // the text ends with a form feed
        QVERIFY(pages[0].contains(QStringLiteral("Анна Петрова")));
        QVERIFY(pages[0].contains("First") && !pages[0].contains("Item59"));
        QVERIFY(pages[1].contains("Item59") && !pages[1].contains("First"));
    }

    void failures() {
        QTemporaryDir dir;
        MessageRecorder rec;
        QVERIFY(!Print(3, dir.filePath("no/such/dir/r.pdf")));
        QCOMPARE(rec.messages.size(), 1);
        // A cancelled choice prints nothing and says nothing.
        QVERIFY(!Print(3, dir.filePath("r.pdf"), false));
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(!QFile::exists(dir.filePath("r.pdf")));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"

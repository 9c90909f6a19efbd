// The printed report through the whole print path into a PDF file, read
// back with pdftotext; a file that cannot be written, and a cancelled choice.
#include "common/testenv.h"
#include "learners/printreport.h"
#include "support_learners.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

ReportPrintData Data(int rows, bool done, bool onlyDone) {
    ReportPrintData d;
    d.userName = QStringLiteral("Анна Петрова");
    d.mode = 'C';
    d.dateText = PrintDateText(QDateTime(QDate(2024, 3, 5), QTime(14, 30)), QLocale("ru_RU"));
    d.items << PrintItem{0, QStringLiteral("Урок первый"), false, 0};
    for (int i = 1; i < rows; ++i)
        d.items << PrintItem{i % 2 ? 4 : 6, QStringLiteral("Упражнение %1").arg(i), done, 20};
    d.onlyDone = onlyDone;
    return d;
}

void ToPdf(const QString& file, bool choose = true) {
    ReportPrinting().Choose = [file, choose](QPrinter& p, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        return choose;
    };
    ReportPrinting().Preview = nullptr;
}

// One string per page, blanks run together.
QStringList PdfPages(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {"-layout", file, "-"});
    p.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    for (QString& s : pages)
        s = s.simplified();
    return pages;
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
    }

    void printed_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("done");
        QTest::addColumn<bool>("onlyDone");
        QTest::addColumn<QStringList>("pageEnds"); // the last row text of each page
        QTest::newRow("60 rows: 48 + 12")
            << 60 << true << true
            << QStringList{"Упражнение 47 Выполнено", "Упражнение 59 Выполнено"};
        QTest::newRow("only done, nothing done")
            << 20 << false << true << QStringList{"Урок первый"};
    }
    void printed() {
        QFETCH(int, rows);
        QFETCH(bool, done);
        QFETCH(bool, onlyDone);
        QFETCH(QStringList, pageEnds);
        QTemporaryDir dir;
        const QString file = dir.filePath("report.pdf");
        ToPdf(file);
        MessageRecorder rec;
        QVERIFY(PrintReport(Data(rows, done, onlyDone), nullptr));
        QVERIFY(rec.messages.isEmpty());
        const QStringList pages = PdfPages(file);
        QCOMPARE(pages.size(), pageEnds.size());
        const QString& first = pages.first();
        for (const char* s : {"Lumora", "Имя пользователя: Анна Петрова",
                              "Режим работы: C; Дата: 05, марта , 2024, Время: 14:30", "Отчет.",
                              "Раздел: Урок первый"})
            QVERIFY2(first.contains(QString::fromUtf8(s)), s);
        for (int p = 0; p < pages.size(); ++p) {
            // The page's last row, then its number.
            QVERIFY2(pages[p].endsWith(pageEnds[p] + " " + QString::number(p + 1)),
                     qPrintable(pages[p].right(80)));
        }
        if (rows == 60) {
            QVERIFY(first.contains("Упражнение 2 Ошибок - 20% Выполнено"));
            QVERIFY(!first.contains("Упражнение 48 "));
            QVERIFY(pages[1].startsWith("Упражнение 48 Ошибок - 20% Выполнено"));
        } else {
            QVERIFY(!first.contains("Упражнение"));
        }
    }

    void failures() {
        QTemporaryDir dir;
        MessageRecorder rec;
        // The directory of the file does not exist.
        ToPdf(dir.filePath("no/such/dir/report.pdf"));
        QVERIFY(!PrintReport(Data(3, true, false), nullptr));
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(rec.lastText(), QStringLiteral("Ошибка печати"));
        QCOMPARE(rec.messages.last().flags, 0x10);
        // A cancelled choice prints nothing and says nothing.
        ToPdf(dir.filePath("report.pdf"), false);
        QVERIFY(!PrintReport(Data(3, true, false), nullptr));
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(!QFile::exists(dir.filePath("report.pdf")));
    }
};

QTEST_MAIN(TestPrintPdf)
#include "test_printpdf.moc"

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

// A section and rows-1 exercises, every second one a questions item.
bool Print(int rows, const QString& file, bool choose = true) {
    ReportPrintData d{QStringLiteral("Анна Петрова"),
                      'C',
                      PrintDateText(QDateTime(QDate(2024, 3, 5), QTime(14, 30)), QLocale("ru_RU")),
                      {PrintItem{0, QStringLiteral("Урок первый"), false, 0}},
                      true};
    for (int i = 1; i < rows; ++i)
        d.items << PrintItem{4 + 2 * (i % 2 == 0), QStringLiteral("Упр %1").arg(i), true, 20};
    ReportPrinting().Choose = [file, choose](QPrinter& p, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        return choose;
    };
    return PrintReport(d, nullptr);
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // 60 rows: 48 on the first page, 12 on the second.
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
        QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
        pages.removeLast(); // after the last form feed
        QCOMPARE(pages.size(), 2);
        const QString first = pages[0].simplified(), second = pages[1].simplified();
        QVERIFY2(
            first.startsWith("Lumora Имя пользователя: Анна Петрова Режим работы: C; "
                             "Дата: 05, марта , 2024, Время: 14:30 Отчет. Раздел: Урок первый"),
            qPrintable(first));
        QVERIFY(first.contains("Упр 2 Ошибок - 20% Выполнено"));
        QVERIFY(first.endsWith("Упр 47 Выполнено 1"));
        QVERIFY(second.startsWith("Упр 48 Ошибок - 20% Выполнено"));
        QVERIFY(second.endsWith("Упр 59 Выполнено 2"));
    }

    void failures() {
        QTemporaryDir dir;
        MessageRecorder rec;
        QVERIFY(!Print(3, dir.filePath("no/such/dir/r.pdf")));
        QCOMPARE(rec.texts(), QStringList{"Ошибка печати"});
        QCOMPARE(rec.messages.last().flags, 0x10);
        // A cancelled choice prints nothing and says nothing.
        QVERIFY(!Print(3, dir.filePath("r.pdf"), false));
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(!QFile::exists(dir.filePath("r.pdf")));
    }
};

QTEST_MAIN(TestPrintPdf)
#include "test_printpdf.moc"

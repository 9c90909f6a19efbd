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

class TestPrintPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

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

QTEST_MAIN(TestPrintPdf)
#include "test_printpdf.moc"

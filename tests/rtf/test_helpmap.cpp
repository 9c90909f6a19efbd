#include "base/errors.h"
#include "common/testenv.h"
#include "rtf/helpmap.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kHelpDir = QStringLiteral(VANTREL_SOURCE_DIR "/help");
} // namespace

class TestHelpMap : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void parse_data() {
        QTest::addColumn<QByteArray>("map");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("bad");

        auto row = [](const char* name, const char* map, const char* key, const char* file,
                      QList<int> bad = {}) {
            QTest::newRow(name) << QByteArray(map) << QString(key) << QString(file) << bad;
        };
        row("CR LF and blanks", "  30\t seluser.html \r\n", "30", "seluser.html");
        row("notes skipped", "# 10\tno.html\n\n10\tmain.html\n", "10", "main.html");
        row("first entry wins", "10\ta.html\n10\tb.html\n", "10", "a.html");
        row("keyword case exact first", "report\tlow.html\nReport\tup.html", "Report", "up.html");
        row("keyword other case", "Report\tup.html\n", "REPORT", "up.html");
        row("no tab", "10 main.html\n", "10", "", {1});
        row("outside the folder",
            "10\t../secret.html\n20\t/etc/x.html\n30\tsub\\x.html\n40\tx.txt\n", "10", "",
            {1, 2, 3, 4});
        row("sub folder allowed", "10\tsub/page.htm\n", "10", "sub/page.htm");
        row("number out of range", "99999999999\tx.html\n", "99999999999", "", {1});
        row("UTF-8 keyword", "Помощь\thelp.html\n", "Помощь", "help.html");
    }

    void parse() {
        QFETCH(QByteArray, map);
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QList<int>, bad);
        const HelpTopicMap m = HelpTopicMap::Parse(map);
        bool isNumber = false;
        const int n = key.toInt(&isNumber);
        QCOMPARE(isNumber ? m.fileForTopic(n) : m.fileForKeyword(key), file);
        QCOMPARE(m.badLines(), bad);
    }

    void missingMap() {
        testenv::CourseDir dir;
        QVERIFY_THROWS_EXCEPTION(FileError, HelpTopicMap::Load(dir.file("help/topics.txt")));
    }

    // The shipped map reads cleanly; every page is UTF-8, every local link
    // leads to a page of the folder, and the contents lists every page.
    void shippedLinks() {
        QCOMPARE(HelpTopicMap::Load(kHelpDir + "/topics.txt").badLines(), QList<int>{});
        const QStringList pages = QDir(kHelpDir).entryList({"*.html"}, QDir::Files);
        QVERIFY(pages.contains("index.html"));
        const QString contents = QString::fromUtf8(testenv::ReadBytes(kHelpDir + "/index.html"));
        static const QRegularExpression href("href=\"([^\"#]*)");
        for (const QString& p : pages) {
            const QByteArray bytes = testenv::ReadBytes(kHelpDir + "/" + p);
            const QString html = QString::fromUtf8(bytes);
            QVERIFY2(html.toUtf8() == bytes, qPrintable(p + " is not UTF-8"));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(pages.contains(target), qPrintable(p + " links to missing " + target));
            }
            if (p != "index.html")
                QVERIFY2(contents.contains("href=\"" + p + "\""),
                         qPrintable("contents lacks " + p));
        }
    }
};

QTEST_MAIN(TestHelpMap)
#include "test_helpmap.moc"

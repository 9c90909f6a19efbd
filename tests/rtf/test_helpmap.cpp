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

        using L = QList<int>;
        QTest::newRow("number") << QByteArray("10\tmain.html\n") << "10" << QString("main.html")
                                << L{};
        QTest::newRow("keyword") << QByteArray("Lexic\tlexic.html") << "Lexic"
                                 << QString("lexic.html") << L{};
        QTest::newRow("CR LF and blanks")
            << QByteArray("  30\t seluser.html \r\n") << "30" << QString("seluser.html") << L{};
        QTest::newRow("notes skipped") << QByteArray("# 10\tno.html\n\n10\tmain.html\n") << "10"
                                       << QString("main.html") << L{};
        QTest::newRow("first entry wins")
            << QByteArray("10\ta.html\n10\tb.html\n") << "10" << QString("a.html") << L{};
        QTest::newRow("keyword case exact first")
            << QByteArray("report\tlow.html\nReport\tup.html\n") << "Report" << QString("up.html")
            << L{};
        QTest::newRow("keyword other case")
            << QByteArray("Report\tup.html\n") << "REPORT" << QString("up.html") << L{};
        QTest::newRow("no tab") << QByteArray("10 main.html\n") << "10" << QString("") << L{1};
        QTest::newRow("outside the folder")
            << QByteArray("10\t../secret.html\n20\t/etc/x.html\n30\tsub\\x.html\n40\tx.txt\n")
            << "10" << QString("") << L{1, 2, 3, 4};
        QTest::newRow("sub folder allowed")
            << QByteArray("10\tsub/page.htm\n") << "10" << QString("sub/page.htm") << L{};
        QTest::newRow("number out of range")
            << QByteArray("99999999999\tx.html\n") << "99999999999" << QString("") << L{1};
        QTest::newRow("unknown") << QByteArray("10\tmain.html\n") << "11" << QString("") << L{};
        QTest::newRow("UTF-8 keyword")
            << QByteArray("Помощь\thelp.html\n") << "Помощь" << QString("help.html") << L{};
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
        try {
            HelpTopicMap::Load(dir.file("help/topics.txt"));
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.code(), int(ErrFileNotFound));
        }
    }

    // The shipped map reads cleanly; every page is UTF-8 HTML with a title,
    // every local link leads to a page of the folder, and the contents lists
    // every page.
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
            QVERIFY2(html.contains("<meta charset=\"utf-8\">"), qPrintable(p));
            QVERIFY2(QRegularExpression("<title>[^<]+</title>").match(html).hasMatch(),
                     qPrintable(p));
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

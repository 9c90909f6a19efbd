// Course info pages and pictures, and the help topic map with the shipped
// help pages.
#include "base/cp1251.h"
#include "base/errors.h"
#include "common/testenv.h"
#include "rtf/helpmap.h"
#include "rtf/infopage.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString kHelpDir = QStringLiteral(VANTREL_SOURCE_DIR "/help");
} // namespace

class TestPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void pages_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("blocks");

        QTest::newRow("plain Windows-1251, CR LF")
            << EncodeCp1251(u"Урок 1\r\nВопросы к тексту\r\n")
            << QStringList{"Урок 1", "Вопросы к тексту", ""};
        QTest::newRow("plain bare LF and CR")
            << QByteArray("a\nb\rc") << QStringList{"a", "b", "c"};
        QTest::newRow("rich text")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'d3\\'f0\\'ee\\'ea\\par 1}")
            << QStringList{"Урок", "1"};
        QTest::newRow("rtf not at the start is text")
            << QByteArray(" {\\rtf1 x}") << QStringList{" {\\rtf1 x}"};
        QTest::newRow("rtf0 header still rich text")
            << QByteArray("{\\rtf0 x}") << QStringList{"x"};
        QTest::newRow("empty file") << QByteArray() << QStringList{""};
    }

    void pages() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, blocks);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("DemoData/Info/page.rtf"), bytes);
        QTextDocument doc;
        // Course files name their folders with backslashes.
        LoadInfoPage(&doc, "DemoData\\Info\\page.rtf");
        QStringList got;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            got << b.text();
        QCOMPARE(got, blocks);
        QVERIFY(!doc.isUndoAvailable());
    }

    void pageErrors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("missing") << "DemoData\\none.rtf" << int(ErrFileNotFound);
        QTest::newRow("empty name") << "" << int(ErrFileNotFound);
        QTest::newRow("a folder") << "DemoData" << int(ErrAccessDenied);
    }

    void pageErrors() {
        QFETCH(QString, name);
        QFETCH(int, code);
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("DemoData"));
        QTextDocument doc;
        try {
            LoadInfoPage(&doc, name);
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.code(), code);
        }
    }

    // The pane reuses one document: a new page must not keep pieces of the old.
    void pageReplacesOldContent() {
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("a.rtf"), "{\\rtf1\\b\\qc bold\\par more}");
        testenv::WriteBytes(dir.file("b.txt"), "plain");
        QTextDocument doc;
        LoadInfoPage(&doc, "a.rtf");
        LoadInfoPage(&doc, "b.txt");
        QCOMPARE(doc.blockCount(), 1);
        QCOMPARE(doc.begin().text(), QString("plain"));
        QCOMPARE(doc.begin().begin().fragment().charFormat().fontWeight() == QFont::Bold, false);
        QCOMPARE(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    }

    // The content decides the kind of picture, not the name; what is no
    // picture and what is not there give errors of their own kinds.
    void pictures() {
        testenv::CourseDir dir;
        QImage img(33, 21, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QVERIFY(img.save(dir.file("p.bmp"), "JPEG"));
        QCOMPARE(LoadInfoPicture("p.bmp").size(), img.size());
        testenv::WriteBytes(dir.file("text.bmp"), "not a picture");
        QVERIFY_THROWS_EXCEPTION(PictureError, LoadInfoPicture("text.bmp"));
        QVERIFY_THROWS_EXCEPTION(FileError, LoadInfoPicture("absent.bmp"));
    }

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

QTEST_MAIN(TestPages)
#include "test_pages.moc"

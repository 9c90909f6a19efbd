#include "base/cp1251.h"
#include "common/testenv.h"
#include "rtf/infopage.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

class TestInfoPage : public QObject {
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
};

QTEST_MAIN(TestInfoPage)
#include "test_infopage.moc"

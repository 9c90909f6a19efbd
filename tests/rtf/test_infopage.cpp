#include "base/cp1251.h"
#include "common/testenv.h"
#include "rtf/infopage.h"

#include <QBuffer>
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
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << "DemoData\\none.rtf" << int(ErrFileNotFound)
                                 << "File not found";
        QTest::newRow("empty name") << "" << int(ErrFileNotFound) << "File not found";
        QTest::newRow("a folder") << "DemoData" << int(ErrAccessDenied) << "File access denied";
    }

    void pageErrors() {
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(QString, text);
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("DemoData"));
        QTextDocument doc;
        try {
            LoadInfoPage(&doc, name);
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.code(), code);
            QCOMPARE(e.text(), text);
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

    void pictures_data() {
        QTest::addColumn<QByteArray>("format"); // empty: the bytes below as they are
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size"); // invalid: an error is expected
        QTest::addColumn<QString>("error");

        QTest::newRow("bmp") << QByteArray("BMP") << QByteArray() << "p.bmp" << QSize(33, 21) << "";
        QTest::newRow("jpeg named bmp")
            << QByteArray("JPEG") << QByteArray() << "p.bmp" << QSize(33, 21) << "";
        QTest::newRow("text") << QByteArray() << QByteArray("not a picture") << "p.bmp" << QSize()
                              << QString(
                                     "Рисунок \"p.bmp\" поврежден или имеет неизвестный формат.");
        QTest::newRow("missing") << QByteArray() << QByteArray() << "" << QSize()
                                 << "File not found";
    }

    void pictures() {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        if (!format.isEmpty()) {
            QImage img(33, 21, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QBuffer buf(&bytes);
            buf.open(QIODevice::WriteOnly);
            QVERIFY(img.save(&buf, format.constData()));
        }
        if (!name.isEmpty()) testenv::WriteBytes(dir.file(name), bytes);
        const QString asked = name.isEmpty() ? QString("absent.bmp") : name;
        try {
            const QImage img = LoadInfoPicture(asked);
            QVERIFY2(size.isValid(), "an error was expected");
            QCOMPARE(img.size(), size);
        } catch (const VError& e) {
            QVERIFY2(!size.isValid(), qPrintable(e.text()));
            QCOMPARE(e.text(), error);
            if (name.isEmpty()) QVERIFY(dynamic_cast<const FileError*>(&e));
        }
    }
};

QTEST_MAIN(TestInfoPage)
#include "test_infopage.moc"

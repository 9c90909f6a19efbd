// The RTF reader: character and paragraph formats, pictures, text and damaged
// pages. Course info pages and pictures, and the help topic map with the shipped help
// pages.
#include "base/cp1251.h"
#include "base/errors.h"
#include "common/testenv.h"
#include "rtf/helpmap.h"
#include "rtf/infopage.h"
#include "rtf/rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QtTest>

namespace {

// One canonical line for the character properties the reader sets.
QString describe(const QTextCharFormat& f) {
    QStringList p;
    if (f.fontWeight() == QFont::Bold) p << "b";
    if (f.fontItalic()) p << "i";
    if (f.fontUnderline()) p << "u";
    if (f.fontStrikeOut()) p << "s";
    if (f.hasProperty(QTextFormat::FontPointSize)) p << QString("fs=%1").arg(f.fontPointSize());
    if (f.hasProperty(QTextFormat::ForegroundBrush)) p << "fg=" + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush)) p << "bg=" + f.background().color().name();
    const QStringList fam = f.fontFamilies().toStringList();
    if (fam.isEmpty())
        p << "nofont";
    else if (fam != QStringList{"Arial"})
        p << "font=" + fam.join(','); // Arial: the head's default
    return p.join(' ');
}

// Block texts joined by line ends; unlike toPlainText() it keeps no-break
// spaces and line separators as they are.
QString plainOf(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join('\n');
}

QList<QTextFragment> fragments(const QTextDocument& doc) {
    QList<QTextFragment> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append(it.fragment());
    return out;
}

const char kFontHead[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                         "{\\f1\\froman\\fcharset204 Times New Roman;}{\\f2\\fcharset238 Tahoma;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}";

// A 16 x 8 picture in the given format.
QByteArray imageBytes(const char* format) {
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return data;
}

QByteArray samplePage() {
    QByteArray rtf = kFontHead;
    rtf += "{\\*\\generator Writer 1.0;}{\\info{\\title Sample}}"
           "\\pard\\qc\\b\\fs32\\cf1 Title\\par\\pard\\fi360\\sa120\\f1 ";
    for (int i = 0; i < 20; ++i)
        rtf += "\\'d2\\'e5\\'ea\\'f1\\'f2 {\\i \\u1090?\\u1077?\\u1082?\\u1089?\\u1090?} "
               "\\ul under\\ulnone\\~\\{x\\} \\tab end\\line ";
    return rtf + "\\par{\\pict\\pngblip\\picwgoal300\\pichgoal300 " + imageBytes("PNG").toHex() +
           "}\\par Last words.\\par}";
}
} // namespace

namespace {
const QString kHelpDir = QStringLiteral(VANTREL_SOURCE_DIR "/help");
} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void charFormats_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("props"); // "text[properties]" of every fragment

        auto row = [](const char* name, const char* body, const char* props) {
            QTest::newRow(name) << QByteArray(body) << QString(props);
        };
        row("bold", "\\b x\\b0 y", "x[b] y[]");
        row("group restores", "{\\i x}y", "x[i] y[]");
        row("underlines", "\\ul a\\ulnone b\\uldb c\\ul0 d", "a[u] b[] c[u] d[]");
        row("strike", "\\strike x", "x[s]");
        row("half points", "\\fs21 x", "x[fs=10.5]");
        row("font switch", "\\f2 x", "x[font=Tahoma]");
        row("unknown font keeps none", "\\f9 x", "x[nofont]");
        row("colour, auto colour", "\\cf2 a\\cf0 b", "a[fg=#008000] b[]");
        row("colour out of table", "\\cf7 x", "x[]");
        row("highlight, cb", "\\highlight1 a\\cb2 b", "a[bg=#ff0000] b[bg=#008000]");
        row("plain resets", "\\b\\i\\fs40\\cf1 a\\plain x", "a[b i fs=20 fg=#ff0000] x[]");
        // Groups nested too deep are skipped; what follows has the format of its
        // own level. The document group is the first level.
        const auto nested = [](int depth, bool closed) {
            return "a" + QByteArray(depth - 1, '{') + "\\b X" +
                   (closed ? QByteArray(depth - 1, '}') + "b" : QByteArray());
        };
        QTest::newRow("nesting at the limit")
            << nested(kRtfMaxGroupDepth, true) << QString("a[] X[b] b[]");
        QTest::newRow("nesting beyond") << nested(kRtfMaxGroupDepth + 1, true) << QString("ab[]");
        QTest::newRow("nesting never closed") << nested(1000, false) << QString("a[]");
    }

    void charFormats() {
        QFETCH(QByteArray, body);
        QFETCH(QString, props);
        QTextDocument doc;
        LoadRtfInto(&doc, kFontHead + body + "}");
        QStringList got;
        for (const QTextFragment& f : fragments(doc))
            got << f.text() + '[' + describe(f.charFormat()) + ']';
        QCOMPARE(got.join(' '), props);
    }

    void text_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("plain");

        auto row = [](const char* name, const char* rtf, const QString& plain) {
            QTest::newRow(name) << QByteArray(rtf) << plain;
        };
        row("braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d");
        row("nbsp, soft and hard hyphen", "{\\rtf1 a\\~b\\-c\\_d}", "a\u00A0b\u00ADc\u2011d");
        row("tab and line", "{\\rtf1 a\\tab b\\line c}", "a\tb\u2028c");
        row("par", "{\\rtf1 a\\par b}", "a\nb");
        row("escaped line end is par", "{\\rtf1 a\\\r\nb}", "a\nb");
        row("raw line ends ignored", "{\\rtf1 a\r\nb\nc}", "abc");
        row("u fallback hex", "{\\rtf1\\ansicpg1251 \\u1088\\'f0x}", "рx");
        row("uc2", "{\\rtf1\\uc2 \\u1055??x}", "Пx");
        row("uc0", "{\\rtf1\\uc0 \\u1055 x}", "Пx");
        row("uc scoped", "{\\rtf1{\\uc0 \\u1055}\\u1056?}", "ПР");
        row("u negative", "{\\rtf1 \\u-3913?}", QString(QChar(0xF0B7)));
        row("u surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", "\xF0\x9F\x98\x80");
        row("u lone surrogate", "{\\rtf1 \\u-10179?x}", QString(QChar(0xFFFD)) + "x");
        row("u control dropped", "{\\rtf1 a\\u10?b\\u0?c}", "abc");
        row("u skip stops at brace", "{\\rtf1\\uc3 {\\u1055}ab}", "Пab");
        row("hex by ansicpg", "{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'c0}", "аА");
        row("hex 1252 default", "{\\rtf1\\ansi \\'e0\\'80}", "à€");
        row("hex by fcharset204",
            "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'e0\\f1\\'e0}", "àа");
        row("deff gives code page",
            "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'fd}", "э");
        row("cpg beats charset", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0\\'fd}", "э");
        row("raw high byte", "{\\rtf1\\ansicpg1251 \xcf\xf0}", "Пр");
        row("bad hex ignored", "{\\rtf1 a\\'zzb}", "azzb");
        row("named characters",
            "{\\rtf1 \\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet}",
            "\u2018a\u2019\u201Cb\u201D\u2014\u2013\u2022");
        row("unknown words ignored", "{\\rtf1\\foo12\\bar-3 x\\zz y}", "xy");
        row("ignorable destination", "{\\rtf1 a{\\*\\foo hidden {deep}}b}", "ab");
        row("ignorable known word still skipped", "{\\rtf1 a{\\*\\b hidden}b}", "ab");
        row("skipped destinations",
            "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H}"
            "{\\footerr F}{\\footnote N}{\\colortbl;\\red1\\green2\\blue3;}x}",
            "x");
        row("field shows result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt site}}}",
            "site");
        row("shppict shown, nonshppict not", "{\\rtf1 a{\\*\\shppict b}{\\nonshppict c}d}", "abd");
        row("bin skipped", "{\\rtf1 a{\\*\\foo\\bin3 }}{}b}", "ab");
        row("bin longer than data", "{\\rtf1 a\\bin999 xyz", "a");
        row("after the document", "{\\rtf1 a}tail{b}", "a");
        row("stray close brace", "{\\rtf1 a{b}}}c", "ab");
        row("space delimiter eaten once", "{\\rtf1\\b  x}", " x");
        row("digits end word", "{\\rtf1\\fs24x}", "x");
        row("cell and row", "{\\rtf1 a\\cell b\\row c}", "a\tb\nc");
        row("huge parameter", "{\\rtf1\\fs99999999999999 x\\u99999999999?y}", "xy");
        row("empty", "", "");
    }

    void text() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, plain);
        QTextDocument doc;
        LoadRtfInto(&doc, rtf);
        QCOMPARE(plainOf(doc), plain);
    }

    void paragraphs_data() {
        QTest::addColumn<QByteArray>("body");
        // per block: alignment, then left, right, first-line indent, space above, below
        QTest::addColumn<QString>("blocks");
        auto row = [](const char* name, const char* body, const char* blocks) {
            QTest::newRow(name) << QByteArray(body) << QString(blocks);
        };
        row("centre carried on", "\\qc a\\par b", "c 0 0 0 0 0|c 0 0 0 0 0");
        row("pard resets", "\\qr\\li300 a\\par\\pard b", "r 20 0 0 0 0|l 0 0 0 0 0");
        row("indents, spacing, justify", "\\qj\\li720\\ri360\\fi-180\\sb240\\sa120 a",
            "j 48 24 -12 16 8");
        row("props at the paragraph end count", "a\\qc\\par b", "c 0 0 0 0 0|c 0 0 0 0 0");
        row("last paragraph without par", "a\\par\\qr b", "l 0 0 0 0 0|r 0 0 0 0 0");
    }

    void paragraphs() {
        QFETCH(QByteArray, body);
        QFETCH(QString, blocks);
        QTextDocument doc;
        LoadRtfInto(&doc, "{\\rtf1 " + body + "}");
        QStringList got;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QTextBlockFormat f = b.blockFormat();
            static const QMap<int, QString> kAlign{
                {Qt::AlignHCenter, "c"}, {Qt::AlignRight, "r"}, {Qt::AlignJustify, "j"}};
            QStringList p{kAlign.value(int(f.alignment() & Qt::AlignHorizontal_Mask), "l")};
            for (qreal v :
                 {f.leftMargin(), f.rightMargin(), f.textIndent(), f.topMargin(), f.bottomMargin()})
                p << QString::number(v);
            got << p.join(' ');
        }
        QCOMPARE(got.join('|'), blocks);
    }

    // "bullet, tab, text" under a hanging indent: the text after the tab
    // starts where the wrapped lines of the paragraph start.
    void hangingIndentTab() {
        QTextDocument doc;
        doc.setTextWidth(200);
        LoadRtfInto(&doc,
                    "{\\rtf1 \\pard\\li360\\fi-240 \\'95\\tab word word word word word word word "
                    "word word word word word word\\par}");
        doc.documentLayout(); // lays the blocks out
        const QTextLayout* l = doc.begin().layout();
        QVERIFY(l->lineCount() > 1);
        QCOMPARE(l->lineAt(0).cursorToX(2), l->lineAt(1).x());
    }

    void embeddedPictures_data() {
        QTest::addColumn<QByteArray>("pict"); // inside {\pict ...}, before the data
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSizeF>("shown"); // empty: no picture

        auto row = [](const char* name, const char* pict, const char* format, QSizeF shown) {
            QTest::newRow(name) << QByteArray(pict) << QByteArray(format) << shown;
        };
        row("png natural size", "\\pngblip", "PNG", QSizeF(16, 8));
        row("jpeg with goals", "\\jpegblip\\picwgoal600\\pichgoal150", "JPEG", QSizeF(40, 10));
        row("width goal keeps aspect", "\\pngblip\\picwgoal480", "PNG", QSizeF(32, 16));
        row("scaled", "\\pngblip\\picscalex50\\picscaley200", "PNG", QSizeF(8, 16));
        row("png data as jpeg", "\\jpegblip", "PNG", QSizeF());
        row("no blip kind", "", "PNG", QSizeF());
    }

    void embeddedPictures() {
        QFETCH(QByteArray, pict);
        QFETCH(QByteArray, format);
        QFETCH(QSizeF, shown);
        QTextDocument doc;
        // Groups inside the picture (here one Word writes) must not feed its data.
        LoadRtfInto(&doc, "{\\rtf1 a{\\pict{\\*\\blipuid 0123abcd}" + pict + "\n" +
                              imageBytes(format.constData()).toHex() + "}b}");
        const QList<QTextFragment> f = fragments(doc);
        if (shown.isEmpty()) {
            QCOMPARE(plainOf(doc), QString("ab"));
            return;
        }
        QCOMPARE(f.size(), 3);
        QVERIFY(f[1].charFormat().isImageFormat());
        const QTextImageFormat im = f[1].charFormat().toImageFormat();
        QCOMPARE(QSizeF(im.width(), im.height()), shown);
        QCOMPARE(doc.resource(QTextDocument::ImageResource, QUrl(im.name())).value<QImage>().size(),
                 QSize(16, 8));
    }

    // A page cut off anywhere shows the beginning of what the whole page shows.
    void truncatedPageIsPrefix() {
        const QByteArray page = samplePage();
        QTextDocument full;
        LoadRtfInto(&full, page);
        const QString whole = plainOf(full);
        QVERIFY(whole.startsWith("Title\nТекст текст under\u00A0{x}"));
        QVERIFY(whole.endsWith("Last words.\n"));
        for (qsizetype n = 0; n < page.size(); n += (n < 600 ? 1 : 7)) {
            // A cut inside a control word can make another word of it (pard cut
            // to par); cut only where a word would end anyway.
            if (QChar(page[n]).isLetterOrNumber()) continue;
            QTextDocument doc;
            LoadRtfInto(&doc, page.left(n));
            const QString part = plainOf(doc);
            QVERIFY2(whole.startsWith(part), qPrintable(QStringLiteral("cut at %1").arg(n)));
        }
    }

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
    void pagePictures() {
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

QTEST_MAIN(TestRtf)
#include "test_rtf.moc"

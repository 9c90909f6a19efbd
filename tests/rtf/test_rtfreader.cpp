#include "rtf/rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
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

struct Frag {
    QString text;
    QTextCharFormat format;
};

QList<Frag> fragments(const QTextDocument& doc) {
    QList<Frag> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat()});
    return out;
}

const char kFontHead[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                         "{\\f1\\froman\\fcharset204 Times New Roman;}{\\f2\\fcharset238 Tahoma;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}";

} // namespace

namespace {
QByteArray samplePage() {
    QByteArray rtf = kFontHead;
    rtf += "{\\*\\generator Writer 1.0;}{\\info{\\title Sample}}"
           "\\pard\\qc\\b\\fs32\\cf1 Title\\par\\pard\\fi360\\sa120\\f1 ";
    for (int i = 0; i < 20; ++i)
        rtf += "\\'d2\\'e5\\'ea\\'f1\\'f2 {\\i \\u1090?\\u1077?\\u1082?\\u1089?\\u1090?} "
               "\\ul under\\ulnone\\~\\{x\\} \\tab end\\line ";
    rtf += "\\par{\\pict\\pngblip\\picwgoal300\\pichgoal300 ";
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::green);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    rtf += png.toHex() + "}\\par Last words.\\par}";
    return rtf;
}
} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void charFormats_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("props"); // "text[properties]" of every fragment

        QTest::newRow("bold") << QByteArray("\\b x\\b0 y") << "x[b] y[]";
        QTest::newRow("group restores") << QByteArray("{\\i x}y") << "x[i] y[]";
        QTest::newRow("underlines")
            << QByteArray("\\ul a\\ulnone b\\uldb c\\ul0 d") << "a[u] b[] c[u] d[]";
        QTest::newRow("strike") << QByteArray("\\strike x") << "x[s]";
        QTest::newRow("half points") << QByteArray("\\fs21 x") << "x[fs=10.5]";
        QTest::newRow("font switch") << QByteArray("\\f2 x") << "x[font=Tahoma]";
        QTest::newRow("unknown font keeps none") << QByteArray("\\f9 x") << "x[nofont]";
        QTest::newRow("colour, auto colour") << QByteArray("\\cf2 a\\cf0 b") << "a[fg=#008000] b[]";
        QTest::newRow("colour out of table") << QByteArray("\\cf7 x") << "x[]";
        QTest::newRow("highlight, cb")
            << QByteArray("\\highlight1 a\\cb2 b") << "a[bg=#ff0000] b[bg=#008000]";
        QTest::newRow("plain resets")
            << QByteArray("\\b\\i\\fs40\\cf1 a\\plain x") << "a[b i fs=20 fg=#ff0000] x[]";
    }

    void charFormats() {
        QFETCH(QByteArray, body);
        QFETCH(QString, props);
        QTextDocument doc;
        LoadRtfInto(&doc, kFontHead + body + "}");
        QStringList got;
        for (const Frag& f : fragments(doc))
            got << f.text + '[' + describe(f.format) + ']';
        QCOMPARE(got.join(' '), props);
    }

    void text_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("plain");

        QTest::newRow("braces and backslash")
            << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << "a{b}c\\d";
        QTest::newRow("nbsp, soft and hard hyphen")
            << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << QString("a\u00A0b\u00ADc\u2011d");
        QTest::newRow("tab and line")
            << QByteArray("{\\rtf1 a\\tab b\\line c}") << QString("a\tb\u2028c");
        QTest::newRow("par") << QByteArray("{\\rtf1 a\\par b}") << "a\nb";
        QTest::newRow("escaped line end is par") << QByteArray("{\\rtf1 a\\\r\nb}") << "a\nb";
        QTest::newRow("raw line ends ignored") << QByteArray("{\\rtf1 a\r\nb\nc}") << "abc";
        QTest::newRow("u with fallback") << QByteArray("{\\rtf1 \\u1055?\\u1088?}") << "Пр";
        QTest::newRow("u fallback hex")
            << QByteArray("{\\rtf1\\ansicpg1251 \\u1088\\'f0x}") << "рx";
        QTest::newRow("uc2") << QByteArray("{\\rtf1\\uc2 \\u1055??x}") << "Пx";
        QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0 \\u1055 x}") << "Пx";
        QTest::newRow("uc scoped") << QByteArray("{\\rtf1{\\uc0 \\u1055}\\u1056?}") << "ПР";
        QTest::newRow("u negative") << QByteArray("{\\rtf1 \\u-3913?}") << QString(QChar(0xF0B7));
        QTest::newRow("u surrogate pair")
            << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("u lone surrogate")
            << QByteArray("{\\rtf1 \\u-10179?x}") << QString(QChar(0xFFFD)) + "x";
        QTest::newRow("u control dropped") << QByteArray("{\\rtf1 a\\u10?b\\u0?c}") << "abc";
        QTest::newRow("u skip stops at brace") << QByteArray("{\\rtf1\\uc3 {\\u1055}ab}") << "Пab";
        QTest::newRow("hex by ansicpg")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'c0}") << "аА";
        QTest::newRow("hex 1252 default") << QByteArray("{\\rtf1\\ansi \\'e0\\'80}") << "à€";
        QTest::newRow("hex by fcharset204")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'e0\\f1\\'e0}")
            << "àа";
        QTest::newRow("deff gives code page")
            << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\'fd}") << "э";
        QTest::newRow("cpg beats charset")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0\\'fd}") << "э";
        QTest::newRow("raw high byte") << QByteArray("{\\rtf1\\ansicpg1251 \xcf\xf0}") << "Пр";
        QTest::newRow("bad hex ignored") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb";
        QTest::newRow("named characters")
            << QByteArray(
                   "{\\rtf1 \\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet}")
            << QString("\u2018a\u2019\u201Cb\u201D\u2014\u2013\u2022");
        QTest::newRow("unknown words ignored")
            << QByteArray("{\\rtf1\\foo12\\bar-3 x\\zz y}") << "xy";
        QTest::newRow("ignorable destination")
            << QByteArray("{\\rtf1 a{\\*\\foo hidden {deep}}b}") << "ab";
        QTest::newRow("ignorable known word still skipped")
            << QByteArray("{\\rtf1 a{\\*\\b hidden}b}") << "ab";
        QTest::newRow("skipped destinations")
            << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H}"
                          "{\\footerr F}{\\footnote N}{\\colortbl;\\red1\\green2\\blue3;}x}")
            << "x";
        QTest::newRow("field shows result")
            << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt site}}}") << "site";
        QTest::newRow("shppict shown, nonshppict not")
            << QByteArray("{\\rtf1 a{\\*\\shppict b}{\\nonshppict c}d}") << "abd";
        QTest::newRow("wmf picture skipped")
            << QByteArray("{\\rtf1 a{\\pict\\wmetafile8 0102}b}") << "ab";
        QTest::newRow("bin skipped") << QByteArray("{\\rtf1 a{\\*\\foo\\bin3 }}{}b}") << "ab";
        QTest::newRow("bin in text skipped") << QByteArray("{\\rtf1 a\\bin2 {{b}") << "ab";
        QTest::newRow("bin longer than data") << QByteArray("{\\rtf1 a\\bin999 xyz") << "a";
        QTest::newRow("after the document") << QByteArray("{\\rtf1 a}tail{b}") << "a";
        QTest::newRow("stray close brace") << QByteArray("{\\rtf1 a{b}}}c") << "ab";
        QTest::newRow("space delimiter eaten once") << QByteArray("{\\rtf1\\b  x}") << " x";
        QTest::newRow("digits end word") << QByteArray("{\\rtf1\\fs24x}") << "x";
        QTest::newRow("cell and row") << QByteArray("{\\rtf1 a\\cell b\\row c}") << "a\tb\nc";
        QTest::newRow("huge parameter")
            << QByteArray("{\\rtf1\\fs99999999999999 x\\u99999999999?y}") << "xy";
        QTest::newRow("empty") << QByteArray("") << "";
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
        QTest::newRow("centre carried on")
            << QByteArray("\\qc a\\par b") << "c 0 0 0 0 0|c 0 0 0 0 0";
        QTest::newRow("pard resets")
            << QByteArray("\\qr\\li300 a\\par\\pard b") << "r 20 0 0 0 0|l 0 0 0 0 0";
        QTest::newRow("justify") << QByteArray("\\qj a") << "j 0 0 0 0 0";
        QTest::newRow("indents and spacing")
            << QByteArray("\\li720\\ri360\\fi-180\\sb240\\sa120 a") << "l 48 24 -12 16 8";
        QTest::newRow("props at the paragraph end count")
            << QByteArray("a\\qc\\par b") << "c 0 0 0 0 0|c 0 0 0 0 0";
        QTest::newRow("last paragraph without par")
            << QByteArray("a\\par\\qr b") << "l 0 0 0 0 0|r 0 0 0 0 0";
    }

    void paragraphs() {
        QFETCH(QByteArray, body);
        QFETCH(QString, blocks);
        QTextDocument doc;
        LoadRtfInto(&doc, "{\\rtf1 " + body + "}");
        QStringList got;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QTextBlockFormat f = b.blockFormat();
            const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
            const char* align = a == Qt::AlignHCenter   ? "c"
                                : a == Qt::AlignRight   ? "r"
                                : a == Qt::AlignJustify ? "j"
                                                        : "l";
            got << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(align)
                       .arg(f.leftMargin())
                       .arg(f.rightMargin())
                       .arg(f.textIndent())
                       .arg(f.topMargin())
                       .arg(f.bottomMargin());
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

    void pictures_data() {
        QTest::addColumn<QByteArray>("pict"); // inside {\pict ...}, before the data
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSizeF>("shown"); // empty: no picture

        QTest::newRow("png natural size")
            << QByteArray("\\pngblip") << QByteArray("PNG") << QSizeF(16, 8);
        QTest::newRow("jpeg with goals") << QByteArray("\\jpegblip\\picwgoal600\\pichgoal150")
                                         << QByteArray("JPEG") << QSizeF(40, 10);
        QTest::newRow("width goal keeps aspect")
            << QByteArray("\\pngblip\\picwgoal480") << QByteArray("PNG") << QSizeF(32, 16);
        QTest::newRow("scaled") << QByteArray("\\pngblip\\picscalex50\\picscaley200")
                                << QByteArray("PNG") << QSizeF(8, 16);
        QTest::newRow("png data as jpeg")
            << QByteArray("\\jpegblip") << QByteArray("PNG") << QSizeF();
        QTest::newRow("dib not shown")
            << QByteArray("\\dibitmap0") << QByteArray("PNG") << QSizeF();
        QTest::newRow("no blip kind") << QByteArray("") << QByteArray("PNG") << QSizeF();
    }

    void pictures() {
        QFETCH(QByteArray, pict);
        QFETCH(QByteArray, format);
        QFETCH(QSizeF, shown);
        QImage img(16, 8, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QByteArray data;
        QBuffer buf(&data);
        buf.open(QIODevice::WriteOnly);
        QVERIFY(img.save(&buf, format.constData()));

        QTextDocument doc;
        // Groups inside the picture (here one Word writes) must not feed its data.
        LoadRtfInto(&doc,
                    "{\\rtf1 a{\\pict{\\*\\blipuid 0123abcd}" + pict + "\n" + data.toHex() + "}b}");
        const QList<Frag> f = fragments(doc);
        if (shown.isEmpty()) {
            QCOMPARE(plainOf(doc), QString("ab"));
            return;
        }
        QCOMPARE(f.size(), 3);
        QVERIFY(f[1].format.isImageFormat());
        const QTextImageFormat im = f[1].format.toImageFormat();
        QCOMPARE(QSizeF(im.width(), im.height()), shown);
        QCOMPARE(doc.resource(QTextDocument::ImageResource, QUrl(im.name())).value<QImage>().size(),
                 QSize(16, 8));
    }

    void nesting_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("plain");

        QTest::newRow("at the limit") << kRtfMaxGroupDepth << true << "aXb";
        QTest::newRow("one beyond") << kRtfMaxGroupDepth + 1 << true << "ab";
        QTest::newRow("never closed") << 1000 << false << "a";
    }

    void nesting() {
        QFETCH(int, depth);
        QFETCH(bool, closed);
        QFETCH(QString, plain);
        // The document group is the first level.
        QByteArray rtf = "{\\rtf1 a" + QByteArray(depth - 1, '{') + "\\b X";
        if (closed) rtf += QByteArray(depth - 1, '}') + "b}";
        QTextDocument doc;
        LoadRtfInto(&doc, rtf);
        QCOMPARE(plainOf(doc), plain);
        // What follows a skipped part has the format of its own level.
        for (const Frag& f : fragments(doc))
            if (f.text.endsWith('b')) QCOMPARE(f.format.fontWeight() == QFont::Bold, false);
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
            if (!whole.startsWith(part))
                QFAIL(qPrintable(QString("cut at %1 (%2) gives \"%3\"")
                                     .arg(n)
                                     .arg(QString::fromLatin1(page.mid(n - 30, 30)))
                                     .arg(part)));
        }
    }
};

QTEST_MAIN(TestRtfReader)
#include "test_rtfreader.moc"

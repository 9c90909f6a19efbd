// Layout, highlights and scrolling rules of the sintagm view, run without
// painting over a fake measurer (10 pixels per character); the view as a
// widget: what its paints put into the off-screen picture, a click reaching
// its signal, and what a screen reader hears when the current sintagm moves.
#include "common/testenv.h"
#include "controls/accessiblecontrols.h"
#include "text/sintagmcore.h"
#include "text/textsintagm.h"

#include <QAccessible>
#include <QtTest>

namespace {

int tenPerChar(QStringView s) {
    return int(s.size()) * 10;
}

// Pictures named "gone..." do not load.
TSintagmLayout layout(const QStringList& text, int width) {
    return LayoutSintagms(text, width, tenPerChar,
                          [](const QString& name) { return !name.startsWith("gone"); });
}

QStringList rowTexts(const TSintagmLayout& l) {
    QStringList out;
    for (int r = 0; r <= l.LastRow; ++r)
        out << l.Rows[r].RowText;
    return out;
}

QStringList lessonLines(int n) {
    QStringList t{"#Title"};
    for (int i = 1; i < n; ++i)
        t << QStringLiteral("sintagm number %1").arg(i);
    return t;
}

} // namespace

namespace {

// Counts pixels of a colour (close to it: text is anti-aliased) in a band of rows.
int countColour(const QImage& img, QRgb c, int y0, int y1, int tolerance = 60) {
    int n = 0;
    for (int y = qMax(0, y0); y < qMin(img.height(), y1); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qAbs(qRed(p) - qRed(c)) + qAbs(qGreen(p) - qGreen(c)) + qAbs(qBlue(p) - qBlue(c)) <
                tolerance)
                ++n;
        }
    return n;
}

// Shows `v` at 400 x 300 with `text` in 16-pixel Arial, without margins.
void showText(TTextSintagm& v, const QStringList& text) {
    QFont f("Arial");
    f.setPixelSize(16);
    v.resize(400, 300);
    v.setTextFont(f);
    v.SetMargins(0, 0, 0, 0);
    v.setText(text);
    v.show();
}

} // namespace

class TestSintagm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Row texts, and the spans "line=firstRow,firstCol-lastRow,lastCol" of the lines asked.
    void rows_data() {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("spans");
        QTest::newRow("title, two words, lone hash, next")
            << QStringList{"#Title", "two words", "#", "next"} << 500
            << QStringList{"", "", "Title", "two words ", "", "next "}
            << QStringList{"0=2,1-2,5", "1=3,0-3,10", "2=4,1-4,0", "3=5,0-5,5"};
        // The second on a shared row starts at the blank.
        QTest::newRow("two sintagms share a row")
            << QStringList{"#T", "ab cd", "ef"} << 500 << QStringList{"", "", "T", "ab cd ef "}
            << QStringList{"1=3,0-3,6", "2=3,6-3,9"};
        // A wrapped first word starts on the row before.
        QTest::newRow("first word wraps")
            << QStringList{"#T", "abc de", "fghij"} << 80
            << QStringList{"", "", "T", "abc de ", "fghij "} << QStringList{"2=3,7-4,6"};
        QTest::newRow("over-wide word stays whole")
            << QStringList{"#T", "a verylongword b"} << 50
            << QStringList{"", "", "T", "a ", "verylongword ", "b "} << QStringList{};
        QTest::newRow("fits exactly") << QStringList{"#T", "abcd efg"} << 80
                                      << QStringList{"", "", "T", "abcd efg "} << QStringList{};
        QTest::newRow("picture row")
            << QStringList{"#T", "one", "#@p.bmp", "two"} << 500
            << QStringList{"", "", "T", "one ", "@0", "two "} << QStringList{"2=4,1-4,2"};
        // A picture that does not load stops the layout there.
        QTest::newRow("missing picture")
            << QStringList{"#T", "one two", "#@gone.bmp", "three", "four"} << 500
            << QStringList{"", "", "T", "one two "} << QStringList{"1=3,0-3,8"};
        QTest::newRow("text ends with hash")
            << QStringList{"#T", "one", "#"} << 500 << QStringList{"", "", "T", "one ", "", ""}
            << QStringList{};
    }

    void rows() {
        QFETCH(QStringList, text);
        QFETCH(int, width);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, spans);
        TSintagmLayout l = layout(text, width);
        QCOMPARE(rowTexts(l), rows);
        const bool stopped = QTest::currentDataTag() == QString("missing picture");
        QCOMPARE(l.LinesLaid, stopped ? 2 : int(text.size()));
        // Every row gets its characters' attributes, a current line never laid
        // out included.
        TLooks looks;
        looks.Position = int(text.size()) - 1;
        ApplyLooks(l, looks);
        for (const TSintagmRow& r : l.Rows) {
            QString chars;
            for (const TCharAttr& a : r.Attrs.mid(1))
                chars += a.Ch;
            QCOMPARE(chars, r.RowText);
        }
        for (const QString& want : spans) {
            const TSintagmSpan& s = l.Spans[want.section('=', 0, 0).toInt()];
            QCOMPARE(QStringLiteral("%1=%2,%3-%4,%5")
                         .arg(want.section('=', 0, 0))
                         .arg(s.FirstRow)
                         .arg(s.FirstCol)
                         .arg(s.LastRow)
                         .arg(s.LastCol),
                     want);
        }
    }

    // Looks of row 3 ("ab cd ef gh ") after the highlights, one letter per char:
    // p plain, m marked range, s current sintagm.
    void highlights_data() {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<int>("nBegin");
        QTest::addColumn<int>("nEnd");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("looks");
        // spans on row 3: line 1 cols 0..3 ("ab "), line 2 cols 3..6, line 3 cols 6..9, line
        // 4 9..12
        QTest::newRow("current only") << false << 1 << 3 << 2 << "ppssssppppp";
        QTest::newRow("range without flag ignored") << false << 1 << 3 << 0 << "pppppppppppp";
        QTest::newRow("range") << true << 1 << 2 << 0 << "mmmmmmpppppp";
        QTest::newRow("current wins over range") << true << 1 << 3 << 2 << "mmssssmmmppp";
        QTest::newRow("range backwards draws nothing") << true << 3 << 1 << 0 << "pppppppppppp";
    }

    void highlights() {
        QFETCH(bool, flag);
        QFETCH(int, nBegin);
        QFETCH(int, nEnd);
        QFETCH(int, position);
        QFETCH(QString, looks);
        TSintagmLayout l = layout({"#T", "ab", "cd", "ef", "gh"}, 500);
        QCOMPARE(l.Rows[3].RowText, QString("ab cd ef gh "));
        TLooks lk;
        lk.Font = {0, qRgb(0, 0, 0)};
        lk.Sel = {fsUnderline, qRgb(255, 0, 0)};
        lk.Mult = {0, qRgb(0, 0, 255)};
        lk.FlagSelMultSint = flag;
        lk.NBegin = nBegin;
        lk.NEnd = nEnd;
        lk.Position = position;
        ApplyLooks(l, lk);
        QString got;
        for (int k = 1; k < l.Rows[3].Attrs.size(); ++k) {
            const TTextLook a = l.Rows[3].Attrs[k].look();
            got += a == lk.Sel ? 's' : a == lk.Mult ? 'm' : 'p';
        }
        QCOMPARE(got.left(looks.size()), looks);
        if (position == 0) QCOMPARE(l.Rows[2].Attrs[1].look(), lk.Sel);
    }

    // Row positions round the pitch and the offset each to the nearest; the
    // scroll step grows with the distance, never overshoots, and is signed.
    void scrollArithmetic() {
        QCOMPARE(RowY(0, 16, 1.25, 3, 0.0), 60);
        QCOMPARE(RowY(0, 16, 1.25, 3, -10.6), 49);
        QCOMPARE(RowY(0, 13, 0.75, 3, 0.0), 29);
        QCOMPARE(RowY(0, 13, 0.75, 2, 0.0), 20); // half rounds up
        const QList<QPair<int, double>> steps{{1000, 761.43}, {1049, 1049.0}, {1, 1.0}};
        for (const auto& [d, step] : steps) {
            const double down = ScrollDelta(d, 30000, 199);
            QVERIFY2(qAbs(-down - step) < step * 0.002, qPrintable(QString::number(down)));
            QCOMPARE(ScrollDelta(-d, 30000, 199), -down);
        }
        QCOMPARE(ScrollDelta(0, 30000, 199), 0.0);
    }

    void settles_data() {
        QTest::addColumn<int>("posScreen");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("sinDown");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("top"); // where the current sintagm's first row settles
        QTest::newRow("33 of 199") << 33 << 199 << false << 20 << 65;
        QTest::newRow("0: at the top") << 0 << 300 << false << 12 << 0;
        // Line 21 spans three rows: its last row settles at the line, so the first
        // lies two pitches (2 * 13) above it.
        QTest::newRow("sinDown three rows") << 50 << 200 << true << 21 << 100 - 26;
        QTest::newRow("sinDown heading") << 50 << 200 << true << 20 << 100;
        QTest::newRow("sinDown lone hash") << 50 << 200 << true << 22 << 100 - 13;
    }

    void settles() {
        QFETCH(int, posScreen);
        QFETCH(int, height);
        QFETCH(bool, sinDown);
        QFETCH(int, position);
        QFETCH(int, top);
        TSintagmCore c;
        c.setMeasure(tenPerChar, 13);
        c.setSize(150, height);
        QStringList t = lessonLines(40);
        t[20] = "#Heading";
        t[21] = "aaaa bbbb cccc dddd eeee ffff"; // three rows in 110 pixels
        t[22] = "#";
        c.setText(t);
        c.setK_Speed(30000);
        c.setPosScreen(posScreen);
        c.setSinDown(sinDown);
        c.setPosition(position);
        c.Prepare();
        int ticks = 0;
        while (c.Tick() && ticks < 2000)
            ++ticks;
        QVERIFY(ticks < 2000);
        QCOMPARE(c.CurrentTop(), top);
        QVERIFY(!c.Scrolling());
        QVERIFY(!c.Tick()); // settled: no further repaint
    }

    void pictureRowIndex() {
        // Row text -> picture number, -1 for a text row or a number too long for an int.
        const QList<QPair<QString, int>> rows{
            {"@0", 0}, {"@1000000000", 1000000000}, {"@10000000000", -1}, {"@", -1}, {"@1x", -1},
            {"x1", -1}};
        for (const auto& [text, n] : rows)
            QVERIFY2(PictureRowIndex(text) == n, qPrintable(text));
    }

    void lineAt() {
        TSintagmCore c;
        c.setMeasure(tenPerChar, 16);
        c.setMargins(0, 0, 0, 0);
        c.setSize(500, 200);
        c.setText({"#Title", "ab cd", "ef", "#", "gh"});
        c.Prepare();
        // Row 3 at y 48 (pitch 16) holds "ab cd ef ".
        QCOMPARE(c.LineAt(5, 50), 1);
        QCOMPARE(c.LineAt(5, 48), 1); // a row's first pixel row is its own
        QCOMPARE(c.LineAt(65, 50), 2);
        QCOMPARE(c.LineAt(25, 35), 0);  // the title row
        QCOMPARE(c.LineAt(95, 50), -1); // beyond the row's text
        QCOMPARE(c.LineAt(5, 85), 4);
        QCOMPARE(c.LineAt(5, 190), -1);
        c.TextRef(); // the caller may change the list: laid out afresh before use
        QVERIFY(c.needsLayout());
        QCOMPARE(c.LineAt(5, 50), -1);
    }

    void initTestCase() { testenv::PrivateHome(); }

    void highlightColours() {
        TTextSintagm v;
        showText(v, {"#Title", "first line", "#", "second line", "#", "third line"});
        v.setHeightIntervString(is1_25);
        v.setPosition(3);
        v.setNBegin(5);
        v.setNEnd(5);
        v.setFlagSelMultSint(true);
        v.Paint();
        const QImage& f = v.Frame();
        // Rows: 2 title (y 40), 3 first (60), 4 blank, 5 second (100), 6 blank, 7 third (140).
        const int pitch = 20;
        auto band = [&](int row) { return std::pair(row * pitch, row * pitch + pitch); };
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        // The current sintagm drawn red and the marked one blue, on their own rows.
        QVERIFY(countColour(f, red, band(5).first, band(5).second) > 20);
        QVERIFY(countColour(f, blue, band(7).first, band(7).second) > 20);
        QCOMPARE(countColour(f, red, band(7).first, band(7).second), 0);
    }

    // Lines 1 and 3 are sintagms; each paint after a move says the new one
    // once, and a paint with the same current sintagm says nothing.
    void announcesCurrent() {
        TTextSintagm v;
        showText(v, {"#Title", "first words", "#", "second words"});
        v.setPosition(1);
        v.Paint();
        // Without a reader Qt drops accessibility events, so no update
        // handler would see them; the program's sink sees what it sends.
        QStringList heard;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.object() == &v && e.type() == QAccessible::DescriptionChanged)
                heard << QAccessible::queryAccessibleInterface(&v)->text(QAccessible::Description);
        });
        for (int p : {1, 3, 3, 1}) {
            v.setPosition(p);
            v.Paint();
        }
        SetAccessibleEventSink({});
        QCOMPARE(heard, (QStringList{"second words", "first words"}));
    }

    void clickReportsLine() {
        TTextSintagm v;
        showText(v, {"#Title", "first", "#", "second"});
        v.Paint();
        QSignalSpy spy(&v, &TTextSintagm::LineClicked);
        QTest::mouseClick(&v, Qt::LeftButton, {}, QPoint(5, 5 * 16 + 8)); // row 5
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), 3);
    }
};

QTEST_MAIN(TestSintagm)
#include "test_sintagm.moc"

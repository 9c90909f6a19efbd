// Layout, highlights, scrolling and property rules of the sintagm view,
// run without painting over a fake measurer (10 pixels per character).
#include "text/sintagmcore.h"

#include <QtTest>

namespace {

int tenPerChar(QStringView s) {
    return int(s.size()) * 10;
}

TSintagmLayout layout(const QStringList& text, int width, bool picturesLoad = true) {
    return LayoutSintagms(text, width, tenPerChar,
                          [picturesLoad](const QString&) { return picturesLoad; });
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

class TestSintagmLayout : public QObject {
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
        QTest::newRow("text ends with hash")
            << QStringList{"#T", "one", "#"} << 500 << QStringList{"", "", "T", "one ", "", ""}
            << QStringList{};
    }

    void rows() {
        QFETCH(QStringList, text);
        QFETCH(int, width);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, spans);
        const TSintagmLayout l = layout(text, width);
        QCOMPARE(rowTexts(l), rows);
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

    void missingPicture() {
        QStringList loaded;
        TSintagmLayout l = LayoutSintagms({"#T", "one two", "#@gone.bmp", "three", "four"}, 500,
                                          tenPerChar, [&](const QString& n) {
                                              loaded << n;
                                              return false;
                                          });
        QCOMPARE(loaded, QStringList{"gone.bmp"});
        QCOMPARE(l.LinesLaid, 2);
        QCOMPARE(rowTexts(l), QStringList({"", "", "T", "one two "}));
        TLooks looks;
        looks.Position = 3; // a line that was never laid out
        ApplyLooks(l, looks);
        for (int r = 0; r <= l.LastRow; ++r)
            QCOMPARE(l.Rows[r].Attrs.size(), l.Rows[r].RowText.size() + 1);
        QCOMPARE(l.Rows[3].Attrs[1].Ch, QChar('o'));
        QCOMPARE(l.Rows[3].Attrs[1].look(), looks.Font);
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

    void rangeSetters_data() {
        QTest::addColumn<QList<int>>("writes"); // (0 = NBegin, 1 = NEnd, value) pairs
        QTest::addColumn<int>("nBegin");
        QTest::addColumn<int>("nEnd");
        QTest::newRow("NBegin 4 from 0,0") << QList<int>{0, 4} << 4 << 4;
        QTest::newRow("then NEnd 2") << QList<int>{0, 4, 1, 2} << 2 << 4;
        QTest::newRow("then NBegin 7") << QList<int>{0, 4, 1, 2, 0, 7} << 4 << 7;
        QTest::newRow("NBegin below NEnd") << QList<int>{1, 5, 0, 3} << 3 << 5;
        QTest::newRow("out of range ignored") << QList<int>{0, 4, 0, 10, 1, -1} << 4 << 4;
    }

    void rangeSetters() {
        QFETCH(QList<int>, writes);
        QFETCH(int, nBegin);
        QFETCH(int, nEnd);
        TSintagmCore c;
        c.setText(lessonLines(10));
        for (int i = 0; i + 1 < writes.size(); i += 2)
            writes[i] == 0 ? c.setNBegin(writes[i + 1]) : c.setNEnd(writes[i + 1]);
        QCOMPARE(c.NBegin(), nBegin);
        QCOMPARE(c.NEnd(), nEnd);
    }

    void simpleSetters() {
        TSintagmCore c;
        QVERIFY(!c.setPosition(0)); // empty text: ignored
        QVERIFY(!c.setNBegin(0));
        c.setText(lessonLines(5));
        QVERIFY(!c.setPosition(1)); // unchanged
        QVERIFY(!c.setPosition(5)); // past the end
        QVERIFY(!c.setPosition(-1));
        QCOMPARE(c.Position(), 1);
        QVERIFY(c.setPosition(4));
        QCOMPARE(c.Position(), 4);
        c.setPosScreen(150);
        QCOMPARE(c.PosScreen(), 100);
        c.setPosScreen(-5);
        QCOMPARE(c.PosScreen(), 0);
        c.setPosScreen(33);
        QCOMPARE(c.PosScreen(), 33);
        c.Prepare();
        QVERIFY(!c.needsLayout());
        c.TextRef();
        QVERIFY(c.needsLayout()); // the caller may have changed the list
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
        QCOMPARE(c.LineAt(65, 50), 2);
        QCOMPARE(c.LineAt(25, 35), 0);  // the title row
        QCOMPARE(c.LineAt(95, 50), -1); // beyond the row's text
        QCOMPARE(c.LineAt(5, 85), 4);
        QCOMPARE(c.LineAt(5, 190), -1);
    }
};

QTEST_GUILESS_MAIN(TestSintagmLayout)
#include "test_sintagmlayout.moc"

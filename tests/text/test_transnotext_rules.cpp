// Layout, highlight, scroll and placement arithmetic of the listening
// practice, measured with a fixed-width fake font (10 px a character).
#include "text/transnotextrules.h"

#include <QtTest>

namespace {

int TenPx(QStringView s) {
    return int(s.size()) * 10;
}

// "row|row|..." of rows 1..RowCount.
QString RowsOf(const TListenLayout& l) {
    QStringList out;
    for (int r = 1; r <= l.RowCount; ++r)
        out << (r < l.Rows.size() ? l.Rows[r] : "<missing>");
    return out.join('|');
}

QString SpanText(const TSintagmSpan& s) {
    return QStringLiteral("%1,%2-%3,%4")
        .arg(s.FirstRow)
        .arg(s.FirstCol)
        .arg(s.LastRow)
        .arg(s.LastCol);
}

} // namespace

class TestTransNoTextRules : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void layout_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("spans"); // lines 1..N

        QTest::newRow("title, sintagm, hash, sintagm")
            << QStringList{"#Title", "One two", "#", "Three"} << 100 << "||One two ||Three "
            << QStringList{"0,0-0,0", "3,0-3,8", "0,0-0,0", "5,0-5,6"};
        QTest::newRow("wrap at the width")
            << QStringList{"aa bb cc"} << 60 << "aa bb |cc " << QStringList{"1,0-2,3"};
        QTest::newRow("two sintagms share a row")
            << QStringList{"ab", "cd"} << 100 << "ab cd " << QStringList{"1,0-1,3", "1,3-1,6"};
        QTest::newRow("first word no longer fits")
            << QStringList{"abcd", "efgh"} << 60 << "abcd |efgh "
            << QStringList{"1,0-1,5", "1,5-2,5"};
        QTest::newRow("empty line is an empty sintagm")
            << QStringList{"", "x"} << 100 << " x " << QStringList{"1,0-1,1", "1,1-1,3"};
        QTest::newRow("heading text is not shown")
            << QStringList{"#Heading words", "#@pic.bmp", "a"} << 100 << "||||a "
            << QStringList{"0,0-0,0", "0,0-0,0", "5,0-5,2"};
        QTest::newRow("word wider than the pane")
            << QStringList{"abcdefghij"} << 50 << "|abcdefghij " << QStringList{"1,0-2,11"};
        QTest::newRow("no lines") << QStringList{} << 100 << "" << QStringList{};
        // One word a row: far more rows than the three a line the pane starts with.
        QTest::newRow("grows past three rows a line")
            << QStringList{"a b c d e f g h i j k l"} << 20 << "a |b |c |d |e |f |g |h |i |j |k |l "
            << QStringList{"1,0-12,2"};
    }

    void layout() {
        QFETCH(QStringList, lines);
        QFETCH(int, width);
        QFETCH(QString, rows);
        QFETCH(QStringList, spans);
        const TListenLayout l = LayoutListenPane(lines, width, TenPx);
        QCOMPARE(RowsOf(l), rows);
        QCOMPARE(l.Spans.size(), lines.size() + 1);
        QStringList got;
        for (int i = 1; i < l.Spans.size(); ++i)
            got << SpanText(l.Spans[i]);
        QCOMPARE(got, spans);
        QVERIFY(l.Rows.size() > l.RowCount);
    }

    void highlight() {
        struct Row {
            const char* name;
            TSintagmSpan span;
            int row, rowLength;
            const char* columns; // "from..to" or "none"
        };
        const Row rows[] = {
            {"one row from the blank", {1, 3, 1, 8}, 1, 8, "3..8"},
            {"one row from the start", {1, 0, 1, 4}, 1, 4, "1..4"},
            {"first of three rows", {1, 3, 3, 4}, 1, 10, "4..10"},
            {"middle row", {1, 3, 3, 4}, 2, 7, "1..7"},
            {"last row", {1, 3, 3, 4}, 3, 9, "1..4"},
            {"row after", {1, 3, 3, 4}, 4, 9, "none"},
            {"row before", {2, 0, 3, 4}, 1, 9, "none"},
            {"hash line span", {0, 0, 0, 0}, 0, 0, "none"},
            {"first row ends at its start", {1, 6, 2, 3}, 1, 6, "none"},
            {"span past a shorter row", {1, 0, 1, 9}, 1, 5, "1..5"},
        };
        for (const Row& r : rows) {
            int from = -1, to = -1;
            const bool any = HighlightColumns(r.span, r.row, r.rowLength, from, to);
            QCOMPARE(QString(r.name) + ": " +
                         (any ? QStringLiteral("%1..%2").arg(from).arg(to) : "none"),
                     QString(r.name) + ": " + r.columns);
        }
    }

    // The scroll follows the playback through the rows; the drift adds a quarter
    // of itself, rounded; a lesson of no length has only the drift.
    void scroll() {
        QCOMPARE(ListenScroll(2500, 5000, 10, 0), 100);
        QCOMPARE(ListenScroll(2500, 5000, 10, 6), 102);
        QCOMPARE(ListenScroll(0, 0, 10, -6), -2);
    }

    // Wide enough, the width decides and the window is centred vertically; too
    // low, the height decides and it is centred horizontally. The paint box for
    // the window's pane height.
    void placement() {
        QCOMPARE(ListenPlacement(0, 0, 1000, 700), QRect(0, 42, 1000, 615));
        QCOMPARE(ListenPaintBoxSize(615 - kListenPanelNavF), QSize(450, 508));
        QCOMPARE(ListenPlacement(10, 20, 1000, 400), QRect(210, 20, 600, 400));
        QCOMPARE(ListenPaintBoxSize(400 - kListenPanelNavF), QSize(250, 293));
    }
};

QTEST_GUILESS_MAIN(TestTransNoTextRules)
#include "test_transnotext_rules.moc"

// The printed report's layout on a 1200 x 1800 page: rows, columns, rules,
// page breaks, page numbers and the header with its date line.
#include "learners/printlayout.h"

#include <QtTest>

namespace {

QList<PrintItem> Rows(int n, int kind = 1, bool done = true) {
    QList<PrintItem> l;
    for (int i = 1; i <= n; ++i)
        l << PrintItem{kind, QStringLiteral("Row %1").arg(i), done, 0};
    return l;
}

QList<PrintOp> Lay(const QList<PrintItem>& items, bool onlyDone = false) {
    ReportPrintData d;
    d.userName = QStringLiteral("Анна");
    d.mode = 'B';
    d.dateText = QStringLiteral("<date>");
    d.items = items;
    d.onlyDone = onlyDone;
    return LayoutReportPrint(1200, 1800, d);
}

const PrintOp* FindText(const QList<PrintOp>& ops, const QString& text) {
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Text && op.text == text) return &op;
    return nullptr;
}

// Texts per page, in order.
QList<QStringList> Pages(const QList<PrintOp>& ops) {
    QList<QStringList> pages(1);
    for (const PrintOp& op : ops) {
        if (op.kind == PrintOp::NewPage) pages.append(QStringList());
        if (op.kind == PrintOp::Text) pages.last() << op.text;
    }
    return pages;
}

const QString kIn = QStringLiteral("       ");

} // namespace

class TestPrintLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void header() {
        const QList<PrintOp> ops = Lay({});
        struct {
            QString text;
            int x, y, h;
        } expected[] = {{"Lumora", 240, 95, 60},
                        {"Имя пользователя: Анна", 60, 164, 36},
                        {"Режим работы: B;   Дата: <date>", 60, 216, 36},
                        {"Отчет.", 240, 266, 36},
                        {"1", 600, 1770, 23}};
        for (const auto& e : expected) {
            const PrintOp* op = FindText(ops, e.text);
            QVERIFY2(op, qPrintable(e.text));
            QCOMPARE(QList<int>({op->x, op->y, op->height}), QList<int>({e.x, e.y, e.h}));
        }
        // No rows: only the closing rule under row 0.
        QCOMPARE(ops.last().text, QStringLiteral("1"));
        const PrintOp& close = ops[ops.size() - 2];
        QCOMPARE(QList<int>({close.x, close.y, close.x2, close.y2}),
                 QList<int>({60, 318, 1140, 318}));
    }

    void dateText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ru") << "ru_RU"
                            << " 05, марта , 2024,   Время:  09:07 ";
        QTest::newRow("en") << "en_US"
                            << " 05, March , 2024,   Время:  09:07 ";
    }
    void dateText() {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QDateTime when(QDate(2024, 3, 5), QTime(9, 7, 59));
        QCOMPARE(PrintDateText(when, QLocale(locale)), expected);
    }

    void pages_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("47") << 47 << QList<int>{47};
        QTest::newRow("48 fill one page exactly") << 48 << QList<int>{48};
        QTest::newRow("49") << 49 << QList<int>{48, 1};
        QTest::newRow("60") << 60 << QList<int>{48, 12};
        QTest::newRow("106") << 106 << QList<int>{48, 58};
        QTest::newRow("107") << 107 << QList<int>{48, 58, 1};
    }
    void pages() {
        QFETCH(int, rows);
        QFETCH(QList<int>, perPage);
        const QList<QStringList> pages = Pages(Lay(Rows(rows)));
        QCOMPARE(pages.size(), perPage.size());
        int first = 1;
        for (int p = 0; p < pages.size(); ++p) {
            const QStringList rowTexts = pages[p].filter(QRegularExpression("^ +Row "));
            QCOMPARE(rowTexts.size(), perPage[p]);
            QCOMPARE(rowTexts.first(), kIn + QStringLiteral("Row %1").arg(first));
            first += perPage[p];
            QCOMPARE(pages[p].last(), QString::number(p + 1)); // the page number comes last
        }
        // Row 1 at 318 + 10; the first row of page 2 one row height below the top.
        const QList<PrintOp> ops = Lay(Rows(rows));
        QCOMPARE(FindText(ops, kIn + "Row 1")->y, 328);
        if (rows > 48) QCOMPARE(FindText(ops, kIn + "Row 49")->y, 40);
    }

    void columns_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QStringList>("texts"); // "x:text"
        QTest::addColumn<QList<int>>("verticals");
        const QList<int> frame = {60, 1140};
        QTest::newRow("section") << 0 << false << QStringList{"120:   Раздел: C"} << frame;
        QTest::newRow("6 done") << 6 << true
                                << QStringList{"67:" + kIn + "C", "547:Ошибок - 15%",
                                               "867:Выполнено "}
                                << QList<int>{480, 800, 60, 1140};
        QTest::newRow("6 not done")
            << 6 << false << QStringList{"67:" + kIn + "C", "867:Не выполнено"}
            << QList<int>{800, 60, 1140};
        QTest::newRow("4 done") << 4 << true << QStringList{"67:" + kIn + "C", "867:Выполнено"}
                                << QList<int>{800, 60, 1140};
        QTest::newRow("13 like 4")
            << 13 << false << QStringList{"67:" + kIn + "C", "867:Не выполнено"}
            << QList<int>{800, 60, 1140};
        QTest::newRow("7 done") << 7 << true
                                << QStringList{"67:" + kIn + "C - Выполнено, Оценка - 15"} << frame;
        QTest::newRow("9 empty frame") << 9 << true << QStringList{} << frame;
        QTest::newRow("16 empty frame") << 16 << true << QStringList{} << frame;
    }
    void columns() {
        QFETCH(int, kind);
        QFETCH(bool, done);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, verticals);
        const QList<PrintOp> ops = Lay({PrintItem{kind, "C", done, 15}});
        QStringList gotTexts;
        QList<int> gotVerticals;
        for (const PrintOp& op : ops) {
            if (op.kind == PrintOp::Text && op.y == 328) {
                gotTexts << QString::number(op.x) + ":" + op.text;
                QCOMPARE(op.height, 23);
                QVERIFY(op.right > op.x && op.right <= 1140); // clipped to its column
            }
            if (op.kind == PrintOp::Rule && op.x == op.x2) {
                QCOMPARE(QList<int>({op.y, op.y2}), QList<int>({318, 348}));
                gotVerticals << op.x;
            }
        }
        QCOMPARE(gotTexts, texts);
        QCOMPARE(gotVerticals, verticals);
        // The row's top rule and the closing rule below it.
        int horizontals = 0;
        for (const PrintOp& op : ops)
            if (op.kind == PrintOp::Rule && op.y == op.y2 && op.x == 60 && op.x2 == 1140)
                horizontals += (op.y == 318 || op.y == 348);
        QCOMPARE(horizontals, 2);
    }

    void onlyDone() {
        QList<PrintItem> items = {{0, "S1", false, 0}, {1, "A", false, 0}, {6, "B", false, 0},
                                  {0, "S2", false, 0}, {9, "E", false, 0}, {2, "D", true, 0}};
        QCOMPARE(Pages(Lay(items, true)).first().mid(4),
                 QStringList({"   Раздел: S1", "   Раздел: S2", kIn + "D", "Выполнено", "1"}));
        items.removeLast();
        QCOMPARE(Pages(Lay(items, true)).first().mid(4),
                 QStringList({"   Раздел: S1", "   Раздел: S2", "1"}));
        QCOMPARE(Pages(Lay(items, false)).first().size(), 4 + 2 + 2 + 2 + 1);
    }
};

QTEST_APPLESS_MAIN(TestPrintLayout)
#include "test_printlayout.moc"

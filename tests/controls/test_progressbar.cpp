// Picture progress bar: piece arithmetic, what lands on screen;
// the progress window; the shipped picture set.
#include "controls/formprogress.h"
#include "controls/pictures.h"
#include "controls/prgssbarzv.h"
#include "controls/progresspieces.h"

#include <QLabel>
#include <QtTest>

namespace {
QPixmap solid(int w, int h, const QColor& c) {
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

const QColor cBeginLine(10, 0, 0), cMidLine(20, 0, 0), cEndLine(30, 0, 0), cBeginScroll(0, 40, 0),
    cMidScroll(0, 50, 0), cEndScroll(0, 60, 0);

BarPictures solidBar(int w, int h) {
    return {solid(w, h, cBeginLine),   solid(w, h, cMidLine),   solid(w, h, cEndLine),
            solid(w, h, cBeginScroll), solid(w, h, cMidScroll), solid(w, h, cEndScroll)};
}

QList<int> xsOf(const QList<PiecePlacement>& list, BarPiece piece) {
    QList<int> xs;
    for (const auto& p : list)
        if (p.piece == piece) xs << p.x;
    return xs;
}

} // namespace

class TestProgressBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // in: width, begin, middle and end piece widths, min, max, pos;
    // out: fill middles (k + 1), end scroll x, end line x, track middles.
    void pieces_data() {
        QTest::addColumn<QList<int>>("in");
        QTest::addColumn<QList<int>>("out");
        // A 401-pixel bar of 10-pixel pieces: its track is the same at every position.
        auto wide = [](const char* name, int min, int max, int pos, int fill, int endScrollX) {
            QTest::newRow(name) << QList<int>{401, 10, 10, 10, min, max, pos}
                                << QList<int>{fill, endScrollX, 391, 40};
        };
        wide("401 wide, at 0", 0, 100, 0, 1, 10);
        wide("401 wide, at 100", 0, 100, 100, 39, 390);
        wide("401 wide, at 99", 0, 100, 99, 38, 380);
        wide("no span gives one step", 0, 0, 7, 2, 20);
        wide("past max stays inside", 0, 100, 250, 39, 390);
        wide("below min stays at start", 0, 100, -30, 1, 10);
        wide("huge values do not overflow", 0, 2000000000, 1999999999, 38, 380);
        wide("min not zero", 50, 150, 100, 20, 200);
        QTest::newRow("mixed widths")
            << QList<int>{200, 8, 6, 7, 0, 100, 33} << QList<int>{10, 8 + 9 * 6, 193, 33};
        QTest::newRow("narrower than its ends")
            << QList<int>{15, 10, 10, 10, 0, 100, 100} << QList<int>{1, 10, 5, 1};
    }

    void pieces() {
        QFETCH(QList<int>, in);
        QFETCH(QList<int>, out);
        const int beginW = in[1], midW = in[2], endW = in[3];
        const BarPieceSizes s{QSize(beginW, 10), QSize(midW, 10), QSize(endW, 10),
                              QSize(beginW, 6),  QSize(midW, 6),  QSize(endW, 6)};
        const auto list = LayoutBarPieces(QSize(in[0], 25), s, in[4], in[5], in[6]);
        QCOMPARE(xsOf(list, BarPiece::BeginLine), QList<int>{0});
        QCOMPARE(xsOf(list, BarPiece::EndLine), QList<int>{out[2]});
        QCOMPARE(xsOf(list, BarPiece::MidleLine).size(), out[3]);
        QCOMPARE(xsOf(list, BarPiece::BeginScroll), QList<int>{0});
        QCOMPARE(xsOf(list, BarPiece::EndScroll), QList<int>{out[1]});
        const QList<int> mids = xsOf(list, BarPiece::MidleScroll);
        QCOMPARE(mids.size(), out[0]);
        QCOMPARE(mids.first(), beginW);
        QCOMPARE(mids.last(), out[1]); // the end piece covers the last middle
        // Pieces are centred vertically; the track is drawn before the fill.
        for (const auto& p : list) {
            const bool track = p.piece == BarPiece::BeginLine || p.piece == BarPiece::MidleLine ||
                               p.piece == BarPiece::EndLine;
            QCOMPARE(p.y, track ? 12 - 5 : 12 - 3);
        }
        QCOMPARE(list.last().piece, BarPiece::EndScroll);
    }

    void missingWidthLaysOutNothing() {
        const BarPieceSizes s{QSize(10, 10), QSize(0, 10),  QSize(10, 10),
                              QSize(10, 10), QSize(10, 10), QSize(10, 10)};
        QVERIFY(LayoutBarPieces(QSize(401, 25), s, 0, 100, 50).isEmpty());
    }

    // What the 401-pixel bar puts on screen when full.
    void painting() {
        TPrgssBarZv bar;
        bar.resize(401, 25);
        bar.setPictures(solidBar(10, 11));
        bar.setMax(100);
        bar.setPosition(100);
        const QImage shot = bar.grab().toImage();
        const QList<int> xs{5, 15, 389, 390, 399, 400};
        const QList<QColor> colours{cBeginScroll, cMidScroll, cMidScroll,
                                    cEndScroll,   cEndScroll, cEndLine};
        for (int i = 0; i < xs.size(); ++i)
            QCOMPARE(shot.pixelColor(xs[i], 12), colours[i]);
    }

    void progressWindow() {
        InstallPictureProgressWindow();
        std::unique_ptr<ProgressWindow> w = MakeProgressWindow();
        auto* form = dynamic_cast<TFormProgress*>(w.get());
        QVERIFY(form);
        form->start(40);
        QVERIFY(form->isVisible());
        QCOMPARE(form->PrgssBar->Max(), 40);
        form->setPosition(30);
        QCOMPARE(form->PrgssBar->Position(), 30);
        w->finish();
        QVERIFY(!form->isVisible());
        SetProgressWindowFactory({});
    }

    void pictureSet_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("topRightClear"); // else (1,1) is the clear pixel
        for (const QString& b : Pictures::ButtonNames())
            for (const char* v : {"", "-over", "-down", "-dis"})
                QTest::addRow("btn-%s%s", qPrintable(b), v) << "btn-" + b + v << true;
        for (const char* c : {"check-on", "check-off", "check-on-dis", "check-off-dis"})
            QTest::addRow("%s", c) << QString(c) << false;
    }

    void pictureSet() {
        QFETCH(QString, name);
        QFETCH(bool, topRightClear);
        const QSize one = PictureSize(ControlPicture(name, 1.0));
        for (qreal scale : {1.0, 2.0}) {
            const QPixmap pm = ControlPicture(name, scale);
            QVERIFY2(!pm.isNull(), qPrintable(name));
            QCOMPARE(PictureSize(pm), one); // the same logical size at every scale
            const QPoint dev =
                topRightClear ? QPoint(pm.width() - 1, 0) : QPoint(1, 1) * int(scale);
            QCOMPARE(qAlpha(pm.toImage().pixel(dev)), 0);
            // Keying must leave the visible face alone.
            const QImage keyed = KeyedPicture(pm, dev).toImage();
            const QImage plain = pm.toImage().convertToFormat(QImage::Format_ARGB32);
            const QPoint mid(pm.width() / 2, pm.height() / 2);
            QCOMPARE(keyed.pixel(mid), plain.pixel(mid));
        }
    }

    void unknownPictureIsNull() {
        QTest::ignoreMessage(QtWarningMsg, "no control picture btn-nothing");
        QVERIFY(ControlPicture("btn-nothing").isNull());
        QVERIFY(KeyedPicture(QPixmap(), QPoint(0, 0)).isNull());
        const QPixmap small = solid(4, 4, Qt::red);
        QCOMPARE(KeyedPicture(small, QPoint(9, 9)).cacheKey(), small.cacheKey());
    }
};

QTEST_MAIN(TestProgressBar)
#include "test_progressbar.moc"

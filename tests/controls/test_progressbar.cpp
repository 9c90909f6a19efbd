// Picture progress bar: piece arithmetic, what lands on screen;
// the progress window; the shipped picture set.
#include "controls/formprogress.h"
#include "controls/pictures.h"
#include "controls/prgssbarzv.h"
#include "controls/progresspieces.h"

#include <QtTest>

namespace {
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
        QCOMPARE(xsOf(list, BarPiece::EndLine), QList<int>{out[2]});
        QCOMPARE(xsOf(list, BarPiece::MidleLine).size(), out[3]);
        QCOMPARE(xsOf(list, BarPiece::EndScroll), QList<int>{out[1]});
        const QList<int> mids = xsOf(list, BarPiece::MidleScroll);
        QCOMPARE(mids.size(), out[0]);
        QCOMPARE(mids.first(), beginW);
        QCOMPARE(mids.last(), out[1]);                    // the end piece covers the last middle
        QCOMPARE(list.last().piece, BarPiece::EndScroll); // the fill is drawn over the track
        // A piece without width leaves nothing to lay out.
        const BarPieceSizes noMiddle{s.beginLine,   QSize(0, 10),  s.endLine,
                                     s.beginScroll, s.midleScroll, s.endScroll};
        QVERIFY(LayoutBarPieces(QSize(in[0], 25), noMiddle, in[4], in[5], in[6]).isEmpty());
    }

    // What the 401-pixel bar puts on screen when full, and the progress
    // window passing its range and position to its bar.
    void paintingAndWindow() {
        // Piece i of the set in its own colour.
        auto colour = [](int i) { return QColor(0, 40 * i, 0); };
        QList<QPixmap> p(6, QPixmap(10, 11));
        for (int i = 0; i < 6; ++i)
            p[i].fill(colour(i));
        TPrgssBarZv bar;
        bar.resize(401, 25);
        bar.setPictures({p[0], p[1], p[2], p[3], p[4], p[5]});
        bar.setMax(100);
        bar.setPosition(100);
        const QImage shot = bar.grab().toImage();
        // Begin scroll, middle scrolls, end scroll over the last middle, end line.
        const QList<int> xs{5, 15, 389, 390, 399, 400}, pieces{3, 4, 4, 5, 5, 2};
        for (int i = 0; i < xs.size(); ++i)
            QCOMPARE(shot.pixelColor(xs[i], 12), colour(pieces[i]));

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

    // Every button face and check mark of the set exists at both scales with
    // one logical size, and is clear at its key pixel.
    void pictureSet() {
        QStringList names{"check-on", "check-off", "check-on-dis", "check-off-dis"};
        for (const QString& b : Pictures::ButtonNames())
            for (const char* v : {"", "-over", "-down", "-dis"})
                names << "btn-" + b + v;
        for (const QString& name : names) {
            // One logical size at every scale; clear at the key pixel.
            const QSize one = PictureSize(ControlPicture(name, 1.0));
            QCOMPARE(PictureSize(ControlPicture(name, 2.0)), one);
            for (qreal scale : {1.0, 2.0}) {
                const QPixmap pm = ControlPicture(name, scale);
                QVERIFY2(!pm.isNull(), qPrintable(name));
                const QPoint key =
                    name.startsWith("btn") ? QPoint(pm.width() - 1, 0) : QPoint(1, 1) * int(scale);
                QCOMPARE(qAlpha(pm.toImage().pixel(key)), 0);
            }
        }
        // An unknown name gives a null picture; keying leaves what it cannot key alone.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("btn-nothing"));
        QVERIFY(ControlPicture("btn-nothing").isNull());
        QVERIFY(KeyedPicture(QPixmap(), QPoint(0, 0)).isNull());
        const QPixmap known = ControlPicture("check-on", 1.0);
        QCOMPARE(KeyedPicture(known, QPoint(-1, 0)).cacheKey(), known.cacheKey());
        QCOMPARE(KeyedPicture(known, QPoint(0, known.height())).cacheKey(), known.cacheKey());
    }
};

QTEST_MAIN(TestProgressBar)
#include "test_progressbar.moc"

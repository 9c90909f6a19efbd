// Transparent picture button, picture check mark and picture push button:
// pictures shown after mouse sequences, click order, results.
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/pictures.h"

#include <QDialog>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QtTest>

namespace {
const QColor kKey(255, 0, 255);

// A solid picture whose top-right pixel (and pixel (1,1) when asked) carries
// the key colour, so keying leaves the rest of it opaque.
QPixmap pic(int w, int h, const QColor& c, bool keyAt11 = false) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    img.setPixelColor(w - 1, 0, kKey);
    if (keyAt11) img.setPixelColor(1, 1, kKey);
    return QPixmap::fromImage(img);
}

// A plain window in one known colour, so transparency can be seen in a grab.
class Backdrop : public QWidget {
public:
    Backdrop() { resize(200, 100); }
    QColor colour{0, 160, 0};

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

void sendEnter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), w->mapTo(w->window(), QPointF(2, 2)),
                  w->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(w, &e);
}

// Colour at a logical point of a grab, whatever the screen's scale.
QColor at(const QImage& shot, QPoint p) {
    return shot.pixelColor((QPointF(p) * shot.devicePixelRatio()).toPoint());
}
QColor pixelAt(QWidget* w, QPoint p) {
    return at(w->grab().toImage(), p);
}
} // namespace

class TestButtons : public QObject {
    Q_OBJECT
    // Five faces of different sizes so a resize shows which picture is up.
    QPixmap normal = pic(30, 20, Qt::red), over = pic(32, 22, Qt::blue),
            down = pic(34, 24, Qt::yellow), up = pic(36, 26, Qt::cyan),
            disabledPic = pic(28, 18, Qt::gray);

    // A button on a backdrop, logging its signals.
    struct Rig {
        Backdrop back;
        TBtnImgTransD1Zv* b = new TBtnImgTransD1Zv(&back);
        QStringList log;
        QPixmap shownAtClick;
        QColor colourAtClick;
        Rig() {
            b->move(10, 10);
            QObject::connect(b, &TBtnImgTransD1Zv::mouseDown, [this] { log << "down"; });
            QObject::connect(b, &TBtnImgTransD1Zv::mouseUp, [this] { log << "up"; });
            QObject::connect(b, &TBtnImgTransD1Zv::clicked, [this] {
                log << "click";
                shownAtClick = b->shownPicture();
                colourAtClick = pixelAt(b, QPoint(5, 10));
            });
        }
    };

    void dress(Rig& r, bool withOver, bool withUp, bool withDisabled) {
        r.b->setBitmap(normal);
        if (withOver) r.b->setBitmapOver(over);
        r.b->setBitmapDown(down);
        if (withUp) r.b->setBitmapUp(up);
        if (withDisabled) r.b->setBitmapDisabled(disabledPic);
        r.back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r.back));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(!normal.isNull()); }

    // The window behind shows where the picture has its top-right colour.
    void transparentColour() {
        Rig r;
        QImage img(30, 20, QImage::Format_ARGB32);
        img.fill(kKey);
        for (int y = 5; y < 15; ++y)
            for (int x = 10; x < 20; ++x)
                img.setPixelColor(x, y, Qt::blue);
        r.b->setBitmap(QPixmap::fromImage(img));
        r.back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r.back));
        const QImage shot = r.back.grab().toImage();
        QCOMPARE(at(shot, QPoint(10 + 1, 10 + 1)), r.back.colour);
        QCOMPARE(at(shot, QPoint(10 + 29, 10 + 19)), r.back.colour);
        QCOMPARE(at(shot, QPoint(10 + 15, 10 + 10)), QColor(Qt::blue));
    }

    void pressSequence_data() {
        QTest::addColumn<QString>("how");   // mouse released inside or outside, or Space
        QTest::addColumn<QString>("shown"); // picture after the release
        QTest::addColumn<QStringList>("log");
        QTest::newRow("released inside") << "inside"
                                         << "up" << QStringList{"down", "click", "up"};
        QTest::newRow("released outside") << "outside"
                                          << "normal" << QStringList{"down", "up"};
        QTest::newRow("Space") << "key"
                               << "normal" << QStringList{"down", "click", "up"};
    }

    void pressSequence() {
        QFETCH(QString, how);
        QFETCH(QString, shown);
        QFETCH(QStringList, log);
        Rig r;
        dress(r, true, true, false);
        if (how == "key") {
            r.b->setFocus();
            QTest::keyClick(r.b, Qt::Key_Space);
        } else {
            sendEnter(r.b);
            QCOMPARE(r.b->currentPicture().cacheKey(), over.cacheKey());
            QTest::mousePress(r.b, Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(r.b->currentPicture().cacheKey(), down.cacheKey());
            QTest::mouseRelease(r.b, Qt::LeftButton, {},
                                how == "inside" ? QPoint(6, 6) : QPoint(120, 60));
        }
        QCOMPARE(r.log, log);
        if (log.contains("click")) {
            // The click's work runs while the pressed picture is on screen.
            QCOMPARE(r.shownAtClick.cacheKey(), down.cacheKey());
            QCOMPARE(r.colourAtClick, QColor(Qt::yellow));
        }
        const QMap<QString, QPixmap> faces{{"up", up}, {"normal", normal}};
        QCOMPARE(r.b->shownPicture().cacheKey(), faces[shown].cacheKey());
        QCOMPARE(r.b->size(), PictureSize(faces[shown])); // the picture sets the size
        // A mouse release draws a picture but leaves the current one alone.
        QCOMPARE(r.b->currentPicture().cacheKey(),
                 how == "key" ? normal.cacheKey() : down.cacheKey());
    }

    // A disabled button shows its disabled picture and takes no click.
    void disabledTakesNoClick() {
        Rig r;
        dress(r, true, true, true);
        r.b->setEnabled(false);
        QCOMPARE(r.b->shownPicture().cacheKey(), disabledPic.cacheKey());
        QTest::mouseClick(r.b, Qt::LeftButton, {}, QPoint(3, 3));
        r.b->click();
        QVERIFY(r.log.isEmpty());
    }

    void checkClick_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("after");
        QTest::addColumn<bool>("inverted");
        QTest::newRow("clear, enabled") << false << true << true << false;
        QTest::newRow("set, disabled") << true << false << true << false;
        // The inverted look swaps the pictures, never the state or the toggle.
        QTest::newRow("inverted, set, enabled") << true << true << false << true;
    }

    void checkClick() {
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        QFETCH(bool, after);
        QFETCH(bool, inverted);
        Backdrop back;
        auto* c = new TChBxImgTransD1Zv(&back);
        c->setInvertedLook(inverted);
        const CheckPictures cp{pic(12, 12, Qt::green, true), pic(12, 12, Qt::darkGreen, true),
                               pic(12, 12, Qt::white, true), pic(12, 12, Qt::lightGray, true)};
        c->setPictures(cp);
        c->setGeometry(5, 5, 120, 20);
        c->setChecked(checked);
        c->setMarkEnabled(enabled);
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        QList<bool> seen;
        connect(c, &TChBxImgTransD1Zv::clicked, [&] { seen << c->Checked(); });
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(4, 10));
        QCOMPARE(seen, QList<bool>{checked}); // the handler runs before the toggle
        QCOMPARE(c->Checked(), after);
        const QPixmap expect =
            after != inverted ? (enabled ? cp.on : cp.onDis) : (enabled ? cp.off : cp.offDis);
        QCOMPARE(c->shownPicture().cacheKey(), expect.cacheKey());
        // A release away from the mark is no click.
        QTest::mousePress(c, Qt::LeftButton, {}, QPoint(4, 10));
        QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(4, 80));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(c->Checked(), after);
    }

    void checkDrawing_data() {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }

    // The mark is centred vertically with its (1,1) colour left out, and the
    // caption is grey when the mark is disabled, else in the font's colour.
    void checkDrawing() {
        QFETCH(bool, enabled);
        Backdrop back;
        back.colour = QColor(255, 255, 255);
        auto* c = new TChBxImgTransD1Zv(&back);
        const QPixmap onPm = pic(12, 12, Qt::blue, true);
        c->setPictures({onPm, onPm, onPm, onPm});
        c->setChecked(true);
        c->setCaption("Wwwww");
        c->setFontColor(QColor(200, 0, 0));
        c->setMarkEnabled(enabled);
        c->setGeometry(0, 0, 120, 30);
        c->setFocusPolicy(Qt::NoFocus); // the focus ring is checked below
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        const QImage shot = back.grab().toImage();
        const int top = 30 / 2 - 12 / 2;
        QCOMPARE(at(shot, QPoint(1, top + 1)), QColor(255, 255, 255));
        QCOMPARE(at(shot, QPoint(5, top + 5)), QColor(Qt::blue));
        QCOMPARE(at(shot, QPoint(5, top - 1)), QColor(255, 255, 255));
        int reddish = 0, grey128 = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 16; x < 120; ++x) {
                const QColor p = at(shot, QPoint(x, y));
                if (p.red() > p.green() + 60) ++reddish;
                if (p == QColor(128, 128, 128)) ++grey128;
            }
        QCOMPARE(reddish > 0, enabled);
        QCOMPARE(grey128 > 0, !enabled);

        // With the keyboard focus a ring shows round the control, enabled or not.
        c->setFocusPolicy(Qt::StrongFocus);
        back.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&back));
        c->setFocus();
        QTRY_VERIFY(c->hasFocus());
        const QImage focused = back.grab().toImage();
        QVERIFY(at(focused, QPoint(1, 15)) != QColor(255, 255, 255));
    }

    void pushButtonResult_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("key"); // 0: mouse click
        QTest::addColumn<int>("expect");
        QTest::newRow("OK by Enter")
            << int(TBtnImgD1Zv::bkOK) << true << int(Qt::Key_Return) << int(mrOk);
        QTest::newRow("Retry click") << int(TBtnImgD1Zv::bkRetry) << true << 0 << int(mrRetry);
        QTest::newRow("Cancel by Esc")
            << int(TBtnImgD1Zv::bkCancel) << true << int(Qt::Key_Escape) << int(mrCancel);
        QTest::newRow("disabled OK click") << int(TBtnImgD1Zv::bkOK) << false << 0 << -1;
    }

    void pushButtonResult() {
        QFETCH(int, kind);
        QFETCH(bool, enabled);
        QFETCH(int, key);
        QFETCH(int, expect);
        QDialog dlg;
        dlg.resize(200, 100);
        auto* other = new QPushButton("x", &dlg); // Esc must not reach a plain reject
        other->move(0, 60);
        other->setAutoDefault(false);
        auto* b = new TBtnImgD1Zv(&dlg);
        b->setGlyph(pic(20, 20, Qt::blue));
        b->setCaption("OK");
        b->setKind(TBtnImgD1Zv::ButtonKind(kind));
        b->setEnabled(enabled);
        dlg.setResult(-1);
        QPointer<QDialog> guard(&dlg);
        QTimer::singleShot(0, &dlg, [&] {
            dlg.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            if (key)
                QTest::keyClick(&dlg, Qt::Key(key));
            else
                QTest::mouseClick(b, Qt::LeftButton);
            if (dlg.isVisible()) dlg.done(-1);
        });
        QCOMPARE(dlg.exec(), expect);
    }

    // The caption under a button clicks it, and goes grey with it.
    void captionedButton() {
        Backdrop back;
        QLabel* label = nullptr;
        TBtnImgTransD1Zv* b =
            MakeCaptionedButton(&back, "BitBtnPlay", "play", "Слушать", &label, "LabelPlay");
        QCOMPARE(CaptionOf(b), label);
        b->parentWidget()->adjustSize();
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        int clicks = 0;
        connect(b, &TBtnImgTransD1Zv::clicked, [&] { ++clicks; });
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks, 1);
        b->setEnabled(false);
        QVERIFY(!label->isEnabled());
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks, 1);
    }
};

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"

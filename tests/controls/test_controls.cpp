// Transparent picture button and picture check mark: pictures shown after mouse
// and key sequences, click order; a window's command key. Picture progress bar:
// piece arithmetic, what lands on screen; the progress window; unknown pictures.
// The speed picture: what a click, the wheel and the keys choose, the keys of the
// window it is bound to, and what a screen reader learns of it.
#include "controls/accessiblecontrols.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/formprogress.h"
#include "controls/pictures.h"
#include "controls/prgssbarzv.h"
#include "controls/progresspieces.h"
#include "controls/speedcontrol.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QEnterEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <QVBoxLayout>

namespace {
const QColor kKey(255, 0, 255), kBack(0, 160, 0);

// A solid picture whose top-right and bottom-left pixels (and pixel (1,1)
// when asked) carry the key colour, so keying leaves the rest of it opaque.
QPixmap pic(int w, int h, const QColor& c, bool keyAt11 = false) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    img.setPixelColor(w - 1, 0, kKey);
    img.setPixelColor(0, h - 1, kKey);
    if (keyAt11) img.setPixelColor(1, 1, kKey);
    return QPixmap::fromImage(img);
}

// A plain window in one known colour, so transparency can be seen in a grab.
class Backdrop : public QWidget {
public:
    Backdrop() { resize(200, 100); }
    bool showUp() {
        show();
        return QTest::qWaitForWindowExposed(this);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kBack); }
};

// Colour at a logical point of a grab, whatever the screen's scale.
QColor at(const QImage& shot, QPoint p) {
    return shot.pixelColor((QPointF(p) * shot.devicePixelRatio()).toPoint());
}

} // namespace

namespace {
QList<int> xsOf(const QList<PiecePlacement>& list, BarPiece piece) {
    QList<int> xs;
    for (const auto& p : list)
        if (p.piece == piece) xs << p.x;
    return xs;
}
} // namespace

namespace {
const int kSteps[] = {100, 90, 80, 70, 60, 50};

enum class Act { ClickLeft, ClickRight, WheelUp, WheelDown, Key };
} // namespace
Q_DECLARE_METATYPE(Act)

class TestControls : public QObject {
    Q_OBJECT
    // Faces of different sizes so a resize shows which picture is up.
    const QPixmap normal = pic(30, 20, Qt::red), over = pic(32, 22, Qt::blue),
                  down = pic(34, 24, Qt::yellow), up = pic(36, 26, Qt::cyan),
                  disabledPic = pic(28, 18, Qt::gray);

private Q_SLOTS:
    void pressSequence_data() {
        QTest::addColumn<QString>("how");  // mouse released inside or outside, Space, disabled
        QTest::addColumn<QPixmap>("face"); // picture after the release
        QTest::addColumn<QStringList>("log");
        QTest::newRow("released inside") << "inside" << up << QStringList{"down", "click", "up"};
        QTest::newRow("released outside") << "outside" << normal << QStringList{"down", "up"};
        QTest::newRow("Space") << "key" << normal << QStringList{"down", "click", "up"};
        // A disabled button shows its disabled picture and takes no click.
        QTest::newRow("disabled") << "disabled" << disabledPic << QStringList{};
    }
    void pressSequence() {
        QFETCH(QString, how);
        QFETCH(QPixmap, face);
        QFETCH(QStringList, log);
        Backdrop back;
        auto* b = new TBtnImgTransD1Zv(&back);
        b->move(10, 10);
        b->setBitmap(normal);
        b->setPictures({normal, over, down, disabledPic});
        b->setBitmapUp(up);
        QStringList seen;
        QColor atClick;
        connect(b, &TBtnImgTransD1Zv::mouseDown, [&] { seen << "down"; });
        connect(b, &TBtnImgTransD1Zv::mouseUp, [&] { seen << "up"; });
        connect(b, &TBtnImgTransD1Zv::clicked, [&] {
            seen << "click";
            atClick = at(b->grab().toImage(), QPoint(5, 10));
        });
        QVERIFY(back.showUp());
        if (how == "key") {
            b->setFocus();
            QTest::keyClick(b, Qt::Key_Space);
        } else if (how == "disabled") {
            b->setEnabled(false);
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3));
            b->click();
        } else {
            const QPointF p(2, 2);
            QEnterEvent e(p, b->mapTo(&back, p), b->mapToGlobal(p));
            QApplication::sendEvent(b, &e);
            QCOMPARE(at(back.grab().toImage(), b->pos() + QPoint(5, 10)), QColor(Qt::blue));
            QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseRelease(b, Qt::LeftButton, {},
                                how == "inside" ? QPoint(6, 6) : QPoint(120, 60));
        }
        QCOMPARE(seen, log);
        // The click's work runs while the pressed picture is on screen.
        if (log.contains("click")) QCOMPARE(atClick, QColor(Qt::yellow));
        QCOMPARE(b->size(), PictureSize(face)); // the picture sets the size
        // The face is drawn; the window behind shows wherever it has the colour
        // of its top-right pixel.
        const QImage shot = back.grab().toImage();
        QCOMPARE(at(shot, b->pos() + QPoint(0, face.height() - 1)), kBack);
        QCOMPARE(at(shot, b->pos() + QPoint(5, 10)), face.toImage().pixelColor(5, 10));
    }

    void checkMark_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("inverted");
        QTest::newRow("clear, enabled") << false << true << false;
        QTest::newRow("set, disabled") << true << false << false;
        // The inverted look swaps the pictures, never the state or the toggle.
        QTest::newRow("inverted, set, enabled") << true << true << true;
    }
    // A click runs the handler, then toggles an enabled mark. The picture of
    // the state is drawn centred with its (1,1) colour left out.
    void checkMark() {
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        QFETCH(bool, inverted);
        Backdrop back;
        auto* c = new TChBxImgTransD1Zv(&back);
        const CheckPictures cp{pic(12, 12, Qt::green, true), pic(12, 12, Qt::darkGreen, true),
                               pic(12, 12, Qt::blue, true), pic(12, 12, Qt::darkBlue, true)};
        c->setPictures(cp);
        c->setGeometry(0, 0, 120, 30);
        c->setChecked(checked);
        c->setMarkEnabled(enabled);
        c->setInvertedLook(inverted);
        c->setFocusPolicy(Qt::NoFocus); // the focus ring is checked below
        QVERIFY(back.showUp());
        QList<bool> seen;
        connect(c, &TChBxImgTransD1Zv::clicked, [&] { seen << c->Checked(); });
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(4, 15));
        QCOMPARE(seen, QList<bool>{checked}); // the handler runs before the toggle
        const bool after = enabled ? !checked : checked;
        QCOMPARE(c->Checked(), after);

        const QPixmap expect =
            after != inverted ? (enabled ? cp.on : cp.onDis) : (enabled ? cp.off : cp.offDis);
        const QImage shot = back.grab().toImage();
        // The 12-pixel mark in the 30-pixel control spans rows 9 to 20.
        QCOMPARE(at(shot, QPoint(5, 9 + 5)), expect.toImage().pixelColor(5, 5));
        QCOMPARE(at(shot, QPoint(1, 9 + 1)), kBack);

        // With the keyboard focus a ring shows round the control, enabled or not.
        c->setFocusPolicy(Qt::StrongFocus);
        back.activateWindow();
        c->setFocus();
        QTRY_VERIFY(c->hasFocus());
        QVERIFY(at(back.grab().toImage(), QPoint(1, 15)) != kBack);
    }

    // A window's command key clicks its button only while the button can be
    // used and its window is the active one.
    void clickOnKey_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("clicks");
        QTest::newRow("enabled") << "enabled" << 1;
        QTest::newRow("disabled") << "disabled" << 0;
        QTest::newRow("hidden") << "hidden" << 0;
        QTest::newRow("key in another window") << "other window" << 0;
    }
    void clickOnKey() {
        QFETCH(QString, state);
        QFETCH(int, clicks);
        const QKeySequence key(Qt::CTRL | Qt::Key_P);
        QWidget win, other;
        TBtnImgTransD1Zv* button = MakeCaptionedButton(&win, "Play", "play", "Play");
        auto* edit = new QLineEdit(&win); // the focus is on another control
        edit->move(0, 100);
        auto* otherEdit = new QLineEdit(&other);
        ClickOnKey(button, key);
        QVERIFY(button->toolTip().contains(key.toString(QKeySequence::NativeText)));
        QSignalSpy clicked(button, &TBtnImgTransD1Zv::clicked);
        win.show();
        QVERIFY(QTest::qWaitForWindowActive(&win));
        button->setEnabled(state != "disabled");
        button->setVisible(state != "hidden");
        QWidget* target = edit;
        if (state == "other window") {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            target = otherEdit;
        }
        target->setFocus();
        QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(clicked.size(), clicks);
    }

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

    // An unknown picture name gives a null picture; keying leaves what it
    // cannot key alone.
    void unknownPictures() {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("btn-nothing"));
        QVERIFY(ControlPicture("btn-nothing").isNull());
        QVERIFY(KeyedPicture(QPixmap(), QPoint(0, 0)).isNull());
        const QPixmap known = ControlPicture("check-on", 1.0);
        QCOMPARE(KeyedPicture(known, QPoint(-1, 0)).cacheKey(), known.cacheKey());
        QCOMPARE(KeyedPicture(known, QPoint(0, known.height())).cacheKey(), known.cacheKey());
    }

    void choose_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<Act>("act");
        QTest::addColumn<int>("arg"); // the key
        QTest::addColumn<int>("to");
        QTest::newRow("slower half") << 100 << Act::ClickLeft << 0 << 90;
        QTest::newRow("faster half") << 70 << Act::ClickRight << 0 << 80;
        QTest::newRow("wheel up") << 60 << Act::WheelUp << 0 << 70;
        QTest::newRow("wheel down") << 60 << Act::WheelDown << 0 << 50;
        QTest::newRow("Left") << 80 << Act::Key << int(Qt::Key_Left) << 70;
        QTest::newRow("Right") << 80 << Act::Key << int(Qt::Key_Right) << 90;
        QTest::newRow("minus") << 80 << Act::Key << int(Qt::Key_Minus) << 70;
        QTest::newRow("plus") << 80 << Act::Key << int(Qt::Key_Plus) << 90;
        QTest::newRow("equals, the plus key unshifted") << 80 << Act::Key << int(Qt::Key_Equal)
                                                        << 90;
        QTest::newRow("a letter") << 80 << Act::Key << int(Qt::Key_A) << 80;
    }
    void choose() {
        QFETCH(int, from);
        QFETCH(Act, act);
        QFETCH(int, arg);
        QFETCH(int, to);
        TSpeedControl c(kSteps, from);
        c.resize(c.sizeHint());
        QCOMPARE(c.speed(), from);
        QSignalSpy changed(&c, &TSpeedControl::speedChanged);
        const int w = c.width(), h = c.height();
        switch (act) {
        case Act::ClickLeft:
            QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(6, h / 2));
            break;
        case Act::ClickRight:
            QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(w - 6, h / 2));
            break;
        case Act::WheelUp:
        case Act::WheelDown: {
            const QPoint at(w / 2, h / 2);
            QWheelEvent e(at, c.mapToGlobal(at), {}, {0, act == Act::WheelUp ? 120 : -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&c, &e);
            break;
        }
        case Act::Key:
            QTest::keyClick(&c, Qt::Key(arg));
            break;
        }
        QCOMPARE(c.speed(), to);
        QCOMPARE(changed.size(), from == to ? 0 : 1);
        if (!changed.isEmpty()) QCOMPARE(changed[0][0].toInt(), to);
    }

    // Off the steps, a speed snaps to the nearest one; a disabled control
    // takes no click.
    void snapAndDisabled() {
        TSpeedControl c(kSteps, 77);
        QCOMPARE(c.speed(), 80);
        c.setSpeed(1000);
        QCOMPARE(c.speed(), 100);
        c.setSpeed(0);
        QCOMPARE(c.speed(), 50);
        c.resize(c.sizeHint());
        c.setEnabled(false);
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(c.width() - 6, c.height() / 2));
        QCOMPARE(c.speed(), 50);
    }

    // Bound to a window, "-" and "+" work wherever the focus is, except in a
    // text field that takes the character, or with Ctrl.
    void windowKeys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        QTest::newRow("pad minus") << "button" << int(Qt::Key_Minus) << int(Qt::KeypadModifier)
                                   << 70;
        QTest::newRow("pad plus") << "button" << int(Qt::Key_Plus) << int(Qt::KeypadModifier)
                                  << 90;
        QTest::newRow("shifted plus") << "button" << int(Qt::Key_Plus) << int(Qt::ShiftModifier)
                                      << 90;
        QTest::newRow("Ctrl+minus") << "button" << int(Qt::Key_Minus) << int(Qt::ControlModifier)
                                    << 80;
        QTest::newRow("plus on a list, not a search") << "list" << int(Qt::Key_Plus) << 0 << 90;
        QTest::newRow("minus typed in a field") << "field" << int(Qt::Key_Minus) << 0 << 80;
        QTest::newRow("hidden control") << "hidden" << int(Qt::Key_Minus) << 0 << 80;
    }
    void windowKeys() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        QWidget window;
        auto* lay = new QVBoxLayout(&window);
        auto* button = new QPushButton(QStringLiteral("b"), &window);
        auto* field = new QLineEdit(&window);
        auto* list = new QListWidget(&window);
        list->addItems({QStringLiteral("+1"), QStringLiteral("-1")});
        auto* speed = new TSpeedControl(kSteps, 80, &window);
        for (QWidget* w : std::initializer_list<QWidget*>{button, field, list, speed})
            lay->addWidget(w);
        speed->bindKeys(&window);
        if (focus == "hidden") speed->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* target = focus == "field"  ? static_cast<QWidget*>(field)
                          : focus == "list" ? static_cast<QWidget*>(list)
                                            : button;
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(speed->speed(), to);
        if (focus == "field") QCOMPARE(field->text(), QStringLiteral("-"));
    }

    // A slider with the speed as its value; a reader may set it, and every
    // change is announced.
    void accessible() {
        InstallControlAccessibility();
        QList<QVariant> announced;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.type() == QAccessible::ValueChanged)
                announced << static_cast<const QAccessibleValueChangeEvent&>(e).value();
        });
        TSpeedControl c(kSteps, 100);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&c);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Slider);
        QVERIFY(!a->text(QAccessible::Name).isEmpty());
        QAccessibleValueInterface* v = a->valueInterface();
        QVERIFY(v);
        QCOMPARE(v->minimumValue().toInt(), 50);
        QCOMPARE(v->maximumValue().toInt(), 100);
        v->setCurrentValue(60);
        QCOMPARE(c.speed(), 60);
        QCOMPARE(v->currentValue().toInt(), 60);
        QVERIFY(a->text(QAccessible::Value).startsWith(QStringLiteral("60")));
        c.faster();
        SetAccessibleEventSink({});
        QCOMPARE(announced, (QList<QVariant>{60, 70}));
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"

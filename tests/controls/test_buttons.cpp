// Transparent picture button, picture check mark and picture push button:
// pictures shown after mouse and key sequences, click order, results; a
// window's command key and a check mark's changes told to readers.
#include "controls/accessiblecontrols.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"

#include <QAccessible>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

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

class TestButtons : public QObject {
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
    // the state is drawn centred with its (1,1) colour left out; the caption
    // is grey when the mark is disabled, else in the font's colour.
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
        c->setCaption("Wwwww");
        c->setFontColor(QColor(200, 0, 0));
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
        auto captionHas = [&](auto pred) {
            for (int y = 0; y < 30; ++y)
                for (int x = 16; x < 120; ++x)
                    if (pred(at(shot, QPoint(x, y)))) return true;
            return false;
        };
        QCOMPARE(captionHas([](QColor p) { return p.red() > p.green() + 60; }), enabled);
        QCOMPARE(captionHas([](QColor p) { return p == QColor(128, 128, 128); }), !enabled);

        // With the keyboard focus a ring shows round the control, enabled or not.
        c->setFocusPolicy(Qt::StrongFocus);
        back.activateWindow();
        c->setFocus();
        QTRY_VERIFY(c->hasFocus());
        QVERIFY(at(back.grab().toImage(), QPoint(1, 15)) != kBack);
    }

    void pushButtonResult_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("key"); // 0: mouse click
        QTest::addColumn<int>("expect");
        using B = TBtnImgD1Zv;
        QTest::newRow("OK by Enter") << int(B::bkOK) << true << int(Qt::Key_Return) << int(mrOk);
        QTest::newRow("Retry click") << int(B::bkRetry) << true << 0 << int(mrRetry);
        QTest::newRow("Cancel by Esc")
            << int(B::bkCancel) << true << int(Qt::Key_Escape) << int(mrCancel);
        QTest::newRow("disabled OK click") << int(B::bkOK) << false << 0 << int(mrNone);
    }
    void pushButtonResult() {
        QFETCH(int, kind);
        QFETCH(bool, enabled);
        QFETCH(int, key);
        QFETCH(int, expect);
        QDialog dlg;
        auto* other = new QPushButton("x", &dlg); // holds the focus: Enter goes to the default
        other->setAutoDefault(false);
        auto* b = new TBtnImgD1Zv(&dlg);
        b->setKind(TBtnImgD1Zv::ButtonKind(kind));
        b->setEnabled(enabled);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        if (key)
            QTest::keyClick(&dlg, Qt::Key(key));
        else
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(dlg.isVisible(), expect == mrNone);
        QCOMPARE(dlg.result(), expect);
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

    // A change of a picture check mark reaches a reader as the control's state.
    void checkMarkStates() {
        QWidget top;
        auto* m = new TChBxImgTransD1Zv(&top);
        m->setCaption(QStringLiteral("Показывать текст"));
        top.show();
        QList<QAccessible::State> seen;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.type() == QAccessible::StateChanged && e.object() == m)
                seen << static_cast<const QAccessibleStateChangeEvent&>(e).changedStates();
        });
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Показывать текст"));
        m->setChecked(true);
        QVERIFY(a->state().checked);
        m->setChecked(true); // no change, no event
        m->setMarkEnabled(false);
        QVERIFY(a->state().disabled);
        SetAccessibleEventSink({});
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].checked);
        QVERIFY(seen[1].disabled);
    }
};

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"

// The text work window over its run: clicks reach the run, the run's state
// reaches the screen; the keys and the focus.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/speedcontrol.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/eng_formworktext.h"
#include "text/textsintagm.h"

#include <memory>
#include <QFrame>
#include <QSlider>
#include <QtTest>

using testui::Child;
using testui::Settle;

namespace {

struct Lesson {
    testenv::CourseDir dir;
    Lesson() { WriteWorkTextLesson(dir, true); }
    std::unique_ptr<TFormWorkText> open() {
        auto f = std::make_unique<TFormWorkText>(
            TLessonFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"},
            QString(), "DemoData\\");
        f->Place(0, 0, 1000, 600);
        f->show();
        return f;
    }
};

// Moves the virtual clock in timer steps, running the window's timer step.
void run(TFormWorkText* f, qint64 ms) {
    for (qint64 done = 0; done < ms; done += 50) {
        VirtualAudio::Advance(qMin<qint64>(50, ms - done));
        f->Run().Step();
        Settle();
    }
}

} // namespace

class TestFormWorkText : public VirtualAudioTest {
    Q_OBJECT
private Q_SLOTS:
    // The text box and the play button reach the run; the text pane shows,
    // and the run's current sintagm reaches the slider and the view.
    void wiring() {
        Lesson l;
        auto f = l.open();
        TWorkTextRun& r = f->Run();
        r.SetManualSteps(true);
        auto* slider = Child<QSlider>(f.get(), "TrackBarText");
        auto* box = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        QVERIFY(r.Playing());
        QVERIFY(!slider->isEnabled());
        run(f.get(), 1200);
        QCOMPARE(slider->value(), r.Current());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->Position(), r.Current() - 1);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->click();
        Settle();
        QVERIFY(slider->isEnabled());
    }

    // Space is the mark key wherever the focus is; while playing it does
    // nothing, and the disabled slider does not hand the focus to a button.
    void spaceAndFocus() {
        Lesson l;
        auto f = l.open();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        auto* slider = Child<QSlider>(f.get(), "TrackBarText");
        QCOMPARE(QApplication::focusWidget(), slider);
        auto space = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); };

        // On a focused play button Space marks and plays nothing.
        slider->setValue(3);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->setFocus(Qt::TabFocusReason);
        space();
        QVERIFY(f->Run().Controls().Marking);
        QVERIFY(!f->Run().DeviceOpen());
        space();
        QVERIFY(!f->Run().Controls().Marking);
        // Enter on a focused box toggles it.
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());

        slider->setFocus();
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        // Through lines 3 and 5, which have comments.
        for (int step = 0; step < 12; ++step) {
            run(f.get(), 400);
            space();
            QVERIFY(f->Run().Playing());
            QVERIFY(!f->Run().Controls().Marking);
            QVERIFY(!Child<QFrame>(f.get(), "PanelComent")->isVisible());
            QVERIFY(qobject_cast<TBtnImgTransD1Zv*>(QApplication::focusWidget()) == nullptr);
        }
        run(f.get(), 1500);
        QVERIFY(!f->Run().DeviceOpen());
        QCOMPARE(QApplication::focusWidget(), slider);
    }

    // "-" reaches the window's player wherever the focus is, and the next
    // window starts with the choice; a slower voice scrolls the view more gently.
    void speedKeys() {
        PlaySpeed::Save(100);
        Lesson l;
        {
            auto f = l.open();
            QVERIFY(QTest::qWaitForWindowExposed(f.get()));
            f->Run().PlayAll();
            auto* view = Child<TTextSintagm>(f.get(), "TextSintagmText");
            const int fullPace = view->k_Speed();
            QVERIFY(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
            QCOMPARE(Child<TSpeedControl>(f.get(), "Speed")->speed(), 90);
            QCOMPARE(f->Run().Player()->speed(), 90);
            QVERIFY(view->k_Speed() > fullPace);
            f->Run().Stop();
        }
        auto next = l.open();
        QCOMPARE(next->Run().Player()->speed(), 90);
        QCOMPARE(Child<TSpeedControl>(next.get(), "Speed")->speed(), 90);
    }
};

QTEST_MAIN(TestFormWorkText)
#include "test_formworktext.moc"

// The text work window over its run: clicks reach the run, the run's state
// reaches the screen, the keys and the focus, and the look of the boxes.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/eng_formworktext.h"
#include "text/textsintagm.h"

#include <memory>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QtTest>

using testui::Child;
using testui::Settle;

namespace {

struct Lesson {
    testenv::CourseDir dir;
    explicit Lesson(bool withTiming = true) { WriteWorkTextLesson(dir, withTiming); }
    std::unique_ptr<TFormWorkText> open(const QString& learner = QString()) {
        auto f = std::make_unique<TFormWorkText>(
            TLessonFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"},
            learner, "DemoData\\");
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

void setCurrent(TFormWorkText* f, int v) {
    Child<QSlider>(f, "TrackBarText")->setValue(v);
}

} // namespace

class TestFormWorkText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    }
    void init() { VirtualAudio::Reset(); }

    void wiring() {
        Lesson l;
        auto f = l.open();
        TWorkTextRun& r = f->Run();
        r.SetManualSteps(true);
        auto* slider = Child<QSlider>(f.get(), "TrackBarText");
        QCOMPARE(slider->maximum(), r.Lesson().N);
        // The text box shows the text view over the picture.
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText")->click();
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QVERIFY(!Child<QLabel>(f.get(), "ImageStatic")->isVisible());
        // The run's current sintagm moves the slider and the view.
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        QVERIFY(r.Playing());
        QVERIFY(!slider->isEnabled());
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->isEnabled());
        run(f.get(), 1200);
        QCOMPARE(slider->value(), r.Current());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->Position(), r.Current() - 1);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->click();
        Settle();
        QVERIFY(slider->isEnabled());
        // The comment box opens on a commented line and closes on its cross.
        setCurrent(f.get(), 5);
        Child<TBtnImgTransD1Zv>(f.get(), "BtnImgComent")->click();
        auto* panel = Child<QFrame>(f.get(), "PanelComent");
        QVERIFY(panel->isVisible());
        QCOMPARE(Child<QPlainTextEdit>(f.get(), "MemoComent")->toPlainText(),
                 QString("Note five\nsecond"));
        QTest::mouseClick(Child<QLabel>(f.get(), "Label9"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        // The mark button's caption follows the marking.
        auto* label = Child<QLabel>(f.get(), "LabelSelect");
        const QString idle = label->text();
        Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2")->click();
        QVERIFY(label->text() != idle);
        Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2")->click();
        QCOMPARE(label->text(), idle);
    }

    // The marked range reaches the view in either order, whatever range
    // it held before.
    void markedRangeDrawn_data() {
        QTest::addColumn<int>("earlier");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("after a range before it") << 2 << 5 << 8;
        QTest::newRow("backwards after a range before it") << 2 << 8 << 6;
        QTest::newRow("before a range after it") << 8 << 2 << 5;
    }
    void markedRangeDrawn() {
        QFETCH(int, earlier);
        QFETCH(int, first);
        QFETCH(int, second);
        Lesson l;
        auto f = l.open();
        auto* mark = Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2");
        auto* view = Child<TTextSintagm>(f.get(), "TextSintagmText");
        for (int line : {earlier, earlier, first, second}) {
            setCurrent(f.get(), line);
            mark->click();
        }
        const TMarkState& m = f->Run().MarkRange();
        QCOMPARE(view->NBegin(), m.Begin - 1);
        QCOMPARE(view->NEnd(), m.End - 1);
        QVERIFY(view->FlagSelMultSint());
    }

    void learnerBox() {
        Lesson l;
        testwave::WriteSilent(l.dir.file("Ann3.wav"), 3000);
        for (const QString& learner : {QString(), QStringLiteral("Ann3.wav")}) {
            auto f = l.open(learner);
            auto* user = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTransUser");
            QCOMPARE(user->markEnabled(), !learner.isEmpty());
            user->click();
            QCOMPARE(f->Run().SelectedRecording(),
                     learner.isEmpty() ? QStringLiteral("Lesson.wav") : learner);
            QCOMPARE(Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled(),
                     learner.isEmpty());
        }
    }

    void readErrorShown() {
        testui::MessageRecorder m;
        Lesson l(false); // no timing file
        auto f = l.open();
        QCOMPARE(m.texts(), QStringList{"Повреждены звуковые файлы"});
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->TextConst().size(),
                 f->Run().Lesson().N);
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
        QStringList help;
        SetHelpHandlers([&](int t) { help << QString::number(t); },
                        [&](const QString& k) { help << k; });

        // On a focused play button Space marks and plays nothing.
        setCurrent(f.get(), 3);
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
        SetHelpHandlers(nullptr, nullptr);
        QCOMPARE(help, QStringList());
    }

    // At open the three options are off and their boxes draw so; one click
    // on the text box shows the text and its mark.
    void boxesLookLikeTheirOptions() {
        Lesson l;
        auto f = l.open();
        auto shown = [&](const char* name) {
            auto* box = Child<TChBxImgTransD1Zv>(f.get(), name);
            box->grab();
            const QPixmap on = box->markEnabled() ? box->ImgOn() : box->ImgOnDis();
            const QPixmap off = box->markEnabled() ? box->ImgOff() : box->ImgOffDis();
            const qint64 key = box->shownPicture().cacheKey();
            return key == on.cacheKey() ? 1 : key == off.cacheKey() ? 0 : -1;
        };
        for (const char* n : {"CheckBoxText", "CheckBoxTrans", "CheckBoxTransUser"})
            QVERIFY2(shown(n) == 0, n);
        auto* box = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QCOMPARE(shown("CheckBoxText"), 1);
        QCOMPARE(shown("CheckBoxTrans"), 0);
    }

    void clickOnSintagm() {
        Lesson l;
        auto f = l.open();
        f->Run().TimerPos().stop(); // no scrolling between measuring and clicking
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTrans")->click();
        auto* view = Child<TTextSintagm>(f.get(), "TextSintagmTrans");
        view->Paint();
        // Row 3 of the view ("Раз два Три четыре ..."), pitch 20, at the top before any scroll.
        const int y = view->core().RowY(3) + 8;
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3, y));
        QCOMPARE(f->Run().Current(), 2);
    }
};

QTEST_MAIN(TestFormWorkText)
#include "test_formworktext.moc"

// The text work window on the virtual audio back end: playback following,
// marking, the loop, comments, the learner recording, pictures, read errors.
#include "base/cp1251.h"
#include "controls/ui_hooks.h"
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

using testenv::CrLf;
using testenv::WriteBytes;

namespace {

// Lines 1..8: title, two sintagms, "#", two sintagms, a heading, a sintagm.
struct Lesson {
    testenv::CourseDir dir;
    Lesson(bool withTiming = true) {
        WriteBytes(dir.file("L1.txt"), CrLf({"#Title", "One two", "Three four", "#", "Five six",
                                             "Seven", "#Heading", "Eight nine"}));
        WriteBytes(dir.file("T1.txt"),
                   EncodeCp1251(u"#Заголовок\r\nРаз два\r\nТри четыре\r\n#\r\nПять шесть\r\n"
                                u"Семь\r\n#Раздел\r\nВосемь девять\r\n"));
        if (withTiming)
            WriteBytes(dir.file("Tm1.txt"),
                       CrLf({"#\t#", "1000\t2000", "2000\t3000", "#\t#", "3000\t4000", "4000\t5000",
                             "#\t#", "5000\t6000"}));
        QDir().mkpath(dir.file("DemoData"));
        WriteBytes(dir.file("DemoData/Pic1.txt"), CrLf({"0\t2500\tp1.bmp", "2500\t9000\tp2.bmp"}));
        WritePicture(dir.file("DemoData/p1.bmp"), QColor(200, 40, 40));
        WritePicture(dir.file("DemoData/p2.bmp"), QColor(40, 200, 40));
        WriteBytes(dir.file("L1.apc"), CrLf({"003Comment three", "005Note five", "005second"}));
        WriteWave(dir.file("Lesson.wav"), 7000);
    }
    std::unique_ptr<TFormWorkText> open(const QString& learner = QString()) {
        auto f = std::make_unique<TFormWorkText>();
        f->SetInitialData("Lesson.wav", learner, "L1.txt", "T1.txt", "Tm1.txt",
                          "DemoData\\Pic1.txt", "DemoData\\");
        f->Place(0, 0, 1000, 600);
        f->show();
        return f;
    }
};

// Moves the virtual clock in timer steps, running the window's timer step.
void run(TFormWorkText* f, qint64 ms) {
    for (qint64 done = 0; done < ms; done += 50) {
        VirtualAudio::Advance(qMin<qint64>(50, ms - done));
        f->TimerPosTimer();
        Settle();
    }
}

void setCurrent(TFormWorkText* f, int v) {
    Child<QSlider>(f, "TrackBarText")->setValue(v);
}

// Whether `pic` is drawn somewhere in `shot`: its opaque pixels, other than
// the key colour at (1, 1), found unchanged at one place.
bool Contains(const QImage& shot, const QImage& pic) {
    const QImage s = shot.convertToFormat(QImage::Format_ARGB32);
    const QImage p = pic.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = p.pixel(1, 1);
    QList<QPoint> opaque;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (qAlpha(p.pixel(x, y)) == 255 && p.pixel(x, y) != key) opaque << QPoint(x, y);
    if (opaque.isEmpty()) return false;
    for (int oy = 0; oy + p.height() <= s.height(); ++oy)
        for (int ox = 0; ox + p.width() <= s.width(); ++ox) {
            bool all = true;
            for (const QPoint& q : opaque)
                if (s.pixel(ox + q.x(), oy + q.y()) != p.pixel(q)) {
                    all = false;
                    break;
                }
            if (all) return true;
        }
    return false;
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

    void placement_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("window");
        // Wide area: the height decides, the window is centred across.
        QTest::newRow("wide") << QRect(10, 20, 1600, 600)
                              << QRect(10 + (1600 - 899) / 2, 20, 899, 600);
        // Tall area: the width decides, centred down.
        QTest::newRow("tall") << QRect(0, 0, 825, 800)
                              << QRect(0, (800 - (444 + 116)) / 2, 825, 444 + 116);
        // Between the two the width rule would overflow the area: kept inside it.
        QTest::newRow("would overflow")
            << QRect(0, 0, 1000, 600) << QRect((1000 - 899) / 2, 0, 899, 600);
        QTest::newRow("design size") << QRect(0, 0, 825, 369) << QRect(177, 0, 470, 369);
    }

    void placement() {
        QFETCH(QRect, area);
        QFETCH(QRect, window);
        const QRect r = WorkTextPlacement(area.x(), area.y(), area.width(), area.height());
        QCOMPARE(r, window);
        QVERIFY(area.contains(r));
    }

    void opening() {
        Lesson l;
        auto f = l.open();
        QVERIFY(!Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QVERIFY(!Child<TTextSintagm>(f.get(), "TextSintagmTrans")->isVisible());
        QVERIFY(Child<QLabel>(f.get(), "ImageStatic")->isVisible());
        QVERIFY(Child<QLabel>(f.get(), "ImageChange")->isVisible());
        for (const char* n : {"CheckBoxText", "CheckBoxTrans", "CheckBoxTransUser"})
            QVERIFY(Child<TChBxImgTransD1Zv>(f.get(), n)->Checked());
        QVERIFY(!Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTransUser")->markEnabled());
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->isEnabled());
        QVERIFY(!Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->isEnabled());
        QCOMPARE(f->N(), 8);
        QCOMPARE(f->Current(), 1);
        QCOMPARE(Child<QSlider>(f.get(), "TrackBarText")->maximum(), 8);
        QCOMPARE(f->property("helpContext").toInt(), 130);
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->TextConst().size(), 8);
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmTrans")->TextConst().value(1),
                 QString("Раз два"));
        QVERIFY(!Child<QLabel>(f.get(), "ImageChange")->pixmap().isNull());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->k_Speed(), 30000);
        // The text pane is as wide as its height asks, the translation takes the rest.
        QWidget* pt = Child<QWidget>(f.get(), "PanelText");
        QCOMPARE(pt->width(), TextPaneWidth(f->height() - 116));
        QCOMPARE(Child<QWidget>(f.get(), "PanelTrans")->width(), f->width() - pt->width() - 2);
    }

    void toggles() {
        Lesson l;
        auto f = l.open();
        auto* box = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText");
        box->click();
        QVERIFY(!box->Checked());
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QVERIFY(!Child<QLabel>(f.get(), "ImageStatic")->isVisible());
        QVERIFY(f->TextShown());
        box->click();
        QVERIFY(box->Checked());
        QVERIFY(!Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QVERIFY(!f->TextShown());

        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTrans")->click();
        QVERIFY(f->TransShown());
        QVERIFY(!Child<QLabel>(f.get(), "ImageChange")->isVisible());

        // No learner recording: the locked box changes nothing.
        auto* user = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTransUser");
        user->click();
        QVERIFY(user->Checked());
        QCOMPARE(f->SelectedRecording(), QString("Lesson.wav"));
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled());
    }

    void playAllFollows_data() {
        QTest::addColumn<int>("ms"); // time since the start of play all (which starts at 1000)
        QTest::addColumn<int>("current");
        QTest::newRow("title stepped over") << 400 << 2;
        QTest::newRow("past line 2") << 1200 << 3;
        QTest::newRow("lone hash skipped") << 2200 << 5;
        QTest::newRow("line 6") << 3200 << 6;
        QTest::newRow("heading skipped") << 4200 << 8;
        QTest::newRow("stays on the last") << 5800 << 8;
    }

    void playAllFollows() {
        QFETCH(int, ms);
        QFETCH(int, current);
        Lesson l;
        auto f = l.open();
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText")->click();
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        QVERIFY(f->Playing());
        QCOMPARE(f->MediaPlayerText()->position(), 1000);
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->isEnabled());
        QVERIFY(!Child<QSlider>(f.get(), "TrackBarText")->isEnabled());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->k_Speed(), 100000);
        run(f.get(), ms);
        QCOMPARE(f->Current(), current);
        QCOMPARE(Child<QSlider>(f.get(), "TrackBarText")->value(), current);
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->Position(), current - 1);
        // The end of the recording brings the window back to idle.
        run(f.get(), 7000 - 1000 - ms + 100);
        QVERIFY(!f->Playing());
        QVERIFY(!f->DeviceOpen());
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->isEnabled());
        QVERIFY(!Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->isEnabled());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->k_Speed(), 30000);
    }

    void marking_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("begin");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("earlier"); // a range marked before, on this one line
        QTest::newRow("6 then 3") << 6 << 3 << 3 << 6 << 8;
        QTest::newRow("2 then 5") << 2 << 5 << 2 << 5 << 8;
        QTest::newRow("end on a heading") << 3 << 7 << 3 << 6 << 8;
        QTest::newRow("end on the lone hash") << 2 << 4 << 2 << 3 << 8;
        QTest::newRow("one sintagm") << 5 << 5 << 5 << 5 << 8;
        QTest::newRow("after a range before it") << 5 << 8 << 5 << 8 << 2;
        QTest::newRow("backwards after a range before it") << 8 << 6 << 6 << 8 << 2;
    }

    void marking() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, begin);
        QFETCH(int, end);
        QFETCH(int, earlier);
        Lesson l;
        auto f = l.open();
        auto* mark = Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2");
        auto* label = Child<QLabel>(f.get(), "LabelSelect");
        auto* view = Child<TTextSintagm>(f.get(), "TextSintagmText");
        // An earlier range far away, so that the view's ordering rules matter.
        setCurrent(f.get(), earlier);
        mark->click();
        mark->click();
        QCOMPARE(view->NBegin(), earlier - 1);
        setCurrent(f.get(), first);
        mark->click();
        QVERIFY(f->Marking());
        QCOMPARE(label->text(), QString("Окончание"));
        setCurrent(f.get(), second);
        mark->click();
        QVERIFY(!f->Marking());
        QCOMPARE(label->text(), QString("Начало"));
        QCOMPARE(f->RangeBegin(), begin);
        QCOMPARE(f->RangeEnd(), end);
        QCOMPARE(view->NBegin(), begin - 1);
        QCOMPARE(view->NEnd(), end - 1);
        QVERIFY(view->FlagSelMultSint());
    }

    void loopRestarts() {
        Lesson l;
        auto f = l.open();
        auto* mark = Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2");
        // Range 4..5: line 4 has no sound, so the loop starts at line 5's start.
        setCurrent(f.get(), 4);
        mark->click();
        setCurrent(f.get(), 6);
        mark->click();
        QCOMPARE(f->RangeBegin(), 4);
        QCOMPARE(f->RangeEnd(), 6);
        Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->click();
        QVERIFY(f->Looping());
        QCOMPARE(f->Current(), 4);
        QCOMPARE(f->MediaPlayerText()->position(), 3000);
        for (int round = 0; round < 3; ++round) {
            run(f.get(), 1100);
            QCOMPARE(f->Current(), 6);
            run(f.get(), 900); // reaches 5000, the end of line 6: starts again
            QVERIFY(f->Looping());
            QVERIFY(f->DeviceOpen());
            QCOMPARE(f->MediaPlayerText()->position(), 3000);
            QCOMPARE(f->MediaPlayerText()->mode(), AudioDevice::Playing);
            QVERIFY(f->Current() <= 5);
        }
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->click();
        Settle();
        QVERIFY(!f->Looping());
        QVERIFY(!f->DeviceOpen());
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled());
        run(f.get(), 3000);
        QVERIFY(!f->DeviceOpen());

        // Nothing marked: the loop does nothing.
        Lesson l2;
        auto g = l2.open();
        Child<TBtnImgTransD1Zv>(g.get(), "BtnImgTransD1Zv1")->click();
        QVERIFY(!g->Looping());
        QVERIFY(!g->DeviceOpen());
    }

    void commentStopsLoop() {
        Lesson l;
        auto f = l.open();
        auto* mark = Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv2");
        setCurrent(f.get(), 5);
        mark->click();
        mark->click();
        Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->click();
        QVERIFY(f->Looping());
        f->TimerPosTimer();
        auto* comment = Child<TBtnImgTransD1Zv>(f.get(), "BtnImgComent");
        QVERIFY(comment->isEnabled()); // line 5 has a comment
        comment->click();
        Settle();
        QVERIFY(!f->Looping());
        QVERIFY(!f->DeviceOpen());
        run(f.get(), 1500);
        QVERIFY(!f->DeviceOpen()); // no restart
        auto* panel = Child<QFrame>(f.get(), "PanelComent");
        QVERIFY(panel->isVisible());
        QCOMPARE(Child<QPlainTextEdit>(f.get(), "MemoComent")->toPlainText(),
                 QString("Note five\nsecond"));
        QTest::mouseClick(Child<QLabel>(f.get(), "Label9"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());

        setCurrent(f.get(), 2);
        f->TimerPosTimer();
        QVERIFY(!comment->isEnabled());
    }

    void learnerRecording() {
        Lesson l;
        WriteWave(l.dir.file("Ann3.wav"), 3000); // no Ann3.txt
        auto f = l.open("Ann3.wav");
        QCOMPARE(f->property("helpContext").toInt(), 180);
        auto* user = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTransUser");
        QVERIFY(user->markEnabled());
        user->click();
        QCOMPARE(f->SelectedRecording(), QString("Ann3.wav"));
        QVERIFY(!Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled());
        QVERIFY(!f->Lesson().LearnerTimingLoaded);

        // Lesson positions on the learner's recording.
        setCurrent(f.get(), 2);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->click();
        QVERIFY(f->DeviceOpen());
        QCOMPARE(f->MediaPlayerText()->fileName(), QString("Ann3.wav"));
        QCOMPARE(f->MediaPlayerText()->position(), 1000);
        QVERIFY(!f->Playing()); // one fragment: the current sintagm stays
        run(f.get(), 1100);
        QVERIFY(!f->DeviceOpen());
        QCOMPARE(f->Current(), 2);
        QVERIFY(!Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled());

        // Line 5 ends at 4000, beyond the 3000 ms recording: nothing happens.
        setCurrent(f.get(), 5);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->click();
        QVERIFY(!f->DeviceOpen());
        QVERIFY(!Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->isEnabled());
        QVERIFY(Child<QSlider>(f.get(), "TrackBarText")->isEnabled());
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectNext")->click();
        QVERIFY(!f->DeviceOpen());

        // Back to the lesson: the loop is offered again.
        user->click();
        QCOMPARE(f->SelectedRecording(), QString("Lesson.wav"));
        QVERIFY(Child<TBtnImgTransD1Zv>(f.get(), "BtnImgTransD1Zv1")->isEnabled());
    }

    void learnerTimingUsed() {
        Lesson l;
        WriteWave(l.dir.file("Ann3.wav"), 3000);
        WriteBytes(l.dir.file("Ann3.txt"), CrLf({"#\t#", "0\t500", "500\t900", "#\t#", "900\t1400",
                                                 "1400\t2000", "#\t#", "2000\t2900"}));
        auto f = l.open("Ann3.wav");
        QVERIFY(f->Lesson().LearnerTimingLoaded);
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTransUser")->click();
        setCurrent(f.get(), 5);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectNext")->click();
        QVERIFY(f->Playing());
        QCOMPARE(f->MediaPlayerText()->position(), 900);
        run(f.get(), 600); // position 1500: past line 5's learner end
        QCOMPARE(f->Current(), 6);
    }

    void schedulePictures() {
        Lesson l;
        auto f = l.open();
        QCOMPARE(f->ShownPicture(), 0);
        const QImage first = Child<QLabel>(f.get(), "ImageChange")->pixmap().toImage();
        QCOMPARE(first.pixelColor(first.width() / 2, first.height() / 2), QColor(200, 40, 40));
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        run(f.get(), 300);
        QCOMPARE(f->Current(), 2);
        QCOMPARE(f->ShownPicture(), 1); // line 2 ends at 2000
        run(f.get(), 1000);
        QCOMPARE(f->Current(), 3);
        QCOMPARE(f->ShownPicture(), 2); // line 3 ends at 3000
        const QImage second = Child<QLabel>(f.get(), "ImageChange")->pixmap().toImage();
        QCOMPARE(second.pixelColor(second.width() / 2, second.height() / 2), QColor(40, 200, 40));
    }

    void readError() {
        Messages m;
        Lesson l(false); // no timing file
        auto f = l.open();
        QCOMPARE(m.got, QStringList{"Повреждены звуковые файлы|Ошибка чтения файла|16"});
        QCOMPARE(f->N(), 8);
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->TextConst().size(), 8);
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmTrans")->TextConst().size(), 8);
        // Still usable: play one fragment of a line without positions.
        setCurrent(f.get(), 3);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->click();
        Settle();
        QVERIFY(!f->DeviceOpen());
        QVERIFY(m.got.size() == 1);
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
        QVERIFY(f->Marking());
        QVERIFY(!f->DeviceOpen());
        space();
        QVERIFY(!f->Marking());
        // Enter on a focused box toggles it.
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(f->TextShown());

        slider->setFocus();
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        // Through lines 3 and 5, which have comments.
        for (int step = 0; step < 12; ++step) {
            run(f.get(), 400);
            space();
            QVERIFY(f->Playing());
            QVERIFY(!f->Marking());
            QVERIFY(!Child<QFrame>(f.get(), "PanelComent")->isVisible());
            QVERIFY(qobject_cast<TBtnImgTransD1Zv*>(QApplication::focusWidget()) == nullptr);
        }
        run(f.get(), 1500);
        QVERIFY(!f->DeviceOpen());
        QCOMPARE(QApplication::focusWidget(), slider);
        SetHelpHandlers(nullptr, nullptr);
        QCOMPARE(help, QStringList());
    }

    // At open the three options are off and their boxes look clear; one
    // click on the text box shows the text and the mark.
    void boxesLookLikeTheirOptions() {
        Lesson l;
        auto f = l.open();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        auto shows = [&](const char* name, bool on) {
            auto* box = Child<TChBxImgTransD1Zv>(f.get(), name);
            const bool en = box->markEnabled();
            const QPixmap pic = on ? (en ? box->ImgOn() : box->ImgOnDis())
                                   : (en ? box->ImgOff() : box->ImgOffDis());
            const QImage shot =
                f->grab(QRect(box->mapTo(f.get(), QPoint(0, 0)), box->size())).toImage();
            return Contains(shot, pic.toImage());
        };
        for (const char* n : {"CheckBoxText", "CheckBoxTrans", "CheckBoxTransUser"}) {
            QVERIFY2(shows(n, false), n);
            QVERIFY2(!shows(n, true), n);
        }
        auto* box = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        QVERIFY(shows("CheckBoxText", true));
        QVERIFY(!shows("CheckBoxTrans", true));
    }

    void help() {
        QStringList keys;
        SetHelpHandlers([](int) {}, [&](const QString& k) { keys << k; });
        {
            Lesson l;
            auto f = l.open();
            Child<TBtnImgTransD1Zv>(f.get(), "BitBtn1")->click();
            auto g = l.open("Ann3.wav");
            Child<TBtnImgTransD1Zv>(g.get(), "BitBtn1")->click();
        }
        SetHelpHandlers(nullptr, nullptr);
        QCOMPARE(keys, QStringList({"WorkText", "ListenTrans"}));
    }

    void clickOnSintagm() {
        Lesson l;
        auto f = l.open();
        f->findChild<QTimer*>("TimerPos")->stop(); // no scrolling between measuring and clicking
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxTrans")->click();
        auto* view = Child<TTextSintagm>(f.get(), "TextSintagmTrans");
        view->Paint();
        // Row 3 of the view ("Раз два Три четыре ..."), pitch 20, at the top before any scroll.
        const int y = view->core().RowY(3) + 8;
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3, y));
        QCOMPARE(f->Current(), 2);
        // While playing, clicks do not move the current sintagm.
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->click();
        QVERIFY(f->DeviceOpen());
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3, view->core().RowY(7) + 8));
        QCOMPARE(f->Current(), 2);
    }

    void runWorkText() {
        Lesson l;
        bool seen = false;
        testenv::OnNextModal([&](QWidget* w) {
            seen = w->objectName() == "FormWorkText";
            Child<TBtnImgTransD1Zv>(w, "BitBtn5")->click();
        });
        QCOMPARE(RunWorkText(0, 0, 1000, 600, "Lesson.wav", QString(), "L1.txt", "T1.txt",
                             "Tm1.txt", "DemoData\\Pic1.txt", 2, "DemoData\\"),
                 0);
        QVERIFY(seen);
    }
};

QTEST_MAIN(TestFormWorkText)
#include "test_formworktext.moc"

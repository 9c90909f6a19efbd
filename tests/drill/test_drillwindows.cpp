// The vocabulary and question windows, offscreen with the virtual audio
// device: clicks and keys reaching the runs, what the runs give back on
// screen, the ways out, playback. Their dialogs and the program's message
// box: results of each way out, icons by flags, texts as given.
#include "common/messages.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "common/widgets.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/picturedialog.h"
#include "controls/speedcontrol.h"
#include "drill/dlgmessage.h"
#include "drill/eng_dlglexicerror.h"
#include "drill/eng_dlglexrepit.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formexeclexicdemo.h"
#include "drill/eng_formquestdemo.h"
#include "drill/eng_formquestdown.h"
#include "drill/eng_formquestend.h"
#include "drill/eng_formquesttrfl.h"
#include "drill/twocolumnlist.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "media/virtualaudio.h"
#include "support_drill.h"

#include <memory>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTableWidget>
#include <QtTest>

namespace {
using testui::Child;

// Accepts the next modal dialog, noting its class and the answer it shows.
void AcceptNext(QStringList* seen) {
    testenv::OnNextModal([seen](QWidget* w) {
        QString note = QString::fromLatin1(w->metaObject()->className());
        if (auto* memo = w->findChild<TMemoView*>("MemoTrueQuest"))
            note += ":" + memo->Lines().join("|");
        seen->append(note);
        if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
    });
}

// The run operation of each window kind, as the course calls it.
int RunKind(const QString& kind, const QString& a, const QString& b) {
    if (kind == "lexic") return RunLexic(400, 300, a, b, {}, {});
    if (kind == "demo") return RunLexicDemo(400, 300, a, b, {}, {});
    if (kind == "qdemo") return RunQuestDemo(400, 300, a, {}, {}, {});
    if (kind == "trfl") return RunQuestTrFl(400, 300, a, b, {}, {});
    return RunQuestDown(400, 300, a, b, {}, {}, nullptr, nullptr);
}

// The line of the drill's list that holds the right translation.
QListWidgetItem* RightLine(TFormExecLexic& w) {
    auto* list = Child<QListWidget>(&w, "ListBoxTrans");
    return list->findItems(w.Drill()->CurrentEntry().Translation, Qt::MatchExactly).value(0);
}
// Answers the next modal dialog by clicking its OK picture button.
void clickOkNext() {
    testenv::OnNextModal([](QWidget* w) {
        if (auto* ok = w->findChild<TBtnImgD1Zv*>("BitBtnOk"))
            QTest::mouseClick(ok, Qt::LeftButton);
    });
}

// How many opaque pixels of `icon` differ in `shown` (same size).
int differences(const QImage& shown, const QImage& icon) {
    int n = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            n += qAlpha(icon.pixel(x, y)) == 255 && shown.pixel(x, y) != icon.pixel(x, y);
    return n;
}
} // namespace

class TestDrillWindows : public QObject {
    Q_OBJECT
    testenv::CourseDir* m_dir = nullptr;
    QString F(const QString& n) const { return m_dir->file(n); }
    void Put(const QString& n, const QByteArray& b) const { testenv::WriteBytes(F(n), b); }
    // The drill window on the lesson files, shown and active.
    bool ShowDrill(TFormExecLexic& w, const QString& timing, const QString& sound) {
        w.SetFiles(F("e.txt"), F("t.txt"), timing, sound);
        if (!w.Load()) return false;
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = new testenv::CourseDir;
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        Put("e.txt", Join({"house", "cat", "dog"}));
        Put("t.txt", Join({W("дом"), W("кошка"), W("собака")}));
        Put("s.txt", Join({"0\t1000", "1000\t1000", "2000\t3000"})); // entry 2 has no range
        Put("l.wav", testwave::Silent(4000));
        Put("q.txt", Join({"Q1\t0", "Q2\t1", "Q3\t0"}));
        Put("a.txt", Join({"#", "r", "w", "#", "r2", "#", "r3"}));
        Put("one.txt", "<b>only</b>\r\n");
        Put("t1.txt", W("один") + "\r\n");
    }
    void cleanupTestCase() { delete m_dir; }

    // How each window is left, and files that leave nothing to run (one
    // error message, no window): the outcome the course gets.
    void outcomes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("how"); // button name or "enter"; empty: no window
        QTest::addColumn<int>("outcome");
        const QStringList et{"e.txt", "t.txt"}, qa{"q.txt", "a.txt"}, one{"one.txt", "t1.txt"};
        QTest::newRow("drill, no translations")
            << "lexic" << QStringList{"e.txt", "missing.txt"} << "" << 2;
        QTest::newRow("drill exit") << "lexic" << et << "ImageButton3" << 2;
        QTest::newRow("presentation, Enter on the last entry") << "demo" << one << "enter" << 0;
        QTest::newRow("questions exit")
            << "down" << QStringList{"e.txt", "a.txt"} << "BtnImgTransD1Zv3" << 2;
        QTest::newRow("question presentation exit") << "qdemo" << one << "BtnImgTransD1Zv2" << 2;
        QTest::newRow("true/false Cancel") << "trfl" << qa << "BitBtn3" << 1;
        QTest::newRow("true/false Close") << "trfl" << qa << "BitBtn4" << 2;
    }
    void outcomes() {
        QFETCH(QString, kind);
        QFETCH(QStringList, files);
        QFETCH(QString, how);
        QFETCH(int, outcome);
        QStringList modals;
        QString memo;
        // A handler still waiting when the row ends must not touch its locals.
        auto alive = std::make_shared<bool>(true);
        const auto disarm = qScopeGuard([alive] { *alive = false; });
        if (!how.isEmpty())
            testenv::OnNextModal([&, alive](QWidget* w) {
                if (!*alive) return;
                modals << w->objectName();
                if (auto* m = w->findChild<QPlainTextEdit*>("MemoQuest")) memo = m->toPlainText();
                if (how == "enter")
                    QTest::keyClick(w, Qt::Key_Return);
                else if (auto* b = w->findChild<TBtnImgTransD1Zv*>(how))
                    b->click();
                else if (auto* p = w->findChild<QPushButton*>(how))
                    p->click();
                // Anything that opens after it (a results window) is noted and closed.
                testenv::OnNextModal(
                    [&, alive](QWidget* x) {
                        if (!*alive) return;
                        modals << x->objectName();
                        if (auto* d = qobject_cast<QDialog*>(x)) d->reject();
                    },
                    300);
            });
        testui::MessageRecorder m;
        QCOMPARE(RunKind(kind, F(files[0]), F(files[1])), outcome);
        QTest::qWait(400);
        QCOMPARE(modals.size(), how.isEmpty() ? 0 : 1);
        QCOMPARE(m.messages.size(), how.isEmpty() ? 1 : 0);
        if (how.isEmpty()) QCOMPARE(m.messages[0].flags, int(MB_ICONSTOP));
        // Lesson text is shown as it stands, never as markup.
        if (kind == "qdemo") QCOMPARE(memo, QString("<b>only</b>"));
    }

    // Enter and a double click on the list confirm the pick; the dialogs and
    // the error counter show the drill's verdicts.
    void drillRun() {
        TFormExecLexic w;
        QVERIFY(ShowDrill(w, QString(), QString()));
        auto* list = Child<QListWidget>(&w, "ListBoxTrans");
        const QString expected = w.Drill()->CurrentEntry().Translation;
        list->setCurrentRow((list->row(RightLine(w)) + 1) % 3);
        QStringList seen;
        for (int i = 0; i < 2; ++i) {
            AcceptNext(&seen);
            QTest::keyClick(list, Qt::Key_Return);
        }
        QCOMPARE(seen, (QStringList{"TDlgErrorDo", "TDlgLexicError:" + expected}));
        QCOMPARE(Child<QLabel>(&w, "LabelError")->text(), QString("1"));
        for (int left = 3; left > 0 && w.isVisible(); --left) {
            const QPoint at = list->visualItemRect(RightLine(w)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(TDrillWindow::Completed));
    }

    // A digit key marks its row and Enter checks it; the run's verdicts open
    // their dialogs and close the window at the end.
    void questDownKeys() {
        Put("q3.txt", "Three?\r\n");
        Put("a3.txt", Join({"#", "right", "w1", "w2"}));
        TFormQuestDown w;
        w.SetFiles(F("q3.txt"), F("a3.txt"), {}, {});
        QVERIFY(w.Load());
        w.Start();
        w.show();
        const int right = w.Run()->RightRow(), wrong = right == 1 ? 2 : 1;
        QCOMPARE(Child<QPlainTextEdit>(&w, QString("Memo%1").arg(right))->toPlainText(),
                 QString("right"));
        QStringList seen;
        for (int i = 0; i < 2 && w.isVisible(); ++i) {
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::keyClick(&w, Qt::Key(Qt::Key_0 + wrong));
            QVERIFY(Child<TChBxImgTransD1Zv>(&w, QString("RadioButton%1").arg(wrong))->Checked());
            AcceptNext(&seen);
            QTest::keyClick(&w, Qt::Key_Return);
        }
        QCOMPARE(seen, (QStringList{"TDlgErrorDo", "TDlgDoubleError:right"}));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(TDrillWindow::Completed));
    }

    // The radio buttons choose, "Next" skips, Enter judges; the results
    // window counts the errors and marks the wrong answer's row.
    void trflRun() {
        Put("q2.txt", Join({W("Это дом?") + "\t0", "Is it red?\t1"}));
        QString problem;
        testenv::OnNextModal([&](QWidget* wd) {
            auto* w = qobject_cast<TFormQuestTrFl*>(wd);
            if (!w) return void(problem = "not the true/false window");
            Child<QPushButton>(w, "BitBtnNext")->click();
            // Space on a radio button marks its answer and plays nothing.
            auto* no = Child<QRadioButton>(w, "RadioButtonNo");
            QTest::keyClick(no, Qt::Key_Space);
            if (!no->isChecked() || w->Run()->Remaining() != 2 ||
                w->findChild<AudioDevice*>()->mode() == AudioDevice::Playing)
                problem = "Space on a radio button";
            testenv::OnNextModal([&](QWidget* end) {
                auto* table = Child<QTableWidget>(end, "StringGridRes");
                if (Child<QLabel>(end, "LabelError")->text() != "1") problem = "error count";
                // The wrong answer's row is marked by its colour, the right one's not.
                if (table->item(1, 0)->background().color() != WrongAnswerColor() ||
                    table->item(2, 0)->background().color() == WrongAnswerColor())
                    problem = "colours";
                Child<QPushButton>(end, "BitBtnOk")->click();
            });
            QTest::keyClick(w, Qt::Key_Return);
            if (!no->isChecked()) problem = "choice lost";
            QTest::keyClick(w, Qt::Key_Return);
        });
        QCOMPARE(RunQuestTrFl(400, 300, F("q2.txt"), F("a.txt"), F("s.txt"), F("l.wav")), 0);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // Space on the list plays the entry on show, at the speed kept from the
    // last window, which "-" changes and keeps; Space on the focused OK button
    // belongs to it and plays nothing. A sound file that cannot be opened
    // gives the device's message and leaves the button ready.
    void keys_data() {
        QTest::addColumn<QString>("control"); // focused for Space
        QTest::newRow("Space on the list") << "ListBoxTrans";
        QTest::newRow("Space on OK") << "BitBtnNext";
        QTest::newRow("no sound file, the button") << "nosound";
    }
    void keys() {
        QFETCH(QString, control);
        PlaySpeed::Save(60);
        TFormExecLexic w;
        QVERIFY(ShowDrill(w, F("s.txt"), F(control == "nosound" ? "nosound.wav" : "l.wav")));
        auto* play = Child<QAbstractButton>(&w, "BitBtnPlay");
        auto* dev = w.findChild<AudioDevice*>();
        auto* list = Child<QListWidget>(&w, "ListBoxTrans");
        if (w.Drill()->Current() == 2) { // the entry without a range: nothing to play
            QVERIFY(!play->isEnabled());
            list->setCurrentItem(RightLine(w));
            QTest::keyClick(list, Qt::Key_Return);
        }
        QVERIFY(play->isEnabled());
        if (control == "nosound") {
            testui::MessageRecorder m;
            play->click();
            QCOMPARE(m.messages.size(), 1);
            QVERIFY(play->isEnabled());
            return;
        }
        if (control == "BitBtnNext") {
            list->setCurrentItem(RightLine(w));
            const int before = w.Drill()->RightCount();
            Child<QWidget>(&w, control)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QCOMPARE(w.Drill()->RightCount(), before + 1);
            QVERIFY(dev->mode() != AudioDevice::Playing);
            return;
        }
        QCOMPARE(dev->speed(), 60);
        QTest::keyClick(list, Qt::Key_Minus);
        QCOMPARE(Child<TSpeedControl>(&w, "Speed")->speed(), 50);
        QCOMPARE(dev->speed(), 50);
        QCOMPARE(PlaySpeed::Load(), 50);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!play->isEnabled());
        QCOMPARE(dev->mode(), AudioDevice::Playing);
        VirtualAudio::Advance(2100); // a 1000 ms range at half speed
        QTRY_VERIFY(play->isEnabled());
        play->click();
        QTest::keyClick(&w, Qt::Key_Escape); // closing during playback stops the device
        QVERIFY(dev->mode() != AudioDevice::Playing);
        VirtualAudio::Advance(2000);
    }

    // Two columns read like a page: Down goes through the lines in their
    // order, across the columns, and scrolls the current line into view.
    void twoColumnList_data() {
        QTest::addColumn<int>("n");
        QTest::newRow("one") << 1;
        QTest::newRow("odd") << 5;
        QTest::newRow("more than the frame shows") << 30;
    }
    void twoColumnList() {
        QFETCH(int, n);
        QWidget back;
        back.resize(560, 300);
        auto* list = new TTwoColumnList(&back);
        list->placeFrame(QRect(10, 10, 520, 270));
        for (int i = 0; i < n; ++i)
            list->addItem(QString("line %1").arg(i));
        list->arrange(26);
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        QWidget* view = list->frame()->viewport();
        auto shown = [&](int i) {
            const QRect r = list->visualItemRect(list->item(i));
            return view->rect().contains(list->viewport()->mapTo(view, r.center()));
        };
        list->setFocus();
        list->setCurrentRow(0);
        for (int i = 1; i <= n; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->currentRow(), qMin(i, n - 1));
            QVERIFY(shown(list->currentRow()));
        }
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Right);
        QCOMPARE(list->currentRow(), n > 1 ? (n + 1) / 2 : 0); // the first line of column 2
    }

    // The installed box draws the icon of its flags and the text as given:
    // markup stays text, a carriage return breaks the line, the last text
    // replaces the one before. A message raised while it is up gets a box of
    // its own.
    void messageBox() {
        InstallXMessageDialog();
        clickOkNext();
        ::XMessage("old", "t", 0);
        QStringList order;
        testenv::OnNextModal([&](QWidget* w) {
            order << w->windowTitle();
            testenv::OnNextModal([&](QWidget* inner) {
                order << (inner == &DlgxMessage() ? "same box" : "second box");
                QTest::mouseClick(inner->findChild<TBtnImgD1Zv*>("BitBtnOk"), Qt::LeftButton);
            });
            ::XMessage("Вторая", "Б", 0x10);
            clickOkNext();
        });
        QCOMPARE(::XMessage("<b>a</b>\rвторая", "Ошибка", 0x30), int(mrOk));
        SetXMessageHandler({});
        QCOMPARE(order, (QStringList{"Ошибка", "second box"}));
        TDlgxMessage& dlg = DlgxMessage();
        QCOMPARE(dlg.MemoMess->Lines(),
                 QStringList{QString("<b>a</b>") + QChar::LineSeparator + "вторая"});
        const QImage shown =
            dlg.ImageIcon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage icon = dlg.ImageListIcon[2].toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), icon.size());
        QCOMPARE(differences(shown, icon), 0);
    }

    void resultsDialog_data() {
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expect");
        QTest::newRow("mark done") << true << "BitBtnOk" << int(mrOk);
        QTest::newRow("repeat") << true << "BitBtn3" << int(mrRetry);
        // Marking is locked: the OK button does nothing.
        QTest::newRow("locked, OK then leave") << false << "BitBtnOk" << int(mrCancel);
        QTest::newRow("locked, Enter repeats") << false << "enter" << int(mrRetry);
    }
    void resultsDialog() {
        QFETCH(bool, okEnabled);
        QFETCH(QString, action);
        QFETCH(int, expect);
        TDlgLexRepit& dlg = DlgLexRepit();
        dlg.SetComent("old message");
        dlg.SetComent("Вы допустили 10% ошибок.");
        QCOMPARE(dlg.MemoComent->Lines(), QStringList{"Вы допустили 10% ошибок."});
        dlg.SetOkEnabled(okEnabled);
        testenv::OnNextModal([&](QWidget* w) {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            if (action == "enter")
                QTest::keyClick(w->focusWidget(), Qt::Key_Return);
            else if (auto* b = w->findChild<TBtnImgTransD1Zv*>(action))
                QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 20));
            // Whatever did not close it, leaving does.
            if (w->isVisible()) QTest::mouseClick(dlg.BitBtn2, Qt::LeftButton, {}, QPoint(20, 20));
        });
        QCOMPARE(dlg.exec(), expect);
        // The dialog keeps its state for the next caller; the caption greys with its button.
        QCOMPARE(dlg.BitBtnOk->isEnabled(), okEnabled);
        QCOMPARE(dlg.findChild<QLabel*>("LabelOk")->isEnabled(), okEnabled);
    }
};

QTEST_MAIN(TestDrillWindows)
#include "test_drillwindows.moc"

// The vocabulary and question windows, offscreen with the virtual audio
// device: whole runs on small lesson files, read errors, playback, help.
#include "common/messages.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "common/widgets.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/picturedialog.h"
#include "drill/drillwindow.h"
#include "drill/eng_dlglexicerror.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formexeclexicdemo.h"
#include "drill/eng_formquestdemo.h"
#include "drill/eng_formquestdown.h"
#include "drill/eng_formquestend.h"
#include "drill/eng_formquesttrfl.h"
#include "drill/twocolumnlist.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "support_drill.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QtTest>

namespace {
using testui::Child;
using Messages = testui::MessageRecorder;

QString Text(QWidget* w, const char* label) {
    return Child<QLabel>(w, label)->text();
}

// Accepts the next modal dialog, noting its class and answer text.
void AcceptNext(QStringList* seen) {
    testenv::OnNextModal([seen](QWidget* w) {
        QString note = QString::fromLatin1(w->metaObject()->className());
        if (auto* memo = w->findChild<TMemoView*>("MemoTrueQuest"))
            note += ":" + memo->Lines().join("|");
        if (seen) seen->append(note);
        if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
    });
}

// The run operation of each window kind, as the course calls it.
int RunKind(const QString& kind, const QString& a, const QString& b, int* n = nullptr,
            int* e = nullptr) {
    if (kind == "lexic") return RunLexic(400, 300, a, b, {}, {});
    if (kind == "demo") return RunLexicDemo(400, 300, a, b, {}, {});
    if (kind == "qdemo") return RunQuestDemo(400, 300, a, {}, {}, {});
    if (kind == "trfl") return RunQuestTrFl(400, 300, a, b, {}, {});
    return RunQuestDown(400, 300, a, b, {}, {}, n, e);
}

// A window of `kind` loaded from the files, its first entry on show (null if Load failed).
std::unique_ptr<TDrillWindow> Loaded(const QString& kind, const QString& a, const QString& b,
                                     const QString& s = {}, const QString& wav = {}) {
    if (kind == "lexic") {
        auto d = std::make_unique<TFormExecLexic>();
        d->SetSeed(5);
        d->SetFiles(a, b, s, wav);
        if (!d->Load()) return nullptr;
        return d;
    }
    if (kind == "demo") {
        auto d = std::make_unique<TFormExecLexicDemo>();
        d->SetFiles(a, b, s, wav);
        if (!d->Load()) return nullptr;
        d->SetInitialData();
        return d;
    }
    if (kind == "qdemo") {
        auto d = std::make_unique<TFormQuestDemo>();
        d->SetFiles(a, {}, s, wav);
        if (!d->Load()) return nullptr;
        d->SelectNext();
        return d;
    }
    auto d = std::make_unique<TFormQuestTrFl>();
    d->SetSeed(5);
    d->SetFiles(a, b, s, wav);
    if (!d->Load()) return nullptr;
    d->Start();
    return d;
}

// Loaded() and on the screen.
std::unique_ptr<TDrillWindow> Shown(const QString& kind, const QString& a, const QString& b,
                                    const QString& s = {}, const QString& wav = {}) {
    auto w = Loaded(kind, a, b, s, wav);
    if (w) {
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) w.reset();
    }
    return w;
}
} // namespace

class TestDrillWindows : public QObject {
    Q_OBJECT
    testenv::CourseDir* m_dir = nullptr;
    QString F(const QString& n) const { return m_dir->file(n); }
    void Put(const QString& n, const QByteArray& b) const { testenv::WriteBytes(F(n), b); }

    void LexicFixture() {
        Put("e.txt", Join({"house", "cat", "dog"}));
        Put("t.txt", Join({W("дом"), W("кошка"), W("собака")}));
        Put("s.txt", Join({"0\t1000", "1000\t1000", "2000\t3000"}));
        Put("l.wav", testwave::Silent(4000));
    }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = new testenv::CourseDir;
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    }
    void cleanupTestCase() { delete m_dir; }

    // Files that leave nothing to run: the message, no window, the outcome.
    void unusableFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("text");
        const QString damaged("Ошибка чтения файла.\rПоврежден файл ");
        const QString lexic("lexic"), down("down");
        QTest::newRow("drill, no translations")
            << lexic << QString("e.txt") << "missing.txt" << 2 << damaged;
        QTest::newRow("presentation, no expressions")
            << QString("demo") << QString("missing.txt") << "t.txt" << 1
            << QString("Ошибка чтения файла.\rПовреждены текстовые файлы ");
        QTest::newRow("questions, no answers file")
            << down << QString("q.txt") << "missing.txt" << 2 << damaged;
    }
    void unusableFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, expr);
        QFETCH(QString, second);
        QFETCH(int, outcome);
        QFETCH(QString, text);
        LexicFixture();
        Put("q.txt", "Q?\r\n");
        QFile::remove(F("missing.txt"));
        Messages m;
        int n = -1, e = -1;
        QCOMPARE(RunKind(kind, F(expr), F(second), &n, &e), outcome);
        QCOMPARE(m.messages.size(), 1);
        QCOMPARE(m.messages[0].text, text);
        QCOMPARE(m.messages[0].flags, int(MB_ICONSTOP));
        if (kind == "down") QCOMPARE((QPair<int, int>(n, e)), (QPair<int, int>(0, 0)));
    }

    void drillRun() {
        LexicFixture();
        Messages m;
        TFormExecLexic w;
        w.SetSeed(17);
        w.SetFiles(F("e.txt"), F("t.txt"), QString(), QString());
        QVERIFY(w.Load());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = Child<QListWidget>(&w, "ListBoxTrans");
        auto* edit = Child<QLineEdit>(&w, "EditText");
        const QStringList tr{"дом", "кошка", "собака"}, ex{"house", "cat", "dog"};
        auto rightRow = [&] { return int(ex.indexOf(edit->text())); };

        // Wrong twice: try-again dialog, then the wrong-answer dialog with the right translation.
        QStringList seen;
        const QString expected = tr[rightRow()];
        list->setCurrentRow((rightRow() + 1) % 3);
        AcceptNext(&seen);
        QTest::keyClick(list, Qt::Key_Return);
        AcceptNext(&seen);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(seen, (QStringList{"TDlgErrorDo", "TDlgLexicError:" + expected}));
        QCOMPARE(Text(&w, "LabelError"), QString("1"));

        // Right picks to the end, by double click.
        for (int left = 3; left > 0; --left) {
            QVERIFY(w.isVisible());
            QListWidgetItem* item = list->item(rightRow());
            list->setCurrentItem(item);
            const QPoint at = list->visualItemRect(item).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(TDrillWindow::Completed));
        QVERIFY(m.messages.isEmpty());
    }

    void exitCommands_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how"); // button name or "esc"
        QTest::addColumn<int>("outcome");
        const QString esc("esc");
        QTest::newRow("drill exit") << QString("lexic") << "ImageButton3" << 2;
        QTest::newRow("presentation esc") << QString("demo") << esc << 1;
        QTest::newRow("questions exit") << QString("down") << "BtnImgTransD1Zv3" << 2;
        QTest::newRow("question presentation exit") << QString("qdemo") << "BtnImgTransD1Zv2" << 2;
        QTest::newRow("true/false Cancel") << QString("trfl") << "BitBtn3" << 1;
        QTest::newRow("true/false Close") << QString("trfl") << "BitBtn4" << 2;
    }
    void exitCommands() {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        QFETCH(int, outcome);
        LexicFixture();
        Put("q.txt", Join({"Q1\t0", "Q2\t1"}));
        Put("a.txt", Join({"#", "r", "w", "#", "r2"}));
        QStringList modals;
        testenv::OnNextModal([how, &modals](QWidget* w) {
            modals << w->objectName();
            if (how == "esc")
                QTest::keyClick(w, Qt::Key_Escape);
            else if (auto* b = w->findChild<TBtnImgTransD1Zv*>(how))
                b->click();
            else if (auto* p = w->findChild<QPushButton*>(how))
                p->click();
            // Anything that opens after it (a results window) is noted and closed.
            testenv::OnNextModal(
                [&modals](QWidget* x) {
                    modals << x->objectName();
                    if (auto* d = qobject_cast<QDialog*>(x)) d->reject();
                },
                300);
        });
        const bool trfl = kind == "trfl";
        const int r = RunKind(kind, F(trfl ? "q.txt" : "e.txt"),
                              F(kind == "down" || trfl ? "a.txt" : "t.txt"));
        QCOMPARE(r, outcome);
        QTest::qWait(400);
        QCOMPARE(modals.size(), 1); // no results window after leaving
    }

    void questDownRun() {
        Put("q.txt", Join({"Two?", "Empty?", "Four?"}));
        Put("a.txt", Join({"#", "two-right", "two-wrong", "#", "#", "four-right", "b", "c", "d"}));
        int n = -1, e = -1;
        QStringList seen;
        QString problem;
        testenv::OnNextModal([&](QWidget* wd) {
            auto* w = qobject_cast<TFormQuestDown*>(wd);
            if (!w) return void(problem = "not the questions window");
            w->activateWindow();
            if (!QTest::qWaitForWindowActive(w)) problem = "window not active";
            // Question with two options: a wrong answer is final. With four:
            // a wrong one, then the right one.
            for (int q = 0; q < 2 && w->isVisible(); ++q) {
                const QuestDownRun* run = w->Run();
                const int rows = run->RowCount();
                const int right = run->RightRow();
                // The right row shows option 1: the window draws what the run holds.
                if (Child<QPlainTextEdit>(w, QString("Memo%1").arg(right))->toPlainText() !=
                    run->CurrentEntry().Answers[0])
                    problem = "right row does not hold option 1";
                const int wrong = right == 1 ? 2 : 1;
                QTest::keyClick(w, Qt::Key(Qt::Key_0 + wrong));
                if (!Child<TChBxImgTransD1Zv>(w, QString("RadioButton%1").arg(wrong))->Checked()) {
                    problem = "key did not mark the row";
                    return w->reject();
                }
                AcceptNext(&seen);
                QTest::keyClick(w, Qt::Key_Return);
                w->activateWindow(); // back from the dialog
                if (w->isVisible() && !QTest::qWaitForWindowActive(w))
                    problem = "window not active";
                if (rows == 4) {
                    QTest::keyClick(w, Qt::Key(Qt::Key_0 + right));
                    QTest::keyClick(w, Qt::Key_Return);
                }
            }
        });
        Messages m;
        const int r = RunQuestDown(400, 300, F("q.txt"), F("a.txt"), QString(), QString(), &n, &e);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(r, 0);
        QCOMPARE(n, 2); // the question without options is not asked
        QCOMPARE(e, 1);
        seen.sort();
        QCOMPARE(seen, (QStringList{"TDlgDoubleError:two-right", "TDlgErrorDo"}));
        QVERIFY(m.messages.isEmpty());
    }

    void trflRun() {
        Put("q.txt", Join({W("Это дом?") + "\t0", "Is it red?\t1"}));
        Put("a.txt", "");
        Put("s.txt", Join({"0\t500", "500\t900"}));
        Put("l.wav", testwave::Silent(1000));
        QString problem;
        QList<QStringList> grid;
        testenv::OnNextModal([&](QWidget* wd) {
            auto* w = qobject_cast<TFormQuestTrFl*>(wd);
            if (!w) return void(problem = "not the true/false window");
            Child<QPushButton>(w, "BitBtnNext")->click();
            Child<QRadioButton>(w, "RadioButtonNo")->setChecked(true);
            testenv::OnNextModal([&](QWidget* end) {
                auto* table = end->findChild<QTableWidget*>("StringGridRes");
                for (int r = 0; table && r < table->rowCount(); ++r)
                    grid << QStringList{table->item(r, 0)->text(), table->item(r, 1)->text(),
                                        table->item(r, 2)->text()};
                if (Text(end, "LabelError") != "1") problem = "wrong error count";
                end->findChild<QPushButton*>("BitBtnOk")->click();
            });
            QTest::keyClick(w, Qt::Key_Return);
            if (!Child<QRadioButton>(w, "RadioButtonNo")->isChecked())
                problem = "choice not carried";
            QTest::keyClick(w, Qt::Key_Return);
        });
        const int r = RunQuestTrFl(400, 300, F("q.txt"), F("a.txt"), F("s.txt"), F("l.wav"));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(r, 0);
        // "Нет" chosen for both: wrong on the "Да" question, right on the other.
        QCOMPARE(grid.mid(1),
                 (QList<QStringList>{{"Это дом?", "Да", "Нет"}, {"Is it red?", "Нет", "Да"}}));
    }

    void resultsRefill() {
        auto entries = [](int n) {
            QList<TTrFlEntry> out;
            for (int i = 0; i < n; ++i) {
                TTrFlEntry e;
                e.Quest = QString("Q%1").arg(i + 1);
                e.YesIsRight = i % 2 == 0;
                e.AnsweredRight = i % 3 != 0;
                e.Done = true;
                out << e;
            }
            return out;
        };
        TFormQuestEnd end;
        end.Fill(entries(60), 20);
        QCOMPARE(end.StringGridRes->rowCount(), 61); // more than 49 questions all listed
        QCOMPARE(end.StringGridRes->item(60, 0)->text(), QString("Q60"));
        end.Fill(entries(2), 1);
        QCOMPARE(end.StringGridRes->rowCount(), 3);
        QCOMPARE(end.StringGridRes->item(1, 0)->background().color(), WrongAnswerColor());
        QVERIFY(end.StringGridRes->item(2, 0)->background().color() != WrongAnswerColor());
    }

    void presentations_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("vocabulary") << "demo";
        QTest::newRow("questions") << "qdemo";
    }
    void presentations() {
        QFETCH(QString, kind);
        Put("one.txt", "<b>only</b>\r\n");
        Put("t.txt", W("один") + "\r\n");
        auto w = Loaded(kind, F("one.txt"), F("t.txt"));
        QVERIFY(w);
        if (kind == "qdemo") // lesson text is shown as it stands, never as markup
            QCOMPARE(Child<QPlainTextEdit>(w.get(), "MemoQuest")->toPlainText(),
                     QString("<b>only</b>"));
        w->show();
        QTest::keyClick(w.get(), Qt::Key_Return); // "Далее" is the default
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(TDrillWindow::Completed));
    }

    // Ctrl+P, or Space on the drill's list, plays the entry on show; Space
    // on a focused button or radio button belongs to it and plays nothing.
    void keys_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control"); // focused for Space; empty: Ctrl+P in the window
        QTest::newRow("drill, Ctrl+P") << "lexic"
                                       << "";
        QTest::newRow("drill, Space on the list") << "lexic"
                                                  << "ListBoxTrans";
        QTest::newRow("drill OK") << "lexic"
                                  << "BitBtnNext";
        QTest::newRow("true/false, no") << "trfl"
                                        << "RadioButtonNo";
    }
    void keys() {
        QFETCH(QString, kind);
        QFETCH(QString, control);
        LexicFixture(); // entry 2 has an empty range (1000..1000)
        Put("tq.txt", Join({"A\t0", "B\t1", "C\t0"}));
        Put("a.txt", "");
        const bool trfl = kind == "trfl";
        auto w = Shown(kind, F(trfl ? "tq.txt" : "e.txt"), F(trfl ? "a.txt" : "t.txt"), F("s.txt"),
                       F("l.wav"));
        QVERIFY(w);
        auto* play = Child<QAbstractButton>(w.get(), "BitBtnPlay");
        auto* dev = w->findChild<AudioDevice*>();
        auto* lexic = qobject_cast<TFormExecLexic*>(w.get());
        auto* tf = qobject_cast<TFormQuestTrFl*>(w.get());
        if (control.isEmpty() || control == "ListBoxTrans") {
            QCOMPARE(play->isEnabled(), lexic->Drill()->Current() != 2);
            if (!play->isEnabled()) QSKIP("drill drew the entry without a range first");
            if (control.isEmpty())
                QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
            else
                QTest::keyClick(Child<QWidget>(w.get(), control), Qt::Key_Space);
            QVERIFY(!play->isEnabled());
            QCOMPARE(dev->mode(), AudioDevice::Playing);
            VirtualAudio::Advance(1100);
            QTest::qWait(20);
            QVERIFY(play->isEnabled());
            // Closing during playback stops and closes the device.
            play->click();
            QCOMPARE(dev->mode(), AudioDevice::Playing);
            QTest::keyClick(w.get(), Qt::Key_Escape);
            QVERIFY(dev->mode() != AudioDevice::Playing);
            VirtualAudio::Advance(2000);
            QTest::qWait(20);
            return;
        }
        if (lexic) { // the right line picked
            auto* list = Child<QListWidget>(w.get(), "ListBoxTrans");
            list->setCurrentItem(
                list->findItems(lexic->Drill()->CurrentEntry().Translation, Qt::MatchExactly)[0]);
        }
        auto progress = [&] {
            return lexic ? lexic->Drill()->RightCount() : tf->Run()->Remaining();
        };
        const int before = progress();
        Child<QWidget>(w.get(), control)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(dev->mode() != AudioDevice::Playing);
        if (tf) QVERIFY(Child<QRadioButton>(w.get(), control)->isChecked());
        QCOMPARE(progress() != before, !tf); // a radio button only marks its answer
    }

    // Two columns read like a page; Up and Down go through the lines in
    // their order, across the columns, and the current line is scrolled
    // into view.
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
        const int rows = (n + 1) / 2;
        auto rect = [&](int i) { return list->visualItemRect(list->item(i)); };
        for (int i = 0; i < n; ++i) {
            QVERIFY(rect(i).right() < view->width());
            if (i < rows) {
                QCOMPARE(rect(i).x(), rect(0).x());
                if (i > 0) QVERIFY(rect(i).y() > rect(i - 1).y());
            } else {
                QVERIFY(rect(i).x() > rect(0).right());
                QCOMPARE(rect(i).y(), rect(i - rows).y());
            }
        }
        auto shown = [&](int i) {
            return view->rect().contains(list->viewport()->mapTo(view, rect(i).center()));
        };
        list->setFocus();
        list->setCurrentRow(0);
        QList<int> seen{list->currentRow()}, expected{0};
        for (int i = 1; i <= n; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
            seen << list->currentRow();
            expected << qMin(i, n - 1);
            QVERIFY(shown(list->currentRow()));
        }
        QCOMPARE(seen, expected);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(list->currentRow(), qMax(0, n - 2));
        QVERIFY(shown(list->currentRow()));
        if (n > 1) {
            list->setCurrentRow(0);
            QTest::keyClick(list, Qt::Key_Right);
            QCOMPARE(list->currentRow(), rows);
        }
    }

    void playWithMissingSound() {
        LexicFixture();
        Messages m;
        auto w = Shown("demo", F("e.txt"), F("t.txt"), F("s.txt"), F("nosound.wav"));
        QVERIFY(w);
        auto* play = Child<QAbstractButton>(w.get(), "BitBtnPlay");
        play->click();
        QCOMPARE(m.messages.size(), 1); // the device's error text
        QVERIFY(play->isEnabled());
    }
};

QTEST_MAIN(TestDrillWindows)
#include "test_drillwindows.moc"

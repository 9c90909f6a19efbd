// The teacher console: learners and their reports, the current learner's
// unsaved progress, a file that cannot be read, playback of a recording
// (scripted) and that no learner file is ever written.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "course/appstate.h"
#include "learners/eng_formprepod.h"
#include "learners/learnertable.h"
#include "learners/printlayout.h"
#include "support_learners.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {

TCourseItem Item(const QString& caption, int kind, const QString& f3 = {}) {
    TCourseItem c;
    c.Caption = caption;
    c.ExerciseKind = quint8(kind);
    c.DataFile1 = "L1.txt";
    c.DataFile2 = "L1r.txt";
    c.DataFile3 = f3;
    c.DataFile5 = "L1.pic";
    return c;
}

TProgressRec Rec(int done, const QString& file = {}) {
    TProgressRec r;
    r.Done = quint8(done);
    r.RecordFile = file;
    return r;
}

ProgressTable Table(const QList<TProgressRec>& recs) {
    ProgressTable t;
    t.Recs << recs;
    t.Count = int(recs.size());
    return t;
}

const QString kIn = QStringLiteral("       ");

} // namespace

class TestPrepod : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

    QStringList lines(TFormPrepod& f) {
        QStringList l;
        for (int i = 0; i < f.ListBoxReport->count(); ++i)
            l << f.ListBoxReport->item(i)->text();
        return l;
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // Items 3 gives no line: line 2 shows item 4, line 3 item 5.
    void init() {
        m_dir = std::make_unique<testenv::CourseDir>();
        CourseTable a(1);
        a << Item("Урок 1", 0) << Item("Запись", 4) << Item("Пропуск", 9) << Item("Текст", 5)
          << Item("Диктор", 13, "s.wav");
        CourseTable t[4] = {a, {}, {}, {}};
        SetCourseTables(t);
        testenv::WriteBytes(m_dir->file("s.wav"), "RIFF");
        Learners().Users = {MakeUser("Anna", 'A', "pw1", "Report\\Anna\\"),
                            MakeUser("Bob", 'A', "", "Report\\Bob\\"),
                            MakeUser("Eve", 'A', "x", "Report\\Eve\\")};
        // Anna's file is older than her progress in memory.
        testenv::WriteBytes(m_dir->file("Report/Anna/Anna.rep"),
                            EncodeProgressFile(Table({Rec(0), Rec(0), Rec(0), Rec(0), Rec(0)})));
        testenv::WriteBytes(m_dir->file("Report/Bob/Bob.rep"),
                            EncodeProgressFile(Table(
                                {Rec(0), Rec(1), Rec(0), Rec(1), Rec(1, "Report\\Bob\\b5.wav")})));
        CurrentProgress() = Table({Rec(0), Rec(1, "Report\\Anna\\r2.wav"), Rec(0), Rec(0), Rec(0)});
        App().CurrentUser = 0;
    }
    void cleanup() {
        ResetAppState();
        Learners().Users.clear();
        CurrentProgress() = ProgressTable{};
        SetConsolePlaybackHook({});
        m_dir.reset();
    }

    void learners() {
        const QStringList files = {"Report/Anna/Anna.rep", "Report/Bob/Bob.rep"};
        QList<QByteArray> bytes;
        QList<QDateTime> times;
        for (const QString& f : files) {
            bytes << testenv::ReadBytes(m_dir->file(f));
            times << QFileInfo(m_dir->file(f)).lastModified();
        }
        MessageRecorder rec;
        TFormPrepod form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Переподаватель"));
        QCOMPARE(form.property("helpContext").toInt(), 60);
        form.FormShow();
        QCOMPARE(form.ListBoxUsers->count(), 3);
        QCOMPARE(form.ListBoxUsers->item(1)->text(), QStringLiteral("Bob - Режим A"));
        QCOMPARE(form.ListBoxUsers->currentRow(), 0);
        QCOMPARE(form.EditPassword->text(), QStringLiteral("pw1"));
        QVERIFY(form.EditPassword->isReadOnly());
        const QStringList anna = {"   Раздел: Урок 1", kIn + "Запись - Выполнено",
                                  kIn + "Текст - Не выполнено", kIn + "Диктор - Не выполнено"};
        QCOMPARE(lines(form), anna); // unsaved progress of the current learner
        QVERIFY(!form.BitBtnPlay->isEnabled());
        QVERIFY(form.BitBtn3->isEnabled());

        form.ListBoxUsers->setCurrentRow(1);
        QCOMPARE(form.EditPassword->text(), QString());
        QCOMPARE(lines(form).mid(1),
                 QStringList({kIn + "Запись - Выполнено", kIn + "Текст - Выполнено",
                              kIn + "Диктор - Выполнено"}));
        const ReportPrintData pd = form.PrintData();
        QCOMPARE(pd.userName, QStringLiteral("Bob"));
        QCOMPARE(pd.items.size(), 5);
        QVERIFY(pd.onlyDone);

        // No progress file: the error, and nothing of Bob is left beside Eve's password.
        form.ListBoxUsers->setCurrentRow(2);
        QCOMPARE(rec.lastText(), QStringLiteral("File not found"));
        QCOMPARE(form.EditPassword->text(), QStringLiteral("x"));
        QCOMPARE(form.ListBoxReport->count(), 0);
        QCOMPARE(form.ConsoleProgress().Count, 0);
        QVERIFY(!form.BitBtn3->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // The anonymous learner current: Anna's own file is read.
        App().CurrentUser = -1;
        form.ListBoxUsers->setCurrentRow(0);
        QCOMPARE(lines(form)[1], kIn + "Запись - Не выполнено");
        QCOMPARE(rec.messages.size(), 1);

        for (int i = 0; i < files.size(); ++i) {
            QCOMPARE(testenv::ReadBytes(m_dir->file(files[i])), bytes[i]);
            QCOMPARE(QFileInfo(m_dir->file(files[i])).lastModified(), times[i]);
        }
        QVERIFY(!QFileInfo::exists(m_dir->file("Report/Eve")));
    }

    void playEnabling_data() {
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("section") << 1 << 0 << false;
        QTest::newRow("done recording kind without a recording name") << 1 << 1 << false;
        QTest::newRow("done text work") << 1 << 2 << false;
        QTest::newRow("done kind 13 after a skipped item") << 1 << 3 << true;
        QTest::newRow("current learner's unsaved recording") << 0 << 1 << true;
        QTest::newRow("current learner, not done") << 0 << 3 << false;
    }
    void playEnabling() {
        QFETCH(int, user);
        QFETCH(int, line);
        QFETCH(bool, enabled);
        TFormPrepod form;
        form.FormShow();
        form.ListBoxUsers->setCurrentRow(user);
        form.ListBoxReport->setCurrentRow(line);
        QCOMPARE(form.BitBtnPlay->isEnabled(), enabled);
        form.ListBoxReport->setCurrentRow(0);
        QVERIFY(!form.BitBtnPlay->isEnabled());
    }

    void playback() {
        QList<ConsolePlayback> calls;
        TFormPrepod form;
        bool shownDuring = false;
        SetConsolePlaybackHook([&](const ConsolePlayback& p) {
            calls << p;
            shownDuring = form.isVisible();
        });
        form.show();
        form.ListBoxUsers->setCurrentRow(1);
        form.ListBoxReport->setCurrentRow(3);
        form.BitBtnPlay->click();
        QCOMPARE(calls.size(), 1);
        const ConsolePlayback& p = calls[0];
        QCOMPARE(p.LearnerRecording, QStringLiteral("Report\\Bob\\b5.wav"));
        QCOMPARE(p.TextFile, QStringLiteral("DemoData\\L1.txt"));
        QCOMPARE(p.TransFile, QStringLiteral("DemoData\\L1r.txt"));
        QCOMPARE(p.PictureFile, QStringLiteral("DemoData\\L1.pic"));
        QCOMPARE(p.SoundFile, QStringLiteral("s.wav")); // exists under its own name
        QCOMPARE(p.TimingFile, QString());              // empty stays empty
        QCOMPARE(p.DataRoot, QStringLiteral("DemoData\\"));
        QVERIFY(shownDuring);
        QVERIFY(form.isVisible());
        // A line without a recording plays nothing.
        form.ListBoxReport->setCurrentRow(1);
        form.BitBtnPlayClick();
        QCOMPARE(calls.size(), 1);
    }

    void noLearners() {
        Learners().Users.clear();
        App().CurrentUser = -1;
        MessageRecorder rec;
        TFormPrepod form;
        QVERIFY(form.CheckBoxChek->isChecked());
        form.CheckBoxChek->setChecked(false);
        form.FormShow();
        QCOMPARE(form.ListBoxUsers->count(), 0);
        QCOMPARE(form.ListBoxReport->count(), 0);
        QCOMPARE(form.ShownUser(), -1);
        QVERIFY(form.EditPassword->text().isEmpty());
        QVERIFY(!form.BitBtnPlay->isEnabled() && !form.BitBtn3->isEnabled());
        QVERIFY(!form.CheckBoxChek->isChecked()); // kept between openings
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_MAIN(TestPrepod)
#include "test_prepod.moc"

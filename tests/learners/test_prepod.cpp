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

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {

TCourseItem Item(const QString& caption, int kind, const QString& f3 = {}) {
    return {caption, false, 0, 0, {}, quint8(kind), "L1.txt", "L1r.txt", f3, {}, "L1.pic"};
}

QByteArray File(const QList<TProgressRec>& recs) {
    ProgressTable t;
    t.Recs << recs;
    t.Count = int(recs.size());
    return EncodeProgressFile(t);
}

const QString kIn = QStringLiteral("       ");
const TProgressRec kNo, kDone{1, 0, {}};

QStringList Lines(TFormPrepod& f) {
    QStringList l;
    for (int i = 0; i < f.ListBoxReport->count(); ++i)
        l << f.ListBoxReport->item(i)->text();
    return l;
}

} // namespace

class TestPrepod : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // Item 3 gives no line: line 2 shows item 4, line 3 item 5.
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
        testenv::WriteBytes(m_dir->file("Report/Anna/Anna.rep"), File({kNo, kNo, kNo, kNo, kNo}));
        testenv::WriteBytes(m_dir->file("Report/Bob/Bob.rep"),
                            File({kNo, kDone, kNo, kDone, {1, 0, "Report\\Bob\\b5.wav"}}));
        ProgressTable& cur = CurrentProgress();
        cur.Recs = {kNo, kNo, {1, 0, "Report\\Anna\\r2.wav"}, kNo, kNo, kNo};
        cur.Count = 5;
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
        const QStringList files = {m_dir->file("Report/Anna/Anna.rep"),
                                   m_dir->file("Report/Bob/Bob.rep")};
        QList<QByteArray> bytes;
        QList<QDateTime> times;
        for (const QString& f : files) {
            bytes << testenv::ReadBytes(f);
            times << QFileInfo(f).lastModified();
        }
        MessageRecorder rec;
        TFormPrepod form;
        form.FormShow();
        QCOMPARE(form.ListBoxUsers->item(1)->text(), QStringLiteral("Bob - Режим A"));
        QCOMPARE(form.ListBoxUsers->currentRow(), 0);
        QCOMPARE(form.EditPassword->text(), QStringLiteral("pw1"));
        QCOMPARE(Lines(form),
                 QStringList({"   Раздел: Урок 1", kIn + "Запись - Выполнено",
                              kIn + "Текст - Не выполнено", kIn + "Диктор - Не выполнено"}));
        QVERIFY(!form.BitBtnPlay->isEnabled() && form.BitBtn3->isEnabled());

        form.ListBoxUsers->setCurrentRow(1);
        QCOMPARE(form.EditPassword->text(), QString());
        QCOMPARE(Lines(form).mid(2),
                 QStringList({kIn + "Текст - Выполнено", kIn + "Диктор - Выполнено"}));
        QCOMPARE(form.PrintData().userName, QStringLiteral("Bob"));
        QCOMPARE(form.PrintData().items.size(), 5);

        // No progress file: the error, and nothing of Bob is left beside Eve's password.
        form.ListBoxUsers->setCurrentRow(2);
        QCOMPARE(rec.lastText(), QStringLiteral("File not found"));
        QCOMPARE(form.EditPassword->text(), QStringLiteral("x"));
        QCOMPARE(form.ListBoxReport->count(), 0);
        QVERIFY(!form.BitBtn3->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // While the anonymous learner is current Anna's own file is read.
        App().CurrentUser = -1;
        form.ListBoxUsers->setCurrentRow(0);
        QCOMPARE(Lines(form)[1], kIn + "Запись - Не выполнено");
        QCOMPARE(rec.messages.size(), 1);
        for (int i = 0; i < files.size(); ++i) {
            QCOMPARE(testenv::ReadBytes(files[i]), bytes[i]);
            QCOMPARE(QFileInfo(files[i]).lastModified(), times[i]);
        }

        // A learner list naming a progress file outside Report/ is not followed.
        QTemporaryDir outside;
        testenv::WriteBytes(outside.filePath("Mal.rep"), File({kDone, kDone, kDone, kDone, kDone}));
        Learners().Users << MakeUser("Mal", 'A', "", outside.path() + "/");
        TFormPrepod other;
        other.FormShow();
        other.ListBoxUsers->setCurrentRow(3);
        QCOMPARE(rec.lastText(), QStringLiteral("Invalid filename"));
        QCOMPARE(other.ListBoxReport->count(), 0);
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
    }

    void playback() {
        QList<ConsolePlayback> calls;
        TFormPrepod form;
        SetConsolePlaybackHook([&](const ConsolePlayback& p) {
            QVERIFY(form.isVisible()); // stays open under the text work window
            calls << p;
        });
        form.show();
        form.ListBoxUsers->setCurrentRow(1);
        form.ListBoxReport->setCurrentRow(3);
        form.BitBtnPlay->click();
        QCOMPARE(calls.size(), 1);
        const ConsolePlayback& p = calls[0];
        // Names that do not exist go behind the data root; an empty one stays empty.
        QCOMPARE(QStringList({p.LearnerRecording, p.Files.Text, p.Files.Translation,
                              p.Files.Pictures, p.Files.Sound, p.Files.Timing, p.DataRoot}),
                 QStringList({"Report\\Bob\\b5.wav", "DemoData\\L1.txt", "DemoData\\L1r.txt",
                              "DemoData\\L1.pic", "s.wav", "", "DemoData\\"}));
        form.ListBoxReport->setCurrentRow(1);
        form.BitBtnPlayClick();
        QCOMPARE(calls.size(), 1);
    }

    void noLearners() {
        Learners().Users.clear();
        MessageRecorder rec;
        TFormPrepod form;
        form.FormShow();
        QCOMPARE(form.ListBoxUsers->count() + form.ListBoxReport->count(), 0);
        QCOMPARE(form.ShownUser(), -1);
        QVERIFY(!form.BitBtnPlay->isEnabled() && !form.BitBtn3->isEnabled());
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_MAIN(TestPrepod)
#include "test_prepod.moc"

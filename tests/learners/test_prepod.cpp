// The teacher console: learners and their reports, the current learner's
// unsaved progress, a file that cannot be read, playback of a recording.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "course/appstate.h"
#include "learners/eng_formprepod.h"
#include "learners/learnertable.h"
#include "learners/printlayout.h"
#include "support_learners.h"

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

    // Choosing a learner shows that learner's report (the current learner's
    // from memory); play reaches the hook; nothing is written.
    void wiring() {
        const QString anna = m_dir->file("Report/Anna/Anna.rep");
        const QByteArray bytes = testenv::ReadBytes(anna);
        MessageRecorder rec;
        QList<ConsolePlayback> calls;
        SetConsolePlaybackHook([&](const ConsolePlayback& p) { calls << p; });
        TFormPrepod form;
        form.FormShow();
        QCOMPARE(form.EditPassword->text(), QStringLiteral("pw1"));
        QCOMPARE(Lines(form).value(1), kIn + "Запись - Выполнено");
        form.ListBoxUsers->setCurrentRow(1);
        QCOMPARE(Lines(form).mid(2),
                 QStringList({kIn + "Текст - Выполнено", kIn + "Диктор - Выполнено"}));
        QCOMPARE(form.PrintData().items.size(), 5);
        form.ListBoxReport->setCurrentRow(3);
        QVERIFY(form.BitBtnPlay->isEnabled());
        form.BitBtnPlay->click();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].LearnerRecording, QStringLiteral("Report\\Bob\\b5.wav"));
        QCOMPARE(calls[0].Files.Sound, QStringLiteral("s.wav"));
        form.ListBoxReport->setCurrentRow(2);
        QVERIFY(!form.BitBtnPlay->isEnabled());
        // No progress file: the error, and nothing of Bob is left.
        form.ListBoxUsers->setCurrentRow(2);
        QCOMPARE(rec.texts(), QStringList{"File not found"});
        QCOMPARE(form.ListBoxReport->count(), 0);
        QCOMPARE(testenv::ReadBytes(anna), bytes);
    }
};

QTEST_MAIN(TestPrepod)
#include "test_prepod.moc"

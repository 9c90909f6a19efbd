// The teacher console: learners and their reports, the current learner's
// unsaved progress, a file that cannot be read, playback of a recording.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "course/appstate.h"
#include "learners/eng_formprepod.h"
#include "learners/learnertable.h"
#include "learners/printlayout.h"
#include "learners/reportbuild.h"
#include "support_learners.h"

#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {
ProgressTable Table(const QList<TProgressRec>& recs) {
    ProgressTable t;
    t.Recs << recs;
    t.Count = int(recs.size());
    return t;
}

QStringList Lines(TFormPrepod& f) {
    QStringList l;
    for (int i = 0; i < f.ListBoxReport->count(); ++i)
        l << f.ListBoxReport->item(i)->text();
    return l;
}

const TProgressRec kNo, kDone{1, 0, {}};
} // namespace

class TestPrepod : public LearnerTest {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void cleanup() {
        CurrentProgress() = ProgressTable{};
        SetConsolePlaybackHook({});
        m_dir.reset();
    }

    // Choosing a learner shows that learner's report (the current learner's
    // from memory); play reaches the hook; nothing is written.
    void wiring() {
        m_dir = std::make_unique<testenv::CourseDir>();
        // Item 3 gives no line: line 3 shows item 5.
        CourseTable a(1);
        a << Item(0) << Item(4) << Item(9) << Item(5) << Item(13);
        CourseTable t[4] = {a, {}, {}, {}};
        SetCourseTables(t);
        Learners().Users = {MakeUser("Anna", 'A', "pw1", "Report\\Anna\\"),
                            MakeUser("Bob", 'A', "", "Report\\Bob\\"),
                            MakeUser("Eve", 'A', "x", "Report\\Eve\\")};
        // Anna's file is older than her progress in memory.
        const QString anna = m_dir->file("Report/Anna/Anna.rep");
        const QByteArray annaBytes = EncodeProgressFile(Table({kNo, kNo, kNo, kNo, kNo}));
        testenv::WriteBytes(anna, annaBytes);
        const ProgressTable bob = Table({kNo, kDone, kNo, kDone, {1, 0, "Report\\Bob\\b5.wav"}});
        testenv::WriteBytes(m_dir->file("Report/Bob/Bob.rep"), EncodeProgressFile(bob));
        CurrentProgress() = Table({kNo, {1, 0, "Report\\Anna\\r2.wav"}, kNo, kNo, kNo});
        App().CurrentUser = 0;
        MessageRecorder rec;
        QList<ConsolePlayback> calls;
        SetConsolePlaybackHook([&](const ConsolePlayback& p) { calls << p; });

        TFormPrepod form;
        form.FormShow();
        QCOMPARE(form.EditPassword->text(), QStringLiteral("pw1"));
        QCOMPARE(Lines(form), BuildReportLines(a, CurrentProgress()).Lines);
        form.ListBoxUsers->setCurrentRow(1);
        QCOMPARE(Lines(form), BuildReportLines(a, bob).Lines);
        QCOMPARE(form.PrintData().items.size(), 5); // every item, lines or not
        form.ListBoxReport->setCurrentRow(3);
        QVERIFY(form.BitBtnPlay->isEnabled());
        form.BitBtnPlay->click();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].LearnerRecording, QStringLiteral("Report\\Bob\\b5.wav"));
        form.ListBoxReport->setCurrentRow(2);
        QVERIFY(!form.BitBtnPlay->isEnabled());
        // No progress file: the error, and nothing of Bob is left.
        form.ListBoxUsers->setCurrentRow(2);
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(form.ListBoxReport->count(), 0);
        QCOMPARE(testenv::ReadBytes(anna), annaBytes);
    }
};

QTEST_MAIN(TestPrepod)
#include "test_prepod.moc"

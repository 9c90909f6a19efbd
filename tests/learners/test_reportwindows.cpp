// Deleting a recording from the learner's own directory only, and the report window
// around it. The teacher console: learners and their reports, the current learner's
// unsaved progress, a file that cannot be read, playback of a recording.
#include "base/paths.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/btnimgtransd1zv.h"
#include "course/appstate.h"
#include "learners/eng_formprepod.h"
#include "learners/eng_formreport.h"
#include "learners/learnertable.h"
#include "learners/printlayout.h"
#include "learners/reportbuild.h"
#include "learners/reportline.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {
struct DeleteCase {
    QString make;       // "file", "dir" or "" at `filePath`
    QString filePath;   // relative to the course dir
    QString recordName; // "@" stands for the learner directory
    QString progressFile;
    bool sharedByItem2;
    RecordingDelete outcome;
};
} // namespace

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

class TestReportWindows : public LearnerTest {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;
    // As stored: "\" separated.
    QString stored(const QString& rel) const {
        return m_dir->path() + "\\" + QString(rel).replace('/', '\\');
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<testenv::CourseDir>();
        QDir().mkpath(m_dir->file("Report/Anna"));
        const QString learnerDir = stored("Report/Anna/");
        // Mode A: item 3 gives no line, so line 2 shows item 4.
        CourseTable a(1);
        a << Item(0) << Item(4) << Item(9) << Item(12) << Item(2);
        CourseTable t[4] = {a, {}, {}, {}};
        SetCourseTables(t);
        ProgressTable& p = CurrentProgress();
        p = ProgressTable{};
        p.Recs = {
            {},        {}, {1, 0, learnerDir + "r2.wav"}, {1, 0, {}}, {1, 0, learnerDir + "r4.wav"},
            {1, 0, {}}};
        p.Count = 5;
    }

    // Every row names item 4's recording.
    void deleting_data() {
        QTest::addColumn<DeleteCase>("c");
        const QString own = "Report\\Anna\\Anna.rep", r4 = "Report/Anna/r4.wav";
        using R = RecordingDelete;
        QTest::newRow("own recording") << DeleteCase{"file", r4, "@r4.wav", own, false, R::Deleted};
        QTest::newRow("recording missing") << DeleteCase{"", r4, "@r4.wav", own, false, R::Missing};
        QTest::newRow("up out of the learner dir")
            << DeleteCase{"file", "secret.wav", "@..\\..\\secret.wav", own, false, R::Outside};
        QTest::newRow("learner dir not below Report")
            << DeleteCase{"file", "r4.wav", "@r4.wav", "Anna.rep", false, R::Outside};
        QTest::newRow("still named by another item")
            << DeleteCase{"file", r4, "@r4.wav", own, true, R::Shared};
        QTest::newRow("cannot be removed")
            << DeleteCase{"dir", r4, "@r4.wav", own, false, R::Failed};
    }
    void deleting() {
        QFETCH(DeleteCase, c);
        const QString &make = c.make, &filePath = c.filePath;
        const RecordingDelete outcome = c.outcome;
        const QString learnerDir = DirPartWithSep(stored(c.progressFile));
        const QString name = QString(c.recordName).replace("@", learnerDir);
        if (make == "file") testenv::WriteBytes(m_dir->file(filePath), "RIFF");
        if (make == "dir") testenv::WriteBytes(m_dir->file(filePath + "/inner"), "x");
        ProgressTable& t = CurrentProgress();
        t[4].RecordFile = name;
        if (c.sharedByItem2) t[2].RecordFile = name;
        const TProgressRec item2Before = t[2];

        QString error;
        QCOMPARE(DeleteRecording(t, 4, CourseItem('A', 4), learnerDir, &error), outcome);
        const bool failed = outcome == RecordingDelete::Failed;
        QCOMPARE(QFileInfo::exists(m_dir->file(filePath)),
                 !make.isEmpty() && outcome != RecordingDelete::Deleted);
        QCOMPARE(t[4].Done != 0, failed);
        QCOMPARE(t[4].RecordFile, failed ? name : QString());
        QCOMPARE(error.isEmpty(), !failed);
        // The other records are left as they were.
        QCOMPARE(t[2].Done, item2Before.Done);
        QCOMPARE(t[2].RecordFile, item2Before.RecordFile);
    }

    // A click on a line offers the delete; the delete reaches the file and the line.
    void reportWiring() {
        testenv::WriteBytes(m_dir->file("Report/Anna/r4.wav"), "RIFF");
        const QString notDone = NotDoneLine(CourseItem('A', 4));
        MessageRecorder rec;
        TFormReport form;
        form.BuildReport(stored("Report/Anna/Anna.rep"), 'A');
        QVERIFY(form.ListBoxReport->item(2)->text() != notDone);
        form.ListBoxReport->setCurrentRow(2);
        form.ListBoxReportClick();
        QVERIFY(form.BtnImgDeleteFile->isEnabled());
        form.BitBtn1Click();
        QVERIFY(!QFileInfo::exists(m_dir->file("Report/Anna/r4.wav")));
        QCOMPARE(CurrentProgress()[4].Done, quint8(0));
        QCOMPARE(form.ListBoxReport->item(2)->text(), notDone);
        QVERIFY(!form.BtnImgDeleteFile->isEnabled());
        // A new file of the old name is not the record's any more.
        testenv::WriteBytes(m_dir->file("Report/Anna/r4.wav"), "RIFF");
        form.BitBtn1Click();
        QVERIFY(QFileInfo::exists(m_dir->file("Report/Anna/r4.wav")));
        QVERIFY(rec.messages.isEmpty());
    }

    void cleanup() {
        CurrentProgress() = ProgressTable{};
        SetConsolePlaybackHook({});
        m_dir.reset();
    }

    // Choosing a learner shows that learner's report (the current learner's
    // from memory); play reaches the hook; nothing is written.
    void consoleWiring() {
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

QTEST_MAIN(TestReportWindows)
#include "test_reportwindows.moc"

// Deleting a recording from the learner's own directory only, and the
// report window around it.
#include "base/paths.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "learners/eng_formreport.h"
#include "learners/reportbuild.h"
#include "learners/reportline.h"
#include "support_learners.h"

#include <QAbstractButton>
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

class TestFormReport : public LearnerTest {
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
    void cleanup() {
        CurrentProgress() = ProgressTable{};
        m_dir.reset();
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
    void wiring() {
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

    // A done item's line is drawn bold; the list has the focus.
    void drawing() {
        TFormReport form;
        form.BuildReport(stored("Report/Anna/Anna.rep"), 'A');
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidget* list = form.ListBoxReport;
        auto lineImage = [&] {
            list->viewport()->repaint();
            return list->viewport()->grab(list->visualItemRect(list->item(2))).toImage();
        };
        const QImage bold = lineImage();
        CurrentProgress()[4].Done = 0;
        QVERIFY(lineImage() != bold);
        CurrentProgress()[4].Done = 1;
        QCOMPARE(lineImage(), bold);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
        testui::Shot(&form, "report-window");
    }
};

QTEST_MAIN(TestFormReport)
#include "test_formreport.moc"

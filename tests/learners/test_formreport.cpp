// Deleting a recording from the learner's own directory only, and the
// report window around it.
#include "base/paths.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "learners/eng_formreport.h"
#include "learners/reportbuild.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QtTest>

namespace {

TCourseItem Item(const QString& caption, int kind) {
    TCourseItem c;
    c.Caption = caption;
    c.ExerciseKind = quint8(kind);
    return c;
}

const QString kIn = QStringLiteral("       ");

} // namespace

class TestFormReport : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::CourseDir> m_dir;
    QString m_learnerDir; // stored form, "\" separated, ends with "\"
    QString m_progressFile;

    QString stored(const QString& rel) const {
        return m_dir->path() + "\\" + QString(rel).replace('/', '\\');
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void init() {
        m_dir = std::make_unique<testenv::CourseDir>();
        QDir().mkpath(m_dir->file("Report/Anna"));
        m_learnerDir = stored("Report/Anna/");
        m_progressFile = m_learnerDir + "Anna.rep";
        // Mode A: item 3 gives no line, so line 2 shows item 4.
        CourseTable a(1);
        a << Item("Урок 1", 0) << Item("Запись", 4) << Item("Пропуск", 9) << Item("Перевод", 12)
          << Item("Слова", 2);
        CourseTable t[4] = {a, {}, {}, {}};
        SetCourseTables(t);
        ProgressTable& p = CurrentProgress();
        p = ProgressTable{};
        p.Recs = {{},
                  {},
                  {1, 0, m_learnerDir + "r2.wav"},
                  {1, 0, {}},
                  {1, 0, m_learnerDir + "r4.wav"},
                  {1, 0, {}}};
        p.Count = 5;
    }
    void cleanup() {
        CurrentProgress() = ProgressTable{};
        m_dir.reset();
    }

    // Every row names item 4's recording; stillDone means the delete failed.
    void deleting_data() {
        QTest::addColumn<QString>("make");       // "file", "dir" or "" at `filePath`
        QTest::addColumn<QString>("filePath");   // relative to the course dir
        QTest::addColumn<QString>("recordName"); // "@" stands for the learner directory
        QTest::addColumn<QString>("progressFile");
        QTest::addColumn<bool>("sharedByItem2");
        QTest::addColumn<bool>("fileRemains");
        QTest::addColumn<bool>("stillDone");
        auto row = [](const char* tag, const QString& make, const QString& filePath,
                      const QString& recordName, const QString& progressFile, bool shared,
                      bool remains, bool stillDone) {
            QTest::newRow(tag) << make << filePath << recordName << progressFile << shared
                               << remains << stillDone;
        };
        const QString own = "Report\\Anna\\Anna.rep", r4 = "Report/Anna/r4.wav";
        row("own recording", "file", r4, "@r4.wav", own, false, false, false);
        row("recording missing", "", r4, "@r4.wav", own, false, false, false);
        row("up out of the learner dir", "file", "secret.wav", "@..\\..\\secret.wav", own, false,
            true, false);
        row("learner dir not below Report", "file", "r4.wav", "@r4.wav", "Anna.rep", false, true,
            false);
        row("still named by another item", "file", r4, "@r4.wav", own, true, true, false);
        row("cannot be removed", "dir", r4, "@r4.wav", own, false, true, true);
    }
    void deleting() {
        QFETCH(QString, make);
        QFETCH(QString, filePath);
        QFETCH(QString, recordName);
        QFETCH(QString, progressFile);
        QFETCH(bool, sharedByItem2);
        QFETCH(bool, fileRemains);
        QFETCH(bool, stillDone);

        const QString learnerDir = DirPartWithSep(stored(progressFile));
        const QString name = QString(recordName).replace("@", learnerDir);
        if (make == "file") testenv::WriteBytes(m_dir->file(filePath), "RIFF");
        if (make == "dir") testenv::WriteBytes(m_dir->file(filePath + "/inner"), "x");
        ProgressTable& t = CurrentProgress();
        t[4].RecordFile = name;
        if (sharedByItem2) t[2].RecordFile = name;
        const TProgressRec item2Before = t[2];

        QString error;
        const RecordingDelete outcome =
            DeleteRecording(t, 4, CourseItem('A', 4), learnerDir, &error);
        QCOMPARE(QFileInfo::exists(m_dir->file(filePath)), fileRemains);
        QCOMPARE(t[4].Done != 0, stillDone);
        QCOMPARE(t[4].RecordFile, stillDone ? name : QString());
        QCOMPARE(outcome == RecordingDelete::Failed, stillDone);
        QCOMPARE(error.isEmpty(), !stillDone);
        if (stillDone)
            QVERIFY2(error.startsWith("I/O error") || error == "File access denied",
                     qPrintable(error));
        // The other records are left as they were.
        QCOMPARE(t[2].Done, item2Before.Done);
        QCOMPARE(t[2].RecordFile, item2Before.RecordFile);
    }

    // A click on a line offers the delete; the delete reaches the file and the line.
    void wiring() {
        testenv::WriteBytes(m_dir->file("Report/Anna/r4.wav"), "RIFF");
        MessageRecorder rec;
        TFormReport form;
        form.BuildReport(m_progressFile, 'A');
        QCOMPARE(form.ListBoxReport->item(2)->text(), kIn + "Перевод - Выполнено");
        form.ListBoxReport->setCurrentRow(2);
        form.ListBoxReportClick();
        QVERIFY(form.BtnImgDeleteFile->isEnabled());
        form.BitBtn1Click();
        QVERIFY(!QFileInfo::exists(m_dir->file("Report/Anna/r4.wav")));
        QCOMPARE(CurrentProgress()[4].Done, quint8(0));
        QCOMPARE(form.ListBoxReport->item(2)->text(), kIn + "Перевод - Не выполнено");
        QVERIFY(!form.BtnImgDeleteFile->isEnabled());
        // A new file of the old name is not the record's any more.
        testenv::WriteBytes(m_dir->file("Report/Anna/r4.wav"), "RIFF");
        form.BitBtn1Click();
        QVERIFY(QFileInfo::exists(m_dir->file("Report/Anna/r4.wav")));
        QVERIFY(rec.messages.isEmpty());
    }

    void drawing() {
        TFormReport form;
        form.resize(700, 500);
        form.BuildReport(m_progressFile, 'A');
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidget* list = form.ListBoxReport;
        auto lineImage = [&] {
            list->viewport()->repaint();
            return list->viewport()->grab(list->visualItemRect(list->item(2))).toImage();
        };
        const QImage bold = lineImage();
        CurrentProgress()[4].Done = 0;
        const QImage normal = lineImage();
        QVERIFY(bold != normal);
        CurrentProgress()[4].Done = 1;
        QCOMPARE(lineImage(), bold);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list));
        testui::Shot(&form, "report-window");
    }
};

QTEST_MAIN(TestFormReport)
#include "test_formreport.moc"

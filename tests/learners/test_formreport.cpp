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

// Mode A: items 3 and 8 give no line, so from line 2 on lines and items part.
//  line: 0 1 - 2 3 4 5 - 6
//  item: 1 2 3 4 5 6 7 8 9
void SetCourse() {
    CourseTable a(1);
    a << Item("Урок 1", 0) << Item("Запись", 4) << Item("Пропуск", 9) << Item("Перевод", 12)
      << Item("Слова", 2) << Item("Диктор", 13) << Item("Вопросы", 6) << Item("Лишнее", 16)
      << Item("Текст", 14);
    CourseTable t[4] = {a, {}, {}, {}};
    SetCourseTables(t);
}

TProgressRec Rec(int done, int score = 0, const QString& file = {}) {
    TProgressRec r;
    r.Done = quint8(done);
    r.Score = score;
    r.RecordFile = file;
    return r;
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

    void fillProgress() {
        ProgressTable& t = CurrentProgress();
        t = ProgressTable{};
        t.Recs << Rec(0) << Rec(1, 0, m_learnerDir + "r2.wav") << Rec(1)
               << Rec(1, 0, m_learnerDir + "r4.wav") << Rec(1) << Rec(0) << Rec(1, 15) << Rec(1)
               << Rec(1, 0, m_learnerDir + "r9.wav");
        t.Count = 9;
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void init() {
        m_dir = std::make_unique<testenv::CourseDir>();
        QDir().mkpath(m_dir->file("Report/Anna"));
        m_learnerDir = stored("Report/Anna/");
        m_progressFile = m_learnerDir + "Anna.rep";
        SetCourse();
        fillProgress();
    }
    void cleanup() {
        CurrentProgress() = ProgressTable{};
        m_dir.reset();
    }

    void deleting_data() {
        QTest::addColumn<QString>("make");       // "file", "dir" or "" at `filePath`
        QTest::addColumn<QString>("filePath");   // relative to the course dir
        QTest::addColumn<QString>("recordName"); // "@" stands for the learner directory
        QTest::addColumn<QString>("progressFile");
        QTest::addColumn<bool>("sharedByItem2");
        QTest::addColumn<bool>("fileRemains");
        QTest::addColumn<bool>("stillDone");
        QTest::addColumn<int>("messages");

        auto row = [](const char* tag, const QString& make, const QString& filePath,
                      const QString& recordName, const QString& progressFile, bool shared,
                      bool remains, bool stillDone, int messages) {
            QTest::newRow(tag) << make << filePath << recordName << progressFile << shared
                               << remains << stillDone << messages;
        };
        const QString own = "Report\\Anna\\Anna.rep", r4 = "Report/Anna/r4.wav";
        row("own recording", "file", r4, "@r4.wav", own, false, false, false, 0);
        row("recording missing", "", r4, "@r4.wav", own, false, false, false, 0);
        row("up out of the learner dir", "file", "secret.wav", "@..\\..\\secret.wav", own, false,
            true, false, 0);
        row("another learner's file", "file", "Report/Bob/b.wav", "@..\\Bob\\b.wav", own, false,
            true, false, 0);
        row("learner dir not below Report", "file", "r4.wav", "@r4.wav", "Anna.rep", false, true,
            false, 0);
        row("still named by another item", "file", r4, "@r4.wav", own, true, true, false, 0);
        row("cannot be removed", "dir", r4, "@r4.wav", own, false, true, true, 1);
    }
    void deleting() {
        QFETCH(QString, make);
        QFETCH(QString, filePath);
        QFETCH(QString, recordName);
        QFETCH(QString, progressFile);
        QFETCH(bool, sharedByItem2);
        QFETCH(bool, fileRemains);
        QFETCH(bool, stillDone);
        QFETCH(int, messages);

        const QString progress = stored(progressFile);
        const QString name = QString(recordName).replace("@", DirPartWithSep(progress));
        if (make == "file") testenv::WriteBytes(m_dir->file(filePath), "RIFF");
        if (make == "dir") testenv::WriteBytes(m_dir->file(filePath + "/inner"), "x");
        ProgressTable& t = CurrentProgress();
        t[4].RecordFile = name;
        if (sharedByItem2) t[2].RecordFile = name;
        const TProgressRec item2Before = t[2];

        QString error;
        const RecordingDelete outcome =
            DeleteRecording(t, 4, CourseItem('A', 4), DirPartWithSep(progress), &error);

        QCOMPARE(QFileInfo::exists(m_dir->file(filePath)), fileRemains);
        QCOMPARE(t[4].Done != 0, stillDone);
        QCOMPARE(t[4].RecordFile, stillDone ? name : QString());
        QCOMPARE(outcome == RecordingDelete::Failed, stillDone);
        QCOMPARE(!error.isEmpty(), messages > 0);
        if (messages)
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

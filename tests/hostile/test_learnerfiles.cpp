// A learner record whose stored names point out of the course directory (a
// damaged Users.eng): the main window refuses the learner before any of its
// files is read or written (the refusal rule's cases are the learner place
// test's), and a recording named outside is never deleted.
#include "common/testenv.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/eng_formreport.h"
#include "learners/learnertable.h"
#include "main/eng_main.h"
#include "main/maindialogs.h"

#include <QtTest>

namespace {

const QString kFixture = QStringLiteral(VANTREL_SOURCE_DIR "/tests/fixtures/course");

struct NoDialogs : MainDialogs {
    int SelectUsers(int&) override { return 0; }
    void NewUser() override {}
    int PassWord(QString&) override { return 0; }
    void SetPassWordHelp(int) override {}
    QString TeacherPassword() override { return {}; }
    void TeacherConsole() override {}
    void Report(const QString&, char) override {}
};

// A progress file for mode D with one record more than the course has, so
// that any rewrite shows in its size.
QByteArray ProgressBytes() {
    ProgressTable t = NewProgress('D');
    t.Recs.append(TProgressRec{});
    ++t.Count;
    t[1].Done = 1;
    return EncodeProgressFile(t);
}

} // namespace

class TestLearnerFiles : public QObject {
    Q_OBJECT

    QStringList m_messages;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        SetXMessageHandler([this](const QString& t, const QString&, int) {
            m_messages << t;
            return 1;
        });
    }

    void choosingLearner_data() {
        QTest::addColumn<QString>("reportFile");
        QTest::addColumn<QString>("refusal"); // empty: taken on

        const QString invalid = QStringLiteral("Invalid filename");
        QTest::newRow("own folder") << "Report\\Anna\\Anna.rep"
                                    << "";
        QTest::newRow("progress file up out of the course")
            << "Report\\..\\..\\outside\\victim.rep" << invalid;
    }
    void choosingLearner() {
        QFETCH(QString, reportFile);
        QFETCH(QString, refusal);
        const bool taken = refusal.isEmpty();

        QTemporaryDir root;
        const QString course = root.filePath("course"), outside = root.filePath("outside");
        QDir().mkpath(course + "/DemoData");
        for (const QString& f : QDir(kFixture).entryList(QDir::Files))
            QVERIFY(QFile::copy(kFixture + '/' + f, course + '/' + f));
        for (const QString& f : QDir(kFixture + "/DemoData").entryList(QDir::Files))
            QVERIFY(QFile::copy(kFixture + "/DemoData/" + f, course + "/DemoData/" + f));
        const QString old = QDir::currentPath();
        QDir::setCurrent(course);
        const QByteArray bytes = ProgressBytes();
        testenv::WriteBytes(course + "/Report/Anna/Anna.rep", bytes);
        testenv::WriteBytes(outside + "/victim.rep", bytes);

        ResetAppState();
        CurrentProgress() = ProgressTable{};
        TUserRec u = AnonymousUser();
        u.UserName = "Anna";
        u.Mode = 'D';
        u.ReportDir = "Report\\Anna\\";
        u.ReportFile = reportFile;
        Learners().Users = {u};
        m_messages.clear();
        {
            TFormMain form;
            form.SetDialogs(std::make_unique<NoDialogs>());
            form.show();
            QVERIFY(form.RunStartUp());
            m_messages.removeAll("Ошибка."); // no font file in the fixture
            form.ChangeUser(0);
            QCOMPARE(App().CurrentUser, taken ? 0 : -1);
            QCOMPARE(m_messages.size(), taken ? 0 : 1);
            if (!taken) QVERIFY2(m_messages[0].startsWith(refusal), qPrintable(m_messages[0]));
            QCOMPARE(form.windowTitle().contains("Anna"), taken);
            // Taken on with the progress its file holds.
            if (taken) QCOMPARE(int(CurrentProgress()[1].Done), 1);
            form.close(); // writes the current learner's progress
        }
        QDir::setCurrent(old);
        QCOMPARE(testenv::ReadBytes(outside + "/victim.rep"), bytes);
        // The learner taken on gets its own file rewritten without the extra
        // record; a refused one's file is left byte for byte.
        const QByteArray own = testenv::ReadBytes(course + "/Report/Anna/Anna.rep");
        if (taken)
            QCOMPARE(own.size(), bytes.size() - kProgressRecSize);
        else
            QCOMPARE(own, bytes);
        Learners().Users.clear();
    }

    // The report's delete with a recording named by an absolute path.
    void deletingRecording_data() {
        QTest::addColumn<QString>("recordFile"); // @O@ the outside folder, @L@ the learner's
        QTest::addColumn<int>("result");
        QTest::newRow("absolute outside") << "@O@/canary.wav" << int(RecordingDelete::Outside);
        QTest::newRow("absolute, own folder") << "@L@/r.wav" << int(RecordingDelete::Deleted);
        QTest::newRow("own folder then out with \\")
            << "@L@\\..\\..\\outside\\canary.wav" << int(RecordingDelete::Outside);
    }
    void deletingRecording() {
        QFETCH(QString, recordFile);
        QFETCH(int, result);
        testenv::CourseDir dir;
        const QString learner = dir.file("Report/Anna");
        testenv::WriteBytes(learner + "/r.wav", "RIFF");
        testenv::WriteBytes(dir.file("outside/canary.wav"), "RIFF");
        ProgressTable t;
        t.Recs.append(TProgressRec{
            1, 0, QString(recordFile).replace("@O@", dir.file("outside")).replace("@L@", learner)});
        t.Count = 1;
        TCourseItem item;
        item.ExerciseKind = ekTransRecord;
        QCOMPARE(int(DeleteRecording(t, 1, item, learner + "/")), result);
        QVERIFY(QFileInfo::exists(dir.file("outside/canary.wav")));
        QCOMPARE(QFileInfo::exists(learner + "/r.wav"), result != int(RecordingDelete::Deleted));
    }
};

QTEST_MAIN(TestLearnerFiles)
#include "test_learnerfiles.moc"

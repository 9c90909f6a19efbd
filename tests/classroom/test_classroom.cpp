// Eight programs on one course folder for a while (VANTREL_CLASSROOM_SECONDS,
// 10 by default), one of them killed every few seconds and started again;
// then the folder must hold every learner that was made and not deleted,
// each with its folder and a readable progress file, and nothing that
// blocks the next program.
#include "common/testenv.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "learners/learnertable.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestClassroom : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    double m_seconds = 10;

    std::unique_ptr<QProcess> startDriver(int id, double seconds, quint32 seed) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(CLASSROOM_DRIVER),
                 {m_dir.path(), QString::number(id), QString::number(seconds),
                  QString::number(seed), m_dir.filePath(QStringLiteral("log%1.txt").arg(id))});
        if (!p->waitForStarted()) qFatal("driver did not start");
        return p;
    }

private slots:
    void initTestCase() {
        testenv::PrivateHome();
        const QDir course(QStringLiteral(VANTREL_BUILD_DIR "/course"));
        for (char m : {'A', 'B', 'C', 'D'}) {
            const QString f = QStringLiteral("InitReg%1.txt").arg(m);
            QVERIFY(QFile::copy(course.filePath(f), m_dir.filePath(f)));
        }
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Report")));
        bool ok = false;
        const double s = qEnvironmentVariable("VANTREL_CLASSROOM_SECONDS").toDouble(&ok);
        if (ok && s > 0) m_seconds = s;
    }

    void classroom() {
        constexpr int kDrivers = 8;
        QRandomGenerator rnd(20261207);
        std::vector<std::unique_ptr<QProcess>> drivers;
        for (int i = 0; i < kDrivers; ++i)
            drivers.push_back(startDriver(i, m_seconds, rnd.generate()));

        // The ninth program: kills one driver every few seconds and starts
        // it again for the time that is left.
        const QDeadlineTimer end(qint64(m_seconds * 1000));
        int kills = 0;
        QSet<qint64> killed;
        while (end.remainingTime() > 1500) {
            QTest::qWait(int(800 + rnd.bounded(1700)));
            const int victim = int(rnd.bounded(kDrivers));
            QProcess& p = *drivers[victim];
            if (p.state() != QProcess::Running) continue;
            killed.insert(p.processId());
            p.kill();
            p.waitForFinished(5000);
            ++kills;
            drivers[victim] = startDriver(victim, end.remainingTime() / 1000.0, rnd.generate());
        }
        for (auto& p : drivers)
            QVERIFY2(p->waitForFinished(int(m_seconds * 1000) + 60000), "a driver hangs");

        // What the drivers say took effect.
        QSet<QString> created, deleted, cutShort; // cutShort: deleting when killed
        QStringList faults, errors;
        qint64 ops = 0;
        for (int i = 0; i < kDrivers; ++i) {
            QFile log(m_dir.filePath(QStringLiteral("log%1.txt").arg(i)));
            QVERIFY(log.open(QIODevice::ReadOnly));
            for (const QByteArray& raw : log.readAll().split('\n')) {
                const QString line = QString::fromUtf8(raw);
                const QString word = line.section(' ', 0, 0), rest = line.section(' ', 1);
                // Every step that took effect, killed drivers' included.
                static const QStringList steps{"created", "took", "worked", "mode", "deleted"};
                if (steps.contains(word)) ++ops;
                if (word == "created") created.insert(rest);
                else if (word == "deleted") deleted.insert(rest);
                else if (word == "deleting" && killed.contains(rest.section(' ', 1).toLongLong()))
                    cutShort.insert(rest.section(' ', 0, 0));
                else if (word == "fault") faults << line;
                else if (word == "error") errors << rest;
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        for (const QString& e : errors)
            QVERIFY2(!e.contains(QStringLiteral("другая программа")), qPrintable(e));

        // The folder as a new program finds it.
        QDir::setCurrent(m_dir.path());
        LoadCourseTables();
        QCOMPARE(QFileInfo(QStringLiteral("Users.eng")).size() % kUserRecSize, 0);
        LearnerTable list;
        UpdateLearnerList(list, [](LearnerTable&) { return false; }, QStringLiteral("Users.eng"),
                          2000); // no lock is left that blocks
        QSet<QString> listed;
        for (const TUserRec& u : list.Users) {
            QVERIFY2(!listed.contains(u.UserName), qPrintable(u.UserName + " twice"));
            listed.insert(u.UserName);
            const LearnerPlace place = LearnerPlaceOf(u);
            QVERIFY2(TakeLearner(place.ReportDir), qPrintable(u.UserName + " stays locked"));
            ProgressTable t;
            ReadProgress(place.ReportFile, u.Mode, t);
            QVERIFY2(t.Complete && t.Count == CourseItemCount(u.Mode), qPrintable(u.UserName));
        }
        ReleaseLearner();
        for (const QString& name : created)
            QVERIFY2(listed.contains(name) || deleted.contains(name) || cutShort.contains(name),
                     qPrintable(name + " was made and is lost"));

        // Folders no learner names are left by a driver killed while making
        // a learner; making that learner again takes them over.
        for (const QString& d :
             QDir(QStringLiteral("Report")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (!listed.contains(d)) CreateLearnerDir(ReportPathFor(d));
        // Unfinished writes of killed drivers are what the start-up clean-up
        // removes; nothing else may be left.
        RemoveStrayTemporaries(m_dir.path(), QDateTime::currentDateTime().addSecs(1));
        QDirIterator it(QStringLiteral("Report"), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo f(it.next());
            const QString owner = f.dir().dirName();
            QVERIFY2(f.fileName() == owner + ".rep" || f.fileName() == owner + ".rep.bak" ||
                         f.fileName() == QStringLiteral("learner.lock"),
                     qPrintable(f.filePath()));
        }
        qInfo("classroom: %d drivers, %.0f s: %lld steps, %lld learners made, %lld deleted, "
              "%lld listed at the end; %d kills survived, %lld errors",
              kDrivers, m_seconds, ops, qint64(created.size()), qint64(deleted.size()),
              qint64(listed.size()), kills, qint64(errors.size()));
        QVERIFY(ops > 0 && !created.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestClassroom)
#include "test_classroom.moc"

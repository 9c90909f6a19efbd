// One pupil's program in the classroom test: learners are created, taken on,
// worked with, moved to another work mode and deleted at random on a course
// folder that other drivers use at the same time, through the program's own
// learner code. Every step that took effect is logged (flushed) so that the
// test can check the folder after the drivers ended or were killed.
//
//   classroom_driver <course dir> <driver id> <seconds> <seed> <log file>
//   classroom_driver --hold <lock file>   takes the lock, says "held", waits
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "learners/learnertable.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {

QFile g_log;

void Log(const QString& line) {
    g_log.write(line.toUtf8() + '\n');
    g_log.flush();
}

struct Pupil {
    QString name;
    QString file;
    char mode = 'A';
    ProgressTable progress;
    QByteArray written; // what this driver last wrote to the file
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--hold")) {
        // A program that dies holding a lock, for the tests of stale locks.
        QLockFile lock(args[2]);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) return 1;
        std::puts("held");
        std::fflush(stdout);
        for (;;) QThread::sleep(1);
    }
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: classroom_driver COURSE ID SECONDS SEED LOG\n");
        return 2;
    }
    QDir::setCurrent(args[1]);
    const QString id = args[2];
    const QDeadlineTimer end(qint64(args[3].toDouble() * 1000));
    QRandomGenerator rnd(args[4].toUInt());
    g_log.setFileName(args[5]);
    if (!g_log.open(QIODevice::Append)) return 2;
    // Refusals are part of the game (a learner busy elsewhere); they are
    // logged, never shown.
    SetXMessageHandler([](const QString& text, const QString&, int) {
        Log(QStringLiteral("message ") + QString(text).replace('\n', ' '));
        return 1;
    });
    LoadCourseTables(); // a course that cannot be read ends the driver: nothing gets made

    LearnerTable& list = Learners();
    Pupil cur;
    bool holding = false;
    int made = 0;
    const QString modes = QStringLiteral("ABCD");
    while (!end.hasExpired()) {
        const int roll = int(rnd.bounded(100));
        try {
            if (roll < 22) { // a new learner
                NewUserInput in;
                in.Name = QStringLiteral("P%1-%2-%3")
                              .arg(id)
                              .arg(QCoreApplication::applicationPid() % 100000)
                              .arg(++made);
                in.ReportPath = ReportPathFor(in.Name);
                in.Mode = modes[rnd.bounded(4)].toLatin1();
                RefreshLearnerList(list);
                if (!CheckNewUser(list, in).isEmpty()) continue;
                CreateLearnerDir(in.ReportPath);
                RegisterLearner(list, in);
                Log(QStringLiteral("created ") + in.Name);
            } else if (roll < 42) { // take on a learner of the list
                RefreshLearnerList(list);
                if (list.isEmpty()) continue;
                const TUserRec u = list.Users[rnd.bounded(list.count())];
                const LearnerPlace place = LearnerPlaceOf(u);
                if (!TakeLearner(place.ReportDir)) continue; // busy in another driver
                holding = false;
                cur = {u.UserName, place.ReportFile, u.Mode, {}, {}};
                // Deleted by another driver since the list was read: it
                // cannot be opened, as in the program.
                OpenLearnerProgress(cur.file, cur.mode, cur.name, cur.progress);
                holding = true;
                QFile f(NativePath(cur.file));
                if (f.open(QIODevice::ReadOnly)) cur.written = f.readAll();
                Log(QStringLiteral("took ") + cur.name);
            } else if (roll < 75) { // work: items done, progress written
                if (!holding || cur.progress.Count < 1) continue;
                QFile f(NativePath(cur.file));
                const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                if (now != cur.written) Log(QStringLiteral("fault foreign-write ") + cur.name);
                const int item = 1 + int(rnd.bounded(cur.progress.Count));
                cur.progress.Recs[item].Done = 1;
                cur.progress.Recs[item].Score = int(rnd.bounded(100));
                WriteProgress(cur.file, cur.progress);
                cur.written = EncodeProgressFile(cur.progress);
                Log(QStringLiteral("worked ") + cur.name);
            } else if (roll < 85) { // another work mode
                if (!holding) continue;
                const char mode = modes[rnd.bounded(4)].toLatin1();
                cur.progress = ChangeLearnerMode(list, cur.name, cur.file, mode, cur.progress);
                cur.mode = mode;
                cur.written = EncodeProgressFile(cur.progress);
                Log(QStringLiteral("mode ") + cur.name + QLatin1Char(' ') + QChar(mode));
            } else if (roll < 97) { // delete one
                RefreshLearnerList(list);
                if (list.isEmpty()) continue;
                const int i = int(rnd.bounded(list.count()));
                const QString name = list.Users[i].UserName;
                App().CurrentUser = holding ? list.indexOfName(cur.name) : -1;
                // Said first: a driver killed right after the list lost the
                // learner never gets to say "deleted".
                Log(QStringLiteral("deleting %1 %2")
                        .arg(name)
                        .arg(QCoreApplication::applicationPid()));
                if (DeleteLearner(list, i, list.Users[i].Password, QDir::currentPath()) ==
                    DeleteOutcome::Deleted) {
                    if (holding && name == cur.name) holding = false;
                    Log(QStringLiteral("deleted ") + name);
                }
            } else { // leave the learner
                ReleaseLearner();
                holding = false;
            }
        } catch (const std::exception& e) {
            Log(QStringLiteral("error ") + QString::fromUtf8(e.what()));
        }
    }
    ReleaseLearner();
    return 0;
}

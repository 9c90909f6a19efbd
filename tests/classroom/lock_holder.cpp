// A second program for the learner lock tests: takes the lock, says "held"
// and waits until it is killed, so that the lock is held by a live program
// and, once killed, left by a dead one.
//
//   lock_holder <lock file>
#include <QCoreApplication>
#include <QLockFile>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: lock_holder LOCKFILE\n");
        return 2;
    }
    QLockFile lock(args[1]);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 1;
    std::puts("held");
    std::fflush(stdout);
    for (;;) QThread::sleep(1);
}

// The real program started on damaged copies of a small course, one run per
// kind of damage: each must end with the documented status and a clear
// message, without a crash, and leave every file outside the course
// directory (a sibling folder with canary files, the private HOME) as it
// was. Inside the course only Users.eng may change, as the program rewrites it.
#include "common/testenv.h"
#include "learners/userrec.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <unistd.h>

namespace {

const QString kFixture = QStringLiteral(VANTREL_SOURCE_DIR "/tests/fixtures/course");
const QString kFont =
    QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");

// Every entry below `root`: its kind and, for files, a hash of the bytes.
QMap<QString, QByteArray> Snapshot(const QString& root, const QStringList& skip = {}) {
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(root).relativeFilePath(it.next());
        if (std::any_of(skip.begin(), skip.end(),
                        [&](const QString& s) { return rel.startsWith(s); }))
            continue;
        const QFileInfo fi = it.fileInfo();
        if (fi.isSymLink())
            out[rel] = "link " + fi.symLinkTarget().toUtf8();
        else if (fi.isDir())
            out[rel] = "dir";
        else
            out[rel] = QCryptographicHash::hash(testenv::ReadBytes(fi.filePath()),
                                                QCryptographicHash::Sha1)
                           .toHex();
    }
    return out;
}

QByteArray RandomBytes(int n, quint32 seed) {
    QRandomGenerator g(seed);
    QByteArray b(n, '\0');
    for (char& c : b)
        c = char(g.bounded(256));
    return b;
}

// N records of one learner, as Users.eng bytes.
QByteArray UsersBytes(int n) {
    TUserRec u = AnonymousUser();
    u.UserName = "Anna";
    u.ReportDir = "Report\\Anna\\";
    u.ReportFile = "Report\\Anna\\Anna.rep";
    return EncodeUserRec(u).repeated(n);
}

bool Sh(const QStringList& cmd, QString* why = nullptr) {
    QProcess p;
    p.start(cmd.first(), cmd.mid(1));
    const bool ok =
        p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (why) *why = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return ok;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_mounted;

    QString path(const QString& rel) const { return m_root->path() + '/' + rel; }

    bool mountTmpfs(const QString& dir, QString* why) {
        QDir().mkpath(dir);
        if (!Sh({"mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", dir}, why)) return false;
        m_mounted = dir;
        return true;
    }

    // Applies one "path:how" edit to the course: missing, dir, random:N,
    // users:N or text:BYTES.
    void applyEdit(const QString& course, const QString& change) {
        const QString rel = change.section(':', 0, 0);
        const QString how = change.section(':', 1, 1);
        const QString arg = change.section(':', 2);
        const QString file = course + '/' + rel;
        QFileInfo(file).isDir() ? void(QDir(file).removeRecursively()) : void(QFile::remove(file));
        if (how == "dir")
            QDir().mkpath(file + "/inner");
        else if (how == "random")
            testenv::WriteBytes(file, RandomBytes(arg.toInt(), qHash(change)));
        else if (how == "users")
            testenv::WriteBytes(file, UsersBytes(arg.toInt()));
        else if (how == "text")
            testenv::WriteBytes(file, arg.toLatin1());
        else
            QCOMPARE(how, QStringLiteral("missing"));
    }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        QVERIFY2(QFileInfo(kFont).isFile(), "fonts-liberation2 is needed for the course font");
    }
    void init() { m_root = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        if (!m_mounted.isEmpty())
            Sh({"umount", "-l", m_mounted});
        else
            Sh({"chmod", "-R", "u+w", m_root->path()});
        m_mounted.clear();
        m_root.reset();
    }

    void damagedCourse_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("place"); // "", "read-only" or "full"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // must reach stderr

        auto row = [](const char* name, const QString& edit, int status, const QString& message,
                      const QString& place = {}) {
            QTest::newRow(name) << edit << place << status << message;
        };
        row("course file missing", "InitRegA.txt:missing", 1,
            "vantrel: InitRegA.txt: File not found");
        row("course file of random bytes", "InitRegD.txt:random:3000", 1,
            "vantrel: InitRegD.txt, line 1, field ");
        row("file named up out of the course",
            "InitRegD.txt:text:Course\t1\t0\t0\t..\\..\\outside\\canary.txt\t0\t\t\t\t\t\r\n", 0,
            "vantrel: Ошибка: DemoData\\..\\..\\outside\\canary.txt: Invalid filename");
        row("Users.eng unreadable", "Users.eng:dir", 0, "vantrel: Ошибка: File access denied");
        row("read-only course directory", "Users.eng:missing", 0,
            "vantrel: Ошибка: File access denied", "read-only");
        row("disk full", "Users.eng:users:9", 0, "vantrel: Ошибка: Disk full", "full");
    }
    void damagedCourse() {
        QFETCH(QString, edit);
        QFETCH(QString, place);
        QFETCH(int, status);
        QFETCH(QString, message);

        const QString course = path("course");
        if (place == "read-only" || place == "full") {
            QString why;
            if (::geteuid() != 0 && place == "full")
                QSKIP("a small file system needs root to mount it");
            if (::geteuid() == 0 && !mountTmpfs(course, &why))
                QSKIP(qPrintable("mounting a tmpfs is not permitted here: " + why));
        }
        testenv::CopyTree(kFixture, course);
        QVERIFY(QFile::copy(kFont, course + "/NFREESET.TTF"));
        QDir().mkpath(course + "/Report/Anna");
        applyEdit(course, edit);
        for (const char* f : {"canary.txt", "canary.rep", "canary.wav"})
            testenv::WriteBytes(path("outside/") + f, RandomBytes(600, 7));
        for (const char* d : {"home/config", "home/data", "home/cache"})
            QDir().mkpath(path(d));
        testenv::WriteBytes(path("home/config/canary.ini"), "[x]\ny=1\n");

        if (place == "full") { // fill the disk up to the last byte
            QFile filler(course + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            for (char c = 0; filler.write(&c, 1) == 1 && filler.flush();) {
            }
        }
        QString why;
        if (place == "read-only" && !m_mounted.isEmpty())
            QVERIFY2(Sh({"mount", "-o", "remount,ro", course}, &why), qPrintable(why));
        if (place == "read-only" && m_mounted.isEmpty())
            QVERIFY(Sh({"chmod", "-R", "a-w", course}));

        const QByteArray usersBefore = testenv::ReadBytes(course + "/Users.eng");
        const bool usersWasFile = QFileInfo(course + "/Users.eng").isFile();
        const QStringList allowed{"course/Users.eng", "home/cache/"};
        const auto before = Snapshot(m_root->path(), allowed);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("VANTREL_COURSE_DIR");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", path("home"));
        env.insert("XDG_CONFIG_HOME", path("home/config"));
        env.insert("XDG_DATA_HOME", path("home/data"));
        env.insert("XDG_CACHE_HOME", path("home/cache"));
        QDir().mkpath(path("home/cache/run"));
        QFile::setPermissions(path("home/cache/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", path("home/cache/run"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(path("home"));
        p.start(VANTREL_EXE, {"--no-splash", "--quit-after-startup", "--course-dir", course});
        QVERIFY(p.waitForStarted());
        const bool finished = p.waitForFinished(60000);
        if (!finished) p.kill();
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(finished, qPrintable("the program waited for something: " + err));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit, qPrintable("crashed: " + err));
        QVERIFY2(!err.contains("Sanitizer") && !err.contains("runtime error:"), qPrintable(err));
        QVERIFY2(p.exitCode() == status,
                 qPrintable(QString("status %1: %2").arg(p.exitCode()).arg(err)));
        QVERIFY2(err.contains(message), qPrintable(err));

        const auto after = Snapshot(m_root->path(), allowed);
        for (auto it = after.begin(); it != after.end(); ++it)
            QVERIFY2(before.value(it.key()) == it.value(),
                     qPrintable("changed or new: " + it.key()));
        for (auto it = before.begin(); it != before.end(); ++it)
            QVERIFY2(after.contains(it.key()), qPrintable("removed: " + it.key()));

        // Users.eng is read once and written back whole records as read (also
        // when the course structure failed); a course that cannot be written
        // keeps it as it was.
        const QFileInfo users(course + "/Users.eng");
        const bool writable = place.isEmpty() && !QFileInfo(course + "/Users.eng/inner").exists();
        if (!usersWasFile && !writable)
            QVERIFY(!users.isFile());
        else
            QCOMPARE(testenv::ReadBytes(users.filePath()),
                     writable ? usersBefore.left(usersBefore.size() / kUserRecSize * kUserRecSize)
                              : usersBefore);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"

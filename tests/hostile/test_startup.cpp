// The real program started on damaged copies of a small course, one run per
// kind of damage: each must end with the documented status and a clear
// message, without a crash, and leave every file outside the course
// directory (a sibling folder with canary files, the private HOME) as it
// was. Inside the course only Users.eng is rewritten, with the bytes it held.
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

// Every entry below `root` but those under `skip`: "dir" or a hash of the bytes.
QMap<QString, QByteArray> Snapshot(const QString& root, const QStringList& skip) {
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(root).relativeFilePath(it.next());
        if (std::none_of(skip.begin(), skip.end(),
                         [&](const QString& s) { return rel.startsWith(s); }))
            out[rel] = it.fileInfo().isDir()
                           ? QByteArray("dir")
                           : QCryptographicHash::hash(testenv::ReadBytes(it.filePath()),
                                                      QCryptographicHash::Sha1);
    }
    return out;
}

QByteArray RandomBytes(int n, quint32 seed) {
    QList<quint32> words((n + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), n);
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

// Put in place of a course file to make it a folder.
const QByteArray kFolderInstead = QByteArrayLiteral("a folder instead of the file");

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;
    bool m_mounted = false;

    QString path(const QString& rel) const { return m_root->path() + '/' + rel; }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        QVERIFY2(QFileInfo(kFont).isFile(), "fonts-liberation2 is needed for the course font");
    }
    void init() { m_root = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        if (m_mounted) Sh({"umount", "-l", path("course")});
        Sh({"chmod", "-R", "u+w", m_root->path()});
        m_mounted = false;
    }

    void damagedCourse_data() {
        QTest::addColumn<QString>("damagedFile");
        QTest::addColumn<QByteArray>("damagedBytes"); // null: the file is removed
        QTest::addColumn<QString>("place");           // "", "read-only" or "full"
        QTest::addColumn<int>("status");
        auto row = [](const char* name, const QString& file, const QByteArray& bytes, int status,
                      const QString& place = {}) {
            QTest::newRow(name) << file << bytes << place << status;
        };
        row("course file missing", "InitRegA.txt", {}, 1);
        row("course file of random bytes", "InitRegD.txt", RandomBytes(3000, 1), 1);
        row("file named up out of the course", "InitRegD.txt",
            "Course\t1\t0\t0\t..\\..\\outside\\canary.txt\t0\t\t\t\t\t\r\n", 0);
        row("Users.eng unreadable", "Users.eng", kFolderInstead, 0);
        row("read-only course directory", "Users.eng", {}, 0, "read-only");
        row("disk full", "Users.eng", UsersBytes(9), 0, "full");
    }
    void damagedCourse() {
        QFETCH(QString, damagedFile);
        QFETCH(QByteArray, damagedBytes);
        QFETCH(QString, place);
        QFETCH(int, status);

        // As root the course is a small tmpfs of its own, so that it can be
        // filled up or remounted read-only; otherwise a read-only course is
        // made so by its permissions.
        const QString course = path("course");
        QString why;
        if (place == "full" && ::geteuid() != 0)
            QSKIP("a small file system needs root to mount it");
        if (!place.isEmpty() && ::geteuid() == 0) {
            QDir().mkpath(course);
            if (!Sh({"mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", course}, &why))
                QSKIP(qPrintable("mounting a tmpfs is not permitted here: " + why));
            m_mounted = true;
        }
        testenv::CopyTree(kFixture, course);
        QVERIFY(QFile::copy(kFont, course + "/NFREESET.TTF"));
        QDir().mkpath(course + "/Report/Anna");
        QFile::remove(course + '/' + damagedFile);
        if (damagedBytes == kFolderInstead)
            QDir().mkpath(course + '/' + damagedFile + "/inner");
        else if (!damagedBytes.isNull())
            testenv::WriteBytes(course + '/' + damagedFile, damagedBytes);
        testenv::WriteBytes(path("outside/canary.txt"), RandomBytes(600, 7));
        testenv::WriteBytes(path("home/config/canary.ini"), "[x]\ny=1\n");

        if (place == "full") { // fill the disk up to the last byte
            QFile filler(course + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            for (qint64 n = 4096; n > 0; n /= 2)
                while (filler.write(QByteArray(n, 'f')) == n) {
                }
        }
        if (place == "read-only" && m_mounted)
            QVERIFY2(Sh({"mount", "-o", "remount,ro", course}, &why), qPrintable(why));
        if (place == "read-only" && !m_mounted) QVERIFY(Sh({"chmod", "-R", "a-w", course}));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("VANTREL_COURSE_DIR");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", path("home"));
        for (const char* d : {"config", "data", "cache"}) {
            QDir().mkpath(path("home/") + d);
            env.insert("XDG_" + QString(d).toUpper() + "_HOME", path("home/") + d);
        }
        QDir().mkdir(path("home/cache/run"),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", path("home/cache/run"));

        const QByteArray usersBefore = testenv::ReadBytes(course + "/Users.eng");
        const QStringList allowed{"course/Users.eng", "home/cache/"};
        const auto before = Snapshot(m_root->path(), allowed);

        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(path("home"));
        p.start(VANTREL_EXE, {"--no-splash", "--quit-after-startup", "--course-dir", course});
        const bool finished = p.waitForFinished(60000);
        if (!finished) p.kill();
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(finished, qPrintable("the program waited for something: " + err));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit, qPrintable("crashed: " + err));
        QVERIFY2(!err.contains("Sanitizer") && !err.contains("runtime error:"), qPrintable(err));
        QVERIFY2(p.exitCode() == status,
                 qPrintable(QString("status %1: %2").arg(p.exitCode()).arg(err)));
        // Every damage is told; which words is the business of the lower tests.
        QVERIFY2(err.contains("vantrel: "), qPrintable(err));

        // Hashes are never empty: an entry missing on one side differs too.
        const auto after = Snapshot(m_root->path(), allowed);
        QStringList changed;
        for (const QString& name : before.keys() + after.keys())
            if (before.value(name) != after.value(name)) changed << name;
        QVERIFY2(changed.isEmpty(), qPrintable("changed, new or removed: " + changed.join(", ")));

        // Users.eng is written back as read (also when the course structure
        // failed); one that cannot be written stays as it was.
        QCOMPARE(testenv::ReadBytes(course + "/Users.eng"), usersBefore);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"

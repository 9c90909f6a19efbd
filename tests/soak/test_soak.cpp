// Long use. Exercise windows of every kind opened through the main window's
// launcher and closed again (VANTREL_SOAK_WINDOWS of them, on the virtual
// audio back end), then plays on the real device (VANTREL_SOAK_PLAYS): the
// resident memory grows by less than 10 MB and the open file descriptors
// come back to where they were after the first round.
#include "common/testenv.h"
#include "common/wave.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPixmapCache>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#endif

namespace {

int Setting(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

qint64 ResidentBytes() {
    // The style keeps drawn button faces in Qt's pixmap cache, bounded at
    // 10 MB; what it holds is not grown by the program.
    QPixmapCache::clear();
#ifdef __GLIBC__
    malloc_trim(0); // what the allocator keeps for later is not held by the program
#endif
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
#ifdef Q_OS_LINUX
    return f.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
#else
    return -1;
#endif
}

// Under AddressSanitizer freed blocks wait in its quarantine (a quarter of a
// gigabyte) and the shadow memory grows with them, so the resident size says
// nothing about the program there; LeakSanitizer reports a leak at exit.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif
#else
constexpr bool kMemoryMeasured = true;
#endif

void CheckGrowth(qint64 grown) {
    if (kMemoryMeasured) QVERIFY2(grown < 10 * 1024 * 1024, qPrintable(QString::number(grown)));
}

int OpenFiles() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

// Closes every modal window the launch opens (the exercise, then whatever
// asks afterwards) as soon as it shows; returns whether one opened.
bool LaunchAndClose(TFormMain& form) {
    bool opened = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible()) return;
        opened = true;
        dlg->reject();
    });
    watch.start();
    form.ToolButton4Click();
    return opened;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() {
        if (!QFile::exists(QStringLiteral("/proc/self/statm")))
            QSKIP("memory and open files are read from /proc");
        testenv::PrivateHome();
        if (!QFileInfo::exists(QStringLiteral(VANTREL_DEMO_COURSE "/InitRegD.txt")))
            QSKIP("no demo course in this build (configure with -DVANTREL_COURSE=ON)");
        SetXMessageHandler([](const QString&, const QString&, int) { return 1; });
        m_dir = std::make_unique<testenv::CourseDir>();
        testenv::CopyTree(QStringLiteral(VANTREL_DEMO_COURSE), m_dir->path());
    }

    void windows() {
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        Learners().Users.clear();
        TFormMain form;
        form.show();
        QVERIFY(form.RunStartUp());
        auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
        const QList<QTreeWidgetItem*> nodes = NodesInDisplayOrder(tree);
        const CourseTable& table = CourseTableOf('D');
        QList<int> items; // one item of each exercise kind
        QList<int> kinds;
        for (int i = 1; i < table.size(); ++i)
            if (table[i].ExerciseKind && !kinds.contains(table[i].ExerciseKind)) {
                kinds << table[i].ExerciseKind;
                items << i;
            }
        QVERIFY(items.size() >= 5);
        const int total = Setting("VANTREL_SOAK_WINDOWS", 140);
        qint64 rss0 = 0;
        int fds0 = 0;
        for (int n = 0; n < total; ++n) {
            tree->setCurrentItem(nodes[items[n % items.size()] - 1]);
            QVERIFY2(LaunchAndClose(form), qPrintable(QString::number(n)));
            if (n + 1 == items.size()) { // caches filled by the first round
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                rss0 = ResidentBytes();
                fds0 = OpenFiles();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qint64 grown = ResidentBytes() - rss0;
        qInfo("soak: %d exercise windows, resident memory %+lld KB, open files %d -> %d", total,
              grown / 1024, fds0, OpenFiles());
        CheckGrowth(grown);
        if (QTest::currentTestFailed()) return;
        // The audio threads may let go of descriptors they held; a leak only grows.
        QVERIFY2(OpenFiles() <= fds0, qPrintable(QString::number(OpenFiles())));
    }

    void realPlays() {
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no sound server answers: no output device");
        testenv::WriteBytes("short.wav", testwave::Pcm(22050, 1, 16, 2205)); // 100 ms
        const int total = Setting("VANTREL_SOAK_PLAYS", 30);
        qint64 rss0 = 0;
        int fds0 = 0;
        for (int n = 0; n < total; ++n) {
            AudioDevice dev;
            QSignalSpy spy(&dev, &AudioDevice::notify);
            dev.setFileName(QStringLiteral("short.wav"));
            dev.open();
            dev.play();
            QVERIFY2(spy.wait(10000), qPrintable(QString::number(n)));
            QCOMPARE(spy.first().at(0).toInt(), int(AudioDevice::Successful));
            dev.close();
            if (n == 4) {
                rss0 = ResidentBytes();
                fds0 = OpenFiles();
            }
        }
        QTest::qWait(200); // the audio threads let go of what they held
        const qint64 grown = ResidentBytes() - rss0;
        qInfo("soak: %d real-device plays, resident memory %+lld KB, open files %d -> %d", total,
              grown / 1024, fds0, OpenFiles());
        CheckGrowth(grown);
        if (QTest::currentTestFailed()) return;
        // The audio threads may let go of descriptors they held; a leak only grows.
        QVERIFY2(OpenFiles() <= fds0, qPrintable(QString::number(OpenFiles())));
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"

// Long use. Exercise windows of every kind opened through the main window's
// launcher and closed again (VANTREL_SOAK_WINDOWS of them, on the virtual
// audio back end), then plays on the real device (VANTREL_SOAK_PLAYS): the
// resident memory grows by less than 10 MB and the open file descriptors
// come back to where they were after the first round.
#include "common/testenv.h"
#include "common/wave.h"
#include "controls/ui_hooks.h"
#include "course/course.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"

#include <functional>
#include <QAudioDevice>
#include <QDialog>
#include <QMediaDevices>
#include <QPixmapCache>
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
    const int v = qEnvironmentVariableIntValue(name); // 0 when unset or not a number
    return v > 0 ? v : fallback;
}

qint64 ResidentBytes() {
    // The style keeps drawn button faces in Qt's pixmap cache, bounded at
    // 10 MB; what it holds is not grown by the program.
    QPixmapCache::clear();
#ifdef __GLIBC__
    malloc_trim(0); // what the allocator keeps for later is not held by the program
#endif
#ifdef Q_OS_LINUX
    QFile f(QStringLiteral("/proc/self/statm"));
    if (f.open(QIODevice::ReadOnly))
        return f.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
#endif
    return -1;
}

int OpenFiles() {
    const QDir fds(QStringLiteral("/proc/self/fd"));
    return int(fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

// Runs `step` `total` times; after step `settled` (the caches filled) takes
// the resident memory and the open files, which must not grow by the end.
void Soak(const char* what, int total, int settled, const std::function<void(int)>& step) {
    qint64 rss0 = 0;
    int fds0 = 0;
    for (int n = 0; n < total && !QTest::currentTestFailed(); ++n) {
        step(n);
        if (n == settled) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            rss0 = ResidentBytes();
            fds0 = OpenFiles();
        }
    }
    if (QTest::currentTestFailed()) return;
    QTest::qWait(200); // deferred deletes done, the audio threads let go of what they held
    const qint64 grown = ResidentBytes() - rss0;
    const int fds = OpenFiles();
    qInfo("soak: %d %s, resident memory %+lld KB, open files %d -> %d", total, what, grown / 1024,
          fds0, fds);
#ifndef SOAK_NO_MEMORY_BOUND // set for the sanitizer build (CMakeLists.txt)
    QVERIFY2(grown < 10 * 1024 * 1024, qPrintable(QString::number(grown)));
#endif
    // The audio threads may let go of descriptors they held; a leak only grows.
    QVERIFY2(fds <= fds0, qPrintable(QString::number(fds)));
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
        TFormMain form;
        form.show();
        QVERIFY(form.RunStartUp());
        auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
        const CourseTable& table = CourseTableOf('D');
        QMap<int, int> itemOfKind; // the first item of each exercise kind
        for (int i = int(table.size()) - 1; i >= 1; --i)
            if (table[i].ExerciseKind) itemOfKind[table[i].ExerciseKind] = i;
        const QList<int> items = itemOfKind.values();
        QVERIFY(items.size() >= 5);
        // Every modal window a launch opens (the exercise, then whatever asks
        // afterwards) is closed as soon as it shows.
        int opened = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible()) return;
            ++opened;
            dlg->reject();
        });
        closer.start(5);
        const int total = Setting("VANTREL_SOAK_WINDOWS", 140);
        Soak("exercise windows", total, int(items.size()) - 1, [&](int n) {
            tree->setCurrentItem(NodesInDisplayOrder(tree)[items[n % items.size()] - 1]);
            const int before = opened;
            form.ToolButton4Click();
            QVERIFY2(opened > before, qPrintable(QString::number(n)));
        });
    }

    void realPlays() {
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no sound server answers: no output device");
        testenv::WriteBytes("short.wav", testwave::Pcm(22050, 1, 16, 2205)); // 100 ms
        Soak("real-device plays", Setting("VANTREL_SOAK_PLAYS", 30), 4, [](int n) {
            AudioDevice dev;
            QSignalSpy spy(&dev, &AudioDevice::notify);
            dev.setFileName(QStringLiteral("short.wav"));
            dev.open();
            dev.play();
            QVERIFY2(spy.wait(10000), qPrintable(QString::number(n)));
            QCOMPARE(spy.first().at(0).toInt(), int(AudioDevice::Successful));
            dev.close();
        });
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"

// The generator gives the same bytes from the same sources: a fresh run into
// a temporary directory matches the course the build generated.
#include "common/testenv.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameBytes() {
        QTemporaryDir tmp;
        const QString out = tmp.path() + "/c";
        QProcess p;
        p.start(VANTREL_PYTHON3,
                {VANTREL_COURSE_GENERATOR, "--src", VANTREL_SOURCE_DIR "/course-src", "--out", out,
                 "--help-dir", VANTREL_SOURCE_DIR "/help", "--fresh"});
        QVERIFY(p.waitForFinished(280000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        const QDir built(VANTREL_COURSE_DIR);
        int files = 0;
        QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString rel = QDir(out).relativeFilePath(it.next());
            QVERIFY2(testenv::ReadBytes(it.filePath()) == testenv::ReadBytes(built.filePath(rel)),
                     qPrintable(rel + " differs"));
            ++files;
        }
        QVERIFY(files > 60);
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "test_generator.moc"

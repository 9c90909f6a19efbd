// Program entry: chooses the course directory and makes it current, installs
// the program's message box, help and progress window, creates the main
// window and runs the start-up sequence.
#include "app/coursedir.h"
#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/vantrel.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrel"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vantrel: a course in understanding spoken American English."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption courseDir(QStringLiteral("course-dir"),
                                 QStringLiteral("Run from the course directory DIR."),
                                 QStringLiteral("DIR"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("After start-up save a PNG of the main window to FILE and exit."),
                                  QStringLiteral("FILE"));
    QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Skip the splash window."));
    QCommandLineOption quitAfter(QStringLiteral("quit-after-startup"),
                                 QStringLiteral("Exit as soon as the main window is shown and idle."));
    parser.addOptions({courseDir, screenshot, noSplash, quitAfter});
    parser.process(app);

    StartOptions opt;
    opt.screenshot = parser.value(screenshot);
    if (!opt.screenshot.isEmpty()) opt.screenshot = QFileInfo(opt.screenshot).absoluteFilePath();
    opt.splash = !parser.isSet(noSplash);
    opt.quitAfterStartUp = parser.isSet(quitAfter);
    if (opt.quitAfterStartUp || !opt.screenshot.isEmpty()) InstallUnattendedMessages();

    const CourseDirChoice dir =
        ChooseCourseDir(parser.value(courseDir), QApplication::applicationDirPath(),
                        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            QStringLiteral("/Vantrel"));
    if (dir.dir.isEmpty() || !QDir::setCurrent(dir.dir)) {
        const QString why = dir.dir.isEmpty() ? dir.error
                                              : QStringLiteral("Cannot enter the course directory %1").arg(dir.dir);
        std::fprintf(stderr, "vantrel: %s\n", qPrintable(why));
        ShowStartError(why);
        return 1;
    }
    return RunProgram(app, opt);
}

#include "app/startup.h"

#include "app/eng_formbegin.h"
#include "app/helpwindow.h"
#include "controls/ui_hooks.h"
#include "controls/formprogress.h"
#include "drill/dlgmessage.h"
#include "learners/learnerplace.h"
#include "main/eng_main.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

void ShowStartError(const QString& text) { XMessage(text, QStringLiteral("Vantrel"), MB_ICONSTOP); }

namespace {
bool& Unattended() {
    static bool on = false;
    return on;
}

void InstallServices() {
    if (!Unattended()) InstallXMessageDialog();
    InstallPictureProgressWindow();
    InstallHelp(QDir::current().absoluteFilePath(QStringLiteral("help")));
}

bool SaveScreenshot(QWidget* w, const QString& file) {
    QApplication::processEvents();
    const QPixmap shot = w->grab();
    if (!shot.save(file, "PNG")) {
        std::fprintf(stderr, "vantrel: cannot write the screenshot %s\n", qPrintable(file));
        return false;
    }
    return true;
}
} // namespace

void InstallUnattendedMessages() {
    Unattended() = true;
    SetXMessageHandler([](const QString& text, const QString& title, int) {
        std::fprintf(stderr, "vantrel: %s: %s\n", title.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
        return 1; // the OK button
    });
}

int RunProgram(QApplication& app, const StartOptions& opt) {
    InstallServices();
    // Complete copies a kill left between a write and its rename. A newer one
    // may be another copy of the program writing right now.
    RemoveStrayTemporaries(QDir::currentPath(), QDateTime::currentDateTime().addSecs(-10 * 60));
    if (!opt.splash || opt.quitAfterStartUp) {
        TFormBegin::SetSplashDuration(0);
        TFormMain::SetSplashRunner(nullptr);
    } else {
        TFormMain::SetSplashRunner([] {
            TFormBegin splash;
            splash.Run();
        });
    }

    TFormMain main;
    main.show();
    if (!main.RunStartUp()) return 1;

    if (!opt.screenshot.isEmpty()) {
        int status = 0;
        QTimer::singleShot(300, &main, [&] {
            status = SaveScreenshot(&main, opt.screenshot) ? 0 : 2;
            main.close();
            app.exit(status);
        });
        app.exec();
        return status;
    }
    if (opt.quitAfterStartUp) {
        QTimer::singleShot(0, &main, [&] {
            main.close();
            app.exit(0);
        });
    }
    return app.exec();
}

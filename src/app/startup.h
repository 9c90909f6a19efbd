#pragma once
// Bringing the program up once the course directory is current.
#include <QString>

class QApplication;

struct StartOptions {
    QString screenshot;         // save the main window there after start-up, then exit
    bool splash = true;         // show the splash window
    bool quitAfterStartUp = false;
};

// Installs the program's services (message box, help, progress window),
// creates the main window, runs the start-up sequence and the event loop.
// Returns the exit status: 1 when the course could not be loaded.
int RunProgram(QApplication& app, const StartOptions& opt);
// A start-up error before any window exists: message box and stderr.
void ShowStartError(const QString& text);
// For runs nobody watches (--quit-after-startup, --screenshot): every message
// goes to stderr and counts as answered with OK, so no box waits for a click.
void InstallUnattendedMessages();

#pragma once
// Program-wide state shared by the windows.
#include <QString>

struct AppState {
    QString DataRoot = QStringLiteral("DemoData\\"); // prefix put before course file names
    int CurrentUser = -1;                            // index in the learner table; -1 anonymous
    char AnonMode = 'D';                             // work mode of the anonymous learner
    char CurrentMode = 'D';                          // work mode shown in the tree
    bool TreeReady = false;                          // the tree is filled for the current learner
    bool UserUnchanged = true;                       // cleared when the learner dialogs change learners
};

AppState& App();
// Back to the start values (tests).
void ResetAppState();

#pragma once
// The learner and teacher windows the main window opens. They belong to the
// learners library; the main window reaches them through this seam so that
// tests can answer them without dialogs.
#include <memory>
#include <QString>

class QWidget;

class MainDialogs {
public:
    virtual ~MainDialogs() = default;

    // TOKBottomDlgSelectUsers modally; on OK `index` is the chosen line.
    virtual int SelectUsers(int& index) = 0;
    // The selection dialog's new-learner procedure (Button1Click).
    virtual void NewUser() = 0;
    // TDlgPassWord modally; `typed` is the text after OK.
    virtual int PassWord(QString& typed) = 0;
    virtual void SetPassWordHelp(int topic) = 0;
    // The stored teacher password; empty when none is set.
    virtual QString TeacherPassword() = 0;
    // TFormPrepod modally.
    virtual void TeacherConsole() = 0;
    // The learner's own report (TFormReport).
    virtual void Report(const QString& reportFile, char mode) = 0;
};

// The program's dialogs, as far as this build has them.
std::unique_ptr<MainDialogs> MakeProgramDialogs(QWidget* owner);

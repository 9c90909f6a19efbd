#pragma once
// A small course of four work modes, learners with progress files and
// answered learner dialogs, for the session and the main window.
#include "common/messages.h"
#include "common/testenv.h"
#include "learners/userrec.h"
#include "main/maindialogs.h"

#include <functional>
#include <QList>
#include <QPair>
#include <QStringList>

namespace mainfix {

// A fresh course folder (the working folder while it lives) with the
// program's state reset, an empty learner list and the messages recorded.
// D: root, section, lesson, vocabulary (picture page), text work.
// A, B and C: root, section, listening.
struct Course {
    Course();
    ~Course();
    // A learner in the table with a progress file whose records `done` are set.
    TUserRec add(const QString& name, const QString& password, char mode, const QList<int>& done);

    testenv::CourseDir dir;
    testui::MessageRecorder messages;
};

// A learner in the table of the course in `dir`, with a progress file whose
// records `done` are set.
TUserRec AddLearner(const testenv::CourseDir& dir, const QString& name, const QString& password,
                    char mode, const QList<int>& done);

using Selects = QList<QPair<int, int>>;       // modal result, index
using Passwords = QList<QPair<int, QString>>; // modal result, typed

struct Dialogs : MainDialogs {
    Selects selects;
    Passwords passwords;
    int selectCalls = 0, passwordCalls = 0, consoles = 0, reports = 0;
    QList<int> helpTopics;
    QString teacher;
    std::function<void()> newUser, duringSelect;

    int SelectUsers(int& index) override;
    void NewUser() override;
    int PassWord(QString& typed) override;
    void SetPassWordHelp(int topic) override { helpTopics << topic; }
    QString TeacherPassword() override { return teacher; }
    void TeacherConsole() override { ++consoles; }
    void Report(const QString&, char) override { ++reports; }
};

} // namespace mainfix

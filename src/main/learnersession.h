#pragma once
// The learner session: who works now, in which work mode, with which progress
// table, and the guards on them. Every change of the learner table and every
// write of a learner's progress during a run goes through here; the main
// window only wires menus and dialogs to it and shows what it reports.
#include <QString>

class MainDialogs;

// What the session asks of its window.
class SessionView {
public:
    virtual ~SessionView() = default;
    // A learner (or the anonymous one) was taken on: title, buttons and the
    // course tree of `mode`.
    virtual void ShowLearner(char mode, bool learner) = 0;
    // The progress table may have changed: the node pictures.
    virtual void ShowProgress() = 0;
    // The tree is ready for the learner: show the selected node.
    virtual void ShowSelected() = 0;
};

class TLearnerSession {
public:
    TLearnerSession(SessionView& view, MainDialogs* dialogs);
    void SetDialogs(MainDialogs* dialogs) { m_dialogs = dialogs; }

    // Before the course is read: nothing is shown, nobody has changed.
    void Reset();
    // After the course is read: the anonymous learner in its work mode.
    void Start();

    // Switch to learner `index`, or to the anonymous learner with -1. The
    // learner left keeps what was done; a learner whose record names files
    // outside its place or a mode that does not exist is not taken on.
    void ChangeUser(int index);
    // The new-learner procedure; switches to the learner made.
    void NewUser();
    // The selection dialog, then the password, until one fits or the learner
    // gives up.
    void LogIn();
    // A new work mode for the current learner (progress starts afresh) or
    // for the anonymous learner.
    void ChangeMode(char mode);
    // The teacher's console, behind the teacher's password when one is set.
    void TeacherCheck();
    // The current learner's own report.
    void Report();
    // The program ends: progress and learner list written where complete.
    void SaveOnClose();

    bool HasLearner() const;
    int CurrentUser() const;
    char CurrentMode() const;
    QString TitleText() const;
    // Node picture of item i: 0 a section, 1 an exercise, 2 one done.
    int NodeImageOf(int i) const;

private:
    SessionView& m_view;
    MainDialogs* m_dialogs;
};

#include "main/learnersession.h"

#include "controls/guard.h"
#include "controls/modalresult.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "learners/learnertable.h"
#include "learners/userrec.h"
#include "main/maindialogs.h"

namespace {

// The progress file of a learner taken on (LearnerPlaceOf passed then).
QString ProgressFileOf(const TUserRec& u) {
    return LearnerPlaceOf(u).ReportFile;
}

void WrongPassword() {
    XMessage(QStringLiteral("Неправильный пароль"), QStringLiteral("Ошибка"), MB_ICONSTOP);
}

// Runs `f` when leaving the scope, whatever happens.
template <typename F> class Finally {
public:
    explicit Finally(F f) : m_f(std::move(f)) {}
    ~Finally() { m_f(); }

private:
    F m_f;
};

} // namespace

TLearnerSession::TLearnerSession(SessionView& view, MainDialogs* dialogs)
    : m_view(view), m_dialogs(dialogs) {}

void TLearnerSession::Reset() {
    AppState& a = App();
    a.TreeReady = false;
    a.UserUnchanged = true;
    a.AnonMode = AnonymousUser().Mode;
}

void TLearnerSession::Start() {
    AppState& a = App();
    a.DataRoot = QStringLiteral("DemoData\\");
    a.CurrentUser = -1;
    ChangeUser(-1);
}

bool TLearnerSession::HasLearner() const {
    const int cur = App().CurrentUser;
    return cur >= 0 && cur < Learners().count();
}

int TLearnerSession::CurrentUser() const {
    return App().CurrentUser;
}

char TLearnerSession::CurrentMode() const {
    return App().CurrentMode;
}

QString TLearnerSession::TitleText() const {
    const AppState& a = App();
    if (!HasLearner())
        return QStringLiteral("Lumora Анонимный пользователь - Режим ") + QChar(a.AnonMode) +
               QStringLiteral(".");
    const TUserRec& u = Learners().Users[a.CurrentUser];
    return QStringLiteral("Lumora ") + u.UserName + QStringLiteral(" - Режим ") + QChar(u.Mode) +
           QStringLiteral(".");
}

int TLearnerSession::NodeImageOf(int i) const {
    const AppState& a = App();
    if (CourseItem(a.CurrentMode, i).ExerciseKind == 0) return 0;
    if (a.CurrentUser < 0) return 1;
    const ProgressTable& p = CurrentProgress();
    if (i >= 1 && i <= p.Count && i < p.Recs.size() && p[i].Done == 1) return 2;
    return 1;
}

void TLearnerSession::ChangeUser(int index) {
    AppState& a = App();
    a.TreeReady = false;
    LearnerTable& users = Learners();
    if (index >= users.count()) index = -1;
    // A learner current in another program stays there; this program keeps
    // its own learner.
    if (index >= 0 && index != a.CurrentUser) {
        bool busy = false;
        try {
            busy = LearnerInUseElsewhere(LearnerPlaceOf(users.Users[index]).ReportDir);
        } catch (...) {
            // A record naming a place outside is refused below, with its message.
        }
        if (busy) {
            XMessage(LearnerBusyText(users.Users[index].UserName), QStringLiteral("Внимание"),
                     MB_ICONWARNING);
            a.TreeReady = true;
            return;
        }
    }
    // A table that could not be read completely is never written over the file.
    if (HasLearner() && CurrentProgress().Complete) {
        const TUserRec& left = users.Users[a.CurrentUser];
        if (!Guarded([&] { WriteProgress(ProgressFileOf(left), CurrentProgress()); })) {
            a.TreeReady = true;
            return;
        }
    }
    // Only the dialogs run after this switch count as changing learners.
    a.UserUnchanged = true;
    if (index < 0) {
        ReleaseLearner();
        a.CurrentUser = -1;
        m_view.ShowLearner(a.AnonMode, false);
        a.CurrentMode = a.AnonMode;
        m_view.ShowProgress();
    } else {
        const TUserRec& u = users.Users[index];
        LearnerPlace place;
        if (!Guarded([&] { place = LearnerPlaceOf(u); })) {
            a.CurrentUser = -1; // the learner left was saved above
            ChangeUser(-1);
            return;
        }
        if (!TakeLearner(place.ReportDir)) {
            // Taken by another program since the check above.
            XMessage(LearnerBusyText(u.UserName), QStringLiteral("Внимание"), MB_ICONWARNING);
            a.CurrentUser = -1;
            ChangeUser(-1);
            return;
        }
        a.CurrentUser = index;
        m_view.ShowLearner(u.Mode, true);
        a.CurrentMode = u.Mode;
        QString grown;
        if (!Guarded([&] {
                grown =
                    OpenLearnerProgress(place.ReportFile, u.Mode, u.UserName, CurrentProgress());
            })) {
            // The table stays incomplete and is never saved; work goes on
            // as the anonymous learner so nothing done now is lost unseen.
            ChangeUser(-1);
            return;
        }
        m_view.ShowProgress();
        if (!grown.isEmpty()) XMessage(grown, QStringLiteral("Внимание"), MB_ICONINFORMATION);
    }
    a.TreeReady = true;
    m_view.ShowSelected();
}

void TLearnerSession::NewUser() {
    App().UserUnchanged = true;
    m_dialogs->NewUser();
    if (!App().UserUnchanged) ChangeUser(Learners().LastUser());
}

void TLearnerSession::LogIn() {
    const bool wasLearner = App().CurrentUser >= 0;
    for (;;) {
        int index = -1;
        if (m_dialogs->SelectUsers(index) != mrOk) {
            if (!App().UserUnchanged) ChangeUser(-1);
            return;
        }
        const LearnerTable& users = Learners();
        if (users.LastUser() < 0) {
            XMessage(QStringLiteral("Нет ни одного имени"), QStringLiteral("Ошибка"), MB_ICONSTOP);
            continue;
        }
        if (index < 0 || index > users.LastUser()) continue; // nothing chosen: ask again
        QString typed;
        if (m_dialogs->PassWord(typed) != mrOk) {
            // Only a deleted current learner needs the switch; a learner
            // just created leaves the current one as it is.
            if (wasLearner && App().CurrentUser < 0) ChangeUser(-1);
            return;
        }
        if (typed != users.Users[index].Password) {
            WrongPassword();
            continue;
        }
        ChangeUser(index);
        return;
    }
}

void TLearnerSession::ChangeMode(char mode) {
    if (!ValidMode(mode)) return; // no such table: the learner stays as it is
    AppState& a = App();
    const int cur = a.CurrentUser;
    if (HasLearner()) {
        const TUserRec& u = Learners().Users[cur];
        const ProgressTable fresh =
            ChangeLearnerMode(Learners(), u.UserName, ProgressFileOf(u), mode, CurrentProgress());
        CurrentProgress() = fresh;
    } else {
        a.AnonMode = mode;
    }
    ChangeUser(a.CurrentUser);
}

void TLearnerSession::TeacherCheck() {
    Guarded([&] {
        const QString stored = m_dialogs->TeacherPassword();
        m_dialogs->SetPassWordHelp(90);
        Finally reset([this] { m_dialogs->SetPassWordHelp(0); });
        if (stored.isEmpty()) {
            m_dialogs->TeacherConsole();
            return;
        }
        QString typed;
        if (m_dialogs->PassWord(typed) != mrOk) return;
        if (typed == stored)
            m_dialogs->TeacherConsole();
        else
            WrongPassword();
    });
    // The console may have changed learners' data shown here.
    m_view.ShowProgress();
}

void TLearnerSession::Report() {
    Guarded([&] {
        if (!HasLearner()) return;
        const TUserRec& u = Learners().Users[App().CurrentUser];
        m_dialogs->Report(ProgressFileOf(u), u.Mode);
    });
    // A deleted recording marks its exercise not done again.
    m_view.ShowProgress();
}

void TLearnerSession::SaveOnClose() {
    if (HasLearner() && CurrentProgress().Complete)
        Guarded([&] {
            WriteProgress(ProgressFileOf(Learners().Users[App().CurrentUser]), CurrentProgress());
        });
    if (!Learners().loadFailed()) Guarded([] { SaveLearnerList(Learners()); });
}

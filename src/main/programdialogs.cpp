#include "main/maindialogs.h"

#include "controls/modalresult.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/eng_formprepod.h"
#include "learners/eng_formreport.h"
#include "learners/teacherpass.h"
#include "main/eng_main.h"
#include "main/mainhost.h"
#include "text/eng_formworktext.h"

#include <QWidget>

namespace {

// The long-lived learner dialogs; the selection dialog loads the learner
// table when it is made and saves it when it goes.
class ProgramDialogs : public MainDialogs {
public:
    explicit ProgramDialogs(QWidget* owner)
        : m_owner(owner), m_select(new TOKBottomDlgSelectUsers(owner)),
          m_password(m_select->passwordDialog()) {
        // The console plays a learner's recording in the text work window,
        // over the main window's client area as an exercise would be.
        SetConsolePlaybackHook([owner](const ConsolePlayback& p) {
            LaunchPlacement pl;
            if (auto* form = qobject_cast<TFormMain*>(owner))
                pl = MainLaunchHost(form).Placement();
            else if (owner)
                pl = {owner->mapToGlobal(QPoint(0, 0)).x(), owner->mapToGlobal(QPoint(0, 0)).y(),
                      owner->width(), owner->height()};
            ::RunWorkText(pl.X, pl.Y, pl.W, pl.H, p.Files, p.LearnerRecording, p.DataRoot);
        });
    }
    ~ProgramDialogs() override { SetConsolePlaybackHook({}); }

    int SelectUsers(int& index) override {
        const int r = m_select->exec() == QDialog::Accepted ? mrOk : mrCancel;
        index = m_select->selectedIndex();
        return r;
    }
    void NewUser() override { m_select->Button1Click(); }
    int PassWord(QString& typed) override {
        const int r = m_password->exec() == QDialog::Accepted ? mrOk : mrCancel;
        typed = m_password->password();
        return r;
    }
    void SetPassWordHelp(int topic) override { m_password->setHelpTopic(topic); }
    QString TeacherPassword() override { return ReadTeacherPassword(); }
    void TeacherConsole() override {
        // Made once and kept, so "Печать только выполненых" stays as the
        // teacher left it for the rest of the run.
        if (!m_console) m_console = new TFormPrepod(m_owner);
        m_console->exec();
    }
    void Report(const QString& progressFile, char mode) override {
        ShowReport(m_owner, progressFile, mode);
    }

private:
    QWidget* m_owner;
    TOKBottomDlgSelectUsers* m_select;
    TDlgPassWord* m_password;
    TFormPrepod* m_console = nullptr;
};

} // namespace

std::unique_ptr<MainDialogs> MakeProgramDialogs(QWidget* owner) {
    return std::make_unique<ProgramDialogs>(owner);
}

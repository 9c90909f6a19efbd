#include "main/maindialogs.h"

#include "controls/modalresult.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_formreport.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/teacherpass.h"

#include <QWidget>

namespace {

// The long-lived learner dialogs; the selection dialog loads the learner
// table when it is made and saves it when it goes.
class ProgramDialogs : public MainDialogs {
public:
    explicit ProgramDialogs(QWidget* owner)
        : m_owner(owner), m_select(new TOKBottomDlgSelectUsers(owner)),
          m_password(m_select->passwordDialog()) {}

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
    void TeacherConsole() override {}
    void Report(const QString& progressFile, char mode) override {
        ShowReport(m_owner, progressFile, mode);
    }

private:
    QWidget* m_owner;
    TOKBottomDlgSelectUsers* m_select;
    TDlgPassWord* m_password;
};

} // namespace

std::unique_ptr<MainDialogs> MakeProgramDialogs(QWidget* owner) {
    return std::make_unique<ProgramDialogs>(owner);
}

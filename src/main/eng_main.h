#pragma once
// The main window: tool bar, menu, the course tree of the current work mode
// and the information pane of the selected node. The learner session keeps
// the learner, the work mode and the progress table; the window shows them.
#include "main/launcher.h"
#include "main/learnersession.h"
#include "main/maindialogs.h"

#include <functional>
#include <memory>
#include <QMainWindow>

class QAction;
class QLabel;
class QTextEdit;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TOKBottomDlgAbout;
class TOKBottomDlgChengeReg;
class TitleStrip;

class TFormMain : public QMainWindow, private SessionView {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The splash window lives with the program entry; it installs how to
    // show it. Without one the start-up goes on without a splash.
    static void SetSplashRunner(std::function<void()> run);

    // Replace the dialogs or the exercise windows (tests).
    void SetDialogs(std::unique_ptr<MainDialogs> d);
    void SetLaunchHost(std::unique_ptr<LaunchHost> h);
    MainDialogs& Dialogs() { return *m_dialogs; }
    TLearnerSession& Session() { return m_session; }

    // The start-up sequence; call right after show(). False when the course
    // structure could not be read (the message has been shown already).
    bool RunStartUp();

    // Switch to learner `index`, or to the anonymous learner with -1.
    void ChangeUser(int index);
    // The title of the current learner, also shown in the title strip.
    QString TitleText() const;
    // Node images from the course table and the progress table.
    void SetNodeImages();
    // Image index (0, 1, 2) of item i for the current learner.
    int NodeImageOf(int i) const;

    TOKBottomDlgChengeReg* ChengeRegDialog() const { return m_dlgChengeReg; }
    TOKBottomDlgAbout* AboutDialog() const { return m_dlgAbout; }

public Q_SLOTS:
    void FormShow();
    void TreeViewChange();
    void TreeViewDblClick();
    void ToolButton4Click();
    void N9Click();
    void NNewUserClick();
    void ToolButtonNewUserClick();
    void NSelectUserClick();
    void ToolButton3Click();
    void NChengRegClick();
    void N6Click();
    void ToolButton1Click();
    void NReportClick();
    void ToolButtonReportClick();
    void NExitNClick();
    void ToolButtonExitClick();
    void N2Click();
    void NAboutClick();
    void Label1Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class MainLaunchHost;
    void ShowLearner(char mode, bool learner) override;
    void ShowProgress() override;
    void ShowSelected() override;
    void BuildMenu();
    void BuildToolBar();
    void BuildPanel();
    void FormClose();
    void ShowInfoOf(const TCourseItem& it);
    void ShowInfoReported(const TCourseItem& it);
    void SetTitle(const QString& t);
    void FillTree(char mode);
    void RegisterFont();
    int SelectedItem() const;
    void HideMainPanel();
    void ShowMainPanelAndRedraw();

    std::unique_ptr<MainDialogs> m_dialogs;
    TLearnerSession m_session;
    std::unique_ptr<LaunchHost> m_host;
    TOKBottomDlgChengeReg* m_dlgChengeReg = nullptr;
    TOKBottomDlgAbout* m_dlgAbout = nullptr;

    QToolBar* m_toolBar = nullptr;
    TitleStrip* m_title = nullptr;
    QWidget* m_panel = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTextEdit* m_rich = nullptr;
    QLabel* m_image = nullptr;
    QLabel* m_link = nullptr;
    QToolButton* m_btnRun = nullptr;
    QToolButton* m_btnReport = nullptr;
    bool m_startedUp = false;
    bool m_shutDown = false;
};

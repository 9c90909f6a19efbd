#include "main/mainhost.h"

#include "controls/ui_hooks.h"
#include "drill/eng_dlglexrepit.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formexeclexicdemo.h"
#include "drill/eng_formquestdemo.h"
#include "drill/eng_formquestdown.h"
#include "drill/eng_formquesttrfl.h"
#include "main/eng_main.h"
#include "main/eng_dlgtestfullduplex.h"
#include "text/eng_formworktext.h"
#include "text/eng_transnotext.h"

#include <limits>
#include <QMenuBar>
#include <QStorageInfo>

LaunchPlacement MainLaunchHost::Placement() {
    // The client area below the menu bar.
    const int menu = m_form->menuBar()->isVisible() ? m_form->menuBar()->height() : 0;
    const QPoint origin = m_form->mapToGlobal(QPoint(0, menu));
    return {origin.x(), origin.y(), m_form->width(), m_form->height() - menu};
}

bool MainLaunchHost::WindowAvailable(int kind) {
    return (kind >= 1 && kind <= 8) || (kind >= 11 && kind <= 15);
}

int MainLaunchHost::RunLexicDemo(int cx, int cy, const TLessonFiles& f) {
    return ::RunLexicDemo(cx, cy, f.Text, f.Translation, f.Timing, f.Sound);
}

int MainLaunchHost::RunLexic(int cx, int cy, const TLessonFiles& f) {
    return ::RunLexic(cx, cy, f.Text, f.Translation, f.Timing, f.Sound);
}

int MainLaunchHost::RunQuestDemo(int cx, int cy, const TLessonFiles& f) {
    return ::RunQuestDemo(cx, cy, f.Text, f.Translation, f.Timing, f.Sound);
}

int MainLaunchHost::RunQuestDown(int cx, int cy, const TLessonFiles& f, int& questions,
                                 int& errors) {
    questions = errors = 0;
    return ::RunQuestDown(cx, cy, f.Text, f.Translation, f.Timing, f.Sound, &questions, &errors);
}

int MainLaunchHost::RunQuestTrFl(int cx, int cy, const TLessonFiles& f) {
    return ::RunQuestTrFl(cx, cy, f.Text, f.Translation, f.Timing, f.Sound);
}

int MainLaunchHost::RunWorkText(const LaunchPlacement& a, const TLessonFiles& files,
                                const QString& learnerRecord, const QString& dataRoot) {
    return ::RunWorkText(a.X, a.Y, a.W, a.H, files, learnerRecord, dataRoot);
}

int MainLaunchHost::RunTransNoText(const LaunchPlacement& a, const TListenParams& params) {
    return ::RunTransNoText(a.X, a.Y, a.W, a.H, params);
}

bool MainLaunchHost::RunDuplexTest() {
    return ::RunDuplexTest();
}

qint64 MainLaunchHost::FreeDiskSpace(const QString& dir) {
    // A volume that cannot be asked does not stop the exercise.
    QStorageInfo info(dir);
    return info.isValid() && info.isReady() ? info.bytesAvailable()
                                            : std::numeric_limits<qint64>::max();
}

int MainLaunchHost::ShowLexRepit(const QString& message, bool markDoneEnabled) {
    TDlgLexRepit& dlg = DlgLexRepit();
    dlg.SetComent(message);
    dlg.SetOkEnabled(markDoneEnabled);
    const int r = dlg.exec();
    // Esc or the system close leaves the exercise as it is.
    return r == kRepitMarkDone || r == kRepitRepeat ? r : kRepitLeave;
}

void MainLaunchHost::XMessage(const QString& text, const QString& title, int flags) {
    ::XMessage(text, title, flags);
}

void MainLaunchHost::HideMainPanel() {
    m_form->HideMainPanel();
}

void MainLaunchHost::ShowMainPanelAndRedraw() {
    m_form->ShowMainPanelAndRedraw();
}

#include "main/mainhost.h"

#include "base/ui_hooks.h"
#include "main/eng_main.h"

#include <QMenuBar>
#include <QStorageInfo>

LaunchPlacement MainLaunchHost::Placement() {
    // The client area below the menu bar.
    const int menu = m_form->menuBar()->isVisible() ? m_form->menuBar()->height() : 0;
    const QPoint origin = m_form->mapToGlobal(QPoint(0, menu));
    return {origin.x(), origin.y(), m_form->width(), m_form->height() - menu};
}

bool MainLaunchHost::WindowAvailable(int) {
    // The exercise windows join as their libraries provide them.
    return false;
}

int MainLaunchHost::RunLexicDemo(int, int, const QString&, const QString&, const QString&,
                                 const QString&) {
    return -1;
}

int MainLaunchHost::RunLexic(int, int, const QString&, const QString&, const QString&,
                             const QString&) {
    return -1;
}

int MainLaunchHost::RunQuestDemo(int, int, const QString&, const QString&, const QString&,
                                 const QString&) {
    return -1;
}

int MainLaunchHost::RunQuestDown(int, int, const QString&, const QString&, const QString&,
                                 const QString&, int& questions, int& errors) {
    questions = errors = 0;
    return -1;
}

int MainLaunchHost::RunQuestTrFl(int, int, const QString&, const QString&, const QString&,
                                 const QString&) {
    return -1;
}

int MainLaunchHost::RunWorkText(int, int, int, int, const QString&, const QString&, const QString&,
                                const QString&, const QString&, const QString&, int,
                                const QString&) {
    return -1;
}

int MainLaunchHost::RunTransNoText(int, int, int, int, const QString&, const QString&,
                                   const QString&, const QString&, const QString&, const QString&,
                                   bool, bool, bool, const QString&, int) {
    return -1;
}

bool MainLaunchHost::RunDuplexTest() {
    return false;
}

qint64 MainLaunchHost::FreeDiskSpace(const QString& dir) {
    QStorageInfo info(dir);
    return info.isValid() ? info.bytesAvailable() : 0;
}

int MainLaunchHost::ShowLexRepit(const QString&, bool) {
    return 2;
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

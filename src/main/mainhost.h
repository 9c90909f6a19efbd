#pragma once
// The exercise windows and dialogs behind the launcher, as the program has
// them: the main window's panel, the run operations of the exercise
// libraries, the full-duplex test and the results dialog.
#include "main/launcher.h"

class TFormMain;

class MainLaunchHost : public LaunchHost {
public:
    explicit MainLaunchHost(TFormMain* form) : m_form(form) {}

    LaunchPlacement Placement() override;
    bool WindowAvailable(int kind) override;
    int RunLexicDemo(int cx, int cy, const TLessonFiles& files) override;
    int RunLexic(int cx, int cy, const TLessonFiles& files) override;
    int RunQuestDemo(int cx, int cy, const TLessonFiles& files) override;
    int RunQuestDown(int cx, int cy, const TLessonFiles& files, int& questions,
                     int& errors) override;
    int RunQuestTrFl(int cx, int cy, const TLessonFiles& files) override;
    int RunWorkText(const LaunchPlacement& a, const TLessonFiles& files,
                    const QString& learnerRecord, const QString& dataRoot) override;
    int RunTransNoText(const LaunchPlacement& a, const TListenParams& params) override;
    bool RunDuplexTest() override;
    qint64 FreeDiskSpace(const QString& dir) override;
    int ShowLexRepit(const QString& message, bool markDoneEnabled) override;
    void XMessage(const QString& text, const QString& title, int flags) override;
    void HideMainPanel() override;
    void ShowMainPanelAndRedraw() override;

private:
    TFormMain* m_form;
};

#pragma once
// Starting one course item: file names, preconditions, the exercise window
// and what the learner's answer in the results dialog stores. No widgets
// here; the windows and dialogs sit behind LaunchHost so every outcome can
// be scripted.
#include "course/course.h"
#include "course/lessonfileset.h"
#include "course/progress.h"
#include "text/transnotextrules.h"

#include <optional>
#include <QString>

// Screen origin and size of the main window's client area.
struct LaunchPlacement {
    int X = 0, Y = 0, W = 0, H = 0;
    int CenterX() const { return X + W / 2; }
    int CenterY() const { return Y + H / 2; }
};

// Results dialog answers (TDlgLexRepit modal results).
enum LexRepitResult { kRepitMarkDone = 1, kRepitLeave = 2, kRepitRepeat = 4 };

class LaunchHost {
public:
    virtual ~LaunchHost() = default;

    virtual LaunchPlacement Placement() = 0;
    // False while the window of a kind is not part of this build: the item
    // then starts nothing, like kind 9.
    virtual bool WindowAvailable(int kind) = 0;

    // Exercise windows; each returns 0 when the learner went through it.
    virtual int RunLexicDemo(int cx, int cy, const TLessonFiles& files) = 0;
    virtual int RunLexic(int cx, int cy, const TLessonFiles& files) = 0;
    virtual int RunQuestDemo(int cx, int cy, const TLessonFiles& files) = 0;
    // Also hands back the question count and the wrong answers of the run.
    virtual int RunQuestDown(int cx, int cy, const TLessonFiles& files, int& questions,
                             int& errors) = 0;
    virtual int RunQuestTrFl(int cx, int cy, const TLessonFiles& files) = 0;
    // Both text windows open over the area `a`.
    virtual int RunWorkText(const LaunchPlacement& a, const TLessonFiles& files,
                            const QString& learnerRecord, const QString& dataRoot) = 0;
    virtual int RunTransNoText(const LaunchPlacement& a, const TListenParams& params) = 0;

    // Plays and records at once; false when the sound card cannot (the
    // host has already told the learner).
    virtual bool RunDuplexTest() = 0;
    // Free bytes on the volume holding `dir`.
    virtual qint64 FreeDiskSpace(const QString& dir) = 0;
    // TDlgLexRepit with `message` as its only line; returns its modal result.
    virtual int ShowLexRepit(const QString& message, bool markDoneEnabled) = 0;
    virtual void XMessage(const QString& text, const QString& title, int flags) = 0;

    // Main panel and tool bar away while an exercise window is up.
    virtual void HideMainPanel() = 0;
    // End step: panel and tool bar back, node images set again, tree focused.
    virtual void ShowMainPanelAndRedraw() = 0;
};

// What the launcher works on; by default the program's state.
struct LaunchContext {
    char Mode = 'D';
    int User = -1; // -1 anonymous
    QString UserName;
    QString ReportDir;
    QString DataRoot;
    const CourseTable* Table = nullptr;
    ProgressTable* Progress = nullptr;

    static LaunchContext Current();
};

// Stored name of a file given by the course: kept when it exists,
// otherwise behind the data root; at most 255 characters.
QString ResolveCourseFile(const QString& name, const QString& dataRoot);

class Launcher {
public:
    explicit Launcher(LaunchHost& host) : m_host(host) {}

    // Runs item i (1-based) of ctx.Table. Always ends with the end step.
    void Launch(const LaunchContext& ctx, int i);

    // The recording name of item i for the learner (or the anonymous one).
    static QString RecordingName(const LaunchContext& ctx, int i);
    // Message and whether a learner may mark a multiple-choice run done.
    static QString QuestDownMessage(int questions, int errors, bool& passed);
    static int QuestDownScore(int questions, int errors);
    // The recording of the listening exercise just before item i in its
    // lesson (empty for the anonymous learner or when there is none).
    static QString EarlierRecording(const LaunchContext& ctx, int i);

private:
    void RunItem(const LaunchContext& ctx, int i, const TCourseItem& it);
    void RunTrans(const LaunchContext& ctx, int i, const TCourseItem& it);
    // Done := 1; Score only when given (kind 6), RecordFile when given.
    void MarkDone(const LaunchContext& ctx, int i, std::optional<int> score,
                  const QString* recordFile);

    LaunchHost& m_host;
    LaunchPlacement m_place;
};

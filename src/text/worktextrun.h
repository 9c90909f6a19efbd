#pragma once
// The text work exercise without its window: the lesson player, play all,
// from a sintagm, one sintagm, the marked range in a loop, the mark, the
// current sintagm, comments, pictures and the switch to the learner's own
// recording. The window shows what the run says through TWorkTextView.
#include "course/lessonfileset.h"
#include "text/lessonfiles.h"
#include "text/worktextrules.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

class AudioDevice;

// Scroll speeds of the text views while idle and while playing.
constexpr int kIdleViewSpeed = 30000, kPlayViewSpeed = 100000;

// What the commands show; the window applies it after every change.
struct TWorkTextControls {
    bool Idle = true; // slider, play commands and mark on, stop off
    bool LoopEnabled = true;
    bool CommentEnabled = true;
    bool Marking = false; // the mark button waits for the range's end
    bool operator==(const TWorkTextControls&) const = default;
};

class TWorkTextView {
public:
    virtual ~TWorkTextView() = default;
    virtual void ApplyControls(const TWorkTextControls& c) = 0;
    // The current sintagm moved (the slider follows).
    virtual void ShowCurrent(int line) = 0;
    virtual void ShowMark(const TMarkState& m) = 0;
    virtual void SetViewSpeed(int k) = 0;
    // Shown panes follow the current sintagm, one timer step.
    virtual void Follow(int line, bool text, bool trans) = 0;
    // The comments of the current sintagm; none leaves the box as it is.
    virtual void ShowComments(const QStringList& lines) = 0;
    // A picture into the translation pane; false when it does not load.
    virtual bool ShowPicture(const QString& nativePath) = 0;
    // A playback ended by itself or by stop, and no loop goes on.
    virtual void PlaybackEnded() = 0;
};

class TWorkTextRun : public QObject {
    Q_OBJECT
public:
    TWorkTextRun(const TLessonFiles& files, const QString& learnerRecording,
                 const QString& dataRoot, TWorkTextView* view, QObject* parent = nullptr);
    ~TWorkTextRun() override;

    // Reads the lesson; false when a file failed (what was read is kept).
    bool Load();
    // The first sintagm, the lesson's recording, the first picture, and the timer.
    void Start();

    // Commands. Each may throw a VError that the caller's guard shows.
    void PlayAll();
    void PlayFrom();
    void PlayFragment();
    void Loop();
    void Stop();
    void Mark();
    void Comment();
    void Step(); // one timer step
    // The window closes: the timer and the playback end.
    void Close();

    void SetCurrent(int line) { m_current = line; }
    // A click on line `line` (0-based) of a view while nothing plays.
    void Pick(int line);
    void SetTextShown(bool on) { m_textShown = on; }
    void SetTransShown(bool on) { m_transShown = on; }
    // The learner's own recording instead of the lesson's (when there is one).
    void UseLearnerRecording(bool on);

    void PlayerNotify(int value);

    // Test seam: the timer keeps its on/off state but its ticks do nothing.
    void SetManualSteps(bool on) { m_manual = on; }

    bool HasLearnerRecording() const { return !m_learnerRecording.isEmpty(); }
    const TLessonData& Lesson() const { return m_data; }
    const TWorkTextControls& Controls() const { return m_c; }
    int Current() const { return m_current; }
    bool Playing() const { return m_playing; }
    bool Looping() const { return m_looping; }
    bool DeviceOpen() const { return m_deviceOpen; }
    const TMarkState& MarkRange() const { return m_mark; }
    int ShownPicture() const { return m_shownPicture; }
    QString SelectedRecording() const { return m_selected; }
    QTimer& TimerPos() { return m_timer; }
    AudioDevice* Player() const { return m_player; }

private:
    void apply();
    const QList<TTimingEntry>& activeTimings() const;
    void openDevice();
    void closeDevice();
    void setIdle(bool idle);
    // Every playback starts here: one place for what the device is told.
    void startPlay(qint64 start, qint64 end);
    void setCurrent(int line);
    bool showPicture(int k);

    TLessonFiles m_files;
    QString m_learnerRecording, m_dataRoot;
    TWorkTextView* m_view;
    TLessonData m_data;
    TWorkTextControls m_c;
    TMarkState m_mark;
    QString m_selected;
    AudioDevice* m_player = nullptr;
    QTimer m_timer;
    int m_current = 1;
    int m_shownPicture = 0;
    bool m_textShown = false, m_transShown = false;
    bool m_playing = false, m_looping = false, m_deviceOpen = false;
    bool m_manual = false;
};

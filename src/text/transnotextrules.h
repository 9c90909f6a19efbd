#pragma once
// The listening and translation practice without its window: pane layout,
// highlight ranges, scroll arithmetic and the run itself (lesson player,
// learner recorder, learner timing file, stop rules). The window shows what
// the run says through TListenView; tests drive the run with the virtual
// audio clocks and a recording view.
#include "course/lessonfileset.h"
#include "text/lessonfiles.h"
#include "text/sintagmlayout.h"

#include <memory>
#include <QObject>
#include <QRect>
#include <QSet>
#include <QStringList>
#include <QTimer>

class AudioDevice;

// Design client size of the window and the height of its bottom panel.
constexpr int kListenW0 = 722, kListenH0 = 332, kListenPanelNavF = 77;
// Row pitch of both panes, pixels.
constexpr int kListenRowPitch = 20;
// The recorder's empty template every learner recording starts from.
inline const char kRecordTemplate[] = "TSBegin.wav";
// Lesson ended and no learner voice for this long: the run stops itself.
constexpr qint64 kAfterEndMs = 10000;
// A wait longer than the sintagm plus this goes on by itself.
constexpr qint64 kWaitExtraMs = 20000;
// Stop mark while the lesson has not reached its end.
constexpr qint64 kNoStopMark = 2000000000;

// Window rectangle inside the area (L, T, W, H).
QRect ListenPlacement(int left, int top, int width, int height);
// Paint box size for a pane height: the box sits inside the text pane with
// room for the picture frame around it.
QSize ListenPaintBoxSize(int paneHeight);

// Rows of one pane. Rows are numbered from 1; Rows[0] stays empty and the
// store grows as the text needs. Spans are indexed by line number 1..N;
// "#" lines keep a zero span (they only end the paragraph with a blank row).
struct TListenLayout {
    QStringList Rows{QString(), QString()};
    int RowCount = 1;
    QList<TSintagmSpan> Spans{TSintagmSpan{}};
};
TListenLayout LayoutListenPane(const QStringList& lines, int availWidth, const TextWidthFn& width);

// Columns (1-based, inclusive) of row `row` that belong to `span`; false
// when the row shows none of it.
bool HighlightColumns(const TSintagmSpan& span, int row, int rowLength, int& from, int& to);

// Vertical scroll of a pane: follows the playback through the rows, with a
// drift term that pulls the current sintagm towards a third of the height.
int ListenScroll(qint64 playerPos, qint64 playerLength, int rowCount, int drift);

bool IsHashLine(const QString& line);

struct TListenParams {
    TLessonFiles Files;
    QString RecordName; // empty: nothing is recorded
    bool TextAllowed = false, TranslationAllowed = false, WaitAllowed = false;
    QString DataRoot;
    int HelpContext = 0;
};

// What the controls show; the window applies it after every change.
struct TListenControls {
    bool PlayEnabled = true, PauseEnabled = false, StopEnabled = false, CloseEnabled = true;
    bool WaitEnabled = false;
    bool TextCheckEnabled = false, TransCheckEnabled = false;
    QString LabelPlay, LabelPause, LabelWait;
    bool TextShown = false, TransShown = false; // paint boxes in place of the pictures
    bool RecordingSign = false;
    qint64 RecordedMs = 0;
    int ProgressMax = 0, ProgressPos = 0;
    bool operator==(const TListenControls&) const = default;
};

class TListenView {
public:
    virtual ~TListenView() = default;
    virtual void ApplyControls(const TListenControls& c) = 0;
    // Pane 0 text, 1 translation: draw it now.
    virtual void DrawPane(int pane) = 0;
    // Picture schedule entry k (1..M) into the translation pane's picture.
    virtual void ShowPicture(int k) = 0;
};

struct TListenPane {
    TListenLayout Layout;
    int Scroll = 0;
    int Drift = 0;
    int RowPos = 0; // top of the current sintagm's first row as last drawn
};

class TTransNoTextRun : public QObject {
    Q_OBJECT
public:
    TTransNoTextRun(const TListenParams& params, TListenView* view, QObject* parent = nullptr);
    ~TTransNoTextRun() override;

    // Deletes the recorder's temporary files that an earlier run left in the
    // current directory; nothing else.
    static void RemoveStaleRecordings();

    // Reads the lesson; false (with the error in Lesson().Error) on a failure,
    // keeping what was read.
    bool Load();
    void SetLayouts(TListenLayout text, TListenLayout trans);
    void SetPaneHeight(int h) { m_paneHeight = h; }

    // Commands. Each may throw a VError that the caller's guard shows.
    void Play(bool showText, bool showTrans);
    void Wait();
    void Pause();
    void Stop();
    void Step(); // one timer step
    // The window is closing: a run going on ends as Stop ends it.
    void CloseRequested();
    // After the window has closed: an unsaved take is rescued from the
    // recorder's temporary file. Returns the run's result: 0, or 2 when a
    // recording was asked for and none is on disk (from this run or an
    // earlier one).
    int Finish();

    void PlayerNotify(int value);
    void RecorderNotify(int value);

    // Test seam: the timer keeps its on/off state but its ticks do nothing.
    void SetManualSteps(bool on) { m_manual = on; }

    const TListenParams& Params() const { return m_p; }
    const TLessonData& Lesson() const { return m_data; }
    const TListenPane& Pane(int i) const { return m_panes[i]; }
    const TListenControls& Controls() const { return m_c; }
    int Current() const { return m_current; }
    bool Playing() const { return m_playing; }
    bool Paused() const { return m_paused; }
    bool Waiting() const { return m_waiting; }
    bool Stopped() const { return m_stopped; }
    bool RecordingAsked() const { return !m_p.RecordName.isEmpty(); }
    bool Recording() const { return m_recording; } // this run records
    bool TakeSaved() const { return m_takeSaved; }
    qint64 StopMark() const { return m_stopMark; }
    qint64 WaitStart() const { return m_waitStart; }
    int ShownPicture() const { return m_shownPicture; }
    QTimer& TimerPos() { return m_timer; }
    AudioDevice* Player() const { return m_player; }
    AudioDevice* Recorder() const { return m_recorder; }

private:
    void apply();
    void idleControls();
    void endRun(bool save);
    void saveTake();
    void closeDevices();
    qint64 recorderPos() const;
    bool lessonEnded() const { return m_stopMark != kNoStopMark; }
    bool isHash(int line) const;
    TTimingEntry timing(int i) const;
    void skipHashLines();
    void stepPane(TListenPane& pane, qint64 pos, qint64 len);
    void markDrawn(TListenPane& pane);
    bool restoreFromTemporary();

    TListenParams m_p;
    TListenView* m_view;
    TLessonData m_data;
    TListenPane m_panes[2];
    TListenControls m_c;
    AudioDevice* m_player = nullptr;
    AudioDevice* m_recorder = nullptr;
    std::unique_ptr<TLearnerTimingWriter> m_timing;
    QTimer m_timer;
    QSet<QString> m_staleTemps; // recorder temporaries present before our take
    int m_paneHeight = 0;
    int m_current = 2;
    int m_shownPicture = 0;
    bool m_playing = false, m_paused = false, m_waiting = false, m_stopped = false;
    bool m_textShown = false, m_transShown = false;
    bool m_recording = false, m_takeSaved = false, m_recordedUnsaved = false;
    bool m_manual = false;
    qint64 m_waitStart = 0;
    int m_waitSteps = 0;
    qint64 m_stopMark = kNoStopMark;
    qint64 m_recEnd = 0;
    qint64 m_pendingTimingEnd = -1; // timing end held back until the take is saved
};

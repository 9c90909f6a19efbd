#include "text/worktextrun.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "media/audiodevice.h"

TWorkTextRun::TWorkTextRun(const TLessonFiles& files, const QString& learnerRecording,
                           const QString& dataRoot, TWorkTextView* view, QObject* parent)
    : QObject(parent), m_files(files), m_learnerRecording(learnerRecording), m_dataRoot(dataRoot),
      m_view(view), m_timer(this) {
    m_player = new AudioDevice(this);
    m_player->setObjectName(QStringLiteral("MediaPlayerText"));
    connect(m_player, &AudioDevice::notify, this,
            [this](int value) { Guarded([this, value] { PlayerNotify(value); }); });
    m_timer.setObjectName(QStringLiteral("TimerPos"));
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_manual) Guarded([this] { Step(); });
    });
}

TWorkTextRun::~TWorkTextRun() {
    m_timer.stop();
    m_player->blockSignals(true);
    m_player->stop();
    m_player->close();
}

bool TWorkTextRun::Load() {
    m_data = ReadWorkTextLesson(m_files.Text, m_files.Translation, m_files.Timing, m_files.Pictures,
                                m_learnerRecording);
    return m_data.ok();
}

void TWorkTextRun::Start() {
    m_current = 1;
    m_textShown = m_transShown = m_playing = false;
    if (m_view) m_view->SetViewSpeed(kIdleViewSpeed);
    m_selected = m_files.Sound;
    m_mark.Begin = m_mark.End = 0;
    // The first picture stands in the pane until the schedule moves on.
    if (m_data.M >= 1 && m_view)
        m_view->ShowPicture(NativePath(m_dataRoot + m_data.Pictures[1].PictureFile));
    m_timer.start();
}

void TWorkTextRun::apply() {
    if (m_view) m_view->ApplyControls(m_c);
}

const QList<TTimingEntry>& TWorkTextRun::activeTimings() const {
    if (m_data.LearnerTimingLoaded && HasLearnerRecording() && m_selected == m_learnerRecording)
        return m_data.LearnerTiming;
    return m_data.Timing;
}

void TWorkTextRun::openDevice() {
    m_player->setFileName(NativePath(m_selected));
    m_player->open(); // a refusal throws: the command is abandoned, the guard shows why
    m_deviceOpen = true;
}

void TWorkTextRun::closeDevice() {
    m_player->close();
    m_deviceOpen = false;
}

void TWorkTextRun::setIdle(bool idle) {
    m_c.Idle = idle;
    m_c.LoopEnabled = idle && m_selected == m_files.Sound;
    apply();
}

void TWorkTextRun::setCurrent(int line) {
    m_current = line;
    if (m_view) m_view->ShowCurrent(line);
}

void TWorkTextRun::startPlay(qint64 start, qint64 end) {
    setIdle(false);
    try {
        if (start >= 0) m_player->setStartPos(start);
        if (end >= 0) m_player->setEndPos(end);
        m_player->play();
    } catch (...) {
        // No notification will come: back to idle here.
        m_looping = false;
        closeDevice();
        setIdle(true);
        throw;
    }
}

void TWorkTextRun::PlayAll() {
    openDevice();
    // Line 1 is the title: play from the start of line 2.
    startPlay(TimingAt(m_data.Timing, 2).StartPos, -1);
    setCurrent(1);
    m_playing = true;
    if (m_view) m_view->SetViewSpeed(kPlayViewSpeed);
}

void TWorkTextRun::PlayFragment() {
    const TTimingEntry e = TimingAt(activeTimings(), m_current);
    openDevice();
    if (m_player->length() < e.EndPos) {
        closeDevice();
        return;
    }
    startPlay(e.StartPos, e.EndPos);
}

void TWorkTextRun::PlayFrom() {
    const QList<TTimingEntry>& t = activeTimings();
    const TTimingEntry e = TimingAt(t, m_current);
    openDevice();
    // The last line without sound has nothing after it to play from.
    const bool nothingAfter = e.StartPos == 0 && e.EndPos == 0 && m_current >= m_data.N;
    if (m_player->length() < e.EndPos || nothingAfter) {
        closeDevice();
        return;
    }
    startPlay(StartFrom(t, m_current), -1);
    m_playing = true;
    if (m_view) m_view->SetViewSpeed(kPlayViewSpeed);
}

void TWorkTextRun::Loop() {
    if (m_mark.Begin == 0 && m_mark.End == 0) return;
    const QList<TTimingEntry>& l = m_data.Timing;
    const qint32 start = StartFrom(l, m_mark.Begin);
    const qint32 end = LoopEnd(l, m_mark.End);
    // A range without sound would restart at once, for ever.
    if (end <= start) {
        m_looping = false;
        return;
    }
    openDevice();
    m_looping = true;
    setCurrent(m_mark.Begin);
    startPlay(start, end);
    m_playing = true;
    if (m_view) m_view->SetViewSpeed(kPlayViewSpeed);
}

void TWorkTextRun::Stop() {
    m_looping = false;
    m_player->stop();
    m_deviceOpen = false;
}

void TWorkTextRun::PlayerNotify(int) {
    closeDevice();
    setIdle(true);
    m_playing = false;
    if (m_view) m_view->SetViewSpeed(kIdleViewSpeed);
    if (m_looping)
        Loop();
    else if (m_view)
        m_view->PlaybackEnded();
}

void TWorkTextRun::Mark() {
    MarkStep(m_mark, m_current, m_data.Timing);
    if (!m_mark.Marking && m_mark.End < m_mark.Begin) m_mark.End = m_mark.Begin;
    m_c.Marking = m_mark.Marking;
    apply();
    if (m_view) m_view->ShowMark(m_mark);
}

void TWorkTextRun::Comment() {
    if (m_deviceOpen) Stop();
    QStringList lines;
    for (const TCommentLine& c : m_data.Comments)
        if (c.SintagmNo == m_current) lines << c.Text;
    if (m_view) m_view->ShowComments(lines);
}

void TWorkTextRun::Pick(int line) {
    if (m_deviceOpen || !m_c.Idle) return;
    setCurrent(line + 1);
}

void TWorkTextRun::UseLearnerRecording(bool on) {
    // Without a learner recording there is nothing to switch to.
    if (!HasLearnerRecording()) return;
    if (on) {
        m_selected = m_learnerRecording;
        m_c.LoopEnabled = false;
    } else {
        m_selected = m_files.Sound;
        m_c.LoopEnabled = !m_deviceOpen;
    }
    apply();
}

bool TWorkTextRun::showPicture(int k) {
    if (!m_view || !m_view->ShowPicture(NativePath(m_dataRoot + m_data.Pictures[k].PictureFile)))
        return false;
    m_shownPicture = k;
    return true;
}

void TWorkTextRun::Step() {
    const QList<TTimingEntry>& t = activeTimings();
    if (m_playing && m_current < m_data.N) {
        const int before = m_current;
        const int now = AdvanceCurrent(m_current, m_data.N, t, m_player->position());
        if (now != before) setCurrent(now);
    }
    const bool comment = HasComment(m_data.Comments, m_current);
    if (m_c.CommentEnabled != comment) {
        m_c.CommentEnabled = comment;
        apply();
    }
    if ((m_textShown || m_transShown) && m_view)
        m_view->Follow(m_current, m_textShown, m_transShown);
    // The translation covers the pictures while it is shown.
    if (m_transShown) return;
    const qint32 at = TimingAt(t, m_current).EndPos;
    if (at == 0) return;
    const int k = FindPicture(m_data.Pictures, at);
    if (k != 0 && k != m_shownPicture) showPicture(k);
}

void TWorkTextRun::Close() {
    m_timer.stop();
    m_looping = false;
    m_player->stop();
}

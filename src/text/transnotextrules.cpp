#include "text/transnotextrules.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/wavefile.h"
#include "text/worktextrules.h"

#include <cmath>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kRecTempPattern = QStringLiteral("vantrel-rec-*.tmp");

QStringList RecorderTemps() {
    return QDir::current().entryList({kRecTempPattern}, QDir::Files | QDir::Hidden);
}

} // namespace

QRect ListenPlacement(int left, int top, int width, int height) {
    return WorkTextPlacement(left, top, width, height, kListenW0, kListenH0, kListenPanelNavF);
}

QSize ListenPaintBoxSize(int paneHeight) {
    const int w = int(std::lround(paneHeight * 260.0 / 280 - 50));
    return QSize(qMax(0, w), qMax(0, paneHeight - 30));
}

bool IsHashLine(const QString& line) {
    return line.startsWith(QLatin1Char('#'));
}

TListenLayout LayoutListenPane(const QStringList& lines, int availWidth, const TextWidthFn& width) {
    TListenLayout l;
    l.Spans = QList<TSintagmSpan>(lines.size() + 1);
    auto row = [&l](int r) -> QString& {
        while (l.Rows.size() <= r)
            l.Rows.append(QString());
        return l.Rows[r];
    };
    for (int i = 1; i <= lines.size(); ++i) {
        const QString& s = lines[i - 1];
        TSintagmSpan& sp = l.Spans[i];
        if (IsHashLine(s)) {
            // Only the paragraph ends here: one blank row, nothing shown.
            row(l.RowCount + 1).clear();
            l.RowCount += 2;
            row(l.RowCount).clear();
            sp = TSintagmSpan{};
            continue;
        }
        sp.FirstRow = l.RowCount;
        sp.FirstCol = int(row(l.RowCount).size());
        // Words keep their blank; the last piece (possibly empty) has none.
        qsizetype from = 0;
        for (;;) {
            const qsizetype blank = s.indexOf(QLatin1Char(' '), from);
            const QString word = blank < 0 ? s.mid(from) : s.mid(from, blank - from + 1);
            QString& cur = row(l.RowCount);
            const QString candidate = cur + word;
            if (width(candidate) <= availWidth) {
                cur = candidate;
            } else {
                ++l.RowCount;
                row(l.RowCount) = word;
            }
            if (blank < 0) break;
            from = blank + 1;
        }
        row(l.RowCount) += QLatin1Char(' ');
        sp.LastRow = l.RowCount;
        sp.LastCol = int(row(l.RowCount).size());
    }
    row(l.RowCount);
    return l;
}

bool HighlightColumns(const TSintagmSpan& span, int row, int rowLength, int& from, int& to) {
    if (span.FirstRow <= 0 || row < span.FirstRow || row > span.LastRow || rowLength <= 0)
        return false;
    if (span.FirstRow == span.LastRow) {
        from = qMax(1, span.FirstCol);
        to = span.LastCol;
    } else if (row == span.FirstRow) {
        from = span.FirstCol + 1;
        to = rowLength;
    } else if (row == span.LastRow) {
        from = 1;
        to = span.LastCol;
    } else {
        from = 1;
        to = rowLength;
    }
    to = qMin(to, rowLength);
    return from <= to;
}

int ListenScroll(qint64 playerPos, qint64 playerLength, int rowCount, int drift) {
    // A lesson of no length has nothing to follow: only the drift moves.
    const double follow =
        playerLength > 0 ? double(playerPos) / double(playerLength) * rowCount * kListenRowPitch
                         : 0.0;
    return int(std::lround(follow + drift / 4.0));
}

// ---------------------------------------------------------------------------

TTransNoTextRun::TTransNoTextRun(const TListenParams& params, TListenView* view, QObject* parent)
    : QObject(parent), m_p(params), m_view(view), m_timer(this) {
    m_player = new AudioDevice(this);
    m_player->setObjectName(QStringLiteral("MediaPlayerPlay"));
    m_recorder = new AudioDevice(this);
    m_recorder->setObjectName(QStringLiteral("MediaPlayerRec"));
    connect(m_player, &AudioDevice::notify, this, &TTransNoTextRun::PlayerNotify);
    connect(m_recorder, &AudioDevice::notify, this, &TTransNoTextRun::RecorderNotify);
    m_timer.setObjectName(QStringLiteral("TimerPos"));
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_manual) Guarded([this] { Step(); });
    });
    m_data.Timing = QList<TTimingEntry>(1);
    m_data.Pictures = QList<TPictureEntry>(1);
    m_c.LabelPlay = RecordingAsked() ? QStringLiteral("Переводить") : QStringLiteral("Слушать");
    idleControls();
}

TTransNoTextRun::~TTransNoTextRun() {
    m_timer.stop();
    m_player->blockSignals(true);
    m_recorder->blockSignals(true);
    closeDevices();
}

void TTransNoTextRun::RemoveStaleRecordings() {
    for (const QString& name : RecorderTemps())
        QFile::remove(QDir::current().filePath(name));
}

void TTransNoTextRun::idleControls() {
    m_c.PlayEnabled = true;
    m_c.PauseEnabled = false;
    m_c.StopEnabled = false;
    m_c.CloseEnabled = true;
    m_c.WaitEnabled = m_p.WaitAllowed;
    m_c.TextCheckEnabled = m_p.TextAllowed;
    m_c.TransCheckEnabled = m_p.TranslationAllowed;
    m_c.LabelPause = QStringLiteral("Пауза");
    m_c.LabelWait = QStringLiteral("Подождать");
    m_c.TextShown = m_c.TransShown = false;
    m_c.RecordingSign = false;
    m_c.ProgressPos = 0;
}

void TTransNoTextRun::apply() {
    if (m_view) m_view->ApplyControls(m_c);
}

bool TTransNoTextRun::Load() {
    TLessonReadError err;
    TLessonData d;
    d.Text = ReadLessonLines(m_p.Files.Text, -1, err);
    d.N = int(d.Text.size());
    d.Timing = QList<TTimingEntry>(d.N + 1);
    d.Pictures = QList<TPictureEntry>(1);
    if (!err.failed()) d.Trans = ReadLessonLines(m_p.Files.Translation, d.N, err);
    if (!err.failed()) d.Timing = ReadTimingFile(m_p.Files.Timing, d.N, err);
    if (!err.failed()) {
        d.Pictures = ReadPictureSchedule(m_p.Files.Pictures, err);
        if (d.Pictures.isEmpty()) d.Pictures = QList<TPictureEntry>(1);
        d.M = int(d.Pictures.size()) - 1;
    }
    // A short translation leaves its missing lines empty.
    while (d.Trans.size() < d.N)
        d.Trans.append(QString());
    d.Error = err;
    m_data = std::move(d);
    return m_data.ok();
}

void TTransNoTextRun::SetLayouts(TListenLayout text, TListenLayout trans) {
    m_panes[0].Layout = std::move(text);
    m_panes[1].Layout = std::move(trans);
}

bool TTransNoTextRun::isHash(int line) const {
    return line >= 1 && line <= m_data.N && IsHashLine(m_data.Text[line - 1]);
}

TTimingEntry TTransNoTextRun::timing(int i) const {
    return TimingAt(m_data.Timing, i);
}

void TTransNoTextRun::skipHashLines() {
    while (m_current < m_data.N && isHash(m_current))
        ++m_current;
}

qint64 TTransNoTextRun::recorderPos() const {
    return m_recording ? m_recorder->position() : 0;
}

void TTransNoTextRun::closeDevices() {
    m_player->close();
    m_recorder->close();
}

void TTransNoTextRun::Play(bool showText, bool showTrans) {
    if (m_playing) return;
    m_stopMark = kNoStopMark;
    m_c.TextCheckEnabled = m_c.TransCheckEnabled = false;
    apply();
    try {
        m_recording = false;
        if (RecordingAsked()) {
            // The take starts from the empty template; the learner's earlier
            // recording stays untouched until the new one is saved over it.
            try {
                m_recorder->setFileName(QString::fromLatin1(kRecordTemplate));
                m_recorder->open();
                m_recording = true;
            } catch (const VError&) {
                m_recorder->close();
                XMessage(QStringLiteral("Повреждены файлы"), QStringLiteral("Ошибка чтения файла"),
                         MB_ICONSTOP);
            }
        }
        m_player->setFileName(NativePath(m_p.Files.Sound));
        m_player->open();
        if (m_recording) m_recorder->setFileName(NativePath(m_p.RecordName));

        const qint64 len = m_player->length();
        m_recEnd = 2 * len + qint64(10000) * m_panes[0].Layout.RowCount;
        m_c.ProgressMax = int(std::lround(len / 1000.0));

        if (m_recording && m_p.WaitAllowed) {
            m_timing = std::make_unique<TLearnerTimingWriter>(LearnerTimingFileName(m_p.RecordName),
                                                              m_data.Text);
            m_timing->Begin();
        }
        m_pendingTimingEnd = -1;

        if (m_recording) {
            const QStringList before = RecorderTemps();
            m_staleTemps = QSet<QString>(before.begin(), before.end());
            m_recorder->setStartPos(0);
            m_recorder->setEndPos(m_recEnd);
            try {
                m_recorder->startRecording();
            } catch (const VError& e) {
                // Recording silence would look like a take: say why, and do not start.
                const auto* de = dynamic_cast<const DeviceError*>(&e);
                const bool noInput = de && de->code() == DevErrNoInput;
                if (m_timing) m_timing->Abort();
                m_timing.reset();
                closeDevices();
                m_recording = false;
                idleControls();
                apply();
                XMessage(noInput ? e.text() + QStringLiteral("\nПодключите микрофон и начните "
                                                             "упражнение снова.")
                                 : e.text(),
                         QStringLiteral("Запись звука"), MB_ICONSTOP);
                return;
            }
        }
        m_timer.start();
        m_player->setStartPos(0);
        m_player->play();
    } catch (...) {
        if (m_timing) m_timing->Abort();
        m_timing.reset();
        m_timer.stop();
        m_player->blockSignals(true);
        m_recorder->blockSignals(true);
        closeDevices();
        m_player->blockSignals(false);
        m_recorder->blockSignals(false);
        m_recording = false;
        idleControls();
        apply();
        throw;
    }

    m_c.StopEnabled = m_c.PauseEnabled = true;
    m_c.PlayEnabled = m_c.CloseEnabled = false;
    m_c.LabelWait = QStringLiteral("Подождать");
    m_c.WaitEnabled = m_p.WaitAllowed;
    m_textShown = showText;
    m_transShown = showTrans;
    m_c.TextShown = showText;
    m_c.TransShown = showTrans;
    m_c.RecordingSign = m_recording;
    m_c.RecordedMs = 0;
    m_playing = true;
    m_paused = m_stopped = m_waiting = false;
    m_current = 2;
    skipHashLines();
    for (TListenPane& p : m_panes) {
        p.Drift = 0;
        p.Scroll = 0;
        p.RowPos = 0;
    }
    apply();
}

void TTransNoTextRun::Wait() {
    if (!m_playing || !m_p.WaitAllowed || m_paused) return;
    if (!m_waiting) {
        m_c.LabelWait = QStringLiteral("Далее");
        m_waiting = true;
        m_player->pause(); // the recorder goes on: the learner speaks now
        m_waitStart = recorderPos();
        m_waitSteps = 0;
        m_c.PauseEnabled = false;
    } else {
        m_c.LabelWait = QStringLiteral("Подождать");
        // After the lesson's end only the recorder runs: nothing to resume.
        if (!lessonEnded()) m_player->play();
        m_waiting = false;
        m_c.PauseEnabled = true;
    }
    apply();
}

void TTransNoTextRun::Pause() {
    if (!m_playing || m_waiting) return;
    if (!m_paused) {
        m_paused = true;
        m_timer.stop();
        m_c.LabelPause = QStringLiteral("Далее");
        if (m_recording) m_recorder->pause();
        m_player->pause();
        m_c.WaitEnabled = false;
    } else {
        m_paused = false;
        m_timer.start();
        m_c.LabelPause = QStringLiteral("Пауза");
        if (m_recording) {
            // The end position is forgotten after each command: keep the cap.
            m_recorder->setEndPos(m_recEnd);
            m_recorder->startRecording();
        }
        if (!lessonEnded()) m_player->play();
        m_c.WaitEnabled = m_p.WaitAllowed;
    }
    apply();
}

void TTransNoTextRun::Stop() {
    endRun(true);
}

void TTransNoTextRun::CloseRequested() {
    endRun(true);
}

void TTransNoTextRun::saveTake() {
    try {
        m_recorder->save();
        m_takeSaved = true;
        m_pendingTimingEnd = -1;
    } catch (const VError& e) {
        ReportError(e.text());
    }
}

void TTransNoTextRun::endRun(bool save) {
    if (!m_playing) return; // a stop ends a run once
    const qint64 pos = recorderPos();
    m_stopped = true;
    m_playing = m_paused = m_waiting = false;
    m_timer.stop();
    bool saved = false;
    if (m_recording) {
        m_recorder->stop();
        if (save) {
            const bool before = m_takeSaved;
            m_takeSaved = false;
            saveTake();
            saved = m_takeSaved;
            m_takeSaved = m_takeSaved || before;
        }
        m_recordedUnsaved = !saved;
    }
    m_player->stop();
    closeDevices();
    if (m_timing) {
        if (saved) {
            std::unique_ptr<TLearnerTimingWriter> w = std::move(m_timing);
            try {
                w->Finish(pos);
            } catch (const VError& e) {
                ReportError(e.text());
            }
        } else {
            // Finished only together with a rescued take (see Finish).
            m_pendingTimingEnd = pos;
        }
    }
    m_textShown = m_transShown = false;
    idleControls();
    if (m_data.M >= 1 && m_view) m_view->ShowPicture(1);
    if (m_data.M >= 1) m_shownPicture = 1;
    apply();
}

void TTransNoTextRun::markDrawn(TListenPane& pane) {
    const TSintagmSpan sp = m_current >= 1 && m_current < pane.Layout.Spans.size()
                                ? pane.Layout.Spans[m_current]
                                : TSintagmSpan{};
    pane.RowPos = kListenRowPitch * sp.FirstRow - pane.Scroll;
}

void TTransNoTextRun::stepPane(TListenPane& pane, qint64 pos, qint64 len) {
    pane.Drift += pane.RowPos > m_paneHeight / 3 ? 1 : -1;
    pane.Scroll = ListenScroll(pos, len, pane.Layout.RowCount, pane.Drift);
}

void TTransNoTextRun::Step() {
    if (!m_playing || m_paused) return;
    const TTimingEntry cur = timing(m_current);
    if (m_p.WaitAllowed && m_waiting) {
        // Without a recorder the steps themselves are the clock.
        const qint64 held = m_recording ? recorderPos() - m_waitStart : qint64(++m_waitSteps) * 50;
        if (held > qint64(cur.EndPos) - cur.StartPos + kWaitExtraMs) Wait();
        return;
    }
    const qint64 rec = recorderPos();
    if (m_recording && rec > m_stopMark + kAfterEndMs) {
        Stop();
        return;
    }
    const qint64 pos = m_player->position();
    const qint64 len = m_player->length();
    m_c.ProgressPos = int(std::lround(pos / 1000.0));
    m_c.RecordedMs = rec;
    if (m_current < m_data.N) {
        stepPane(m_panes[0], pos, len);
        stepPane(m_panes[1], pos, len);
        if (pos > cur.EndPos) {
            ++m_current;
            if (m_timing) m_timing->SintagmEnd(rec);
            skipHashLines();
        }
        if (m_textShown) {
            markDrawn(m_panes[0]);
            if (m_view) m_view->DrawPane(0);
        }
        if (m_transShown) {
            markDrawn(m_panes[1]);
            if (m_view) m_view->DrawPane(1);
        } else {
            const qint32 t = timing(m_current).EndPos;
            const int k = t != 0 ? FindPicture(m_data.Pictures, t) : 0;
            if (k != 0 && k != m_shownPicture) {
                if (m_view) m_view->ShowPicture(k);
                m_shownPicture = k;
            }
        }
    }
    apply();
}

void TTransNoTextRun::PlayerNotify(int value) {
    if (!m_playing) return;
    if (value == AudioDevice::Failure) {
        const QString text = m_player->lastErrorText();
        endRun(true);
        ReportError(text.isEmpty() ? QStringLiteral("Воспроизведение прервано.") : text);
        return;
    }
    // The lesson plays from its start without an end position: a play that
    // completed has reached the lesson's end.
    if (value != AudioDevice::Successful || lessonEnded()) return;
    m_stopMark = m_recording ? recorderPos() : 0;
    if (!m_recording) Stop();
}

void TTransNoTextRun::RecorderNotify(int value) {
    if (!m_playing || !m_recording) return;
    if (value == AudioDevice::Successful) {
        // The recorder reached its end by itself: the take is complete.
        Stop();
    } else if (value == AudioDevice::Failure) {
        // Disk full or a lost device: keep what was recorded, say why.
        QString text = m_recorder->lastErrorText();
        if (text.isEmpty()) text = QStringLiteral("Запись прервана.");
        endRun(true);
        ReportError(text);
    }
}

bool TTransNoTextRun::restoreFromTemporary() {
    QString best;
    QDateTime bestTime;
    for (const QString& name : RecorderTemps()) {
        if (m_staleTemps.contains(name)) continue;
        const QFileInfo fi(QDir::current().filePath(name));
        if (best.isEmpty() || fi.lastModified() > bestTime) {
            best = fi.filePath();
            bestTime = fi.lastModified();
        }
    }
    if (best.isEmpty()) return false;
    const QString target = NativePath(m_p.RecordName);
    try {
        // Written afresh through the wave writer: the header states the real
        // length, whatever state the temporary file's header is in.
        WaveReader in;
        in.open(best);
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly)) throw FileErrorOf(out, target);
        WaveWriter w;
        if (!w.open(&out, in.info().rate, in.info().channels, RecordingFormat(in.info().format)))
            throw FileError(ErrDiskFull, target);
        const qint64 frames = in.info().frames;
        if (CopyFrames(in, w, frames) < frames || !w.close()) {
            out.cancelWriting();
            throw FileError(ErrDiskFull, target);
        }
        if (!out.flush() || !out.commit()) throw FileErrorOf(out, target);
    } catch (const VError& e) {
        ReportError(e.text());
        return false;
    }
    QFile::remove(best);
    return true;
}

int TTransNoTextRun::Finish() {
    endRun(true);
    if (!RecordingAsked()) return 0;
    if (m_timing && m_pendingTimingEnd >= 0) {
        // The last take was not saved: rescue it, and only then its timing.
        if (restoreFromTemporary()) {
            m_takeSaved = true;
            try {
                m_timing->Finish(m_pendingTimingEnd);
            } catch (const VError& e) {
                ReportError(e.text());
            }
        }
    } else if (!m_takeSaved && m_recordedUnsaved) {
        if (restoreFromTemporary()) m_takeSaved = true;
    }
    if (m_timing) m_timing->Abort();
    m_timing.reset();
    // The outcome is the recording on disk: after a repeat left without a new
    // take, the one saved before is still the learner's.
    const QFileInfo rec(NativePath(m_p.RecordName));
    return rec.isFile() && rec.size() > 0 ? 0 : 2;
}

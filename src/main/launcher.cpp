#include "main/launcher.h"

#include "base/paths.h"
#include "course/appstate.h"
#include "learners/learnerplace.h"
#include "learners/learnertable.h"

#include <functional>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kMaxName = 255;

const QString kListened = QStringLiteral("Вы прослушали текст урока.");

// The end step runs however the launch ends, an error included.
class EndStep {
public:
    explicit EndStep(LaunchHost& h) : m_host(h) {}
    ~EndStep() {
        try {
            m_host.ShowMainPanelAndRedraw();
        } catch (...) {
        }
    }

private:
    LaunchHost& m_host;
};

bool IsTransKind(int kind) {
    return kind == 4 || kind == 8 || (kind >= 11 && kind <= 15);
}

} // namespace

LaunchContext LaunchContext::Current() {
    LaunchContext c;
    const AppState& a = App();
    c.Mode = a.CurrentMode;
    c.User = a.CurrentUser;
    c.DataRoot = a.DataRoot;
    if (c.User >= 0 && c.User < Learners().count()) {
        const TUserRec& u = Learners().Users[c.User];
        c.UserName = u.UserName;
        // Recordings go to the learner's folder in this course, wherever
        // the list was made.
        const QString dir = LearnerPathHere(u.ReportDir);
        c.ReportDir = dir.isEmpty() ? u.ReportDir : dir;
    } else {
        c.User = -1;
    }
    c.Table = ValidMode(c.Mode) ? &CourseTableOf(c.Mode) : nullptr;
    c.Progress = &CurrentProgress();
    return c;
}

QString ResolveCourseFile(const QString& name, const QString& dataRoot) {
    const QString full = PathExists(name) ? name : dataRoot + name;
    return full.left(kMaxName);
}

QString Launcher::RecordingName(const LaunchContext& ctx, int i) {
    if (ctx.User < 0) return QStringLiteral("AnonSnd.wav");
    return (ctx.ReportDir + ctx.UserName + QString::number(i) + QStringLiteral(".wav"))
        .left(kMaxName);
}

QString Launcher::QuestDownMessage(int questions, int errors, bool& passed) {
    // E > N * 30 / 100 in exact arithmetic: exactly 30 per cent still passes.
    passed = qint64(errors) * 100 <= qint64(questions) * 30;
    if (!passed)
        return QStringLiteral("Ошибок: ") + QString::number(errors) +
               QStringLiteral(". Вы не в достаточной мере поняли содержание текста. Попробуйте "
                              "прослушать текст еще раз.");
    return QStringLiteral("Ошибок: ") + QString::number(errors) + QStringLiteral(".") +
           QStringLiteral(" Рекомендуется отметить упражнение как выполненное");
}

int Launcher::QuestDownScore(int questions, int errors) {
    if (questions <= 0) return 0; // no questions: nothing to divide by
    return int(qint64(errors) * 100 / questions);
}

QString Launcher::EarlierRecording(const LaunchContext& ctx, int i) {
    if (ctx.User < 0 || !ctx.Table) return {};
    for (int j = i - 1; j >= 1 && j < ctx.Table->size(); --j) {
        const int kind = (*ctx.Table)[j].ExerciseKind;
        if (kind == 0) return {};
        if (KeepsRecording(kind)) {
            if (ctx.Progress && j <= ctx.Progress->Count && j < ctx.Progress->Recs.size()) {
                const QString& rec = (*ctx.Progress)[j].RecordFile;
                return rec.isEmpty() ? rec : LearnerRecordingHere(rec);
            }
            return {};
        }
    }
    return {};
}

void Launcher::MarkDone(const LaunchContext& ctx, int i, std::optional<int> score,
                        const QString* recordFile) {
    if (ctx.User < 0 || !ctx.Progress) return; // the anonymous learner keeps nothing
    ProgressTable& p = *ctx.Progress;
    if (i < 1 || i > p.Count || i >= p.Recs.size()) return;
    p[i].Done = 1;
    if (score) p[i].Score = *score; // only a scored kind has one to store
    if (recordFile) p[i].RecordFile = recordFile->left(kMaxName);
}

void Launcher::Launch(const LaunchContext& ctx, int i) {
    EndStep end(m_host);
    m_place = m_host.Placement();
    if (!ctx.Table || i < 1 || i >= ctx.Table->size()) return;
    TCourseItem it = (*ctx.Table)[i];
    it.DataFile1 = ResolveCourseFile(it.DataFile1, ctx.DataRoot);
    it.DataFile2 = ResolveCourseFile(it.DataFile2, ctx.DataRoot);
    it.DataFile5 = ResolveCourseFile(it.DataFile5, ctx.DataRoot);
    if (!it.DataFile3.isEmpty()) it.DataFile3 = ResolveCourseFile(it.DataFile3, ctx.DataRoot);
    if (!it.DataFile4.isEmpty()) it.DataFile4 = ResolveCourseFile(it.DataFile4, ctx.DataRoot);
    const int kind = it.ExerciseKind;
    if (kind == 0 || kind == 9 || kind == 10 || kind > 15) return;
    if (!m_host.WindowAvailable(kind)) return;
    RunItem(ctx, i, it);
}

namespace {
// Shows the results dialog after every completed run; repeat runs the
// window again. `message` may withdraw the mark-done option.
void ResultsLoop(LaunchHost& host, bool learner, const std::function<int()>& run,
                 const std::function<QString(bool& markDone)>& message,
                 const std::function<void()>& markDone) {
    int outcome = run();
    while (outcome == 0) {
        bool enabled = learner;
        const QString text = message(enabled);
        const int answer = host.ShowLexRepit(text, enabled);
        if (answer == kRepitRepeat) {
            outcome = run();
            continue;
        }
        if (answer == kRepitMarkDone && enabled) markDone();
        return;
    }
}
} // namespace

void Launcher::RunItem(const LaunchContext& ctx, int i, const TCourseItem& it) {
    const LaunchPlacement pl = m_place;
    const int cx = pl.CenterX(), cy = pl.CenterY();
    const bool learner = ctx.User >= 0;
    const TLessonFiles files = TLessonFiles::Of(it);
    auto fixed = [](const QString& text) { return [text](bool&) { return text; }; };
    auto done = [this, &ctx, i] { MarkDone(ctx, i, std::nullopt, nullptr); };

    const int kind = it.ExerciseKind;
    if (IsTransKind(kind)) {
        RunTrans(ctx, i, it);
        return;
    }
    m_host.HideMainPanel();
    switch (kind) {
    case ekLexicDemo:
        ResultsLoop(
            m_host, learner, [&] { return m_host.RunLexicDemo(cx, cy, files); },
            fixed(QStringLiteral("Вы просмотрели лексику урока.")), done);
        break;
    case ekLexic:
        ResultsLoop(
            m_host, learner, [&] { return m_host.RunLexic(cx, cy, files); },
            fixed(QStringLiteral("Вы успешно выполнили упражнение.")), done);
        break;
    case ekQuestDemo:
        ResultsLoop(
            m_host, learner, [&] { return m_host.RunQuestDemo(cx, cy, files); },
            fixed(QStringLiteral("Вы просмотрели вопросы к тексту.")), done);
        break;
    case ekQuestDown: {
        int n = 0, e = 0;
        ResultsLoop(
            m_host, learner,
            [&] {
                n = 0;
                e = 0;
                return m_host.RunQuestDown(cx, cy, files, n, e);
            },
            [&](bool& enabled) {
                bool passed = false;
                QString text = QuestDownMessage(n, e, passed);
                enabled = enabled && passed;
                return text;
            },
            [&] { MarkDone(ctx, i, QuestDownScore(n, e), nullptr); });
        break;
    }
    case ekQuestTrFl:
        // Runs its own results window; nothing is stored from here.
        m_host.RunQuestTrFl(cx, cy, files);
        break;
    case ekWorkText: {
        const QString earlier = EarlierRecording(ctx, i);
        ResultsLoop(
            m_host, learner, [&] { return m_host.RunWorkText(pl, files, earlier, ctx.DataRoot); },
            fixed(earlier.isEmpty() ? kListened : QStringLiteral("Вы анализировали свой перевод")),
            done);
        break;
    }
    default:
        break;
    }
}

void Launcher::RunTrans(const LaunchContext& ctx, int i, const TCourseItem& it) {
    const int kind = it.ExerciseKind;
    if (kind != ekTransListen && !m_host.RunDuplexTest()) return;
    if (kind == ekTransRecord) {
        const qint64 free = m_host.FreeDiskSpace(QDir::currentPath());
        const QFileInfo sound(NativePath(it.DataFile3));
        const qint64 needed = sound.isFile() ? sound.size() : 0;
        if (needed > free) {
            m_host.XMessage(
                QStringLiteral("Упражнение не может быть выполнено. На диске нет места."),
                QStringLiteral("Внимание"), 0x30);
            return;
        }
    }
    const bool easy = ctx.Mode == 'C' || ctx.Mode == 'D';
    TListenParams p;
    p.Files = TLessonFiles::Of(it);
    p.DataRoot = ctx.DataRoot;
    switch (kind) {
    case ekTransRecord:
    case ekTransListen:
        p.TextAllowed = easy;
        break;
    case ekTrans110:
        p.HelpContext = 110;
        break;
    case ekTrans140:
        p.WaitAllowed = true;
        p.HelpContext = 140;
        break;
    case ekTrans150:
        p.HelpContext = 150;
        break;
    case ekTrans160:
        p.TranslationAllowed = true;
        p.HelpContext = 160;
        break;
    case ekTrans170:
        p.TextAllowed = true;
        p.HelpContext = 170;
        break;
    default:
        break;
    }
    const QString recording = RecordingName(ctx, i);
    if (KeepsRecording(kind)) p.RecordName = recording;
    const QString message =
        kind == ekTransRecord ? QStringLiteral("Вы перевели текст.") : kListened;

    m_host.HideMainPanel();
    const LaunchPlacement pl = m_place;
    ResultsLoop(
        m_host, ctx.User >= 0, [&] { return m_host.RunTransNoText(pl, p); },
        [&](bool&) { return message; }, [&] { MarkDone(ctx, i, std::nullopt, &recording); });
}

// bench-libs: vantrel_main
// The main window's start-up over a large course, and switching to a
// learner (progress file written, read and the node images set), beside
// filling the tree alone, which is the floor for both.
#include "controls/ui_hooks.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "main/coursetree.h"
#include "course/progress.h"
#include "learners/learnertable.h"
#include "main/eng_main.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
constexpr int kItems = 3000;

struct QuietDialogs : MainDialogs {
    int SelectUsers(int& index) override {
        index = -1;
        return mrCancel;
    }
    void NewUser() override {}
    int PassWord(QString&) override { return mrCancel; }
    void SetPassWordHelp(int) override {}
    QString TeacherPassword() override { return {}; }
    void TeacherConsole() override {}
    void Report(const QString&, char) override {}
};

QTemporaryDir& courseDir() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        QByteArray d = "Course\t1\t0\t0\ttitle.txt\t0\t\r\n";
        int i = 1;
        while (i < kItems) {
            const int section = ++i;
            d += "Section\t1\t1\t0\ttitle.txt\t0\t\r\n";
            for (int e = 0; e < 29 && i < kItems; ++e) {
                ++i;
                d += "Exercise\t1\t" + QByteArray::number(section) +
                     "\t0\ttitle.txt\t1\tL1.lex\tL1.ltr\tL1.wav\tL1.tim\t\r\n";
            }
        }
        for (char m : {'A', 'B', 'C', 'D'}) {
            QFile f(dir.path() + QStringLiteral("/InitReg%1.txt").arg(m));
            f.open(QIODevice::WriteOnly);
            f.write(d);
        }
        QDir(dir.path()).mkpath(QStringLiteral("DemoData"));
        QDir(dir.path()).mkpath(QStringLiteral("Report/Ivan"));
        QFile t(dir.path() + QStringLiteral("/DemoData/title.txt"));
        t.open(QIODevice::WriteOnly);
        t.write("Title page");
        QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                    dir.path() + QStringLiteral("/NFREESET.TTF"));
    }
    QDir::setCurrent(dir.path());
    return dir;
}

void BM_StartUp(benchmark::State& state) {
    courseDir();
    SetXMessageHandler([](const QString&, const QString&, int) { return 1; });
    for (auto _ : state) {
        ResetAppState();
        TFormMain form;
        form.SetDialogs(std::make_unique<QuietDialogs>());
        benchmark::DoNotOptimize(form.RunStartUp());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetLabel("figure=start-up, main() to the main window idle (no splash)");
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_ChangeUserLearner(benchmark::State& state) {
    const QString dir = courseDir().path();
    ResetAppState();
    TFormMain form;
    form.SetDialogs(std::make_unique<QuietDialogs>());
    form.RunStartUp();
    TUserRec u = AnonymousUser();
    u.UserName = QStringLiteral("Ivan");
    u.ReportDir = dir + QStringLiteral("/Report/Ivan/");
    u.ReportFile = u.ReportDir + QStringLiteral("Ivan.rep");
    WriteProgress(u.ReportFile, NewProgress('D'));
    Learners().Users = {u};
    for (auto _ : state)
        form.ChangeUser(0); // writes, reads, fills and draws
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ChangeUserLearner)->Unit(benchmark::kMillisecond);

void BM_NodeImages(benchmark::State& state) {
    courseDir();
    ResetAppState();
    TFormMain form;
    form.SetDialogs(std::make_unique<QuietDialogs>());
    form.RunStartUp();
    for (auto _ : state)
        form.SetNodeImages();
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_NodeImages)->Unit(benchmark::kMillisecond);

// The floor: the tree alone, filled from the same table.
void BM_FillTreeOnly(benchmark::State& state) {
    courseDir();
    LoadCourseTables();
    QTreeWidget tree;
    for (auto _ : state)
        FillCourseTree(&tree, 'D');
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_FillTreeOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

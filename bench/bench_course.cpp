// bench-libs: vantrel_main
// Loading a large course structure file and filling the course tree, each
// beside the plainest way of doing the same work.
#include "course/course.h"
#include "main/coursetree.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
constexpr int kItems = 10000;

QTemporaryDir& courseDir() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        QByteArray d = "Course\t1\t0\t0\ttitle.rtf\t0\t\r\n";
        // Sections of 10 lessons of 9 exercises, depth first.
        int i = 1;
        while (i < kItems) {
            const int section = ++i;
            d += "Section\t1\t1\t0\tsection.rtf\t0\t\r\n";
            for (int l = 0; l < 10 && i < kItems; ++l) {
                const int lesson = ++i;
                d += "Lesson\t1\t" + QByteArray::number(section) + "\t0\tlesson.rtf\t0\t\r\n";
                for (int e = 0; e < 9 && i < kItems; ++e) {
                    ++i;
                    d += "Exercise text work\t1\t" + QByteArray::number(lesson) +
                         "\t0\tlesson.rtf\t5\tL1\\L1.txt\tL1\\L1.tra\tL1\\L1.wav\tL1\\L1."
                         "tim\tL1\\L1.pic\r\n";
                }
            }
        }
        for (char m : {'A', 'B', 'C', 'D'}) {
            QFile f(dir.path() + QStringLiteral("/InitReg%1.txt").arg(m));
            f.open(QIODevice::WriteOnly);
            f.write(d);
        }
        QDir::setCurrent(dir.path());
    }
    return dir;
}

void BM_CourseLoad(benchmark::State& st) {
    courseDir();
    for (auto _ : st) {
        CourseTable t = ReadCourseFile(QStringLiteral("InitRegD.txt"));
        benchmark::DoNotOptimize(t.size());
    }
    st.SetItemsProcessed(st.iterations() * kItems);
    st.SetLabel("figure=course structure file of 10,000 lines loaded (baseline: QFile::readLine + "
                "split on TAB) ; goal=faster than baseline");
}
BENCHMARK(BM_CourseLoad)->Unit(benchmark::kMillisecond);

// Baseline: QFile::readLine and a split on TABs, nothing checked.
void BM_CourseLoad_Baseline(benchmark::State& st) {
    courseDir();
    for (auto _ : st) {
        QFile f(QStringLiteral("InitRegD.txt"));
        f.open(QIODevice::ReadOnly);
        QList<QList<QByteArray>> rows;
        while (!f.atEnd())
            rows.append(f.readLine().trimmed().split('\t'));
        benchmark::DoNotOptimize(rows.size());
    }
    st.SetItemsProcessed(st.iterations() * kItems);
}
BENCHMARK(BM_CourseLoad_Baseline)->Unit(benchmark::kMillisecond);

void BM_CourseTree(benchmark::State& st) {
    courseDir();
    LoadCourseTables();
    QTreeWidget tree;
    for (auto _ : st) {
        FillCourseTree(&tree, 'D');
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
    st.SetItemsProcessed(st.iterations() * kItems);
    st.SetLabel("figure=FillCourseTree of 10,000 items (baseline: the captions into a QTreeWidget "
                "in one pass) ; goal=faster than baseline");
}
BENCHMARK(BM_CourseTree)->Unit(benchmark::kMillisecond);

// Baseline: the same captions inserted into a QTreeWidget in one pass.
void BM_CourseTree_Baseline(benchmark::State& st) {
    courseDir();
    LoadCourseTables();
    const CourseTable& t = CourseTableOf('D');
    QTreeWidget tree;
    for (auto _ : st) {
        tree.clear();
        QList<QTreeWidgetItem*> nodes(t.size(), nullptr);
        for (int i = 1; i < t.size(); ++i) {
            QTreeWidgetItem* parent = t[i].RefIndex > 0 ? nodes[t[i].RefIndex] : nullptr;
            auto* n = parent ? new QTreeWidgetItem(parent, QStringList{t[i].Caption})
                             : new QTreeWidgetItem(&tree, QStringList{t[i].Caption});
            nodes[i] = n;
        }
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
    st.SetItemsProcessed(st.iterations() * kItems);
}
BENCHMARK(BM_CourseTree_Baseline)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

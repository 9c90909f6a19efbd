// The shape of each course structure file: the tree the program builds from
// it must list the items in line order, since an item is found from its
// node's position.
#include "check/lessoncheck.h"
#include "check/registry.h"

#include "base/paths.h"

#include <QFile>
#include <QImageReader>

namespace {

using namespace check;

bool knownKind(int k) {
    return (k >= 0 && k <= 8) || (k >= 11 && k <= 15);
}

void checkTree(Course& course, Findings& findings) {
    for (int m = 0; m < 4; ++m) {
        if (!course.Loaded[m]) continue;
        const CourseTable& t = course.Tables[m];
        const QString file = CourseFileName(ModeLetter(m));
        const int n = int(t.size()) - 1;
        if (n < 1) {
            findings.Add(file, 0, QStringLiteral("the file has no items"));
            continue;
        }
        bool sound = true;
        for (int i = 2; i <= n; ++i) {
            const int r = t[i].RefIndex;
            if (r >= i) {
                findings.Add(file, i, QStringLiteral("RefIndex %1 is not an earlier item").arg(r));
                sound = false;
                break;
            }
        }
        if (!sound) continue;
        // The tree as the main window builds it.
        const CourseTreeShape shape = CourseTreeOf(t);
        const QList<int>& order = shape.DisplayOrder;
        const QList<int>& top = shape.TopLevel;
        for (int p = 0; p < n; ++p) {
            if (order[p] != p + 1) {
                findings.Add(file, order[p],
                             QStringLiteral("item %1 is shown at position %2 of the tree; the "
                                            "lines are not in depth-first order")
                                 .arg(order[p])
                                 .arg(p + 1));
                break;
            }
        }
        if (top.size() > 1)
            findings.Add(file, top[1],
                         QStringLiteral("a second top-level node; item 1 is the root"));
        for (int i = 1; i <= n; ++i) {
            const int k = t[i].ExerciseKind;
            if (!knownKind(k))
                findings.Add(file, i, QStringLiteral("exercise kind %1 starts nothing").arg(k));
            if (i == 1 && k != 0)
                findings.Add(file, 1, QStringLiteral("item 1 is the course, not an exercise"));
        }
    }
}

// Information pages: InfoKind 0 a rich-text or plain-text file, 1 a picture.
void checkInfo(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (it.InfoKind > 1) return;
    if (it.InfoFile.isEmpty()) {
        if (ref.Index == 1)
            findings.Add(ref.StructureFile, 1, QStringLiteral("the course has no title page"));
        return;
    }
    const QString path = course.InfoPath(it.InfoFile);
    if (!FileExists(path)) {
        findings.Add(ref.StructureFile, ref.Index,
                     QStringLiteral("InfoFile %1: file not found").arg(it.InfoFile));
        return;
    }
    if (it.InfoKind == 1) {
        QImageReader r(NativePath(path));
        if (!r.canRead())
            findings.Add(ref.StructureFile, ref.Index,
                         QStringLiteral("InfoFile %1 is not a picture (%2)")
                             .arg(it.InfoFile, r.errorString()));
    } else {
        QFile f(NativePath(path));
        if (!f.open(QIODevice::ReadOnly))
            findings.Add(ref.StructureFile, ref.Index,
                         QStringLiteral("InfoFile %1 cannot be read").arg(it.InfoFile));
        else if (f.peek(5) != "{\\rtf" && f.peek(64).contains('\0'))
            findings.Add(
                ref.StructureFile, ref.Index,
                QStringLiteral("InfoFile %1 is neither rich text nor plain text").arg(it.InfoFile));
    }
}

// Kind 5 takes the learner's recording from the nearest recording exercise
// before it, walking back until a section or lesson. A recording exercise of
// the same text that the walk cannot reach is an arrangement fault.
void checkRecordingWalk(Course& course, Findings& findings) {
    for (int m = 0; m < 4; ++m) {
        if (!course.Loaded[m]) continue;
        const CourseTable& t = course.Tables[m];
        const QString file = CourseFileName(ModeLetter(m));
        const int n = int(t.size()) - 1;
        for (int i = 1; i <= n; ++i) {
            if (t[i].ExerciseKind != ekWorkText) continue;
            int j = i - 1;
            while (j >= 1 && t[j].ExerciseKind != 0 && !KeepsRecording(t[j].ExerciseKind))
                --j;
            if (j >= 1 && KeepsRecording(t[j].ExerciseKind)) {
                if (t[j].DataFile1 != t[i].DataFile1)
                    findings.Add(file, i,
                                 QStringLiteral("the text work finds the recording of item %1, "
                                                "which works another text (%2)")
                                     .arg(j)
                                     .arg(t[j].DataFile1));
                continue;
            }
            for (int k = i + 1; k <= n && t[k].ExerciseKind != 0; ++k) {
                if (KeepsRecording(t[k].ExerciseKind) && t[k].DataFile1 == t[i].DataFile1) {
                    findings.Add(file, i,
                                 QStringLiteral("the text work comes before the recording "
                                                "exercise %1 and cannot find its recording")
                                     .arg(k));
                    break;
                }
            }
        }
    }
}

// Files the program opens by bare name in the course directory.
void checkProgramFiles(Course&, Findings& findings) {
    for (const char* name :
         {"music.wav", "Null.wav", "NullRec.wav", "TSBegin.wav", "NFREESET.TTF"}) {
        const QString f = QString::fromLatin1(name);
        if (!FileExists(f)) {
            findings.Add(f, 0, QStringLiteral("file not found"));
            continue;
        }
        QString error;
        if (f.endsWith(QLatin1String(".wav")) && !WaveLengthMs(f, error))
            findings.Add(f, 0, QStringLiteral("not a sound file: %1").arg(error));
    }
}

const Registrar r1(CourseCheck{"tree", &checkTree, 10});
const Registrar r2(CourseCheck{"recording-walk", &checkRecordingWalk, 20});
const Registrar r3(CourseCheck{"program-files", &checkProgramFiles, 30});
const Registrar r4(ItemCheck{"info", &checkInfo, 10});

} // namespace

#pragma once
// The versions of each stored file that the crash writer alternates between,
// shared by the writer and the test that checks what a kill left behind.
// Versions differ in size as well as content, so a cut-short file matches none.
#include "course/progress.h"
#include "learners/userrec.h"

#include <QList>
#include <QStringList>

namespace crashfiles {

inline const QString kUsersFile = QStringLiteral("Users.eng");
inline const QString kProgressFile = QStringLiteral("Report\\Ann\\Ann.rep");
inline const QString kRecordingFile = QStringLiteral("Report\\Ann\\Ann5.wav");
inline const QString kTimingFile = QStringLiteral("Report\\Ann\\Ann5.txt");
inline const QString kTemplateFile = QStringLiteral("TSBegin.wav");
constexpr int kRate = 8000;
constexpr int kProgressItems = 6;

inline QList<TUserRec> UsersVersion(int v) {
    QList<TUserRec> users;
    for (int i = 0; i < 1 + 2 * v + v / 2; ++i) { // 1, 3, 6 learners
        TUserRec r;
        r.UserName = QStringLiteral("Ученик %1-%2").arg(v).arg(i);
        r.Mode = 'B';
        r.Password = QStringLiteral("p%1").arg(i);
        r.ReportDir = QStringLiteral("Report\\L%1\\").arg(i);
        r.ReportFile = r.ReportDir + QStringLiteral("L%1.rep").arg(i);
        users.append(r);
    }
    return users;
}

inline ProgressTable ProgressVersion(int v) {
    ProgressTable t;
    t.Count = kProgressItems + 2 * v; // records past the course's end are kept, not read
    t.Recs = QList<TProgressRec>(t.Count + 1);
    for (int k = 1; k <= t.Count; ++k) {
        t.Recs[k].Done = quint8((k + v) % 2);
        t.Recs[k].Score = 10 * v + k;
        if (k == 5 && v > 0) t.Recs[k].RecordFile = kRecordingFile;
    }
    return t;
}

inline qint64 RecordingMs(int v) {
    return 400 + 1300 * v;
}

inline QStringList TimingLessonText() {
    return {QStringLiteral("Title"), QStringLiteral("# a note"), QStringLiteral("One"),
            QStringLiteral("Two"),   QStringLiteral("#"),        QStringLiteral("Three"),
            QStringLiteral("Four")};
}

// Learner positions at the end of each sintagm (the last one ends the take).
inline QList<qint64> TimingEnds(int v) {
    QList<qint64> ends;
    for (int i = 1; i <= 4; ++i)
        ends.append(i * (700 + 350 * qint64(v)));
    return ends;
}

} // namespace crashfiles

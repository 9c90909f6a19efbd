#include "support_learners.h"

#include "common/testenv.h"
#include "course/appstate.h"
#include "learners/learnertable.h"
#include "learners/teacherpass.h"

#include <QtTest>

void WriteCourseFiles(int a, int b, int c, int d) {
    const int counts[4] = {a, b, c, d};
    for (int m = 0; m < 4; ++m) {
        QByteArray text;
        for (int i = 0; i < counts[m]; ++i)
            text += "line " + QByteArray::number(i) + "\r\n";
        testenv::WriteBytes(QStringLiteral("InitReg%1.txt").arg(QChar('A' + m)), text);
    }
}

TCourseItem Item(int kind) {
    TCourseItem c;
    c.Caption = QString::number(kind);
    c.ExerciseKind = quint8(kind);
    return c;
}

TUserRec MakeUser(const QString& name, char mode, const QString& pass, const QString& reportDir) {
    TUserRec r = AnonymousUser();
    r.UserName = name;
    r.Mode = mode;
    r.Password = pass;
    r.ReportDir = reportDir;
    r.ReportFile = reportDir + name + QStringLiteral(".rep");
    return r;
}

bool CheckKinds::matches(int check, const QString& message) {
    if (message.isEmpty() != (check == 0)) return false;
    if (m_seen.contains(check) && m_seen.value(check) != message) return false;
    const int before = m_seen.key(message, check);
    m_seen.insert(check, message);
    return before == check;
}

void LearnerTest::initTestCase() { testenv::PrivateHome(); }

void LearnerTest::init() {
    ResetAppState();
    Learners() = LearnerTable();
    // The teacher password store must be inside the private home, never the real one.
    QVERIFY2(TeacherPasswordStore().startsWith(testenv::PrivateHome().path()),
             qPrintable(TeacherPasswordStore()));
    QDir(QFileInfo(TeacherPasswordStore()).absolutePath()).removeRecursively();
}

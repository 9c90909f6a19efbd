#pragma once
// Helpers shared by the learner tests: course files for a given number of
// items, a course item, a learner record, and the check of which rule refused an input.
#include "common/messages.h"
#include "course/course.h"
#include "learners/userrec.h"

#include <QMap>
#include <QObject>
#include <QString>

using testui::MessageRecorder;

// InitRegA.txt .. InitRegD.txt in the current directory with the given
// numbers of lines.
void WriteCourseFiles(int a, int b, int c, int d);

// A course item of `kind`, captioned with the kind's number.
TCourseItem Item(int kind);

TUserRec MakeUser(const QString& name, char mode, const QString& pass, const QString& reportDir);

// Each check of a rule gives a message of its own and 0 stands for none
// failing: a message already given by another check, a second message for
// the same check, or a message where none should be, names the wrong check.
class CheckKinds {
public:
    bool matches(int check, const QString& message);

private:
    QMap<int, QString> m_seen;
};

// Base of the learner tests: a private home for the run and, before each
// test, fresh app state with no learners and no teacher password.
class LearnerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
};

#pragma once
// Helpers shared by the learner tests: course files for a given number of
// items, and a learner record.
#include "common/messages.h"
#include "learners/userrec.h"

#include <QString>

using testui::MessageRecorder;

// InitRegA.txt .. InitRegD.txt in the current directory with the given
// numbers of lines.
void WriteCourseFiles(int a, int b, int c, int d);

TUserRec MakeUser(const QString& name, char mode, const QString& pass, const QString& reportDir);

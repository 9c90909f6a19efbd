#pragma once
// Helpers shared by the learner tests: a message recorder, course files
// for a given number of items, and a learner record.
#include "controls/ui_hooks.h"
#include "learners/userrec.h"

#include <QList>
#include <QString>

struct RecordedMessage {
    QString text, title;
    int flags = 0;
};

// Records every XMessage while it lives (and shows nothing).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<RecordedMessage> messages;
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }

private:
    XMessageHandler m_old;
};

// InitRegA.txt .. InitRegD.txt in the current directory with the given
// numbers of lines.
void WriteCourseFiles(int a, int b, int c, int d);

class QLineEdit;
// The field hides what is typed behind one "*" per character.
bool ShowsStars(QLineEdit* edit);

TUserRec MakeUser(const QString& name, char mode, const QString& pass, const QString& reportDir);

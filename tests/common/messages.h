#pragma once
// Records the program's messages (XMessage) instead of showing them.
#include "controls/ui_hooks.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace testui {

struct RecordedMessage {
    QString text, title;
    int flags = 0;
};

// Every XMessage while it lives is recorded and answered with `answer`.
class MessageRecorder {
public:
    explicit MessageRecorder(int answer = 1) {
        m_old = SetXMessageHandler([this, answer](const QString& t, const QString& c, int f) {
            messages.append({t, c, f});
            return answer;
        });
    }
    ~MessageRecorder() { SetXMessageHandler(m_old); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<RecordedMessage> messages;
    QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }

private:
    XMessageHandler m_old;
};

} // namespace testui

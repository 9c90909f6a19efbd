#include "support_drill.h"

#include <QDataStream>

QByteArray Join(const QList<QByteArray>& lines, const QByteArray& eol, bool lastEnd) {
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i)
        out += lines[i] + (i + 1 < lines.size() || lastEnd ? eol : QByteArray());
    return out;
}

QByteArray Wave(int ms) {
    const quint32 data = quint32(ms) * 16;
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("RIFF", 4);
    s << quint32(36 + data);
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2)
      << quint16(16);
    s.writeRawData("data", 4);
    s << data;
    return b + QByteArray(int(data), '\0');
}

Messages::Messages() {
    old = SetXMessageHandler([this](const QString& t, const QString& c, int f) {
        texts << t;
        titles << c;
        flags << f;
        return 1;
    });
}
Messages::~Messages() {
    SetXMessageHandler(old);
}

#include "base/binrec.h"

#include "base/cp1251.h"

void PutInt32LE(QByteArray& buf, int offset, qint32 v) {
    quint32 u = quint32(v);
    for (int i = 0; i < 4; ++i) buf[offset + i] = char((u >> (8 * i)) & 0xFF);
}

qint32 GetInt32LE(const QByteArray& buf, int offset) {
    quint32 u = 0;
    for (int i = 0; i < 4; ++i) u |= quint32(quint8(buf[offset + i])) << (8 * i);
    return qint32(u);
}

void PutStrField(QByteArray& buf, int offset, int capacity, const QByteArray& value) {
    int n = int(qMin<qsizetype>(value.size(), capacity));
    buf[offset] = char(n);
    for (int i = 0; i < capacity; ++i) buf[offset + 1 + i] = i < n ? value[i] : '\0';
}

void PutStrField(QByteArray& buf, int offset, int capacity, const QString& value) {
    PutStrField(buf, offset, capacity, EncodeCp1251(value));
}

QByteArray GetStrFieldBytes(const QByteArray& buf, int offset, int capacity) {
    int n = qMin(int(quint8(buf[offset])), capacity);
    return buf.mid(offset + 1, n);
}

QString GetStrField(const QByteArray& buf, int offset, int capacity) {
    return DecodeCp1251(GetStrFieldBytes(buf, offset, capacity));
}

QString CutToCapacity(const QString& s, int capacity) { return s.left(capacity); }

#pragma once
// Fixed-layout records on disk: little-endian integers and length-prefixed
// string fields (one length byte, then a fixed number of character bytes).
// Records are assembled field by field into byte buffers.
#include <QByteArray>
#include <QString>
#include <cstdint>

void PutInt32LE(QByteArray& buf, int offset, qint32 v);
qint32 GetInt32LE(const QByteArray& buf, int offset);

// Writes the length byte and up to `capacity` bytes at `offset`; a longer
// value is cut to the capacity, the unused tail of the field is zeroed.
void PutStrField(QByteArray& buf, int offset, int capacity, const QByteArray& value);
void PutStrField(QByteArray& buf, int offset, int capacity, const QString& value);
// Reads a field; a stored length beyond the capacity is taken as the capacity.
QByteArray GetStrFieldBytes(const QByteArray& buf, int offset, int capacity);
QString GetStrField(const QByteArray& buf, int offset, int capacity);

// A string cut to a byte capacity the way a short string would hold it.
QString CutToCapacity(const QString& s, int capacity);

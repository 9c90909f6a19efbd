#pragma once
// One learner as stored in Users.eng: 560 bytes, length-prefixed strings.
#include <QByteArray>
#include <QString>

constexpr int kUserRecSize = 560;
constexpr int kUserNameMax = 30;
constexpr int kPasswordMax = 10;
constexpr int kPathMax = 255;

struct TUserRec {
    QString UserName;   // bytes 0-30
    char Mode = 'D';    // byte 31
    QString Password;   // bytes 32-42
    QString ReportDir;  // bytes 43-298, ends with the separator
    QString ReportFile; // bytes 299-554
    // bytes 555-559 reserved, written as zero

    // The 560 bytes this record was read from; kept so that an unchanged
    // record is written back exactly (bytes after a string's length may
    // hold anything and are not ours to clean up).
    QByteArray Stored;

    bool sameFields(const TUserRec& o) const {
        return UserName == o.UserName && Mode == o.Mode && Password == o.Password &&
               ReportDir == o.ReportDir && ReportFile == o.ReportFile;
    }
};

// Field by field; strings longer than their field are cut.
QByteArray EncodeUserRec(const TUserRec& r);
// Reads the first 560 bytes (missing ones count as zero); a length byte
// beyond a field's capacity is taken as the capacity.
TUserRec DecodeUserRec(const QByteArray& bytes);
// The bytes to store: a record read from the file keeps its bytes, with
// only the fields that changed laid over them; a new record is encoded.
QByteArray StoredBytes(const TUserRec& r);

// The built-in anonymous learner, template of every new record.
TUserRec AnonymousUser();

// "Anna - Режим B"
QString UserListLine(const TUserRec& r);

// What a work mode ('A'..'D') offers, as the mode choices describe it;
// empty for any other letter.
QString WorkModeDescription(char mode);

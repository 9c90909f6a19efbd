#include "learners/userrec.h"

#include "base/binrec.h"
#include "base/cp1251.h"

namespace {
constexpr int kOffName = 0;
constexpr int kOffMode = 31;
constexpr int kOffPassword = 32;
constexpr int kOffReportDir = 43;
constexpr int kOffReportFile = 299;
} // namespace

QByteArray EncodeUserRec(const TUserRec& r) {
    QByteArray b(kUserRecSize, '\0');
    PutStrField(b, kOffName, kUserNameMax, r.UserName);
    b[kOffMode] = r.Mode;
    PutStrField(b, kOffPassword, kPasswordMax, r.Password);
    PutStrField(b, kOffReportDir, kPathMax, r.ReportDir);
    PutStrField(b, kOffReportFile, kPathMax, r.ReportFile);
    return b;
}

TUserRec DecodeUserRec(const QByteArray& b) {
    QByteArray padded = b.left(kUserRecSize);
    if (padded.size() < kUserRecSize) padded.append(kUserRecSize - padded.size(), '\0');
    TUserRec r;
    r.UserName = GetStrField(padded, kOffName, kUserNameMax);
    r.Mode = padded[kOffMode];
    r.Password = GetStrField(padded, kOffPassword, kPasswordMax);
    r.ReportDir = GetStrField(padded, kOffReportDir, kPathMax);
    r.ReportFile = GetStrField(padded, kOffReportFile, kPathMax);
    r.Stored = b.size() >= kUserRecSize ? padded : QByteArray();
    return r;
}

QByteArray StoredBytes(const TUserRec& r) {
    if (r.Stored.size() != kUserRecSize) return EncodeUserRec(r);
    // Only a field that changed is laid over the bytes read: whatever the
    // rest of a record made elsewhere holds stays as it was.
    const TUserRec was = DecodeUserRec(r.Stored);
    QByteArray b = r.Stored;
    if (was.UserName != r.UserName) PutStrField(b, kOffName, kUserNameMax, r.UserName);
    if (was.Mode != r.Mode) b[kOffMode] = r.Mode;
    if (was.Password != r.Password) PutStrField(b, kOffPassword, kPasswordMax, r.Password);
    if (was.ReportDir != r.ReportDir) PutStrField(b, kOffReportDir, kPathMax, r.ReportDir);
    if (was.ReportFile != r.ReportFile) PutStrField(b, kOffReportFile, kPathMax, r.ReportFile);
    return b;
}

TUserRec AnonymousUser() {
    TUserRec r;
    r.UserName = QStringLiteral("Анонимный пользователь");
    r.Mode = 'D';
    return r;
}

QString UserListLine(const TUserRec& r) {
    return r.UserName + QStringLiteral(" - Режим ") + DecodeCp1251(QByteArrayView(&r.Mode, 1));
}

QString WorkModeDescription(char mode) {
    switch (mode) {
    case 'A':
        return QStringLiteral("Для наиболее подготовленных пользователей. Тренажер по синхронному "
                              "переводу ") +
               QStringLiteral("наиболее трудных текстов курса.");
    case 'B':
        return QStringLiteral("Для подготовленных пользователей. Тренажер по синхронному переводу "
                              "текстов ") +
               QStringLiteral("средней трудности.");
    case 'C':
        return QStringLiteral("Для пользователей, ставящих задачу совершенствования восприятия на "
                              "слух ") +
               QStringLiteral("немецкой речи. Будут проработаны все тексты курса и выполнены "
                              "тесты на ") +
               QStringLiteral("понимание. Содержит элементы тренажера по синхронному переводу.");
    case 'D':
        return QStringLiteral("Наиболее легкий режим. Предоставляет те же возможности, что и режим "
                              "C, но здесь ") +
               QStringLiteral("пользователь перед каждым текстом проходит предварительную "
                              "подготовку по ") +
               QStringLiteral("предстоящим лексическим трудностям.");
    default:
        return {};
    }
}

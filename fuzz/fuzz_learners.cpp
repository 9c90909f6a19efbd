// The learner list Users.eng: any bytes load; every record decodes within
// its fields, an untouched table writes back the bytes it was read from,
// and what is written reads back the same.
// fuzz-libs: vantrel_learners
#include "base/errors.h"
#include "fuzzsupport.h"
#include "learners/learnertable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString users = fuzz::Put(QStringLiteral("Users.eng"), bytes);
    LearnerTable t;
    try {
        t.Load(users);
    } catch (const VError&) {
        return 0; // a file we wrote ourselves is readable, but refusing is allowed
    }
    if (t.count() != qsizetype(size) / kUserRecSize) __builtin_trap();
    for (const TUserRec& r : t.Users) {
        if (r.UserName.size() > kUserNameMax || r.Password.size() > kPasswordMax ||
            r.ReportDir.size() > kPathMax || r.ReportFile.size() > kPathMax)
            __builtin_trap();
        if (r.Stored.size() != kUserRecSize) __builtin_trap();
        // Fields re-encoded from scratch decode to the same fields.
        if (!DecodeUserRec(EncodeUserRec(r)).sameFields(r)) __builtin_trap();
        (void)UserListLine(r);
    }
    if (t.Encode() != bytes.left(t.count() * kUserRecSize)) __builtin_trap();

    // A changed record is written from its fields and reads back as changed.
    if (!t.isEmpty()) {
        t.Users[0].UserName = t.Users[0].UserName.left(kUserNameMax - 1) + QLatin1Char('x');
        t.Users[0].Mode = t.Users[0].Mode == 'A' ? 'B' : 'A';
    }
    const QString copy = fuzz::PathOf(QStringLiteral("Copy.eng"));
    t.Save(copy);
    LearnerTable u;
    u.Load(copy);
    if (u.count() != t.count()) __builtin_trap();
    for (int i = 0; i < t.count(); ++i)
        if (!u.Users[i].sameFields(t.Users[i])) __builtin_trap();
    return 0;
}

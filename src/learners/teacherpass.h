#pragma once
// The teacher password: one text value "Pass" per user account, kept in
// the Korvana/Ostlind settings (the registry on Windows, an INI file
// elsewhere). Nothing is cached; every call goes to the store.
#include <QString>

// Empty when none is set. Creates the key when it is missing. Throws VError
// "Invalid data type for 'Pass'" when the stored value is not text.
QString ReadTeacherPassword();
// Throws VError "Failed to set data for 'Pass'" when the store refuses.
void WriteTeacherPassword(const QString& pass);

// Where the settings live (for messages and tests).
QString TeacherPasswordStore();

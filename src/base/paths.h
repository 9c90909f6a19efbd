#pragma once
// Names stored in course and learner files may use "\" as the separator.
// They keep their stored form; NativePath maps one to the file system only
// when it is used there.
#include <QString>

QString NativePath(const QString& stored);
// A file or directory of that (stored) name exists.
bool PathExists(const QString& stored);
bool FileExists(const QString& stored);
// The name with its last three characters replaced (L1.txt -> L1.apc).
QString ReplaceLast3(const QString& name, const QString& ext3);
// The stored name up to and including its last "\" or "/" (empty if none).
QString DirPartWithSep(const QString& stored);
// True when `path` (stored form) lies inside directory `dir`, after both are
// made absolute and cleaned; ".." and links cannot escape.
bool IsInsideDir(const QString& path, const QString& dir);

#pragma once
// The one parser of "start TAB end" lines, used by the lesson timing files,
// the vocabulary and question timing files and the learner timing files.
#include <QByteArray>
#include <QtGlobal>

struct TTimingEntry {
    qint32 StartPos = 0;
    qint32 EndPos = 0; // 0: the line has no sound
};

// start = the integer before the first TAB, end = the integer made of
// everything after it. With `hashIsSilent` a line whose first character is
// "#" gives 0, 0 (lesson timing files). Throws VError for an empty line and
// ConvertError for a missing TAB or a number that is not one.
TTimingEntry ParseTimingLine(const QByteArray& line, bool hashIsSilent);

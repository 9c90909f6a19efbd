#include "controls/guard.h"

void ReportError(const QString& text) { XMessage(text, QStringLiteral("Ошибка"), MB_ICONSTOP); }

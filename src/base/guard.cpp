#include "base/guard.h"

void ReportError(const QString& text) { XMessage(text, QStringLiteral("Ошибка"), MB_ICONSTOP); }

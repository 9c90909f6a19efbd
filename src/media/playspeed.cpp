#include "media/playspeed.h"

#include <cstdlib>
#include <QSettings>

namespace PlaySpeed {

namespace {
// The program's own settings, not the teacher password's store.
const QString kOrg = QStringLiteral("Vantrel"), kApp = QStringLiteral("Vantrel");
const QString kKey = QStringLiteral("Playback/Speed");
} // namespace

std::span<const int> Steps() {
    return kSteps;
}

int Nearest(int percent) {
    int best = kSteps[0];
    for (int s : kSteps)
        if (std::abs(s - percent) < std::abs(best - percent)) best = s;
    return best;
}

int Slower(int percent) {
    const int at = Nearest(percent);
    for (int s : kSteps)
        if (s < at) return s;
    return at;
}

int Faster(int percent) {
    const int at = Nearest(percent);
    int faster = at;
    for (int s : kSteps)
        if (s > at) faster = s;
    return faster;
}

int Load() {
    const QVariant v = QSettings(kOrg, kApp).value(kKey);
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? Nearest(n) : kFull;
}

void Save(int percent) {
    QSettings s(kOrg, kApp);
    s.setValue(kKey, Nearest(percent));
}

} // namespace PlaySpeed

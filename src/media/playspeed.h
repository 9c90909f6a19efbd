#pragma once
// The playback speeds a learner can choose, in percent of the recording's
// own pace, and the choice kept between runs. No widgets: the windows only
// wire their keys and picture control to these.
#include <span>

namespace PlaySpeed {

// Slowest last; far enough apart that a learner hears each step.
inline constexpr int kSteps[] = {100, 90, 80, 70, 60, 50};
inline constexpr int kFull = kSteps[0];

std::span<const int> Steps();
// The step closest to `percent`; values outside the steps go to the nearest end.
int Nearest(int percent);
// One step slower or faster than `percent`; the ends stay where they are.
int Slower(int percent);
int Faster(int percent);

// The learner's last choice; full speed when none was kept or it is unreadable.
int Load();
// Keeps `percent` (as its nearest step) for the next run.
void Save(int percent);

} // namespace PlaySpeed

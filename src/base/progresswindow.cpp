#include "base/progresswindow.h"

namespace {
ProgressWindowFactory& factory() {
    static ProgressWindowFactory f;
    return f;
}

// Without a program around it (tools, tests of the model) nothing is shown.
class SilentProgressWindow : public ProgressWindow {
public:
    void start(int) override {}
    void setPosition(int) override {}
    void finish() override {}
};
} // namespace

void SetProgressWindowFactory(ProgressWindowFactory f) {
    factory() = std::move(f);
}

std::unique_ptr<ProgressWindow> MakeProgressWindow() {
    if (factory()) return factory()();
    return std::make_unique<SilentProgressWindow>();
}

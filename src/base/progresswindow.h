#pragma once
// The small window shown while a long list is built ("Пожалуйста, подождите...").
// The course model drives it; the program installs the picture window.
#include <functional>
#include <memory>

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void start(int maximum) = 0; // shown, bar at 0
    virtual void setPosition(int value) = 0;
    virtual void finish() = 0; // closed
};

using ProgressWindowFactory = std::function<std::unique_ptr<ProgressWindow>()>;
void SetProgressWindowFactory(ProgressWindowFactory f);
// A window from the installed factory; one that shows nothing when none is installed.
std::unique_ptr<ProgressWindow> MakeProgressWindow();

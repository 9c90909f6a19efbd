#pragma once
// The one place where errors stop: every user-facing entry point (slot,
// event handler, start-up step) runs its work through Guarded(). An error
// ends the operation and its text is shown in the program's message box;
// the program goes on. No exception ever crosses Qt's event loop.
#include "base/errors.h"
#include "controls/ui_hooks.h"

#include <QString>
#include <exception>
#include <new>
#include <utility>

// Shows an error's text the way the guard does.
void ReportError(const QString& text);

// Runs f; returns true when it finished without an error.
template <typename F> bool Guarded(F&& f) {
    try {
        std::forward<F>(f)();
        return true;
    } catch (const VError& e) {
        ReportError(e.text());
    } catch (const std::bad_alloc&) {
        ReportError(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        ReportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

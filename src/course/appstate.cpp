#include "course/appstate.h"

AppState& App() {
    static AppState s;
    return s;
}

void ResetAppState() { App() = AppState{}; }

#pragma once
// The sintagm view for screen readers: static text named by the window
// ("Текст", "Перевод"), whose value and description are the current sintagm.

// Registers the view's interface (once; the view calls it when made).
void InstallSintagmAccessibility();

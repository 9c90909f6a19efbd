#pragma once
// What screen readers learn about the picture controls. The controls draw
// themselves, so Qt's defaults give them no name, role or state: the
// interfaces registered here do, and the controls report their changes
// through the Notify functions below.
#include <QAccessible>
#include <QString>
#include <functional>

class QObject;
class QWidget;

// Registers the interfaces (once; every picture control calls it when made,
// so no start-up code has to remember it).
void InstallControlAccessibility();

// The name announced for a picture control: its accessible name when one is
// set, else its caption label (transparent button) or its own caption (check
// mark), else its tooltip.
QString SpokenName(const QWidget* w);

// A percentage of a Min..Max range, 0 for an empty range, clamped to 0..100.
int RangePercent(int position, int min, int max);

void NotifyAccessible(QAccessibleEvent& e);
void NotifyAccessibleState(QObject* o, QAccessible::State changed);
void NotifyAccessibleEvent(QObject* o, QAccessible::Event type);
void NotifyAccessibleValue(QObject* o, const QVariant& value);

// Without an accessibility bridge (offscreen, or no screen reader running)
// Qt drops every event; a sink sees the controls' events all the same.
using AccessibleEventSink = std::function<void(const QAccessibleEvent&)>;
void SetAccessibleEventSink(AccessibleEventSink sink);

#pragma once
// What the application object needs from the native loop. Declared once here and defined by the backend
// the build compiles (gtk_application.cpp for the program, the headless loop for tests); no platform type
// appears in these declarations.

#include <cstdint>
#include <functional>

namespace Quarlo::Widget {
struct AppOptions;
enum class DrainWake : int32_t;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Detail {

// Opens the windowing system on the calling thread; false when the display cannot be opened.
bool OpenWindowingSystem(const AppOptions& options);
// Any thread: schedule Application::DrainPosted on the user-interface thread; a Deferred wake-up lets the
// input and the painting that are due run first.
void ScheduleDrain(DrainWake wake);
// Any thread: make a loop blocked in WaitAndDispatch return so it re-checks its condition.
void WakeLoop();
// The user-interface thread: wait until at least one event or source is ready, then dispatch it.
void WaitAndDispatch();
// Gives every toolkit window its theme again (the theme mode or the desktop's appearance changed); the
// toolkit's own (window.cpp), which the backend calls when the desktop's appearance changes.
void RefreshWindowThemes();

// Descriptors and timers of the loop itself, for toolkit parts that belong to no window (the single-instance
// link's channel). Everything below is called on the user-interface thread, and the callbacks run there.
// Calls onReady whenever the descriptor is readable, hung up or in error, until Unwatch; returns the watch's
// id (never 0).
uint64_t WatchReadable(int fd, std::function<void()> onReady);
void Unwatch(uint64_t watchId);
// Calls onDue once, after this many seconds, unless CancelLoopTimer comes first; returns the timer's id
// (never 0). Cancelling a timer that has fired already does nothing.
uint64_t StartLoopTimer(double seconds, std::function<void()> onDue);
void CancelLoopTimer(uint64_t timerId);

}  // namespace Quarlo::Widget::Detail

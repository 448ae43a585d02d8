#pragma once
// What the application object needs from the native loop. Declared once here and defined by the backend
// the build compiles (gtk_application.cpp); no platform type appears in these declarations.

namespace Quarlo::Widget {
struct AppOptions;
}

namespace Quarlo::Widget::Detail {

// Opens the windowing system on the calling thread; false when the display cannot be opened.
bool OpenWindowingSystem(const AppOptions& options);
// Any thread: schedule Application::DrainPosted on the user-interface thread at default priority.
void ScheduleDrain();
// Any thread: make a loop blocked in WaitAndDispatch return so it re-checks its condition.
void WakeLoop();
// The user-interface thread: wait until at least one event or source is ready, then dispatch it.
void WaitAndDispatch();
// Gives every toolkit window its theme again (the theme mode or the desktop's appearance changed).
void RefreshWindowThemes();

}  // namespace Quarlo::Widget::Detail

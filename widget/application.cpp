// The application object: the portable half of the loop. The native half (opening the display, waiting
// for events, the cross-thread wake-up) is in widget/detail/gtk_application.cpp.

#include "widget/application.h"

#include "widget/graphics.h"
#include "widget/loop_backend.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

Application& Application::Instance() {
  static Application instance;
  return instance;
}

bool Application::Initialize(const AppOptions& options) {
  if (initialized_) return true;
  if (!Detail::OpenWindowingSystem(options)) return false;
  options_ = options;
  uiThread_ = std::this_thread::get_id();
  if (options.prewarm) PrewarmGraphics();
  initialized_ = true;
  return true;
}

int Application::Run() {
  while (!quitRequested_.load()) {
    Detail::WaitAndDispatch();
  }
  // The request is used up by the outermost loop, so a later Run starts afresh.
  quitRequested_.store(false);
  return exitCode_.load();
}

bool Application::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (quitRequested_.load()) return false;
    Detail::WaitAndDispatch();
  }
  return true;
}

void Application::Post(std::function<void()> task) {
  const DrainWake wake = posted_.Push(std::move(task));
  if (wake != DrainWake::None) Detail::ScheduleDrain(wake);
}

void Application::Quit(int exitCode) {
  exitCode_.store(exitCode);
  quitRequested_.store(true);
  Detail::WakeLoop();
}

void Application::Finish() { FinishPrewarmGraphics(); }

void Application::SetThemeMode(ThemeMode mode) { Quarlo::Widget::SetThemeMode(mode); }

}  // namespace Quarlo::Widget

#pragma once
// The toolkit's process-wide application object: initialisation from an identity record, the loop of the
// user-interface thread, posting work to that thread from any thread, and quitting with an exit code.
// The native side (GTK) lives in widget/detail/; this header names no platform type.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "widget/post_queue.h"

namespace Quarlo::Widget {

enum class ThemeMode : int32_t;

struct AppOptions {
  bool prewarm = true;                // load fonts on a background thread during initialisation
  bool perMonitorDpi = true;          // follow each window's own scale (GTK always does; kept for callers)
  std::string name = "QuarloWidget";  // prefix of the native window class (WM_CLASS) names
  std::string frameworkName = "QuarloWidget";  // reported to accessibility clients
  // Places every new top-level window far off screen and never activates it (the viewer's
  // QUARLO_VIEW_PARK_WINDOWS, for tests that must not disturb the desktop).
  bool parkWindows = false;
};

class Application {
 public:
  // The one instance, created on first use.
  static Application& Instance();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The start-up sequence calls this once on the thread that becomes the user-interface thread. False when
  // the windowing system cannot be opened (no display). A second call returns true and changes nothing.
  bool Initialize(const AppOptions& options);
  bool IsInitialized() const { return initialized_; }
  const AppOptions& Options() const { return options_; }
  // True on the thread that called Initialize.
  bool IsUiThread() const { return initialized_ && std::this_thread::get_id() == uiThread_; }

  // Runs the loop until Quit; returns the exit code Quit recorded. A Quit made before Run ends it at once.
  int Run();
  // A nested loop for modal states: true once done() returns true; false when Quit was requested meanwhile
  // (the request stays pending, so every enclosing loop ends too).
  bool RunUntil(const std::function<bool()>& done);
  // Any thread: queue a task for the user-interface thread and wake its loop.
  void Post(std::function<void()> task);
  // Records the exit code and ends the running loops.
  void Quit(int exitCode);
  int ExitCode() const { return exitCode_.load(); }
  bool QuitRequested() const { return quitRequested_.load(); }
  // Before the process ends, after the last loop: waits for the toolkit's own background work (the font
  // warm-up), which must not outlive the libraries' exit handlers.
  void Finish();
  // Stored for the whole process and applied to every window.
  void SetThemeMode(ThemeMode mode);

  // The native wake-up calls this on the user-interface thread: runs the tasks posted before it began.
  void DrainPosted() { posted_.Drain(); }

 private:
  Application() = default;

  AppOptions options_;
  bool initialized_ = false;
  std::thread::id uiThread_;
  std::atomic<int> exitCode_{0};
  std::atomic<bool> quitRequested_{false};
  PostQueue posted_;
};

}  // namespace Quarlo::Widget

// Starts a viewer and times, from the pixels the X server shows, how long it takes to put its picture on
// screen and, optionally, to show the next picture after a key press:
//   viewer_probe [--timeout MS] [--settle MS] [--pages N] [--key KEYSYM] [--trace] -- PROGRAM [ARGS...]
// It prints one line per finding, times in milliseconds from just before the fork:
//   shown MS WIDTHxHEIGHT      its centre lines show a picture (bench_picture.h), in a window of that size
//   peak KIB                   the viewer's peak resident memory, read --settle ms after it was shown
//   page I MS                  the I-th key press brought another picture, MS after the press
//   failed TEXT                no picture within the time-out or before the viewer ended (exit status 1)
// Before each key press it waits --settle ms, so a viewer that reads ahead has the next picture ready.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/viewers/probe_run.h"
#include "bench/viewers/screen_check.h"
#include "bench/viewers/viewer_process.h"
#include "bench/viewers/x_screen.h"

namespace {

using Clock = std::chrono::steady_clock;
using Quarlo::Bench::CentreLines;
using Quarlo::Bench::ProbeFailed;
using Quarlo::Bench::ViewerProcess;
using Quarlo::Bench::ViewerWindow;
using Quarlo::Bench::XScreen;

constexpr auto kPollInterval = std::chrono::milliseconds(3);

struct Options {
  int timeoutMs = 10000;
  int settleMs = 1000;
  int pages = 0;
  std::string key = "Right";
  bool trace = false;
  std::vector<std::string> program;
};

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Watches the viewer's window until predicate(lines) holds; false when the deadline passes or the viewer
// ends first, with why in `failure`.
template <typename Predicate>
bool WaitForScreen(XScreen& screen, ViewerProcess& viewer, const Options& options, Clock::time_point start,
                   Clock::time_point deadline, Predicate predicate, ViewerWindow& window,
                   std::string& failure) {
  bool mapped = false;
  while (Clock::now() < deadline) {
    if (auto status = viewer.Exited()) {
      char text[128];
      std::snprintf(text, sizeof text,
                    "no picture within %.1f s: the viewer ended with status %d after %.0f ms",
                    options.timeoutMs / 1000.0, *status, MillisecondsSince(start));
      failure = text;
      return false;
    }
    window = screen.FindViewerWindow();
    if (window.id != None && !mapped) {
      mapped = true;
      if (options.trace) std::fprintf(stderr, "%.1f ms: a window is viewable\n", MillisecondsSince(start));
    }
    const CentreLines lines = screen.ReadCentreLines(window.rect);
    if (options.trace) {
      std::fprintf(stderr, "%.1f ms: %zu tinted colours on the row, %zu on the column\n",
                   MillisecondsSince(start), Quarlo::Bench::TintedColours(lines.row),
                   Quarlo::Bench::TintedColours(lines.column));
    }
    if (predicate(lines)) return true;
    std::this_thread::sleep_for(kPollInterval);
  }
  char text[64];
  std::snprintf(text, sizeof text, "no picture within %.1f s", options.timeoutMs / 1000.0);
  failure = text;
  return false;
}

// Starts the viewer, times its first picture and the pages after it; prints the findings.
int WatchViewer(XScreen& screen, const Options& options) {
  std::string error;
  ViewerProcess viewer;
  const Clock::time_point start = Clock::now();
  if (!viewer.Start(options.program, error)) return ProbeFailed(error);
  ViewerWindow window;
  const auto launchDeadline = start + std::chrono::milliseconds(options.timeoutMs);
  if (!WaitForScreen(
          screen, viewer, options, start, launchDeadline,
          [](const CentreLines& l) { return Quarlo::Bench::ShowsPicture(l.row, l.column); }, window, error)) {
    return ProbeFailed(error);
  }
  std::printf("shown %.1f %dx%d\n", MillisecondsSince(start), window.rect.width, window.rect.height);
  std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
  std::printf("peak %ld\n", viewer.PeakResidentKiB());

  for (int page = 1; page <= options.pages; ++page) {
    if (page > 1) std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
    window = screen.FindViewerWindow();
    screen.Focus(window);
    const std::vector<uint32_t> before = screen.ReadCentreLines(window.rect).row;
    const Clock::time_point pressed = Clock::now();
    if (!screen.PressKey(options.key)) return ProbeFailed("no key types the keysym " + options.key);
    const auto deadline = pressed + std::chrono::milliseconds(options.timeoutMs);
    if (!WaitForScreen(
            screen, viewer, options, pressed, deadline,
            [&](const CentreLines& l) { return Quarlo::Bench::ShowsOtherPicture(before, l.row, l.column); },
            window, error)) {
      return ProbeFailed("page " + std::to_string(page) + ": " + error);
    }
    std::printf("page %d %.1f\n", page, MillisecondsSince(pressed));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  return Quarlo::Bench::RunProbe(
      argc, argv,
      "viewer_probe [--timeout MS] [--settle MS] [--pages N] [--key KEYSYM] [--trace] -- PROGRAM [ARGS...]",
      {{{"--timeout", &options.timeoutMs}, {"--settle", &options.settleMs}, {"--pages", &options.pages}},
       {{"--key", &options.key}},
       {{"--trace", &options.trace}}},
      options.program, [&options](XScreen& screen) { return WatchViewer(screen, options); });
}

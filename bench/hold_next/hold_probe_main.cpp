// Starts a viewer on the hold-Next archive, holds a key down with repeats at a fixed rate, releases it, and
// reads from the X server which page the viewer shows, to time how long the page under the released key
// takes to appear:
//   hold_probe [--rate PER_SECOND] [--hold MS] [--key KEYSYM] [--timeout MS] -- PROGRAM [ARGS...]
// The server repeats the key at that rate from the first press on. It prints:
//   presses N           key presses the window was sent (the first one and its repeats)
//   shown N             distinct pages that reached the screen while the key was held and after
//   last PAGE           the page the viewer came to rest on (1-based), after the release
//   settled MS          from the release to that page's pixels on screen (0 when it was there already)
//   failed TEXT         no first page, or the viewer never came to rest (exit status 1)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/hold_next/page_mark.h"
#include "bench/viewers/probe_run.h"
#include "bench/viewers/viewer_process.h"
#include "bench/viewers/x_screen.h"

namespace {

using Clock = std::chrono::steady_clock;
using Quarlo::Bench::ProbeFailed;
using Quarlo::Bench::ViewerProcess;
using Quarlo::Bench::XScreen;

constexpr auto kPollInterval = std::chrono::milliseconds(2);
// The viewer is at rest once the same page has stayed this long after the release.
constexpr auto kRestTime = std::chrono::milliseconds(1500);
// How far left and right of the window's middle the mark's two halves are read, in screen pixels.
constexpr int kMarkOffset = 8;

struct Options {
  int rate = 25;
  int holdMs = 5000;
  int timeoutMs = 20000;
  std::string key = "Right";
  std::vector<std::string> program;
};

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The page the viewer's window shows in its middle now, or nothing (no window, a placeholder, a blend).
std::optional<int> PageOnScreen(XScreen& screen) {
  const Quarlo::Bench::ViewerWindow window = screen.FindViewerWindow();
  if (window.id == None) return std::nullopt;
  const std::vector<uint32_t> row = screen.ReadCentreLines(window.rect).row;
  const size_t middle = row.size() / 2;
  if (middle < kMarkOffset || middle + kMarkOffset >= row.size()) return std::nullopt;
  return Quarlo::Bench::PageOfMark(row[middle - kMarkOffset], row[middle + kMarkOffset]);
}

// What the screen showed over time: every page seen, and the last change of page with when it happened.
struct Watch {
  std::set<int> seen;
  std::optional<int> current;
  Clock::time_point changed;

  void Look(XScreen& screen) {
    const std::optional<int> page = PageOnScreen(screen);
    if (!page || page == current) return;
    seen.insert(*page);
    current = page;
    changed = Clock::now();
  }
};

// Holds the key, releases it and watches the viewer come to rest; prints the findings.
int WatchHold(XScreen& screen, const Options& options) {
  if (options.rate == 0) return ProbeFailed("--rate must be at least 1 press a second");
  std::string error;
  ViewerProcess viewer;
  if (!viewer.Start(options.program, error)) return ProbeFailed(error);

  Watch watch;
  const auto firstDeadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
  while (watch.current != 0) {
    if (Clock::now() > firstDeadline || viewer.Exited())
      return ProbeFailed("the first page never reached the screen");
    watch.Look(screen);
    std::this_thread::sleep_for(kPollInterval);
  }
  // Time to read ahead, as a reader would take before paging on.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const Quarlo::Bench::ViewerWindow window = screen.FindViewerWindow();
  screen.Focus(window);
  screen.CountKeyPresses(window);
  const unsigned interval = unsigned(1000 / options.rate);
  screen.SetKeyRepeat(interval, interval);
  if (!screen.SendKey(options.key, true)) return ProbeFailed("no key types the keysym " + options.key);
  const Clock::time_point release = Clock::now() + std::chrono::milliseconds(options.holdMs);
  while (Clock::now() < release) {
    watch.Look(screen);
    std::this_thread::sleep_for(kPollInterval);
  }
  screen.SendKey(options.key, false);
  const Clock::time_point released = Clock::now();
  screen.RestoreKeyRepeat();
  const int presses = screen.KeyPressesCounted();

  const auto restDeadline = released + std::chrono::milliseconds(options.timeoutMs);
  while (Clock::now() - std::max(watch.changed, released) < kRestTime) {
    if (Clock::now() > restDeadline) return ProbeFailed("the viewer never came to rest");
    watch.Look(screen);
    std::this_thread::sleep_for(kPollInterval);
  }
  if (!watch.current) return ProbeFailed("no page on screen after the release");
  watch.seen.erase(0);
  std::printf("presses %d\n", presses);
  std::printf("shown %zu\n", watch.seen.size());
  std::printf("last %d\n", *watch.current + 1);
  std::printf("settled %.1f\n", std::max(0.0, MillisecondsBetween(released, watch.changed)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  return Quarlo::Bench::RunProbe(
      argc, argv,
      "hold_probe [--rate PER_SECOND] [--hold MS] [--key KEYSYM] [--timeout MS] -- PROGRAM [ARGS...]",
      {{{"--rate", &options.rate}, {"--hold", &options.holdMs}, {"--timeout", &options.timeoutMs}},
       {{"--key", &options.key}},
       {}},
      options.program, [&options](XScreen& screen) { return WatchHold(screen, options); });
}

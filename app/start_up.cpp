// The start-up sequence. The start path's decode is begun on the cache's loader thread before the
// windowing system opens, so the decode overlaps the toolkit's start; nothing else runs before the window
// is up. A later start hands its request over without opening the windowing system at all.

#include "app/start_up.h"

#include <cstdio>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/program.h"
#include "app/screenshot_run.h"
#include "core/env_switches.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "platform/memory_return.h"
#include "widget/application.h"
#include "widget/kit/single_instance.h"

namespace App {

using Quarlo::View::Env;
using Quarlo::Widget::Application;
using Quarlo::Widget::Kit::SingleInstance;

namespace {

constexpr int kCannotDrawWindow = 275;

bool IsInstallerAction(const std::string& action) {
  return action == "associate" || action == "dissociate" || action == "uninstall";
}

// The registration of file types is not part of the program yet: every action fails, and says why.
int RunInstallerAction(const std::string& action) {
  Quarlo::View::SetKoreanStrings(Quarlo::View::SystemLanguageIsKorean());
  if (!IsInstallerAction(action)) {
    std::fprintf(stderr, "quarloview: unknown installer action '%s'\n", action.c_str());
  } else {
    std::fprintf(stderr, "quarloview: the installer action '%s' is not available in this build\n",
                 action.c_str());
  }
  return kExitFailed;
}

int Delivered(bool delivered) { return delivered ? kExitSucceeded : kExitFailed; }

// A later start of the same identity: the running instance takes the request. Nothing when a path or
// "show" request was not taken (or SingleWindow is off): this start then opens a window of its own.
std::optional<int> Forward(SingleInstance& link, const CommandLine& line) {
  if (line.quit) return Delivered(link.Send("quit", kForwardTimeoutMs));
  if (!line.command.empty()) return Delivered(link.Send("command:" + line.command, kForwardTimeoutMs));
  if (!Quarlo::View::Settings::Load().singleWindow) return std::nullopt;
  const std::string request = line.path.empty() ? std::string("show") : "open:" + line.path;
  if (link.Send(request, kForwardTimeoutMs)) return kExitSucceeded;
  return std::nullopt;
}

Quarlo::Widget::AppOptions ToolkitOptions(bool prewarm) {
  Quarlo::Widget::AppOptions options;
  options.prewarm = prewarm;
  options.perMonitorDpi = true;
  options.name = "QuarloView";
  options.frameworkName = "QuarloView";
  options.parkWindows = Env().parkWindows;
  return options;
}

struct ToolkitSession {
  ToolkitSession() = default;
  ToolkitSession(const ToolkitSession&) = delete;
  ToolkitSession& operator=(const ToolkitSession&) = delete;
  ~ToolkitSession() { Application::Instance().Finish(); }
};

}  // namespace

int RunStart(const CommandLine& line) {
  if (!line.installerAction.empty()) return RunInstallerAction(line.installerAction);
  const bool automation = line.quit || !line.command.empty();
  if (automation && Env().settingsKey.empty()) return kExitFailed;
  const bool shots = !Env().shots.empty();

  // Destroyed last: the lock marks this process for its whole life, shutdown included.
  SingleInstance link(Quarlo::View::InstanceIdentity());
  if (!link.IsPrimary() && !shots) {
    if (const std::optional<int> forwarded = Forward(link, line)) return *forwarded;
  } else if (automation) {
    return kExitFailed;
  }

  Quarlo::Platform::ReturnLargeBlocksAtOnce();
  Program program;
  MainWindow& window = program.Window();
  if (!shots && !line.path.empty()) window.Open(line.path);

  // Ends the toolkit's background work on every way out below, while the libraries are still whole.
  const ToolkitSession toolkit;
  // A second window of an identity that is already served does not pre-warm the drawing on threads.
  if (!Application::Instance().Initialize(ToolkitOptions(link.IsPrimary()))) {
    std::fprintf(stderr, "quarloview: cannot open the display\n");
    return kExitFailed;
  }
  if (!window.Create()) {
    std::fprintf(stderr, "quarloview: %s\n", Quarlo::View::Text(kCannotDrawWindow).c_str());
    return kExitFailed;
  }
  if (!shots) window.Show();
  Quarlo::View::Trace("started");
  if (shots) return RunScreenshots(Env().shots, line.path, window) ? kExitSucceeded : kExitShotsFailed;
  if (link.IsPrimary()) link.SetOnCommand([&program](const std::string& text) { program.OnCommand(text); });
  return Application::Instance().Run();
}

}  // namespace App

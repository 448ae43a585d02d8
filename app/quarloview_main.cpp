// Entry point of the viewer.

#include "app/command_line.h"
#include "app/screenshot_run.h"
#include "core/env_switches.h"
#include "core/trace.h"

int main(int argc, char** argv) {
  App::CommandLine commandLine = App::ParseCommandLine(argc, argv);
  (void)commandLine;
  Quarlo::View::Trace("started");
  if (!Quarlo::View::Env().shots.empty()) return App::RunScreenshots(Quarlo::View::Env().shots);
  return 0;
}

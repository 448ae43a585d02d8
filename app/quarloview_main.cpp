// Entry point of the viewer.

#include "app/command_line.h"
#include "core/trace.h"

int main(int argc, char** argv) {
  App::CommandLine commandLine = App::ParseCommandLine(argc, argv);
  (void)commandLine;
  Quarlo::View::Trace("started");
  return 0;
}

// Entry point of the viewer.

#include "app/command_line.h"
#include "app/start_up.h"

int main(int argc, char** argv) { return App::RunStart(App::ParseCommandLine(argc, argv)); }

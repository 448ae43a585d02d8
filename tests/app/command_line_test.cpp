#include "app/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/paths.h"

namespace {

struct Case {
  const char* what;
  std::vector<std::string> args;
  std::string path;
  std::string command;
  bool quit;
  std::string installer;
};

std::string Cwd() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

TEST(CommandLineTest, ParsesArgumentsInOrder) {
  const std::string here = Cwd();
  const Case cases[] = {
      {"nothing", {}, "", "", false, ""},
      {"absolute path", {"/pics/a.jpg"}, "/pics/a.jpg", "", false, ""},
      {"relative path made absolute", {"a.jpg"}, here + "/a.jpg", "", false, ""},
      {"only the first path counts", {"/one", "/two"}, "/one", "", false, ""},
      {"unknown option is not a path", {"--verbose", "/one"}, "/one", "", false, ""},
      {"trailing slashes go", {"/pics/folder//"}, "/pics/folder", "", false, ""},
      {"root keeps its slash", {"/"}, "/", "", false, ""},
      {"command takes the next argument", {"--command", "NextImage"}, "", "NextImage", false, ""},
      {"command value may look like an option", {"--command", "--quit"}, "", "--quit", false, ""},
      {"last command wins", {"--command", "A", "--command", "B"}, "", "B", false, ""},
      {"command as last argument is ignored", {"/x", "--command"}, "/x", "", false, ""},
      {"quit", {"--quit"}, "", "", true, ""},
      {"options compare case-sensitively", {"--QUIT", "--Command", "x"}, here + "/x", "", false, ""},
      {"installer action", {"--installer-associate"}, "", "", false, "associate"},
      {"last installer action wins", {"--installer-a", "--installer-uninstall"}, "", "", false, "uninstall"},
      {"bare installer prefix has no action", {"--installer-"}, "", "", false, ""},
      {"an empty argument is no path", {"", "/later"}, "/later", "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    App::CommandLine line = App::ParseCommandLine(c.args);
    EXPECT_EQ(line.path, c.path);
    EXPECT_EQ(line.command, c.command);
    EXPECT_EQ(line.quit, c.quit);
    EXPECT_EQ(line.installerAction, c.installer);
  }
}

TEST(CommandLineTest, ArgvSkipsProgramName) {
  char program[] = "quarloview";
  char quit[] = "--quit";
  char* argv[] = {program, quit, nullptr};
  App::CommandLine line = App::ParseCommandLine(2, argv);
  EXPECT_TRUE(line.quit);
  EXPECT_TRUE(line.path.empty());
}

}  // namespace

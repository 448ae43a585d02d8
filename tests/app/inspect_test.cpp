// Runs the quarloview-inspect program on fixtures and checks the output that scripts rely on.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace {

struct RunResult {
  std::string output;
  int exitCode = -1;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

RunResult Inspect(const std::string& arguments) {
  std::string command = Quoted(std::string(QUARLO_BINARY_DIR) + "/app/quarloview-inspect") + " " + arguments;
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(Inspect, PrintsTheFolderListWithEscapedNames) {
  Quarlo::Test::TempFolder folder;
  folder.AddFile("10.png", "1234567890");
  folder.AddFile("2.jpg", "22");
  folder.AddFile("tab\there.jpg", "t");
  std::string text = folder.AddFile("notes.txt", "n");
  RunResult run = Inspect(Quoted(text));
  EXPECT_EQ(run.exitCode, 0);
  // Lines: header, then index, name, size, FILETIME, entry index.
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < run.output.size()) {
    size_t end = run.output.find('\n', start);
    lines.push_back(run.output.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 5u) << run.output;
  EXPECT_EQ(lines[0], "open ok items=4 start=2 kind=folder");
  EXPECT_TRUE(lines[1].starts_with("0\t2.jpg\t2\t")) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("1\t10.png\t10\t")) << lines[2];
  EXPECT_TRUE(lines[3].starts_with("2\tnotes.txt\t1\t")) << lines[3];
  EXPECT_TRUE(lines[4].starts_with("3\ttab\\there.jpg\t1\t")) << lines[4];
  EXPECT_TRUE(lines[4].ends_with("\t0")) << lines[4];
}

TEST(Inspect, PrintsArchiveEntriesAndTheStartEntry) {
  Quarlo::Test::TempFolder folder;
  Quarlo::Test::ZipTestEntry first;
  first.name = "b/1.jpg";
  first.data = {1, 2, 3};
  Quarlo::Test::ZipTestEntry second;
  second.name = "a/1.jpg";
  second.data = {4};
  std::string archive = folder.AddFile("book.cbz", Quarlo::Test::BuildZip({first, second}).bytes);
  RunResult run = Inspect(Quoted(archive) + " --start b/1.jpg");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "open ok items=2 start=1 kind=archive\n"
            "0\ta/1.jpg\t1\t133486650040000000\t1\n"
            "1\tb/1.jpg\t3\t133486650040000000\t0\n");
}

TEST(Inspect, FailuresExitWithOne) {
  Quarlo::Test::TempFolder folder;
  std::string fake = folder.AddFile("fake.zip", "plain text");
  EXPECT_EQ(Inspect(Quoted(fake)).output, "open failed status=2\n");
  EXPECT_EQ(Inspect(Quoted(fake)).exitCode, 1);
  RunResult missing = Inspect(Quoted(folder.At("missing")));
  EXPECT_EQ(missing.output, "open failed status=0\n");
  EXPECT_EQ(missing.exitCode, 1);
  RunResult usage = Inspect("--bogus 2>/dev/null");
  EXPECT_EQ(usage.output, "");
  EXPECT_EQ(usage.exitCode, 1);
}

}  // namespace

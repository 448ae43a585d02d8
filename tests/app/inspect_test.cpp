// Runs the quarloview-inspect program on fixtures and checks the output that scripts rely on.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/fixture_pictures.h"
#include "support/special_files.h"
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

// A run that outlives the time limit is killed and reports the exit code of timeout(1), 124.
constexpr int kTimeLimitSeconds = 20;
constexpr int kTimedOut = 124;

RunResult Inspect(const std::string& arguments) {
  std::string command = "timeout " + std::to_string(kTimeLimitSeconds) + " " +
                        Quoted(std::string(QUARLO_BINARY_DIR) + "/app/quarloview-inspect") + " " + arguments;
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

std::vector<std::string> Lines(const std::string& output) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < output.size();) {
    size_t end = output.find('\n', start);
    lines.push_back(output.substr(start, end - start));
    start = end == std::string::npos ? output.size() : end + 1;
  }
  return lines;
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
  std::vector<std::string> lines = Lines(run.output);
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

// A pipe named like a picture would block a reader for ever; a dangling link and a damaged picture
// must not stop the others either.
TEST(Inspect, DecodeReturnsAtOnceBesidePipesLinksAndDamagedPictures) {
  Quarlo::Test::TempFolder folder;
  folder.AddFile("a.png", Quarlo::Test::EncodePng(Quarlo::Test::RgbaImage::Filled(4, 3, 1, 2, 3)));
  Quarlo::Test::MakeFifo(folder.At("b.jpg"));
  Quarlo::Test::MakeLink(folder.At("c.jpg"), "gone.jpg");
  folder.AddFile("d.bmp", "BM and then not much of a bitmap header");
  RunResult run = Inspect(Quoted(folder.Path()) + " --decode");
  ASSERT_NE(run.exitCode, kTimedOut) << run.output;
  EXPECT_EQ(run.exitCode, 0);
  std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 3u) << run.output;
  EXPECT_EQ(lines[0], "open ok items=2 start=0 kind=folder");
  // Columns after the item's own: width, height, frames, format, bits, alpha, orientation, error.
  EXPECT_TRUE(lines[1].starts_with("0\ta.png\t")) << lines[1];
  EXPECT_NE(lines[1].find("\t4\t3\t1\tPNG\t"), std::string::npos) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("1\td.bmp\t")) << lines[2];
  EXPECT_NE(lines[2].find("\t0\t0\t0\t-\t0\t0\t1\t3\t"), std::string::npos) << lines[2];
}

}  // namespace

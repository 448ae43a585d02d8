#include "core/trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Quarlo::View;

std::string TempFile(const char* name) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove(path);
  return path;
}

TEST(TraceTest, LinesFromManyThreadsStayWhole) {
  const std::string file = TempFile("quarlo_trace_threads.txt");
  constexpr int kThreads = 8;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i) {
        TraceTo(file, "thread " + std::to_string(t) + " line " + std::to_string(i) + " " + std::string(300, 'x'));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::ifstream in(file);
  std::set<std::string> seen;
  std::string line;
  while (std::getline(in, line)) {
    ASSERT_EQ(line.substr(line.size() - 300), std::string(300, 'x')) << line;
    seen.insert(line.substr(0, line.size() - 301));
  }
  EXPECT_EQ(seen.size(), size_t{kThreads * kLines});
  std::filesystem::remove(file);
}

TEST(TraceTest, AppendsUtf8AndIgnoresUnopenableFile) {
  const std::string file = TempFile("quarlo_trace_append.txt");
  TraceTo(file, "started");
  TraceTo(file, "show 1/3 사진.jpg");
  std::ifstream in(file);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "started");
  EXPECT_EQ(second, "show 1/3 사진.jpg");
  TraceTo("/nonexistent-folder/trace.txt", "dropped");  // must neither throw nor crash
  TraceTo("", "dropped");
  std::filesystem::remove(file);
}

}  // namespace

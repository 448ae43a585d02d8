#include "core/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace Quarlo::View;

TEST(PathsTest, NormalizeIsLexicalAndKeepsRoot) {
  const struct {
    const char* in;
    const char* base;
    const char* out;
  } cases[] = {
      {"a.jpg", "/home/u", "/home/u/a.jpg"},
      {"./x/../y/", "/home/u", "/home/u/y"},
      {"/a//b///c/", "/", "/a/b/c"},
      {"../../..", "/home/u", "/"},
      {"/", "/", "/"},
      {"dir\\name", "/h", "/h/dir\\name"},  // a backslash is an ordinary file-name character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(NormalizePathFrom(c.in, c.base), c.out);
  }
}

TEST(PathsTest, ParentJoinAndFileName) {
  EXPECT_EQ(ParentOf("/pics/a.jpg"), "/pics");
  EXPECT_EQ(ParentOf("/pics"), "/");
  EXPECT_EQ(ParentOf("a.jpg"), "");
  EXPECT_EQ(JoinPath("", "a"), "a");
  EXPECT_EQ(JoinPath("/", "a"), "/a");
  EXPECT_EQ(JoinPath("/pics", "a"), "/pics/a");
  EXPECT_EQ(FileNameOf("/pics/a.jpg"), "a.jpg");
  EXPECT_EQ(FileNameOf("a.jpg"), "a.jpg");
  EXPECT_EQ(FileNameOf("/pics/"), "");
}

TEST(PathsTest, ExistenceTellsFilesFromFolders) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "quarlo_paths_test";
  std::filesystem::create_directories(dir);
  std::filesystem::path file = dir / "f.txt";
  { std::FILE* f = std::fopen(file.c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_TRUE(FolderExists(dir));
  EXPECT_FALSE(FileExists(dir));
  EXPECT_FALSE(FileExists(dir / "missing"));
  std::filesystem::remove_all(dir);
}

}  // namespace

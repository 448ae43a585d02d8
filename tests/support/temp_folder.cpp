#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace Quarlo::Test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarlo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::At(std::string_view relative) const { return path_ + "/" + std::string(relative); }

std::string TempFolder::AddFile(std::string_view relative, std::string_view content) {
  return AddFile(relative, std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
}

std::string TempFolder::AddFile(std::string_view relative, std::span<const uint8_t> content) {
  std::string path = At(relative);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  file.close();
  EXPECT_TRUE(file.good()) << "cannot write " << path;
  return path;
}

std::string TempFolder::AddFolder(std::string_view relative) {
  std::string path = At(relative);
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace Quarlo::Test

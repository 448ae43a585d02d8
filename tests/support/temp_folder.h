#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it at the end of
// the test.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace Quarlo::Test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }

  // The full path of a name below the folder.
  std::string At(std::string_view relative) const;

  // Creates a file (and its parent folders) with the given content; returns its full path.
  std::string AddFile(std::string_view relative, std::string_view content = "x");
  std::string AddFile(std::string_view relative, std::span<const uint8_t> content);

  // Creates a folder (and its parents); returns its full path.
  std::string AddFolder(std::string_view relative);

 private:
  std::string path_;
};

}  // namespace Quarlo::Test

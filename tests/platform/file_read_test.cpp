#include "platform/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>

#include "support/special_files.h"
#include "support/temp_folder.h"

namespace {

using namespace Quarlo::Platform;
using namespace std::chrono_literals;
using Quarlo::Test::TempFolder;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(ReadWholeFile, ReadsRegularFilesAndLinksToThem) {
  TempFolder folder;
  const std::string path = folder.AddFile("a.bin", "some bytes");
  for (const std::string& name : {path, Quarlo::Test::MakeLink(folder.At("link"), path)}) {
    SCOPED_TRACE(name);
    FileRead read = ReadWholeFile(name);
    ASSERT_EQ(read.status, FileReadStatus::Ok);
    EXPECT_EQ(read.error, 0);
    EXPECT_EQ(read.bytes, Bytes("some bytes"));
    EXPECT_TRUE(read.stamp.exists);
    EXPECT_EQ(read.stamp, StampOf(path));
  }
  FileRead empty = ReadWholeFile(folder.AddFile("empty", ""));
  EXPECT_EQ(empty.status, FileReadStatus::Ok);
  EXPECT_TRUE(empty.bytes.empty());
}

// Only regular files are read; the others are refused at once, with a status that says why.
TEST(ReadWholeFile, RefusesWhatIsNotARegularFileWithoutBlocking) {
  TempFolder folder;
  const std::string pipe = Quarlo::Test::MakeFifo(folder.At("pipe"));
  const struct {
    const char* what;
    std::string path;
    FileReadStatus status;
    int error;
  } cases[] = {
      {"missing", folder.At("missing"), FileReadStatus::NotFound, ENOENT},
      {"dangling link", Quarlo::Test::MakeLink(folder.At("dangling"), "missing"), FileReadStatus::NotFound,
       ENOENT},
      {"folder", folder.AddFolder("folder"), FileReadStatus::NotRegular, EISDIR},
      {"named pipe", pipe, FileReadStatus::NotRegular, ENODEV},
      {"null device", "/dev/null", FileReadStatus::NotRegular, ENODEV},
      {"zero device", "/dev/zero", FileReadStatus::NotRegular, ENODEV},
      {"link to a device", Quarlo::Test::MakeLink(folder.At("zero"), "/dev/zero"), FileReadStatus::NotRegular,
       ENODEV},
      // Opening a socket file fails in the kernel already.
      {"socket", Quarlo::Test::MakeSocket(folder.At("socket")), FileReadStatus::ReadError, ENXIO},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FileRead read;
    EXPECT_TRUE(Quarlo::Test::EndsWithin(5s, [&] { read = ReadWholeFile(c.path); }, {pipe}));
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.error, c.error);
    EXPECT_TRUE(read.bytes.empty());
  }
}

TEST(ReadWholeFile, CapCountsTheBytesReadNotTheSizeReported) {
  TempFolder folder;
  const std::string path = folder.AddFile("ten", "0123456789");
  EXPECT_EQ(ReadWholeFile(path, 10).status, FileReadStatus::Ok);
  FileRead over = ReadWholeFile(path, 9);
  EXPECT_EQ(over.status, FileReadStatus::TooLarge);
  EXPECT_EQ(over.error, EFBIG);
  EXPECT_TRUE(over.bytes.empty());

  // Files of /proc report a size of 0 and hold more: they are read to their end, under the cap.
  std::ifstream stream("/proc/self/mounts");
  std::stringstream expected;
  expected << stream.rdbuf();
  ASSERT_GT(expected.str().size(), 16u);
  struct stat info {};
  ASSERT_EQ(stat("/proc/self/mounts", &info), 0);
  ASSERT_EQ(info.st_size, 0);
  FileRead proc = ReadWholeFile("/proc/self/mounts");
  ASSERT_EQ(proc.status, FileReadStatus::Ok);
  EXPECT_EQ(proc.bytes, Bytes(expected.str()));
  EXPECT_EQ(ReadWholeFile("/proc/self/mounts", 16).status, FileReadStatus::TooLarge);
}

}  // namespace

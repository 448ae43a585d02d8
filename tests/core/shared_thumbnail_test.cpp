// The thumbnail lane with the desktop's shared thumbnails: names and URIs as the standard gives them, a
// valid thumbnail is taken as it is, a stale or damaged one is replaced by a fresh decode, and archive
// entries never touch the shared folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/picture_list.h"
#include "core/shared_thumbnail_load.h"
#include "core/zip_reader.h"
#include "platform/file_read.h"
#include "platform/thumbnails/shared_thumbnails.h"
#include "support/fixture_pictures.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace Quarlo::View {
namespace {

using Quarlo::Test::EncodePng;
using Quarlo::Test::RgbaImage;
using Quarlo::Test::TempFolder;

// The first pixel's blue and red (premultiplied BGRA).
std::pair<int, int> BlueRed(const PicturePtr& picture) {
  const uint8_t* p = picture->frames.at(0).pixels->data();
  return {p[0], p[2]};
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

class SharedThumbnailTest : public ::testing::Test {
 protected:
  SharedThumbnailTest() : root(home.At("cache/thumbnails")) {
    item.name = "blue.png";
    item.path = pictures.AddFile("blue.png", EncodePng(RgbaImage::Filled(600, 400, 0, 0, 255)));
    uri = Platform::FileUri(item.path);
    shared = Platform::LargeThumbnailPath(root, uri);
  }

  Platform::ThumbnailStamp StampNow() const {
    return {uri, std::to_string(*Platform::FileModifiedSeconds(item.path))};
  }
  // A small red thumbnail under the picture's name, with the given stamp.
  void PlaceRed(const Platform::ThumbnailStamp& stamp) {
    std::vector<uint8_t> bgra(64 * 64 * 4);
    for (size_t i = 0; i < bgra.size(); i += 4) bgra[i + 2] = bgra[i + 3] = 255;
    ASSERT_TRUE(Platform::WriteSharedThumbnail(shared, stamp, 64, 64, bgra.data()));
  }
  std::optional<Platform::ThumbnailStamp> StampOnDisk() const {
    return Platform::ReadThumbnailStamp(Platform::ReadWholeFile(shared).bytes);
  }
  PicturePtr Load() { return LoadThumbnailShared(item, nullptr, DecodeOptions{}, root); }

  TempFolder home;
  TempFolder pictures;
  std::string root;
  PictureItem item;
  std::string uri;
  std::string shared;
};

TEST(SharedThumbnailNames, FollowTheStandard) {
  // The standard's own example.
  EXPECT_EQ(Platform::LargeThumbnailPath("/c", "file:///home/jens/photos/me.png"),
            "/c/large/c6ee772d9e49320e97ec29a7eb5b1697.png");
  EXPECT_EQ(Platform::FileUri("/home/a b/ü#1%.png"), "file:///home/a%20b/%C3%BC%231%25.png");
  EXPECT_EQ(Platform::FileUri("relative/x.png"), "");
}

TEST(SharedThumbnailNames, TestModeUsesOnlyTheTestsOwnCache) {
  const char* saved = std::getenv("XDG_CACHE_HOME");
  const std::string keep = saved ? saved : "";
  unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(Platform::SharedThumbnailRoot(true), "");
  EXPECT_EQ(Platform::SharedThumbnailRoot(false), std::string(std::getenv("HOME")) + "/.cache/thumbnails");
  setenv("XDG_CACHE_HOME", "/tmp/test-cache", 1);
  EXPECT_EQ(Platform::SharedThumbnailRoot(true), "/tmp/test-cache/thumbnails");
  if (saved) {
    setenv("XDG_CACHE_HOME", keep.c_str(), 1);
  } else {
    unsetenv("XDG_CACHE_HOME");
  }
}

TEST_F(SharedThumbnailTest, ADecodedThumbnailIsSharedPrivately) {
  const PicturePtr picture = Load();
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->width, 256);
  EXPECT_EQ(BlueRed(picture), (std::pair<int, int>{255, 0}));
  EXPECT_EQ(StampOnDisk(), StampNow());
  EXPECT_EQ(ModeOf(shared), 0600u);
  EXPECT_EQ(ModeOf(root + "/large"), 0700u);
  EXPECT_EQ(ModeOf(root), 0700u);
  // Only the thumbnail itself is left in the folder: the temporary file was renamed.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root + "/large"), {}), 1);
}

TEST_F(SharedThumbnailTest, AValidSharedThumbnailIsTakenWithoutDecoding) {
  PlaceRed(StampNow());
  const PicturePtr picture = Load();
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->width, 64);
  EXPECT_EQ(BlueRed(picture), (std::pair<int, int>{0, 255}));
  EXPECT_EQ(picture->key, item.path);
}

TEST_F(SharedThumbnailTest, StaleOrForeignThumbnailsAreReplaced) {
  const Platform::ThumbnailStamp stale[] = {
      {uri, std::to_string(*Platform::FileModifiedSeconds(item.path) - 60)},  // the file changed since
      {uri + "x", StampNow().mtime},                                          // another file's thumbnail
  };
  for (const Platform::ThumbnailStamp& stamp : stale) {
    PlaceRed(stamp);
    const PicturePtr picture = Load();
    EXPECT_EQ(picture->width, 256) << stamp.uri << " " << stamp.mtime;
    EXPECT_EQ(BlueRed(picture), (std::pair<int, int>{255, 0}));
    EXPECT_EQ(StampOnDisk(), StampNow());
  }
}

TEST_F(SharedThumbnailTest, DamagedThumbnailsAreNeverShownAndAreReplaced) {
  PlaceRed(StampNow());
  const std::vector<uint8_t> whole = Platform::ReadWholeFile(shared).bytes;
  const std::vector<std::vector<uint8_t>> damaged = {
      std::vector<uint8_t>(whole.begin(), whole.end() - 30),  // image data cut short, stamp intact
      Quarlo::Test::BytesOf("not a png at all"),
      {},
  };
  for (const std::vector<uint8_t>& bytes : damaged) {
    Quarlo::Test::WriteFileBytes(shared, bytes);
    const PicturePtr picture = Load();
    ASSERT_EQ(picture->error, LoadError::None);
    EXPECT_EQ(picture->width, 256);
    EXPECT_EQ(StampOnDisk(), StampNow());
  }
}

TEST_F(SharedThumbnailTest, ArchiveEntriesNeverTouchTheSharedFolder) {
  Quarlo::Test::ZipTestEntry entry;
  entry.name = "chapter/001.png";
  entry.data = EncodePng(RgbaImage::Filled(300, 300, 0, 255, 0));
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(Quarlo::Test::BuildZip({entry}).bytes, pictures.At("book.cbz")), ZipStatus::Ok);
  PictureItem archived;
  archived.name = entry.name;
  archived.entryIndex = 0;
  const PicturePtr picture = LoadThumbnailShared(archived, &reader, DecodeOptions{}, root);
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->width, 256);
  EXPECT_FALSE(std::filesystem::exists(root));
}

TEST_F(SharedThumbnailTest, WithoutAFolderItOnlyDecodes) {
  const PicturePtr picture = LoadThumbnailShared(item, nullptr, DecodeOptions{}, "");
  EXPECT_EQ(picture->width, 256);
  EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace Quarlo::View

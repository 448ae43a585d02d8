// The info panel's rows, from pictures decoded by the real pipeline (EXIF, ICC, animation, damage) and
// from hand-made picture records where only the numbers matter.

#include "app/info_rows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/file_time.h"
#include "core/loaded_picture.h"
#include "core/picture_list.h"
#include "core/strings.h"
#include "support/fixture_pictures.h"

namespace App {

void PrintTo(const InfoRow& row, std::ostream* out) {
  *out << static_cast<int>(row.caption) << " \"" << row.value << "\"";
}

namespace {

using Quarlo::Test::BuildExif;
using Quarlo::Test::ExifFields;
using Quarlo::Test::RgbaImage;
using Quarlo::View::LoadedPicture;
using Quarlo::View::PictureItem;
using Quarlo::View::PictureList;
using Quarlo::View::PicturePtr;
using Quarlo::View::SourceKind;
using C = InfoCaption;

constexpr uint64_t kFileSize = 10'199;
const int64_t kModified = *Quarlo::View::FileTimeFromCalendar(2024, 6, 2, 8, 30, 0);

class InfoRowsTest : public ::testing::Test {
 protected:
  void SetUp() override { Quarlo::View::SetKoreanStrings(false); }
  void TearDown() override { Quarlo::View::SetKoreanStrings(false); }

  static PictureList Folder(const std::string& name) {
    PictureList list;
    list.kind = SourceKind::Folder;
    list.location = "/photos/trip";
    list.items.push_back(PictureItem{name, "/photos/trip/" + name, 0, kFileSize, kModified});
    return list;
  }

  static PicturePtr Decode(const std::vector<uint8_t>& bytes, const std::string& name, bool orient = true) {
    Quarlo::View::DecodeOptions options;
    options.applyOrientation = orient;
    return Quarlo::View::LoadPictureBytes(bytes, name, options);
  }

  // The rows every picture of the folder gets before anything decoded is known.
  static std::vector<InfoRow> FileRows(const std::string& name) {
    return {{C::FileName, name},
            {C::Location, "/photos/trip"},
            {C::FileSize, "10.0 KB (10,199 bytes)"},
            {C::DateModified, Quarlo::View::FormatDateTime(kModified)}};
  }

  // A decoded record with only the facts the rows read.
  static LoadedPicture Made(int32_t width, int32_t height, size_t frames = 1) {
    LoadedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.format = "JPEG";
    picture.bitsPerPixel = 24;
    picture.frames.resize(frames);
    picture.tiles.resize(frames, std::vector<Quarlo::View::PictureTile>(1));
    return picture;
  }
};

ExifFields CameraFields() {
  ExifFields fields;
  fields.make = "Canon";
  fields.model = "Canon EOS R5";
  fields.lensModel = "RF24-70mm F2.8 L IS USM";
  fields.software = "Firmware 1.8.1";
  fields.dateTimeOriginal = "2024:05:01 10:20:30";
  fields.exposure = std::pair{1u, 250u};
  fields.fNumber = std::pair{28u, 10u};
  fields.focalLength = std::pair{50u, 1u};
  fields.iso = 100;
  // 37°33'59.4" S, 126°58'40.8" W
  fields.latitude = {{{37, 1}, {33, 1}, {594, 10}}};
  fields.longitude = {{{126, 1}, {58, 1}, {408, 10}}};
  fields.latitudeRef = "S";
  fields.longitudeRef = "W";
  return fields;
}

TEST_F(InfoRowsTest, JpegWithCameraDataShowsEveryRowInOrder) {
  Quarlo::Test::JpegOptions jpeg;
  jpeg.exif = BuildExif(CameraFields());
  jpeg.icc = Quarlo::Test::GammaProfile(2.2, "Studio Gamma 2.2");
  const PicturePtr picture = Decode(Quarlo::Test::EncodeJpeg(RgbaImage::Photo(60, 40), jpeg), "cam.jpg");
  ASSERT_EQ(picture->error, Quarlo::View::LoadError::None);

  const std::vector<InfoRow> expected = {
      {C::FileName, "cam.jpg"},
      {C::Location, "/photos/trip"},
      {C::Dimensions, "60 × 40 pixels"},
      {C::FileSize, "10.0 KB (10,199 bytes)"},
      {C::Format, "JPEG, 24-bit"},
      {C::DateModified, Quarlo::View::FormatDateTime(kModified)},
      {C::DateTaken, "2024:05:01 10:20:30"},
      {C::Camera, "Canon EOS R5"},
      {C::Lens, "RF24-70mm F2.8 L IS USM"},
      {C::Exposure, "1/250 s, f/2.8, ISO 100"},
      {C::FocalLength, "50 mm"},
      {C::Software, "Firmware 1.8.1"},
      {C::ColorProfile, "Studio Gamma 2.2"},
      {C::GpsLocation, "-37.566500, -126.978000"},
  };
  EXPECT_EQ(InfoRowsFor(Folder("cam.jpg"), 0, picture.get(), true), expected);
  EXPECT_FALSE(expected[5].value.empty());
}

TEST_F(InfoRowsTest, PictureWithoutMetadataShowsFileAndPictureRowsOnly) {
  const PicturePtr picture =
      Decode(Quarlo::Test::EncodePng(RgbaImage::Filled(30, 20, 1, 2, 3, 128)), "a.png");
  std::vector<InfoRow> expected = FileRows("a.png");
  expected.insert(expected.begin() + 2, {C::Dimensions, "30 × 20 pixels"});
  expected.insert(expected.begin() + 4, {C::Format, "PNG, 32-bit"});
  EXPECT_EQ(InfoRowsFor(Folder("a.png"), 0, picture.get(), true), expected);
}

TEST_F(InfoRowsTest, UndecodedOrFailedPictureShowsOnlyTheFileFacts) {
  const PicturePtr failed = Decode(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3}, "bad.jpg");
  ASSERT_NE(failed->error, Quarlo::View::LoadError::None);
  EXPECT_EQ(InfoRowsFor(Folder("bad.jpg"), 0, failed.get(), true), FileRows("bad.jpg"));
  EXPECT_EQ(InfoRowsFor(Folder("bad.jpg"), 0, nullptr, true), FileRows("bad.jpg"));
}

TEST_F(InfoRowsTest, UnknownSizeAndTimeLeaveTheirRowsOut) {
  PictureList list = Folder("x.png");
  list.items[0].size = 0;
  list.items[0].modified = 0;
  const std::vector<InfoRow> expected = {{C::FileName, "x.png"}, {C::Location, "/photos/trip"}};
  EXPECT_EQ(InfoRowsFor(list, 0, nullptr, true), expected);
  EXPECT_TRUE(InfoRowsFor(list, 1, nullptr, true).empty());
}

TEST_F(InfoRowsTest, ArchiveEntryIsPlacedByTheArchiveAndItsWholeEntryName) {
  PictureList list;
  list.kind = SourceKind::Archive;
  list.location = "/books/comic.cbz";
  list.items.push_back(PictureItem{"chapter1/001.jpg", "", 3, 512, 0});
  const std::vector<InfoRow> expected = {{C::FileName, "001.jpg"},
                                         {C::Location, "/books/comic.cbz/chapter1/001.jpg"},
                                         {C::FileSize, "512 bytes (512 bytes)"}};
  EXPECT_EQ(InfoRowsFor(list, 0, nullptr, true), expected);
}

TEST_F(InfoRowsTest, BytesThatAreNotUtf8AreShownAsReplacementCharacters) {
  PictureList list = Folder("caf\xE9.jpg");
  list.items[0].path = "/photos/\xFFtrip/caf\xE9.jpg";
  LoadedPicture picture = Made(10, 10);
  picture.metadata.cameraMaker = "Cam\xC3";
  const std::vector<InfoRow> rows = InfoRowsFor(list, 0, &picture, true);
  EXPECT_EQ(rows[0], (InfoRow{C::FileName, "caf\uFFFD.jpg"}));
  EXPECT_EQ(rows[1], (InfoRow{C::Location, "/photos/\uFFFDtrip"}));
  EXPECT_EQ(rows.back(), (InfoRow{C::Camera, "Cam\uFFFD"}));
}

TEST_F(InfoRowsTest, AnimationCountsItsDecodedFrames) {
  const std::vector<RgbaImage> frames = {RgbaImage::Filled(16, 12, 200, 10, 10),
                                         RgbaImage::Filled(16, 12, 10, 200, 10),
                                         RgbaImage::Filled(16, 12, 10, 10, 200)};
  const PicturePtr animation = Decode(Quarlo::Test::EncodeAnimatedWebp(frames, 100), "spin.webp");
  ASSERT_EQ(animation->frames.size(), 3u);
  const std::vector<InfoRow> rows = InfoRowsFor(Folder("spin.webp"), 0, animation.get(), true);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), (InfoRow{C::Frames, "3"}));

  LoadedPicture cut = Made(100, 100, 25);
  cut.framesTruncated = true;
  EXPECT_EQ(InfoRowsFor(Folder("big.gif"), 0, &cut, true).back(),
            (InfoRow{C::Frames, "25 (only as many as fit in memory)"}));
  LoadedPicture still = Made(100, 100, 1);
  EXPECT_EQ(InfoRowsFor(Folder("one.gif"), 0, &still, true).back().caption, C::DateModified);
}

TEST_F(InfoRowsTest, OrientationRowOnlyWhileTheSettingTurnsThePicture) {
  ExifFields fields;
  fields.orientation = 6;
  Quarlo::Test::JpegOptions jpeg;
  jpeg.exif = BuildExif(fields);
  const std::vector<uint8_t> bytes = Quarlo::Test::EncodeJpeg(RgbaImage::Photo(40, 20), jpeg);

  const PicturePtr turned = Decode(bytes, "r.jpg", true);
  const std::vector<InfoRow> rows = InfoRowsFor(Folder("r.jpg"), 0, turned.get(), true);
  EXPECT_EQ(rows[2], (InfoRow{C::Dimensions, "20 × 40 pixels"}));
  EXPECT_EQ(rows.back(), (InfoRow{C::Orientation, "EXIF orientation 6 applied"}));

  const PicturePtr asStored = Decode(bytes, "r.jpg", false);
  const std::vector<InfoRow> plain = InfoRowsFor(Folder("r.jpg"), 0, asStored.get(), false);
  EXPECT_EQ(plain[2], (InfoRow{C::Dimensions, "40 × 20 pixels"}));
  EXPECT_EQ(plain.back().caption, C::DateModified);
}

TEST_F(InfoRowsTest, LargeNumbersAreGrouped) {
  LoadedPicture picture = Made(6000, 4000);
  const std::vector<InfoRow> rows = InfoRowsFor(Folder("big.jpg"), 0, &picture, true);
  EXPECT_EQ(rows[2], (InfoRow{C::Dimensions, "6,000 × 4,000 pixels"}));
  EXPECT_EQ(rows[4], (InfoRow{C::Format, "JPEG, 24-bit"}));
  picture.bitsPerPixel = 0;
  EXPECT_EQ(InfoRowsFor(Folder("big.jpg"), 0, &picture, true)[4], (InfoRow{C::Format, "JPEG"}));
}

TEST_F(InfoRowsTest, KoreanRowsUseKoreanWords) {
  Quarlo::View::SetKoreanStrings(true);
  LoadedPicture picture = Made(6000, 4000, 25);
  picture.framesTruncated = true;
  picture.metadata.orientation = 6;
  PictureList list = Folder("big.gif");
  list.items[0].size = 1536;
  const std::vector<InfoRow> rows = InfoRowsFor(list, 0, &picture, true);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[2].value, "6,000 × 4,000 픽셀");
  EXPECT_EQ(rows[3].value, "1.5 KB (1,536바이트)");
  EXPECT_EQ(rows[4].value, "JPEG, 24비트");
  EXPECT_EQ(rows[6].value, "EXIF 방향 6 적용됨");
  EXPECT_EQ(rows[7].value, "25(메모리에 들어가는 만큼만)");
  EXPECT_EQ(FileSizeText(512), "512바이트 (512바이트)");
}

TEST(InfoTextsTest, FileSizes) {
  Quarlo::View::SetKoreanStrings(false);
  const std::pair<uint64_t, const char*> cases[] = {
      {512, "512 bytes (512 bytes)"},           {1536, "1.5 KB (1,536 bytes)"},
      {10'199, "10.0 KB (10,199 bytes)"},       {3'145'728, "3.0 MB (3,145,728 bytes)"},
      {52'428'800, "50 MB (52,428,800 bytes)"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FileSizeText(bytes), text) << bytes;
}

TEST(InfoTextsTest, CameraJoinsMakerAndModelUnlessTheModelNamesTheMaker) {
  const char* const cases[][3] = {
      {"Canon", "Canon EOS R5", "Canon EOS R5"},
      {"NIKON CORPORATION", "NIKON D750", "NIKON CORPORATION NIKON D750"},
      {"canon", "Canon EOS", "canon Canon EOS"},
      {"Canon", "", "Canon"},
      {"", "EOS R5", "EOS R5"},
      {"", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CameraText(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
}

TEST(InfoTextsTest, ExposureJoinsWhatIsKnown) {
  const char* const cases[][4] = {
      {"1/250 s", "f/2.8", "100", "1/250 s, f/2.8, ISO 100"},
      {"", "", "100", "ISO 100"},
      {"", "f/8", "", "f/8"},
      {"2 s", "", "400", "2 s, ISO 400"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExposureText(c[0], c[1], c[2]), c[3]) << c[3];
}

TEST(InfoTextsTest, PanelShowsOnlyBesideAnOpenListWithoutTheImageList) {
  EXPECT_TRUE(InfoPanelVisible(true, true, false));
  EXPECT_FALSE(InfoPanelVisible(true, false, false));
  EXPECT_FALSE(InfoPanelVisible(true, true, true));
  EXPECT_FALSE(InfoPanelVisible(false, true, false));
}

}  // namespace
}  // namespace App

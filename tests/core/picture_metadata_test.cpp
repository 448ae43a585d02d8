#include "core/picture_metadata.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Quarlo::View {
namespace {

TEST(PictureMetadataTest, FormatDecimalDropsTrailingZeros) {
  EXPECT_EQ(FormatDecimal(2.0, 1), "2");
  EXPECT_EQ(FormatDecimal(2.8, 1), "2.8");
  EXPECT_EQ(FormatDecimal(250.0, 0), "250");
  EXPECT_EQ(FormatDecimal(4.25, 2), "4.25");
  EXPECT_EQ(FormatDecimal(100.0, 2), "100");
  EXPECT_EQ(FormatDecimal(0.04, 1), "0");
}

TEST(PictureMetadataTest, NumbersBecomeTheirTexts) {
  struct Case {
    double exposure;
    const char* text;
  };
  const Case exposures[] = {{0.004, "1/250 s"},
                            {0.3, "1/3 s"},
                            {1.0 / 200, "1/200 s"},
                            {2, "2 s"},
                            {2.5, "2.5 s"},
                            {1.5, "1.5 s"},
                            {0, ""},
                            {-1, ""}};
  for (const Case& c : exposures) {
    ExifValues values;
    values.exposureTime = c.exposure;
    EXPECT_EQ(MetadataFromExif(values).exposure, c.text) << c.exposure;
  }
  ExifValues values;
  values.fNumber = 2.8;
  values.focalLength = 4.3;
  values.isoSpeed = 0;
  PictureMetadata m = MetadataFromExif(values);
  EXPECT_EQ(m.fNumber, "f/2.8");
  EXPECT_EQ(m.focalLength, "4.3 mm");
  EXPECT_EQ(m.isoSpeed, "");
  values.fNumber = 8;
  values.focalLength = 50;
  values.isoSpeed = 3200;
  m = MetadataFromExif(values);
  EXPECT_EQ(m.fNumber, "f/8");
  EXPECT_EQ(m.focalLength, "50 mm");
  EXPECT_EQ(m.isoSpeed, "3200");
}

TEST(PictureMetadataTest, TextsLoseTrailingSpacesAndZeros) {
  ExifValues values;
  values.make = std::string("NIKON \0 \0", 9);
  values.model = " D850 ";
  PictureMetadata m = MetadataFromExif(values);
  EXPECT_EQ(m.cameraMaker, "NIKON");
  EXPECT_EQ(m.cameraModel, " D850");
}

TEST(PictureMetadataTest, LocationNeedsBothCoordinates) {
  ExifValues values;
  values.latitude = {37, 33, 59.4};
  values.latitudeRef = "S";
  EXPECT_FALSE(MetadataFromExif(values).latitudeValid);
  values.longitude = {126, 58.5};  // seconds missing: count as 0
  values.longitudeRef = "w";
  PictureMetadata m = MetadataFromExif(values);
  ASSERT_TRUE(m.latitudeValid);
  ASSERT_TRUE(m.longitudeValid);
  EXPECT_NEAR(m.latitude, -37.5665, 1e-4);
  EXPECT_NEAR(m.longitude, -126.975, 1e-9);
  values.latitude = {NAN};
  m = MetadataFromExif(values);
  EXPECT_FALSE(m.latitudeValid);
  EXPECT_FALSE(m.longitudeValid);
}

TEST(PictureMetadataTest, OrientationOutsideOneToEightIsOne) {
  for (uint32_t value : {0u, 9u, 65535u}) {
    ExifValues values;
    values.orientation = value;
    EXPECT_EQ(MetadataFromExif(values).orientation, 1u) << value;
  }
  ExifValues values;
  values.orientation = 8;
  EXPECT_EQ(MetadataFromExif(values).orientation, 8u);
}

}  // namespace
}  // namespace Quarlo::View

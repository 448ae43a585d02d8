#include "core/file_kinds.h"

#include <gtest/gtest.h>

#include "platform/imaging/decoder_registry.h"

namespace {

using namespace Quarlo::View;
using Quarlo::Imaging::ContainerFormat;
using Quarlo::Imaging::DecoderInfo;

TEST(FileKindsTest, ExtensionOf) {
  const std::pair<const char*, const char*> cases[] = {
      {"photo.JPG", "jpg"},        {"archive.tar.gz", "gz"},  {"folder.d/file", ""}, {"name.", ""},
      {".png", "png"},             {"/pics/a.b/c.WebP", "webp"}, {"noext", ""},      {"a/b.Ärger", "Ärger"},
  };
  for (auto [name, extension] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ExtensionOf(name), extension);
  }
}

TEST(FileKindsTest, DecoderListsAreCutTrimmedLoweredAndDeduplicated) {
  std::vector<std::string> table = BuildPictureExtensions({".JPG,.jpeg, .jpg", "x", ".Png,", ". .tif"});
  EXPECT_EQ(table, (std::vector<std::string>{"jpeg", "jpg", "png", "tif", "webp"}));
}

TEST(FileKindsTest, FallbackListWhenNoDecoderReportsAnything) {
  std::vector<std::string> table = BuildPictureExtensions({"", "."});
  EXPECT_EQ(table.size(), 15u);
  EXPECT_EQ(table.front(), "bmp");
  EXPECT_EQ(table.back(), "webp");
  EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
}

TEST(FileKindsTest, PictureNamesMatchCaseInsensitivelyForAsciiOnly) {
  EXPECT_TRUE(IsPictureName("PHOTO.JPG"));
  EXPECT_TRUE(IsPictureName(".png"));
  EXPECT_TRUE(IsPictureName("x.webp"));
  EXPECT_FALSE(IsPictureName("x.txt"));
  EXPECT_FALSE(IsPictureName("x.zip"));
  EXPECT_FALSE(IsPictureName("jpg"));
}

TEST(FileKindsTest, ArchivesByExtensionOnly) {
  EXPECT_TRUE(IsArchiveName("a.ZIP"));
  EXPECT_TRUE(IsArchiveName("/x/comic.CbZ"));
  EXPECT_FALSE(IsArchiveName("a.zipx"));
  EXPECT_FALSE(IsArchiveName("zip"));
}

TEST(FileKindsTest, OpenableExtensionsAndDialogPattern) {
  std::vector<std::string> openable = OpenableExtensions();
  EXPECT_TRUE(std::is_sorted(openable.begin(), openable.end()));
  EXPECT_TRUE(std::binary_search(openable.begin(), openable.end(), "cbz"));
  EXPECT_TRUE(std::binary_search(openable.begin(), openable.end(), "zip"));
  EXPECT_EQ(std::adjacent_find(openable.begin(), openable.end()), openable.end());

  std::string pattern = OpenDialogPattern();
  EXPECT_TRUE(pattern.starts_with("*." + PictureExtensions().front() + ";"));
  EXPECT_TRUE(pattern.ends_with(";*.webp;*.zip;*.cbz") || pattern.ends_with(";*.zip;*.cbz"));
  EXPECT_NE(pattern.find("*.jpg;"), std::string::npos);
}

TEST(FileKindsTest, FormatNames) {
  EXPECT_EQ(FormatName(DecoderInfo{"Whatever", ContainerFormat::Jpeg, ""}), "JPEG");
  EXPECT_EQ(FormatName(DecoderInfo{"x", ContainerFormat::Webp, ""}), "WebP");
  EXPECT_EQ(FormatName(DecoderInfo{"JPEG XL Decoder", ContainerFormat::Other, ""}), "JPEG XL");
  EXPECT_EQ(FormatName(DecoderInfo{"Raw decoder", ContainerFormat::Other, ""}), "Raw");
  EXPECT_EQ(FormatName(DecoderInfo{"Decoder Thing", ContainerFormat::Other, ""}), "Decoder Thing");
  EXPECT_EQ(FormatName(DecoderInfo{"", ContainerFormat::Other, ""}), "?");
}

TEST(FileKindsTest, RegistryRecognisesByContentNotName) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("\xFF\xD8\xFF\xE0", 4), "JPEG"},
      {std::string("\x89PNG\r\n\x1A\n", 8), "PNG"},
      {"GIF89a", "GIF"},
      {std::string("RIFF\0\0\0\0WEBPVP8 ", 16), "WebP"},
      {std::string("II*\0", 4), "TIFF"},
      {std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 18), "BMP"},
      {std::string("\0\0\1\0\1\0", 6), "ICO"},
      {std::string("\xFF\x0A", 2), "JPEG XL"},
  };
  for (const auto& [bytes, name] : cases) {
    SCOPED_TRACE(name);
    const DecoderInfo* decoder = Quarlo::Imaging::RecognizeDecoder(
        {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(FormatName(*decoder), name);
  }
  const std::string text = "hello, world";
  EXPECT_EQ(Quarlo::Imaging::RecognizeDecoder({reinterpret_cast<const uint8_t*>(text.data()), text.size()}),
            nullptr);
}

TEST(FileKindsTest, EveryInstalledDecoderContributesItsExtensions) {
  for (const DecoderInfo& decoder : Quarlo::Imaging::InstalledDecoders()) {
    std::vector<std::string> own = BuildPictureExtensions({decoder.extensions});
    for (const std::string& extension : own) {
      SCOPED_TRACE(extension);
      EXPECT_TRUE(IsPictureName("x." + extension));
    }
  }
}

}  // namespace

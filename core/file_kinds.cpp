#include "core/file_kinds.h"

#include <algorithm>

#include "platform/imaging/decoder_registry.h"

namespace Quarlo::View {

namespace {

using Imaging::ContainerFormat;

// Used only when no decoder reports any extension, so that the common formats still list.
constexpr std::string_view kFallbackExtensions[] = {"jpg", "jpeg", "jpe", "jfif", "png", "gif", "bmp",
                                                    "dib", "tif", "tiff", "ico", "jxr", "wdp", "dds"};

// Only A to Z fold: an extension that differs in the case of another letter is a different one.
std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

void AppendExtensionList(std::vector<std::string>& out, std::string_view list) {
  while (true) {
    size_t comma = list.find(',');
    std::string_view piece = list.substr(0, comma);
    while (!piece.empty() && (piece.front() == '.' || piece.front() == ' ')) piece.remove_prefix(1);
    if (!piece.empty()) out.push_back(AsciiLower(piece));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
}

void SortUnique(std::vector<std::string>& list) {
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
}

}  // namespace

std::vector<std::string> BuildPictureExtensions(const std::vector<std::string>& decoderLists) {
  std::vector<std::string> extensions = {"webp"};
  for (const std::string& list : decoderLists) {
    // A decoder reporting one character or less has no usable list.
    if (list.size() > 1) AppendExtensionList(extensions, list);
  }
  if (extensions.size() == 1) {
    for (std::string_view fallback : kFallbackExtensions) extensions.emplace_back(fallback);
  }
  SortUnique(extensions);
  return extensions;
}

const std::vector<std::string>& PictureExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> lists;
    for (const Imaging::DecoderInfo& decoder : Imaging::InstalledDecoders()) lists.push_back(decoder.extensions);
    return BuildPictureExtensions(lists);
  }();
  return extensions;
}

std::string ExtensionOf(std::string_view name) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return {};
  size_t slash = name.rfind('/');
  if (slash != std::string_view::npos && slash > dot) return {};
  return AsciiLower(name.substr(dot + 1));
}

bool IsPictureName(std::string_view name) {
  std::string extension = ExtensionOf(name);
  if (extension.empty()) return false;
  const std::vector<std::string>& table = PictureExtensions();
  return std::binary_search(table.begin(), table.end(), extension);
}

bool IsArchiveName(std::string_view name) {
  std::string extension = ExtensionOf(name);
  return extension == "zip" || extension == "cbz";
}

std::vector<std::string> OpenableExtensions() {
  std::vector<std::string> list = PictureExtensions();
  list.emplace_back("cbz");
  list.emplace_back("zip");
  SortUnique(list);
  return list;
}

std::string OpenDialogPattern() {
  std::string pattern;
  for (const std::string& extension : PictureExtensions()) {
    if (!pattern.empty()) pattern += ';';
    pattern += "*." + extension;
  }
  pattern += ";*.zip;*.cbz";
  return pattern;
}

std::string FormatName(const Imaging::DecoderInfo& decoder) {
  struct Known {
    ContainerFormat container;
    const char* name;
  };
  static constexpr Known kNames[] = {
      {ContainerFormat::Jpeg, "JPEG"}, {ContainerFormat::Png, "PNG"},      {ContainerFormat::Gif, "GIF"},
      {ContainerFormat::Bmp, "BMP"},   {ContainerFormat::Tiff, "TIFF"},    {ContainerFormat::Ico, "ICO"},
      {ContainerFormat::JpegXr, "JPEG XR"}, {ContainerFormat::Dds, "DDS"}, {ContainerFormat::Heif, "HEIF"},
      {ContainerFormat::Webp, "WebP"},
  };
  for (const Known& known : kNames) {
    if (known.container == decoder.container) return known.name;
  }
  std::string name = decoder.friendlyName;
  if (name.size() <= 1) return "?";
  for (std::string_view suffix : {" Decoder", " decoder"}) {
    size_t at = name.find(suffix);
    if (at != std::string::npos && at + suffix.size() == name.size()) {
      name.erase(at);
    }
  }
  return name;
}

}  // namespace Quarlo::View

// Shared thumbnails: the folder and file names (GLib's URI escaping and MD5), the stamp in the PNG text
// chunks, and the atomic write (libpng into a temporary file that is renamed into place).

#include "platform/thumbnails/shared_thumbnails.h"

#include <glib.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/imaging/png_memory.h"

namespace Quarlo::Platform {

namespace {

constexpr const char* kUriKey = "Thumb::URI";
constexpr const char* kMTimeKey = "Thumb::MTime";
constexpr const char* kSoftwareKey = "Software";
constexpr const char* kSoftware = "QuarloView";
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// --- Reading the stamp ---

// Reads the chunks up to the image data; false when libpng gave up.
bool ReadPngInfo(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  return true;
}

// --- Writing ---

// Straight (not premultiplied) RGBA rows, as PNG stores them.
std::vector<uint8_t> StraightRgba(int32_t width, int32_t height, const uint8_t* bgra) {
  std::vector<uint8_t> rgba(size_t(width) * height * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const uint8_t a = bgra[i + 3];
    const auto undo = [a](uint8_t c) { return a == 0 ? uint8_t{0} : uint8_t((c * 255 + a / 2) / a); };
    rgba[i] = undo(bgra[i + 2]);
    rgba[i + 1] = undo(bgra[i + 1]);
    rgba[i + 2] = undo(bgra[i]);
    rgba[i + 3] = a;
  }
  return rgba;
}

bool EncodePng(FILE* file, const ThumbnailStamp& stamp, int32_t width, int32_t height,
               const std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Imaging::PngLongJumpOnError,
                                            Imaging::PngIgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_text texts[3] = {};
  const char* keys[3] = {kUriKey, kMTimeKey, kSoftwareKey};
  const char* values[3] = {stamp.uri.c_str(), stamp.mtime.c_str(), kSoftware};
  for (int i = 0; i < 3; ++i) {
    texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
    texts[i].key = const_cast<char*>(keys[i]);
    texts[i].text = const_cast<char*>(values[i]);
  }
  png_set_text(png, info, texts, 3);
  png_set_rows(png, info, const_cast<png_bytepp>(rows.data()));
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

std::string SharedThumbnailRoot(bool testMode) {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (IsAbsolute(cache)) return std::string(cache) + "/thumbnails";
  if (testMode) return {};
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) return std::string(home) + "/.cache/thumbnails";
  return {};
}

std::string FileUri(const std::string& absolutePath) {
  if (!IsAbsolute(absolutePath.c_str())) return {};
  gchar* uri = g_filename_to_uri(absolutePath.c_str(), nullptr, nullptr);
  if (!uri) return {};
  std::string result(uri);
  g_free(uri);
  return result;
}

std::string LargeThumbnailPath(const std::string& root, const std::string& uri) {
  gchar* digest = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.data(), static_cast<gssize>(uri.size()));
  std::string path = root + "/large/" + digest + ".png";
  g_free(digest);
  return path;
}

std::optional<int64_t> FileModifiedSeconds(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<int64_t>(info.st_mtime);
}

std::optional<ThumbnailStamp> ReadThumbnailStamp(std::span<const uint8_t> png) {
  if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) return std::nullopt;
  png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Imaging::PngLongJumpOnError,
                                            Imaging::PngIgnoreWarning);
  if (!read) return std::nullopt;
  png_infop info = png_create_info_struct(read);
  Imaging::PngByteReader reader{png};
  std::optional<ThumbnailStamp> stamp;
  if (info) {
    png_set_read_fn(read, &reader, Imaging::PngReadFromBytes);
    if (ReadPngInfo(read, info)) {
      png_textp texts = nullptr;
      const int count = png_get_text(read, info, &texts, nullptr);
      ThumbnailStamp found;
      for (int i = 0; i < count; ++i) {
        if (std::strcmp(texts[i].key, kUriKey) == 0) found.uri.assign(texts[i].text, texts[i].text_length);
        if (std::strcmp(texts[i].key, kMTimeKey) == 0)
          found.mtime.assign(texts[i].text, texts[i].text_length);
      }
      if (!found.uri.empty() && !found.mtime.empty()) stamp = std::move(found);
    }
  }
  png_destroy_read_struct(&read, info ? &info : nullptr, nullptr);
  return stamp;
}

bool WriteSharedThumbnail(const std::string& path, const ThumbnailStamp& stamp, int32_t width, int32_t height,
                          const uint8_t* premultipliedBgra) {
  if (width < 1 || height < 1 || width > kLargeThumbnailSide || height > kLargeThumbnailSide ||
      !premultipliedBgra) {
    return false;
  }
  const std::string folder = FolderOf(path);
  if (g_mkdir_with_parents(folder.c_str(), kFolderMode) != 0) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temporary.c_str());
    return false;
  }
  std::vector<uint8_t> rgba = StraightRgba(width, height, premultipliedBgra);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) rows[size_t(y)] = rgba.data() + size_t(y) * width * 4;
  bool written = fchmod(fd, kFileMode) == 0 && EncodePng(file, stamp, width, height, rows);
  written = std::fclose(file) == 0 && written;
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace Quarlo::Platform

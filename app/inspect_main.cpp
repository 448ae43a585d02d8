// quarloview-inspect: opens a path exactly as the viewer does and prints the picture list, so that
// users and scripts can see what the viewer would page through.
//
// Output: "open ok items=N start=S kind=folder|archive" then one tab-separated line per picture
// (index, name, size, modified as FILETIME, entry index), or "open failed status=Z" (Z is the
// archive status, 0 when the path is missing or unreadable). Exit code 0 when the source opened.

#include <cinttypes>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/inspect_decode.h"
#include "app/inspect_frames.h"
#include "core/loaded_picture.h"
#include "core/picture_list.h"

namespace {

using Quarlo::View::PictureItem;
using Quarlo::View::PictureList;
using Quarlo::View::SourceKind;

constexpr char kUsage[] =
    "usage: quarloview-inspect PATH [--start NAME]\n"
    "Lists the pictures the viewer would show for PATH (a folder, a picture or a ZIP/CBZ archive).\n"
    "  --start NAME  archive entry to start at\n"
    "  --frames      decode each picture; after its line, one line per frame: tab, index, delay in ms,\n"
    "                1 when the frame memory cap cut the animation short (else 0)\n"
    "  --decode      decode each picture as the viewer would and append: width, height, frames, format,\n"
    "                bits per pixel, transparency 0/1, EXIF orientation, LoadError number, decode ms\n"
    "  --thumb       with --decode, decode as the image list's thumbnails (256 x 256 box)\n"
    "Names are printed with \\\\, \\t, \\n and other control bytes escaped.\n";

struct InspectOptions {
  std::string path;
  std::string start;
  bool frames = false;
  bool decode = false;
  bool thumb = false;
};

bool ParseOptions(int argc, char** argv, InspectOptions& options) {
  bool havePath = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--start" && i + 1 < argc) {
      options.start = argv[++i];
    } else if (arg == "--frames") {
      options.frames = true;
    } else if (arg == "--decode") {
      options.decode = true;
    } else if (arg == "--thumb") {
      options.thumb = true;
    } else if (arg.starts_with("--") || havePath) {
      return false;
    } else {
      options.path = arg;
      havePath = true;
    }
  }
  return havePath;
}

// File names may hold any byte but "/" and NUL; escaping keeps one picture per line.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// The columns of one picture; options that add columns append them here.
std::string ItemLine(const PictureList& list, size_t index, const InspectOptions& options) {
  const PictureItem& item = list.items[index];
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "\t%" PRIu64 "\t%" PRId64 "\t%" PRIu64, item.size, item.modified,
                item.entryIndex);
  std::string line = std::to_string(index) + '\t' + Escaped(item.name) + numbers;
  if (options.decode) line += App::DecodeColumns(item, list.reader.get(), options.thumb);
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  InspectOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  Quarlo::View::OpenedSource opened = Quarlo::View::OpenSource(options.path, options.start);
  if (!opened.outcome.succeeded) {
    std::printf("open failed status=%u\n", static_cast<unsigned>(opened.outcome.archiveStatus));
    return 1;
  }
  const PictureList& list = opened.list;
  std::printf("open ok items=%zu start=%" PRIu64 " kind=%s\n", list.items.size(), opened.outcome.startIndex,
              list.kind == SourceKind::Archive ? "archive" : "folder");
  for (size_t i = 0; i < list.items.size(); ++i) {
    std::string line = ItemLine(list, i, options);
    line += '\n';
    if (options.frames) {
      Quarlo::View::DecodeOptions viewer;
      line += App::FrameLines(*Quarlo::View::LoadPicture(list.items[i], list.reader.get(), viewer, false));
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

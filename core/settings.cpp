#include "core/settings.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <variant>

#include "core/decimal_text.h"
#include "platform/registry/hive.h"

namespace Quarlo::View {

namespace {

using Platform::HiveBatch;
using Platform::HiveKey;
using Platform::HiveStatus;
using Platform::HiveStrings;

constexpr std::string_view kKeysSubkey = "Keys";
constexpr uint32_t kAnyDword = std::numeric_limits<uint32_t>::max();

// A 32-bit integer field and the stored values it accepts, compared unsigned, so that a stored
// negative number fails every range that does not span all 32 bits.
struct Number {
  int Settings::*field;
  uint32_t low = 0;
  uint32_t high = kAnyDword;
};
// A field holding one of a few choices, stored as the number of its value; the numbers from 0 to
// that of the last value are accepted.
template <typename Choice>
struct OneOf {
  Choice Settings::*field;
  Choice last;
};
// Spelled out for compilers without deduction for aggregates (clang before 17, which the fuzz build uses).
template <typename Choice>
OneOf(Choice Settings::*, Choice) -> OneOf<Choice>;
struct Flag {
  bool Settings::*field;
};
struct Text {
  std::string Settings::*field;
};
struct Album {
  size_t index;
};
struct RecentList {};
struct BookmarkList {};

struct Field {
  const char* name;
  std::variant<Number, Flag, Text, Album, RecentList, BookmarkList, OneOf<LanguageChoice>, OneOf<ThemeChoice>,
               OneOf<EndAction>, OneOf<FitMode>, OneOf<PageMode>, OneOf<BackgroundKind>, OneOf<WheelAction>,
               OneOf<DoubleClickAction>, OneOf<ConvertFormat>, OneOf<ConvertResize>>
      target;
};

// Every stored value, in the order they are read and written. The chords live in the "Keys"
// subkey and are handled on their own.
const Field kFields[] = {
    {"Language", OneOf{&Settings::language, LanguageChoice::English}},
    {"Theme", OneOf{&Settings::theme, ThemeChoice::Dark}},
    {"SingleWindow", Flag{&Settings::singleWindow}},
    {"ConfirmDelete", Flag{&Settings::confirmDelete}},
    {"EscCloses", Flag{&Settings::escCloses}},
    {"EndAction", OneOf{&Settings::endAction, EndAction::Ask}},
    {"Recent", RecentList{}},
    {"FitMode", OneOf{&Settings::fitMode, FitMode::ActualSize}},
    {"PageMode", OneOf{&Settings::pageMode, PageMode::Webtoon}},
    {"RightToLeft", Flag{&Settings::rightToLeft}},
    {"CoverAlone", Flag{&Settings::coverAlone}},
    {"WideAlone", Flag{&Settings::wideAlone}},
    {"PageGap", Number{&Settings::pageGap, 0, 200}},
    {"ZoomLock", Flag{&Settings::zoomLock}},
    {"SmoothScaling", Flag{&Settings::smoothScaling}},
    {"ApplyOrientation", Flag{&Settings::applyOrientation}},
    {"ColorManage", Flag{&Settings::colorManage}},
    {"Background", OneOf{&Settings::background, BackgroundKind::Custom}},
    {"CustomBackground", Number{&Settings::customBackground, 0, 0xFFFFFF}},
    {"Checkerboard", Flag{&Settings::checkerboard}},
    {"PinBars", Flag{&Settings::pinBars}},
    {"SideArrows", Flag{&Settings::sideArrows}},
    {"Notices", Flag{&Settings::notices}},
    {"AlwaysOnTop", Flag{&Settings::alwaysOnTop}},
    {"Wheel", OneOf{&Settings::wheel, WheelAction::Scroll}},
    {"DoubleClick", OneOf{&Settings::doubleClick, DoubleClickAction::Nothing}},
    {"ClickSides", Flag{&Settings::clickSides}},
    {"SlideSeconds", Number{&Settings::slideSeconds, 1, 3600}},
    {"SlideLoop", Flag{&Settings::slideLoop}},
    {"SlideRandom", Flag{&Settings::slideRandom}},
    {"SlideFullscreen", Flag{&Settings::slideFullscreen}},
    {"Album1", Album{0}},
    {"Album2", Album{1}},
    {"Album3", Album{2}},
    {"Album4", Album{3}},
    {"AlbumMove", Flag{&Settings::albumMove}},
    {"ConvertFormat", OneOf{&Settings::convertFormat, ConvertFormat::Gif}},
    {"ConvertQuality", Number{&Settings::convertQuality, 1, 100}},
    {"ConvertLossless", Flag{&Settings::convertLossless}},
    {"ConvertResize", OneOf{&Settings::convertResize, ConvertResize::FitInBox}},
    {"ConvertLongEdge", Number{&Settings::convertLongEdge, 1, 65535}},
    {"ConvertPercent", Number{&Settings::convertPercent, 1, 1000}},
    {"ConvertBoxWidth", Number{&Settings::convertBoxWidth, 1, 65535}},
    {"ConvertBoxHeight", Number{&Settings::convertBoxHeight, 1, 65535}},
    {"ConvertEnlarge", Flag{&Settings::convertEnlarge}},
    {"ConvertFolder", Text{&Settings::convertFolder}},
    {"ConvertOverwrite", Flag{&Settings::convertOverwrite}},
    {"Bookmarks", BookmarkList{}},
    {"HasWindow", Flag{&Settings::hasWindow}},
    {"WindowX", Number{&Settings::windowX}},
    {"WindowY", Number{&Settings::windowY}},
    {"WindowWidth", Number{&Settings::windowWidth}},
    {"WindowHeight", Number{&Settings::windowHeight}},
    {"WindowMaximized", Flag{&Settings::windowMaximized}},
};

// Reads one field; a missing value, another type or a value out of range leaves the default.
struct FieldReader {
  const HiveKey& key;
  const char* name;
  Settings& settings;

  void operator()(const Number& number) const {
    if (auto read = ReadNumber(number.low, number.high)) settings.*number.field = static_cast<int>(*read);
  }
  template <typename Choice>
  void operator()(const OneOf<Choice>& choice) const {
    if (auto read = ReadNumber(0, static_cast<uint32_t>(choice.last)))
      settings.*choice.field = static_cast<Choice>(*read);
  }
  void operator()(const Flag& flag) const {
    if (auto read = key.GetDword(name); read.Ok()) settings.*flag.field = read.value != 0;
  }
  void operator()(const Text& text) const {
    if (auto read = key.GetString(name); read.Ok()) settings.*text.field = std::move(read.value);
  }
  void operator()(const Album& album) const {
    if (auto read = key.GetString(name); read.Ok()) settings.albums[album.index] = std::move(read.value);
  }
  void operator()(RecentList) const {
    auto read = key.GetStrings(name);
    if (!read.Ok()) return;
    if (read.value.size() > kMaxRecent) read.value.resize(kMaxRecent);
    settings.recent = std::move(read.value);
  }
  void operator()(BookmarkList) const {
    auto read = key.GetStrings(name);
    if (!read.Ok()) return;
    for (const std::string& entry : read.value) {
      if (settings.bookmarks.size() >= kMaxBookmarks) break;
      if (std::optional<Bookmark> bookmark = ParseBookmark(entry))
        settings.bookmarks.push_back(std::move(*bookmark));
    }
  }

  std::optional<uint32_t> ReadNumber(uint32_t low, uint32_t high) const {
    auto read = key.GetDword(name);
    if (!read.Ok() || read.value < low || read.value > high) return std::nullopt;
    return read.value;
  }
};

// Writes one field; true when the write succeeded. Deleting an empty list's value always counts as
// success, since a value that is already gone changes nothing.
struct FieldWriter {
  const HiveKey& key;
  const char* name;
  const Settings& settings;

  bool operator()(const Number& number) const {
    return WriteNumber(static_cast<uint32_t>(settings.*number.field));
  }
  template <typename Choice>
  bool operator()(const OneOf<Choice>& choice) const {
    return WriteNumber(static_cast<uint32_t>(settings.*choice.field));
  }
  bool operator()(const Flag& flag) const { return WriteNumber(settings.*flag.field ? 1u : 0u); }
  bool operator()(const Text& text) const { return key.Set(name, settings.*text.field) == HiveStatus::Ok; }
  bool operator()(const Album& album) const {
    return key.Set(name, settings.albums[album.index]) == HiveStatus::Ok;
  }
  bool operator()(RecentList) const {
    HiveStrings entries;
    std::copy_if(settings.recent.begin(), settings.recent.end(), std::back_inserter(entries),
                 [](const std::string& path) { return !path.empty(); });
    return WriteList(std::move(entries));
  }
  bool operator()(BookmarkList) const {
    HiveStrings entries;
    for (const Bookmark& bookmark : settings.bookmarks) entries.push_back(FormatBookmark(bookmark));
    return WriteList(std::move(entries));
  }

  bool WriteNumber(uint32_t value) const { return key.Set(name, value) == HiveStatus::Ok; }
  bool WriteList(HiveStrings entries) const {
    if (entries.empty()) {
      key.DeleteValue(name);
      return true;
    }
    return key.Set(name, std::move(entries)) == HiveStatus::Ok;
  }
};

void ReadKeys(const HiveKey& key, Settings& settings) {
  auto keys = key.Open(kKeysSubkey);
  if (!keys.Ok()) return;
  auto names = keys.value.ValueNames();
  if (!names.Ok()) return;
  for (const std::string& name : names.value) {
    if (auto text = keys.value.GetString(name); text.Ok()) settings.keys[name] = std::move(text.value);
  }
}

bool WriteKeys(const HiveKey& key, const Settings& settings) {
  key.DeleteTree(kKeysSubkey);
  if (settings.keys.empty()) return true;
  auto keys = key.Create(kKeysSubkey);
  if (!keys.Ok()) return false;
  bool ok = true;
  for (const auto& [name, text] : settings.keys) ok = keys.value.Set(name, text) == HiveStatus::Ok && ok;
  return ok;
}

}  // namespace

std::string FormatBookmark(const Bookmark& bookmark) {
  return bookmark.location + '\t' + bookmark.item + '\t' + std::to_string(bookmark.added);
}

std::optional<Bookmark> ParseBookmark(std::string_view text) {
  size_t first = text.find('\t');
  size_t last = text.rfind('\t');
  if (first == std::string_view::npos || first == last || first == 0) return std::nullopt;
  Bookmark bookmark;
  bookmark.location = std::string(text.substr(0, first));
  bookmark.item = std::string(text.substr(first + 1, last - first - 1));
  bookmark.added = ReadDecimal(text.substr(last + 1));
  return bookmark;
}

Settings Settings::Load(Platform::Hive& hive, const std::string& keyPath) {
  Settings settings;
  auto key = hive.Root().Open(keyPath);
  if (!key.Ok()) return settings;
  for (const Field& field : kFields) std::visit(FieldReader{key.value, field.name, settings}, field.target);
  ReadKeys(key.value, settings);
  return settings;
}

Settings Settings::Load(const std::string& keyPath) { return Load(Platform::UserHive(), keyPath); }

bool Settings::Save(Platform::Hive& hive, const std::string& keyPath) const {
  HiveBatch batch(hive);
  auto key = hive.Root().Create(keyPath);
  if (!key.Ok()) return false;
  bool ok = true;
  for (const Field& field : kFields) {
    ok = std::visit(FieldWriter{key.value, field.name, *this}, field.target) && ok;
  }
  ok = WriteKeys(key.value, *this) && ok;
  return batch.Commit() == HiveStatus::Ok && ok;
}

bool Settings::Save(const std::string& keyPath) const { return Save(Platform::UserHive(), keyPath); }

void Settings::AddRecent(const std::string& path) {
  if (path.empty()) return;
  std::erase(recent, path);
  recent.insert(recent.begin(), path);
  if (recent.size() > kMaxRecent) recent.resize(kMaxRecent);
}

}  // namespace Quarlo::View

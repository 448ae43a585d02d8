#include "core/date_time_text.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <algorithm>
#include <vector>

#include "core/file_time.h"
#include "core/strings.h"

namespace Quarlo::View {

namespace {

constexpr std::string_view kDefaultAmPmPattern = "%I:%M:%S %p";
constexpr std::string_view kFallbackDatePattern = "%Y-%m-%d";
constexpr std::string_view kFallbackTimePattern = "%H:%M";

// One piece of a strftime pattern: a conversion such as "%M" or "%OS", or a run of literal text.
struct PatternPiece {
  std::string text;
  bool conversion = false;
};

size_t ConversionLength(std::string_view pattern, size_t at) {
  size_t end = at + 1;
  while (end < pattern.size() &&
         std::string_view("EO_^#-0123456789").find(pattern[end]) != std::string_view::npos) {
    ++end;
  }
  return end < pattern.size() ? end + 1 - at : pattern.size() - at;
}

std::vector<PatternPiece> SplitPattern(std::string_view pattern) {
  std::vector<PatternPiece> pieces;
  size_t at = 0;
  while (at < pattern.size()) {
    if (pattern[at] == '%' && at + 1 < pattern.size() && pattern[at + 1] != '%') {
      const size_t length = ConversionLength(pattern, at);
      pieces.push_back({std::string(pattern.substr(at, length)), true});
      at += length;
      continue;
    }
    const size_t length = pattern[at] == '%' ? std::min<size_t>(2, pattern.size() - at) : 1;
    if (pieces.empty() || pieces.back().conversion) pieces.push_back({});
    pieces.back().text += pattern.substr(at, length);
    at += length;
  }
  return pieces;
}

std::string ExpandTimeShorthands(std::string_view pattern, std::string_view amPmPattern) {
  std::string expanded;
  for (const PatternPiece& piece : SplitPattern(pattern)) {
    if (piece.text == "%T") {
      expanded += "%H:%M:%S";
    } else if (piece.text == "%r") {
      expanded += amPmPattern.empty() || amPmPattern.find("%r") != std::string_view::npos
                      ? kDefaultAmPmPattern
                      : amPmPattern;
    } else {
      expanded += piece.text;
    }
  }
  return expanded;
}

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x80 && !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z');
}

bool IsWordByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct UserTimeLocale {
  locale_t locale = static_cast<locale_t>(0);  // kept for the life of the process
  std::string datePattern;
  std::string timePattern;
};

// The user's LC_TIME locale (LC_ALL, LC_TIME, LANG), read once like the system's user default;
// the C locale when the named one is not installed.
const UserTimeLocale& UserLocale() {
  static const UserTimeLocale user = [] {
    UserTimeLocale found;
    found.locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (found.locale == static_cast<locale_t>(0))
      found.locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    if (found.locale == static_cast<locale_t>(0)) return found;
    found.datePattern = nl_langinfo_l(D_FMT, found.locale);
    if (found.datePattern.empty()) found.datePattern = kFallbackDatePattern;
    found.timePattern = TimePatternWithoutSeconds(nl_langinfo_l(T_FMT, found.locale),
                                                  nl_langinfo_l(T_FMT_AMPM, found.locale));
    return found;
  }();
  return user;
}

}  // namespace

std::string TimePatternWithoutSeconds(std::string_view timePattern, std::string_view amPmPattern) {
  std::vector<PatternPiece> pieces = SplitPattern(ExpandTimeShorthands(timePattern, amPmPattern));
  std::string result;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const PatternPiece& piece = pieces[i];
    if (!piece.conversion || piece.text.back() != 'S') {
      result += piece.text;
      continue;
    }
    if (i > 0 && !pieces[i - 1].conversion) {
      while (!result.empty() && IsSeparator(result.back()) && result.back() != '%') result.pop_back();
    }
    if (i + 1 < pieces.size() && !pieces[i + 1].conversion) {
      std::string& next = pieces[i + 1].text;
      size_t word = 0;
      while (word < next.size() && IsWordByte(next[word])) ++word;
      next.erase(0, word);
    }
  }
  return result.empty() ? std::string(kFallbackTimePattern) : result;
}

std::string FormatDateTime(int64_t fileTime) {
  if (fileTime <= 0) return {};
  const UserTimeLocale& user = UserLocale();
  if (user.locale == static_cast<locale_t>(0)) return {};
  // Whole seconds since 1970, rounded down so that a time just before 1970 stays in 1969.
  const int64_t ticks = fileTime - FileTimeFromUnix(0, 0);
  const int64_t wholeSeconds =
      ticks / kFileTimeTicksPerSecond - (ticks % kFileTimeTicksPerSecond < 0 ? 1 : 0);
  const time_t seconds = static_cast<time_t>(wholeSeconds);
  tzset();  // follow a change of TZ, as the system's conversion follows the current time zone
  tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return {};
  const std::string pattern = user.datePattern + " " + user.timePattern;
  char text[256];
  const size_t length = strftime_l(text, sizeof text, pattern.c_str(), &local, user.locale);
  return std::string(text, length);
}

}  // namespace Quarlo::View

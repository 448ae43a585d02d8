// Number and file-size texts. They use "." and "," whatever the locale, as the rest of the user
// interface does.

#include <charconv>
#include <iterator>

#include "core/strings.h"

namespace Quarlo::View {

namespace {

constexpr int kBytesText = 89;  // "{0} bytes"

}  // namespace

std::string FormatThousands(uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string result;
  result.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
    result += digits[i];
  }
  return result;
}

std::string FormatByteSize(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
  constexpr double kStep = 1024.0;
  if (bytes < 1024) return FormatText(kBytesText, {FormatThousands(bytes)});

  double size = static_cast<double>(bytes);
  int unit = -1;
  while (size >= kStep && unit < static_cast<int>(std::size(kUnits)) - 1) {
    size /= kStep;
    ++unit;
  }
  // Rounded as printf's "%.1f" / "%.0f" would, but never with a locale's decimal comma.
  char number[32];
  const int decimals = size < 10.0 ? 1 : 0;
  const auto written = std::to_chars(number, std::end(number), size, std::chars_format::fixed, decimals);
  return std::string(number, written.ptr) + " " + kUnits[unit];
}

}  // namespace Quarlo::View

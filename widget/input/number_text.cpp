// Reading and writing the text of number fields, independent of the C locale.

#include "widget/input/number_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Quarlo::Widget::Input {

bool IsNumberCharacter(char32_t c, bool allowSign, bool allowDecimals) {
  if ((c >= '0' && c <= '9') || c == ' ') return true;
  if (c == '-' || c == '+') return allowSign;
  if (c == '.' || c == ',') return allowDecimals;
  return false;
}

std::optional<double> ParseNumber(std::string_view text, std::string_view suffix) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!suffix.empty() && text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix)
    text.remove_suffix(suffix.size());
  std::string plain;
  for (char c : text) {
    if (c == ' ') continue;
    plain += c == ',' ? '.' : c;
  }
  std::string_view digits = plain;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end == digits.data() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatNumber(double value, int decimals) {
  // Negative zero reads as zero.
  return fmt::format("{:.{}f}", value == 0 ? 0.0 : value, std::max(decimals, 0));
}

}  // namespace Quarlo::Widget::Input

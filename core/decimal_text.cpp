#include "core/decimal_text.h"

#include <limits>

namespace Quarlo::View {

int64_t ReadDecimal(std::string_view text) {
  size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) return 0;
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  constexpr uint64_t kLimit = uint64_t{std::numeric_limits<int64_t>::max()};
  const uint64_t limit = negative ? kLimit + 1 : kLimit;
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  if (!negative) return static_cast<int64_t>(value);
  return value == kLimit + 1 ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(value);
}

}  // namespace Quarlo::View

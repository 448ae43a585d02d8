#pragma once
// Reading numbers out of stored texts the way the C library's strtoll does, so that stored values
// written by hand or damaged read the same everywhere they are stored.

#include <cstdint>
#include <string_view>

namespace Quarlo::View {

// strtoll's reading of a decimal number, without its locale and its need for a terminating NUL:
// leading white space, an optional sign, digits up to the first other character, saturated at the
// int64 limits; 0 when there are no digits.
int64_t ReadDecimal(std::string_view text);

}  // namespace Quarlo::View

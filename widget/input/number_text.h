#pragma once
// The text of a number field: what may be typed, how the text is read, and how a value is shown.

#include <optional>
#include <string>
#include <string_view>

namespace Quarlo::Widget::Input {

// Digits and spaces always; the minus and plus signs only when negative values are allowed; "." and ","
// only with decimals.
bool IsNumberCharacter(char32_t c, bool allowSign, bool allowDecimals);
// The number at the start of text once a trailing suffix is cut off, spaces are dropped (digit groups) and
// "," is read as ".". Nothing when no number starts the text.
std::optional<double> ParseNumber(std::string_view text, std::string_view suffix);
// The value with this many decimals (at least 0), the decimal point a full stop.
std::string FormatNumber(double value, int decimals);

}  // namespace Quarlo::Widget::Input

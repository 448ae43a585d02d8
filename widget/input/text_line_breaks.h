#pragma once
// Line breaks of multi-line text fields: inside the field every break is the one character U+2028 (LINE
// SEPARATOR), so that the caret steps over a break in one move; text coming in turns CR LF, lone CR and
// lone LF into it, text going out turns it into LF (the field's value) or CR LF (the clipboard).

#include <string>
#include <string_view>

namespace Quarlo::Widget::Input {

inline constexpr std::string_view kLineSeparator = "\u2028";

std::string ToFieldLineBreaks(std::string_view text);
// Every U+2028 becomes the given break.
std::string FromFieldLineBreaks(std::string_view text, std::string_view lineBreak);

}  // namespace Quarlo::Widget::Input

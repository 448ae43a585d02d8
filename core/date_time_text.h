#pragma once
// The locale-pattern step of FormatDateTime (core/strings.h), apart so that tests can give it the
// patterns of locales this machine may not have installed.

#include <string>
#include <string_view>

namespace Quarlo::View {

// A locale's strftime time pattern (its T_FMT) without the seconds: "%H:%M:%S" -> "%H:%M",
// "%I:%M:%S %p" -> "%I:%M %p", "%H시 %M분 %S초" -> "%H시 %M분". %T and %r are expanded first, %r to
// the locale's 12-hour pattern (its T_FMT_AMPM). The seconds go with the separator before them and
// the unit word after them. A pattern left empty becomes "%H:%M".
std::string TimePatternWithoutSeconds(std::string_view timePattern, std::string_view amPmPattern);

}  // namespace Quarlo::View

#pragma once
// The input method's composition as the toolkit reports it: native input methods count the caret in
// characters and attribute runs of characters, ImeEvent counts UTF-16 code units, as text boxes do.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "widget/input/events.h"

namespace Quarlo::Widget::Input {

// The attribute byte of a composition character, with the values of the Windows input-method attributes.
enum class ImeAttribute : uint8_t { Input = 0, TargetConverted = 1, Converted = 2, TargetNotConverted = 3 };

// Decodes the code point at utf8[at] and advances at past it; an invalid byte is U+FFFD and one byte long.
char32_t DecodeCodePoint(std::string_view utf8, size_t& at);
// The code points of UTF-8 text; an invalid byte stands for itself as U+FFFD.
std::vector<char32_t> CodePointsOf(std::string_view utf8);
// UTF-16 code units of UTF-8 text (the one count of "characters" text boxes and carets use).
size_t Utf16Length(std::string_view utf8);

// An update of the composition: text (UTF-8), the caret after this many code points, and one attribute per
// code point (missing ones are Input). The event carries the caret and one attribute per UTF-16 unit.
ImeEvent CompositionUpdate(std::string_view text, size_t caretCodePoints,
                           const std::vector<ImeAttribute>& attributes);

}  // namespace Quarlo::Widget::Input

#pragma once
// The program names icons by the code points of the Windows icon font; on Linux each of those is drawn
// with a glyph of the Material Icons font.

#include <string>

#include "widget/icon_set.h"

namespace Quarlo::Widget::Detail {

// The Material Icons glyph for an icon code point, as UTF-8; empty for a code point the program never uses.
std::string IconGlyph(char32_t codePoint);

}  // namespace Quarlo::Widget::Detail

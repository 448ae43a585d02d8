#pragma once
// The icons the program draws, named by their code points in the Windows icon font (Canvas::DrawIcon). The
// backend's glyph table (widget/detail/) defines which they are.

#include <vector>

namespace Quarlo::Widget::Detail {

// Every icon code point the backend maps to a glyph (the gallery draws them all; tests check each has one).
std::vector<char32_t> IconCodePoints();

}  // namespace Quarlo::Widget::Detail

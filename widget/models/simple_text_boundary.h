#pragma once
// The built-in boundaries: grapheme clusters by the rules of grapheme_break.h, and words as runs of one
// class (white space, letters and digits, kana) where symbols and ideographs stand alone.

#include "widget/models/text_boundary.h"

namespace Quarlo::Widget::Models {

enum class WordClass : uint8_t { Space = 0, Letter = 1, Symbol = 2, Ideograph = 3, Kana = 4 };

WordClass WordClassOf(char32_t c);

class SimpleTextBoundary : public ITextBoundary {
 public:
  size_t NextCharacterStop(std::string_view text, size_t index) const override;
  size_t PreviousCharacterStop(std::string_view text, size_t index) const override;
  size_t NextWordStop(std::string_view text, size_t index) const override;
  size_t PreviousWordStop(std::string_view text, size_t index) const override;
  std::string Name() const override;
};

}  // namespace Quarlo::Widget::Models

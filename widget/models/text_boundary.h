#pragma once
// Where the caret may stop in text: grapheme clusters (what one press of Left or Backspace passes over) and
// words (Ctrl+arrow moves). Text is UTF-8 and every index is a byte offset into it, as in text layouts.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace Quarlo::Widget::Models {

class ITextBoundary {
 public:
  virtual ~ITextBoundary() = default;
  // The text box asks for the next grapheme boundary after index; the text's size at or past the end.
  virtual size_t NextCharacterStop(std::string_view text, size_t index) const = 0;
  // The previous grapheme boundary before index; 0 at the start.
  virtual size_t PreviousCharacterStop(std::string_view text, size_t index) const = 0;
  // The next word boundary after index; the text's size at or past the end.
  virtual size_t NextWordStop(std::string_view text, size_t index) const = 0;
  // The previous word boundary before index; 0 at the start.
  virtual size_t PreviousWordStop(std::string_view text, size_t index) const = 0;
  // "icu" or "simple": which implementation answers.
  virtual std::string Name() const = 0;
};

// The ICU break iterators when they open, else the built-in rules (SimpleTextBoundary).
std::unique_ptr<ITextBoundary> CreateTextBoundary();

}  // namespace Quarlo::Widget::Models

// ICU break iterators over UTF-8 text, and the choice between them and the built-in rules.

#include "widget/models/icu_text_boundary.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <algorithm>

#include "widget/models/simple_text_boundary.h"

namespace Quarlo::Widget::Models {
namespace {

enum class Direction { Following, Preceding };

// Points the iterator at text and asks for the boundary after or before index; ICU failures and the end
// of iteration give the end of the text (following) or 0 (preceding).
size_t Query(UBreakIterator* iterator, std::string_view text, size_t index, Direction direction) {
  const size_t fallback = direction == Direction::Following ? text.size() : 0;
  UErrorCode status = U_ZERO_ERROR;
  UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
  if (U_FAILURE(status)) return fallback;
  ubrk_setUText(iterator, utext, &status);
  int32_t found = UBRK_DONE;
  if (U_SUCCESS(status)) {
    const auto at = static_cast<int32_t>(std::min(index, text.size()));
    found = direction == Direction::Following ? ubrk_following(iterator, at) : ubrk_preceding(iterator, at);
  }
  // The iterator keeps a shallow reference to the text; point it at nothing before the text goes.
  UErrorCode cleared = U_ZERO_ERROR;
  ubrk_setText(iterator, nullptr, 0, &cleared);
  utext_close(utext);
  if (U_FAILURE(status) || found == UBRK_DONE || found < 0) return fallback;
  return std::min(static_cast<size_t>(found), text.size());
}

}  // namespace

std::unique_ptr<IcuTextBoundary> IcuTextBoundary::Open() {
  UErrorCode status = U_ZERO_ERROR;
  UBreakIterator* characters = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
  if (U_FAILURE(status)) return nullptr;
  UBreakIterator* words = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  if (U_FAILURE(status)) {
    ubrk_close(characters);
    return nullptr;
  }
  return std::unique_ptr<IcuTextBoundary>(new IcuTextBoundary(characters, words));
}

IcuTextBoundary::IcuTextBoundary(UBreakIterator* characters, UBreakIterator* words)
    : characters_(characters), words_(words) {}

IcuTextBoundary::~IcuTextBoundary() {
  ubrk_close(characters_);
  ubrk_close(words_);
}

size_t IcuTextBoundary::NextCharacterStop(std::string_view text, size_t index) const {
  return Query(characters_, text, index, Direction::Following);
}

size_t IcuTextBoundary::PreviousCharacterStop(std::string_view text, size_t index) const {
  return Query(characters_, text, index, Direction::Preceding);
}

size_t IcuTextBoundary::NextWordStop(std::string_view text, size_t index) const {
  return Query(words_, text, index, Direction::Following);
}

size_t IcuTextBoundary::PreviousWordStop(std::string_view text, size_t index) const {
  return Query(words_, text, index, Direction::Preceding);
}

std::string IcuTextBoundary::Name() const { return "icu"; }

std::unique_ptr<ITextBoundary> CreateTextBoundary() {
  if (std::unique_ptr<IcuTextBoundary> icu = IcuTextBoundary::Open()) return icu;
  return std::make_unique<SimpleTextBoundary>();
}

}  // namespace Quarlo::Widget::Models

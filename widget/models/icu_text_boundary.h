#pragma once
// Grapheme and word boundaries from ICU's break iterators (the root locale's rules), run over the UTF-8
// text directly so that their indexes are byte offsets.

#include <memory>

#include "widget/models/text_boundary.h"

struct UBreakIterator;

namespace Quarlo::Widget::Models {

class IcuTextBoundary : public ITextBoundary {
 public:
  // Null when either iterator cannot be opened.
  static std::unique_ptr<IcuTextBoundary> Open();
  ~IcuTextBoundary() override;

  size_t NextCharacterStop(std::string_view text, size_t index) const override;
  size_t PreviousCharacterStop(std::string_view text, size_t index) const override;
  size_t NextWordStop(std::string_view text, size_t index) const override;
  size_t PreviousWordStop(std::string_view text, size_t index) const override;
  std::string Name() const override;

 private:
  IcuTextBoundary(UBreakIterator* characters, UBreakIterator* words);

  UBreakIterator* characters_;
  UBreakIterator* words_;
};

}  // namespace Quarlo::Widget::Models

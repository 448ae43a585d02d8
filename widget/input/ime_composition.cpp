#include "widget/input/ime_composition.h"

#include <string>

namespace Quarlo::Widget::Input {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;

// The length of a UTF-8 sequence from its lead byte, 0 for a byte that cannot lead one.
size_t SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

size_t Utf16Units(char32_t c) { return c >= kFirstSupplementary ? 2 : 1; }

}  // namespace

char32_t DecodeCodePoint(std::string_view text, size_t& at) {
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<uint8_t>(text[at]);
  const size_t length = SequenceLength(lead);
  if (length == 0 || at + length > text.size()) {
    ++at;
    return kReplacement;
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if (c < kSmallest[length] || c > kLastCodePoint || (c >= kSurrogateFirst && c <= kSurrogateLast)) {
    ++at;
    return kReplacement;
  }
  at += length;
  return c;
}

std::vector<char32_t> CodePointsOf(std::string_view utf8) {
  std::vector<char32_t> out;
  for (size_t at = 0; at < utf8.size();) out.push_back(DecodeCodePoint(utf8, at));
  return out;
}

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (char32_t c : CodePointsOf(utf8)) units += Utf16Units(c);
  return units;
}

ImeEvent CompositionUpdate(std::string_view text, size_t caretCodePoints,
                           const std::vector<ImeAttribute>& attributes) {
  ImeEvent e;
  e.kind = ImeEventKind::Updated;
  e.text = std::string(text);
  const std::vector<char32_t> codePoints = CodePointsOf(text);
  for (size_t i = 0; i < codePoints.size(); ++i) {
    const ImeAttribute attribute = i < attributes.size() ? attributes[i] : ImeAttribute::Input;
    const size_t units = Utf16Units(codePoints[i]);
    e.attributes.insert(e.attributes.end(), units, static_cast<uint8_t>(attribute));
    if (i < caretCodePoints) e.caret += static_cast<int32_t>(units);
  }
  return e;
}

}  // namespace Quarlo::Widget::Input

// Access-key markers, parsed over code points so that a key may be any character of the text.

#include "widget/input/access_key_text.h"

#include <cwctype>
#include <vector>

#include "widget/input/ime_composition.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr char32_t kLastBmp = 0xFFFF;

// The bytes of the code point that starts at text[at] (1 for a stray continuation byte).
size_t CodePointLength(std::string_view text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - at;
}

}  // namespace

AccessKeyText ParseAccessKey(std::string_view text) {
  AccessKeyText out;
  out.display.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '&') {
      const size_t n = CodePointLength(text, i);
      out.display.append(text.substr(i, n));
      i += n;
      continue;
    }
    if (i + 1 >= text.size()) break;
    if (text[i + 1] == '&') {
      out.display.push_back('&');
      i += 2;
      continue;
    }
    const size_t n = CodePointLength(text, i + 1);
    const std::vector<char32_t> points = CodePointsOf(text.substr(i + 1, n));
    const char32_t c = points.empty() ? 0 : points.front();
    if (out.key == 0 && c != 0 && c <= kLastBmp && !std::iswspace(static_cast<wint_t>(c))) {
      out.key = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
      out.underline = static_cast<int>(out.display.size());
      out.underlineBytes = static_cast<int>(n);
    }
    ++i;  // the marker is dropped; the character after it is copied on the next turn
  }
  return out;
}

}  // namespace Quarlo::Widget::Input

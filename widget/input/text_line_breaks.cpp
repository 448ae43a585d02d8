// Converting line breaks into and out of multi-line text fields.

#include "widget/input/text_line_breaks.h"

namespace Quarlo::Widget::Input {

std::string ToFieldLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += kLineSeparator;
    } else if (text[i] == '\n') {
      out += kLineSeparator;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FromFieldLineBreaks(std::string_view text, std::string_view lineBreak) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (text.substr(at, kLineSeparator.size()) == kLineSeparator) {
      out += lineBreak;
      at += kLineSeparator.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace Quarlo::Widget::Input

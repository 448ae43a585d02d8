#pragma once
// The text of the leaf controls: "&" access-key marks, the laid-out text each control keeps until its size
// changes, the text styles the theme gives them, and drawing text with its access key underlined.

#include <cstdint>
#include <string>
#include <string_view>

#include "widget/canvas.h"

namespace Quarlo::Widget {
class Widget;
struct Theme;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Input {

// A caller's text with its "&" marks resolved.
struct AccessKeyText {
  std::string display;    // the text as shown: "&&" became "&", every other "&" is gone
  char16_t key = 0;       // upper case, 0 when the text names none
  int32_t keyIndex = -1;  // byte offset of the key's character in display, -1 when none
};

// "&" before a character that is not white space makes the first such character the access key; "&&" shows
// one "&"; any other "&" (before white space, a second mark, a final one) is dropped. Characters outside the
// Basic Multilingual Plane never become keys, since key presses match single UTF-16 units.
AccessKeyText ParseAccessKey(std::string_view text);

// The body text of the theme (14 DIPs, regular weight, in every built-in theme): buttons, check boxes, tabs.
TextStyle BodyTextStyle(const Theme& theme);

// A control's text with its access key and the last layout made of it. The layout is made again only when
// the maximum size, the style or the options change, or after Drop (new DPI or theme).
class ControlText {
 public:
  // Stores text; with parseAccessKey the "&" marks are resolved, else the text is shown as given.
  void SetText(std::string_view text, bool parseAccessKey);
  void SetFormat(const TextStyle& style, const TextOptions& options);
  void Drop();

  const std::string& Text() const { return text_; }
  const std::string& Display() const { return parsed_.display; }
  char16_t AccessKey() const { return parsed_.key; }
  int32_t AccessKeyIndex() const { return parsed_.keyIndex; }
  const TextStyle& Style() const { return style_; }

  // The layout of the display text within maximum; empty for empty text or when text cannot be laid out.
  const TextLayout& LayoutFor(Size maximum);
  // Draws the last layout at origin in color, underlining the access key's character while owner's host
  // shows access keys (Alt held, or the desktop's keyboard cues).
  void Draw(Canvas& canvas, const Widget& owner, Point origin, Color color) const;

 private:
  std::string text_;
  AccessKeyText parsed_;
  TextStyle style_;
  TextOptions options_;
  TextLayout layout_;
  Size maximum_{-1, -1};
};

}  // namespace Quarlo::Widget::Input

// TextBox: the layout of its display text, its content rectangle, scrolling the caret into view, hit tests
// and its measure.

#include <algorithm>
#include <cmath>

#include "widget/input/control_text.h"
#include "widget/input/text_box.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kContentLeft = 10;
constexpr float kContentRightGap = 8;
constexpr float kRevealButtonRoom = 28;
constexpr float kMultiLinePadding = 6;
constexpr float kUnboundedSingleWidth = 200;
constexpr float kUnboundedMultiWidth = 240;
constexpr float kCaretMargin = 2;
constexpr float kCapsLockHintPadding = 8;
constexpr float kCapsLockHintFallback = 60;
constexpr float kHintSizeReduction = 2;
constexpr const char* kCapsLockText = "Caps Lock";

}  // namespace

TextStyle TextBox::Style() const { return styleOverride ? *styleOverride : BodyTextStyle(GetTheme()); }

const TextLayout& TextBox::Layout() {
  if (!layoutDirty_) return layout_;
  TextOptions options;
  Size maximum{kUnbounded, kUnbounded};
  if (multiLine_) {
    options.wrapping = TextWrapping::Wrap;
    maximum.width = std::max(ContentRect().width, 1.0f);
  }
  layout_ = TextLayout::Create(model_.DisplayText(), Style(), maximum, options);
  layoutDirty_ = false;
  return layout_;
}

float TextBox::CapsLockHintWidth() {
  if (capsLockHintWidth_ >= 0) return capsLockHintWidth_;
  TextStyle style = Style();
  style.size -= kHintSizeReduction;
  const float width = TextLayout::Measure(kCapsLockText, style, kUnbounded, TextOptions{}).width;
  capsLockHintWidth_ = width > 0 ? std::ceil(width) + kCapsLockHintPadding : kCapsLockHintFallback;
  return capsLockHintWidth_;
}

bool TextBox::ShowsRevealButton() const {
  return model_.masked && revealButton && (IsFocused() || model_.revealed) && !model_.Text().empty();
}

bool TextBox::ShowsCapsLockHint() const {
  return model_.masked && capsLockWarning && !multiLine_ && IsFocused() && CapsLockIsOn();
}

Rect TextBox::ContentRect() const {
  const Size size = ActualSize();
  const float x = leftInset_ + kContentLeft;
  float right = size.width - kContentRightGap - rightInset_;
  if (ShowsRevealButton()) right -= kRevealButtonRoom;
  if (ShowsCapsLockHint()) right -= capsLockHintWidth_ >= 0 ? capsLockHintWidth_ : kCapsLockHintFallback;
  const float width = std::max(right - x, 0.0f);
  if (multiLine_)
    return Rect{x, kMultiLinePadding, width, std::max(size.height - 2 * kMultiLinePadding, 0.0f)};
  return Rect{x, 0, width, size.height};
}

Rect TextBox::RevealButtonRect() const {
  const Size size = ActualSize();
  return Rect{size.width - 32 - rightInset_, 4, kRevealButtonRoom, std::max(size.height - 8, 0.0f)};
}

float TextBox::TextTop() const {
  if (multiLine_) return kMultiLinePadding - scrollY_;
  const float height = layout_ ? layout_.Metrics().height : 0;
  return std::floor((ActualSize().height - height) * 0.5f);
}

TextLayout::CaretHit TextBox::CaretHit() {
  const TextLayout& layout = Layout();
  if (!layout) return {};
  TextLayout::CaretHit hit = layout.HitTestTextPosition(model_.DisplayCaret(), false);
  if (hit.lineHeight <= 0) hit.lineHeight = layout.Metrics().height;
  return hit;
}

void TextBox::ScrollToCaret() {
  if (ShowsCapsLockHint()) CapsLockHintWidth();
  const TextLayout& layout = Layout();
  if (!layout) {
    scrollX_ = scrollY_ = 0;
    return;
  }
  const Rect content = ContentRect();
  const TextLayout::CaretHit hit = CaretHit();
  if (!multiLine_) {
    const float caret = hit.point.x;
    if (caret - scrollX_ > content.width - kCaretMargin) scrollX_ = caret - content.width + kCaretMargin;
    if (caret < scrollX_) scrollX_ = caret;
    scrollX_ =
        std::clamp(scrollX_, 0.0f, std::max(layout.Metrics().width + kCaretMargin - content.width, 0.0f));
    return;
  }
  const float top = hit.point.y;
  const float bottom = top + hit.lineHeight;
  if (bottom - scrollY_ > content.height) scrollY_ = bottom - content.height;
  if (top < scrollY_) scrollY_ = top;
  scrollY_ =
      std::clamp(scrollY_, 0.0f, std::max(std::max(bottom, layout.Metrics().height) - content.height, 0.0f));
  scrollX_ = 0;
}

Rect TextBox::CaretRect() const {
  const Rect content = ContentRect();
  if (!layout_) return Rect{content.x, TextTop(), 0, ActualSize().height};
  TextLayout::CaretHit hit = layout_.HitTestTextPosition(model_.DisplayCaret(), false);
  const float height = hit.lineHeight > 0 ? hit.lineHeight : layout_.Metrics().height;
  return Rect{content.x - scrollX_ + hit.point.x, TextTop() + hit.point.y, 0, height};
}

size_t TextBox::HitPosition(Point local) {
  const TextLayout& layout = Layout();
  if (!layout) return 0;
  const Rect content = ContentRect();
  const float x = local.x - content.x + scrollX_;
  const float y = multiLine_ ? local.y - TextTop() : layout.Metrics().height * 0.5f;
  const TextLayout::PointHit hit = layout.HitTestPoint(Point{x, y});
  size_t position = model_.FromDisplay(hit.position);
  // The trailing half of a character puts the caret after the whole character.
  return hit.trailing ? model_.NextCharacter(position) : position;
}

Size TextBox::MeasureOverride(Size available) {
  const Theme& theme = GetTheme();
  if (!multiLine_) {
    return Size{std::isinf(available.width) ? kUnboundedSingleWidth : available.width, theme.controlHeight};
  }
  const float lineHeight = std::ceil(TextLayout::Measure("A", Style(), kUnbounded, TextOptions{}).height);
  return Size{std::isinf(available.width) ? kUnboundedMultiWidth : available.width,
              static_cast<float>(visibleLines) * lineHeight + 2 * kMultiLinePadding};
}

void TextBox::ArrangeOverride(Size) {
  layoutDirty_ = true;
  ScrollToCaret();
}

}  // namespace Quarlo::Widget::Input

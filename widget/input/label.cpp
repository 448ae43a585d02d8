// Label: the theme's text styles, measure and paint of wrapped or trimmed text, and the access key.

#include "widget/input/label.h"

#include <cmath>

#include "widget/host.h"

namespace Quarlo::Widget::Input {
namespace {

// Theme metrics that hold the text sizes.
constexpr size_t kBodySizeMetric = 3;
constexpr size_t kCaptionSizeMetric = 4;
constexpr size_t kSubtitleSizeMetric = 5;
constexpr float kTitleSize = 28;
constexpr int32_t kRegularWeight = 400;
constexpr int32_t kSemiboldWeight = 600;

}  // namespace

Label::Label(const std::string& text, LabelStyle style) : style_(style) {
  role = Role::Text;
  tabStop = false;
  text_.SetText(text, false);
}

void Label::SetText(const std::string& text) {
  text_.SetText(text, useAccessKey_);
  InvalidateMeasure();
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::NameChanged);
}

void Label::SetTone(TextTone value) {
  tone_ = value;
  InvalidateVisual();
}

void Label::SetWrap(bool value) {
  wrap_ = value;
  InvalidateMeasure();
}

void Label::SetEllipsis(bool value) {
  ellipsis_ = value;
  InvalidateMeasure();
}

void Label::SetTextAlignment(TextAlignment value) {
  alignment_ = value;
  InvalidateVisual();
}

void Label::SetStyle(LabelStyle value) {
  style_ = value;
  InvalidateMeasure();
}

void Label::SetBold(bool value) {
  bold_ = value;
  InvalidateMeasure();
}

void Label::SetUseAccessKey(bool value) {
  useAccessKey_ = value;
  text_.SetText(std::string(text_.Text()), value);
  InvalidateMeasure();
}

void Label::SetTarget(Widget* target) { target_ = target ? target->Link() : nullptr; }

TextStyle Label::TextStyleFor(const Theme& theme) const {
  TextStyle style;
  style.weight = kRegularWeight;
  switch (style_) {
    case LabelStyle::Caption:
      style.size = theme.metrics[kCaptionSizeMetric];
      break;
    case LabelStyle::Subtitle:
      style.size = theme.metrics[kSubtitleSizeMetric];
      style.weight = kSemiboldWeight;
      break;
    case LabelStyle::Title:
      style.size = kTitleSize;
      style.weight = kSemiboldWeight;
      break;
    default:
      style.size = theme.metrics[kBodySizeMetric];
      break;
  }
  if (bold_) style.weight = kSemiboldWeight;
  return style;
}

void Label::Reformat() {
  TextOptions options;
  options.alignment = alignment_;
  options.wrapping = wrap_ ? TextWrapping::Wrap : TextWrapping::None;
  options.trimming = ellipsis_ ? TextTrimming::CharacterEllipsis : TextTrimming::None;
  text_.SetFormat(TextStyleFor(GetTheme()), options);
}

char16_t Label::AccessKey() const { return useAccessKey_ ? text_.AccessKey() : 0; }

std::string Label::AccessibleName() const {
  std::string name = Widget::AccessibleName();
  return name.empty() ? text_.Display() : name;
}

const char* Label::ClassName() const { return "Label"; }

Widget* Label::NextFocusable() const {
  Widget* scope = Parent() != nullptr ? Parent() : const_cast<Label*>(this);
  Widget* found = nullptr;
  bool passed = false;
  ForEachInTree(scope, [&](Widget* w) {
    if (w == this) {
      passed = true;
    } else if (passed && found == nullptr && w->CanTakeFocus()) {
      found = w;
    }
  });
  return found;
}

void Label::OnAccessKey() {
  Widget* target = target_ ? target_->widget : nullptr;
  if (target == nullptr) target = NextFocusable();
  if (target != nullptr) target->Focus(FocusReason::Keyboard);
}

void Label::OnThemeChanged() { InvalidateMeasure(); }
void Label::OnScaleChanged() { text_.Drop(); }

Size Label::MeasureOverride(Size available) {
  Reformat();
  const float width = wrap_ || ellipsis_ ? available.width : kUnbounded;
  const TextLayout& layout = text_.LayoutFor(Size{width, kUnbounded});
  if (!layout) return {};
  const Size size = layout.Metrics();
  return Size{std::ceil(size.width), std::ceil(size.height)};
}

void Label::Paint(Canvas& canvas) {
  Reformat();
  const TextLayout& layout = text_.LayoutFor(ActualSize());
  if (!layout) return;
  const Theme& theme = GetTheme();
  text_.Draw(canvas, *this, Point{},
             IsEnabledInTree() ? theme.Tone(tone_) : theme.Get(ThemeColor::TextDisabled));
}

}  // namespace Quarlo::Widget::Input

// NumberBox: the value and its text, stepping by keys, wheel and spin buttons, and the overlay it draws over
// its inner text box.

#include "widget/input/number_box.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/input/control_text.h"
#include "widget/input/events.h"
#include "widget/input/number_text.h"
#include "widget/input/text_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kSpinRoom = 26;
constexpr float kSpinFromRight = 25;
constexpr float kSpinWidth = 22;
constexpr float kSpinTop = 3;
constexpr float kSuffixPadding = 8;
constexpr float kSuffixGap = 2;
constexpr float kUnboundedWidth = 160;
constexpr char32_t kUpGlyph = 0xE70E;
constexpr char32_t kDownGlyph = 0xE70D;
constexpr float kGlyphSize = 8;
constexpr double kFirstRepeatSeconds = 0.45;
constexpr double kRepeatSeconds = 0.07;

}  // namespace

NumberBox::NumberBox() {
  role = Role::Edit;
  tabStop = false;
  auto box = std::make_unique<TextBox>();
  box_ = AddChild(std::move(box));
  box_->contextMenuEnabled = true;
  box_->charFilter = [this](char32_t c) { return IsNumberCharacter(c, minimum_<0, decimals_> 0); };
  box_->validator = [this](const std::string& text) { return Validate(text); };
  box_->onFocusLost = [this] { Commit(); };
  ShowValue();
}

NumberBox::~NumberBox() { StopRepeat(); }

const char* NumberBox::ClassName() const { return "NumberBox"; }
std::string NumberBox::ValueText() const { return box_->GetText(); }
bool NumberBox::SupportsValue() const { return true; }
bool NumberBox::IsReadOnly() const { return box_->ReadOnlyText(); }
bool NumberBox::Writable() const { return !box_->ReadOnlyText() && IsEnabledInTree(); }

RangeInfo NumberBox::Range() const {
  RangeInfo info;
  info.supported = true;
  info.minimum = minimum_;
  info.maximum = maximum_;
  info.value = value_;
  return info;
}

bool NumberBox::SetValueText(const std::string& text) {
  if (!Writable()) return false;
  box_->SetText(text);
  Commit();
  return true;
}

std::string NumberBox::Validate(const std::string& text) const {
  if (text.empty()) return {};
  const std::optional<double> number = ParseNumber(text, suffix_);
  return number && *number >= minimum_ && *number <= maximum_ ? std::string() : outOfRangeMessage;
}

void NumberBox::ShowValue() { box_->SetText(FormatNumber(value_, decimals_)); }

void NumberBox::SetValue(double value, bool notify) {
  const double clamped = std::clamp(value, minimum_, maximum_);
  const bool changed = clamped != value_;
  value_ = clamped;
  ShowValue();
  InvalidateVisual();
  if (changed) RaiseAutomationEvent(AutomationEvent::RangeValueChanged);
  if (changed && notify) {
    if (auto callback = onValueChanged) callback(value_);
  }
}

void NumberBox::SetRange(double minimum, double maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  value_ = std::clamp(value_, minimum_, maximum_);
  ShowValue();
  InvalidateVisual();
}

void NumberBox::SetDecimals(int decimals) {
  decimals_ = std::max(decimals, 0);
  ShowValue();
}

void NumberBox::SetSuffix(std::string suffix) {
  suffix_ = std::move(suffix);
  UpdateInsets();
}

void NumberBox::SetShowSpinButtons(bool show) {
  showSpinButtons_ = show;
  UpdateInsets();
}

void NumberBox::UpdateInsets() {
  suffixWidth_ =
      suffix_.empty()
          ? 0
          : std::ceil(TextLayout::Measure(suffix_, BodyTextStyle(GetTheme()), kUnbounded, {}).width) +
                kSuffixPadding;
  box_->SetInsets(0, suffixWidth_ + (showSpinButtons_ ? kSpinRoom : 0));
  InvalidateVisual();
}

void NumberBox::OnThemeChanged() { UpdateInsets(); }

bool NumberBox::Commit() {
  const std::string text = box_->GetText();
  const std::optional<double> number = text.empty() ? std::nullopt : ParseNumber(text, suffix_);
  if (number) {
    SetValue(*number, true);
  } else {
    ShowValue();
  }
  box_->SetError({});
  return number.has_value();
}

void NumberBox::Step(int direction, bool large) {
  Commit();
  const double step = large ? largeStep : smallStep;
  SetValue(value_ + (direction > 0 ? step : -step), true);
  box_->SelectAll();
}

// --- Keys and wheel ---

bool NumberBox::OnKeyDown(const KeyEvent& event) {
  if ((event.modifiers & (Modifier::Ctrl | Modifier::Alt)) != 0 || box_->ReadOnlyText()) return false;
  switch (event.key) {
    case Vk::Enter:
      // Enter takes the typed number over and goes on, so that a dialog's default button still answers it.
      Commit();
      return false;
    case Vk::PageUp:
      Step(1, true);
      return true;
    case Vk::PageDown:
      Step(-1, true);
      return true;
    case Vk::Up:
      Step(1, false);
      return true;
    case Vk::Down:
      Step(-1, false);
      return true;
    default:
      return false;
  }
}

bool NumberBox::OnWheel(const WheelEvent& event) {
  if (!box_->IsFocused() || box_->ReadOnlyText() || event.deltaY == 0) return false;
  Step(event.deltaY > 0 ? 1 : -1, false);
  return true;
}

// --- Spin buttons ---

Rect NumberBox::PartRect(SpinPart part) const {
  const Size size = ActualSize();
  const float height = std::max((size.height - 2 * kSpinTop) / 2, 0.0f);
  const float y = part == SpinPart::Up ? kSpinTop : kSpinTop + height;
  return Rect{size.width - kSpinFromRight, y, kSpinWidth, height};
}

SpinPart NumberBox::PartAt(Point local) const {
  if (!showSpinButtons_ || !IsEnabledInTree()) return SpinPart::None;
  if (PartRect(SpinPart::Up).Contains(local)) return SpinPart::Up;
  if (PartRect(SpinPart::Down).Contains(local)) return SpinPart::Down;
  return SpinPart::None;
}

bool NumberBox::AtLimit(SpinPart part) const {
  return part == SpinPart::Up ? value_ >= maximum_ : value_ <= minimum_;
}

Widget* NumberBox::HitTest(Point local) {
  if (IsVisible() && PartAt(local) != SpinPart::None) return this;
  return Widget::HitTest(local);
}

bool NumberBox::OnPointerDown(const PointerEvent& event) {
  const SpinPart part = PartAt(event.position);
  if (event.button != PointerButton::Left || part == SpinPart::None || box_->ReadOnlyText()) return false;
  box_->Focus(FocusReason::Pointer);
  pressedPart_ = part;
  CapturePointer();
  Step(part == SpinPart::Up ? 1 : -1, false);
  StopRepeat();
  repeatTimer_ = StartTimer(
      kFirstRepeatSeconds,
      [this] {
        repeatTimer_ = 0;
        if (pressedPart_ == SpinPart::None) return;
        RepeatStep();
        repeatTimer_ = StartTimer(
            kRepeatSeconds, [this] { RepeatStep(); }, true);
      },
      false);
  InvalidateVisual();
  return true;
}

void NumberBox::RepeatStep() {
  if (pressedPart_ == SpinPart::None) return;
  Step(pressedPart_ == SpinPart::Up ? 1 : -1, false);
}

void NumberBox::StopRepeat() {
  if (repeatTimer_ != 0) CancelTimer(repeatTimer_);
  repeatTimer_ = 0;
}

bool NumberBox::OnPointerUp(const PointerEvent& event) {
  if (event.button != PointerButton::Left || pressedPart_ == SpinPart::None) return false;
  pressedPart_ = SpinPart::None;
  StopRepeat();
  ReleasePointerCapture();
  InvalidateVisual();
  return true;
}

bool NumberBox::OnPointerMove(const PointerEvent& event) {
  const SpinPart part = PartAt(event.position);
  if (part == hoverPart_) return false;
  hoverPart_ = part;
  InvalidateVisual();
  return false;
}

void NumberBox::OnPointerLeave() {
  hoverPart_ = SpinPart::None;
  InvalidateVisual();
}

void NumberBox::OnCaptureLost() {
  pressedPart_ = SpinPart::None;
  StopRepeat();
  InvalidateVisual();
}

// --- Layout and overlay ---

Size NumberBox::MeasureOverride(Size available) {
  if (std::isinf(available.width)) available.width = kUnboundedWidth;
  box_->Measure(available);
  return Size{available.width, box_->DesiredSize().height};
}

void NumberBox::ArrangeOverride(Size final) { box_->Arrange(Rect{0, 0, final.width, final.height}); }

void NumberBox::PaintOverlay(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const bool enabled = IsEnabledInTree();
  if (!suffix_.empty()) {
    const TextLayout suffix =
        TextLayout::Create(suffix_, BodyTextStyle(theme), Size{kUnbounded, kUnbounded}, {});
    const float x = size.width - (showSpinButtons_ ? kSpinRoom : 0) - suffixWidth_ + kSuffixGap;
    canvas.DrawText(suffix, Point{x, std::floor((size.height - suffix.Metrics().height) / 2)},
                    theme.Get(enabled ? ThemeColor::TextSecondary : ThemeColor::TextDisabled));
  }
  if (!showSpinButtons_) return;
  for (SpinPart part : {SpinPart::Up, SpinPart::Down}) {
    const Rect rect = PartRect(part);
    const bool active = enabled && !AtLimit(part);
    if (active && (part == hoverPart_ || part == pressedPart_)) {
      canvas.FillRoundedRect(
          Rect{rect.x + 1, rect.y + 1, 20, std::max(rect.height - 2, 0.0f)}, theme.cornerRadius - 1,
          theme.Get(part == pressedPart_ ? ThemeColor::SubtleFillPressed : ThemeColor::SubtleFillHover));
    }
    canvas.DrawIcon(part == SpinPart::Up ? kUpGlyph : kDownGlyph, rect, kGlyphSize,
                    theme.Get(active ? ThemeColor::TextSecondary : ThemeColor::TextDisabled));
  }
}

}  // namespace Quarlo::Widget::Input

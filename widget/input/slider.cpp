// Slider: value snapping, the thumb geometry, pointer dragging, key and wheel steps, and its paint.

#include "widget/input/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kThumbDiameter = 20;
constexpr float kThumbRadius = kThumbDiameter / 2;
constexpr float kTrackThickness = 4;
constexpr float kTrackRadius = 2;
// The track runs this far beyond the thumb centre's travel at each end.
constexpr float kTrackOverhang = 2;
constexpr float kLength = 160;
constexpr float kMinimumBreadth = 32;
constexpr double kSmallShareOfRange = 0.01;
constexpr double kLargeShareOfRange = 0.1;
constexpr int kSignificantDigits = 6;
// The inner dot's radius at rest, and its growth and shrinking as thumbState goes to 1 and 2.
constexpr float kDotRadius = 6;
constexpr float kDotShrinkPerState = 2;
constexpr float kOuterRingGap = 3;
constexpr float kOuterRingWidth = 2;
constexpr float kInnerRingGap = 1;
constexpr float kInnerRingWidth = 1;

enum class ThumbState { Rest = 0, Hovered = 1, Pressed = 2 };

float DotRadius(float state) {
  return state <= 1 ? kDotRadius + state : kDotRadius + 1 - (state - 1) * kDotShrinkPerState;
}

Rect Outset(Rect r, float gap) { return Rect{r.x - gap, r.y - gap, r.width + 2 * gap, r.height + 2 * gap}; }

}  // namespace

Slider::Slider(ControlOrientation orientation) : orientation_(orientation) { role = Role::Slider; }

double Slider::EffectiveSmallChange() const {
  return smallChange > 0 ? smallChange : (maximum_ - minimum_) * kSmallShareOfRange;
}

double Slider::EffectiveLargeChange() const {
  return largeChange > 0 ? largeChange : (maximum_ - minimum_) * kLargeShareOfRange;
}

double Slider::Snap(double value) const {
  // NaN would stick (every comparison with it fails); it stands for the minimum.
  const double x = std::isnan(value) ? minimum_ : std::clamp(value, minimum_, maximum_);
  if (!(smallChange > 0)) return x;
  return std::clamp(minimum_ + std::round((x - minimum_) / smallChange) * smallChange, minimum_, maximum_);
}

void Slider::SetValue(double value) {
  const double x = Snap(value);
  if (x == value_) return;
  value_ = x;
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::RangeValueChanged);
  if (onValueChanged) {
    auto callback = onValueChanged;
    callback(value_);
  }
}

void Slider::SetRange(double minimum, double maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  if (Snap(value_) != value_) {
    SetValue(value_);
    return;
  }
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::RangeValueChanged);
}

float Slider::TravelLength() const {
  const Size size = ActualSize();
  return std::max((Vertical() ? size.height : size.width) - kThumbDiameter, 0.0f);
}

Point Slider::ThumbCentre() const {
  const Size size = ActualSize();
  const double range = maximum_ - minimum_;
  const auto f = static_cast<float>(range > 0 ? (value_ - minimum_) / range : 0);
  const float along = TravelLength() * f;
  if (Vertical()) return Point{size.width * 0.5f, size.height - kThumbRadius - along};
  return Point{kThumbRadius + along, size.height * 0.5f};
}

Rect Slider::ThumbRect() const {
  const Point c = ThumbCentre();
  return Rect{c.x - kThumbRadius, c.y - kThumbRadius, kThumbDiameter, kThumbDiameter};
}

double Slider::ValueAt(Point local) const {
  const float length = TravelLength();
  if (length <= 0) return minimum_;
  const float c = Vertical() ? ActualSize().height - kThumbRadius - (dragOffset_ + local.y)
                             : dragOffset_ + local.x - kThumbRadius;
  return minimum_ + std::clamp(static_cast<double>(c) / length, 0.0, 1.0) * (maximum_ - minimum_);
}

bool Slider::IsFocusable() const { return true; }
int32_t Slider::Orientation() const { return Vertical() ? 2 : 1; }
const char* Slider::ClassName() const { return "Slider"; }

RangeInfo Slider::Range() const {
  RangeInfo info;
  info.supported = true;
  info.minimum = minimum_;
  info.maximum = maximum_;
  info.value = value_;
  info.smallChange = EffectiveSmallChange();
  info.largeChange = EffectiveLargeChange();
  return info;
}

bool Slider::SetRangeValue(double value) {
  if (!IsEnabledInTree()) return false;
  SetValue(value);
  return true;
}

std::string Slider::ValueText() const {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", kSignificantDigits, value_);
  return text;
}

bool Slider::OnPointerDown(const PointerEvent& event) {
  if (event.button != PointerButton::Left) return false;
  const Point centre = ThumbCentre();
  if (ThumbRect().Contains(event.position)) {
    dragOffset_ = Vertical() ? centre.y - event.position.y : centre.x - event.position.x;
  } else {
    dragOffset_ = 0;
  }
  dragging_ = true;
  thumbState_.AnimateTo(static_cast<float>(ThumbState::Pressed), GetTheme().transitionSeconds);
  SetValue(ValueAt(event.position));
  return true;
}

bool Slider::OnPointerMove(const PointerEvent& event) {
  if (!dragging_) return false;
  SetValue(ValueAt(event.position));
  return true;
}

bool Slider::OnPointerUp(const PointerEvent& event) {
  if (event.button != PointerButton::Left) return false;
  dragging_ = false;
  AnimateThumb();
  return true;
}

void Slider::OnCaptureLost() {
  dragging_ = false;
  AnimateThumb();
}

void Slider::AnimateThumb() {
  const ThumbState state = IsPressed() || dragging_ ? ThumbState::Pressed
                           : IsHovered()            ? ThumbState::Hovered
                                                    : ThumbState::Rest;
  thumbState_.AnimateTo(static_cast<float>(state), GetTheme().transitionSeconds);
}

bool Slider::OnKeyDown(const KeyEvent& event) {
  if (event.modifiers != 0) return false;
  switch (event.key) {
    case Vk::PageUp:
      SetValue(value_ + EffectiveLargeChange());
      return true;
    case Vk::PageDown:
      SetValue(value_ - EffectiveLargeChange());
      return true;
    case Vk::End:
      SetValue(maximum_);
      return true;
    case Vk::Home:
      SetValue(minimum_);
      return true;
    case Vk::Up:
    case Vk::Right:
      SetValue(value_ + EffectiveSmallChange());
      return true;
    case Vk::Left:
    case Vk::Down:
      SetValue(value_ - EffectiveSmallChange());
      return true;
    default:
      return false;
  }
}

bool Slider::OnWheel(const WheelEvent& event) {
  if (event.deltaY == 0 || !IsEnabledInTree()) return false;
  SetValue(value_ + event.deltaY * EffectiveSmallChange());
  return true;
}

void Slider::OnVisualStateChanged() {
  AnimateThumb();
  InvalidateVisual();
}

void Slider::OnFocusChanged(bool) { InvalidateVisual(); }

Size Slider::MeasureOverride(Size) {
  const float breadth = std::max(kMinimumBreadth, GetTheme().controlHeight);
  return Vertical() ? Size{breadth, kLength} : Size{kLength, breadth};
}

void Slider::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const bool enabled = IsEnabledInTree();
  PaintTrack(canvas, theme, enabled);
  PaintThumb(canvas, theme, enabled);
}

void Slider::PaintTrack(Canvas& canvas, const Theme& theme, bool enabled) {
  const Size size = ActualSize();
  const float length = TravelLength() + 2 * kTrackOverhang;
  const float start = kThumbRadius - kTrackOverhang;
  const Point centre = ThumbCentre();
  const Color fill = theme.Get(enabled ? ThemeColor::Accent : ThemeColor::AccentDisabled);
  if (Vertical()) {
    const float x = (size.width - kTrackThickness) * 0.5f;
    canvas.FillRoundedRect(Rect{x, start, kTrackThickness, length}, kTrackRadius,
                           theme.Get(ThemeColor::FaintOverlay));
    const float end = size.height - start;
    canvas.FillRoundedRect(Rect{x, centre.y, kTrackThickness, std::max(end - centre.y, 0.0f)}, kTrackRadius,
                           fill);
    return;
  }
  const float y = (size.height - kTrackThickness) * 0.5f;
  canvas.FillRoundedRect(Rect{start, y, length, kTrackThickness}, kTrackRadius,
                         theme.Get(ThemeColor::FaintOverlay));
  canvas.FillRoundedRect(Rect{start, y, std::max(centre.x - start, 0.0f), kTrackThickness}, kTrackRadius,
                         fill);
}

void Slider::PaintThumb(Canvas& canvas, const Theme& theme, bool enabled) {
  const Point centre = ThumbCentre();
  canvas.FillEllipse(centre, kThumbRadius, kThumbRadius, theme.Get(ThemeColor::PopupBackground));
  const Color outline = theme.Get(enabled ? ThemeColor::ControlBorder : ThemeColor::Divider);
  if (IsVisibleBorder(outline)) {
    canvas.StrokeEllipse(centre, kThumbRadius, kThumbRadius, outline, HairlineWidth(canvas.Scale()));
  }
  ThemeColor dot = ThemeColor::Accent;
  if (!enabled) {
    dot = ThemeColor::AccentDisabled;
  } else if (IsPressed() || dragging_) {
    dot = ThemeColor::AccentPressed;
  } else if (IsHovered()) {
    dot = ThemeColor::AccentHover;
  }
  const float radius = DotRadius(thumbState_.Value());
  canvas.FillEllipse(centre, radius, radius, theme.Get(dot));
}

void Slider::PaintOverlay(Canvas& canvas) {
  if (!IsFocusVisualShown()) return;
  const Theme& theme = GetTheme();
  const Rect thumb = ThumbRect();
  canvas.StrokeRoundedRect(Outset(thumb, kOuterRingGap), kThumbRadius + kOuterRingGap,
                           theme.Get(ThemeColor::StrongForeground), kOuterRingWidth);
  canvas.StrokeRoundedRect(Outset(thumb, kInnerRingGap), kThumbRadius + kInnerRingGap,
                           theme.Get(ThemeColor::InverseSurface), kInnerRingWidth);
}

}  // namespace Quarlo::Widget::Input

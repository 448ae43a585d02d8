// ScrollBar: range and value, thumb geometry, pointer and key input, auto-hide fading and painting.

#include "widget/list/scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/host.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::List {

namespace {

constexpr double kMinimumThumbLength = 20;
constexpr float kThinThickness = 2;  // the thumb across the bar when not expanded
constexpr float kExpandedExtra = 4;  // added to the thin thickness when fully expanded
constexpr float kFarEdgeGap = 2;     // between the thumb and the bar's far edge
constexpr double kRepeatSeconds = 0.06;
constexpr int kFirstRepeatTick = 6;  // the held part acts again from this tick (about 0.36 s) on
constexpr double kExpandSeconds = 0.12;
constexpr double kRevealSeconds = 0.08;
constexpr double kHideSeconds = 0.35;
constexpr double kIdleSeconds = 1;  // rest before the thin thumb fades out
constexpr double kWheelLines = 3;   // small steps per wheel notch
constexpr float kTrackAlpha = 0.92f;
constexpr float kArrowGlyphSize = 8;
constexpr float kVisibleThreshold = 0.01f;
constexpr float kDragAlpha = 1;
constexpr float kHoverAlpha = 0.9f;
constexpr float kRestAlpha = 0.55f;

constexpr char32_t kGlyphUp = 0xE70E;
constexpr char32_t kGlyphDown = 0xE70D;
constexpr char32_t kGlyphLeft = 0xE76B;
constexpr char32_t kGlyphRight = 0xE76C;

Color Faded(Color c, float factor) { return c.WithAlpha(c.a * factor); }

}  // namespace

ScrollBar::ScrollBar(ScrollOrientation orientation) : orientation_(orientation) {}

ScrollBar::~ScrollBar() {
  StopRepeat();
  CancelTimer(hideTimerId_);
}

// --- Range and value ---

double ScrollBar::MaxValue() const { return std::max(extent_ - viewport_, 0.0); }

void ScrollBar::SetRange(double extent, double viewport) {
  extent_ = extent > 0 ? extent : 0;
  viewport_ = viewport > 0 ? viewport : 0;
  value_ = std::clamp(value_, 0.0, MaxValue());
  InvalidateVisual();
}

bool ScrollBar::StoreValue(double value) {
  if (std::isnan(value)) {
    return false;
  }
  value = std::clamp(value, 0.0, MaxValue());
  if (value == value_) {
    return false;
  }
  value_ = value;
  InvalidateVisual();
  return true;
}

void ScrollBar::SetValue(double value) {
  if (StoreValue(value) && onScroll) {
    onScroll(value_);
  }
}

void ScrollBar::SetValueSilently(double value) {
  if (StoreValue(value)) {
    Reveal();
  }
}

void ScrollBar::SetAutoHide(bool autoHide) {
  if (autoHide == autoHide_) {
    return;
  }
  autoHide_ = autoHide;
  CancelTimer(hideTimerId_);
  hideTimerId_ = 0;
  fade_.Set(autoHide ? 0 : 1);
}

// --- Geometry ---

double ScrollBar::Length() const {
  Size size = ActualSize();
  return Vertical() ? size.height : size.width;
}

double ScrollBar::TrackLength() const {
  return std::max(Length() - (showArrows ? 2 * kArrowLength : 0), 0.0);
}

bool ScrollBar::Thumb(ThumbSpan& span) const {
  double track = TrackLength();
  if (!(extent_ > viewport_ && viewport_ > 0 && track > 0)) {
    return false;
  }
  span.length = std::clamp(viewport_ * track / extent_, std::min(track, kMinimumThumbLength), track);
  span.start = (track - span.length) * std::clamp(value_ / (extent_ - viewport_), 0.0, 1.0) +
               (showArrows ? kArrowLength : 0);
  return true;
}

Rect ScrollBar::ThumbRect() const {
  ThumbSpan span;
  if (!Thumb(span)) {
    return {};
  }
  float thickness = expand_.Value() * kExpandedExtra + kThinThickness;
  Size size = ActualSize();
  auto start = static_cast<float>(span.start);
  auto length = static_cast<float>(span.length);
  if (Vertical()) {
    return Rect{size.width - kFarEdgeGap - thickness, start, thickness, length};
  }
  return Rect{start, size.height - kFarEdgeGap - thickness, length, thickness};
}

ScrollBar::Part ScrollBar::PartAt(Point local) const {
  Size size = ActualSize();
  if (!IsScrollable() || !Rect{0, 0, size.width, size.height}.Contains(local)) {
    return Part::None;
  }
  double along = Along(local);
  if (showArrows && along < kArrowLength) {
    return Part::LineBack;
  }
  if (showArrows && along >= Length() - kArrowLength) {
    return Part::LineForward;
  }
  ThumbSpan span;
  if (!Thumb(span)) {
    return Part::None;
  }
  if (along < span.start) {
    return Part::PageBack;
  }
  return along >= span.start + span.length ? Part::PageForward : Part::Thumb;
}

double ScrollBar::PageStep() const { return largeStep > 0 ? largeStep : viewport_; }

void ScrollBar::PerformPart(Part part) {
  switch (part) {
    case Part::LineBack:
      SetValue(value_ - smallStep);
      break;
    case Part::LineForward:
      SetValue(value_ + smallStep);
      break;
    case Part::PageBack:
      SetValue(value_ - PageStep());
      break;
    case Part::PageForward:
      SetValue(value_ + PageStep());
      break;
    case Part::None:
    case Part::Thumb:
      break;
  }
}

// --- Widget slots ---

Widget* ScrollBar::HitTest(Point local) { return IsScrollable() ? Widget::HitTest(local) : nullptr; }

bool ScrollBar::IsFocusable() const { return true; }

bool ScrollBar::IsTabStop() const { return false; }

Quarlo::Widget::Role ScrollBar::Role() const { return Role::ScrollBar; }

std::string ScrollBar::AccessibleName() const {
  std::string name = Widget::AccessibleName();
  if (!name.empty()) {
    return name;
  }
  return ToolkitString(Vertical() ? ToolkitText::VerticalScrollBar : ToolkitText::HorizontalScrollBar);
}

RangeInfo ScrollBar::Range() const {
  RangeInfo info;
  info.supported = IsScrollable();
  info.maximum = MaxValue();
  info.value = value_;
  return info;
}

const char* ScrollBar::ClassName() const { return "ScrollBar"; }

Size ScrollBar::MeasureOverride(Size) { return Vertical() ? Size{kThickness, 0} : Size{0, kThickness}; }

// --- Pointer ---

bool ScrollBar::OnPointerDown(const PointerEvent& event) {
  Part part = PartAt(event.position);
  if (event.button != PointerButton::Left || part == Part::None) {
    return false;
  }
  Focus(FocusReason::Pointer);
  lastPointer_ = event.position;
  if (part == Part::Thumb) {
    ThumbSpan span;
    Thumb(span);
    dragging_ = true;
    dragOffset_ = static_cast<float>(Along(event.position) - span.start);
  } else {
    StopRepeat();
    pressedPart_ = part;
    PerformPart(part);
    StartRepeat(part);
  }
  expand_.AnimateTo(1, kExpandSeconds, Easing::EaseOutCubic);
  InvalidateVisual();
  return true;
}

void ScrollBar::StartRepeat(Part part) {
  repeatTicks_ = 0;
  repeatTimerId_ = StartTimer(
      kRepeatSeconds,
      [this, part] {
        if (++repeatTicks_ < kFirstRepeatTick) {
          return;
        }
        bool page = part == Part::PageBack || part == Part::PageForward;
        if (!page || PartAt(lastPointer_) == part) {
          PerformPart(part);
        }
      },
      true);
}

void ScrollBar::StopRepeat() {
  CancelTimer(repeatTimerId_);
  repeatTimerId_ = 0;
}

bool ScrollBar::OnPointerMove(const PointerEvent& event) {
  lastPointer_ = event.position;
  Reveal();
  if (!dragging_) {
    Part part = PartAt(event.position);
    if (part != hoverPart_) {
      hoverPart_ = part;
      InvalidateVisual();
    }
    return false;
  }
  ThumbSpan span;
  if (!Thumb(span)) {
    return true;
  }
  double travel = TrackLength() - span.length;
  if (travel <= 0) {
    return true;  // the thumb fills the track: there is nothing to drag along
  }
  double p = Along(event.position) - dragOffset_ - (showArrows ? kArrowLength : 0);
  SetValue(MaxValue() * std::clamp(p / travel, 0.0, 1.0));
  return true;
}

void ScrollBar::EndPress() {
  StopRepeat();
  dragging_ = false;
  pressedPart_ = Part::None;
  bool expanded = IsScrollable() && (pointerInside_ || IsHovered());
  expand_.AnimateTo(expanded ? 1 : 0, kExpandSeconds, Easing::EaseOutCubic);
}

bool ScrollBar::OnPointerUp(const PointerEvent&) {
  EndPress();
  InvalidateVisual();
  return true;
}

void ScrollBar::OnCaptureLost() { EndPress(); }

void ScrollBar::OnDetached() {
  // The host drops a detached widget's timers and input roles; forget them so that a later host starts
  // from rest.
  StopRepeat();
  CancelTimer(hideTimerId_);
  hideTimerId_ = 0;
  dragging_ = false;
  pressedPart_ = Part::None;
  hoverPart_ = Part::None;
  pointerInside_ = false;
}

void ScrollBar::OnPointerEnter() {
  pointerInside_ = true;
  Reveal();
  if (IsScrollable()) {
    expand_.AnimateTo(1, kExpandSeconds, Easing::EaseOutCubic);
  }
}

void ScrollBar::OnPointerLeave() {
  pointerInside_ = false;
  if (autoHide_ && fade_.Value() > 0) {
    ArmHideTimer();
  }
  hoverPart_ = Part::None;
  AnimateExpand();
  InvalidateVisual();
}

// --- Wheel and keys ---

bool ScrollBar::OnWheel(const WheelEvent& event) {
  if (!IsScrollable()) {
    return false;
  }
  double notches = event.deltaY != 0 ? event.deltaY : event.deltaX;
  SetValue(value_ - notches * smallStep * kWheelLines);
  return true;
}

bool ScrollBar::OnKeyDown(const KeyEvent& event) {
  if (!IsScrollable()) {
    return false;
  }
  switch (event.key) {
    case Vk::PageUp:
      SetValue(value_ - PageStep());
      return true;
    case Vk::PageDown:
      SetValue(value_ + PageStep());
      return true;
    case Vk::End:
      SetValue(MaxValue());
      return true;
    case Vk::Home:
      SetValue(0);
      return true;
    case Vk::Left:
    case Vk::Up:
      SetValue(value_ - smallStep);
      return true;
    case Vk::Right:
    case Vk::Down:
      SetValue(value_ + smallStep);
      return true;
    default:
      return false;
  }
}

// --- Expansion and fading ---

bool ScrollBar::WantsExpanded() const {
  return IsScrollable() && (pointerInside_ || IsHovered() || dragging_ || pressedPart_ != Part::None);
}

void ScrollBar::AnimateExpand() {
  expand_.AnimateTo(WantsExpanded() ? 1 : 0, kExpandSeconds, Easing::EaseOutCubic);
}

void ScrollBar::OnVisualStateChanged() { AnimateExpand(); }

void ScrollBar::OnThemeChanged() {
  bool expanded = IsScrollable() && (pointerInside_ || IsHovered() || dragging_);
  expand_.Set(expanded ? 1 : 0);
  bool hidePending = hideTimerId_ != 0 && GetHost() && GetHost()->HasTimer(hideTimerId_);
  fade_.Set(!autoHide_ || hidePending || pointerInside_ ? 1 : 0);
}

void ScrollBar::Reveal() {
  if (!autoHide_ || !IsScrollable()) {
    return;
  }
  if (fade_.Value() < 1) {
    FadeTo(1, kRevealSeconds);
  }
  ArmHideTimer();
}

void ScrollBar::FadeTo(float target, double seconds) {
  // Activity arrives every frame while the owner glides; restarting the fade each time would hold it
  // at its start.
  if (fade_.IsAnimating() && fadeTarget_ == target) {
    return;
  }
  fadeTarget_ = target;
  fade_.AnimateTo(target, seconds, Easing::EaseOutCubic);
}

void ScrollBar::ArmHideTimer() {
  CancelTimer(hideTimerId_);
  hideTimerId_ = StartTimer(
      kIdleSeconds, [this] { OnHideTimer(); }, false);
}

void ScrollBar::OnHideTimer() {
  hideTimerId_ = 0;
  if (!pointerInside_ && !dragging_ && pressedPart_ == Part::None) {
    FadeTo(0, kHideSeconds);
  } else {
    ArmHideTimer();
  }
}

// --- Paint ---

void ScrollBar::Paint(Canvas& canvas) {
  if (!IsScrollable()) {
    return;
  }
  const Theme& theme = GetTheme();
  Size size = ActualSize();
  float expand = expand_.Value();
  if (expand > kVisibleThreshold) {
    Rect track{1, 1, size.width - 2, size.height - 2};
    canvas.FillRoundedRect(track, theme.cornerRadius,
                           Faded(theme.Get(ThemeColor::PopupBackground), expand * kTrackAlpha));
    canvas.StrokeRoundedRect(track, theme.cornerRadius, Faded(theme.Get(ThemeColor::ControlBorder), expand),
                             1 / canvas.Scale());
    if (showArrows) {
      Color glyph = Faded(theme.Get(ThemeColor::TextSecondary), expand);
      Rect back{0, 0, kArrowLength, kArrowLength};
      Rect forward = Vertical() ? Rect{0, size.height - kArrowLength, kArrowLength, kArrowLength}
                                : Rect{size.width - kArrowLength, 0, kArrowLength, kArrowLength};
      canvas.DrawIcon(Vertical() ? kGlyphUp : kGlyphLeft, back, kArrowGlyphSize, glyph);
      canvas.DrawIcon(Vertical() ? kGlyphDown : kGlyphRight, forward, kArrowGlyphSize, glyph);
    }
  }
  float visibility = std::max(expand, fade_.Value());
  Rect thumb = ThumbRect();
  if (visibility < kVisibleThreshold || thumb.width <= 0 || thumb.height <= 0) {
    return;
  }
  float emphasis = dragging_ ? kDragAlpha : hoverPart_ == Part::Thumb ? kHoverAlpha : kRestAlpha;
  Rect snapped = canvas.SnapRect(thumb);
  canvas.FillRoundedRect(snapped, std::min(snapped.width, snapped.height) / 2,
                         Faded(theme.Get(ThemeColor::TextSecondary), visibility * emphasis));
}

}  // namespace Quarlo::Widget::List

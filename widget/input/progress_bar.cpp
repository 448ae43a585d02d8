// ProgressBar: value clamping, the indeterminate sweep on the host's animator, and the track and fill.

#include "widget/input/progress_bar.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "widget/animator.h"
#include "widget/canvas.h"
#include "widget/host.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

// Theme metric that holds the progress bar thickness.
constexpr size_t kThicknessMetric = 10;
constexpr float kUnboundedWidth = 160;
constexpr float kMinimumHeight = 3;
// The sweeping segment's share of the track.
constexpr float kSegmentShare = 0.4f;
constexpr double kPercent = 100;
constexpr double kSmallStep = 1;
constexpr double kLargeStep = 10;

ThemeColor ToneColor(ProgressTone tone) {
  switch (tone) {
    case ProgressTone::Caution:
      return ThemeColor::Caution;
    case ProgressTone::Critical:
      return ThemeColor::Critical;
    default:
      return ThemeColor::Accent;
  }
}

}  // namespace

ProgressBar::Sweep::Sweep(ProgressBar* owner) : owner_(owner) { owner_->RegisterAnimation(this); }

ProgressBar::Sweep::~Sweep() {
  CancelAnimation();
  owner_->UnregisterAnimation(this);
}

void ProgressBar::Sweep::Start() {
  Host* host = owner_->GetHost();
  if (Running() || host == nullptr) return;
  animator_ = &host->GetAnimator();
  id_ = animator_->Start(
      0, 1, owner_->GetTheme().secondaryDuration, Easing::EaseInOutCubic,
      [owner = owner_](float phase) { owner->Advance(phase); }, {}, true);
}

void ProgressBar::Sweep::CancelAnimation() {
  if (animator_ != nullptr) animator_->Cancel(id_);
  animator_ = nullptr;
  id_ = 0;
}

ProgressBar::ProgressBar() { role = Role::ProgressBar; }

ProgressBar::~ProgressBar() = default;

void ProgressBar::SetValue(double value) {
  const double x = std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
  if (x == value_) return;
  value_ = x;
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::RangeValueChanged);
}

void ProgressBar::SetIndeterminate(bool value) {
  if (value == indeterminate_) return;
  indeterminate_ = value;
  if (!value) sweep_.CancelAnimation();
  InvalidateVisual();
}

void ProgressBar::SetThickness(float value) {
  thickness_ = value;
  InvalidateMeasure();
  InvalidateVisual();
}

void ProgressBar::SetTone(ProgressTone value) {
  tone_ = value;
  InvalidateVisual();
}

float ProgressBar::Thickness() const {
  return thickness_ > 0 ? thickness_ : GetTheme().metrics[kThicknessMetric];
}

void ProgressBar::Advance(float phase) {
  if (!indeterminate_ || !IsVisibleInTree()) {
    sweep_.CancelAnimation();
    return;
  }
  phase_ = phase;
  InvalidateVisual();
}

RangeInfo ProgressBar::Range() const {
  RangeInfo info;
  info.supported = true;
  info.minimum = 0;
  info.maximum = kPercent;
  info.value = value_ * kPercent;
  info.indeterminate = indeterminate_;
  info.smallChange = kSmallStep;
  info.largeChange = kLargeStep;
  info.readOnly = true;
  return info;
}

std::string ProgressBar::ValueText() const {
  if (indeterminate_) return {};
  return std::to_string(static_cast<int>(std::lround(value_ * kPercent))) + "%";
}

const char* ProgressBar::ClassName() const { return "ProgressBar"; }

void ProgressBar::OnDetached() { sweep_.CancelAnimation(); }

Size ProgressBar::MeasureOverride(Size available) {
  return Size{std::isinf(available.width) ? kUnboundedWidth : available.width,
              std::max(kMinimumHeight, Thickness())};
}

void ProgressBar::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const float t = Thickness();
  const float radius = t * 0.5f;
  const Rect track{0, std::floor((size.height - t) * 0.5f), size.width, t};
  canvas.FillRoundedRect(track, radius, theme.Get(ThemeColor::FaintOverlay));
  const Color fill = theme.Get(IsEnabledInTree() ? ToneColor(tone_) : ThemeColor::TextDisabled);
  if (indeterminate_) {
    sweep_.Start();
    const float segment = kSegmentShare * size.width;
    canvas.PushRoundedClip(track, radius);
    canvas.FillRoundedRect(Rect{(segment + size.width) * phase_ - segment, track.y, segment, t}, radius,
                           fill);
    canvas.PopClip();
    return;
  }
  if (value_ > 0) {
    const float width = std::min(size.width, std::max(size.width * static_cast<float>(value_), t));
    canvas.FillRoundedRect(Rect{0, track.y, width, t}, radius, fill);
  }
}

}  // namespace Quarlo::Widget::Input

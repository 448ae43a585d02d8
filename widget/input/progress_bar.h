#pragma once
// A thin progress bar: a fill for a share of 0 to 1, or, while indeterminate, a segment that sweeps along
// the track on the window's animator for as long as the bar is shown.

#include <cstdint>
#include <string>

#include "widget/widget.h"

namespace Quarlo::Widget {
class Animator;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Input {

enum class ProgressTone : int32_t { Accent = 0, Caution = 1, Critical = 2 };

class ProgressBar : public Widget {
 public:
  ProgressBar();
  ~ProgressBar() override;

  // Clamps to 0..1; repaints and tells accessibility when the value changed.
  void SetValue(double value);
  // While indeterminate the sweep runs from the first paint; leaving the state stops it.
  void SetIndeterminate(bool value);
  // The bar's thickness in DIPs; 0 or less means the theme's.
  void SetThickness(float value);
  void SetTone(ProgressTone value);

  double Value() const { return value_; }
  bool IsIndeterminate() const { return indeterminate_; }
  float Thickness() const;
  ProgressTone Tone() const { return tone_; }
  // Where the sweep is, 0 to 1.
  float Phase() const { return phase_; }
  bool IsSweeping() const { return sweep_.Running(); }

  RangeInfo Range() const override;
  std::string ValueText() const override;
  const char* ClassName() const override;
  void OnDetached() override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;

 private:
  // The repeating animator entry behind the sweep, cancelled with the bar's other animations when it leaves
  // its host.
  class Sweep final : public AnimatedMember {
   public:
    explicit Sweep(ProgressBar* owner);
    ~Sweep();
    Sweep(const Sweep&) = delete;
    Sweep& operator=(const Sweep&) = delete;

    void Start();
    bool Running() const { return id_ != 0; }
    void CancelAnimation() override;

   private:
    ProgressBar* owner_;
    Animator* animator_ = nullptr;
    int64_t id_ = 0;
  };

  // One step of the sweep: stores the phase, or stops when the bar no longer sweeps.
  void Advance(float phase);

  double value_ = 0;
  bool indeterminate_ = false;
  float thickness_ = 0;
  ProgressTone tone_ = ProgressTone::Accent;
  float phase_ = 0;
  Sweep sweep_{this};
};

}  // namespace Quarlo::Widget::Input

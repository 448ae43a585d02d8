#pragma once
// A numeric field: an inner text box whose text is read as a number on Enter, on focus loss and when
// stepping, within a range, with a number of decimals, an optional unit suffix and spin buttons. The value
// stays apart from the text until a commit; the text is formatted again whenever the value changes.

#include <cstdint>
#include <functional>
#include <string>

#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class TextBox;

enum class SpinPart : int32_t { None = 0, Up = 1, Down = 2 };

class NumberBox : public Widget {
 public:
  NumberBox();
  ~NumberBox() override;

  // maximum below minimum counts as minimum; the value is clamped and shown again.
  void SetRange(double minimum, double maximum);
  // Clamps, stores and shows the value; with notify, onValueChanged hears of a change.
  void SetValue(double value, bool notify);
  void SetDecimals(int decimals);
  void SetSuffix(std::string suffix);
  void SetShowSpinButtons(bool show);
  // Reads the text: true when it held a number (then the value, clamped); otherwise the text shows the
  // value again. Either way the error text goes.
  bool Commit();
  // One step up (direction > 0) or down, small or large, from the committed text.
  void Step(int direction, bool large);

  double Value() const { return value_; }
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  int Decimals() const { return decimals_; }
  TextBox& Box() const { return *box_; }
  SpinPart HoverPart() const { return hoverPart_; }
  SpinPart PressedPart() const { return pressedPart_; }

  double smallStep = 1;
  double largeStep = 10;
  std::string outOfRangeMessage = "Value out of range";
  std::function<void(double)> onValueChanged;

  // --- Widget ---
  Widget* HitTest(Point local) override;
  std::string ValueText() const override;
  bool SupportsValue() const override;
  bool IsReadOnly() const override;
  bool SetValueText(const std::string& text) override;
  RangeInfo Range() const override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnPointerLeave() override;
  void OnCaptureLost() override;
  bool OnWheel(const WheelEvent& event) override;
  bool OnKeyDown(const KeyEvent& event) override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void PaintOverlay(Canvas& canvas) override;
  void OnThemeChanged() override;

 private:
  void ShowValue();
  void UpdateInsets();
  std::string Validate(const std::string& text) const;
  SpinPart PartAt(Point local) const;
  Rect PartRect(SpinPart part) const;
  bool AtLimit(SpinPart part) const;
  bool Writable() const;
  void StopRepeat();
  void RepeatStep();

  TextBox* box_ = nullptr;
  double value_ = 0;
  double minimum_ = 0;
  double maximum_ = 100;
  int decimals_ = 0;
  std::string suffix_;
  bool showSpinButtons_ = true;
  float suffixWidth_ = 0;
  SpinPart hoverPart_ = SpinPart::None;
  SpinPart pressedPart_ = SpinPart::None;
  uint64_t repeatTimer_ = 0;
};

}  // namespace Quarlo::Widget::Input

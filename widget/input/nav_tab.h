#pragma once
// A radio button drawn as an entry of a vertical navigation list (the settings dialog's pages): a highlight
// while hovered or checked, and an accent bar at the left edge of the checked one.

#include <string>

#include "widget/input/radio_button.h"

namespace Quarlo::Widget::Input {

class NavTab : public RadioButton {
 public:
  NavTab(const std::string& text, const std::string& groupName);

  const char* ClassName() const override;
  void OnVisualStateChanged() override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  void PaintOverlay(Canvas& canvas) override;

 protected:
  void FormatText(ControlText& text) const override;
  // Nothing fades: a state change only repaints.
  void RefreshColors(bool animate) override;
};

}  // namespace Quarlo::Widget::Input

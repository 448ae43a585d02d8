#pragma once
// Widgets for layout and input tests: one with a fixed content size that counts its layout passes and
// records the constraints it was offered, and one that records the notifications it receives.

#include <memory>
#include <string>
#include <vector>

#include "widget/widget.h"

namespace Quarlo::Widget::Testing {

// Content of a fixed size; records every constraint MeasureOverride was given and every final size.
class Probe : public Widget {
 public:
  explicit Probe(Size content = {}) : content(content) {}

  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  bool IsFocusable() const override { return focusable; }
  bool IsTabStop() const override { return focusable && Widget::IsTabStop(); }
  void OnAttached() override { events->push_back("attached " + name); }
  void OnDetached() override { events->push_back("detached " + name); }
  void OnFocusChanged(bool now) override { events->push_back((now ? "focus " : "blur ") + name); }
  void OnCaptureLost() override { events->push_back("capture lost " + name); }
  void OnVisualStateChanged() override { ++visualStateChanges; }
  void OnThemeChanged() override { events->push_back("theme " + name); }
  void OnScaleChanged() override { events->push_back("scale " + name); }
  void OnDescendantFocused(Widget* w) override;

  Size content;
  bool focusable = false;
  std::string name;
  std::vector<Size> offered;   // constraints given to MeasureOverride
  std::vector<Size> arranged;  // sizes given to ArrangeOverride
  int visualStateChanges = 0;
  // Shared event log, so a test can see the order across several probes.
  std::shared_ptr<std::vector<std::string>> events = std::make_shared<std::vector<std::string>>();
};

// Makes a probe of a fixed content size, optionally named and sharing an event log.
std::unique_ptr<Probe> MakeProbe(Size content, std::string name = {},
                                 std::shared_ptr<std::vector<std::string>> events = nullptr);

}  // namespace Quarlo::Widget::Testing

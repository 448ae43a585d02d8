#include "support/test_widgets.h"

#include <algorithm>

namespace Quarlo::Widget::Testing {

Size Probe::MeasureOverride(Size available) {
  offered.push_back(available);
  // Children still take part, as in the base overlay panel.
  Size children = Widget::MeasureOverride(available);
  return Size{std::max(content.width, children.width), std::max(content.height, children.height)};
}

void Probe::ArrangeOverride(Size final) {
  arranged.push_back(final);
  Widget::ArrangeOverride(final);
}

void Probe::OnDescendantFocused(Widget* w) {
  auto* probe = dynamic_cast<Probe*>(w);
  events->push_back("descendant focused " + name + " <- " + (probe ? probe->name : std::string("?")));
}

std::unique_ptr<Probe> MakeProbe(Size content, std::string name,
                                 std::shared_ptr<std::vector<std::string>> events) {
  auto probe = std::make_unique<Probe>(content);
  probe->name = std::move(name);
  if (events) {
    probe->events = std::move(events);
  }
  return probe;
}

}  // namespace Quarlo::Widget::Testing

// RadioButton: group membership, exclusive checking, arrow-key moves and the round box with its dot.

#include "widget/input/radio_button.h"

#include <algorithm>
#include <memory>

#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kDotRadius = 5;
constexpr float kHoveredDotRadius = 6;
constexpr float kPressedDotRadius = 4;
// A dot this small is not drawn (the end of a fade-out).
constexpr float kSmallestDot = 0.05f;

// Runs f on each still living widget a list of links names.
template <typename F>
void ForEachLiving(const std::vector<std::shared_ptr<Detail::WidgetLink>>& links, F f) {
  for (const auto& link : links) {
    if (link->widget != nullptr) f(static_cast<RadioButton*>(link->widget));
  }
}

}  // namespace

RadioButton::RadioButton(const std::string& text, const std::string& groupName)
    : ChoiceButton(text, Role::RadioButton), groupName_(groupName) {}

std::vector<RadioButton*> RadioButton::Group() const {
  if (Parent() == nullptr) return {const_cast<RadioButton*>(this)};
  std::vector<RadioButton*> group;
  for (const auto& child : Parent()->Children()) {
    auto* member = dynamic_cast<RadioButton*>(child.get());
    if (member != nullptr && member->groupName_ == groupName_) group.push_back(member);
  }
  return group;
}

void RadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  if (value) {
    // Callbacks may rebuild the page, so the members are held by weak links.
    std::vector<std::shared_ptr<Detail::WidgetLink>> others;
    for (RadioButton* member : Group()) {
      if (member != this && member->checked_) others.push_back(member->Link());
    }
    const std::shared_ptr<Detail::WidgetLink> self = Link();
    checked_ = true;
    ForEachLiving(others, [](RadioButton* member) { member->ApplyChecked(false); });
    if (self->widget == nullptr) return;
  }
  ApplyChecked(value);
}

void RadioButton::ApplyChecked(bool value) {
  checked_ = value;
  ShowToggleState();
  if (value) RaiseAutomationEvent(AutomationEvent::ElementSelected);
  if (onCheckedChanged) {
    auto callback = onCheckedChanged;
    callback(value);
  }
}

void RadioButton::Click() {
  if (IsEnabledInTree()) SetChecked(true);
}

bool RadioButton::IsTabStop() const {
  if (!tabStop) return false;
  if (checked_) return true;
  const std::vector<RadioButton*> group = Group();
  if (std::any_of(group.begin(), group.end(), [](const RadioButton* m) { return m->checked_; })) return false;
  const auto first =
      std::find_if(group.begin(), group.end(), [](const RadioButton* m) { return m->CanTakeFocus(); });
  return first != group.end() && *first == this;
}

bool RadioButton::IsSelected() const { return checked_; }
int32_t RadioButton::ToggleState() const { return checked_ ? kToggleStateOn : kToggleStateOff; }
const char* RadioButton::ClassName() const { return "RadioButton"; }
bool RadioButton::IsOn() const { return checked_; }

RadioButton* RadioButton::Neighbour(int step) const {
  const std::vector<RadioButton*> group = Group();
  const auto n = static_cast<int>(group.size());
  const int at = static_cast<int>(std::find(group.begin(), group.end(), this) - group.begin());
  for (int i = 1; i < n; ++i) {
    RadioButton* candidate = group[static_cast<size_t>(((at + step * i) % n + n) % n)];
    if (candidate->CanTakeFocus()) return candidate;
  }
  return nullptr;
}

bool RadioButton::OnKeyDown(const KeyEvent& event) {
  const bool back = event.key == Vk::Left || event.key == Vk::Up;
  const bool forward = event.key == Vk::Right || event.key == Vk::Down;
  if (event.modifiers != 0 || (!back && !forward)) return ButtonBase::OnKeyDown(event);
  if (RadioButton* next = Neighbour(back ? -1 : 1)) {
    const std::shared_ptr<Detail::WidgetLink> target = next->Link();
    next->Focus(FocusReason::Keyboard);
    if (target->widget != nullptr) next->SetChecked(true);
  }
  return true;
}

void RadioButton::RefreshColors(bool animate) {
  ChoiceButton::RefreshColors(animate);
  float target = 0;
  if (checked_) target = IsPressed() ? kPressedDotRadius : IsHovered() ? kHoveredDotRadius : kDotRadius;
  dotRadius_.AnimateTo(target, animate ? GetTheme().transitionSeconds : 0, Easing::EaseOutCubic);
}

void RadioButton::Paint(Canvas& canvas) {
  const ControlColors colors = CurrentColors();
  const Rect box = BoxRect();
  const Point centre{box.x + box.width * 0.5f, box.y + box.height * 0.5f};
  const float radius = box.width * 0.5f;
  canvas.FillEllipse(centre, radius, radius, colors.background);
  if (IsVisibleBorder(colors.border)) {
    canvas.StrokeEllipse(centre, radius, radius, colors.border, HairlineWidth(canvas.Scale()));
  }
  if (DotRadius() > kSmallestDot) canvas.FillEllipse(centre, DotRadius(), DotRadius(), colors.foreground);
  PaintText(canvas);
}

}  // namespace Quarlo::Widget::Input

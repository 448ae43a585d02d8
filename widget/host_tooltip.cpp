// When tooltips show and hide. The pointer must rest on a widget for the initial delay; once a tooltip is
// shown it stays while the pointer moves within the same widget; moving on to another widget soon after a
// tooltip hid shows the next one at once, so that the user can sweep along a tool bar.

#include "widget/animator.h"
#include "widget/host.h"

namespace Quarlo::Widget {
namespace {

constexpr double kInitialDelaySeconds = 0.5;
// A tooltip that hid at most this long ago makes the next one show without delay.
constexpr double kReshowWindowSeconds = 0.5;

}  // namespace

void Host::SetToolTipHandler(ToolTipHandler handler) {
  HideToolTip();
  toolTipHandler_ = std::move(handler);
}

void Host::HideToolTip() {
  if (toolTipTimer_ != 0) {
    CancelTimer(toolTipTimer_);
    toolTipTimer_ = 0;
  }
  if (!toolTipShown_) return;
  toolTipShown_ = false;
  toolTipHiddenAt_ = animator_->Now();
  // From a copy: hiding may run code that replaces the handler.
  if (ToolTipHandler handler = toolTipHandler_) handler(nullptr, std::string(), Point{});
}

void Host::UpdateToolTip() {
  if (!toolTipHandler_) return;
  const bool changed = hovered_ != toolTipHovered_;
  toolTipHovered_ = hovered_;
  if (!changed && toolTipShown_) return;
  HideToolTip();
  ArmTooltip();
}

void Host::ArmTooltip() {
  Widget* owner = hovered_;
  while (owner && owner->ToolTip().empty()) owner = owner->Parent();
  if (!owner) return;
  const bool recent = toolTipHiddenAt_ >= 0 && animator_->Now() - toolTipHiddenAt_ <= kReshowWindowSeconds;
  // The timer belongs to the widget: it is dropped with it when the widget leaves the tree.
  toolTipTimer_ = AddTimer(
      owner, recent ? 0.0 : kInitialDelaySeconds,
      [this, owner] {
        toolTipTimer_ = 0;
        if (!toolTipHandler_) return;
        toolTipShown_ = true;
        ToolTipHandler handler = toolTipHandler_;
        handler(owner, owner->ToolTip(), lastPointer_);
      },
      false);
}

}  // namespace Quarlo::Widget

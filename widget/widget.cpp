// Widget: tree ownership, attachment to a host, state setters, coordinate queries and the requests
// that forward to the host. Layout and rendering are in widget_layout.cpp, the default accessibility
// answers in widget_access.cpp.

#include "widget/widget.h"

#include <algorithm>
#include <atomic>

#include "widget/host.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

namespace {

// Link ids number widgets for the process lifetime; accessibility uses them as runtime identities.
uint32_t NextLinkId() {
  static std::atomic<uint32_t> counter{1};
  return counter.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

Widget::Widget() = default;

Widget::~Widget() {
  if (link) {
    link->widget = nullptr;
  }
  if (host) {
    host->WidgetRemoved(this);
  }
  link.reset();
  // Children keep their host pointer until their own destruction, so the host forgets each in turn.
  for (auto& child : children) {
    child.reset();
  }
  children.clear();
}

// --- Tree ---

bool Widget::CanAdopt(const Widget* child) const {
  // A widget that already has an owner (its parent, or the host it is the root of) stays with it: taking
  // it here would free it under that owner.
  return child && !child->parent && !child->host && child != this && !child->IsAncestorOf(this);
}

void Widget::Adopt(size_t index, std::unique_ptr<Widget> child) {
  Widget* inserted = child.get();
  inserted->parent = this;
  index = std::min(index, children.size());
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
  if (host) {
    inserted->AttachTo(host);
  }
  InvalidateMeasureChain();
  if (host) {
    host->InvalidateLayout();
  }
  RaiseAutomationEvent(AutomationEvent::StructureChanged);
}

std::unique_ptr<Widget> Widget::RemoveChild(Widget* child) {
  auto found = std::find_if(children.begin(), children.end(),
                            [child](const std::unique_ptr<Widget>& c) { return c.get() == child; });
  if (!child || found == children.end()) {
    return nullptr;
  }
  std::unique_ptr<Widget> owned = std::move(*found);
  children.erase(found);
  if (owned->host) {
    owned->DetachFromHost();
  }
  owned->parent = nullptr;
  InvalidateMeasureChain();
  if (host) {
    host->InvalidateLayout();
  }
  RaiseAutomationEvent(AutomationEvent::StructureChanged);
  return owned;
}

void Widget::ClearChildren() {
  while (!children.empty()) {
    RemoveChild(children.back().get());
  }
}

bool Widget::IsAncestorOf(const Widget* other) const {
  for (const Widget* w = other ? other->parent : nullptr; w; w = w->parent) {
    if (w == this) {
      return true;
    }
  }
  return false;
}

void Widget::AttachTo(Host* target) {
  host = target;
  focused = false;
  hovered = false;
  pressed = false;
  for (auto& child : children) {
    child->AttachTo(target);
  }
  OnAttached();
}

void Widget::DetachFromHost() {
  // Cancelling may make a member unregister itself, so walk a copy.
  std::vector<AnimatedMember*> running = animations;
  for (AnimatedMember* member : running) {
    member->CancelAnimation();
  }
  host->WidgetRemoved(this);
  host = nullptr;
  for (auto& child : children) {
    if (child->host) {
      child->DetachFromHost();
    }
  }
  OnDetached();
}

// --- Layout properties ---

void Widget::SetWidth(float value) {
  width = value;
  InvalidateMeasure();
}

void Widget::SetHeight(float value) {
  height = value;
  InvalidateMeasure();
}

void Widget::SetMinSize(Size value) {
  minWidth = value.width;
  minHeight = value.height;
  InvalidateMeasure();
}

void Widget::SetMaxSize(Size value) {
  maxWidth = value.width;
  maxHeight = value.height;
  InvalidateMeasure();
}

void Widget::SetMargin(float left, float top, float right, float bottom) {
  margin = Thickness{left, top, right, bottom};
  InvalidateMeasure();
}

void Widget::SetHorizontalAlignment(Alignment value) {
  horizontalAlignment = value;
  InvalidateMeasure();
}

void Widget::SetVerticalAlignment(Alignment value) {
  verticalAlignment = value;
  InvalidateMeasure();
}

// --- State ---

void Widget::SetVisible(bool value) {
  if (visible == value) {
    return;
  }
  visible = value;
  if (!value && host) {
    host->WidgetHidden(this);
  }
  InvalidateMeasure();
  InvalidateVisual();
  if (parent && parent->host) {
    parent->RaiseAutomationEvent(AutomationEvent::StructureChanged);
  }
}

void Widget::SetEnabled(bool value) {
  if (enabled == value) {
    return;
  }
  enabled = value;
  if (!value && host) {
    host->WidgetDisabled(this);
  }
  NotifyVisualStateInSubtree();
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::EnabledChanged);
}

void Widget::NotifyVisualStateInSubtree() {
  OnVisualStateChanged();
  for (auto& child : children) {
    child->NotifyVisualStateInSubtree();
  }
}

void Widget::SetClipToBounds(bool value) {
  clipToBounds = value;
  InvalidateVisual();
}

void Widget::SetAccessibleName(const std::string& text) {
  if (accessibleName == text) {
    return;
  }
  accessibleName = text;
  RaiseAutomationEvent(AutomationEvent::NameChanged);
}

// --- Queries ---

bool Widget::IsEnabledInTree() const {
  for (const Widget* w = this; w; w = w->parent) {
    if (!w->enabled) {
      return false;
    }
  }
  return true;
}

bool Widget::IsVisibleInTree() const {
  for (const Widget* w = this; w; w = w->parent) {
    if (!w->visible) {
      return false;
    }
  }
  return true;
}

float Widget::ScaleFactor() const { return host ? host->Dpi() / 96.0f : 1.0f; }

bool Widget::CanTakeFocus() const { return IsFocusable() && IsEnabledInTree() && IsVisibleInTree(); }

const Theme& Widget::GetTheme() const {
  // Detached widgets share one light theme of the default accent, built on first use.
  static const Theme fallback = Theme::Light(kDefaultAccent);
  return host ? host->GetTheme() : fallback;
}

bool Widget::IsFocusVisualShown() const { return focused && host && host->FocusVisible(); }

Point Widget::LocalToWindow(Point local) const {
  for (const Widget* w = this; w; w = w->parent) {
    local.x += w->position.x;
    local.y += w->position.y;
  }
  return local;
}

Point Widget::WindowToLocal(Point window) const {
  for (const Widget* w = this; w; w = w->parent) {
    window.x -= w->position.x;
    window.y -= w->position.y;
  }
  return window;
}

Rect Widget::RectToScreen(Rect local) const {
  Point topLeft = LocalToWindow({local.x, local.y});
  Point bottomRight = LocalToWindow({local.Right(), local.Bottom()});
  if (host) {
    topLeft = host->WindowToScreen(topLeft);
    bottomRight = host->WindowToScreen(bottomRight);
  }
  return Rect{topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
}

Rect Widget::ScreenBounds() const { return RectToScreen({0, 0, actualSize.width, actualSize.height}); }

Rect Widget::VisibleBoundsInWindow() const {
  if (!IsVisibleInTree()) {
    return {};
  }
  Point origin = LocalToWindow({0, 0});
  Rect result{origin.x, origin.y, actualSize.width, actualSize.height};
  for (const Widget* w = parent; w && result.width > 0 && result.height > 0; w = w->parent) {
    if (!w->clipToBounds) {
      continue;
    }
    Point o = w->LocalToWindow({0, 0});
    float left = std::max(result.x, o.x);
    float top = std::max(result.y, o.y);
    float right = std::min(result.Right(), o.x + w->actualSize.width);
    float bottom = std::min(result.Bottom(), o.y + w->actualSize.height);
    if (right <= left || bottom <= top) {
      return Rect{result.x, result.y, 0, 0};
    }
    result = Rect{left, top, right - left, bottom - top};
  }
  if (result.width <= 0 || result.height <= 0) {
    return Rect{result.x, result.y, 0, 0};
  }
  return result;
}

std::shared_ptr<Detail::WidgetLink> Widget::Link() {
  if (!link) {
    link = std::make_shared<Detail::WidgetLink>(Detail::WidgetLink{this, NextLinkId()});
  }
  return link;
}

void Widget::RegisterAnimation(AnimatedMember* member) { animations.push_back(member); }

void Widget::UnregisterAnimation(AnimatedMember* member) { std::erase(animations, member); }

// --- Requests forwarded to the host ---

void Widget::InvalidateVisual() {
  if (host) {
    host->InvalidateVisual();
  }
}

void Widget::InvalidateMeasureChain() {
  for (Widget* w = this; w; w = w->parent) {
    w->measureValid = false;
  }
}

void Widget::InvalidateMeasure() {
  InvalidateMeasureChain();
  if (host) {
    host->InvalidateLayout();
  }
}

bool Widget::Focus(FocusReason reason) { return host && host->SetFocus(this, reason); }

void Widget::CapturePointer() {
  if (host) {
    host->CapturePointer(this);
  }
}

void Widget::ReleasePointerCapture() {
  if (host) {
    host->ReleasePointerCapture(this);
  }
}

uint64_t Widget::StartTimer(double seconds, std::function<void()> callback, bool repeat) {
  return host ? host->AddTimer(this, seconds, std::move(callback), repeat) : 0;
}

void Widget::CancelTimer(uint64_t id) {
  if (host && id != 0) {
    host->CancelTimer(id);
  }
}

void Widget::RaiseAutomationEvent(AutomationEvent kind, ItemId item) {
  if (host && !host->IsDestroying()) {
    host->RaiseAutomationEvent(this, kind, item);
  }
}

}  // namespace Quarlo::Widget

// Host: the root of a tree, layout and repaint scheduling, DPI, client size and theme changes, and the
// bookkeeping that keeps the host from holding on to widgets that left it.

#include "widget/host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "widget/animator.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

void ForEachInTree(Widget* w, const std::function<void(Widget*)>& f) {
  f(w);
  for (const auto& child : w->Children()) {
    ForEachInTree(child.get(), f);
  }
}

Host::Host()
    : theme_(std::make_unique<Theme>(Theme::Light(kDefaultAccent))),
      animator_(std::make_unique<Animator>()),
      alive_(std::make_shared<const char>(1)) {
  animator_->SetOnActivated([this] { InvalidateVisual(); });
}

Host::~Host() {
  destroying_ = true;
  if (link_) {
    link_->host = nullptr;
    link_->window = nullptr;
    link_->handle = nullptr;
  }
  root_.reset();
  alive_.reset();
  timers_.clear();
  keyDownPreview_ = nullptr;
  charPreview_ = nullptr;
  imePreview_ = nullptr;
  keyUpPreview_ = nullptr;
}

// --- Virtual operations: a bare host has no native window ---

void Host::SetTheme(const Theme& theme) {
  *theme_ = theme;
  if (!root_) {
    return;
  }
  // Theme metrics (control height, paddings) feed every widget's measure, not only the root's.
  ForEachInTree(root_.get(), [](Widget* w) {
    w->OnThemeChanged();
    w->measureValid = false;
  });
  InvalidateLayout();
}

Point Host::WindowToScreen(Point window) const { return window; }
void Host::RequestRepaint() {}
void Host::SetNativeCapture(bool) {}
void Host::SetTimerDelay(double) {}
void Host::OnFocusChanged() {}
bool Host::OnUnhandledKey(const KeyEvent&) { return false; }
void Host::EndModal(int) {}
void Host::RaiseAutomationEvent(Widget*, AutomationEvent, ItemId) {}

// --- Tree and layout ---

void Host::ReplaceRoot(std::unique_ptr<Widget> root) {
  if (root_) {
    std::unique_ptr<Widget> old = std::move(root_);
    old->DetachFromHost();
  }
  root_ = std::move(root);
  if (root_) {
    root_->AttachTo(this);
    root_->InvalidateMeasure();
  }
  InvalidateLayout();
}

void Host::SetClientSize(Size size) {
  if (size == clientSize_) {
    return;
  }
  clientSize_ = size;
  if (root_) {
    root_->InvalidateMeasure();
  }
  InvalidateLayout();
}

void Host::SetDpi(float dpi) {
  if (!(dpi > 0) || std::fabs(dpi - dpi_) <= 0.01f) {
    return;
  }
  dpi_ = dpi;
  if (root_) {
    ForEachInTree(root_.get(), [](Widget* w) {
      w->OnScaleChanged();
      w->measureValid = false;
    });
  }
  InvalidateLayout();
}

const Theme& Host::GetTheme() const { return *theme_; }

void Host::InvalidateLayout() {
  layoutDirty_ = true;
  InvalidateVisual();
}

void Host::InvalidateVisual() {
  if (!repaintPending_) {
    repaintPending_ = true;
    RequestRepaint();
  }
}

void Host::UpdateLayout() {
  animator_->Tick();
  // Every paint lays out once (the caches make that cheap). Measure and arrange may invalidate layout
  // again; the passes that follow belong to this paint, or the change would be painted stale until some
  // unrelated event.
  int passes = 0;
  do {
    layoutDirty_ = false;
    if (root_) {
      root_->Measure(clientSize_);
      root_->Arrange(Rect{0, 0, clientSize_.width, clientSize_.height});
    }
  } while (layoutDirty_ && ++passes < kMaxLayoutPasses);
  if (layoutDirty_ && !unsettledReported_) {
    unsettledReported_ = true;
    std::fprintf(stderr, "layout did not settle after %d passes; painting the last one\n", kMaxLayoutPasses);
  }
  repaintPending_ = false;
  // Animation frames follow each other through repaint requests, without a timer.
  if (animator_->HasActive()) {
    repaintPending_ = true;
    RequestRepaint();
  }
}

void Host::RenderTree(Canvas& canvas) {
  if (root_) {
    root_->Render(canvas);
  }
}

// --- Focus and capture ---

bool Host::SetFocus(Widget* w, FocusReason reason) {
  if (w && (w->host != this || !w->IsFocusable() || !w->IsEnabledInTree() || !w->IsVisibleInTree())) {
    return false;
  }
  if (w == focused_) {
    if (w && reason == FocusReason::Keyboard && !focusVisible_) {
      focusVisible_ = true;
      w->InvalidateVisual();
    }
    return true;
  }
  Widget* previous = focused_;
  focused_ = w;
  if (reason == FocusReason::Keyboard) {
    focusVisible_ = true;
  } else if (reason == FocusReason::Pointer) {
    focusVisible_ = false;
  }
  if (previous) {
    previous->focused = false;
    previous->OnFocusChanged(false);
    previous->OnVisualStateChanged();
    previous->InvalidateVisual();
  }
  if (w) {
    w->focused = true;
    w->OnFocusChanged(true);
    w->OnVisualStateChanged();
    w->InvalidateVisual();
    for (Widget* a = w->Parent(); a; a = a->Parent()) {
      a->OnDescendantFocused(w);
    }
  }
  OnFocusChanged();
  if (w) {
    w->RaiseAutomationEvent(AutomationEvent::FocusChanged);
  }
  return true;
}

void Host::CapturePointer(Widget* w) {
  if (!w || w == captured_) {
    return;
  }
  Widget* previous = captured_;
  captured_ = w;
  if (previous) {
    previous->OnCaptureLost();
  } else {
    SetNativeCapture(true);
  }
}

void Host::ReleasePointerCapture(Widget* w) {
  if (!w || w != captured_) {
    return;
  }
  captured_ = nullptr;
  SetNativeCapture(false);
  w->OnCaptureLost();
}

// --- Forgetting widgets ---

void Host::ClearHoverChain() {
  for (Widget* a = hovered_; a; a = a->Parent()) {
    a->hovered = false;
  }
  hovered_ = nullptr;
}

void Host::WidgetRemoved(Widget* w) {
  if (hovered_ == w) {
    ClearHoverChain();
  }
  if (captured_ == w) {
    captured_ = nullptr;
    SetNativeCapture(false);
  }
  if (pressed_ == w) {
    pressed_ = nullptr;
    w->pressed = false;
  }
  if (focused_ == w) {
    focused_ = nullptr;
    w->focused = false;
    OnFocusChanged();
  }
  size_t before = timers_.size();
  std::erase_if(timers_, [w](const Timer& t) { return t.owner == w; });
  if (timers_.size() != before) {
    RearmTimers();
  }
  if (dispatchDepth_ > 0) {
    removedDuringDispatch_.push_back(w);
  }
  InvalidateVisual();
}

void Host::WidgetHidden(Widget* w) {
  WidgetRemoved(w);
  // A hidden subtree can neither be seen nor take input: its descendants give up their input roles
  // too (their timers keep running; they are the descendants' own business).
  if (hovered_ && w->IsAncestorOf(hovered_)) {
    ClearHoverChain();
  }
  if (captured_ && w->IsAncestorOf(captured_)) {
    ReleasePointerCapture(captured_);
  }
  if (pressed_ && w->IsAncestorOf(pressed_)) {
    pressed_->pressed = false;
    pressed_ = nullptr;
  }
  if (focused_ && w->IsAncestorOf(focused_)) {
    SetFocus(nullptr, FocusReason::Programmatic);
  }
}

void Host::WidgetDisabled(Widget* w) {
  if (pressed_ == w) {
    pressed_ = nullptr;
    w->pressed = false;
  }
  ReleasePointerCapture(w);
}

Host::DispatchScope::DispatchScope(Host& host) : host_(host), alive_(host.alive_) { ++host_.dispatchDepth_; }

Host::DispatchScope::~DispatchScope() {
  if (HostGone()) return;
  if (--host_.dispatchDepth_ == 0) host_.removedDuringDispatch_.clear();
}

bool Host::DispatchScope::Gone(const Widget* w) const {
  if (HostGone()) return true;
  const std::vector<Widget*>& removed = host_.removedDuringDispatch_;
  return std::find(removed.begin(), removed.end(), w) != removed.end();
}

std::shared_ptr<Detail::HostLink> Host::Link() {
  if (!link_) {
    link_ = std::make_shared<Detail::HostLink>();
    link_->host = this;
  }
  return link_;
}

}  // namespace Quarlo::Widget

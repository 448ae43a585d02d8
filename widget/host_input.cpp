// Input routing of a host: pointer events go to the widget under the pointer (or the one holding the
// capture), key, character and input-method events to the focused widget, and each bubbles up the parent
// chain until a widget handles it. What nobody handles falls back to Tab and arrow-key focus navigation,
// access keys and the window's own keys.

#include <algorithm>
#include <cwctype>
#include <vector>

#include "widget/host.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget {
namespace {

// The widget at a point in window DIPs: the root lies at its arranged position (after its margin), and
// hit tests take points in the space of the widget they ask.
Widget* HitTestRoot(Widget* root, Point window) {
  if (!root) return nullptr;
  return root->HitTest(Point{window.x - root->Position().x, window.y - root->Position().y});
}

constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kLowSurrogateLast = 0xDFFF;
constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastBmp = 0xFFFF;

// Pre-order list of the visible, enabled, focusable widgets below root; hidden or disabled subtrees are
// left out whole.
void CollectFocusable(Widget* root, std::vector<Widget*>& out) {
  if (!root->IsVisible() || !root->IsEnabled()) return;
  if (root->IsFocusable()) out.push_back(root);
  for (const auto& child : root->Children()) CollectFocusable(child.get(), out);
}

// Pre-order list of the widgets below root whose access key is key; hidden or disabled subtrees are left out.
void CollectAccessKeys(Widget* root, char16_t key, std::vector<Widget*>& out) {
  if (!root->IsVisible() || !root->IsEnabled()) return;
  if (root->AccessKey() == key) out.push_back(root);
  for (const auto& child : root->Children()) CollectAccessKeys(child.get(), key, out);
}

// Access keys match without regard to case; widgets declare them in upper case.
char16_t AccessKeyOf(char32_t c) { return static_cast<char16_t>(std::towupper(static_cast<wint_t>(c))); }

std::vector<Widget*> AncestorChain(Widget* w) {
  std::vector<Widget*> chain;
  for (; w; w = w->Parent()) chain.push_back(w);
  return chain;
}

bool InChain(const std::vector<Widget*>& chain, const Widget* w) {
  return std::find(chain.begin(), chain.end(), w) != chain.end();
}

// The deepest visible widget containing the point, ignoring hit-test visibility.
Widget* DeepestVisibleAt(Widget* w, Point local) {
  if (!w->IsVisible() || local.x < 0 || local.y < 0 || local.x >= w->ActualSize().width ||
      local.y >= w->ActualSize().height) {
    return nullptr;
  }
  const auto& children = w->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Widget* child = it->get();
    const Point inner{local.x - child->Position().x, local.y - child->Position().y};
    if (Widget* hit = DeepestVisibleAt(child, inner)) return hit;
  }
  return w;
}

}  // namespace

Host::Dispatched Host::Dispatch(Widget* target, Point window,
                                const std::function<bool(Widget*, Point)>& handler) {
  DispatchScope scope(*this);
  for (Widget* w = target; w;) {
    if (!w->IsEnabledInTree()) {
      w = w->Parent();
      continue;
    }
    const bool handled = handler(w, w->WindowToLocal(window));
    // The handler may have removed or destroyed its own widget, or closed the window: then neither it nor
    // its former ancestors may be touched, and a press must not capture it.
    if (scope.Gone(w)) return Dispatched{handled, nullptr};
    if (handled) return Dispatched{true, w};
    w = w->Parent();
  }
  return {};
}

void Host::NotifyHover(const DispatchScope& scope, Widget* w, bool entered) {
  SetHoveredFlag(w, entered);
  if (entered) {
    w->OnPointerEnter();
  } else {
    w->OnPointerLeave();
  }
  if (scope.Gone(w)) return;
  w->OnVisualStateChanged();
  if (scope.Gone(w)) return;
  w->InvalidateVisual();
}

void Host::UpdateHover(Point window) {
  Widget* hit = HitTestRoot(Root(), window);
  if (hit == hovered_) return;
  DispatchScope scope(*this);
  const std::vector<Widget*> oldChain = AncestorChain(hovered_);
  const std::vector<Widget*> newChain = AncestorChain(hit);
  hovered_ = hit;
  for (Widget* w : oldChain) {
    if (scope.HostGone()) return;
    if (!scope.Gone(w) && !InChain(newChain, w) && w->IsHovered()) NotifyHover(scope, w, false);
  }
  for (Widget* w : newChain) {
    // A handler that took the widget under the pointer out of the tree leaves hover to the next move.
    if (scope.HostGone() || hovered_ != hit) return;
    if (!scope.Gone(w) && !w->IsHovered()) NotifyHover(scope, w, true);
  }
}

void Host::ClearHover() {
  DispatchScope scope(*this);
  const std::vector<Widget*> chain = AncestorChain(hovered_);
  hovered_ = nullptr;
  for (Widget* w : chain) {
    if (scope.HostGone()) return;
    if (!scope.Gone(w) && w->IsHovered()) NotifyHover(scope, w, false);
  }
}

void Host::PointerDown(const PointerEvent& event) {
  lastPointer_ = event.position;
  HideToolTip();
  if (showAccessKeys_) {
    showAccessKeys_ = false;
    InvalidateVisual();
  }
  DispatchScope scope(*this);
  UpdateHover(event.position);
  if (scope.HostGone()) return;
  for (Widget* w = hovered_; w; w = w->Parent()) {
    if (w->CanTakeFocus()) {
      if (w != focused_) SetFocus(w, FocusReason::Pointer);
      break;
    }
  }
  if (scope.HostGone()) return;
  Widget* handler = Dispatch(captured_ ? captured_ : hovered_, event.position, [&](Widget* w, Point local) {
                      PointerEvent e = event;
                      e.position = local;
                      return w->OnPointerDown(e);
                    }).handler;
  if (!handler) return;
  // A widget that handles a press keeps the pointer until the release, even if it never asked for it.
  if (!captured_) CapturePointer(handler);
  pressed_ = handler;
  SetPressedFlag(handler, true);
  handler->OnVisualStateChanged();
  if (!scope.Gone(handler)) handler->InvalidateVisual();
}

void Host::PointerUp(const PointerEvent& event) {
  lastPointer_ = event.position;
  Widget* hit = HitTestRoot(Root(), event.position);
  DispatchScope scope(*this);
  Dispatch(captured_ ? captured_ : hit, event.position, [&](Widget* w, Point local) {
    PointerEvent e = event;
    e.position = local;
    return w->OnPointerUp(e);
  });
  if (scope.HostGone()) return;
  ClearPressed(scope);
  if (scope.HostGone()) return;
  if (captured_) ReleasePointerCapture(captured_);
  if (scope.HostGone()) return;
  UpdateHover(event.position);
}

void Host::PointerMove(const PointerEvent& event) {
  lastPointer_ = event.position;
  DispatchScope scope(*this);
  UpdateHover(event.position);
  if (scope.HostGone()) return;
  UpdateToolTip();
  if (scope.HostGone()) return;
  Dispatch(captured_ ? captured_ : hovered_, event.position, [&](Widget* w, Point local) {
    PointerEvent e = event;
    e.position = local;
    return w->OnPointerMove(e);
  });
}

void Host::PointerLeave() {
  if (captured_) return;
  DispatchScope scope(*this);
  ClearHover();
  if (!scope.HostGone()) HideToolTip();
}

Widget* Host::WheelTarget(Point window) const {
  if (captured_) return captured_;
  if (!Root()) return nullptr;
  if (Widget* hit = HitTestRoot(Root(), window)) return hit;
  const Point at = Root()->Position();
  return DeepestVisibleAt(Root(), Point{window.x - at.x, window.y - at.y});
}

void Host::Wheel(const WheelEvent& event) {
  HideToolTip();
  Dispatch(WheelTarget(event.position), event.position, [&](Widget* w, Point local) {
    WheelEvent e = event;
    e.position = local;
    return w->OnWheel(e);
  });
}

Widget* Host::KeyTarget() const { return focused_ ? focused_ : Root(); }

bool Host::MoveFocus(bool forward) {
  if (!Root()) return false;
  std::vector<Widget*> order;
  CollectFocusable(Root(), order);
  const int n = static_cast<int>(order.size());
  const auto found = std::find(order.begin(), order.end(), focused_);
  const int b = found == order.end() ? -1 : static_cast<int>(found - order.begin());
  for (int i = 1; i <= n; ++i) {
    int index;
    if (b < 0) {
      index = forward ? i - 1 : n - i;
    } else {
      index = forward ? (n + (b + i) % n) % n : (n + (b - i) % n) % n;
    }
    Widget* candidate = order[static_cast<size_t>(index)];
    if (candidate->IsTabStop() && candidate->CanTakeFocus())
      return SetFocus(candidate, FocusReason::Keyboard);
  }
  return false;
}

bool Host::KeyDown(const KeyEvent& event) {
  DispatchScope scope(*this);
  // From a copy: the hook may replace itself (a key route ending).
  if (auto hook = keyDownPreview_; hook && hook(event)) return true;
  if (scope.HostGone()) return true;
  HideToolTip();
  if (scope.HostGone()) return true;
  if (event.key == Vk::Alt && !(focused_ && focused_->WantsSystemKeys())) {
    if (!showAccessKeys_) {
      showAccessKeys_ = true;
      InvalidateVisual();
    }
    return false;
  }
  if (event.key == Vk::Escape && showAccessKeys_) {
    showAccessKeys_ = false;
    InvalidateVisual();
  }
  if (Dispatch(KeyTarget(), {}, [&](Widget* w, Point) { return w->OnKeyDown(event); }).handled) return true;
  if (scope.HostGone()) return true;
  const bool ctrlOrAlt = (event.modifiers & (Modifier::Ctrl | Modifier::Alt)) != 0;
  if (!ctrlOrAlt && event.key == Vk::Tab) {
    MoveFocus((event.modifiers & Modifier::Shift) == 0);
    return true;
  }
  if (!ctrlOrAlt && event.key >= Vk::Left && event.key <= Vk::Down &&
      (event.modifiers & Modifier::Shift) == 0 && MoveFocusInArrowGroup(event.key)) {
    return true;
  }
  return OnUnhandledKey(event);
}

bool Host::MoveFocusInArrowGroup(uint32_t key) {
  // Only the nearest group counts, even when it cannot move the focus.
  Widget* group = focused_;
  while (group && !group->arrowKeyGroup) group = group->Parent();
  if (!group) return false;
  std::vector<Widget*> members;
  CollectFocusable(group, members);
  const auto at = std::find(members.begin(), members.end(), focused_);
  if (members.size() < 2 || at == members.end()) return false;
  const size_t n = members.size();
  const size_t i = static_cast<size_t>(at - members.begin());
  const bool back = key == Vk::Left || key == Vk::Up;
  return SetFocus(members[(i + (back ? n - 1 : 1)) % n], FocusReason::Keyboard);
}

bool Host::KeyUp(const KeyEvent& event) {
  DispatchScope scope(*this);
  if (auto hook = keyUpPreview_; hook && hook(event)) return true;
  if (scope.HostGone()) return true;
  return Dispatch(KeyTarget(), {}, [&](Widget* w, Point) { return w->OnKeyUp(event); }).handled;
}

char32_t Host::CompleteCodePoint(char32_t unit) {
  if (unit >= kHighSurrogateFirst && unit < kLowSurrogateFirst) {
    pendingHighSurrogate_ = static_cast<char16_t>(unit);
    return 0;
  }
  if (unit >= kLowSurrogateFirst && unit <= kLowSurrogateLast) {
    const char32_t high = pendingHighSurrogate_;
    pendingHighSurrogate_ = 0;
    // A low half without its high half stands for no character.
    if (high == 0) return 0;
    return 0x10000 + ((high - kHighSurrogateFirst) << 10) + (unit - kLowSurrogateFirst);
  }
  return unit;
}

bool Host::Char(const CharEvent& input) {
  CharEvent event = input;
  event.codePoint = CompleteCodePoint(input.codePoint);
  if (event.codePoint == 0) return false;
  // Control characters are keys, not text; Alt+control reaches the access keys as the system sends it.
  if (!event.system && (event.codePoint < kFirstPrintable || event.codePoint == kDelete)) return false;
  DispatchScope scope(*this);
  if (auto hook = charPreview_; hook && hook(event)) return true;
  if (scope.HostGone()) return true;
  if (event.system) {
    if (focused_ && focused_->WantsSystemKeys()) return true;
    return MatchAccessKey(event.codePoint);
  }
  return Dispatch(KeyTarget(), {}, [&](Widget* w, Point) { return w->OnChar(event); }).handled;
}

bool Host::Ime(const ImeEvent& event) {
  DispatchScope scope(*this);
  if (auto hook = imePreview_; hook && hook(event)) return true;
  if (scope.HostGone()) return true;
  return Dispatch(KeyTarget(), {}, [&](Widget* w, Point) { return w->OnIme(event); }).handled;
}

bool Host::MatchAccessKey(char32_t codePoint) {
  if (!Root() || codePoint == 0 || codePoint > kLastBmp) return false;
  std::vector<Widget*> matches;
  CollectAccessKeys(Root(), AccessKeyOf(codePoint), matches);
  if (matches.empty()) return false;
  // Several widgets with the same key take turns: the one after the focused one, else the first.
  auto at = std::find(matches.begin(), matches.end(), focused_);
  Widget* target = at == matches.end() || at + 1 == matches.end() ? matches.front() : *(at + 1);
  target->OnAccessKey();
  return true;
}

void Host::ClearPressed(const DispatchScope& scope) {
  Widget* pressed = pressed_;
  if (!pressed) return;
  pressed_ = nullptr;
  if (!pressed->IsPressed()) return;
  SetPressedFlag(pressed, false);
  pressed->OnVisualStateChanged();
  if (!scope.Gone(pressed)) pressed->InvalidateVisual();
}

void Host::CaptureChanged() {
  DispatchScope scope(*this);
  ClearPressed(scope);
  if (scope.HostGone()) return;
  if (Widget* captured = captured_) {
    captured_ = nullptr;
    captured->OnCaptureLost();
  }
}

void Host::Activated(bool active) {
  DispatchScope scope(*this);
  active_ = active;
  if (!active) {
    showAccessKeys_ = false;
    HideToolTip();
    if (scope.HostGone()) return;
    // The release of a press that was under way goes to the window that is active now.
    ClearPressed(scope);
    if (scope.HostGone()) return;
    if (captured_) ReleasePointerCapture(captured_);
    if (scope.HostGone()) return;
  }
  InvalidateVisual();
}

void Host::SetKeyboardCues(bool always) {
  if (always == keyboardCues_) return;
  keyboardCues_ = always;
  InvalidateVisual();
}

}  // namespace Quarlo::Widget

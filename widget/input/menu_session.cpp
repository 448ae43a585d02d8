// The menu session: opening and closing levels, placing them on screen, the keyboard while open, pointer
// input from every level, the submenu hover delay, and activation deferred until the menu has gone.

#include "widget/input/menu_session.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "widget/application.h"
#include "widget/input/control_text.h"
#include "widget/input/events.h"
#include "widget/input/key_route.h"
#include "widget/input/menu_panel.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Input {
namespace {

// A submenu overlaps its parent by this many DIPs, and its first row lines up with the row that opened it.
constexpr float kSubmenuOverlap = 2;
constexpr uint32_t kF10 = Vk::F1 + 9;

// Popups are dropped from the posted-work queue: the input that closed them may still be running in them.
void DropLater(std::unique_ptr<MenuPopup> popup) {
  if (!popup) return;
  Application::Instance().Post([dropped = std::shared_ptr<MenuPopup>(std::move(popup))] {});
}

int FirstSelectable(const std::vector<MenuItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].IsSelectable()) return static_cast<int>(i);
  }
  return -1;
}

bool IsAccessKeyCode(uint32_t key) {
  return (key >= Vk::A && key <= Vk::Z) || (key >= Vk::Digit0 && key <= Vk::Digit9);
}

}  // namespace

// --- MenuPopup ---

MenuPopup::MenuPopup(std::weak_ptr<MenuSession> session) : session_(std::move(session)) {
  SetLightDismiss(false);
}

void MenuPopup::SetNativeCapture(bool) {}

void MenuPopup::HoldPointer(bool hold) {
  movingCapture_ = true;
  Window::SetNativeCapture(hold);
  movingCapture_ = false;
}

bool MenuPopup::PreTranslateInput(const WindowInput& input) {
  std::shared_ptr<MenuSession> session = session_.lock();
  if (!session) return false;
  switch (input.kind) {
    case WindowInput::Kind::ButtonPress:
    case WindowInput::Kind::ButtonRelease:
    case WindowInput::Kind::PointerMove:
      session->PointerInput(input);
      return true;
    case WindowInput::Kind::GrabLost:
      if (!movingCapture_ && IsOpen()) session->GrabLost();
      return true;
    case WindowInput::Kind::CloseRequest:
      return false;
  }
  return false;
}

// --- Opening and closing ---

std::shared_ptr<MenuSession> MenuSession::Create(Window& owner, std::vector<MenuItem> items,
                                                 std::function<void(const MenuItem&)> onInvoked,
                                                 double hoverDelay) {
  return std::shared_ptr<MenuSession>(
      new MenuSession(owner, std::move(items), std::move(onInvoked), hoverDelay));
}

MenuSession::MenuSession(Window& owner, std::vector<MenuItem> items,
                         std::function<void(const MenuItem&)> onInvoked, double hoverDelay)
    : owner_(owner.Link()),
      items_(std::move(items)),
      onInvoked_(std::move(onInvoked)),
      hoverDelay_(hoverDelay) {}

MenuSession::~MenuSession() {
  // Destroyed while open (its owner went away): the levels go without any callback.
  CancelSubmenuTimer();
  for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) it->popup->Close();
}

Window* MenuSession::Owner() const { return owner_ ? static_cast<Window*>(owner_->window) : nullptr; }

MenuPopup* MenuSession::PopupAt(int level) const {
  return level >= 0 && level < LevelCount() ? levels_[static_cast<size_t>(level)].popup.get() : nullptr;
}

MenuPanel* MenuSession::PanelAt(int level) const {
  return level >= 0 && level < LevelCount() ? levels_[static_cast<size_t>(level)].panel : nullptr;
}

bool MenuSession::ShowsAccessKeys() const {
  const Window* owner = Owner();
  return openedByKeyboard_ || (owner && owner->ShowAccessKeys());
}

void MenuSession::Open(Rect anchor, bool selectFirst) {
  Window* owner = Owner();
  if (IsOpen() || !owner) return;
  openedByKeyboard_ = selectFirst;
  leftPressedInside_ = false;
  if (!OpenLevel(items_, anchor, PopupSide::Below, -1, selectFirst)) return;
  levels_.front().popup->HoldPointer(true);
  std::weak_ptr<MenuSession> weak = weak_from_this();
  RouteHandlers handlers;
  handlers.keyDown = [weak](const KeyEvent& event) {
    auto self = weak.lock();
    if (!self || !self->IsOpen()) return false;
    const bool handled = self->KeyDown(event);
    self->swallowNextChar_ = handled;
    return handled;
  };
  // The menu is modal: no text reaches the window below while it is open, nor the character of the key
  // that closed it.
  handlers.character = [weak](const CharEvent&) {
    auto self = weak.lock();
    if (!self) return false;
    return self->IsOpen() || std::exchange(self->swallowNextChar_, false);
  };
  handlers.ime = [weak](const ImeEvent&) {
    auto self = weak.lock();
    return self && self->IsOpen();
  };
  keyRoute_ = std::make_unique<KeyRoute>(*owner, std::move(handlers), true);
}

bool MenuSession::OpenLevel(std::vector<MenuItem> items, Rect anchor, PopupSide side, int parentIndex,
                            bool selectFirst) {
  Window* owner = Owner();
  if (!owner) return false;
  auto popup = std::make_unique<MenuPopup>(weak_from_this());
  WindowOptions& options = popup->Options();
  options.title = "Menu";
  options.owner = owner->Handle();
  options.followSystemTheme = false;
  options.activatable = false;
  popup->SetTheme(owner->GetTheme());
  const int level = LevelCount();
  const int first = selectFirst ? FirstSelectable(items) : -1;
  MenuPanel* panel = popup->SetRoot(std::make_unique<MenuPanel>(weak_from_this(), level, std::move(items)));
  if (!popup->Create(popup->Options())) return false;
  // Access keys are underlined in every level while the menu shows them.
  popup->SetKeyboardCues(ShowsAccessKeys());
  const Size content = panel->ContentSize();
  const float scale = popup->ScaleFactor();
  const Rect work = WorkAreaAtCentre(anchor);
  // A level taller than the screen shows what fits and scrolls the rest.
  if (work.height > 0 && std::ceil(content.height * scale) > work.height) {
    panel->SetViewportHeight(std::floor(work.height / scale));
  }
  panel->SetHighlighted(first);
  const Size shown = panel->ShownSize();
  const Size pixels{std::ceil(shown.width * scale), std::ceil(shown.height * scale)};
  const Point at = PlacePopup(anchor, pixels, side, work);
  levels_.push_back(Level{std::move(popup), panel, parentIndex});
  levels_.back().popup->ShowAt(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)),
                               content.width);
  return true;
}

void MenuSession::OpenSubmenu(int level, int index, bool selectFirst) {
  CancelSubmenuTimer();
  MenuPanel* panel = PanelAt(level);
  if (!panel || index < 0 || index >= static_cast<int>(panel->Items().size())) return;
  const MenuItem& item = panel->Items()[static_cast<size_t>(index)];
  if (item.kind != MenuItemKind::Submenu || !item.enabled) return;
  panel->SetHighlighted(index);
  if (MenuPanel* child = PanelAt(level + 1);
      child && levels_[static_cast<size_t>(level) + 1].parentIndex == index) {
    if (selectFirst && child->Highlighted() < 0) child->SetHighlighted(FirstSelectable(child->Items()));
    return;
  }
  CloseFrom(level + 1);
  const MenuPopup& parent = *levels_[static_cast<size_t>(level)].popup;
  const Rect frame = parent.ClientScreenRect();
  const float scale = parent.ScaleFactor();
  const float top =
      frame.y + std::round((panel->RowTop(index) - panel->ScrollOffset() - kMenuPadding) * scale);
  const float right = frame.Right() - std::round(kSubmenuOverlap * scale);
  OpenLevel(item.children, Rect{frame.x, top, right - frame.x, 1}, PopupSide::Beside, index, selectFirst);
}

void MenuSession::CloseFrom(int level) {
  if (submenuTimer_.level >= level) CancelSubmenuTimer();
  while (LevelCount() > std::max(level, 0)) {
    std::unique_ptr<MenuPopup> popup = std::move(levels_.back().popup);
    levels_.pop_back();
    popup->Close();
    DropLater(std::move(popup));
  }
}

void MenuSession::Close() {
  if (closing_ || !IsOpen()) return;
  // The closing callback may drop the owner's last reference.
  std::shared_ptr<MenuSession> self = shared_from_this();
  closing_ = true;
  CancelSubmenuTimer();
  levels_.front().popup->HoldPointer(false);
  CloseFrom(0);
  // The route outlives the menu until the posted queue runs, so that the character of the key that closed
  // the menu is swallowed too.
  if (keyRoute_) Application::Instance().Post([route = std::shared_ptr<KeyRoute>(std::move(keyRoute_))] {});
  leftPressedInside_ = false;
  pressLevel_ = -1;
  closing_ = false;
  if (std::function<void()> callback = onClosing_) callback();
}

void MenuSession::GrabLost() {
  if (!closing_) Close();
}

void MenuSession::CancelSubmenuTimer() {
  if (MenuPopup* popup = PopupAt(submenuTimer_.level)) popup->CancelTimer(submenuTimer_.id);
  submenuTimer_ = SubmenuTimer{};
}

// --- Highlight and activation ---

void MenuSession::HotChanged(int level, int index, bool fromPointer) {
  MenuPanel* panel = PanelAt(level);
  if (!panel) return;
  panel->SetHighlighted(index);
  if (LevelCount() > level + 1 && levels_[static_cast<size_t>(level) + 1].parentIndex != index) {
    CloseFrom(level + 1);
  }
  CancelSubmenuTimer();
  if (!fromPointer || index < 0 || level != LevelCount() - 1) return;
  const MenuItem& item = panel->Items()[static_cast<size_t>(index)];
  if (item.kind != MenuItemKind::Submenu || !item.enabled) return;
  if (hoverDelay_ <= 0) {
    OpenSubmenu(level, index, false);
    return;
  }
  std::weak_ptr<MenuSession> weak = weak_from_this();
  const uint64_t id = PopupAt(level)->AddTimer(
      panel, hoverDelay_,
      [weak, level, index] {
        auto self = weak.lock();
        if (!self) return;
        self->submenuTimer_ = SubmenuTimer{};
        self->OpenSubmenu(level, index, false);
      },
      false);
  submenuTimer_ = SubmenuTimer{level, id};
}

void MenuSession::Invoke(int level, int index, InvokeSource source) {
  MenuPanel* panel = PanelAt(level);
  if (!panel || index < 0 || index >= static_cast<int>(panel->Items().size())) return;
  std::vector<MenuItem>& items = panel->MutableItems();
  MenuItem& item = items[static_cast<size_t>(index)];
  if (!item.IsSelectable()) return;
  if (item.kind == MenuItemKind::Submenu) {
    OpenSubmenu(level, index, source == InvokeSource::Keyboard);
    return;
  }
  if (item.kind == MenuItemKind::Check) item.checked = !item.checked;
  if (item.kind == MenuItemKind::Radio) {
    for (MenuItem& other : items) {
      if (other.kind == MenuItemKind::Radio && other.group == item.group) other.checked = false;
    }
    item.checked = true;
  }
  MenuItem chosen = item;
  std::function<void(const MenuItem&)> invoked = onInvoked_;
  Close();
  Application::Instance().Post([chosen = std::move(chosen), invoked = std::move(invoked)] {
    if (chosen.action) chosen.action();
    if (invoked) invoked(chosen);
  });
}

// --- Keyboard ---

bool MenuSession::KeyDown(const KeyEvent& event) {
  std::shared_ptr<MenuSession> self = shared_from_this();
  const int level = LevelCount() - 1;
  MenuPanel* panel = PanelAt(level);
  const int hot = panel->Highlighted();
  const bool onSubmenu = hot >= 0 && panel->Items()[static_cast<size_t>(hot)].kind == MenuItemKind::Submenu;
  switch (event.key) {
    case Vk::Enter:
    case Vk::Space:
      if (hot >= 0) Invoke(level, hot, InvokeSource::Keyboard);
      return true;
    case Vk::Escape:
      if (level > 0) {
        CloseFrom(level);
      } else {
        Close();
      }
      return true;
    case Vk::Tab:
    case Vk::Alt:
    case Vk::LeftAlt:
    case Vk::RightAlt:
    case kF10:
      Close();
      return true;
    case Vk::Up:
    case Vk::Down:
      Step(event.key == Vk::Down ? 1 : -1);
      return true;
    case Vk::Home:
    case Vk::End:
      HighlightEnd(event.key == Vk::End);
      return true;
    case Vk::Right:
      if (onSubmenu) {
        OpenSubmenu(level, hot, true);
      } else if (level == 0 && onSideways_) {
        std::function<bool(int)> sideways = onSideways_;
        sideways(1);
      }
      return true;
    case Vk::Left:
      if (level > 0) {
        CloseFrom(level);
      } else if (onSideways_) {
        std::function<bool(int)> sideways = onSideways_;
        sideways(-1);
      }
      return true;
    default:
      break;
  }
  if (IsAccessKeyCode(event.key) && (event.modifiers & Modifier::Ctrl) == 0) {
    AccessKey(static_cast<char16_t>(event.key));
    return true;
  }
  return false;
}

void MenuSession::Step(int direction) {
  const int level = LevelCount() - 1;
  MenuPanel* panel = PanelAt(level);
  const auto& items = panel->Items();
  const int n = static_cast<int>(items.size());
  const int hot = panel->Highlighted();
  const int start = hot >= 0 ? hot : (direction > 0 ? -1 : n);
  for (int i = 1; i <= n; ++i) {
    const int index = ((start + direction * i) % n + n) % n;
    if (items[static_cast<size_t>(index)].IsSelectable()) {
      HotChanged(level, index, false);
      return;
    }
  }
}

void MenuSession::HighlightEnd(bool last) {
  const int level = LevelCount() - 1;
  const auto& items = PanelAt(level)->Items();
  const int n = static_cast<int>(items.size());
  for (int i = 0; i < n; ++i) {
    const int index = last ? n - 1 - i : i;
    if (items[static_cast<size_t>(index)].IsSelectable()) {
      HotChanged(level, index, false);
      return;
    }
  }
}

void MenuSession::AccessKey(char16_t key) {
  const int level = LevelCount() - 1;
  MenuPanel* panel = PanelAt(level);
  const auto& items = panel->Items();
  std::vector<int> matches;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].IsSelectable() && ParseAccessKey(items[i].text).key == key)
      matches.push_back(static_cast<int>(i));
  }
  if (matches.empty()) return;
  if (matches.size() == 1) {
    Invoke(level, matches.front(), InvokeSource::Keyboard);
    return;
  }
  const int hot = panel->Highlighted();
  const auto next = std::upper_bound(matches.begin(), matches.end(), hot);
  HotChanged(level, next == matches.end() ? matches.front() : *next, false);
}

// --- Pointer ---

int MenuSession::LevelAt(Point screen) const {
  for (int level = LevelCount() - 1; level >= 0; --level) {
    if (levels_[static_cast<size_t>(level)].popup->ClientScreenRect().Contains(screen)) return level;
  }
  return -1;
}

void MenuSession::RouteToLevel(int level, const WindowInput& input) {
  MenuPopup& popup = *levels_[static_cast<size_t>(level)].popup;
  // A level shown a moment ago may not have painted yet; its rows must be in place to be hit.
  if (popup.IsLayoutDirty()) popup.UpdateLayout();
  PointerEvent e;
  e.position = popup.ScreenToWindow(input.screen);
  e.button = input.button;
  e.clicks = input.clicks;
  e.modifiers = input.modifiers;
  switch (input.kind) {
    case WindowInput::Kind::PointerMove:
      popup.PointerMove(e);
      break;
    case WindowInput::Kind::ButtonPress:
      popup.PointerDown(e);
      break;
    case WindowInput::Kind::ButtonRelease:
      popup.PointerUp(e);
      break;
    default:
      break;
  }
}

void MenuSession::PointerInput(const WindowInput& input) {
  if (!IsOpen()) return;
  std::shared_ptr<MenuSession> self = shared_from_this();
  const int level = LevelAt(input.screen);
  switch (input.kind) {
    case WindowInput::Kind::PointerMove:
      if (level >= 0) {
        RouteToLevel(level, input);
      } else if (std::function<void(Point)> outside = onOutsideMove_) {
        outside(input.screen);
      }
      return;
    case WindowInput::Kind::ButtonPress:
      if (level >= 0) {
        if (input.button != PointerButton::Left) return;
        leftPressedInside_ = true;
        pressLevel_ = level;
        RouteToLevel(level, input);
        return;
      }
      if (input.button == PointerButton::None) return;
      if (std::function<bool(Point)> outside = onOutsidePress_; outside && outside(input.screen)) return;
      Close();
      return;
    case WindowInput::Kind::ButtonRelease: {
      if (input.button != PointerButton::Left || !leftPressedInside_) return;
      leftPressedInside_ = false;
      const int target = level >= 0 ? level : pressLevel_;
      // A press that began in another level ends there: that level's widgets give up the press.
      if (pressLevel_ != target && PopupAt(pressLevel_)) PopupAt(pressLevel_)->CaptureChanged();
      if (PopupAt(target)) RouteToLevel(target, input);
      return;
    }
    default:
      return;
  }
}

}  // namespace Quarlo::Widget::Input

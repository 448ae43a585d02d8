// Menu item constructors and the context menu that shows a session of them.

#include "widget/input/menu_item.h"

#include <cmath>

#include "widget/input/menu_session.h"
#include "widget/widget.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {

MenuItem MenuItem::Command(int32_t id, std::string text, std::string accelerator, char32_t icon) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  item.acceleratorText = std::move(accelerator);
  item.icon = icon;
  return item;
}

MenuItem MenuItem::Check(int32_t id, std::string text, std::string accelerator, char32_t icon, bool checked) {
  MenuItem item = Command(id, std::move(text), std::move(accelerator), icon);
  item.kind = MenuItemKind::Check;
  item.checked = checked;
  return item;
}

MenuItem MenuItem::Radio(int32_t id, std::string text, std::string accelerator, char32_t icon, int32_t group,
                         bool checked) {
  MenuItem item = Command(id, std::move(text), std::move(accelerator), icon);
  item.kind = MenuItemKind::Radio;
  item.group = group;
  item.checked = checked;
  return item;
}

MenuItem MenuItem::Separator() {
  MenuItem item;
  item.kind = MenuItemKind::Separator;
  return item;
}

MenuItem MenuItem::Submenu(int32_t id, std::string text, std::string accelerator, char32_t icon,
                           std::vector<MenuItem> children) {
  MenuItem item = Command(id, std::move(text), std::move(accelerator), icon);
  item.kind = MenuItemKind::Submenu;
  item.children = std::move(children);
  return item;
}

ContextMenu::ContextMenu() = default;

ContextMenu::~ContextMenu() = default;

void ContextMenu::ShowAt(Window& owner, int x, int y, bool selectFirst) {
  Show(owner, Rect{static_cast<float>(x), static_cast<float>(y), 0, 0}, selectFirst);
}

void ContextMenu::ShowBelow(Window& owner, const Rect& anchor, bool selectFirst) {
  const float left = std::round(anchor.x);
  const float top = std::round(anchor.y);
  Show(owner, Rect{left, top, std::round(anchor.Right()) - left, std::round(anchor.Bottom()) - top},
       selectFirst);
}

void ContextMenu::Show(Window& owner, Rect anchor, bool selectFirst) {
  Close();
  std::weak_ptr<const char> alive = alive_;
  session_ = MenuSession::Create(
      owner, items,
      [this, alive](const MenuItem& item) {
        if (alive.expired()) return;
        if (std::function<void(const MenuItem&)> callback = onInvoked) callback(item);
      },
      hoverDelay);
  session_->SetOnClosing([this] {
    if (std::function<void()> callback = onClosed) callback();
  });
  session_->Open(anchor, selectFirst);
}

void ContextMenu::ShowBelowWidget(const Widget& anchor, bool selectFirst) {
  auto* window = dynamic_cast<Window*>(anchor.GetHost());
  if (window) ShowBelow(*window, anchor.ScreenBounds(), selectFirst);
}

bool ContextMenu::IsOpen() const { return session_ && session_->IsOpen(); }

void ContextMenu::Close() {
  if (session_) session_->Close();
}

}  // namespace Quarlo::Widget::Input

#pragma once
// Key routes: menus and drop-down lists see the keys of a window before its widgets do. Each host with at
// least one route has a router that its four preview hooks call; the newest route is asked first and the
// first that consumes an event ends it. Keys no route consumes go on to the hooks the host had before.

#include <cstdint>
#include <functional>
#include <memory>

namespace Quarlo::Widget {
class Host;
struct KeyEvent;
struct CharEvent;
struct ImeEvent;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Input {

class Router;

// Each returns true when it consumed the event; an empty one lets the event pass.
struct RouteHandlers {
  std::function<bool(const KeyEvent&)> keyDown;
  std::function<bool(const KeyEvent&)> keyUp;
  std::function<bool(const CharEvent&)> character;
  std::function<bool(const ImeEvent&)> ime;
};

// A subscription: it routes while it lives. Menus and drop-down lists hold one, modal, while they are open.
class KeyRoute {
 public:
  KeyRoute(Host& host, RouteHandlers handlers, bool modal);
  ~KeyRoute();
  KeyRoute(const KeyRoute&) = delete;
  KeyRoute& operator=(const KeyRoute&) = delete;

  bool IsModal() const { return modal_; }

 private:
  std::shared_ptr<Router> router_;
  uint64_t id_ = 0;
  bool modal_ = false;
};

}  // namespace Quarlo::Widget::Input

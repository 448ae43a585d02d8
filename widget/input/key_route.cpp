// The per-host router behind KeyRoute: one per host with routes, found through a process-wide map, alive
// while a route holds it. Only the user-interface thread reaches it.

#include "widget/input/key_route.h"

#include <algorithm>
#include <map>
#include <vector>

#include "widget/host.h"
#include "widget/input/events.h"

namespace Quarlo::Widget::Input {

class Router : public std::enable_shared_from_this<Router> {
 public:
  explicit Router(Host& host);
  ~Router();
  Router(const Router&) = delete;
  Router& operator=(const Router&) = delete;

  // Points the host's preview hooks at this router.
  void Install();
  uint64_t Add(RouteHandlers handlers);
  void Remove(uint64_t id);
  // True while the host this router serves still exists.
  bool Serves(const Host& host) const { return host_ == &host && !hostAlive_.expired(); }

 private:
  struct Entry {
    uint64_t id = 0;
    RouteHandlers handlers;
  };

  // Newest route first, over a copy so handlers may add or remove routes; a route removed meanwhile is
  // skipped. What no route consumed goes to the hook the host had before the router.
  template <typename Event, typename Member, typename Hook>
  bool Route(const Event& event, Member member, const Hook& previous) const {
    const std::vector<Entry> entries = entries_;
    std::weak_ptr<const char> alive = hostAlive_;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (!Contains(it->id)) continue;
      const auto& handler = it->handlers.*member;
      if (handler && handler(event)) return true;
      if (alive.expired()) return true;
    }
    return previous && previous(event);
  }
  bool Contains(uint64_t id) const {
    return std::any_of(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
  }

  Host* host_;
  std::weak_ptr<const char> hostAlive_;
  uint64_t nextId_ = 1;
  std::vector<Entry> entries_;
  std::function<bool(const KeyEvent&)> previousKeyDown_;
  std::function<bool(const KeyEvent&)> previousKeyUp_;
  std::function<bool(const CharEvent&)> previousChar_;
  std::function<bool(const ImeEvent&)> previousIme_;
};

namespace {

std::map<const Host*, std::weak_ptr<Router>>& Routers() {
  static std::map<const Host*, std::weak_ptr<Router>> routers;
  return routers;
}

std::shared_ptr<Router> RouterFor(Host& host) {
  std::weak_ptr<Router>& slot = Routers()[&host];
  std::shared_ptr<Router> router = slot.lock();
  // A router left by a destroyed host at the same address serves nobody: the new host gets its own.
  if (!router || !router->Serves(host)) {
    router = std::make_shared<Router>(host);
    router->Install();
    slot = router;
  }
  return router;
}

}  // namespace

Router::Router(Host& host)
    : host_(&host),
      hostAlive_(host.AliveToken()),
      previousKeyDown_(host.KeyDownPreview()),
      previousKeyUp_(host.KeyUpPreview()),
      previousChar_(host.CharPreview()),
      previousIme_(host.ImePreview()) {}

void Router::Install() {
  // The hooks hold the router weakly, since the routes own it, and keep it alive while they run: a handler
  // may drop the last route.
  std::weak_ptr<Router> weak = weak_from_this();
  host_->SetKeyDownPreview([weak](const KeyEvent& e) {
    auto self = weak.lock();
    return self && self->Route(e, &RouteHandlers::keyDown, self->previousKeyDown_);
  });
  host_->SetKeyUpPreview([weak](const KeyEvent& e) {
    auto self = weak.lock();
    return self && self->Route(e, &RouteHandlers::keyUp, self->previousKeyUp_);
  });
  host_->SetCharPreview([weak](const CharEvent& e) {
    auto self = weak.lock();
    return self && self->Route(e, &RouteHandlers::character, self->previousChar_);
  });
  host_->SetImePreview([weak](const ImeEvent& e) {
    auto self = weak.lock();
    return self && self->Route(e, &RouteHandlers::ime, self->previousIme_);
  });
}

Router::~Router() {
  auto& routers = Routers();
  if (auto it = routers.find(host_); it != routers.end() && it->second.expired()) routers.erase(it);
  if (hostAlive_.expired()) return;
  host_->SetKeyDownPreview(std::move(previousKeyDown_));
  host_->SetKeyUpPreview(std::move(previousKeyUp_));
  host_->SetCharPreview(std::move(previousChar_));
  host_->SetImePreview(std::move(previousIme_));
}

uint64_t Router::Add(RouteHandlers handlers) {
  const uint64_t id = nextId_++;
  entries_.push_back(Entry{id, std::move(handlers)});
  return id;
}

void Router::Remove(uint64_t id) {
  std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

KeyRoute::KeyRoute(Host& host, RouteHandlers handlers, bool modal) : router_(RouterFor(host)), modal_(modal) {
  id_ = router_->Add(std::move(handlers));
}

KeyRoute::~KeyRoute() { router_->Remove(id_); }

}  // namespace Quarlo::Widget::Input

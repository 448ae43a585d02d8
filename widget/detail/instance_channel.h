#pragma once
// The POSIX side of the single-instance link: the identity's lock file, the primary's listening socket with
// the connections it is reading, and the sender's side of one message. The receiver lives on the
// user-interface thread: every socket it owns is non-blocking and watched by the toolkit's loop, and a
// connection that does not complete its message within its deadline is refused, so a slow or silent
// client cannot stall the interface.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "widget/detail/instance_names.h"
#include "widget/detail/unique_fd.h"

namespace Quarlo::Widget::Detail {

// How long a connection may take to deliver its whole message.
inline constexpr double kInstanceReadDeadlineSeconds = 2.0;
// Connections read at the same time; more are closed unanswered until one finishes.
inline constexpr size_t kInstanceConnectionLimit = 16;

// Connects to the socket, sends one message and waits for the answer, all within timeoutMs. True only when
// the receiver accepted the message.
bool SendInstanceMessage(const std::string& socketPath, std::string_view text, int timeoutMs);

class InstanceChannel {
 public:
  // Opens the identity's lock file and takes the lock when it is free; the holder listens on the socket.
  // Null when there is no private folder to keep the files in (or no room for their names).
  static std::unique_ptr<InstanceChannel> Open(std::string_view identity);
  ~InstanceChannel();
  InstanceChannel(const InstanceChannel&) = delete;
  InstanceChannel& operator=(const InstanceChannel&) = delete;

  bool IsPrimary() const { return primary_; }
  const InstancePaths& Paths() const { return paths_; }
  bool Send(std::string_view text, int timeoutMs) const {
    return SendInstanceMessage(paths_.socket, text, timeoutMs);
  }
  // Until a handler is set, every message is refused.
  void SetHandler(std::function<void(const std::string&)> handler) { handler_ = std::move(handler); }

 private:
  struct Connection {
    UniqueFd socket;
    std::string received;
    uint64_t watch = 0;
    uint64_t deadline = 0;
  };

  InstanceChannel(InstancePaths paths, UniqueFd lock, bool primary);
  void Listen();
  void AcceptPending();
  void ReadFrom(uint64_t id);
  void Deliver(uint64_t id);
  void Refuse(uint64_t id);
  // Forgets a connection (its watch and deadline with it) and hands back its socket.
  UniqueFd Release(uint64_t id);

  InstancePaths paths_;
  // Declared before the sockets, so it is closed after them: the socket file goes while the lock is held.
  UniqueFd lock_;
  bool primary_ = false;
  UniqueFd listener_;
  uint64_t listenerWatch_ = 0;
  std::map<uint64_t, Connection> connections_;
  uint64_t nextConnection_ = 1;
  std::function<void(const std::string&)> handler_;
};

}  // namespace Quarlo::Widget::Detail

// The single-instance link over a Unix-domain socket, guarded by flock on a lock file.

#include "widget/detail/instance_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "widget/detail/instance_frame.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget::Detail {
namespace {

using Clock = std::chrono::steady_clock;

// Connections the kernel queues for the primary before it accepts them.
constexpr int kListenBacklog = 16;
// The most a read asks for at once.
constexpr size_t kReadChunk = 16384;

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT32_MAX));
}

// Waits until the socket is ready for events (or hung up) before the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd polled{fd, events, 0};
    const int ready = poll(&polled, 1, RemainingMs(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// A blocking connect bounded by the send time-out: it waits only while the primary's queue is full.
bool ConnectBefore(int fd, const std::string& path, Clock::time_point deadline) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return false;
  const int ms = std::max(1, RemainingMs(deadline));
  timeval limit{ms / 1000, (ms % 1000) * 1000};
  if (setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) return false;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
  return fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) == 0;
}

bool WriteAllBefore(int fd, std::string_view bytes, Clock::time_point deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, deadline)) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

// The receiver's one-byte answer; false when it hung up or the deadline passed first.
bool ReadReplyBefore(int fd, Clock::time_point deadline, char& reply) {
  for (;;) {
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    const ssize_t n = recv(fd, &reply, 1, 0);
    if (n == 1) return true;
    if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) return false;
  }
}

bool FromThisUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

// A sender that closed its end has given up waiting (its time-out passed) and gone its own way.
bool SenderHasGone(const UniqueFd& socket) {
  pollfd polled{socket.Get(), 0, 0};
  return poll(&polled, 1, 0) > 0 && (polled.revents & (POLLHUP | POLLERR)) != 0;
}

// The sender learns the outcome from one byte; a sender that has gone already is no concern.
void Answer(const UniqueFd& socket, char reply) {
  [[maybe_unused]] ssize_t n = send(socket.Get(), &reply, 1, MSG_NOSIGNAL);
}

}  // namespace

bool SendInstanceMessage(const std::string& socketPath, std::string_view text, int timeoutMs) {
  if (text.size() > kInstanceTextLimit) return false;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid() || !ConnectBefore(socket.Get(), socketPath, deadline)) return false;
  if (!WriteAllBefore(socket.Get(), EncodeInstanceFrame(text), deadline)) return false;
  char reply = kInstanceRefused;
  return ReadReplyBefore(socket.Get(), deadline, reply) && reply == kInstanceAccepted;
}

std::unique_ptr<InstanceChannel> InstanceChannel::Open(std::string_view identity) {
  std::optional<InstancePaths> paths = InstancePathsFor(identity);
  if (!paths) return nullptr;
  UniqueFd lock(open(paths->lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!lock.Valid()) return nullptr;
  const bool primary = flock(lock.Get(), LOCK_EX | LOCK_NB) == 0;
  return std::unique_ptr<InstanceChannel>(new InstanceChannel(std::move(*paths), std::move(lock), primary));
}

InstanceChannel::InstanceChannel(InstancePaths paths, UniqueFd lock, bool primary)
    : paths_(std::move(paths)), lock_(std::move(lock)), primary_(primary) {
  if (primary_) Listen();
}

InstanceChannel::~InstanceChannel() {
  for (auto& [id, connection] : connections_) {
    Unwatch(connection.watch);
    CancelLoopTimer(connection.deadline);
  }
  if (listenerWatch_ != 0) {
    Unwatch(listenerWatch_);
    unlink(paths_.socket.c_str());
  }
}

void InstanceChannel::Listen() {
  // Only the lock holder gets here, so a socket file left by a primary that died is stale.
  unlink(paths_.socket.c_str());
  sockaddr_un address;
  if (!MakeAddress(paths_.socket, address)) return;
  UniqueFd listener(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener.Valid()) return;
  if (bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return;
  if (listen(listener.Get(), kListenBacklog) != 0) {
    unlink(paths_.socket.c_str());
    return;
  }
  listener_ = std::move(listener);
  listenerWatch_ = WatchReadable(listener_.Get(), [this] { AcceptPending(); });
}

void InstanceChannel::AcceptPending() {
  for (;;) {
    UniqueFd socket(accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!socket.Valid()) {
      if (errno == EINTR) continue;
      return;
    }
    // Another user's process, or one too many at once: closed unanswered.
    if (!FromThisUser(socket.Get()) || connections_.size() >= kInstanceConnectionLimit) continue;
    const uint64_t id = nextConnection_++;
    Connection& connection = connections_[id];
    connection.watch = WatchReadable(socket.Get(), [this, id] { ReadFrom(id); });
    connection.deadline = StartLoopTimer(kInstanceReadDeadlineSeconds, [this, id] { Refuse(id); });
    connection.socket = std::move(socket);
  }
}

void InstanceChannel::ReadFrom(uint64_t id) {
  auto found = connections_.find(id);
  if (found == connections_.end()) return;
  Connection& connection = found->second;
  for (;;) {
    const FrameProgress progress = InspectInstanceFrame(connection.received);
    if (progress.state == FrameState::Malformed) return Refuse(id);
    if (progress.state == FrameState::Complete) return Deliver(id);
    // Never more than the message still lacks, so bytes after it are not taken for part of it.
    const size_t had = connection.received.size();
    const size_t wanted = std::min(progress.missing, kReadChunk);
    connection.received.resize(had + wanted);
    const ssize_t n = recv(connection.socket.Get(), connection.received.data() + had, wanted, 0);
    connection.received.resize(had + static_cast<size_t>(std::max<ssize_t>(n, 0)));
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    // The sender closed (or failed) before its message was whole.
    return Refuse(id);
  }
}

void InstanceChannel::Deliver(uint64_t id) {
  const std::string text(InstanceFrameText(connections_.at(id).received));
  const UniqueFd socket = Release(id);
  // Acting on a message whose sender has fallen back to a start of its own would do the work twice.
  if (SenderHasGone(socket)) return;
  if (!handler_) return Answer(socket, kInstanceRefused);
  // From a copy: the handler may replace itself, or end the link, while it runs.
  const std::function<void(const std::string&)> handler = handler_;
  handler(text);
  Answer(socket, kInstanceAccepted);
}

void InstanceChannel::Refuse(uint64_t id) {
  if (connections_.count(id) == 0) return;
  Answer(Release(id), kInstanceRefused);
}

UniqueFd InstanceChannel::Release(uint64_t id) {
  auto node = connections_.extract(id);
  Unwatch(node.mapped().watch);
  CancelLoopTimer(node.mapped().deadline);
  return std::move(node.mapped().socket);
}

}  // namespace Quarlo::Widget::Detail

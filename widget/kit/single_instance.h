#pragma once
// The single-instance link: one process per identity is the primary; a later start of the same identity
// hands it one short text and ends. The primary holds an advisory lock named after the identity for the
// link's whole life and listens on a local channel of the same name; the channel lives in a folder that
// only the user can enter, and the receiver takes messages only from processes of the same user. The
// receiver runs on the user-interface thread, watched by the toolkit's loop, and never blocks it.
// The POSIX side is in widget/detail/; this header names no platform type.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Quarlo::Widget::Detail {
class InstanceChannel;
}  // namespace Quarlo::Widget::Detail

namespace Quarlo::Widget::Kit {

class SingleInstance {
 public:
  // The start-up sequence creates the link once the application object is initialised (the receiver needs
  // its loop). Never fails: a process that cannot take part in the link (no usable folder) counts as
  // primary and simply receives nothing.
  explicit SingleInstance(std::string identity);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process holds the identity's lock.
  bool IsPrimary() const { return primary_; }

  // A second start: delivers one message to the primary of the same identity and waits at most timeoutMs
  // for its answer. True only when the primary accepted it; false when no primary listens, it refused, it
  // did not answer in time or it hung up. Texts above 65536 bytes are refused without sending.
  bool Send(std::string_view text, int timeoutMs);

  // The start-up sequence installs the receiver's handler once the viewer window exists; until then every
  // message is refused. The handler runs on the user-interface thread while the sender waits, with the text
  // exactly as sent (embedded NUL bytes included); every well-formed message is accepted once it is set.
  void SetOnCommand(std::function<void(const std::string&)> handler);

 private:
  // The lock, the listening channel and the connections being read (null when no folder was usable).
  std::unique_ptr<Detail::InstanceChannel> channel_;
  bool primary_ = false;
};

}  // namespace Quarlo::Widget::Kit

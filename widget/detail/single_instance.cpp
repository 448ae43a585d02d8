// SingleInstance over the POSIX channel: the kit's portable face of instance_channel.

#include "widget/kit/single_instance.h"

#include "widget/detail/instance_channel.h"

namespace Quarlo::Widget::Kit {

SingleInstance::SingleInstance(std::string identity)
    : channel_(Detail::InstanceChannel::Open(identity)), primary_(!channel_ || channel_->IsPrimary()) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Send(std::string_view text, int timeoutMs) {
  return channel_ && channel_->Send(text, timeoutMs);
}

void SingleInstance::SetOnCommand(std::function<void(const std::string&)> handler) {
  if (channel_) channel_->SetHandler(std::move(handler));
}

}  // namespace Quarlo::Widget::Kit

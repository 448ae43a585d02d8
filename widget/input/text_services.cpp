// The process-wide services of text fields: the clipboard and the input-method bridge, each made by the
// backend on first use unless a test installed its own.

#include "widget/input/clipboard.h"
#include "widget/input/ime_bridge.h"

namespace Quarlo::Widget::Input {
namespace {

template <typename Service>
std::unique_ptr<Service>& Slot() {
  static std::unique_ptr<Service> service;
  return service;
}

template <typename Service>
Service& Get(std::unique_ptr<Service> (*create)()) {
  std::unique_ptr<Service>& slot = Slot<Service>();
  if (!slot) slot = create();
  return *slot;
}

}  // namespace

IClipboard& Clipboard() { return Get<IClipboard>(&CreateSystemClipboard); }
void SetClipboard(std::unique_ptr<IClipboard> clipboard) { Slot<IClipboard>() = std::move(clipboard); }

IImeBridge& ImeBridge() { return Get<IImeBridge>(&CreateSystemImeBridge); }
void SetImeBridge(std::unique_ptr<IImeBridge> bridge) { Slot<IImeBridge>() = std::move(bridge); }

}  // namespace Quarlo::Widget::Input

// The headless clipboard and input-method bridge.

#include "tests/support/headless_text_services.h"

namespace Quarlo::Widget {
namespace Testing {

bool HeadlessClipboard::GetText(NativeHandle, std::string& out) {
  if (failing || !hasText) return false;
  out = text;
  return true;
}

bool HeadlessClipboard::PutText(NativeHandle, std::string_view value) {
  if (failing) return false;
  text = std::string(value);
  hasText = true;
  image = PixelImage{};
  return true;
}

bool HeadlessClipboard::GetImage(NativeHandle, PixelImage& out) {
  if (failing || image.Empty()) return false;
  out = image;
  return true;
}

bool HeadlessClipboard::PutImage(NativeHandle, const PixelImage& value, const Input::ClipboardImageOptions&) {
  if (failing || value.Empty()) return false;
  image = value;
  hasText = false;
  text.clear();
  return true;
}

void HeadlessImeBridge::CancelComposition(Window&) { ++cancellations; }

HeadlessClipboard& TestClipboard() { return static_cast<HeadlessClipboard&>(Input::Clipboard()); }
HeadlessImeBridge& TestImeBridge() { return static_cast<HeadlessImeBridge&>(Input::ImeBridge()); }

}  // namespace Testing

namespace Input {

std::unique_ptr<IClipboard> CreateSystemClipboard() { return std::make_unique<Testing::HeadlessClipboard>(); }
std::unique_ptr<IImeBridge> CreateSystemImeBridge() { return std::make_unique<Testing::HeadlessImeBridge>(); }

}  // namespace Input
}  // namespace Quarlo::Widget

#pragma once
// The headless backend's clipboard and input-method bridge: the clipboard keeps its content in memory (and
// can be made to fail, as a busy system clipboard does); the bridge counts the compositions it was told to
// forget. Tests reach them through Input::Clipboard() and Input::ImeBridge().

#include <string>

#include "widget/input/clipboard.h"
#include "widget/input/ime_bridge.h"

namespace Quarlo::Widget::Testing {

class HeadlessClipboard : public Input::IClipboard {
 public:
  bool GetText(NativeHandle owner, std::string& out) override;
  bool PutText(NativeHandle owner, std::string_view text) override;
  bool GetImage(NativeHandle owner, PixelImage& out) override;
  bool PutImage(NativeHandle owner, const PixelImage& image,
                const Input::ClipboardImageOptions& options) override;

  bool hasText = false;
  std::string text;
  PixelImage image;
  bool failing = false;  // every call fails
};

class HeadlessImeBridge : public Input::IImeBridge {
 public:
  void CancelComposition(Window& window) override;

  int cancellations = 0;
};

// The process's clipboard and bridge as the headless types (they are made on first use).
HeadlessClipboard& TestClipboard();
HeadlessImeBridge& TestImeBridge();

}  // namespace Quarlo::Widget::Testing

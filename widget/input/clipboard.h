#pragma once
// The system clipboard as text fields and the picture commands use it: UTF-8 text, and pictures as PNG.
// One process-wide instance, made on first use by the backend the build compiles; tests put their own in.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "widget/links.h"
#include "widget/pixel_image.h"

namespace Quarlo::Widget::Input {

struct ClipboardImageOptions {
  // Windows' cloud clipboard and clipboard history have no counterpart on this desktop; kept so that
  // callers state what they want.
  bool excludeFromCloud = false;
  bool excludeFromHistory = false;
  std::span<const uint8_t> png;  // already encoded PNG bytes; empty: encoded from the image
};

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Paste: the clipboard's text; false when it holds none or cannot be read.
  virtual bool GetText(NativeHandle owner, std::string& out) = 0;
  // Copy and cut: replaces the clipboard's content with text; false when it cannot be set.
  virtual bool PutText(NativeHandle owner, std::string_view text) = 0;
  // A picture on the clipboard; false when none decodes.
  virtual bool GetImage(NativeHandle owner, PixelImage& out) = 0;
  // Replaces the clipboard's content with a picture; false for an empty image or when it cannot be set.
  virtual bool PutImage(NativeHandle owner, const PixelImage& image,
                        const ClipboardImageOptions& options) = 0;
};

// The process-wide clipboard: the installed one, else the system's, made on first use.
IClipboard& Clipboard();
// Installs a clipboard for the process (tests); null returns to the system's.
void SetClipboard(std::unique_ptr<IClipboard> clipboard);
// Defined by the backend the build compiles.
std::unique_ptr<IClipboard> CreateSystemClipboard();

}  // namespace Quarlo::Widget::Input

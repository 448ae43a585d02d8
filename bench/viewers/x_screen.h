#pragma once
// The probe's view of the X server: the viewer's top-level window, the pixels of its centre lines as the
// screen shows them, the input focus and synthetic key presses (and held keys) through XTEST.

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Quarlo::Bench {

struct ScreenRect {
  int x = 0, y = 0;
  int width = 0, height = 0;
};

// Without a window manager a viewer's windows are children of the root window; the viewer's top-level one
// is the largest that is viewable. When none is, the probe watches the whole screen.
struct ViewerWindow {
  Window id = None;  // None: no viewable window, rect is the whole screen
  ScreenRect rect;
};

struct CentreLines {
  std::vector<uint32_t> row, column;  // 0xRRGGBB, left to right and top to bottom
};

class XScreen {
 public:
  // Connects to $DISPLAY; null with error set when there is no usable 24-bit TrueColor screen or no XTEST.
  static std::unique_ptr<XScreen> Open(std::string& error);
  ~XScreen();
  XScreen(const XScreen&) = delete;
  XScreen& operator=(const XScreen&) = delete;

  ViewerWindow FindViewerWindow();
  // The window's centre row and column as they are on screen (overlapping windows included), clipped to the
  // screen; empty lines when the read-back failed.
  CentreLines ReadCentreLines(const ScreenRect& rect);
  // Gives the window the keyboard focus and puts the pointer in its middle, as a click would.
  void Focus(const ViewerWindow& window);
  // Presses and releases the key with this keysym name ("Right", "space"); false when no key types it.
  bool PressKey(const std::string& keysymName);
  // Sends one press (down) or release of that key.
  bool SendKey(const std::string& keysymName, bool down);
  // Sets the server's key repeat (delay before the first repeat, then one repeat every interval); the
  // server's own values come back with RestoreKeyRepeat.
  void SetKeyRepeat(unsigned delayMs, unsigned intervalMs);
  void RestoreKeyRepeat();
  // From now on counts the key presses (repeats included) the server delivers to the window.
  void CountKeyPresses(const ViewerWindow& window);
  // The presses counted so far.
  int KeyPressesCounted();

 private:
  explicit XScreen(Display* display);
  std::vector<uint32_t> ReadLine(int x, int y, int width, int height);
  KeyCode CodeOf(const std::string& keysymName) const;

  Display* display_;
  Window root_;
  int screenWidth_, screenHeight_;
  unsigned repeatDelay_ = 0, repeatInterval_ = 0;  // the server's own, saved by SetKeyRepeat
  int keyPresses_ = 0;
  int xiOpcode_ = -1;
};

}  // namespace Quarlo::Bench

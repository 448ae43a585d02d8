#include "bench/viewers/x_screen.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <algorithm>

namespace Quarlo::Bench {
namespace {

constexpr int kTrueColorDepth = 24;

// A window may vanish between listing and asking about it; Xlib's default handler would end the probe.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

std::unique_ptr<XScreen> XScreen::Open(std::string& error) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    error = "cannot open the X display (is DISPLAY set?)";
    return nullptr;
  }
  int event = 0, errorBase = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event, &errorBase, &major, &minor)) {
    error = "the X server has no XTEST extension";
  } else if (DefaultDepth(display, DefaultScreen(display)) != kTrueColorDepth ||
             DefaultVisual(display, DefaultScreen(display))->red_mask != 0xFF0000) {
    error = "the X screen is not 24-bit TrueColor (start Xvfb with -screen 0 WxHx24)";
  } else {
    XSetErrorHandler(IgnoreXError);
    return std::unique_ptr<XScreen>(new XScreen(display));
  }
  XCloseDisplay(display);
  return nullptr;
}

XScreen::XScreen(Display* display)
    : display_(display),
      root_(DefaultRootWindow(display)),
      screenWidth_(DisplayWidth(display, DefaultScreen(display))),
      screenHeight_(DisplayHeight(display, DefaultScreen(display))) {}

XScreen::~XScreen() { XCloseDisplay(display_); }

ViewerWindow XScreen::FindViewerWindow() {
  ViewerWindow found{None, {0, 0, screenWidth_, screenHeight_}};
  Window rootReturn = None, parent = None;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) return found;
  long largest = 0;
  // Children come bottom to top, so among windows of one size the topmost wins.
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display_, children[i], &a)) continue;
    if (a.map_state != IsViewable || a.c_class != InputOutput) continue;
    const long area = long(a.width) * a.height;
    if (area < largest) continue;
    largest = area;
    found = {children[i], {a.x + a.border_width, a.y + a.border_width, a.width, a.height}};
  }
  if (children != nullptr) XFree(children);
  return found;
}

std::vector<uint32_t> XScreen::ReadLine(int x, int y, int width, int height) {
  XImage* image = XGetImage(display_, root_, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t(width) * size_t(height));
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) pixels.push_back(uint32_t(XGetPixel(image, i, j)) & 0xFFFFFF);
  }
  XDestroyImage(image);
  return pixels;
}

CentreLines XScreen::ReadCentreLines(const ScreenRect& rect) {
  const int left = std::clamp(rect.x, 0, screenWidth_), top = std::clamp(rect.y, 0, screenHeight_);
  const int right = std::clamp(rect.x + rect.width, 0, screenWidth_);
  const int bottom = std::clamp(rect.y + rect.height, 0, screenHeight_);
  if (right <= left || bottom <= top) return {};
  return {ReadLine(left, (top + bottom) / 2, right - left, 1),
          ReadLine((left + right) / 2, top, 1, bottom - top)};
}

void XScreen::Focus(const ViewerWindow& window) {
  if (window.id == None) return;
  XWarpPointer(display_, None, root_, 0, 0, 0, 0, window.rect.x + window.rect.width / 2,
               window.rect.y + window.rect.height / 2);
  XSetInputFocus(display_, window.id, RevertToPointerRoot, CurrentTime);
  XSync(display_, False);
}

KeyCode XScreen::CodeOf(const std::string& keysymName) const {
  const KeySym keysym = XStringToKeysym(keysymName.c_str());
  return keysym == NoSymbol ? 0 : XKeysymToKeycode(display_, keysym);
}

bool XScreen::PressKey(const std::string& keysymName) {
  return SendKey(keysymName, true) && SendKey(keysymName, false);
}

bool XScreen::SendKey(const std::string& keysymName, bool down) {
  const KeyCode code = CodeOf(keysymName);
  if (code == 0) return false;
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  XFlush(display_);
  return true;
}

void XScreen::SetKeyRepeat(unsigned delayMs, unsigned intervalMs) {
  if (repeatDelay_ == 0) XkbGetAutoRepeatRate(display_, XkbUseCoreKbd, &repeatDelay_, &repeatInterval_);
  XAutoRepeatOn(display_);
  XkbSetAutoRepeatRate(display_, XkbUseCoreKbd, delayMs, intervalMs);
  XSync(display_, False);
}

void XScreen::RestoreKeyRepeat() {
  if (repeatDelay_ == 0) return;
  XkbSetAutoRepeatRate(display_, XkbUseCoreKbd, repeatDelay_, repeatInterval_);
  repeatDelay_ = 0;
  XSync(display_, False);
}

void XScreen::CountKeyPresses(const ViewerWindow& window) {
  // A toolkit that takes its input through XInput 2 gets the presses in that form, and then no client gets
  // core ones; XInput 2 presses go to every client that asks, so the viewer's own delivery is unchanged.
  int event = 0, error = 0;
  if (window.id != None && XQueryExtension(display_, "XInputExtension", &xiOpcode_, &event, &error)) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_KeyPress);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    XISelectEvents(display_, window.id, &mask, 1);
  }
  XSync(display_, False);
  keyPresses_ = 0;
}

int XScreen::KeyPressesCounted() {
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == GenericEvent && event.xcookie.extension == xiOpcode_ &&
        XGetEventData(display_, &event.xcookie)) {
      if (event.xcookie.evtype == XI_KeyPress) ++keyPresses_;
      XFreeEventData(display_, &event.xcookie);
    }
  }
  return keyPresses_;
}

}  // namespace Quarlo::Bench

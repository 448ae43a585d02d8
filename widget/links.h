#pragma once
// Weak handles to widgets and hosts. Deferred work (accessibility providers, posted callbacks) keeps a
// shared link instead of a raw pointer and tests the pointer before use: it reads null once the target
// has been destroyed.

#include <cstdint>

namespace Quarlo::Widget {

class Widget;
class Host;

// Opaque native window handle; the window layer decides what it points at.
using NativeHandle = void*;

namespace Detail {

struct WidgetLink {
  Widget* widget = nullptr;  // null after the widget's destruction
  uint32_t id = 0;           // unique for the process lifetime; the widget's stable runtime identity
};

struct HostLink {
  Host* host = nullptr;           // null after the host's destruction
  void* window = nullptr;         // the native window object, set by the window layer
  NativeHandle handle = nullptr;  // cleared when the native window is destroyed
};

}  // namespace Detail
}  // namespace Quarlo::Widget

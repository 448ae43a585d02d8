#pragma once
// Owning pointer for GObject instances (Pango layouts, contexts, font maps): unrefs on destruction.

#include <glib-object.h>

#include <memory>

namespace Quarlo::Widget::Detail {

struct GObjectUnref {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

}  // namespace Quarlo::Widget::Detail

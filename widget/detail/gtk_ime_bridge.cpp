// The input-method bridge of GTK windows: the window's input context forgets its composition.

#include "widget/detail/gtk_window.h"
#include "widget/input/ime_bridge.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

class GtkImeBridge : public IImeBridge {
 public:
  void CancelComposition(Window& window) override {
    if (!window.Handle()) return;
    static_cast<Detail::GtkNativeWindow&>(window.Native()).CancelComposition();
  }
};

}  // namespace

std::unique_ptr<IImeBridge> CreateSystemImeBridge() { return std::make_unique<GtkImeBridge>(); }

}  // namespace Quarlo::Widget::Input

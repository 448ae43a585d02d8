#pragma once
// A widget made the root of a headless host and laid out at a size: the setting of the view tests.

#include <memory>

#include "support/fake_host.h"

namespace Quarlo::Widget::Testing {

template <typename View>
struct HostedView {
  explicit HostedView(Size size) : view(static_cast<View*>(host.SetRoot(std::make_unique<View>()))) {
    Resize(size);
  }

  // The window was resized: the next layout pass arranges the view at the new size.
  void Resize(Size size) {
    host.SetClientSize(size);
    host.UpdateLayout();
  }

  FakeHost host;
  View* view;
};

}  // namespace Quarlo::Widget::Testing

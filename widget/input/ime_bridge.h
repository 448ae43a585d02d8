#pragma once
// What a text field asks of the input method beyond the events it receives: to forget a composition the
// field has just taken over as typed text (a click or a key committed it), so that the input method does
// not deliver it a second time. One process-wide instance, made on first use by the backend the build
// compiles; tests put their own in.

#include <memory>

namespace Quarlo::Widget {
class Window;
}

namespace Quarlo::Widget::Input {

class IImeBridge {
 public:
  virtual ~IImeBridge() = default;
  // The focused text field of window committed or dropped its composition itself.
  virtual void CancelComposition(Window& window) = 0;
};

IImeBridge& ImeBridge();
// Installs a bridge for the process (tests); null returns to the system's.
void SetImeBridge(std::unique_ptr<IImeBridge> bridge);
// Defined by the backend the build compiles.
std::unique_ptr<IImeBridge> CreateSystemImeBridge();

}  // namespace Quarlo::Widget::Input

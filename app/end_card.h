#pragma once
// The card the viewer shows when paging ran past either end of the list and the user is asked what next:
// a title and three buttons (go to the other end, open the folder beside this one, close the card), in a
// rounded popup-coloured box centred over the picture. The controller fills in the texts and decides what
// the buttons do; Tab reaches the buttons, Enter pushes the focused one.

#include <functional>
#include <string>

#include "widget/border.h"

namespace Quarlo::Widget::Input {
class Button;
class Label;
}  // namespace Quarlo::Widget::Input

namespace App {

class EndCard : public Quarlo::Widget::Border {
 public:
  EndCard();

  // Called by the controller each time the card is shown, for the end it was reached at.
  void SetTexts(const std::string& title, const std::string& otherEnd, const std::string& folder,
                const std::string& close);
  // The folder button is enabled only when there is a folder or archive to open.
  void SetFolderEnabled(bool enabled);

  const std::string& Title() const;
  Quarlo::Widget::Input::Button& OtherEndButton() const { return *otherEnd_; }
  Quarlo::Widget::Input::Button& FolderButton() const { return *folder_; }
  Quarlo::Widget::Input::Button& CloseButton() const { return *close_; }

  const char* ClassName() const override { return "EndCard"; }

  // Installed by the controller: what the first, second and third button do.
  std::function<void()> onOtherEnd;
  std::function<void()> onFolder;
  std::function<void()> onClose;

 private:
  Quarlo::Widget::Input::Label* title_ = nullptr;
  Quarlo::Widget::Input::Button* otherEnd_ = nullptr;
  Quarlo::Widget::Input::Button* folder_ = nullptr;
  Quarlo::Widget::Input::Button* close_ = nullptr;
};

}  // namespace App

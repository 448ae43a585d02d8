#pragma once
// The info panel: a card on the right side of the picture area with a header (title and close button)
// above a scrolling list of captioned facts about the current picture. The controller fills it; the
// panel only lays the facts out.

#include <functional>
#include <vector>

#include "app/info_rows.h"
#include "widget/border.h"

namespace Quarlo::Widget {
class Stack;
namespace Input {
class Button;
}
}  // namespace Quarlo::Widget

namespace App {

class InfoPanel : public Quarlo::Widget::Border {
 public:
  InfoPanel();

  // RefreshInfoPanel calls this with the current picture's rows; the old rows go.
  void SetRows(const std::vector<InfoRow>& rows);
  // RefreshInfoPanel calls this while no picture is open: one line that says how to get details.
  void ShowNothingOpen();

  // The close button was pushed; the controller switches the panel off.
  std::function<void()> onClose;

  // The rows given last (empty while nothing is open).
  const std::vector<InfoRow>& Shown() const { return shown_; }
  // The rows as laid out (one vertical stack of caption and value per row, or the one hint label).
  const Quarlo::Widget::Stack& Rows() const { return *rows_; }
  Quarlo::Widget::Input::Button& CloseButton() const { return *close_; }

  const char* ClassName() const override { return "InfoPanel"; }

 private:
  Quarlo::Widget::Stack* rows_ = nullptr;
  Quarlo::Widget::Input::Button* close_ = nullptr;
  std::vector<InfoRow> shown_;
};

}  // namespace App

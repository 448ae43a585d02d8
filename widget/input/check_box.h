#pragma once
// A check box: a push turns it on, off, or (with threeState) through the indeterminate state.

#include <cstdint>
#include <functional>
#include <string>

#include "widget/input/choice_button.h"

namespace Quarlo::Widget::Input {

enum class CheckState : int32_t { Unchecked = 0, Checked = 1, Indeterminate = 2 };

class CheckBox : public ChoiceButton {
 public:
  explicit CheckBox(const std::string& text = {});

  // Sets the state from code or from a push: colours fade, accessibility and onStateChanged are told.
  void SetState(CheckState state);
  CheckState State() const { return state_; }

  void Click() override;
  int32_t ToggleState() const override;
  const char* ClassName() const override;
  void Paint(Canvas& canvas) override;

  // Pushes cycle Unchecked, Checked, Indeterminate when set; Unchecked and Checked otherwise.
  bool threeState = false;
  // Runs with the new state whenever it changes.
  std::function<void(CheckState)> onStateChanged;

 protected:
  bool IsOn() const override;

 private:
  CheckState state_ = CheckState::Unchecked;
};

}  // namespace Quarlo::Widget::Input

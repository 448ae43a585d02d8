#pragma once
// Radio buttons: the members of a group are the radio buttons among one parent's children that share a group
// name; checking one unchecks the others. Arrow keys move to the next member and check it, and Tab enters a
// group at its checked member.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widget/animator.h"
#include "widget/input/choice_button.h"

namespace Quarlo::Widget::Input {

class RadioButton : public ChoiceButton {
 public:
  RadioButton(const std::string& text, const std::string& groupName);

  // Checks or unchecks from code or a push; checking unchecks the group's other members first.
  void SetChecked(bool value);
  bool IsChecked() const { return checked_; }
  const std::string& GroupName() const { return groupName_; }
  // The group in child order, this button included.
  std::vector<RadioButton*> Group() const;

  void Click() override;
  bool IsTabStop() const override;
  bool IsSelected() const override;
  int32_t ToggleState() const override;
  const char* ClassName() const override;
  bool OnKeyDown(const KeyEvent& event) override;
  void Paint(Canvas& canvas) override;

  // Runs with the new state whenever it changes (members a check unchecks are told too).
  std::function<void(bool)> onCheckedChanged;

 protected:
  bool IsOn() const override;
  void RefreshColors(bool animate) override;
  // The dot's present radius (animated).
  float DotRadius() const { return dotRadius_.Value(); }

 private:
  // Stores the state and tells colours, accessibility and the callback.
  void ApplyChecked(bool value);
  // The member before (step -1) or after (step 1) this one that can take focus, wrapping around.
  RadioButton* Neighbour(int step) const;

  std::string groupName_;
  bool checked_ = false;
  AnimatedValue dotRadius_{this, 0};
};

}  // namespace Quarlo::Widget::Input

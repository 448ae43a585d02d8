#pragma once
// The widgets of the viewer window's chrome that the controller updates after it built them: the bars with
// their controls, the side arrows with the commands they run, and the notice. Non-owning: the frame owns
// them all.

#include "app/commands.h"

namespace Quarlo::Widget {
class Widget;
namespace Input {
class Button;
class Label;
class Slider;
class Toolbar;
}  // namespace Input
}  // namespace Quarlo::Widget

namespace App {

class Bar;
class Frame;
class NoticeBubble;

struct ChromeWidgets {
  Frame* frame = nullptr;
  Bar* topBar = nullptr;
  Quarlo::Widget::Input::Toolbar* toolBar = nullptr;
  Quarlo::Widget::Input::Label* fileName = nullptr;
  Bar* bottomBar = nullptr;
  Quarlo::Widget::Input::Button* previous = nullptr;
  Quarlo::Widget::Input::Button* next = nullptr;
  Quarlo::Widget::Input::Label* position = nullptr;
  Quarlo::Widget::Input::Slider* slider = nullptr;
  Quarlo::Widget::Input::Label* zoom = nullptr;
  Quarlo::Widget::Input::Button* leftArrow = nullptr;
  Quarlo::Widget::Input::Button* rightArrow = nullptr;
  CommandId leftCommand = CommandId::Previous;
  CommandId rightCommand = CommandId::Next;
  // The info panel, once the window has one: the pointer resting on it keeps the bars up like a bar does.
  Quarlo::Widget::Widget* infoPanel = nullptr;
  NoticeBubble* notice = nullptr;
};

}  // namespace App

#pragma once
// What the viewer window shows instead of a picture when there is nothing it can show: a headline (why)
// and, below it, a detail (what went wrong), centred in the picture area.

#include <string>

#include "widget/stack.h"

namespace App {

class TextBlock;

class MessagePanel : public Quarlo::Widget::Stack {
 public:
  MessagePanel();

  // The detail line is hidden while its text is empty.
  void SetTexts(const std::string& headline, const std::string& detail);
  const std::string& Headline() const;
  const std::string& Detail() const;

  const char* ClassName() const override { return "MessagePanel"; }

 private:
  TextBlock* headline_ = nullptr;
  TextBlock* detail_ = nullptr;
};

}  // namespace App

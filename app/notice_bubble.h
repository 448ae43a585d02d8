#pragma once
// The brief notice in the upper middle of the viewer window ("Fit width", "This is the last image."): one
// line in a rounded popup-coloured box that never takes the pointer. The controller shows it and hides it
// again after kNoticeSeconds.

#include <string>

#include "widget/border.h"

namespace App {

class TextBlock;

inline constexpr double kNoticeSeconds = 1.6;

class NoticeBubble : public Quarlo::Widget::Border {
 public:
  NoticeBubble();

  void SetText(const std::string& text);
  const std::string& Text() const;

  const char* ClassName() const override { return "Notice"; }
  bool IsHitTestVisible() const override { return false; }

 private:
  TextBlock* label_ = nullptr;
};

}  // namespace App

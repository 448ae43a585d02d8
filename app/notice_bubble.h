#pragma once
// The brief notice in the upper middle of the viewer window ("Fit width", "This is the last image."): one
// line in a rounded popup-coloured box that never takes the pointer. The controller shows it and hides it
// again kNoticeSeconds later; over its last kNoticeFadeSeconds it fades out.

#include <cstdint>
#include <string>

#include "widget/border.h"

namespace App {

class TextBlock;

inline constexpr double kNoticeSeconds = 1.6;
inline constexpr double kNoticeFadeSeconds = 0.25;

class NoticeBubble : public Quarlo::Widget::Border {
 public:
  NoticeBubble();

  // Shows the text at full strength (a notice still fading comes back whole).
  void Show(const std::string& text);
  // Starts fading out; the controller hides the notice when its time is over.
  void FadeOut();
  void Hide();
  const std::string& Text() const;
  // 1 while shown whole, falling to 0 as it fades.
  float Strength() const { return opacity; }

  const char* ClassName() const override { return "Notice"; }
  bool IsHitTestVisible() const override { return false; }

 private:
  void CancelFade();

  TextBlock* label_ = nullptr;
  int64_t fade_ = 0;
};

}  // namespace App

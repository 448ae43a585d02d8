#pragma once
// The drop-down list of a combo box: a light-dismiss popup holding one panel of rows, which highlights the
// row under the pointer, scrolls when there are more rows than it shows, and chooses on click.

#include <functional>
#include <string>
#include <vector>

#include "widget/canvas.h"
#include "widget/widget.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {

inline constexpr float kComboRowHeight = 32;
inline constexpr float kComboListPadding = 4;

class ComboList : public Widget {
 public:
  ComboList();

  void SetItems(std::vector<std::string> items, int selected, int visibleRows);
  const std::vector<std::string>& Items() const { return items_; }
  int Highlighted() const { return highlighted_; }
  // Highlights a row and scrolls it into view.
  void SetHighlighted(int index);
  int Selected() const { return selected_; }
  float Offset() const { return offset_; }
  int RowAt(Point local) const;

  const char* ClassName() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  bool OnPointerMove(const PointerEvent& event) override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnWheel(const WheelEvent& event) override;
  void OnScaleChanged() override;

  // A row was clicked.
  std::function<void(int)> onChosen;

 private:
  float Viewport() const;
  float MaxOffset() const;
  void ScrollTo(float offset);

  std::vector<std::string> items_;
  int selected_ = -1;
  int highlighted_ = -1;
  int visibleRows_ = 8;
  float offset_ = 0;
  std::vector<TextLayout> layouts_;  // cached per row; dropped with the scale
};

class ComboPopup : public Popup {
 public:
  ComboPopup();
  ComboList& List() const { return *list_; }

 private:
  ComboList* list_ = nullptr;
};

}  // namespace Quarlo::Widget::Input

#pragma once
// The widget that shows one level of a menu inside its popup: rows of items with icons or check marks,
// access keys, accelerator texts and submenu chevrons, one of them highlighted. It lays itself out to the
// size of its rows and hands pointer input on to its session.

#include <memory>
#include <vector>

#include "widget/canvas.h"
#include "widget/input/control_text.h"
#include "widget/input/menu_item.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class MenuSession;

// Row geometry in DIPs.
inline constexpr float kMenuPadding = 4;  // above the first row and below the last
inline constexpr float kMenuRowHeight = 32;
inline constexpr float kMenuSeparatorHeight = 9;
inline constexpr float kMenuTextLeft = 40;
inline constexpr float kMenuMinWidth = 160;

class MenuPanel : public Widget {
 public:
  MenuPanel(std::weak_ptr<MenuSession> session, int level, std::vector<MenuItem> items);

  const std::vector<MenuItem>& Items() const { return items_; }
  std::vector<MenuItem>& MutableItems() { return items_; }
  int Level() const { return level_; }
  int Highlighted() const { return highlighted_; }
  void SetHighlighted(int index);
  // The row's top in panel DIPs (0 for an index out of range).
  float RowTop(int index) const;
  // The item whose row contains y; -1 for none.
  int RowAt(float y) const;
  Size ContentSize();

  const char* ClassName() const override;
  Quarlo::Widget::Role Role() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  bool OnPointerMove(const PointerEvent& event) override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  void OnScaleChanged() override;
  void OnThemeChanged() override;

 private:
  struct Row {
    float top = 0;
    float height = 0;
    ControlText text;
    TextLayout accelerator;
  };

  void BuildRows();
  void PaintRow(Canvas& canvas, const MenuItem& item, Row& row, bool highlighted);
  void PaintMark(Canvas& canvas, const MenuItem& item, const Row& row, Color colour) const;

  std::weak_ptr<MenuSession> session_;
  int level_ = 0;
  std::vector<MenuItem> items_;
  int highlighted_ = -1;
  std::vector<Row> rows_;
  bool rowsValid_ = false;
  bool anySubmenu_ = false;
  Size content_;
};

}  // namespace Quarlo::Widget::Input

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
inline constexpr float kMenuScrollBand = 20;  // a scrolled menu's arrow strip, at each end with more rows

class MenuPanel : public Widget {
 public:
  MenuPanel(std::weak_ptr<MenuSession> session, int level, std::vector<MenuItem> items);

  const std::vector<MenuItem>& Items() const { return items_; }
  std::vector<MenuItem>& MutableItems() { return items_; }
  int Level() const { return level_; }
  int Highlighted() const { return highlighted_; }
  void SetHighlighted(int index);
  // The row's top in the rows' own DIPs, before any scrolling (0 for an index out of range).
  float RowTop(int index) const;
  // The item whose row is at y in the panel (scrolling included, the arrow strips excluded); -1 for none.
  int RowAt(float y) const;
  // The size of all rows, and the part of it the popup shows (less than all in a scrolled menu).
  Size ContentSize();
  Size ShownSize();

  // A menu taller than the screen shows this many DIPs of its rows and scrolls them: by the wheel, by a
  // press on an arrow strip, and to keep the highlighted row in view. 0 shows every row.
  void SetViewportHeight(float height);
  float ScrollOffset() const { return scroll_; }
  float MaxScroll() const;
  void ScrollTo(float offset);

  const char* ClassName() const override;
  Quarlo::Widget::Role Role() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  bool OnPointerMove(const PointerEvent& event) override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnWheel(const WheelEvent& event) override;
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
  void PaintScrollBands(Canvas& canvas) const;
  // -1 on the upper arrow strip, 1 on the lower one, 0 elsewhere (or when no strip shows there).
  int ScrollBandAt(float y) const;
  void Reveal(int index);
  // Tells the session which selectable row is under the pointer at position.
  void HoverAt(Point position);

  std::weak_ptr<MenuSession> session_;
  int level_ = 0;
  std::vector<MenuItem> items_;
  int highlighted_ = -1;
  std::vector<Row> rows_;
  bool rowsValid_ = false;
  bool anySubmenu_ = false;
  Size content_;
  float viewportHeight_ = 0;
  float scroll_ = 0;
};

}  // namespace Quarlo::Widget::Input

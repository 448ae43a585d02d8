#pragma once
// The viewer window's root: the picture area with its chrome laid over it. The bars take the top and the
// bottom 48 DIPs; the picture area either keeps clear of them (barsReserveSpace) or runs underneath; every
// other child (side arrows, panels, the end card, the notice) gets the area between the visible bars.
// Children paint in the order they were added, later ones on top.

#include <memory>

#include "widget/widget.h"

namespace App {

// The height of each bar.
inline constexpr float kBarHeight = 48;

class Frame : public Quarlo::Widget::Widget {
 public:
  // The picture area, added as a child (first, so that everything else lies over it).
  template <typename T>
  T* SetContent(std::unique_ptr<T>&& child) {
    T* added = AddChild(std::move(child));
    content_ = added;
    return added;
  }
  // The bars, added as children (last, so that they lie over everything).
  template <typename T>
  T* SetTopBar(std::unique_ptr<T>&& child) {
    T* added = AddChild(std::move(child));
    topBar_ = added;
    return added;
  }
  template <typename T>
  T* SetBottomBar(std::unique_ptr<T>&& child) {
    T* added = AddChild(std::move(child));
    bottomBar_ = added;
    return added;
  }

  // The controller sets this whenever the pinned setting, full screen or the image list change.
  void SetBarsReserveSpace(bool reserve);
  bool BarsReserveSpace() const { return barsReserveSpace_; }
  Widget* Content() const { return content_; }
  Widget* TopBar() const { return topBar_; }
  Widget* BottomBar() const { return bottomBar_; }

  const char* ClassName() const override { return "Frame"; }
  bool IsHitTestVisible() const override { return false; }
  // Every child is measured with the available size; the frame takes all of it (800 × 600 when unbounded).
  Quarlo::Widget::Size MeasureOverride(Quarlo::Widget::Size available) override;
  void ArrangeOverride(Quarlo::Widget::Size final) override;

 private:
  Widget* content_ = nullptr;
  Widget* topBar_ = nullptr;
  Widget* bottomBar_ = nullptr;
  bool barsReserveSpace_ = false;
};

}  // namespace App

#pragma once
// The node of the retained widget tree: owns its children, takes part in the two-pass layout
// (measure, then arrange), draws through a Canvas, receives routed input and answers accessibility
// queries. A tree becomes live when its root is given to a Host; detached widgets still lay out, but
// every request they make of a host is dropped.
//
// The virtual operations below are declared in a fixed order that the accessibility bridge and the
// controls rely on; append new ones in subclasses, never in between.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "widget/access_info.h"
#include "widget/geometry.h"
#include "widget/links.h"

namespace Quarlo::Widget {

class Canvas;
class Host;
struct Theme;
struct PointerEvent;
struct WheelEvent;
struct KeyEvent;
struct CharEvent;
struct ImeEvent;

// What a widget asks the window to show while the pointer is over it or captured by it.
enum class CursorKind : int32_t {
  Arrow = 0,
  Hand = 1,
  IBeam = 2,
  SizeWE = 3,
  SizeNS = 4,
  SizeAll = 5,
  Wait = 6,
  No = 7,
  Cross = 8,
  SizeNWSE = 9,
  SizeNESW = 10,
};

// Why focus moves: Keyboard shows the focus visual, Pointer hides it, Programmatic keeps its state.
enum class FocusReason : int32_t { Programmatic = 0, Keyboard = 1, Pointer = 2 };

inline constexpr float kUnbounded = std::numeric_limits<float>::infinity();

// An animated member of a widget (AnimatedValue, AnimatedColor). It registers itself with its owner so
// that the owner can cancel its running animation when the widget leaves its host.
class AnimatedMember {
 public:
  // Called by the owner widget when it is detached from its host: stop without calling back.
  virtual void CancelAnimation() = 0;

 protected:
  ~AnimatedMember() = default;
};

class Widget {
 public:
  Widget();
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  // --- Virtual operations, in their fixed order ---

  virtual ~Widget();
  // Input routing asks for the deepest widget at a point given in this widget's space.
  virtual Widget* HitTest(Point local);
  // Focus and Tab navigation ask whether the widget can take keyboard focus.
  virtual bool IsFocusable() const;
  // Tab navigation asks whether a focusable widget takes part in it.
  virtual bool IsTabStop() const;
  // Access-key matching asks for the widget's key (a UTF-16 unit, 0 for none).
  virtual char16_t AccessKey() const;
  // The window asks which cursor to show over the widget.
  virtual CursorKind Cursor() const;
  // The tooltip logic asks for the text to show.
  virtual std::string ToolTip() const;

  // Accessibility: the bridge calls these when a client queries or acts on the widget's element.
  virtual Quarlo::Widget::Role Role() const;
  virtual std::string AccessibleName() const;
  virtual std::string HelpText() const;
  virtual std::string ValueText() const;
  virtual int32_t ToggleState() const;
  virtual int32_t ExpandState() const;
  virtual bool IsSelected() const;
  virtual RangeInfo Range() const;
  virtual bool Invoke();
  virtual bool IsAccessibilityElement() const;
  virtual std::string AutomationId() const;
  virtual std::string AcceleratorKey() const;
  virtual std::string ItemStatus() const;
  virtual int32_t Orientation() const;  // 0 none, 1 horizontal, 2 vertical
  virtual bool SupportsValue() const;
  virtual bool IsReadOnly() const;
  virtual bool IsPassword() const;
  virtual bool SetValueText(const std::string& text);
  virtual bool SetRangeValue(double value);
  virtual bool SupportsInvoke() const;
  virtual bool Toggle();
  virtual bool SetExpanded(bool expanded);
  virtual bool Select(SelectAction action);
  virtual bool IsSelectionContainer() const;
  virtual bool CanSelectMultiple() const;
  virtual bool IsSelectionRequired() const;
  virtual std::vector<ItemId> Selection() const;
  virtual ScrollInfo Scroll() const;
  virtual bool ScrollBy(ScrollAmount horizontal, ScrollAmount vertical);
  virtual bool SetScrollPercent(double horizontal, double vertical);
  virtual GridInfo Grid() const;
  virtual ItemId GridItemAt(int32_t row, int32_t column) const;
  virtual int32_t ItemChildCount(ItemId parent) const;
  virtual ItemId ItemChildAt(ItemId parent, int32_t index) const;
  virtual ItemId ItemParent(ItemId item) const;
  virtual int32_t ItemIndex(ItemId item) const;
  virtual bool ItemInformation(ItemId item, ItemInfo& info) const;
  virtual ItemId FocusedItem() const;
  virtual ItemId ItemAtPoint(Point local) const;
  virtual bool InvokeItem(ItemId item);
  virtual bool ToggleItem(ItemId item);
  virtual bool SetItemExpanded(ItemId item, bool expanded);
  virtual bool SelectItem(ItemId item, SelectAction action);
  virtual bool SetItemValue(ItemId item, const std::string& value);
  virtual bool FocusItem(ItemId item);
  virtual bool RealizeItem(ItemId item);  // scroll it into view
  virtual bool HasVirtualItems() const;
  virtual ItemId FindItem(ItemId after, FindItemProperty property, const std::string& value) const;
  virtual std::vector<NativeHandle> EmbeddedWindows() const;

  // Diagnostics and accessibility ask for the widget's class name (a string literal).
  virtual const char* ClassName() const;

  // Input routing delivers these; a true result stops the event from bubbling to the parent.
  virtual bool OnPointerDown(const PointerEvent& event);
  virtual bool OnPointerUp(const PointerEvent& event);
  virtual bool OnPointerMove(const PointerEvent& event);
  virtual void OnPointerEnter();
  virtual void OnPointerLeave();
  virtual void OnCaptureLost();
  virtual bool OnWheel(const WheelEvent& event);
  virtual bool OnKeyDown(const KeyEvent& event);
  virtual bool OnKeyUp(const KeyEvent& event);
  virtual bool OnChar(const CharEvent& event);
  virtual bool OnIme(const ImeEvent& event);
  virtual void OnFocusChanged(bool focused);
  // The widget's access key was pressed with Alt.
  virtual void OnAccessKey();
  // Input routing asks whether the focused widget takes input-method composition.
  virtual bool AcceptsIme() const;
  // Input routing asks whether Alt+key should reach the widget instead of access-key handling.
  virtual bool WantsSystemKeys() const;
  // The input-method window is placed next to this rectangle (local space).
  virtual Rect CaretRect() const;

  // Measure calls this with the constraint left after margins and limits; returns the content size.
  virtual Size MeasureOverride(Size available);
  // Arrange calls this with the final content size; the widget arranges its children inside it.
  virtual void ArrangeOverride(Size final);
  // Render calls this to draw the widget's own content below its children.
  virtual void Paint(Canvas& canvas);
  // Render calls this after the children, to draw above them.
  virtual void PaintOverlay(Canvas& canvas);
  // Hovered, pressed, focused or enabled changed.
  virtual void OnVisualStateChanged();
  // The host's theme changed (broadcast over the tree).
  virtual void OnThemeChanged();
  // The host's DPI changed: drop cached text layouts and bitmaps.
  virtual void OnScaleChanged();
  // The widget was attached to a host (descendants are told first).
  virtual void OnAttached();
  // The widget was detached from its host (descendants are told first).
  virtual void OnDetached();
  // A descendant received keyboard focus; told to every ancestor from the parent upwards.
  virtual void OnDescendantFocused(Widget* descendant);
  // Hit testing asks whether the widget itself can be the target of a pointer event.
  virtual bool IsHitTestVisible() const;

  // --- Tree ---

  // Appends child; see InsertChild.
  template <std::derived_from<Widget> T>
  T* AddChild(std::unique_ptr<T>&& child) {
    return InsertChild(children.size(), std::move(child));
  }
  // Inserts child before index (clamped), takes it over and returns it. Refuses (returns null and leaves
  // child with the caller) when CanAdopt says no.
  template <std::derived_from<Widget> T>
  T* InsertChild(size_t index, std::unique_ptr<T>&& child) {
    if (!CanAdopt(child.get())) {
      return nullptr;
    }
    T* adopted = child.get();
    Adopt(index, std::move(child));
    return adopted;
  }
  // False for null, for a widget already in a tree (a child, or a host's root), for this widget and for its
  // ancestors.
  bool CanAdopt(const Widget* child) const;
  // Detaches child and hands ownership back; null when it is not a child of this widget.
  std::unique_ptr<Widget> RemoveChild(Widget* child);
  void ClearChildren();
  Widget* Parent() const { return parent; }
  const std::vector<std::unique_ptr<Widget>>& Children() const { return children; }
  Host* GetHost() const { return host; }
  bool IsAncestorOf(const Widget* other) const;

  // --- Layout ---

  // Called by parents and the host; cached for an identical constraint.
  Size Measure(Size available);
  // Called by parents and the host with the slot (parent space, margins included).
  void Arrange(Rect slot);
  // Draws the widget and its subtree; the host calls it on the root.
  void Render(Canvas& canvas);

  void SetWidth(float value);   // NaN sizes to content
  void SetHeight(float value);  // NaN sizes to content
  void SetMinSize(Size value);
  void SetMaxSize(Size value);
  void SetMargin(float left, float top, float right, float bottom);
  void SetHorizontalAlignment(Alignment value);
  void SetVerticalAlignment(Alignment value);

  float Width() const { return width; }
  float Height() const { return height; }
  Size MinSize() const { return {minWidth, minHeight}; }
  Size MaxSize() const { return {maxWidth, maxHeight}; }
  const Thickness& Margin() const { return margin; }
  Alignment HorizontalAlignment() const { return horizontalAlignment; }
  Alignment VerticalAlignment() const { return verticalAlignment; }
  Size DesiredSize() const { return desiredSize; }
  Point Position() const { return position; }
  Size ActualSize() const { return actualSize; }
  Rect Bounds() const { return {position.x, position.y, actualSize.width, actualSize.height}; }
  bool IsMeasureValid() const { return measureValid; }
  bool IsArrangeValid() const { return arrangeValid && measureValid; }

  // --- State ---

  void SetVisible(bool value);
  void SetEnabled(bool value);
  void SetClipToBounds(bool value);
  void SetAccessibleName(const std::string& text);

  bool IsVisible() const { return visible; }
  bool IsEnabled() const { return enabled; }
  bool ClipsToBounds() const { return clipToBounds; }
  bool IsHovered() const { return hovered; }
  bool IsPressed() const { return pressed; }
  bool IsFocused() const { return focused; }

  bool IsEnabledInTree() const;
  bool IsVisibleInTree() const;
  // Focusable, and enabled and visible in its tree: what focus moves may land on.
  bool CanTakeFocus() const;
  float ScaleFactor() const;
  const Theme& GetTheme() const;
  bool IsFocusVisualShown() const;
  Point LocalToWindow(Point local) const;
  Point WindowToLocal(Point window) const;
  Rect RectToScreen(Rect local) const;
  Rect ScreenBounds() const;
  Rect VisibleBoundsInWindow() const;
  std::shared_ptr<Detail::WidgetLink> Link();

  // Animated members register here on construction and unregister on destruction.
  void RegisterAnimation(AnimatedMember* member);
  void UnregisterAnimation(AnimatedMember* member);

  // --- Requests forwarded to the host (ignored without one) ---

  void InvalidateVisual();
  void InvalidateMeasure();
  bool Focus(FocusReason reason);
  void CapturePointer();
  void ReleasePointerCapture();
  uint64_t StartTimer(double seconds, std::function<void()> callback, bool repeat);
  void CancelTimer(uint64_t id);
  void RaiseAutomationEvent(AutomationEvent kind, ItemId item = 0);

  // Plain fields that owners and subclasses set directly; follow a layout change with
  // InvalidateMeasure and a drawing change with InvalidateVisual.
  bool tabStop = true;
  bool arrowKeyGroup = false;  // arrow keys move focus among focusable descendants
  bool hitTestVisible = true;
  float opacity = 1.0f;
  Quarlo::Widget::Role role = Role::Pane;
  std::string toolTip;
  std::string helpText;
  std::string automationId;
  std::string acceleratorKey;
  std::string itemStatus;

 protected:
  // Default accessibility search: does a Group hold radio buttons?
  bool HasRadioDescendant() const;

 private:
  friend class Host;

  // Inserts a child CanAdopt accepted.
  void Adopt(size_t index, std::unique_ptr<Widget> child);
  void AttachTo(Host* target);
  void DetachFromHost();
  void InvalidateMeasureChain();
  void NotifyVisualStateInSubtree();

  Widget* parent = nullptr;
  Host* host = nullptr;
  std::vector<std::unique_ptr<Widget>> children;
  float width = std::numeric_limits<float>::quiet_NaN();
  float height = std::numeric_limits<float>::quiet_NaN();
  float minWidth = 0;
  float minHeight = 0;
  float maxWidth = kUnbounded;
  float maxHeight = kUnbounded;
  Thickness margin;
  Alignment horizontalAlignment = Alignment::Stretch;
  Alignment verticalAlignment = Alignment::Stretch;
  Size desiredSize;
  Point position;
  Size actualSize;
  Size lastMeasureConstraint{-1, -1};
  Rect lastArrangeRect{-1, -1, -1, -1};
  bool measureValid = false;
  bool arrangeValid = false;
  bool visible = true;
  bool enabled = true;
  bool hovered = false;
  bool pressed = false;
  bool focused = false;
  bool clipToBounds = false;
  std::vector<AnimatedMember*> animations;
  std::string accessibleName;
  std::shared_ptr<Detail::WidgetLink> link;
};

// Clamps v into [minimum, max(maximum, minimum)]: a maximum below the minimum yields the minimum.
float ClampLength(float v, float minimum, float maximum);

}  // namespace Quarlo::Widget

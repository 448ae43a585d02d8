#pragma once
// A drop-down list box: shows the selected item (or a placeholder), opens its list below itself, and
// chooses by pointer, arrow keys or typing the start of an item. An editable combo box leaves its face and
// typed text to an inner text box, which the text-editing controls provide.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widget/input/combo_type_ahead.h"
#include "widget/input/control_text.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class ComboPopup;
class KeyRoute;
class TextBox;

class ComboBox : public Widget {
 public:
  ComboBox();
  ~ComboBox() override;

  void SetItems(std::vector<std::string> items);
  const std::vector<std::string>& Items() const { return items_; }
  // Selects without telling the selection-changed callback; -1 clears.
  void SetSelected(int index);
  int Selected() const { return selected_; }
  // An editable combo box takes typed text in an inner text box, which shows the chosen item.
  void SetEditable(bool editable);
  bool IsEditable() const { return editable_; }
  // The inner text box of an editable combo box (null before the first SetEditable(true)).
  TextBox* EditBox() const { return editBox_; }
  void SetPlaceholder(const std::string& text);
  void SetOnSelectionChanged(std::function<void(int)> callback) { onSelectionChanged_ = std::move(callback); }

  // Opens the drop-down below the combo box, the selected row highlighted.
  void Open();
  // Closes it; with choose the highlighted row becomes the selection.
  void Close(bool choose);
  bool IsOpen() const;
  // The open drop-down's popup (null before the first open).
  ComboPopup* Popup() const { return popup_.get(); }

  int maxVisibleRows = 8;

  const char* ClassName() const override;
  Widget* HitTest(Point local) override;
  bool IsFocusable() const override;
  std::string ValueText() const override;
  int32_t ExpandState() const override;
  bool SetExpanded(bool expanded) override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void Paint(Canvas& canvas) override;
  void PaintOverlay(Canvas& canvas) override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnKeyDown(const KeyEvent& event) override;
  bool OnChar(const CharEvent& event) override;
  void OnFocusChanged(bool focused) override;
  void OnVisualStateChanged() override;
  void OnScaleChanged() override;
  void OnThemeChanged() override;
  void OnDetached() override;

 private:
  // Selects and tells the callback when the selection changed.
  void Choose(int index);
  bool OpenKey(const KeyEvent& event);
  bool KeyWhileOpen(const KeyEvent& event);
  bool TypeWhileOpen(const CharEvent& event);
  bool TypeAheadChar(char32_t c);
  void PopupClosed();
  void PaintChevron(Canvas& canvas);
  double NowMs() const;

  std::vector<std::string> items_;
  int selected_ = -1;
  bool editable_ = false;
  TextBox* editBox_ = nullptr;
  std::unique_ptr<ComboPopup> popup_;
  std::unique_ptr<KeyRoute> keyRoute_;
  TypeAhead typeAhead_;
  std::function<void(int)> onSelectionChanged_;
  ControlText text_;
  std::string placeholder_;
};

}  // namespace Quarlo::Widget::Input

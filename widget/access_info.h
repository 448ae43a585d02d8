#pragma once
// Records through which widgets answer accessibility queries. The accessibility bridge reads them;
// widgets fill them in their accessibility operations.

#include <cstdint>
#include <string>
#include <vector>

#include "widget/geometry.h"

namespace Quarlo::Widget {

// Names a virtual item inside a widget (for example a tile of a list); 0 is the widget itself.
using ItemId = uint64_t;

// Accessibility roles; the bridge maps them to the platform's control types. Pane marks a purely
// structural widget.
enum class Role : int32_t {
  Window = 1,
  Dialog = 2,
  Pane = 3,
  Group = 4,
  Text = 5,
  Image = 6,
  Button = 7,
  CheckBox = 8,
  RadioButton = 9,
  ToggleSwitch = 10,
  ProgressBar = 11,
  Separator = 12,
  Edit = 13,
  ComboBox = 14,
  List = 15,
  ListItem = 16,
  Tree = 17,
  TreeItem = 18,
  Menu = 19,
  MenuItem = 20,
  ToolBar = 21,
  StatusBar = 22,
  ScrollBar = 23,
  ToolTip = 24,
  Header = 25,
  HeaderItem = 26,
  Slider = 27,
  TabItem = 28,
  Spinner = 29,
  DataGrid = 30,
};

// Events a widget raises towards accessibility clients.
enum class AutomationEvent : int32_t {
  FocusChanged = 0,
  NameChanged = 1,
  HelpTextChanged = 2,
  ValueChanged = 3,
  ToggleStateChanged = 4,
  ExpandCollapseChanged = 5,
  EnabledChanged = 6,
  RangeValueChanged = 7,
  ItemStatusChanged = 8,
  OffscreenChanged = 9,
  ElementSelected = 10,
  AddedToSelection = 11,
  RemovedFromSelection = 12,
  SelectionInvalidated = 13,
  StructureChanged = 14,
  ScrollChanged = 15,
  MenuOpened = 16,
  MenuClosed = 17,
  ToolTipOpened = 18,
  ToolTipClosed = 19,
};

// Toggle states: 0 not a toggle, 1 off, 2 on, 3 indeterminate. Expand states: 0 not expandable,
// 1 collapsed, 2 expanded, 3 leaf.
inline constexpr int32_t kToggleStateOff = 1;
inline constexpr int32_t kToggleStateOn = 2;
inline constexpr int32_t kToggleStateIndeterminate = 3;
inline constexpr int32_t kExpandStateExpanded = 2;

struct RangeInfo {
  bool supported = false;
  double minimum = 0;
  double maximum = 0;
  double value = 0;
  bool indeterminate = false;
  double smallChange = 0;
  double largeChange = 0;
  bool readOnly = false;
};

// Percentages run 0 to 100, -1 when the axis cannot scroll; view sizes are the visible share in percent.
struct ScrollInfo {
  bool supported = false;
  double horizontalPercent = -1;
  double verticalPercent = -1;
  double horizontalViewSize = 100;
  double verticalViewSize = 100;
};

struct GridInfo {
  bool supported = false;
  int32_t rowCount = 0;
  int32_t columnCount = 0;
  bool isTable = false;
  std::vector<ItemId> columnHeaders;  // index = column; 0 entries are skipped
};

struct ItemInfo {
  Quarlo::Widget::Role role = Role::ListItem;
  std::string name;
  std::string helpText;
  std::string value;
  bool hasValue = false;
  std::string itemStatus;
  std::string automationId;
  std::string acceleratorKey;
  int32_t toggleState = 0;
  int32_t expandState = 0;
  bool selected = false;
  bool enabled = true;
  bool focusable = true;
  bool focused = false;
  bool invokable = false;
  Rect bounds;  // widget-local DIPs; an empty size means the item is not on screen
  int32_t row = -1;
  int32_t column = -1;
  int32_t rowSpan = 1;
  int32_t columnSpan = 1;
  int32_t level = 0;
  int32_t positionInSet = 0;
  int32_t sizeOfSet = 0;
};

enum class FindItemProperty : int32_t { Name = 0, AutomationId = 1, Any = 2 };

// One axis of a client's scroll request: a page or a line back or forward, or no move.
enum class ScrollAmount : int32_t {
  LargeDecrement = 0,
  SmallDecrement = 1,
  NoAmount = 2,
  LargeIncrement = 3,
  SmallIncrement = 4
};

// What a client's selection request does: make the element the only selected one, add it, or remove it.
enum class SelectAction : int32_t { Select = 0, Add = 1, Remove = 2 };

}  // namespace Quarlo::Widget

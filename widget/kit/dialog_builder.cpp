// The standard dialog layout, its control helpers and the modal runner.

#include "widget/kit/dialog_builder.h"

#include <algorithm>

#include "widget/grid.h"
#include "widget/input/check_box.h"
#include "widget/kit/kit_settings.h"
#include "widget/stack.h"

namespace Quarlo::Widget::Kit {
namespace {

constexpr float kRootSpacing = 14;
constexpr float kSideMargin = 24;
constexpr float kEndMargin = 20;
constexpr float kContentSpacing = 10;
constexpr float kButtonSpacing = 8;
// Dialog buttons are at least this wide, so that a row of short answers ("OK", "예") lines up evenly.
constexpr float kButtonMinWidth = 92;
// The height the window is created with; ShowModal sizes it to the content before it appears.
constexpr float kInitialHeight = 100;
constexpr float kGridRowSpacing = 4;
constexpr float kGridColumnSpacing = 8;

}  // namespace

DialogBuilder::DialogBuilder(float width) : width_(width) {
  auto root = std::make_unique<Stack>(true, kRootSpacing);
  root->SetMargin(kSideMargin, kEndMargin, kSideMargin, kEndMargin);
  content_ = root->AddChild(std::make_unique<Stack>(true, kContentSpacing));
  buttons_ = root->AddChild(std::make_unique<Stack>(false, kButtonSpacing));
  buttons_->SetHorizontalAlignment(Alignment::End);
  SetRoot(std::move(root));
}

Input::Button* DialogBuilder::AddButton(const std::string& text, int32_t result, bool isDefault,
                                        bool isCancel, Input::ButtonStyle style) {
  Input::Button* button = buttons_->AddChild(
      std::make_unique<Input::Button>(text, isDefault ? Input::ButtonStyle::Accent : style));
  button->SetMinSize(Size{kButtonMinWidth, 0});
  if (result != 0) button->dialogResult = result;
  if (isDefault) {
    button->SetDefault(true);
    SetDefaultButton(button);
  }
  if (isCancel) SetCancelButton(button);
  return button;
}

int DialogBuilder::RunDialog(NativeHandle owner, const std::string& title) {
  WindowOptions options;
  options.title = title;
  options.size = Size{width_, kInitialHeight};
  options.owner = owner;
  const KitSettings& settings = SettingsRecord();
  if (settings.adjustDialogOptions) settings.adjustDialogOptions(options);
  if (!Create(options)) return kDialogClosed;
  if (settings.installToolTips) settings.installToolTips(*this);
  if (settings.onDialogShown) settings.onDialogShown(*this, title);
  return ShowModal(owner);
}

Input::CheckBox* AddCheckBox(Widget* parent, const std::string& text, bool checked) {
  if (!parent) return nullptr;
  Input::CheckBox* box = parent->AddChild(std::make_unique<Input::CheckBox>(text));
  box->SetState(checked ? Input::CheckState::Checked : Input::CheckState::Unchecked);
  return box;
}

std::unique_ptr<Input::Label> MakeLabel(const std::string& text, bool wrap, Input::LabelStyle style) {
  auto label = std::make_unique<Input::Label>(text, style);
  label->SetWrap(wrap);
  return label;
}

std::unique_ptr<Input::Label> MakeCaption(const std::string& text) {
  auto label = MakeLabel(text, true, Input::LabelStyle::Caption);
  label->SetTone(TextTone::Secondary);
  return label;
}

std::unique_ptr<Grid> MakeGrid(int columns, int itemCount) {
  const int columnCount = std::max(columns, 1);
  const int rowCount = (std::max(itemCount, 0) + columnCount - 1) / columnCount;
  auto grid = std::make_unique<Grid>();
  for (int i = 0; i < columnCount; ++i) grid->AddColumn(TrackDefinition::Star(1));
  for (int i = 0; i < rowCount; ++i) grid->AddRow(TrackDefinition::Auto());
  grid->SetSpacing(kGridRowSpacing, kGridColumnSpacing);
  return grid;
}

}  // namespace Quarlo::Widget::Kit

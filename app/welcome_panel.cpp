#include "app/welcome_panel.h"

#include <algorithm>
#include <memory>

#include "core/paths.h"
#include "core/strings.h"
#include "widget/application.h"
#include "widget/grid.h"
#include "widget/input/button.h"
#include "widget/input/icon.h"
#include "widget/input/label.h"
#include "widget/stack.h"

namespace App {

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::Text;

namespace {

constexpr float kColumnWidth = 520;
constexpr float kColumnSpacing = 12;
constexpr float kIconSize = 56;
constexpr size_t kShownRecent = 8;
constexpr char32_t kPictureGlyph = U'\uE8B9';
constexpr char32_t kFolderGlyph = U'\uE8B7';
constexpr char32_t kOpenGlyph = U'\uE8E5';

std::unique_ptr<Label> CentredLabel(const std::string& text, LabelStyle style, bool wrap) {
  auto label = std::make_unique<Label>(text, style);
  label->SetWrap(wrap);
  label->SetTextAlignment(TextAlignment::Center);
  label->SetHorizontalAlignment(wrap ? Alignment::Stretch : Alignment::Center);
  return label;
}

std::unique_ptr<Button> ActionButton(int textId, ButtonStyle style, char32_t icon, const std::string& tip,
                                     std::function<void()> action) {
  auto button = std::make_unique<Button>(Text(textId), style);
  button->SetIcon(icon);
  button->toolTip = tip;
  button->onClick = std::move(action);
  return button;
}

}  // namespace

WelcomePanel::WelcomePanel(Actions actions, const std::string& openFileTip, const std::string& openFolderTip)
    : actions_(std::move(actions)) {
  auto column = std::make_unique<Stack>(true, kColumnSpacing);
  column->SetWidth(kColumnWidth);
  column->SetHorizontalAlignment(Alignment::Center);
  column->SetVerticalAlignment(Alignment::Center);
  column->SetMargin(24, 72, 24, 72);
  auto icon = std::make_unique<Icon>(kPictureGlyph, kIconSize);
  icon->SetTone(TextTone::Accent);
  icon->SetHorizontalAlignment(Alignment::Center);
  column->AddChild(std::move(icon));
  column->AddChild(CentredLabel(Text(0), LabelStyle::Title, false));
  column->AddChild(CentredLabel(Text(5), LabelStyle::Body, true));
  auto buttons = std::make_unique<Stack>(false, 8);
  buttons->SetHorizontalAlignment(Alignment::Center);
  buttons->SetMargin(0, 8, 0, 0);
  buttons->AddChild(ActionButton(7, ButtonStyle::Accent, kOpenGlyph, openFileTip, [this] {
    if (actions_.openFile) actions_.openFile();
  }));
  buttons->AddChild(ActionButton(8, ButtonStyle::Standard, kFolderGlyph, openFolderTip, [this] {
    if (actions_.openFolder) actions_.openFolder();
  }));
  column->AddChild(std::move(buttons));
  auto hint = CentredLabel(Text(6), LabelStyle::Caption, false);
  hint->SetTone(TextTone::Secondary);
  column->AddChild(std::move(hint));
  auto recent = std::make_unique<Stack>(true, 2);
  recent->SetMargin(0, 24, 0, 0);
  recent_ = column->AddChild(std::move(recent));
  AddChild(std::move(column));
}

void WelcomePanel::PostAction(std::function<void()> action) {
  Application::Instance().Post([link = Link(), action = std::move(action)] {
    if (link->widget && action) action();
  });
}

void WelcomePanel::FillRecent(const std::vector<std::string>& recent) {
  recent_->ClearChildren();
  recentCount_ = 0;
  if (recent.empty()) return;
  auto header = std::make_unique<Quarlo::Widget::Grid>();
  header->AddRow(TrackDefinition::Auto());
  header->AddColumn(TrackDefinition::Star());
  header->AddColumn(TrackDefinition::Auto());
  auto title = std::make_unique<Label>(Text(9), LabelStyle::Subtitle);
  title->SetVerticalAlignment(Alignment::Center);
  header->AddChildAt(std::move(title), 0, 0);
  auto clear = std::make_unique<Button>(Text(10), ButtonStyle::Subtle);
  clear->onClick = [this] { PostAction(actions_.clearRecent); };
  header->AddChildAt(std::move(clear), 0, 1);
  recent_->AddChild(std::move(header));
  for (size_t i = 0; i < std::min(recent.size(), kShownRecent); ++i) {
    const std::string& path = recent[i];
    auto button = std::make_unique<Button>(Quarlo::View::FileNameOf(path), ButtonStyle::Subtle);
    button->SetIcon(Quarlo::View::FolderExists(path) ? kFolderGlyph : kPictureGlyph);
    button->SetHorizontalAlignment(Alignment::Stretch);
    button->toolTip = path;
    button->onClick = [this, path] {
      PostAction([open = actions_.openRecent, path] {
        if (open) open(path);
      });
    };
    recent_->AddChild(std::move(button));
    ++recentCount_;
  }
}

}  // namespace App

// The frame of the viewer window and what it shows: the picture area (the picture view, the webtoon strip,
// the image list, the message panel and the welcome panel, one over another), the side arrows, the info
// panel, the end card, the notice and the two bars over them; which of them is visible, the title, and the
// appearance settings the views follow.

#include <initializer_list>
#include <memory>

#include "app/bar.h"
#include "app/chrome_items.h"
#include "app/end_card.h"
#include "app/frame.h"
#include "app/info_panel.h"
#include "app/main_window.h"
#include "app/message_panel.h"
#include "app/notice_bubble.h"
#include "app/viewer_window.h"
#include "app/welcome_panel.h"
#include "core/settings.h"
#include "core/strings.h"
#include "views/picture_view.h"
#include "views/view_appearance.h"
#include "views/webtoon_view.h"
#include "widget/application.h"
#include "widget/grid.h"
#include "widget/input/button.h"
#include "widget/input/label.h"
#include "widget/input/slider.h"
#include "widget/input/toolbar.h"
#include "widget/list/tile_view.h"

namespace App {

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::Text;

namespace {

constexpr float kFileNameMaxWidth = 420;
constexpr float kPositionMinWidth = 96;
constexpr float kZoomMinWidth = 64;
constexpr Size kArrowSize{40, 72};
constexpr float kArrowIconSize = 20;
constexpr float kArrowMargin = 8;
constexpr char32_t kLeftGlyph = U'\uE76B';
constexpr char32_t kRightGlyph = U'\uE76C';
constexpr int kGoToNumber = 104;

std::unique_ptr<Input::Label> CentredLabel(TextAlignment alignment) {
  auto label = std::make_unique<Input::Label>();
  label->SetVerticalAlignment(Alignment::Center);
  label->SetTextAlignment(alignment);
  return label;
}

// A bar's one row of controls in these columns.
std::unique_ptr<Grid> BarGrid(std::initializer_list<TrackDefinition> columns, float columnGap) {
  auto grid = std::make_unique<Grid>();
  grid->AddRow(TrackDefinition::Star());
  for (const TrackDefinition& column : columns) grid->AddColumn(column);
  grid->SetSpacing(0, columnGap);
  return grid;
}

}  // namespace

std::unique_ptr<Widget> MainWindow::BuildFrame() {
  chrome_ = ChromeWidgets{};
  auto frame = std::make_unique<Frame>();
  chrome_.frame = frame.get();
  frame->SetContent(BuildContent());
  // Over the picture area, in this order: the arrows, the info panel, the end card, the notice; the bars
  // lie over them all.
  frame->AddChild(BuildArrow(true));
  frame->AddChild(BuildArrow(false));
  frame->AddChild(BuildInfoPanel());
  chrome_.infoPanel = infoPanel_;
  endCard_ = frame->AddChild(BuildEndCard());
  chrome_.notice = frame->AddChild(std::make_unique<NoticeBubble>());
  chrome_.notice->SetVisible(false);
  noticeTimer_ = 0;
  hideTimer_ = 0;
  frame->SetTopBar(BuildTopBar());
  frame->SetBottomBar(BuildBottomBar());
  return frame;
}

std::unique_ptr<Widget> MainWindow::BuildContent() {
  auto content = std::make_unique<Grid>();
  content->AddRow(TrackDefinition::Star());
  content->AddColumn(TrackDefinition::Star());
  pictureView_ = content->AddChild(std::make_unique<PictureView>());
  pictureView_->SetLoadingPermission([this] { return !Webtoon(); });
  pictureView_->SetFitMode(settings_.fitMode);
  pictureView_->SetOnChanged([this] { UpdateBottomBar(); });
  webtoonView_ = content->AddChild(std::make_unique<WebtoonView>());
  webtoonView_->SetSources(
      [this] { return list_.items.size(); },
      [this](size_t index) { return cache_ ? cache_->Get(index) : nullptr; },
      [this](size_t index) {
        const Quarlo::View::PicturePtr picture = cache_ ? cache_->Get(index) : nullptr;
        return picture && picture->width > 0 ? static_cast<double>(picture->height) / picture->width : 0.0;
      });
  webtoonView_->SetOnChanged([this] {
    OnStripChanged();
    UpdateBottomBar();
  });
  content->AddChild(BuildListView());
  WelcomePanel::Actions actions;
  actions.openFile = [this] { ChooseFile(); };
  actions.openFolder = [this] { ChooseFolder(); };
  actions.openRecent = [this](const std::string& path) { Open(path); };
  actions.clearRecent = [this] {
    settings_.recent.clear();
    // A failed save keeps the list cleared for this run.
    settings_.Save();
    welcomePanel_->FillRecent(settings_.recent);
  };
  welcomePanel_ = content->AddChild(
      std::make_unique<WelcomePanel>(std::move(actions), ChordToolTip(keyMap_, CommandId::Open),
                                     ChordToolTip(keyMap_, CommandId::OpenFolder)));
  welcomePanel_->FillRecent(settings_.recent);
  messagePanel_ = content->AddChild(std::make_unique<MessagePanel>());
  return content;
}

std::unique_ptr<Bar> MainWindow::BuildTopBar() {
  auto bar = std::make_unique<Bar>();
  chrome_.topBar = bar.get();
  bar->SetPadding(6, 6, 12, 6);
  bar->SetVerticalAlignment(Alignment::Start);
  TrackDefinition nameColumn = TrackDefinition::Auto();
  nameColumn.maximum = kFileNameMaxWidth;
  auto grid = BarGrid({TrackDefinition::Star(), nameColumn}, 12);
  auto toolBar = std::make_unique<Toolbar>();
  toolBar->SetVerticalAlignment(Alignment::Center);
  toolBar->onCommand = [this](int32_t id, bool) { OnToolBarCommand(id); };
  chrome_.toolBar = grid->AddChildAt(std::move(toolBar), 0, 0);
  auto name = CentredLabel(TextAlignment::Trailing);
  name->SetEllipsis(true);
  name->SetHorizontalAlignment(Alignment::End);
  chrome_.fileName = grid->AddChildAt(std::move(name), 0, 1);
  bar->AddChild(std::move(grid));
  return bar;
}

std::unique_ptr<Bar> MainWindow::BuildBottomBar() {
  auto bar = std::make_unique<Bar>();
  chrome_.bottomBar = bar.get();
  bar->SetPadding(8, 6, 12, 6);
  bar->SetVerticalAlignment(Alignment::End);
  TrackDefinition positionColumn = TrackDefinition::Auto();
  positionColumn.minimum = kPositionMinWidth;
  TrackDefinition zoomColumn = TrackDefinition::Auto();
  zoomColumn.minimum = kZoomMinWidth;
  auto grid = BarGrid(
      {TrackDefinition::Auto(), TrackDefinition::Auto(), positionColumn, TrackDefinition::Star(), zoomColumn},
      8);
  const auto pageButton = [this](char32_t glyph, CommandId id) {
    auto button = std::make_unique<Button>(std::string(), ButtonStyle::Subtle);
    button->SetIcon(glyph);
    button->SetVerticalAlignment(Alignment::Center);
    button->toolTip = ChordToolTip(keyMap_, id);
    button->SetAccessibleName(Label(id));
    button->onClick = [this, id] { RunCommand(id); };
    return button;
  };
  chrome_.previous = grid->AddChildAt(pageButton(kLeftGlyph, CommandId::Previous), 0, 0);
  chrome_.next = grid->AddChildAt(pageButton(kRightGlyph, CommandId::Next), 0, 1);
  chrome_.position = grid->AddChildAt(CentredLabel(TextAlignment::Center), 0, 2);
  auto slider = std::make_unique<Slider>();
  slider->SetVerticalAlignment(Alignment::Center);
  slider->SetAccessibleName(Text(kGoToNumber));
  slider->onValueChanged = [this](double value) { OnSliderChanged(value); };
  chrome_.slider = grid->AddChildAt(std::move(slider), 0, 3);
  chrome_.zoom = grid->AddChildAt(CentredLabel(TextAlignment::Trailing), 0, 4);
  bar->AddChild(std::move(grid));
  return bar;
}

std::unique_ptr<Widget> MainWindow::BuildArrow(bool left) {
  auto arrow = std::make_unique<Button>(std::string(), ButtonStyle::Standard);
  arrow->SetIcon(left ? kLeftGlyph : kRightGlyph);
  arrow->SetIconSize(kArrowIconSize);
  arrow->SetWidth(kArrowSize.width);
  arrow->SetHeight(kArrowSize.height);
  arrow->SetMargin(kArrowMargin, kArrowMargin, kArrowMargin, kArrowMargin);
  arrow->SetHorizontalAlignment(left ? Alignment::Start : Alignment::End);
  arrow->SetVerticalAlignment(Alignment::Center);
  arrow->tabStop = false;
  arrow->SetVisible(false);
  arrow->onClick = [this, left] { RunCommand(left ? chrome_.leftCommand : chrome_.rightCommand); };
  (left ? chrome_.leftArrow : chrome_.rightArrow) = arrow.get();
  return arrow;
}

void MainWindow::RefreshChrome() {
  const ChromeState state = CurrentChromeState();
  const bool open = state.listOpen;
  const bool pictures = open && !state.listShown && !messageShown_;
  welcomePanel_->SetVisible(!open && !messageShown_);
  messagePanel_->SetVisible(messageShown_ && !state.listShown);
  messagePanel_->SetTexts(headline_, detail_);
  pictureView_->SetVisible(pictures && !Webtoon());
  webtoonView_->SetVisible(pictures && Webtoon());
  listView_->SetVisible(open && state.listShown);
  infoPanel_->SetVisible(InfoPanelVisible(infoShown_, open, state.listShown));
  endCard_->SetVisible(endCardShown_ && open && !state.listShown);
  ShowBars(barsShown_);
  UpdateBottomBar();
  UpdateToolBar();
  UpdateTitle();
}

std::string MainWindow::CurrentName() const {
  if (current_ >= list_.items.size()) return {};
  const std::string& name = list_.items[current_].name;
  // An archive entry inside a subfolder is named by its own file name.
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

void MainWindow::UpdateTitle() {
  const std::string name = HasList() ? CurrentName() : std::string();
  chrome_.fileName->SetText(name);
  if (!window_) return;
  window_->SetTitle(name.empty() ? Text(0) : name + " - " + Text(0));
}

void MainWindow::ApplyAppearance() {
  const ViewAppearance appearance = AppearanceFromSettings(settings_);
  pictureView_->SetAppearance(appearance);
  pictureView_->SetZoomLocked(settings_.zoomLock);
  webtoonView_->SetAppearance(appearance);
  webtoonView_->SetGap(static_cast<float>(settings_.pageGap));
  UpdateToolBar();
}

}  // namespace App

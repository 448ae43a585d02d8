// The controls gallery page: every leaf control in its states, laid out in labelled sections.

#include "widget/controls_gallery.h"

#include <utility>

#include "widget/gallery.h"
#include "widget/host.h"
#include "widget/input/button.h"
#include "widget/input/check_box.h"
#include "widget/input/icon.h"
#include "widget/input/label.h"
#include "widget/input/nav_tab.h"
#include "widget/input/progress_bar.h"
#include "widget/input/radio_button.h"
#include "widget/input/separator.h"
#include "widget/input/slider.h"
#include "widget/stack.h"
#include "widget/theme.h"
#include "widget/window_image.h"

namespace Quarlo::Widget::Detail {
namespace {

using namespace Quarlo::Widget::Input;

constexpr float kWidth = 900;
constexpr float kHeight = 760;
constexpr float kMargin = 24;
constexpr float kSectionGap = 16;
constexpr float kRowGap = 8;
constexpr char32_t kOpenGlyph = 0xE8E5;
constexpr char32_t kDeleteGlyph = 0xE74D;
constexpr char32_t kSettingsGlyph = 0xE713;
constexpr char32_t kChevronDown = 0xE70D;
constexpr char32_t kWarningGlyph = 0xE7BA;
constexpr char32_t kInfoGlyph = 0xE946;
constexpr char32_t kPictureGlyph = 0xE8B9;
// The button the page focuses from the keyboard, found again by its automation id.
constexpr const char* kFocusedButtonId = "focused";

Stack* AddRow(Stack* column) {
  Stack* row = column->AddChild(std::make_unique<Stack>(false, kRowGap));
  row->SetHorizontalAlignment(Alignment::Start);
  return row;
}

Stack* AddSection(Stack* column, const char* title) {
  Stack* section = column->AddChild(std::make_unique<Stack>(true, kRowGap));
  section->SetMargin(0, 0, 0, kSectionGap);
  section->AddChild(std::make_unique<Label>(title, LabelStyle::Subtitle));
  return section;
}

template <typename T>
T* Disabled(T* control) {
  control->SetEnabled(false);
  return control;
}

void AddButtons(Stack* column) {
  Stack* section = AddSection(column, "Buttons 단추");
  Stack* row = AddRow(section);
  row->AddChild(std::make_unique<Button>("&Standard"));
  row->AddChild(std::make_unique<Button>("&Accent", ButtonStyle::Accent));
  Button* save = row->AddChild(std::make_unique<Button>("Save"));
  save->SetDefault(true);
  Button* open = row->AddChild(std::make_unique<Button>("열기(&O)"));
  open->SetIcon(kOpenGlyph);
  open->automationId = kFocusedButtonId;
  Button* more = row->AddChild(std::make_unique<Button>("Sort by", ButtonStyle::Standard));
  more->SetTrailingGlyph(kChevronDown);
  Button* remove = row->AddChild(std::make_unique<Button>("", ButtonStyle::Subtle));
  remove->SetIcon(kDeleteGlyph);
  remove->SetAccessibleName("Delete");
  Disabled(row->AddChild(std::make_unique<Button>("Disabled")));
  Disabled(row->AddChild(std::make_unique<Button>("Disabled", ButtonStyle::Accent)));

  Stack* toggles = AddRow(section);
  toggles->AddChild(std::make_unique<ToggleButton>("Toggle off"))->SetIcon(kPictureGlyph);
  toggles->AddChild(std::make_unique<ToggleButton>("Toggle on"))->SetChecked(true);
  auto* subtleOn = toggles->AddChild(std::make_unique<ToggleButton>("", ButtonStyle::Subtle));
  subtleOn->SetIcon(kSettingsGlyph);
  subtleOn->SetChecked(true);
  toggles->AddChild(std::make_unique<Button>("A caption much too long for its button"))->SetWidth(180);
}

void AddChoices(Stack* column) {
  Stack* section = AddSection(column, "Choices 선택");
  Stack* row = AddRow(section);
  Stack* boxes = row->AddChild(std::make_unique<Stack>(true, 0));
  boxes->SetWidth(280);
  boxes->AddChild(std::make_unique<CheckBox>("&Remember the last folder"));
  boxes->AddChild(std::make_unique<CheckBox>("Checked"))->SetState(CheckState::Checked);
  boxes->AddChild(std::make_unique<CheckBox>("Indeterminate"))->SetState(CheckState::Indeterminate);
  Disabled(boxes->AddChild(std::make_unique<CheckBox>("Disabled and checked")))
      ->SetState(CheckState::Checked);
  boxes->AddChild(std::make_unique<CheckBox>("창을 닫을 때 마지막으로 연 폴더와 위치를 기억합니다"));

  Stack* radios = row->AddChild(std::make_unique<Stack>(true, 0));
  radios->SetWidth(200);
  radios->AddChild(std::make_unique<RadioButton>("Fit to &window", "fit"));
  radios->AddChild(std::make_unique<RadioButton>("Original size", "fit"))->SetChecked(true);
  Disabled(radios->AddChild(std::make_unique<RadioButton>("Disabled", "fit")));
  radios->AddChild(std::make_unique<RadioButton>("너비에 맞춤", "fit"));

  Stack* tabs = row->AddChild(std::make_unique<Stack>(true, 2));
  tabs->SetWidth(180);
  tabs->AddChild(std::make_unique<NavTab>("General", "pages"))->SetChecked(true);
  tabs->AddChild(std::make_unique<NavTab>("Keyboard", "pages"));
  tabs->AddChild(std::make_unique<NavTab>("보기", "pages"));
  Disabled(tabs->AddChild(std::make_unique<NavTab>("Disabled", "pages")));
}

void AddValues(Stack* column) {
  Stack* section = AddSection(column, "Values 값");
  Stack* row = AddRow(section);
  Stack* sliders = row->AddChild(std::make_unique<Stack>(true, 0));
  sliders->SetWidth(240);
  sliders->AddChild(std::make_unique<Slider>())->SetValue(40);
  auto* stepped = sliders->AddChild(std::make_unique<Slider>());
  stepped->SetRange(0, 10);
  stepped->smallChange = 2;
  stepped->SetValue(6);
  Disabled(sliders->AddChild(std::make_unique<Slider>()))->SetValue(70);
  row->AddChild(std::make_unique<Slider>(ControlOrientation::Vertical))->SetValue(30);
  row->AddChild(std::make_unique<Separator>(ControlOrientation::Vertical));

  Stack* bars = row->AddChild(std::make_unique<Stack>(true, 14));
  bars->SetWidth(240);
  bars->SetMargin(0, 8, 0, 0);
  bars->AddChild(std::make_unique<ProgressBar>())->SetValue(0.426);
  auto* caution = bars->AddChild(std::make_unique<ProgressBar>());
  caution->SetValue(0.7);
  caution->SetTone(ProgressTone::Caution);
  auto* critical = bars->AddChild(std::make_unique<ProgressBar>());
  critical->SetValue(0.25);
  critical->SetTone(ProgressTone::Critical);
  critical->SetThickness(6);
  Disabled(bars->AddChild(std::make_unique<ProgressBar>()))->SetValue(0.5);
  bars->AddChild(std::make_unique<ProgressBar>())->SetIndeterminate(true);
}

void AddTexts(Stack* column) {
  Stack* section = AddSection(column, "Labels and icons 글자와 아이콘");
  Stack* row = AddRow(section);
  Stack* labels = row->AddChild(std::make_unique<Stack>(true, 4));
  labels->SetWidth(420);
  labels->AddChild(std::make_unique<Label>("QuarloView 설정", LabelStyle::Title));
  labels->AddChild(std::make_unique<Label>("Caption: 1,234 pictures", LabelStyle::Caption))
      ->SetTone(TextTone::Secondary);
  Label* wrapped = labels->AddChild(std::make_unique<Label>(
      "폴더나 압축 파일의 그림을 자연스러운 이름 순서로 넘겨 보고, 창에 맞추거나 확대해서 봅니다."));
  wrapped->SetWrap(true);
  Label* cut = labels->AddChild(
      std::make_unique<Label>("A label far too long for its column is cut with an ellipsis"));
  cut->SetEllipsis(true);
  cut->SetWidth(260);
  Label* keyed = labels->AddChild(std::make_unique<Label>("&Name:"));
  keyed->SetUseAccessKey(true);
  keyed->SetBold(true);

  Stack* tones = row->AddChild(std::make_unique<Stack>(true, 4));
  const std::pair<const char*, TextTone> toneLabels[] = {{"Accent", TextTone::Accent},
                                                         {"Success", TextTone::Success},
                                                         {"Caution", TextTone::Caution},
                                                         {"Critical", TextTone::Critical},
                                                         {"Disabled", TextTone::Disabled}};
  for (const auto& [text, tone] : toneLabels) tones->AddChild(std::make_unique<Label>(text))->SetTone(tone);

  Stack* icons = row->AddChild(std::make_unique<Stack>(false, 12));
  icons->SetVerticalAlignment(Alignment::Start);
  icons->AddChild(std::make_unique<Icon>(kInfoGlyph, 24))->SetTone(TextTone::Accent);
  icons->AddChild(std::make_unique<Icon>(kWarningGlyph, 24))->SetTone(TextTone::Caution);
  icons->AddChild(std::make_unique<Icon>(kPictureGlyph, 0));
}

Widget* FindById(Widget* root, const std::string& id) {
  Widget* found = nullptr;
  ForEachInTree(root, [&](Widget* w) {
    if (found == nullptr && w->AutomationId() == id) found = w;
  });
  return found;
}

}  // namespace

Size ControlsGallerySize() { return Size{kWidth, kHeight}; }

std::unique_ptr<Widget> MakeControlsGallery() {
  auto page = std::make_unique<Stack>(true, 0);
  page->SetMargin(kMargin, kMargin, kMargin, kMargin);
  AddButtons(page.get());
  AddChoices(page.get());
  AddValues(page.get());
  AddTexts(page.get());
  return page;
}

void ShowControlsGallery(Host& host) {
  host.SetRoot(MakeControlsGallery());
  host.SetKeyboardCues(true);
  if (Widget* focused = FindById(host.Root(), kFocusedButtonId))
    host.SetFocus(focused, FocusReason::Keyboard);
}

bool WriteControlsShots(const std::string& folder) {
  const std::pair<const char*, Theme> themes[] = {{"light", Theme::Light(kDefaultAccent)},
                                                  {"dark", Theme::Dark(kDefaultAccent)},
                                                  {"contrast", Theme::HighContrast()}};
  const std::pair<const char*, float> scales[] = {{"100", 96}, {"200", 192}};
  Host host;
  ShowControlsGallery(host);
  for (const auto& [themeName, theme] : themes) {
    for (const auto& [scaleName, dpi] : scales) {
      WindowImageOptions options;
      options.size = ControlsGallerySize();
      options.dpi = dpi;
      options.theme = theme;
      const std::string path = folder + "/controls-" + themeName + "-" + scaleName + ".png";
      if (!WritePngFile(RenderWindowToImage(host, options), path)) return false;
    }
  }
  return true;
}

}  // namespace Quarlo::Widget::Detail

#include "app/about_dialog.h"

#include "core/strings.h"
#include "widget/input/label.h"
#include "widget/kit/dialog_builder.h"
#include "widget/stack.h"

namespace App {

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::FormatText;
using Quarlo::View::Text;

namespace {

constexpr float kWidth = 440;
constexpr int kTitle = 133;
constexpr int kVersion = 134;
constexpr int kAbout = 135;
constexpr int kComponents = 136;
constexpr int kFirstComponent = 137;
constexpr int kLastComponent = 138;
constexpr int kClose = 64;

}  // namespace

std::unique_ptr<Kit::DialogBuilder> BuildAboutDialog() {
  auto dialog = std::make_unique<Kit::DialogBuilder>(kWidth);
  Stack& content = *dialog->Content();
  content.AddChild(Kit::MakeLabel(Text(0), false, LabelStyle::Subtitle));
  auto version = Kit::MakeLabel(FormatText(kVersion, {kProgramVersion}), false);
  version->SetTone(TextTone::Secondary);
  content.AddChild(std::move(version));
  content.AddChild(Kit::MakeLabel(Text(kAbout), true));
  auto heading = Kit::MakeLabel(Text(kComponents), false);
  heading->SetBold(true);
  heading->SetMargin(0, 6, 0, 0);
  content.AddChild(std::move(heading));
  for (int id = kFirstComponent; id <= kLastComponent; ++id) content.AddChild(Kit::MakeLabel(Text(id), true));
  dialog->AddButton(Text(kClose), kClose, true, true);
  return dialog;
}

void ShowAboutDialog(NativeHandle owner) { BuildAboutDialog()->RunDialog(owner, Text(kTitle)); }

}  // namespace App

// The "Go to number" dialog.

#include "app/picture_number_dialog.h"

#include <algorithm>
#include <cmath>

#include "core/strings.h"
#include "widget/input/number_box.h"
#include "widget/input/text_box.h"
#include "widget/kit/dialog_builder.h"
#include "widget/stack.h"

namespace App {
namespace {

using Quarlo::View::FormatText;
using Quarlo::View::FormatThousands;
using Quarlo::View::Text;

constexpr float kDialogWidth = 360;
constexpr int kTitle = 104;
constexpr int kPrompt = 105;
constexpr int kGo = 106;
constexpr int kCancel = 96;
constexpr int32_t kGoResult = 1;
constexpr int32_t kCancelResult = 2;

}  // namespace

std::optional<uint64_t> AskPictureNumber(Quarlo::Widget::NativeHandle owner, uint64_t count,
                                         uint64_t current) {
  namespace W = Quarlo::Widget;
  if (count == 0) return std::nullopt;
  W::Kit::DialogBuilder dialog(kDialogWidth);
  const std::string prompt = FormatText(kPrompt, {FormatThousands(count)});
  dialog.Content()->AddChild(W::Kit::MakeLabel(prompt, true));
  auto* box = dialog.Content()->AddChild(std::make_unique<W::Input::NumberBox>());
  box->SetRange(1, static_cast<double>(count));
  box->SetDecimals(0);
  box->SetValue(static_cast<double>(current), false);
  box->SetAccessibleName(prompt);
  box->Box().SetAccessibleName(prompt);
  dialog.AddButton(Text(kGo), kGoResult, true, false);
  dialog.AddButton(Text(kCancel), kCancelResult, false, true);
  // The number starts selected, so that typing replaces it.
  box->Box().Focus(W::FocusReason::Keyboard);
  if (dialog.RunDialog(owner, Text(kTitle)) != kGoResult) return std::nullopt;
  box->Commit();
  const double value = std::clamp(std::trunc(box->Value()), 1.0, static_cast<double>(count));
  return static_cast<uint64_t>(value);
}

}  // namespace App

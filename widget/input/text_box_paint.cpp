// TextBox: drawing the field, its text with selection, composition and caret, the scroll indicator, the
// reveal button and the Caps Lock hint.

#include <algorithm>
#include <cmath>

#include "widget/control_paint.h"
#include "widget/input/text_box.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kSelectionAlpha = 0.4f;
constexpr float kTargetUnderline = 2;
constexpr float kIndicatorWidth = 3;
constexpr float kIndicatorFromRight = 6;
constexpr float kIndicatorMinLength = 20;
constexpr float kIndicatorRadius = 1.5f;
constexpr float kIndicatorAlpha = 0.7f;
constexpr char32_t kRevealGlyph = 0xE7B3;
constexpr float kRevealGlyphSize = 12;
constexpr float kHintGap = 4;
constexpr float kHintRightEdge = 10;
constexpr const char* kCapsLockText = "Caps Lock";
constexpr uint8_t kInputErrorAttribute = 4;

bool IsTargetClause(uint8_t attribute) { return attribute == 1 || attribute == 3; }

Color WithAlpha(Color c, float alpha) {
  c.a *= alpha;
  return c;
}

}  // namespace

void TextBox::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const bool enabled = IsEnabledInTree();
  const bool focused = IsFocused() && enabled;
  PaintFieldFrame(canvas, theme, ActualSize(),
                  FieldState{enabled, focused, IsHovered(), !errorText_.empty()});

  if (ShowsCapsLockHint()) CapsLockHintWidth();
  const Rect content = ContentRect();
  canvas.PushClip(Rect{content.x, content.y, content.width + 1, content.height});
  const TextLayout& layout = Layout();
  if (model_.Text().empty() && !model_.IsComposing()) {
    if (!placeholder_.empty()) {
      const TextLayout hint =
          TextLayout::Create(placeholder_, Style(), Size{kUnbounded, kUnbounded}, TextOptions{});
      const float top =
          multiLine_ ? content.y : std::floor((ActualSize().height - hint.Metrics().height) * 0.5f);
      canvas.DrawText(hint, Point{content.x, top},
                      theme.Get(enabled ? ThemeColor::TextSecondary : ThemeColor::TextDisabled));
    }
  }
  const Color textColour = !enabled             ? theme.Get(ThemeColor::TextDisabled)
                           : textColourOverride ? *textColourOverride
                                                : theme.Get(ThemeColor::TextPrimary);
  const Point origin{content.x - scrollX_, TextTop()};
  if (focused && !model_.IsComposing()) PaintSelection(canvas, theme, origin);
  if (model_.IsComposing()) PaintComposition(canvas, theme, origin, textColour);
  if (layout) canvas.DrawText(layout, origin, textColour);
  if (focused && caretVisible_ && !model_.readOnly && (model_.IsComposing() || !model_.HasSelection()))
    PaintCaret(canvas, origin, textColour);
  canvas.PopClip();

  if (multiLine_) PaintScrollIndicator(canvas, theme);
  if (ShowsRevealButton()) PaintRevealButton(canvas, theme);
  if (ShowsCapsLockHint()) PaintCapsLockHint(canvas, theme);
}

void TextBox::PaintSelection(Canvas& canvas, const Theme& theme, Point origin) {
  if (!model_.HasSelection() || !layout_) return;
  const Color colour = WithAlpha(theme.Get(ThemeColor::Accent), kSelectionAlpha);
  for (const Rect& r : layout_.RangeRects(model_.ToDisplay(model_.SelectionStart()),
                                          model_.ToDisplay(model_.SelectionEnd()))) {
    canvas.FillRect(Rect{origin.x + r.x, origin.y + r.y, r.width, r.height}, colour);
  }
}

void TextBox::PaintComposition(Canvas& canvas, const Theme& theme, Point origin, Color textColour) {
  if (!layout_) return;
  const size_t start = model_.ToDisplay(model_.CompositionStart());
  const float thin = std::max(1 / canvas.Scale(), 1.0f);
  for (const Models::CompositionRun& run : model_.CompositionRuns()) {
    const bool target = IsTargetClause(run.attribute);
    const float thickness = target ? kTargetUnderline : thin;
    const Color line = run.attribute == kInputErrorAttribute ? theme.Get(ThemeColor::Critical) : textColour;
    for (const Rect& r : layout_.RangeRects(start + run.start, start + run.end)) {
      const Rect placed{origin.x + r.x, origin.y + r.y, r.width, r.height};
      if (target) canvas.FillRect(placed, WithAlpha(theme.Get(ThemeColor::Accent), kSelectionAlpha));
      canvas.FillRect(Rect{placed.x, placed.Bottom() - thickness, placed.width, thickness}, line);
    }
  }
}

void TextBox::PaintCaret(Canvas& canvas, Point origin, Color textColour) {
  if (!layout_) return;
  const float scale = canvas.Scale();
  const float width = std::max(std::max(std::round(scale), 1.0f) / scale, 1.0f);
  const TextLayout::CaretHit hit = layout_.HitTestTextPosition(model_.DisplayCaret(), false);
  const float height = hit.lineHeight > 0 ? hit.lineHeight : layout_.Metrics().height;
  canvas.FillRect(canvas.SnapRect(Rect{origin.x + hit.point.x, origin.y + hit.point.y, width, height}),
                  textColour);
}

void TextBox::PaintScrollIndicator(Canvas& canvas, const Theme& theme) {
  if (!layout_) return;
  const Rect content = ContentRect();
  const float total = layout_.Metrics().height;
  if (total <= content.height + 0.5f) return;
  const float length = std::max(content.height * content.height / total, kIndicatorMinLength);
  const float y = content.y + (content.height - length) * scrollY_ / (total - content.height);
  canvas.FillRoundedRect(Rect{ActualSize().width - kIndicatorFromRight, y, kIndicatorWidth, length},
                         kIndicatorRadius, WithAlpha(theme.Get(ThemeColor::TextSecondary), kIndicatorAlpha));
}

void TextBox::PaintRevealButton(Canvas& canvas, const Theme& theme) {
  const Rect button = RevealButtonRect();
  if (revealPressed_)
    canvas.FillRoundedRect(button, theme.cornerRadius, theme.Get(ThemeColor::SubtleFillPressed));
  canvas.DrawIcon(kRevealGlyph, button, kRevealGlyphSize,
                  theme.Get(model_.revealed ? ThemeColor::Accent : ThemeColor::TextSecondary));
}

void TextBox::PaintCapsLockHint(Canvas& canvas, const Theme& theme) {
  TextStyle style = Style();
  style.size -= 2;
  const TextLayout hint =
      TextLayout::Create(kCapsLockText, style, Size{kUnbounded, kUnbounded}, TextOptions{});
  if (!hint) return;
  const float right = ShowsRevealButton() ? RevealButtonRect().x - kHintGap
                                          : ActualSize().width - kHintRightEdge - rightInset_;
  const Size size = hint.Metrics();
  canvas.DrawText(hint, Point{right - size.width, std::floor((ActualSize().height - size.height) * 0.5f)},
                  theme.Get(ThemeColor::Caution));
}

}  // namespace Quarlo::Widget::Input

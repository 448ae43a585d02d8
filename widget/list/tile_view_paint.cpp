// TileView: painting the visible tiles (background, thumbnail or placeholder, texts, focus) or the empty
// text, with the per-index cache of text layouts.

#include <algorithm>
#include <cmath>

#include "widget/list/tile_view.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::List {

namespace {

constexpr char32_t kPlaceholderGlyph = 0xEB9F;
constexpr float kPlaceholderGlyphSize = 28;
constexpr float kBackgroundInset = 2;
constexpr float kThumbnailInset = 8;
constexpr float kTitleGap = 14;  // from the thumbnail box's bottom edge (8 margin + 6)
constexpr float kSelectedAlphaDark = 0.26f;
constexpr float kSelectedAlphaLight = 0.15f;
constexpr float kSelectedHoverExtra = 0.07f;
constexpr float kSelectedStroke = 1.5f;
constexpr float kFocusOuterStroke = 2;
constexpr float kFocusInnerStroke = 1;
constexpr float kEmptyTextMaxDrop = 80;
constexpr size_t kBodyTextSizeMetric = 3;

Rect Inset(Rect r, float by) {
  return Rect{r.x + by, r.y + by, std::max(r.width - 2 * by, 0.0f), std::max(r.height - 2 * by, 0.0f)};
}

// The bitmap's own size scaled to fit inside box, centred.
Rect FitInside(const Bitmap& bitmap, Rect box) {
  const float scale = std::min(box.width / static_cast<float>(bitmap.Width()),
                               box.height / static_cast<float>(bitmap.Height()));
  const float width = static_cast<float>(bitmap.Width()) * scale;
  const float height = static_cast<float>(bitmap.Height()) * scale;
  return Rect{box.x + (box.width - width) * 0.5f, box.y + (box.height - height) * 0.5f, width, height};
}

// Snaps the rect's position to device pixels but keeps its size in device pixels wherever it lands: a
// thumbnail then has one size through a whole scroll, and its one shrunk copy serves every frame.
Rect SnapKeepingSize(const Canvas& canvas, Rect rect) {
  const float scale = canvas.Scale();
  const Rect origin = canvas.SnapRect(Rect{rect.x, rect.y, 0, 0});
  return Rect{origin.x, origin.y, std::round(rect.width * scale) / scale,
              std::round(rect.height * scale) / scale};
}

}  // namespace

const TileView::TileTexts& TileView::TextsOf(int64_t index, float width) {
  TileTexts& entry = layoutCache_[index];
  if (entry.width == width) return entry;
  TextOptions options;
  options.alignment = TextAlignment::Center;
  options.verticalAlignment = TextVerticalAlignment::Center;
  options.wrapping = TextWrapping::None;
  options.trimming = TextTrimming::CharacterEllipsis;
  const Size maximum{width, geometry_.LineHeight()};
  entry.title = TextLayout::Create(source_->Title(index), titleStyle_, maximum, options);
  entry.subtitle = {};
  if (geometry_.textLines > 1) {
    const std::string_view subtitle = source_->Subtitle(index);
    if (!subtitle.empty()) entry.subtitle = TextLayout::Create(subtitle, subtitleStyle_, maximum, options);
  }
  entry.width = width;
  return entry;
}

void TileView::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  canvas.PushClip(ContentRect());
  if (!source_ || itemCount_ == 0) {
    PaintEmpty(canvas, theme);
    canvas.PopClip();
    return;
  }
  if (layoutCache_.size() > kTileLayoutCacheLimit) layoutCache_.clear();
  const float scale = canvas.Scale();
  const Size pixels{std::max(1.0f, std::round(scale * geometry_.tileWidth)),
                    std::max(1.0f, std::round(scale * geometry_.tileHeight))};
  const IndexRange visible = VisibleItems(0);
  for (int64_t i = visible.begin; i < visible.end; ++i) PaintTile(canvas, theme, i, pixels);
  canvas.PopClip();
}

void TileView::PaintEmpty(Canvas& canvas, const Theme& theme) {
  if (!emptyLayout_) {
    TextStyle style = titleStyle_;
    style.size = theme.metrics[kBodyTextSizeMetric];
    emptyLayout_ = TextLayout::Create(ToolkitString(ToolkitText::NothingToShow), style,
                                      Size{kUnbounded, kUnbounded}, TextOptions{});
  }
  const Rect content = ContentRect();
  const Size text = emptyLayout_.Metrics();
  const Point at{(content.width - text.width) * 0.5f,
                 content.y + std::min(kEmptyTextMaxDrop, content.height * 0.5f) - text.height * 0.5f};
  canvas.DrawText(emptyLayout_, at, theme.Get(ThemeColor::TextSecondary));
}

void TileView::PaintTile(Canvas& canvas, const Theme& theme, int64_t index, Size thumbnailPixels) {
  const Rect cell = TileRect(index);
  const Rect background = canvas.SnapRect(Inset(cell, kBackgroundInset));
  const bool selected = selection.IsSelected(index);
  const bool hovered = index == hoverIndex_;
  const bool contrast = theme.highContrast;
  ThemeColor titleColor = ThemeColor::TextPrimary;
  ThemeColor subtitleColor = ThemeColor::TextSecondary;
  if (!selected) {
    if (hovered)
      canvas.FillRoundedRect(background, theme.cornerRadius, theme.Get(ThemeColor::SubtleFillHover));
  } else if (contrast) {
    canvas.FillRoundedRect(background, theme.cornerRadius, theme.Get(ThemeColor::Accent));
    titleColor = subtitleColor = ThemeColor::TextOnAccent;
  } else {
    const float alpha = (theme.mode == ThemeKind::Dark ? kSelectedAlphaDark : kSelectedAlphaLight) +
                        (hovered ? kSelectedHoverExtra : 0.0f);
    canvas.FillRoundedRect(background, theme.cornerRadius, theme.Get(ThemeColor::Accent).WithAlpha(alpha));
    canvas.StrokeRoundedRect(background, theme.cornerRadius, theme.Get(ThemeColor::Accent), kSelectedStroke);
  }

  const Rect box{cell.x + kThumbnailInset, cell.y + kThumbnailInset, geometry_.tileWidth,
                 geometry_.tileHeight};
  const Bitmap bitmap = source_->Thumbnail(index, static_cast<int>(thumbnailPixels.width),
                                           static_cast<int>(thumbnailPixels.height));
  if (bitmap.Width() > 0 && bitmap.Height() > 0) {
    canvas.DrawBitmap(bitmap, SnapKeepingSize(canvas, FitInside(bitmap, box)), Rect{}, 1,
                      Interpolation::HighQualityCubic);
  } else {
    canvas.FillRoundedRect(box, theme.cornerRadius, theme.Get(ThemeColor::ControlFill));
    canvas.StrokeRoundedRect(box, theme.cornerRadius, theme.Get(ThemeColor::ControlBorder), 1);
    canvas.DrawIcon(kPlaceholderGlyph, box, kPlaceholderGlyphSize, theme.Get(ThemeColor::TextDisabled));
  }

  if (geometry_.textLines > 0) {
    const TileTexts& texts = TextsOf(index, geometry_.tileWidth);
    const Point title{cell.x + kThumbnailInset, cell.y + geometry_.tileHeight + kTitleGap};
    canvas.DrawText(texts.title, title, theme.Get(titleColor));
    if (texts.subtitle) {
      canvas.DrawText(texts.subtitle, Point{title.x, title.y + geometry_.LineHeight()},
                      theme.Get(subtitleColor));
    }
  }

  if (IsFocusVisualShown() && index == selection.Focus()) {
    canvas.StrokeRoundedRect(background, theme.cornerRadius, theme.Get(ThemeColor::StrongForeground),
                             kFocusOuterStroke);
    canvas.StrokeRoundedRect(Inset(background, kFocusOuterStroke), std::max(theme.cornerRadius - 1, 0.0f),
                             theme.Get(ThemeColor::InverseSurface), kFocusInnerStroke);
  }
}

}  // namespace Quarlo::Widget::List

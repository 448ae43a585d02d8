#pragma once
// The drawing interface every widget paints through, and the records it draws with. All lengths are
// device-independent pixels (DIPs); Scale() converts them to the target's device pixels. The one
// implementation lives in widget/detail/ (Cairo for shapes and pictures, Pango for text). Canvases and text
// layouts belong to the user-interface thread; bitmaps may be made on any thread but are drawn on that one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "widget/color.h"
#include "widget/geometry.h"

namespace Quarlo::Widget {

namespace Detail {
struct TextLayoutImpl;
}  // namespace Detail

// 3-by-2 affine transform in row-vector form: a point (x, y) maps to
// (x × m11 + y × m21 + dx, x × m12 + y × m22 + dy).
struct Matrix {
  float m11 = 1;
  float m12 = 0;
  float m21 = 0;
  float m22 = 1;
  float dx = 0;
  float dy = 0;
  friend bool operator==(const Matrix&, const Matrix&) = default;

  static Matrix Translation(float x, float y) { return Matrix{1, 0, 0, 1, x, y}; }
  // Scaling about a centre point.
  static Matrix Scaling(float sx, float sy, Point centre = {});
  // Clockwise rotation (y points down) by degrees about a centre point.
  static Matrix Rotation(float degrees, Point centre = {});
  Point Apply(Point p) const { return Point{p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
};

// The transform that applies first then second.
Matrix operator*(const Matrix& first, const Matrix& second);

struct GradientStop {
  float position = 0;  // clamped to 0..1 when used
  Color color;
};

// Linear gradients run from start to end; radial ones are centred on start with radii radiusX, radiusY.
// Colours between stops blend in sRGB space; outside the stops the end colours extend.
struct Gradient {
  bool radial = false;
  Point start;
  Point end;
  float radiusX = 0;
  float radiusY = 0;
  std::vector<GradientStop> stops;
};

enum class PathKind : int32_t { MoveTo = 0, LineTo = 1, QuadraticTo = 2, CubicTo = 3, Close = 4 };

// Control points first, end point last; unused points stay zero.
struct PathCommand {
  PathKind kind = PathKind::MoveTo;
  std::array<Point, 3> points{};
};

struct Path {
  std::vector<PathCommand> commands;

  Path& MoveTo(Point p);
  Path& LineTo(Point p);
  Path& QuadraticTo(Point control, Point end);
  Path& CubicTo(Point control1, Point control2, Point end);
  Path& Close();
};

enum class DashStyle : int32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };
enum class CapStyle : int32_t { Flat = 0, Round = 1, Square = 2 };
enum class LineJoin : int32_t { Miter = 0, Round = 1, Bevel = 2 };

// Dash lengths are multiples of the width: dash 4, 2; dot 1, 1; dash-dot 4, 2, 1, 2. The cap applies to
// line ends and dash ends; the miter limit is 10.
struct StrokeStyle {
  float width = 1;
  DashStyle dash = DashStyle::Solid;
  float dashOffset = 0;
  CapStyle cap = CapStyle::Flat;
  LineJoin join = LineJoin::Miter;
};

struct TextStyle {
  std::string family;  // empty: the desktop's UI font
  float size = 14;     // DIPs
  int32_t weight = 400;
  bool italic = false;
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

enum class TextAlignment : int32_t { Leading = 0, Center = 1, Trailing = 2, Justified = 3 };
enum class TextVerticalAlignment : int32_t { Top = 0, Center = 1, Bottom = 2 };
enum class TextWrapping : int32_t { None = 0, Wrap = 1, WrapBreakWords = 2 };
enum class TextTrimming : int32_t { None = 0, Character = 1, CharacterEllipsis = 2, WordEllipsis = 3 };

struct TextOptions {
  TextAlignment alignment = TextAlignment::Leading;
  TextVerticalAlignment verticalAlignment = TextVerticalAlignment::Top;
  TextWrapping wrapping = TextWrapping::None;
  TextTrimming trimming = TextTrimming::None;
};

enum class Interpolation : int32_t { NearestNeighbor = 0, Linear = 1, HighQualityCubic = 2 };

// A pre-scaled copy of a bitmap: half the size of the one before it (each side floor(side / 2), at
// least 1), premultiplied BGRA with stride width × 4, kept alive by its owner.
// The side of the next halved copy of a bitmap: floor(side / 2), at least 1. Copies made ahead of time
// (by a picture loader) must follow it to be taken.
constexpr int32_t HalfLevelSide(int32_t side) { return side > 1 ? side / 2 : 1; }

struct BitmapLevel {
  int32_t width = 0;
  int32_t height = 0;
  std::shared_ptr<const void> owner;
  const uint8_t* pixels = nullptr;
};

// A picture to draw: premultiplied BGRA rows without padding (stride = width × 4). A shared handle:
// copies share the pixels and the halved copies scaled draws sample from. Empty draws nothing.
class Bitmap {
 public:
  struct Impl {
    int32_t width = 0;
    int32_t height = 0;
    float dpi = 96;
    std::vector<uint8_t> ownedPixels;   // FromPixels
    std::shared_ptr<const void> owner;  // Wrap: keeps the pixel buffer alive
    const uint8_t* pixels = nullptr;    // first row, into ownedPixels or the owner's buffer
    // Halved copies, largest first: given with WrapWithLevels, and extended by the canvas on the first
    // draw that needs a smaller one.
    std::vector<BitmapLevel> levels;
    // The copy the canvas last shrank a small bitmap to, for a draw at that same device size and quality
    // (thumbnails drawn again every frame of a scroll); empty until then.
    int32_t scaledWidth = 0;
    int32_t scaledHeight = 0;
    Interpolation scaledInterpolation = Interpolation::Linear;
    std::vector<uint8_t> scaledPixels;
  };

  Bitmap() = default;
  // Copies the first width × height × 4 bytes; empty unless both sides are above 0 and enough bytes are
  // given.
  static Bitmap FromPixels(int32_t width, int32_t height, const std::vector<uint8_t>& pixels, float dpi = 96);
  // Never copies: the owner keeps `pixels` valid for the bitmap's life. Empty for a null buffer or bad size.
  static Bitmap Wrap(int32_t width, int32_t height, std::shared_ptr<const void> owner, const uint8_t* pixels,
                     float dpi = 96);
  // Wrap with halved copies made ahead of time (on the thread that decoded the picture), so that shrunk
  // draws need no preparation when they happen. Copies are kept up to the first one that is not half the
  // size of the one before it or has no pixels; nothing is copied.
  static Bitmap WrapWithLevels(int32_t width, int32_t height, std::shared_ptr<const void> owner,
                               const uint8_t* pixels, std::vector<BitmapLevel> levels, float dpi = 96);

  explicit operator bool() const { return impl_ != nullptr; }
  int32_t Width() const { return impl_ ? impl_->width : 0; }
  int32_t Height() const { return impl_ ? impl_->height : 0; }
  float Dpi() const { return impl_ ? impl_->dpi : 96; }
  const uint8_t* Pixels() const { return impl_ ? impl_->pixels : nullptr; }
  // The number of halved copies the bitmap holds now.
  size_t LevelCount() const { return impl_ ? impl_->levels.size() : 0; }
  // The canvas implementation reads and caches through this.
  Impl* Get() const { return impl_.get(); }

 private:
  std::shared_ptr<Impl> impl_;
};

// Text laid out once for a style, a maximum size and options; draws and hit-tests. Text positions are
// byte offsets into the UTF-8 text. A shared handle; empty (failed) layouts draw and measure as nothing.
class TextLayout {
 public:
  struct CaretHit {
    Point point;  // top of the caret, relative to the layout's origin
    float lineHeight = 0;
  };
  struct PointHit {
    size_t position = 0;    // byte offset of the character under the point
    bool trailing = false;  // the point is on the character's trailing half
    bool inside = false;    // the point lies within the text
  };

  TextLayout() = default;
  // Lays text out within maximum (a side of +infinity means unbounded). Called by widgets when text,
  // style or available size changes.
  static TextLayout Create(std::string_view text, const TextStyle& style, Size maximum,
                           const TextOptions& options);
  // The size text needs at maxWidth (unbounded height); trimmed single-line text reports at most maxWidth.
  static Size Measure(std::string_view text, const TextStyle& style, float maxWidth,
                      const TextOptions& options);

  explicit operator bool() const { return impl_ != nullptr; }
  // Width and height of the laid-out text (trimmed single-line text: at most the maximum width).
  Size Metrics() const;
  int LineCount() const;
  Size Maximum() const;
  // Caret placement for text editing: the leading (or trailing) edge of the character at position.
  CaretHit HitTestTextPosition(size_t position, bool trailing) const;
  // The character under a point in layout coordinates.
  PointHit HitTestPoint(Point p) const;
  // Rectangles covering the text between two positions (selection highlight), one or more per line.
  std::vector<Rect> RangeRects(size_t start, size_t end) const;
  // The baseline of the line holding position, from the layout's top (access-key underlines sit below it).
  float BaselineAt(size_t position) const;
  // The canvas implementation draws through this.
  Detail::TextLayoutImpl* Get() const { return impl_.get(); }

 private:
  explicit TextLayout(std::shared_ptr<Detail::TextLayoutImpl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<Detail::TextLayoutImpl> impl_;
};

// Widgets draw through this during a paint. Transforms, clips and opacity layers nest; every push is
// matched by its pop before the paint ends.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Device pixels per DIP (DPI / 96).
  virtual float Scale() const = 0;
  // Fills the whole target, ignoring transform and clips; the host calls it at the start of a paint.
  virtual void Clear(Color color) = 0;
  virtual void FillRectGradient(Rect rect, const Gradient& gradient) = 0;
  virtual void FillRect(Rect rect, Color color) = 0;
  // Strokes inside the rectangle (inset by half the width); a stroke as wide as a side fills instead.
  virtual void StrokeRect(Rect rect, Color color, const StrokeStyle& style) = 0;
  virtual void StrokeRect(Rect rect, Color color, float width) = 0;
  // The radius is clamped to half the smaller side.
  virtual void FillRoundedRect(Rect rect, float radius, Color color) = 0;
  // Strokes inside the rectangle; twice the width reaching a side fills instead.
  virtual void StrokeRoundedRect(Rect rect, float radius, Color color, float width) = 0;
  virtual void FillEllipse(Point centre, float radiusX, float radiusY, Color color) = 0;
  // Strokes inside the ellipse (both radii reduced by half the width).
  virtual void StrokeEllipse(Point centre, float radiusX, float radiusY, Color color, float width) = 0;
  virtual void DrawLine(Point from, Point to, Color color, const StrokeStyle& style) = 0;
  virtual void DrawLine(Point from, Point to, Color color, float width) = 0;
  virtual void FillPathGradient(const Path& path, const Gradient& gradient) = 0;
  virtual void FillPath(const Path& path, Color color) = 0;
  virtual void StrokePath(const Path& path, Color color, const StrokeStyle& style) = 0;
  // Draws a layout with its top-left corner at origin.
  virtual void DrawText(const TextLayout& layout, Point origin, Color color) = 0;
  // One glyph of the icon font, centred in rect; codePoint is the icon code point the program names.
  virtual void DrawIcon(char32_t codePoint, Rect rect, float size, Color color) = 0;
  // Draws source (DIPs of the bitmap at its dpi; empty means all of it) into destination.
  virtual void DrawBitmap(const Bitmap& bitmap, Rect destination, Rect source, float opacity,
                          Interpolation interpolation) = 0;
  // Axis-aligned clip with aliased edges: the device-space bounds of the transformed rectangle.
  virtual void PushClip(Rect rect) = 0;
  virtual void PushRoundedClip(Rect rect, float radius) = 0;
  // Pops the last clip of either kind; does nothing when the last pushed entry is an opacity layer.
  virtual void PopClip() = 0;
  // New transform = matrix × current transform (the matrix applies first).
  virtual void PushTransform(const Matrix& matrix) = 0;
  virtual void PopTransform() = 0;
  // Everything drawn until PopOpacity is composited once with this opacity.
  virtual void PushOpacity(float opacity) = 0;
  // Pops only when the last pushed entry is an opacity layer.
  virtual void PopOpacity() = 0;
  // Moves each edge to the nearest device pixel, taking the pushed translations into account.
  virtual Rect SnapRect(Rect rect) const = 0;
};

}  // namespace Quarlo::Widget

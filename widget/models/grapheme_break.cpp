// The built-in grapheme cluster rules: property tables and the pair rules GB3 to GB13 of UAX #29.

#include "widget/models/grapheme_break.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "widget/input/ime_composition.h"

namespace Quarlo::Widget::Models {
namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// A faithful subset of Grapheme_Cluster_Break=Extend: the combining marks of the common scripts, the
// variation selectors, the emoji skin-tone modifiers and tags.
constexpr Range kExtend[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489},   {0x0591, 0x05BD},   {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7},   {0x0610, 0x061A},   {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4},   {0x06E7, 0x06E8},   {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093A, 0x093A},   {0x093C, 0x093C},   {0x0941, 0x0948},   {0x094D, 0x094D}, {0x0951, 0x0957},
    {0x0962, 0x0963},   {0x0981, 0x0981},   {0x09BC, 0x09BC},   {0x09C1, 0x09C4}, {0x09CD, 0x09CD},
    {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},   {0x0E47, 0x0E4E},   {0x0EB1, 0x0EB1}, {0x0EB4, 0x0EBC},
    {0x0EC8, 0x0ECE},   {0x1AB0, 0x1AFF},   {0x1DC0, 0x1DFF},   {0x200C, 0x200C}, {0x20D0, 0x20F0},
    {0x302A, 0x302F},   {0x3099, 0x309A},   {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0xFF9E, 0xFF9F},
    {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
};

constexpr Range kSpacingMark[] = {
    {0x0903, 0x0903}, {0x093B, 0x093B}, {0x093E, 0x0940}, {0x0949, 0x094C},
    {0x094E, 0x094F}, {0x0982, 0x0983}, {0x09BF, 0x09C0}, {0x09C7, 0x09C8},
    {0x09CB, 0x09CC}, {0x0E33, 0x0E33}, {0x0EB3, 0x0EB3},
};

// Extended_Pictographic: the emoji blocks and the older symbols that present as emoji.
constexpr Range kPictographic[] = {
    {0x00A9, 0x00A9},   {0x00AE, 0x00AE},   {0x203C, 0x203C},   {0x2049, 0x2049},   {0x2122, 0x2122},
    {0x2139, 0x2139},   {0x2194, 0x2199},   {0x21A9, 0x21AA},   {0x231A, 0x231B},   {0x2328, 0x2328},
    {0x23CF, 0x23CF},   {0x23E9, 0x23F3},   {0x23F8, 0x23FA},   {0x24C2, 0x24C2},   {0x25AA, 0x25AB},
    {0x25B6, 0x25B6},   {0x25C0, 0x25C0},   {0x25FB, 0x25FE},   {0x2600, 0x27BF},   {0x2934, 0x2935},
    {0x2B05, 0x2B07},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x3030, 0x3030},
    {0x303D, 0x303D},   {0x3297, 0x3297},   {0x3299, 0x3299},   {0x1F000, 0x1F0FF}, {0x1F10D, 0x1F10F},
    {0x1F12F, 0x1F12F}, {0x1F16C, 0x1F171}, {0x1F17E, 0x1F17F}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A},
    {0x1F1AD, 0x1F1E5}, {0x1F201, 0x1F20F}, {0x1F21A, 0x1F21A}, {0x1F22F, 0x1F22F}, {0x1F232, 0x1F23A},
    {0x1F23C, 0x1F23F}, {0x1F249, 0x1F3FA}, {0x1F400, 0x1F53D}, {0x1F546, 0x1F64F}, {0x1F680, 0x1F6FF},
    {0x1F774, 0x1F77F}, {0x1F7D5, 0x1F7FF}, {0x1F80C, 0x1F80F}, {0x1F848, 0x1F84F}, {0x1F85A, 0x1F85F},
    {0x1F888, 0x1F88F}, {0x1F8AE, 0x1F8FF}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945}, {0x1F947, 0x1FAFF},
    {0x1FC00, 0x1FFFD},
};

template <size_t N>
bool InTable(const Range (&table)[N], char32_t c) {
  const auto* it = std::upper_bound(std::begin(table), std::end(table), c,
                                    [](char32_t value, const Range& r) { return value < r.first; });
  return it != std::begin(table) && c <= std::prev(it)->last;
}

constexpr char32_t kSyllableFirst = 0xAC00;
constexpr char32_t kSyllableLast = 0xD7A3;
constexpr char32_t kTrailingConsonants = 28;

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

GraphemeClass HangulClassOf(char32_t c) {
  if ((c >= 0x1100 && c <= 0x115F) || (c >= 0xA960 && c <= 0xA97C)) return GraphemeClass::L;
  if ((c >= 0x1160 && c <= 0x11A7) || (c >= 0xD7B0 && c <= 0xD7C6)) return GraphemeClass::V;
  if ((c >= 0x11A8 && c <= 0x11FF) || (c >= 0xD7CB && c <= 0xD7FB)) return GraphemeClass::T;
  if (c >= kSyllableFirst && c <= kSyllableLast) {
    return (c - kSyllableFirst) % kTrailingConsonants == 0 ? GraphemeClass::LV : GraphemeClass::LVT;
  }
  return GraphemeClass::Other;
}

// The state a scan carries past the pair in front of it: an emoji sequence that a joiner may continue, and
// how many regional indicators precede.
struct ScanState {
  bool pictographicRun = false;  // Extended_Pictographic Extend* seen, possibly followed by ZWJ
  bool joinerAfterPictograph = false;
  int regionalCount = 0;
};

bool IsBreak(GraphemeClass before, GraphemeClass after, const ScanState& state) {
  using G = GraphemeClass;
  if (before == G::CR && after == G::LF) return false;                          // GB3
  if (before == G::CR || before == G::LF || before == G::Control) return true;  // GB4
  if (after == G::CR || after == G::LF || after == G::Control) return true;     // GB5
  if (before == G::L && (after == G::L || after == G::V || after == G::LV || after == G::LVT))
    return false;                                                                             // GB6
  if ((before == G::LV || before == G::V) && (after == G::V || after == G::T)) return false;  // GB7
  if ((before == G::LVT || before == G::T) && after == G::T) return false;                    // GB8
  if (after == G::Extend || after == G::ZWJ || after == G::SpacingMark) return false;         // GB9, GB9a
  if (after == G::ExtendedPictographic && state.joinerAfterPictograph) return false;          // GB11
  if (before == G::RegionalIndicator && after == G::RegionalIndicator)
    return state.regionalCount % 2 == 0;  // GB12, GB13
  return true;                            // GB999
}

void Advance(ScanState& state, GraphemeClass c) {
  using G = GraphemeClass;
  state.joinerAfterPictograph = c == G::ZWJ && state.pictographicRun;
  if (c == G::ExtendedPictographic) {
    state.pictographicRun = true;
  } else if (c != G::Extend) {
    state.pictographicRun = false;
  }
  state.regionalCount = c == G::RegionalIndicator ? state.regionalCount + 1 : 0;
}

}  // namespace

GraphemeClass GraphemeClassOf(char32_t c) {
  if (c == '\r') return GraphemeClass::CR;
  if (c == '\n') return GraphemeClass::LF;
  if (IsControl(c)) return GraphemeClass::Control;
  if (c == 0x200D) return GraphemeClass::ZWJ;
  if (c >= 0x1F1E6 && c <= 0x1F1FF) return GraphemeClass::RegionalIndicator;
  if (const GraphemeClass hangul = HangulClassOf(c); hangul != GraphemeClass::Other) return hangul;
  if (InTable(kExtend, c)) return GraphemeClass::Extend;
  if (InTable(kSpacingMark, c)) return GraphemeClass::SpacingMark;
  if (InTable(kPictographic, c)) return GraphemeClass::ExtendedPictographic;
  return GraphemeClass::Other;
}

std::vector<size_t> GraphemeBoundaries(std::string_view text) {
  std::vector<size_t> out{0};
  ScanState state;
  GraphemeClass before = GraphemeClass::Control;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const char32_t c = Input::DecodeCodePoint(text, at);
    // A byte that is not UTF-8 is one cluster, like a control.
    const bool invalid = c == 0xFFFD && at - start == 1 && static_cast<uint8_t>(text[start]) >= 0x80;
    const GraphemeClass after = invalid ? GraphemeClass::Control : GraphemeClassOf(c);
    if (start > 0 && IsBreak(before, after, state)) out.push_back(start);
    Advance(state, after);
    before = after;
  }
  if (!text.empty()) out.push_back(text.size());
  return out;
}

}  // namespace Quarlo::Widget::Models

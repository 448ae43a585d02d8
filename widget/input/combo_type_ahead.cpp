// Type-ahead search over item texts, compared as code points with simple lower-case folding.

#include "widget/input/combo_type_ahead.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "widget/input/ime_composition.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr char32_t kFirstControl = 127;
constexpr char32_t kLastControl = 159;
constexpr char32_t kFirstSyllable = 0xAC00;
constexpr char32_t kLastSyllable = 0xD7A3;
constexpr char32_t kSyllablesPerInitial = 588;
// The 19 initial consonants in compatibility form, in the order of the syllable block.
constexpr std::array<char32_t, 19> kInitials = {0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141,
                                                0x3142, 0x3143, 0x3145, 0x3146, 0x3147, 0x3148, 0x3149,
                                                0x314A, 0x314B, 0x314C, 0x314D, 0x314E};

char32_t Fold(char32_t c) { return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c))); }

bool Matches(char32_t typed, char32_t item, bool initialConsonants) {
  if (Fold(typed) == Fold(item)) return true;
  if (!initialConsonants || item < kFirstSyllable || item > kLastSyllable) return false;
  const auto at = std::find(kInitials.begin(), kInitials.end(), typed);
  return at != kInitials.end() &&
         static_cast<size_t>(at - kInitials.begin()) == (item - kFirstSyllable) / kSyllablesPerInitial;
}

}  // namespace

bool TypeAhead::Running(double now) const { return !typed_.empty() && now - last_ <= kTimeoutMs; }

TypeAhead::Result TypeAhead::Type(char32_t c, double now, int current,
                                  const std::vector<std::string>& items) {
  if (c < 32) return {};
  if (c == U' ' && !Running(now)) return Result{true, std::nullopt};
  if (c >= kFirstControl && c <= kLastControl) return Result{true, std::nullopt};
  if (!typed_.empty() && now - last_ > kTimeoutMs) typed_.clear();
  typed_.push_back(c);
  last_ = now;
  const int count = static_cast<int>(items.size());
  const bool valid = current >= 0 && current < count;
  const int start = !valid ? 0 : (typed_.size() == 1 ? current + 1 : current);
  std::optional<int> found = Search(typed_, start, items);
  const bool repeated = typed_.size() > 1 && std::all_of(typed_.begin(), typed_.end(), [&](char32_t t) {
                          return Fold(t) == Fold(typed_.front());
                        });
  if (!found && repeated) found = Search(std::u32string(1, typed_.front()), valid ? current + 1 : 0, items);
  return Result{true, found};
}

std::optional<int> TypeAhead::Search(const std::u32string& prefix, int start,
                                     const std::vector<std::string>& items) const {
  const int count = static_cast<int>(items.size());
  for (int i = 0; i < count; ++i) {
    const int index = (start + i) % count;
    const std::vector<char32_t> text = CodePointsOf(items[static_cast<size_t>(index)]);
    if (text.size() < prefix.size()) continue;
    bool match = true;
    for (size_t k = 0; k < prefix.size() && match; ++k)
      match = Matches(prefix[k], text[k], initialConsonants);
    if (match) return index;
  }
  return std::nullopt;
}

}  // namespace Quarlo::Widget::Input

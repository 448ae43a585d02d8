#include "core/natural_order.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace Quarlo::View {

namespace {

// Bytes that do not form valid UTF-8 get keys above every code point, one per byte.
constexpr uint32_t kInvalidByteBase = 0x110000;
// A digit run stands where its first digit would, so "a 1" < "a1" < "aa".
constexpr uint32_t kNumberKey = '0';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One unit of comparison: a run of ASCII digits, or one case-folded code point.
struct Token {
  bool number = false;
  uint32_t key = 0;              // folded code point, or kNumberKey for a number
  std::string_view significant;  // a number's digits without leading zeros
  size_t leadingZeros = 0;
};

class TokenReader {
 public:
  explicit TokenReader(std::string_view text, size_t start = 0) : text_(text), pos_(start) {}

  bool Next(Token& token) {
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (IsDigit(c)) {
      ReadNumber(token);
    } else {
      token.number = false;
      token.key = ReadFoldedCodePoint();
    }
    return true;
  }

  // Used by the equality test, which treats digits like any other character.
  bool NextCodePoint(uint32_t& key) {
    if (pos_ >= text_.size()) return false;
    key = ReadFoldedCodePoint();
    return true;
  }

 private:
  void ReadNumber(Token& token) {
    size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] == '0') ++pos_;
    size_t firstSignificant = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    token.number = true;
    token.key = kNumberKey;
    token.leadingZeros = firstSignificant - start;
    token.significant = text_.substr(firstSignificant, pos_ - firstSignificant);
  }

  uint32_t ReadFoldedCodePoint() {
    auto byte = static_cast<uint8_t>(text_[pos_]);
    if (byte < 0x80) {
      ++pos_;
      return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
    }
    auto length = static_cast<int32_t>(text_.size());
    int32_t at = static_cast<int32_t>(pos_);
    UChar32 code = 0;
    U8_NEXT(reinterpret_cast<const uint8_t*>(text_.data()), at, length, code);
    if (code < 0) {
      ++pos_;
      return kInvalidByteBase + byte;
    }
    pos_ = static_cast<size_t>(at);
    return static_cast<uint32_t>(u_foldCase(code, U_FOLD_CASE_DEFAULT));
  }

  std::string_view text_;
  size_t pos_;
};

// Numeric comparison of two digit runs without leading zeros, of any length.
int CompareSignificantDigits(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int result = a.compare(b);
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

// Where token comparison must begin: the bytes before it are equal in both names, and it lies on
// a token boundary in both (after an ASCII byte that is not a digit, or at the start). Names in one
// folder share long prefixes, so this skips most of the work.
size_t CommonTokenPrefix(std::string_view a, std::string_view b) {
  size_t limit = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < limit && a[i] == b[i]) ++i;
  while (i > 0 && (static_cast<uint8_t>(a[i - 1]) >= 0x80 || IsDigit(a[i - 1]))) --i;
  return i;
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
  size_t start = CommonTokenPrefix(a, b);
  TokenReader readerA(a, start);
  TokenReader readerB(b, start);
  // Equal numbers written with different leading zeros decide only when nothing else differs.
  int zerosTie = 0;
  Token tokenA;
  Token tokenB;
  while (true) {
    bool hasA = readerA.Next(tokenA);
    bool hasB = readerB.Next(tokenB);
    if (!hasA || !hasB) return hasA ? 1 : hasB ? -1 : zerosTie;
    if (tokenA.number && tokenB.number) {
      int byValue = CompareSignificantDigits(tokenA.significant, tokenB.significant);
      if (byValue != 0) return byValue;
      if (zerosTie == 0 && tokenA.leadingZeros != tokenB.leadingZeros) {
        zerosTie = tokenA.leadingZeros > tokenB.leadingZeros ? -1 : 1;
      }
      continue;
    }
    if (tokenA.key != tokenB.key) return tokenA.key < tokenB.key ? -1 : 1;
  }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
  TokenReader readerA(a);
  TokenReader readerB(b);
  uint32_t keyA = 0;
  uint32_t keyB = 0;
  while (true) {
    bool hasA = readerA.NextCodePoint(keyA);
    bool hasB = readerB.NextCodePoint(keyB);
    if (!hasA || !hasB) return hasA == hasB;
    if (keyA != keyB) return false;
  }
}

void SortNatural(std::vector<std::string>& names) {
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
}

}  // namespace Quarlo::View

#pragma once
// Choosing an item of a drop-down list by typing the start of its text: characters typed within a second
// of each other form one search; repeating one character steps through the items that start with it; a
// Hangul initial consonant matches every syllable that begins with it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Quarlo::Widget::Input {

class TypeAhead {
 public:
  // Characters further apart than this start a new search.
  static constexpr double kTimeoutMs = 1000;

  // What a typed character does: nothing (not handled), consumed without a match, or the index found.
  struct Result {
    bool handled = false;
    std::optional<int> found;
  };

  // c typed at now (milliseconds) with current the highlighted or selected index (-1 none).
  Result Type(char32_t c, double now, int current, const std::vector<std::string>& items);
  void Reset() { typed_.clear(); }

  bool initialConsonants = true;

 private:
  bool Running(double now) const;
  std::optional<int> Search(const std::u32string& prefix, int start,
                            const std::vector<std::string>& items) const;

  std::u32string typed_;
  double last_ = 0;
};

}  // namespace Quarlo::Widget::Input

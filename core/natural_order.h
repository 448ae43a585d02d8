#pragma once
// The natural order of names in which pictures and folders are listed ("2.jpg" before "10.jpg"), and
// the case-folded equality of names.

#include <string>
#include <string_view>
#include <vector>

namespace Quarlo::View {

// Compares two UTF-8 names in natural order: runs of ASCII digits compare by their numeric value
// (any length; on equal values the run with more leading zeros comes first), everything else by
// simple case folding of its code point, so letters ignore case, non-ASCII letters included.
// Returns a negative number, 0 or a positive number; 0 only when the names differ in case alone.
// Bytes that are not valid UTF-8 compare after every code point, by their byte value.
int NaturalCompare(std::string_view a, std::string_view b);

// True when a sorts before b in natural order (for sorting algorithms).
inline bool NaturalLess(std::string_view a, std::string_view b) { return NaturalCompare(a, b) < 0; }

// Ordinal equality after simple case folding of every code point ("Photo" equals "PHOTO").
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Sorts names in natural order, keeping the given order of names that compare equal.
void SortNatural(std::vector<std::string>& names);

}  // namespace Quarlo::View

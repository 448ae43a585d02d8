#include "core/natural_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Quarlo::View {
namespace {

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

struct OrderCase {
  const char* a;
  const char* b;
  int expected;  // sign of NaturalCompare(a, b)
};

TEST(NaturalCompare, OrdersByTable) {
  const OrderCase cases[] = {
      {"2.jpg", "10.jpg", -1},
      {"page9", "page10", -1},
      {"a", "a", 0},
      {"Photo.JPG", "photo.jpg", 0},
      {"\xC3\x84pfel", "\xC3\xA4pfel", 0},                          // Äpfel / äpfel
      {"\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80", 0},  // МИР / мир
      {"\xC3\x84", "\xC3\xA5", -1},                                 // Ä (folds to ä) before å
      {"a", "B", -1},
      {"B", "a", 1},
      {"a", "ab", -1},
      {"", "a", -1},
      {"img007", "img7", -1},  // equal values: more leading zeros first
      {"img7", "img007", 1},
      {"img007b", "img7a", 1},  // the letters decide before the zeros do
      {"0", "00", 1},
      {"a007", "a07", -1},  // names that part inside a digit run
      {"a19", "a1000", -1},
      {"x\xC3\x84", "x\xC3\xA4", 0},  // or inside a multi-byte character
      {"x 1", "x1", -1},              // a space comes before a number
      {"x1", "xa", -1},               // a number comes before letters
      {"x.jpg", "x1.jpg", -1},
      {"12345678901234567890123", "12345678901234567890124", -1},  // longer than any integer type
      {"99999999999999999999999", "100000000000000000000000", -1},
      {"000000000000000000000000001", "2", -1},
      {"v1.10", "v1.9", 1},
      {"\xFF", "\xC3\xA4", 1},  // an invalid byte sorts after letters
      {"a\xFF", "A\xFF", 0},
  };
  for (const OrderCase& c : cases) {
    EXPECT_EQ(Sign(NaturalCompare(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(NaturalCompare(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
  }
}

TEST(NaturalCompare, ZeroOnlyWhenNamesDifferInCase) {
  EXPECT_NE(NaturalCompare("01.jpg", "1.jpg"), 0);
  EXPECT_NE(NaturalCompare("a.jpg", "a.jpeg"), 0);
  EXPECT_EQ(NaturalCompare("SCAN_01.png", "scan_01.PNG"), 0);
}

TEST(SortNatural, OrdersDigitRunsByValueAndKeepsCaseTwinsInPlace) {
  std::vector<std::string> names = {"10.jpg", "b.jpg", "2.jpg", "B.jpg", "1.jpg", "010.jpg", "a.jpg"};
  SortNatural(names);
  std::vector<std::string> expected = {"1.jpg", "2.jpg", "010.jpg", "10.jpg", "a.jpg", "b.jpg", "B.jpg"};
  EXPECT_EQ(names, expected);
}

TEST(EqualsIgnoringCase, FoldsEveryLetterButNothingElse) {
  EXPECT_TRUE(EqualsIgnoringCase("Photo.JPG", "photo.jpg"));
  EXPECT_TRUE(EqualsIgnoringCase("\xC3\x84", "\xC3\xA4"));
  EXPECT_TRUE(EqualsIgnoringCase("", ""));
  EXPECT_FALSE(EqualsIgnoringCase("01", "1"));
  EXPECT_FALSE(EqualsIgnoringCase("a", "ab"));
  EXPECT_FALSE(EqualsIgnoringCase("a\xFF", "a\xFE"));
}

}  // namespace
}  // namespace Quarlo::View

#include "core/strings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/date_time_text.h"
#include "core/system_wording.h"

namespace Quarlo::View {
namespace {

// Restores the process-wide language after each test that switches it.
class StringsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetKoreanStrings(true); }
};

std::multiset<std::string> PlaceholdersOf(const std::string& text) {
  static const std::regex placeholder(R"(\{\d+\})");
  std::multiset<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator();
       ++it) {
    found.insert(it->str());
  }
  return found;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

TEST_F(StringsTest, EveryTextHasBothLanguagesWithTheSamePlaceholdersAndMarks) {
  const std::vector<std::string> marks = {"‘", "’", "…", "×", "–", "\n"};
  for (int id = 0; id < kStringCount; ++id) {
    const std::string& english = TextIn(id, false);
    const std::string& korean = TextIn(id, true);
    SCOPED_TRACE(testing::Message() << "id " << id << ": " << english << " | " << korean);
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(korean.empty());
    EXPECT_EQ(PlaceholdersOf(english), PlaceholdersOf(korean));
    for (const std::string& mark : marks) EXPECT_EQ(CountOf(english, mark), CountOf(korean, mark)) << mark;
  }
}

TEST_F(StringsTest, NoTextNamesAWindowsFacility) {
  const std::vector<std::string> windowsWording = {
      "Windows",           "Explorer", "Recycle Bin", "Microsoft", "Store", "Default apps",
      "Show more options", "탐색기",   "기본 앱",     "추가 옵션", "스토어"};
  for (bool korean : {false, true}) {
    for (int id = 0; id < kStringCount; ++id) {
      for (const std::string& word : windowsWording) {
        EXPECT_EQ(TextIn(id, korean).find(word), std::string::npos)
            << "id " << id << (korean ? " (Korean)" : " (English)") << " still says " << word << ": "
            << TextIn(id, korean);
      }
    }
  }
}

TEST_F(StringsTest, TextsThatNamedWindowsReadAsSentencesOfThisSystem) {
  struct Case {
    int id;
    bool korean;
    const char* expected;
  };
  const Case cases[] = {
      {23, false,
       "This PC has no codec for this format. HEIC and AVIF images open after installing the distribution's "
       "packages for HEIF/AVIF support."},
      {55, false, "‘{0}’ was moved to the Trash."},
      {93, false, "Move to Trash"},
      {188, false, "Same as the system"},
      {257, false,
       "The chosen types are registered with the system as types QuarloView can open. The system lets you "
       "choose the default app yourself: after registering, choose QuarloView in the system's default "
       "applications."},
      {262, false, "Open the system's default applications"},
      {263, false, "File manager menu"},
      {264, false, "Adds View with QuarloView to the right-click menu."},
      {273, false, "The file manager menu could not be changed."},
      {23, true,
       "이 PC에는 이 형식의 코덱이 없습니다. HEIC와 AVIF 이미지는 배포판의 HEIF/AVIF 지원 패키지를 "
       "설치하면 열 수 있습니다."},
      {188, true, "시스템 설정과 같게"},
      {262, true, "시스템 기본 프로그램 열기"},
      {264, true, "마우스 오른쪽 버튼 메뉴에 QuarloView로 보기를 추가합니다."},
      {272, true, "파일 형식을 시스템에 등록하지 못했습니다."},
      {273, true, "파일 관리자 메뉴를 바꾸지 못했습니다."},
  };
  for (const Case& c : cases) EXPECT_EQ(TextIn(c.id, c.korean), c.expected) << "id " << c.id;
}

TEST_F(StringsTest, SystemWordingCapitalisesOnlyAtTheStartOfASentence) {
  EXPECT_EQ(ApplySystemWording("Windows. Windows? Windows and Windows\nWindows", false),
            "The system. The system? The system and the system\nThe system");
  EXPECT_EQ(ApplySystemWording("File Explorer", true), "File Explorer");
}

TEST_F(StringsTest, FixedWordingOfBothLanguages) {
  const std::map<int, std::string> korean = {{0, "QuarloView"},
                                             {1, "파일"},
                                             {2, "이동"},
                                             {3, "보기"},
                                             {4, "기타"},
                                             {15, "‘{0}’을(를) 열 수 없습니다."},
                                             {41, "{0}: 켬"},
                                             {69, "{0} × {1} 픽셀"},
                                             {105, "이미지 번호(1–{0})"},
                                             {189, "한국어"},
                                             {190, "English"},
                                             {255, "{0} 키를 ‘{1}’에서 빼고 이 기능에 지정했습니다."},
                                             {256, "{0} 키는 QuarloView가 따로 쓰므로 지정할 수 없습니다."},
                                             {294, "종료"}};
  for (const auto& [id, text] : korean) EXPECT_EQ(TextIn(id, true), text) << "id " << id;

  const std::map<int, std::string> english = {
      {0, "QuarloView"},
      {100, "This name cannot be used. File names cannot contain \\ / : * ? \" < > |."},
      {175, "{0} images were converted and {1} failed.\nFirst failure: {2}"},
      {189, "한국어 (Korean)"},
      {190, "English"},
      {276, "Open file…"},
      {331, "About QuarloView"}};
  for (const auto& [id, text] : english) EXPECT_EQ(TextIn(id, false), text) << "id " << id;
}

TEST_F(StringsTest, TheLanguageFlagPicksTheText) {
  SetKoreanStrings(false);
  EXPECT_EQ(Text(294), "Exit");
  EXPECT_EQ(FormatText(15, {"a.jpg"}), "‘a.jpg’ cannot be opened.");
  EXPECT_EQ(FormatText(29, {"3", "10"}), "3 / 10");
  SetKoreanStrings(true);
  EXPECT_TRUE(KoreanStrings());
  EXPECT_EQ(Text(294), "종료");
  EXPECT_EQ(FormatText(15, {"a.jpg"}), "‘a.jpg’을(를) 열 수 없습니다.");
}

TEST_F(StringsTest, IdsOutsideTheTablesGiveEmptyTexts) {
  for (int id : {-1, kStringCount, 100000}) {
    EXPECT_EQ(Text(id), "");
    EXPECT_EQ(FormatText(id, {"x"}), "");
  }
  for (int command : {-1, kCommandLabelCount}) EXPECT_EQ(CommandLabel(command), "");
}

TEST_F(StringsTest, CommandLabelsAndMenuGroups) {
  SetKoreanStrings(false);
  EXPECT_EQ(CommandLabel(0), "Open file…");
  EXPECT_EQ(CommandLabel(19), "Next image");
  EXPECT_EQ(CommandLabel(55), "About QuarloView");
  EXPECT_EQ(MenuGroupName(0), "File");
  EXPECT_EQ(MenuGroupName(1), "Navigate");
  EXPECT_EQ(MenuGroupName(2), "View");
  for (int group : {3, 4, -1}) EXPECT_EQ(MenuGroupName(group), "Other");
  SetKoreanStrings(true);
  EXPECT_EQ(CommandLabel(18), "종료");
  EXPECT_EQ(MenuGroupName(2), "보기");
}

TEST(FillPlaceholdersTest, ReplacesInArgumentOrder) {
  struct Case {
    const char* text;
    std::vector<std::string> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {"{0} / {1}", {"3", "10"}, "3 / 10"},
      {"{0} and {0}", {"a"}, "a and a"},  // every occurrence
      {"{0} of {1}", {"a"}, "a of {1}"},  // no argument: the placeholder stays
      {"{0}!", {"x{1}", "y"}, "xy!"},     // an earlier argument brings a later placeholder
      {"{0}{0}", {"{0}"}, "{0}{0}"},      // the inserted argument is not searched again
      {"{1} {0}", {"a", "b"}, "b a"},
      {"{a} {} {{0}} {10} { 0}", {"x", "y"}, "{a} {} {x} {10} { 0}"},  // no escapes, only exact placeholders
      {"{0}", {""}, ""},
      {"no placeholders", {"x"}, "no placeholders"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string_view> arguments(c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(FillPlaceholders(c.text, arguments), c.expected) << c.text;
  }
  EXPECT_EQ(FillPlaceholders("{0}", {}), "{0}");
}

TEST(FormatThousandsTest, GroupsOfThreeDigits) {
  const std::pair<uint64_t, const char*> cases[] = {{0, "0"},
                                                    {7, "7"},
                                                    {999, "999"},
                                                    {1000, "1,000"},
                                                    {1234, "1,234"},
                                                    {12345, "12,345"},
                                                    {123456, "123,456"},
                                                    {1234567, "1,234,567"},
                                                    {UINT64_MAX, "18,446,744,073,709,551,615"}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(FormatThousands(value), expected);
}

TEST_F(StringsTest, FormatByteSizeSteps) {
  constexpr uint64_t KiB = 1024, MiB = KiB * 1024, TiB = MiB * 1024 * 1024;
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "0 bytes"},      {512, "512 bytes"},  {1023, "1,023 bytes"},   {1024, "1.0 KB"},
      {1536, "1.5 KB"},    {1280, "1.2 KB"},  // 1.25 rounds to even as printf does
      {10239, "10.0 KB"},  {10 * KiB, "10 KB"}, {1023 * KiB, "1023 KB"}, {MiB, "1.0 MB"},
      {12 * MiB, "12 MB"}, {5 * TiB, "5.0 TB"}, {2048 * TiB, "2048 TB"}, {UINT64_MAX, "16777216 TB"}};
  SetKoreanStrings(false);
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(FormatByteSize(bytes), expected) << bytes;
  SetKoreanStrings(true);
  EXPECT_EQ(FormatByteSize(1023), "1,023바이트");
  EXPECT_EQ(FormatByteSize(1536), "1.5 KB");
}

TEST(LanguageChoiceTest, SettingFirstThenTheSystemLanguage) {
  struct Case {
    LanguageChoice setting;
    bool systemKorean;
    bool korean;
  };
  // A number outside the choices (a cast of a stored value) counts as English.
  const Case cases[] = {
      {LanguageChoice::System, false, false},        {LanguageChoice::System, true, true},
      {LanguageChoice::Korean, false, true},         {LanguageChoice::Korean, true, true},
      {LanguageChoice::English, true, false},        {LanguageChoice::English, false, false},
      {static_cast<LanguageChoice>(3), true, false}, {static_cast<LanguageChoice>(-1), true, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseKorean(c.setting, c.systemKorean), c.korean)
        << static_cast<int>(c.setting) << " " << c.systemKorean;
  }
}

TEST(LanguageChoiceTest, FirstNonEmptyLocaleVariableDecides) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    bool korean;
  };
  const Case cases[] = {
      {"", "", "ko_KR.UTF-8", true},
      {"", "", "ko", true},
      {"", "ko_KR.eucKR", "en_US.UTF-8", true},
      {"C", "", "ko_KR.UTF-8", false},  // LC_ALL overrides LANG
      {"", "en_GB.UTF-8", "ko_KR.UTF-8", false},
      {"ko_KR@euro", "en_US", "en_US", true},
      {"", "", "kok_IN", false},  // Konkani, not Korean
      {"", "", "", false},
      {"", "", "C.UTF-8", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocaleIsKorean(c.lcAll, c.lcMessages, c.lang), c.korean)
        << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
  }
}

TEST(TimePatternTest, SecondsLeaveWithTheirSeparatorAndUnit) {
  struct Case {
    const char* time;
    const char* amPm;
    const char* expected;
  };
  const Case cases[] = {
      {"%H:%M:%S", "", "%H:%M"},                             // C
      {"%r", "%I:%M:%S %p", "%I:%M %p"},                     // en_US
      {"%H시 %M분 %S초", "%p %I시 %M분 %S초", "%H시 %M분"},  // ko_KR
      {"%r", "%p %I시 %M분 %S초", "%p %I시 %M분"},
      {"%T", "", "%H:%M"},  // de_DE
      {"%H.%M.%S", "", "%H.%M"},
      {"%OH:%OM:%OS", "", "%OH:%OM"},
      {"%k:%M", "", "%k:%M"},             // nothing to take out
      {"%H:%M:%S %%S", "", "%H:%M %%S"},  // a literal "%S" is text
      {"%S", "", "%H:%M"},
      {"", "", "%H:%M"},
      {"%r", "", "%I:%M %p"},  // a locale without a 12-hour pattern
  };
  for (const Case& c : cases) EXPECT_EQ(TimePatternWithoutSeconds(c.time, c.amPm), c.expected) << c.time;
}

TEST(FormatDateTimeTest, LocalShortDateAndTimeWithoutSeconds) {
  // The C locale's short forms are "%m/%d/%y" and "%H:%M:%S"; the locale is read on the first call.
  setenv("LC_ALL", "C", 1);
  constexpr int64_t k20240305At143059Utc = 133541226590000000;
  constexpr int64_t k20240305At021000Utc = 133540782000000000;

  setenv("TZ", "KST-9", 1);
  EXPECT_EQ(FormatDateTime(k20240305At143059Utc), "03/05/24 23:30");
  setenv("TZ", "EST5", 1);
  EXPECT_EQ(FormatDateTime(k20240305At143059Utc), "03/05/24 09:30");
  EXPECT_EQ(FormatDateTime(k20240305At021000Utc), "03/04/24 21:10");
  setenv("TZ", "UTC0", 1);
  EXPECT_EQ(FormatDateTime(k20240305At021000Utc), "03/05/24 02:10");

  constexpr int64_t k19691231At235959Point5Utc = 116444735995000000;
  EXPECT_EQ(FormatDateTime(k19691231At235959Point5Utc), "12/31/69 23:59");

  EXPECT_EQ(FormatDateTime(0), "");
  EXPECT_EQ(FormatDateTime(-1), "");
  EXPECT_EQ(FormatDateTime(INT64_MIN), "");
}

}  // namespace
}  // namespace Quarlo::View

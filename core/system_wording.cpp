#include "core/system_wording.h"

namespace Quarlo::View {

namespace {

// The text tables keep the Windows edition's wording, so that the ids, placeholders and translations
// stay one set; these changes make them true here.
constexpr WordingChange kEnglishChanges[] = {
    // The right-click menu of a Linux file manager has no overflow page.
    {" On Windows 11 it is under Show more options.", ""},
    {"the matching extension from the Microsoft Store", "the distribution's packages for HEIF/AVIF support"},
    {"Windows Default apps", "the system's default applications"},
    {"Default apps", "the system's default applications"},
    {"File Explorer", "file manager"},
    {"Recycle Bin", "Trash"},
    {"Windows", "the system"},
};

// The Korean desktops call the Trash 휴지통 as Windows calls the Recycle Bin, so it needs no change.
// "Windows" is only ever followed by particles that also fit 시스템 (에, 에서) or by a noun.
constexpr WordingChange kKoreanChanges[] = {
    {" Windows 11에서는 추가 옵션 표시 아래에 있습니다.", ""},
    {"Microsoft Store에서 해당 확장을 설치하면", "배포판의 HEIF/AVIF 지원 패키지를 설치하면"},
    {"Windows 기본 앱", "시스템 기본 프로그램"},
    {"기본 앱", "시스템 기본 프로그램"},
    {"파일 탐색기", "파일 관리자"},
    {"Windows", "시스템"},
};

bool StartsSentence(const std::string& text, size_t at) {
  if (at == 0) return true;
  if (text[at - 1] == '\n') return true;
  if (at < 2 || text[at - 1] != ' ') return false;
  char end = text[at - 2];
  return end == '.' || end == '?' || end == '!';
}

void ReplaceAll(std::string& text, const WordingChange& change, bool capitalize) {
  size_t at = 0;
  while ((at = text.find(change.from, at)) != std::string::npos) {
    text.replace(at, change.from.size(), change.to);
    if (capitalize && !change.to.empty() && change.to[0] >= 'a' && change.to[0] <= 'z' &&
        StartsSentence(text, at)) {
      text[at] = static_cast<char>(text[at] - 'a' + 'A');
    }
    at += change.to.size();
  }
}

}  // namespace

std::span<const WordingChange> SystemWording(bool korean) {
  if (korean) return kKoreanChanges;
  return kEnglishChanges;
}

std::string ApplySystemWording(std::string_view text, bool korean) {
  std::string result(text);
  for (const WordingChange& change : SystemWording(korean)) ReplaceAll(result, change, !korean);
  return result;
}

}  // namespace Quarlo::View

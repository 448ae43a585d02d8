// Toolkit language choice and its table of texts.

#include "widget/toolkit_language.h"

#include <array>
#include <atomic>
#include <cstdlib>

namespace Quarlo::Widget {
namespace {

// The override's number, or kAutomaticLanguage while the locale decides.
constexpr int kAutomaticLanguage = -1;
std::atomic<int> languageOverride{kAutomaticLanguage};

constexpr int kLanguageCount = 5;

// English, Korean, Japanese, simplified Chinese, traditional Chinese.
constexpr std::array<std::array<const char*, kLanguageCount>, 19> kTexts{{
    {"OK", "확인", "OK", "确定", "確定"},
    {"Cancel", "취소", "キャンセル", "取消", "取消"},
    {"Yes", "예", "はい", "是", "是"},
    {"No", "아니요", "いいえ", "否", "否"},
    {"Close", "닫기", "閉じる", "关闭", "關閉"},
    {"&Undo", "실행 취소(&U)", "元に戻す(&U)", "撤销(&U)", "復原(&U)"},
    {"Cu&t", "잘라내기(&T)", "切り取り(&T)", "剪切(&T)", "剪下(&T)"},
    {"&Copy", "복사(&C)", "コピー(&C)", "复制(&C)", "複製(&C)"},
    {"&Paste", "붙여넣기(&P)", "貼り付け(&P)", "粘贴(&P)", "貼上(&P)"},
    {"&Delete", "삭제(&D)", "削除(&D)", "删除(&D)", "刪除(&D)"},
    {"Select &All", "모두 선택(&A)", "すべて選択(&A)", "全选(&A)", "全選(&A)"},
    {"toggle switch", "토글 스위치", "トグル スイッチ", "切换开关", "切換開關"},
    {"List", "목록", "リスト", "列表", "清單"},
    {"Vertical scroll bar", "세로 스크롤 막대", "垂直スクロール バー", "垂直滚动条", "垂直捲軸"},
    {"Horizontal scroll bar", "가로 스크롤 막대", "水平スクロール バー", "水平滚动条", "水平捲軸"},
    {"More options", "옵션 더 보기", "その他のオプション", "更多选项", "更多選項"},
    {"None", "없음", "なし", "无", "無"},
    {"Press a shortcut", "단축키를 누르세요", "ショートカットを押してください", "请按快捷键", "請按快速鍵"},
    {"Nothing to show", "표시할 항목이 없습니다", "表示する項目がありません", "没有可显示的内容", "沒有可顯示的內容"},
}};

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
std::string_view UserLocaleName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

}  // namespace

ToolkitLanguageId LanguageFromLocaleName(std::string_view locale) {
  const std::string_view language = locale.substr(0, locale.find_first_of("_.@-"));
  if (language == "ko") return ToolkitLanguageId::Korean;
  if (language == "ja") return ToolkitLanguageId::Japanese;
  if (language == "zh") {
    // Taiwan, Hong Kong and Macau write traditional characters; every other region simplified ones.
    const std::string_view region = locale.size() > 3 ? locale.substr(3, 2) : std::string_view{};
    const bool traditional =
        region == "TW" || region == "HK" || region == "MO" || locale.find("Hant") != std::string_view::npos;
    return traditional ? ToolkitLanguageId::TraditionalChinese : ToolkitLanguageId::SimplifiedChinese;
  }
  return ToolkitLanguageId::English;
}

std::string UserLocaleTag() {
  const std::string_view locale = UserLocaleName();
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return "en-US";
  std::string tag(name);
  for (char& c : tag) {
    if (c == '_') c = '-';
  }
  return tag;
}

ToolkitLanguageId ToolkitLanguage() {
  const int overridden = languageOverride.load();
  if (overridden >= 0 && overridden < kLanguageCount) return static_cast<ToolkitLanguageId>(overridden);
  static const ToolkitLanguageId automatic = LanguageFromLocaleName(UserLocaleName());
  return automatic;
}

void SetToolkitLanguage(std::optional<ToolkitLanguageId> language) {
  languageOverride.store(language ? static_cast<int>(*language) : kAutomaticLanguage);
}

std::string ToolkitString(ToolkitText id) {
  const auto row = static_cast<size_t>(id);
  if (row >= kTexts.size()) return {};
  return kTexts[row][static_cast<size_t>(ToolkitLanguage())];
}

}  // namespace Quarlo::Widget

#include "core/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <cstdlib>
#include <string>

namespace Quarlo::View {

namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

bool IsAscii(std::span<const uint8_t> bytes) {
  for (uint8_t byte : bytes) {
    if (byte >= 0x80) return false;
  }
  return true;
}

// Every code page we pick maps 0x00-0x7F to the same ASCII characters.
std::string AsString(std::span<const uint8_t> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

int CodePageForLocale(std::string_view locale) {
  std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  std::string_view language = name.substr(0, name.find('_'));
  std::string_view territory = language.size() < name.size() ? name.substr(language.size() + 1) : "";
  if (language == "ko") return 949;
  if (language == "ja") return 932;
  if (language == "zh") return territory == "TW" || territory == "HK" ? 950 : 936;
  if (language == "ru" || language == "uk" || language == "bg") return 1251;
  return 1252;
}

int SystemCodePage() {
  static const int codePage = [] {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      const char* value = std::getenv(variable);
      if (value != nullptr && *value != '\0') return CodePageForLocale(value);
    }
    return CodePageForLocale("");
  }();
  return codePage;
}

std::string DecodeUtf8(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  auto length = static_cast<int32_t>(bytes.size());
  int32_t at = 0;
  while (at < length) {
    int32_t start = at;
    UChar32 code = 0;
    U8_NEXT(bytes.data(), at, length, code);
    if (code < 0) {
      text += kReplacementUtf8;
    } else {
      text.append(reinterpret_cast<const char*>(bytes.data()) + start, static_cast<size_t>(at - start));
    }
  }
  return text;
}

CodePageDecoder::CodePageDecoder(int codePage) : codePage_(codePage) {}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::ConverterCloser::operator()(UConverter* converter) const { ucnv_close(converter); }

std::string CodePageDecoder::Decode(std::span<const uint8_t> bytes) {
  if (IsAscii(bytes)) return AsString(bytes);
  if (!opened_) {
    opened_ = true;
    std::string name = "windows-" + std::to_string(codePage_);
    UErrorCode error = U_ZERO_ERROR;
    converter_.reset(ucnv_open(name.c_str(), &error));
    if (U_FAILURE(error)) converter_.reset();
  }
  if (!converter_) return {};
  // No code page we use maps one byte to more than one UTF-16 unit.
  std::u16string wide(bytes.size(), u'\0');
  UErrorCode error = U_ZERO_ERROR;
  int32_t wideLength =
      ucnv_toUChars(converter_.get(), wide.data(), static_cast<int32_t>(wide.size()),
                    reinterpret_cast<const char*>(bytes.data()), static_cast<int32_t>(bytes.size()), &error);
  if (U_FAILURE(error)) return {};
  std::string text(static_cast<size_t>(wideLength) * 3, '\0');
  int32_t textLength = 0;
  error = U_ZERO_ERROR;
  u_strToUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &textLength, wide.data(), wideLength,
                     0xFFFD, nullptr, &error);
  if (U_FAILURE(error)) return {};
  text.resize(static_cast<size_t>(textLength));
  return text;
}

}  // namespace Quarlo::View

#pragma once
// Decoding of legacy entry names. ZIP tools on Windows store names that are not flagged as UTF-8 in
// the ANSI code page of the writer's locale; we read them with the code page Windows would use for
// the user's language, through ICU's converters.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

struct UConverter;

namespace Quarlo::View {

// The Windows ANSI code page of a POSIX locale name such as "ko_KR.UTF-8": ko 949, ja 932,
// zh_CN/zh_SG 936, zh_TW/zh_HK 950 (other Chinese: 936), ru/uk/bg 1251, anything else 1252.
int CodePageForLocale(std::string_view locale);

// CodePageForLocale of the first non-empty of LC_ALL, LC_MESSAGES and LANG, read once per process.
int SystemCodePage();

// UTF-8 text with every ill-formed sequence replaced by U+FFFD.
std::string DecodeUtf8(std::span<const uint8_t> bytes);

// Converts bytes in one Windows code page to UTF-8. Holds an ICU converter, opened on first use;
// one decoder serves one thread.
class CodePageDecoder {
 public:
  explicit CodePageDecoder(int codePage);
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  // The UTF-8 text; bytes the code page does not map become substitution characters. Empty when
  // the code page has no converter.
  std::string Decode(std::span<const uint8_t> bytes);

 private:
  struct ConverterCloser {
    void operator()(UConverter* converter) const;
  };

  int codePage_;
  bool opened_ = false;
  std::unique_ptr<UConverter, ConverterCloser> converter_;
};

}  // namespace Quarlo::View

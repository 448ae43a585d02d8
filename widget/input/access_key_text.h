#pragma once
// Texts that mark their access key with "&": "&&" stands for one "&", the first "&" before a character
// that is not white space makes that character the key, and every other "&" is dropped.

#include <string>
#include <string_view>

namespace Quarlo::Widget::Input {

struct AccessKeyText {
  std::string display;     // the text as shown, without its markers (UTF-8)
  char16_t key = 0;        // the key in upper case; 0 when the text names none
  int underline = -1;      // byte offset of the key's character in display; -1 when none
  int underlineBytes = 0;  // its length in bytes
};

AccessKeyText ParseAccessKey(std::string_view text);

}  // namespace Quarlo::Widget::Input

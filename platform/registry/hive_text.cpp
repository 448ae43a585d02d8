#include "platform/registry/hive_text.h"

#include <charconv>

#include "platform/registry/hive_tree.h"

namespace Quarlo::Platform {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::string_view kListIndent = "  ";

// Length of the well-formed UTF-8 sequence at the start of text (shortest form, no surrogates, at
// most U+10FFFF), or 0 when the first byte does not start one.
size_t Utf8Length(std::string_view text) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

void AppendEscapedByte(std::string& out, unsigned char c) {
  out += '%';
  out += kHexDigits[c >> 4];
  out += kHexDigits[c & 15];
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  while (!text.empty()) {
    unsigned char c = static_cast<unsigned char>(text[0]);
    size_t length = Utf8Length(text);
    if (length == 0 || c < 0x20 || c == 0x7F || c == '"' || c == '%') {
      AppendEscapedByte(out, c);
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  out += '"';
}

void AppendValue(std::string& out, const std::string& name, const HiveValue& value) {
  AppendQuoted(out, name);
  out += " = ";
  switch (TypeOf(value)) {
    case HiveType::Dword:
      out += "dword " + std::to_string(std::get<uint32_t>(value));
      break;
    case HiveType::Qword:
      out += "qword " + std::to_string(std::get<uint64_t>(value));
      break;
    case HiveType::Sz:
      out += "sz ";
      AppendQuoted(out, std::get<std::string>(value));
      break;
    case HiveType::Binary:
      out += "binary ";
      for (uint8_t b : std::get<HiveBytes>(value)) {
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 15];
      }
      break;
    case HiveType::MultiSz:
      out += "multi_sz";
      for (const std::string& item : std::get<HiveStrings>(value)) {
        out += '\n';
        out += kListIndent;
        AppendQuoted(out, item);
      }
      break;
  }
  out += '\n';
}

void AppendKey(std::string& out, const HiveNode& node, const std::string& path) {
  if (!path.empty()) {
    out += "\n[";
    AppendQuoted(out, path);
    out += "]\n";
  }
  for (const auto& [name, value] : node.values) AppendValue(out, name, value);
  for (const auto& [name, child] : node.subkeys) AppendKey(out, *child, JoinKeyPath(path, child->name));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the tokens of one line; every failed step makes the cursor fail for good.
class LineCursor {
 public:
  explicit LineCursor(std::string_view line) : rest_(line) {}

  bool Failed() const { return failed_; }
  bool AtEnd() {
    SkipBlanks();
    return rest_.empty();
  }
  bool Fail() {
    failed_ = true;
    return false;
  }

  bool Take(char c) {
    SkipBlanks();
    if (failed_ || rest_.empty() || rest_[0] != c) return Fail();
    rest_.remove_prefix(1);
    return true;
  }

  std::string_view Word() {
    SkipBlanks();
    size_t length = 0;
    while (length < rest_.size() && (IsWordChar(rest_[length]))) ++length;
    std::string_view word = rest_.substr(0, length);
    rest_.remove_prefix(length);
    if (word.empty()) Fail();
    return word;
  }

  bool Quoted(std::string& out) {
    out.clear();
    if (!Take('"')) return false;
    while (!rest_.empty() && rest_[0] != '"') {
      if (rest_[0] != '%') {
        out += rest_[0];
        rest_.remove_prefix(1);
        continue;
      }
      if (rest_.size() < 3 || HexValue(rest_[1]) < 0 || HexValue(rest_[2]) < 0) return Fail();
      out += static_cast<char>(HexValue(rest_[1]) * 16 + HexValue(rest_[2]));
      rest_.remove_prefix(3);
    }
    return Take('"');
  }

  template <class Number>
  bool Decimal(Number& out) {
    std::string_view word = Word();
    if (failed_) return false;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
    if (error != std::errc() || end != word.data() + word.size()) return Fail();
    return true;
  }

  bool Hex(HiveBytes& out) {
    SkipBlanks();
    while (!rest_.empty() && HexValue(rest_[0]) >= 0) {
      if (rest_.size() < 2 || HexValue(rest_[1]) < 0) return Fail();
      out.push_back(static_cast<uint8_t>(HexValue(rest_[0]) * 16 + HexValue(rest_[1])));
      rest_.remove_prefix(2);
    }
    return !failed_;
  }

 private:
  static bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }
  void SkipBlanks() {
    while (!rest_.empty() && (rest_[0] == ' ' || rest_[0] == '\t')) rest_.remove_prefix(1);
  }

  std::string_view rest_;
  bool failed_ = false;
};

bool ParseValue(LineCursor& cursor, HiveValue& value) {
  std::string_view type = cursor.Word();
  if (type == "dword") {
    uint32_t number = 0;
    cursor.Decimal(number);
    value = number;
  } else if (type == "qword") {
    uint64_t number = 0;
    cursor.Decimal(number);
    value = number;
  } else if (type == "sz") {
    std::string text;
    cursor.Quoted(text);
    value = std::move(text);
  } else if (type == "binary") {
    HiveBytes bytes;
    cursor.Hex(bytes);
    value = std::move(bytes);
  } else if (type == "multi_sz") {
    value = HiveStrings();
  } else {
    return cursor.Fail();
  }
  return cursor.AtEnd() && !cursor.Failed();
}

class HiveParser {
 public:
  explicit HiveParser(HiveNode& root) : root_(root), key_(&root) {}

  // Reads one line after the format line; false when it cannot be read.
  bool Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    HiveStrings* list = list_;
    list_ = nullptr;
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string_view::npos)
      return true;
    LineCursor cursor(line);
    if (line[0] == ' ' || line[0] == '\t') return list != nullptr && ListItem(cursor, *list);
    if (line[0] == '[') return Header(cursor);
    return Value(cursor);
  }

 private:
  bool ListItem(LineCursor& cursor, HiveStrings& list) {
    std::string item;
    if (!cursor.Quoted(item) || !cursor.AtEnd() || !IsStorable(HiveValue(item))) return false;
    list.push_back(std::move(item));
    list_ = &list;
    return true;
  }

  bool Header(LineCursor& cursor) {
    std::string path;
    std::vector<std::string_view> parts;
    if (!cursor.Take('[') || !cursor.Quoted(path) || !cursor.Take(']') || !cursor.AtEnd()) return false;
    if (path.empty() || !SplitKeyPath(path, parts)) return false;
    key_ = &CreateKey(root_, path);
    return true;
  }

  bool Value(LineCursor& cursor) {
    std::string name;
    HiveValue value;
    if (!cursor.Quoted(name) || !cursor.Take('=') || !ParseValue(cursor, value)) return false;
    if (name.find('\0') != std::string::npos || !IsStorable(value) || FindValue(*key_, name)) return false;
    key_->values.emplace_back(std::move(name), std::move(value));
    list_ = std::get_if<HiveStrings>(&key_->values.back().second);
    return true;
  }

  HiveNode& root_;
  HiveNode* key_;
  HiveStrings* list_ = nullptr;  // the multi-string that indented lines add to
};

}  // namespace

std::string WriteHiveText(const HiveNode& root) {
  std::string out(kHiveFormatLine);
  out +=
      "\n# The per-user store of QuarloView. In quoted text, %XX stands for the byte with that hex value.\n";
  AppendKey(out, root, std::string());
  return out;
}

bool ParseHiveText(std::string_view text, HiveNode& root, size_t& errorLine) {
  size_t lineNumber = 1;
  size_t end = text.find('\n');
  std::string_view first = text.substr(0, end);
  if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
  if (first != kHiveFormatLine) {
    errorLine = lineNumber;
    return false;
  }
  HiveParser parser(root);
  while (end != std::string_view::npos) {
    text.remove_prefix(end + 1);
    ++lineNumber;
    end = text.find('\n');
    if (!parser.Line(text.substr(0, end))) {
      errorLine = lineNumber;
      return false;
    }
  }
  return true;
}

}  // namespace Quarlo::Platform

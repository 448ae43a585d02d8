#include "platform/registry/hive_text.h"

#include <charconv>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

// Where the text goes: a string, or nowhere when only its length is wanted. Past maxBytes it only
// counts, so that a tree too large for the file never builds its whole text.
class TextOut {
 public:
  TextOut(std::string* text, size_t maxBytes) : text_(text), maxBytes_(maxBytes) {}

  TextOut& operator+=(std::string_view part) {
    size_ += part.size();
    if (text_ != nullptr && !Over()) text_->append(part);
    return *this;
  }
  TextOut& operator+=(char c) { return *this += std::string_view(&c, 1); }

  bool Over() const { return size_ > maxBytes_; }
  size_t Size() const { return size_; }

 private:
  std::string* text_;
  size_t maxBytes_;
  size_t size_ = 0;
};

void AppendEscapedByte(TextOut& out, unsigned char c) {
  out += '%';
  out += kHexDigits[c >> 4];
  out += kHexDigits[c & 15];
}

void AppendQuoted(TextOut& out, std::string_view text) {
  out += '"';
  while (!text.empty()) {
    unsigned char c = static_cast<unsigned char>(text[0]);
    size_t length = Utf8Length(text);
    if (length == 0 || c < 0x20 || c == 0x7F || c == '"' || c == '%') {
      AppendEscapedByte(out, c);
      text.remove_prefix(1);
    } else {
      out += text.substr(0, length);
      text.remove_prefix(length);
    }
  }
  out += '"';
}

void AppendValue(TextOut& out, const std::string& name, const HiveValue& value) {
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

// A key's header (none for the root) and its values.
void AppendKey(TextOut& out, const HiveNode& node, const std::string& path) {
  if (!path.empty()) {
    out += "\n[";
    AppendQuoted(out, path);
    out += "]\n";
  }
  for (const auto& [name, value] : node.values) {
    if (out.Over()) return;
    AppendValue(out, name, value);
  }
}

// Writes every key, parents before their subkeys in name order, walking the tree with a stack of
// its own rather than recursing, and stops as soon as the text is over its limit. One path string
// grows and shrinks with the walk, so memory stays proportional to the depth.
void AppendTree(TextOut& out, const HiveNode& root) {
  struct Level {
    const HiveNode* node;
    decltype(HiveNode::subkeys)::const_iterator next;
    size_t pathLength;
  };
  std::string path;
  AppendKey(out, root, path);
  std::vector<Level> levels = {{&root, root.subkeys.begin(), 0}};
  while (!levels.empty() && !out.Over()) {
    Level& level = levels.back();
    if (level.next == level.node->subkeys.end()) {
      levels.pop_back();
      if (!levels.empty()) path.resize(levels.back().pathLength);
      continue;
    }
    const HiveNode& child = *(level.next++)->second;
    if (!path.empty()) path += '\\';
    path += child.name;
    AppendKey(out, child, path);
    levels.push_back({&child, child.subkeys.begin(), path.size()});
  }
}

void AppendHive(TextOut& out, const HiveNode& root) {
  out += kHiveFormatLine;
  out +=
      "\n# The per-user store of QuarloView. In quoted text, %XX stands for the byte with that hex value.\n";
  AppendTree(out, root);
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
    listBytes_ += item.size() + 1;
    if (listBytes_ > kMaxValueDataBytes) return false;
    list.push_back(std::move(item));
    list_ = &list;
    return true;
  }

  bool Header(LineCursor& cursor) {
    std::string path;
    std::vector<std::string_view> parts;
    if (!cursor.Take('[') || !cursor.Quoted(path) || !cursor.Take(']') || !cursor.AtEnd()) return false;
    if (path.empty() || !SplitKeyPath(path, parts)) return false;
    key_ = &CreateKey(root_, path, &keyPathBytes_);
    return keyPathBytes_ <= kMaxHiveTextBytes;
  }

  bool Value(LineCursor& cursor) {
    std::string name;
    HiveValue value;
    if (!cursor.Quoted(name) || !cursor.Take('=') || !ParseValue(cursor, value)) return false;
    const uint64_t dataBytes = DataBytesOf(value);
    if (!IsValueName(name) || !IsStorable(value) || dataBytes > kMaxValueDataBytes) return false;
    // A set per key, as a key may hold a great many values and repeated headers add to it.
    if (!valueNames_[key_].insert(name).second) return false;
    key_->values.emplace_back(std::move(name), std::move(value));
    list_ = std::get_if<HiveStrings>(&key_->values.back().second);
    listBytes_ = dataBytes;
    return true;
  }

  HiveNode& root_;
  HiveNode* key_;
  HiveStrings* list_ = nullptr;  // the multi-string that indented lines add to
  uint64_t listBytes_ = 0;       // its data size so far
  uint64_t keyPathBytes_ = 0;    // the length of every key's path, as the text written back holds them
  std::unordered_map<const HiveNode*, std::unordered_set<std::string, NameHash, NameEqual>> valueNames_;
};

}  // namespace

std::optional<std::string> WriteHiveText(const HiveNode& root) {
  std::string text;
  TextOut out(&text, kMaxHiveTextBytes);
  AppendHive(out, root);
  if (out.Over()) return std::nullopt;
  return text;
}

std::optional<size_t> HiveTextSize(const HiveNode& root) {
  TextOut out(nullptr, kMaxHiveTextBytes);
  AppendHive(out, root);
  if (out.Over()) return std::nullopt;
  return out.Size();
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

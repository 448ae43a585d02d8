#include "platform/registry/hive_tree.h"

#include <algorithm>

namespace Quarlo::Platform {

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

template <class Node>
Node* Descend(Node* node, std::string_view path) {
  std::vector<std::string_view> parts;
  if (!SplitKeyPath(path, parts)) return nullptr;
  for (std::string_view part : parts) {
    auto found = node->subkeys.find(part);
    if (found == node->subkeys.end()) return nullptr;
    node = found->second.get();
  }
  return node;
}

bool HasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
  });
}

bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  if (path.empty()) return true;
  if (HasNul(path)) return false;
  while (true) {
    size_t slash = path.find('\\');
    std::string_view part = path.substr(0, slash);
    if (part.empty()) return false;
    parts.push_back(part);
    if (slash == std::string_view::npos) return true;
    path.remove_prefix(slash + 1);
  }
}

std::string JoinKeyPath(std::string_view path, std::string_view subkey) {
  std::string joined(path);
  if (!joined.empty() && !subkey.empty()) joined += '\\';
  joined += subkey;
  return joined;
}

HiveNode* FindKey(HiveNode& root, std::string_view path) { return Descend(&root, path); }

const HiveNode* FindKey(const HiveNode& root, std::string_view path) { return Descend(&root, path); }

HiveNode& CreateKey(HiveNode& root, std::string_view path) {
  std::vector<std::string_view> parts;
  SplitKeyPath(path, parts);
  HiveNode* node = &root;
  for (std::string_view part : parts) {
    auto found = node->subkeys.find(part);
    if (found == node->subkeys.end()) {
      auto child = std::make_unique<HiveNode>();
      child->name = std::string(part);
      found = node->subkeys.emplace(child->name, std::move(child)).first;
    }
    node = found->second.get();
  }
  return *node;
}

const HiveValue* FindValue(const HiveNode& key, std::string_view name) {
  for (const auto& [valueName, value] : key.values) {
    if (SameName(valueName, name)) return &value;
  }
  return nullptr;
}

void PutValue(HiveNode& key, std::string_view name, HiveValue value) {
  for (auto& [valueName, stored] : key.values) {
    if (SameName(valueName, name)) {
      stored = std::move(value);
      return;
    }
  }
  key.values.emplace_back(std::string(name), std::move(value));
}

bool RemoveValue(HiveNode& key, std::string_view name) {
  auto found = std::find_if(key.values.begin(), key.values.end(),
                            [&](const auto& entry) { return SameName(entry.first, name); });
  if (found == key.values.end()) return false;
  key.values.erase(found);
  return true;
}

bool IsStorable(const HiveValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return !HasNul(*text);
  if (const auto* list = std::get_if<HiveStrings>(&value)) {
    return std::none_of(list->begin(), list->end(), [](const std::string& item) { return HasNul(item); });
  }
  return true;
}

}  // namespace Quarlo::Platform

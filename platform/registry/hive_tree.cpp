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

size_t NameHash::operator()(std::string_view name) const {
  size_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ull;
  return hash;
}

bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  if (path.empty()) return true;
  if (HasNul(path)) return false;
  while (true) {
    size_t slash = path.find('\\');
    std::string_view part = path.substr(0, slash);
    if (part.empty() || part.size() > kMaxKeyNameBytes || parts.size() == kMaxKeyDepth) return false;
    parts.push_back(part);
    if (slash == std::string_view::npos) return true;
    path.remove_prefix(slash + 1);
  }
}

bool IsValueName(std::string_view name) { return name.size() <= kMaxValueNameBytes && !HasNul(name); }

std::string JoinKeyPath(std::string_view path, std::string_view subkey) {
  std::string joined(path);
  if (!joined.empty() && !subkey.empty()) joined += '\\';
  joined += subkey;
  return joined;
}

HiveNode* FindKey(HiveNode& root, std::string_view path) { return Descend(&root, path); }

const HiveNode* FindKey(const HiveNode& root, std::string_view path) { return Descend(&root, path); }

HiveNode& CreateKey(HiveNode& root, std::string_view path, uint64_t* createdPathBytes) {
  std::vector<std::string_view> parts;
  SplitKeyPath(path, parts);
  HiveNode* node = &root;
  size_t pathLength = 0;
  for (std::string_view part : parts) {
    pathLength += (pathLength == 0 ? 0 : 1) + part.size();
    auto found = node->subkeys.find(part);
    if (found == node->subkeys.end()) {
      if (createdPathBytes != nullptr) *createdPathBytes += pathLength;
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

uint64_t DataBytesOf(const HiveValue& value) {
  switch (TypeOf(value)) {
    case HiveType::Sz:
      return std::get<std::string>(value).size() + 1;
    case HiveType::Binary:
      return std::get<HiveBytes>(value).size();
    case HiveType::Dword:
      return sizeof(uint32_t);
    case HiveType::MultiSz:
      break;
    case HiveType::Qword:
      return sizeof(uint64_t);
  }
  uint64_t bytes = 1;
  for (const std::string& item : std::get<HiveStrings>(value)) bytes += item.size() + 1;
  return bytes;
}

}  // namespace Quarlo::Platform

#pragma once
// The hive's tree in memory: keys with ordered values and case-insensitively named subkeys. Used by
// the hive and by the text form it is stored in; it knows nothing about files.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/hive.h"

namespace Quarlo::Platform {

// Equality and order of names ignoring ASCII letter case, as the registry compares names.
bool SameName(std::string_view a, std::string_view b);
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
// Hashing and equality to match SameName, for sets of names.
struct NameHash {
  size_t operator()(std::string_view name) const;
};
struct NameEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};

struct HiveNode {
  std::string name;  // as first created; empty for the root
  std::vector<std::pair<std::string, HiveValue>> values;
  std::map<std::string, std::unique_ptr<HiveNode>, NameLess> subkeys;
};

// Splits a key path at backslashes. False when a component is empty or a NUL occurs, or when the
// path breaks the registry's limits (more than kMaxKeyDepth components, a component longer than
// kMaxKeyNameBytes); an empty path gives no components.
bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& parts);

// True for a name a value may have: no NUL, at most kMaxValueNameBytes.
bool IsValueName(std::string_view name);

// Joins a key path and a subkey path with a backslash (either may be empty).
std::string JoinKeyPath(std::string_view path, std::string_view subkey);

// The key at path below root, or nullptr. The path must be valid (SplitKeyPath).
HiveNode* FindKey(HiveNode& root, std::string_view path);
const HiveNode* FindKey(const HiveNode& root, std::string_view path);

// The key at path below root, created with any missing parents. The path must be valid. When
// createdPathBytes is given, the length of the path of every key created is added to it.
HiveNode& CreateKey(HiveNode& root, std::string_view path, uint64_t* createdPathBytes = nullptr);

// The value of that name, or nullptr.
const HiveValue* FindValue(const HiveNode& key, std::string_view name);

// Replaces the value of that name in place, or appends it.
void PutValue(HiveNode& key, std::string_view name, HiveValue value);

// Removes the value of that name; false when there was none.
bool RemoveValue(HiveNode& key, std::string_view name);

// True when a value could be stored: no NUL inside a string or a list element.
bool IsStorable(const HiveValue& value);

// The size of a value's data as the registry counts it: a string with its NUL, a multi-string
// with one NUL after each string and one at the end.
uint64_t DataBytesOf(const HiveValue& value);

}  // namespace Quarlo::Platform

#pragma once
// The per-user hive: a tree of keys holding typed values, the store for settings and registrations.
// Key paths use backslash separators ("Software\QuarloView\Keys"); key and value names compare
// ignoring ASCII letter case and keep the case they were created with. Every change (outside a
// HiveBatch) is written to disk before the call returns, and changes made by other processes are
// seen by the next call, so two running instances never lose each other's keys. Failures are
// statuses, never exceptions.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace Quarlo::Platform {

// The registry's limits, which the hive keeps too: how deep keys nest, how long key and value names
// are (in bytes; the registry counts UTF-16 units, which is the same for the ASCII names the program
// uses and stricter otherwise), and how much data one value holds. The registry's own data limit
// is 1 MB; ours leaves room for the longest bookmark list (500 entries of two 4,096-byte paths).
inline constexpr size_t kMaxKeyDepth = 512;
inline constexpr size_t kMaxKeyNameBytes = 255;
inline constexpr size_t kMaxValueNameBytes = 16383;
inline constexpr size_t kMaxValueDataBytes = size_t{8} << 20;

enum class HiveStatus {
  Ok,
  NotFound,          // the key or value does not exist, or the key was deleted meanwhile
  WrongType,         // the value exists but holds another type than the one asked for
  InvalidParameter,  // an empty path component, a NUL inside a name or string, an empty tree name,
                     // a key deeper than kMaxKeyDepth or a name longer than the limits above allow
  NotOpen,           // the key handle was never opened
  Busy,              // another process held the hive's lock for too long
  IoError,           // the hive file or its folder could not be read or written
  TooLarge,          // the value's data or the whole hive would be larger than the store accepts
  OutOfMemory,       // memory ran out during the call; nothing was changed on disk
};

// The value types, numbered as the registry numbers them.
enum class HiveType : uint32_t { Sz = 1, Binary = 3, Dword = 4, MultiSz = 7, Qword = 11 };

using HiveBytes = std::vector<uint8_t>;
using HiveStrings = std::vector<std::string>;

// One stored value; the alternative it holds is its type. Strings are UTF-8 in practice but any
// bytes other than NUL are kept as they are.
using HiveValue = std::variant<std::string, HiveBytes, uint32_t, HiveStrings, uint64_t>;

// The type of a value, for callers that list or copy values of any type.
HiveType TypeOf(const HiveValue& value);

// A short English name of a status ("not found"), for trace lines and test failures.
const char* StatusName(HiveStatus status);

template <class T>
struct HiveResult {
  HiveStatus status = HiveStatus::Ok;
  T value{};
  bool Ok() const { return status == HiveStatus::Ok; }
};

class Hive;

// A handle to one key: the hive and the key's path. Cheap to copy; it stays valid while the hive
// lives. When another process deletes the key, operations on the handle report NotFound.
class HiveKey {
 public:
  HiveKey() = default;

  // True for a handle obtained from Hive::Root, Open or Create; a default handle is not open.
  bool IsOpen() const { return hive_ != nullptr; }
  // The full path below the root, as spelled by the callers that opened it.
  const std::string& Path() const { return path_; }

  // Opens an existing key below this one (an empty subkey: this key again). Callers: every reader.
  HiveResult<HiveKey> Open(std::string_view subkey) const;
  // Opens a key below this one, creating it and any missing parents. Callers: every writer.
  HiveResult<HiveKey> Create(std::string_view subkey) const;

  // Reads a value of any type; callers that list or copy values use it, settings use the typed reads.
  HiveResult<HiveValue> Get(std::string_view name) const;
  // Typed reads: WrongType when the value holds another type.
  HiveResult<uint32_t> GetDword(std::string_view name) const;
  HiveResult<std::string> GetString(std::string_view name) const;
  // Reads a multi-string as the registry reads one: an empty string ends the list.
  HiveResult<HiveStrings> GetStrings(std::string_view name) const;

  // The names of this key's values in the order they were first written.
  HiveResult<std::vector<std::string>> ValueNames() const;
  // The names of this key's subkeys, ordered ignoring letter case.
  HiveResult<std::vector<std::string>> SubkeyNames() const;

  // Writes a value, replacing one of the same name whatever its type; a replaced value keeps its
  // place and the spelling of its name. Strings holding a NUL are refused (InvalidParameter).
  HiveStatus Set(std::string_view name, HiveValue value) const;
  // Deletes a value; a missing value counts as success.
  HiveStatus DeleteValue(std::string_view name) const;
  // Deletes a subkey with everything below it; a missing subkey counts as success, an empty name
  // is refused (InvalidParameter).
  HiveStatus DeleteTree(std::string_view subkey) const;

 private:
  friend class Hive;
  HiveKey(Hive* hive, std::string path) : hive_(hive), path_(std::move(path)) {}

  Hive* hive_ = nullptr;
  std::string path_;
};

// One hive, stored in one text file. Safe to use from several threads; every operation takes the
// hive's mutex, and changes take an advisory lock on the file so that processes take turns.
class Hive {
 public:
  // The hive kept in filePath; the file and its folder are created on the first change.
  explicit Hive(std::string filePath);
  ~Hive();
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  const std::string& FilePath() const;
  // The top of the hive, below which every key lives.
  HiveKey Root();
  // Where a damaged or unreadable hive file was moved to by this object, or empty when none was.
  // The start-up sequence may tell the user; the hive itself starts empty after the move.
  std::string KeptAsidePath() const;

 private:
  friend class HiveKey;
  friend class HiveBatch;
  struct State;
  std::unique_ptr<State> state_;
};

// Groups the changes made to one hive until Commit (or the end of the scope) into one rewrite of
// the file, so that a save of many values is one atomic step. While a batch is open, this thread
// holds the hive and the file lock; changes report Ok once applied in memory and Commit reports
// whether they reached the disk. Callers: settings and registration saves.
class HiveBatch {
 public:
  explicit HiveBatch(Hive& hive);
  // Commits when Commit was not called.
  ~HiveBatch();
  HiveBatch(const HiveBatch&) = delete;
  HiveBatch& operator=(const HiveBatch&) = delete;

  // Writes the changes made since the batch began and ends the batch; later changes are written one
  // by one. A second call returns the first one's result.
  HiveStatus Commit();

 private:
  Hive& hive_;
  bool committed_ = false;
  HiveStatus result_ = HiveStatus::Ok;
};

// The file of the current user's hive: "quarloview/registry.txt" below $XDG_CONFIG_HOME, or below
// ~/.config when that is unset or not absolute.
std::string UserHivePath();

// The current user's hive, created on first use. Callers: the settings store, registration, usage.
Hive& UserHive();

}  // namespace Quarlo::Platform

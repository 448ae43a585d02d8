#include "platform/registry/hive.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <mutex>
#include <new>
#include <optional>

#include "platform/registry/hive_file.h"
#include "platform/registry/hive_text.h"
#include "platform/registry/hive_tree.h"

namespace Quarlo::Platform {

namespace {

constexpr const char* kHiveFolder = "quarloview";
constexpr const char* kHiveFileName = "registry.txt";

// An edit of the tree made under the lock. It returns Ok and sets changed when the tree must be
// written; on failure it leaves the tree as it was.
using Edit = std::function<HiveStatus(HiveNode& root, bool& changed)>;

bool ValidKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  return SplitKeyPath(path, parts);
}

// An allocation failure ends the call with OutOfMemory: nothing escapes the store.
template <class Body>
auto Guarded(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return decltype(body()){HiveStatus::OutOfMemory};
  }
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

struct Hive::State {
  std::recursive_mutex mutex;
  std::string file;
  HiveNode cache;           // the tree as last read or written (the working tree during a batch)
  FileStamp cacheStamp;     // the file version the cache mirrors
  bool cacheValid = false;  // false once the cache holds changes that did not reach the file
  FileStamp damagedStamp;   // a damaged file that could not be moved aside; reads see it as empty
  std::string keptAside;

  int batchDepth = 0;
  FileLock batchLock;
  HiveStatus batchStatus = HiveStatus::Ok;
  bool batchDirty = false;

  // Reads the file into the cache. A damaged or unreadable file is moved aside and the cache starts
  // empty; when it cannot be moved, IoError, and reads see an empty hive.
  HiveStatus Load(bool locked) {
    FileRead read = ReadWholeFile(file, kMaxHiveTextBytes);
    std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    HiveNode tree;
    size_t errorLine = 0;
    // A tree that could not be written back breaks the store's limits as much as a damaged line.
    if (read.status == FileReadStatus::NotFound ||
        (read.Ok() && ParseHiveText(text, tree, errorLine) && HiveTextSize(tree))) {
      return Mirror(std::move(tree), read.stamp);
    }
    if (!locked) {
      FileLock lock;
      if (lock.Acquire(file) == HiveStatus::Ok) return Load(true);
    } else if (std::string aside = KeepAside(file); !aside.empty()) {
      keptAside = std::move(aside);
      return Mirror(HiveNode(), FileStamp());
    }
    cache = HiveNode();
    cacheValid = false;
    damagedStamp = StampOf(file);
    return HiveStatus::IoError;
  }

  HiveStatus Mirror(HiveNode tree, const FileStamp& stamp) {
    cache = std::move(tree);
    cacheStamp = stamp;
    cacheValid = true;
    damagedStamp = FileStamp();
    return HiveStatus::Ok;
  }

  // The tree that reads look at; call with the mutex held.
  const HiveNode& ReadTree() {
    if (batchDepth > 0 && batchStatus == HiveStatus::Ok) return cache;
    FileStamp stamp = StampOf(file);
    if (cacheValid && stamp == cacheStamp) return cache;
    if (damagedStamp.exists && stamp == damagedStamp) return cache;
    Load(false);
    return cache;
  }

  // Takes the file lock and brings the cache up to date with the file, for a change.
  HiveStatus Begin(FileLock& lock) {
    if (file.empty()) return HiveStatus::IoError;
    if (HiveStatus status = EnsureFolderOf(file); status != HiveStatus::Ok) return status;
    if (HiveStatus status = lock.Acquire(file); status != HiveStatus::Ok) return status;
    // Always read again: file stamps have coarse clocks and reused inodes, and trusting a stale
    // cache here would write back a tree without another process's latest keys.
    return Load(true);
  }

  // Writes the cache to the file; call with the lock held.
  HiveStatus Persist() {
    std::optional<std::string> text = WriteHiveText(cache);
    FileStamp stamp;
    HiveStatus status = text ? ReplaceFile(file, *text, stamp) : HiveStatus::TooLarge;
    cacheValid = status == HiveStatus::Ok;
    cacheStamp = stamp;
    return status;
  }

  HiveStatus Change(const Edit& edit) {
    std::lock_guard guard(mutex);
    try {
      return ChangeLocked(edit);
    } catch (const std::bad_alloc&) {
      // The cache may hold part of the change, so it no longer mirrors the file; a batch fails whole.
      cacheValid = false;
      if (batchDepth > 0) batchStatus = HiveStatus::OutOfMemory;
      return HiveStatus::OutOfMemory;
    }
  }

  HiveStatus ChangeLocked(const Edit& edit) {
    bool changed = false;
    if (batchDepth > 0) {
      if (batchStatus != HiveStatus::Ok) return batchStatus;
      HiveStatus status = edit(cache, changed);
      batchDirty = batchDirty || changed;
      return status;
    }
    FileLock lock;
    if (HiveStatus status = Begin(lock); status != HiveStatus::Ok) return status;
    if (HiveStatus status = edit(cache, changed); status != HiveStatus::Ok || !changed) return status;
    return Persist();
  }

  // Runs read on the key at path, under the mutex.
  template <class T, class Read>
  HiveResult<T> ReadKey(const std::string& path, Read read) {
    std::lock_guard guard(mutex);
    return Guarded([&]() -> HiveResult<T> {
      const HiveNode* key = FindKey(ReadTree(), path);
      if (key == nullptr) return {HiveStatus::NotFound};
      return read(*key);
    });
  }
};

HiveType TypeOf(const HiveValue& value) {
  static constexpr HiveType kTypes[] = {HiveType::Sz, HiveType::Binary, HiveType::Dword, HiveType::MultiSz,
                                        HiveType::Qword};
  return kTypes[value.index()];
}

const char* StatusName(HiveStatus status) {
  switch (status) {
    case HiveStatus::Ok:
      return "ok";
    case HiveStatus::NotFound:
      return "not found";
    case HiveStatus::WrongType:
      return "wrong type";
    case HiveStatus::InvalidParameter:
      return "invalid parameter";
    case HiveStatus::NotOpen:
      return "key not open";
    case HiveStatus::Busy:
      return "hive busy";
    case HiveStatus::IoError:
      return "hive file error";
    case HiveStatus::TooLarge:
      return "hive too large";
    case HiveStatus::OutOfMemory:
      return "out of memory";
  }
  return "unknown";
}

HiveResult<HiveKey> HiveKey::Open(std::string_view subkey) const {
  if (!IsOpen()) return {HiveStatus::NotOpen};
  return Guarded([&]() -> HiveResult<HiveKey> {
    std::string path = JoinKeyPath(path_, subkey);
    if (!ValidKeyPath(path)) return {HiveStatus::InvalidParameter};
    return hive_->state_->ReadKey<HiveKey>(path, [&](const HiveNode&) {
      return HiveResult<HiveKey>{HiveStatus::Ok, HiveKey(hive_, path)};
    });
  });
}

HiveResult<HiveKey> HiveKey::Create(std::string_view subkey) const {
  if (!IsOpen()) return {HiveStatus::NotOpen};
  return Guarded([&]() -> HiveResult<HiveKey> {
    std::string path = JoinKeyPath(path_, subkey);
    if (!ValidKeyPath(path)) return {HiveStatus::InvalidParameter};
    HiveStatus status = hive_->state_->Change([&](HiveNode& root, bool& changed) {
      if (FindKey(root, path_) == nullptr) return HiveStatus::NotFound;
      changed = FindKey(root, path) == nullptr;
      CreateKey(root, path);
      return HiveStatus::Ok;
    });
    if (status != HiveStatus::Ok) return {status};
    return {HiveStatus::Ok, HiveKey(hive_, path)};
  });
}

HiveResult<HiveValue> HiveKey::Get(std::string_view name) const {
  if (!IsOpen()) return {HiveStatus::NotOpen};
  if (!IsValueName(name)) return {HiveStatus::InvalidParameter};
  return hive_->state_->ReadKey<HiveValue>(path_, [&](const HiveNode& key) -> HiveResult<HiveValue> {
    const HiveValue* value = FindValue(key, name);
    if (value == nullptr) return {HiveStatus::NotFound};
    return {HiveStatus::Ok, *value};
  });
}

namespace {

template <class T>
HiveResult<T> Typed(HiveResult<HiveValue> read) {
  if (!read.Ok()) return {read.status};
  T* value = std::get_if<T>(&read.value);
  if (value == nullptr) return {HiveStatus::WrongType};
  return {HiveStatus::Ok, std::move(*value)};
}

}  // namespace

HiveResult<uint32_t> HiveKey::GetDword(std::string_view name) const { return Typed<uint32_t>(Get(name)); }

HiveResult<std::string> HiveKey::GetString(std::string_view name) const {
  return Typed<std::string>(Get(name));
}

HiveResult<HiveStrings> HiveKey::GetStrings(std::string_view name) const {
  HiveResult<HiveStrings> read = Typed<HiveStrings>(Get(name));
  for (size_t i = 0; i < read.value.size(); ++i) {
    if (read.value[i].empty()) {
      read.value.resize(i);
      break;
    }
  }
  return read;
}

HiveResult<std::vector<std::string>> HiveKey::ValueNames() const {
  if (!IsOpen()) return {HiveStatus::NotOpen};
  using Names = std::vector<std::string>;
  return hive_->state_->ReadKey<Names>(path_, [](const HiveNode& key) {
    HiveResult<Names> names;
    for (const auto& entry : key.values) names.value.push_back(entry.first);
    return names;
  });
}

HiveResult<std::vector<std::string>> HiveKey::SubkeyNames() const {
  if (!IsOpen()) return {HiveStatus::NotOpen};
  using Names = std::vector<std::string>;
  return hive_->state_->ReadKey<Names>(path_, [](const HiveNode& key) {
    HiveResult<Names> names;
    for (const auto& entry : key.subkeys) names.value.push_back(entry.second->name);
    return names;
  });
}

HiveStatus HiveKey::Set(std::string_view name, HiveValue value) const {
  if (!IsOpen()) return HiveStatus::NotOpen;
  if (!IsValueName(name) || !IsStorable(value)) return HiveStatus::InvalidParameter;
  if (DataBytesOf(value) > kMaxValueDataBytes) return HiveStatus::TooLarge;
  return hive_->state_->Change([&](HiveNode& root, bool& changed) {
    HiveNode* key = FindKey(root, path_);
    if (key == nullptr) return HiveStatus::NotFound;
    const HiveValue* old = FindValue(*key, name);
    changed = old == nullptr || *old != value;
    if (changed) PutValue(*key, name, std::move(value));
    return HiveStatus::Ok;
  });
}

HiveStatus HiveKey::DeleteValue(std::string_view name) const {
  if (!IsOpen()) return HiveStatus::NotOpen;
  if (!IsValueName(name)) return HiveStatus::InvalidParameter;
  return hive_->state_->Change([&](HiveNode& root, bool& changed) {
    HiveNode* key = FindKey(root, path_);
    if (key == nullptr) return HiveStatus::NotFound;
    changed = RemoveValue(*key, name);
    return HiveStatus::Ok;
  });
}

HiveStatus HiveKey::DeleteTree(std::string_view subkey) const {
  if (!IsOpen()) return HiveStatus::NotOpen;
  return Guarded([&] {
    std::vector<std::string_view> parts;
    if (subkey.empty() || !SplitKeyPath(subkey, parts) || !ValidKeyPath(JoinKeyPath(path_, subkey)))
      return HiveStatus::InvalidParameter;
    const size_t cut = subkey.rfind('\\');
    const std::string owner =
        JoinKeyPath(path_, cut == std::string_view::npos ? std::string_view() : subkey.substr(0, cut));
    const std::string_view leaf = parts.back();
    return hive_->state_->Change([&](HiveNode& root, bool& changed) {
      if (FindKey(root, path_) == nullptr) return HiveStatus::NotFound;
      HiveNode* parent = FindKey(root, owner);
      if (parent == nullptr) return HiveStatus::Ok;
      auto found = parent->subkeys.find(leaf);
      if (found == parent->subkeys.end()) return HiveStatus::Ok;
      parent->subkeys.erase(found);
      changed = true;
      return HiveStatus::Ok;
    });
  });
}

Hive::Hive(std::string filePath) : state_(std::make_unique<State>()) { state_->file = std::move(filePath); }

Hive::~Hive() = default;

const std::string& Hive::FilePath() const { return state_->file; }

HiveKey Hive::Root() { return HiveKey(this, std::string()); }

std::string Hive::KeptAsidePath() const {
  std::lock_guard guard(state_->mutex);
  return state_->keptAside;
}

HiveBatch::HiveBatch(Hive& hive) : hive_(hive) {
  Hive::State& state = *hive_.state_;
  state.mutex.lock();
  if (state.batchDepth++ > 0) return;
  state.batchDirty = false;
  try {
    state.batchStatus = state.Begin(state.batchLock);
  } catch (const std::bad_alloc&) {
    state.cacheValid = false;
    state.batchStatus = HiveStatus::OutOfMemory;
  }
  if (state.batchStatus != HiveStatus::Ok) state.batchLock.Release();
}

HiveBatch::~HiveBatch() {
  if (!committed_) Commit();
}

HiveStatus HiveBatch::Commit() {
  Hive::State& state = *hive_.state_;
  if (committed_) return result_;
  committed_ = true;
  result_ = state.batchStatus;
  if (--state.batchDepth == 0) {
    try {
      if (result_ == HiveStatus::Ok && state.batchDirty) result_ = state.Persist();
    } catch (const std::bad_alloc&) {
      state.cacheValid = false;
      result_ = HiveStatus::OutOfMemory;
    }
    state.batchLock.Release();
  }
  state.mutex.unlock();
  return result_;
}

std::string UserHivePath() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
    base = config;
  } else if (std::string home = HomeFolder(); !home.empty()) {
    base = home + "/.config";
  } else {
    return {};
  }
  return base + "/" + kHiveFolder + "/" + kHiveFileName;
}

Hive& UserHive() {
  static Hive hive(UserHivePath());
  return hive;
}

}  // namespace Quarlo::Platform

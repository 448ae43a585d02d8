#include "core/picture_cache.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <optional>

namespace Quarlo::View {

uint64_t PictureBudgetFor(uint64_t physicalBytes) {
  if (physicalBytes == 0) return kUnknownMemoryPictureBudget;
  return std::clamp(physicalBytes / 5, kMinPictureBudget, kMaxPictureBudget);
}

CacheLimits DefaultCacheLimits() {
  struct sysinfo info {};
  uint64_t physical = sysinfo(&info) == 0 ? uint64_t(info.totalram) * info.mem_unit : 0;
  return {{PictureBudgetFor(physical), kMaxCachedPictures}, {kThumbnailBudget, kMaxCachedThumbnails}};
}

PictureCache::PictureCache(Notifier notifier, DecodeFunction decode, CacheLimits limits)
    : notifier_(std::move(notifier)), decode_(std::move(decode)) {
  pictures_.budget = limits.pictures.budget;
  pictures_.maxCount = limits.pictures.maxCount;
  thumbnails_.budget = limits.thumbnails.budget;
  thumbnails_.maxCount = limits.thumbnails.maxCount;
  thumbnails_.thumbnail = true;
  pictures_.thread = std::thread([this] { Run(pictures_); });
  try {
    thumbnails_.thread = std::thread([this] { Run(thumbnails_); });
  } catch (...) {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    pictures_.thread.join();
    throw;
  }
}

PictureCache::~PictureCache() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    CancelDecodes();
  }
  wake_.notify_all();
  pictures_.thread.join();
  thumbnails_.thread.join();
}

void PictureCache::SetList(std::vector<PictureItem> items, std::shared_ptr<ZipReader> reader, bool keep) {
  std::lock_guard lock(mutex_);
  ++generation_;
  CancelDecodes();
  items_ = std::move(items);
  reader_ = std::move(reader);
  std::unordered_set<std::string> keys;
  if (keep) {
    for (const PictureItem& item : items_) keys.insert(KeyOf(item));
  }
  for (Lane* lane : {&pictures_, &thumbnails_}) {
    lane->wanted.clear();
    lane->finished.clear();
    if (!keep) {
      Empty(*lane);
      continue;
    }
    for (auto at = lane->recency.begin(); at != lane->recency.end();) {
      std::string key = *at++;
      if (!keys.contains(key)) Remove(*lane, key);
    }
  }
}

void PictureCache::SetOptions(const DecodeOptions& options) {
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    CancelDecodes();
    options_ = options;
    options_.cancel = nullptr;
    options_.shownPreview = nullptr;
    Empty(pictures_);
    Empty(thumbnails_);
  }
  // The wanted pictures are gone from the lanes and must be decoded again with the new options.
  wake_.notify_all();
}

void PictureCache::SetWanted(std::vector<size_t> indices, size_t onScreen, PreviewBox preview) {
  {
    std::lock_guard lock(mutex_);
    pictures_.wanted = std::move(indices);
    pictures_.onScreen = std::min(onScreen, pictures_.wanted.size());
    pictures_.preview = preview;
    CancelIfUnwanted(pictures_);
  }
  wake_.notify_all();
}

void PictureCache::SetWantedThumbnails(size_t start, size_t count) {
  {
    std::lock_guard lock(mutex_);
    thumbnails_.wanted.clear();
    for (size_t index = start; index < items_.size() && index - start < count; ++index) {
      thumbnails_.wanted.push_back(index);
    }
    CancelIfUnwanted(thumbnails_);
  }
  wake_.notify_all();
}

PicturePtr PictureCache::Get(size_t index) const {
  std::lock_guard lock(mutex_);
  return Lookup(pictures_, index);
}

PicturePtr PictureCache::GetThumbnail(size_t index) const {
  std::lock_guard lock(mutex_);
  return Lookup(thumbnails_, index);
}

PictureCache::Finished PictureCache::TakeFinished() {
  std::lock_guard lock(mutex_);
  Finished finished;
  finished.pictures.swap(pictures_.finished);
  finished.thumbnails.swap(thumbnails_.finished);
  return finished;
}

LaneUsage PictureCache::Usage(LaneKind kind) const {
  std::lock_guard lock(mutex_);
  const Lane& lane = kind == LaneKind::Pictures ? pictures_ : thumbnails_;
  return {lane.usedBytes, lane.budget, lane.map.size()};
}

PicturePtr PictureCache::Lookup(const Lane& lane, size_t index) const {
  if (index >= items_.size()) return nullptr;
  auto found = lane.map.find(KeyOf(items_[index]));
  return found == lane.map.end() ? nullptr : found->second.picture;
}

// A wanted index whose picture is neither stored (in full or as a preview) nor known to fail.
bool PictureCache::Waiting(const Lane& lane, size_t index) const {
  if (index >= items_.size()) return false;
  const std::string& key = KeyOf(items_[index]);
  return !lane.map.contains(key) && !lane.failed.contains(key);
}

// Previews of the first wanted pictures that have nothing stored yet come first; then the first wanted
// picture that has neither its full picture stored nor is known to fail.
std::optional<PictureCache::Job> PictureCache::NextWanted(const Lane& lane) const {
  auto pending = [&](size_t index, bool preview) {
    if (index >= items_.size()) return false;
    const std::string& key = KeyOf(items_[index]);
    if (lane.failed.contains(key)) return false;
    auto found = lane.map.find(key);
    return found == lane.map.end() || (!preview && found->second.picture->preview);
  };
  if (lane.preview.Any()) {
    const size_t count = lane.onScreen;
    for (size_t at = 0; at < count; ++at) {
      if (pending(lane.wanted[at], true)) return Job{lane.wanted[at], true};
    }
  }
  for (size_t index : lane.wanted) {
    if (pending(index, false)) return Job{index, false};
  }
  return std::nullopt;
}

void PictureCache::Run(Lane& lane) {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    std::optional<Job> job = NextWanted(lane);
    if (!job) {
      wake_.wait(lock);
      continue;
    }
    const size_t index = job->index;
    PictureItem item = items_[index];
    std::shared_ptr<ZipReader> reader = reader_;
    DecodeOptions options = options_;
    options.cancel = &lane.cancel;
    if (job->preview) {
      options.preview = true;
      options.maxWidth = lane.preview.width;
      options.maxHeight = lane.preview.height;
    } else if (PicturePtr stored = Lookup(lane, index); stored && stored->preview) {
      options.shownPreview = std::move(stored);
    }
    uint64_t generation = generation_;
    const std::string& key = KeyOf(item);
    lane.cancel.store(false);
    lane.decoding = key;
    lock.unlock();
    PicturePtr picture = DecodeGuarded(item, reader.get(), options, lane.thumbnail);
    reader.reset();
    options.shownPreview.reset();  // kept by the picture where it became a copy, else freed with the entry
    lock.lock();
    lane.decoding.reset();
    // A picture of a list or of options that are no longer current must never be seen, nor one
    // whose decode was cancelled part-way.
    if (stop_ || generation != generation_ || lane.cancel.load()) continue;
    if (picture == nullptr) {
      lane.failed.insert(key);
      continue;
    }
    if (picture->error == LoadError::OutOfMemory) {
      if (LowerBudgetAfterOutOfMemory(lane)) continue;  // still wanted: tried again with more room
      lane.failed.insert(key);
    } else if (picture->error == LoadError::CannotRead) {
      lane.failed.insert(key);
    }
    Store(lane, index, key, std::move(picture));
    lock.unlock();
    if (notifier_) notifier_();
    lock.lock();
  }
}

// An allocation failure that escapes the decode must not end the loader thread (and the program);
// it is the decode's out-of-memory result.
PicturePtr PictureCache::DecodeGuarded(const PictureItem& item, ZipReader* reader,
                                       const DecodeOptions& options, bool thumbnail) {
  try {
    return decode_(item, reader, options, thumbnail);
  } catch (const std::bad_alloc&) {
    auto failed = std::make_shared<LoadedPicture>();
    failed->key = KeyOf(item);
    failed->error = LoadError::OutOfMemory;
    failed->cost = kPictureOverheadCost;
    return failed;
  }
}

// Lowers the budget for good and evicts; true when that freed something, so that a retry can
// succeed. When nothing could go (an empty lane, or only wanted pictures), the caller gives the
// picture up instead of retrying the same failing decode for ever.
bool PictureCache::LowerBudgetAfterOutOfMemory(Lane& lane) {
  if (lane.map.empty()) return false;
  lane.budget = lane.budget < kMinPictureBudget ? kLoweredBudgetFloor : lane.budget / 2;
  size_t before = lane.map.size();
  Evict(lane);
  return lane.map.size() < before;
}

void PictureCache::Store(Lane& lane, size_t index, const std::string& key, PicturePtr picture) {
  if (lane.map.contains(key)) Remove(lane, key);
  lane.usedBytes += picture->cost;
  lane.recency.push_back(key);
  lane.map.emplace(key, Entry{std::move(picture), std::prev(lane.recency.end())});
  Evict(lane);
  lane.finished.push_back(index);
}

void PictureCache::Remove(Lane& lane, const std::string& key) {
  auto found = lane.map.find(key);
  if (found == lane.map.end()) return;
  lane.usedBytes -= found->second.picture->cost;
  lane.recency.erase(found->second.recency);
  lane.map.erase(found);
}

// Drops the oldest unwanted pictures while the lane is over its budget or its count; wanted
// pictures stay even when they alone exceed the limits.
void PictureCache::Evict(Lane& lane) {
  std::unordered_set<std::string> wanted;
  for (size_t index : lane.wanted) {
    if (index < items_.size()) wanted.insert(KeyOf(items_[index]));
  }
  for (auto at = lane.recency.begin();
       at != lane.recency.end() && (lane.usedBytes > lane.budget || lane.map.size() > lane.maxCount);) {
    std::string key = *at++;
    if (!wanted.contains(key)) Remove(lane, key);
  }
}

void PictureCache::Empty(Lane& lane) {
  lane.map.clear();
  lane.recency.clear();
  lane.failed.clear();
  lane.usedBytes = 0;
}

void PictureCache::CancelDecodes() {
  pictures_.cancel.store(true);
  thumbnails_.cancel.store(true);
}

// Paging on leaves the decode of a picture the viewer has left behind; it would hold the lane until
// its end, in front of the pictures wanted now. A picture only read ahead (or kept for going back)
// likewise gives way to one the screen waits for.
void PictureCache::CancelIfUnwanted(Lane& lane) {
  if (!lane.decoding) return;
  const auto isDecoding = [&](size_t index) {
    return index < items_.size() && KeyOf(items_[index]) == *lane.decoding;
  };
  const auto onScreenEnd = lane.wanted.begin() + static_cast<std::ptrdiff_t>(lane.onScreen);
  if (std::any_of(lane.wanted.begin(), onScreenEnd, isDecoding)) return;
  const bool screenWaits =
      std::any_of(lane.wanted.begin(), onScreenEnd, [&](size_t index) { return Waiting(lane, index); });
  if (!screenWaits && std::any_of(onScreenEnd, lane.wanted.end(), isDecoding)) return;
  lane.cancel.store(true);
}

}  // namespace Quarlo::View

#pragma once
// The picture cache: decoded pictures of the current list, kept within a byte budget and decoded
// ahead of need on two loader threads, one for full pictures and one for the image list's
// thumbnails. The user-interface thread never decodes; it says which list is current and which
// indices it wants, takes what is ready, and is told (through the notifier) when more has finished.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/loaded_picture.h"
#include "core/picture_list.h"

namespace Quarlo::View {

// The decode step the loaders run; LoadPicture in the program, a scripted stand-in in tests.
using DecodeFunction = std::function<PicturePtr(const PictureItem& item, ZipReader* reader,
                                                const DecodeOptions& options, bool thumbnail)>;

enum class LaneKind { Pictures, Thumbnails };

struct LaneLimits {
  uint64_t budget = 0;  // bytes of picture cost the lane keeps beyond its wanted pictures
  size_t maxCount = 0;  // pictures the lane keeps beyond its wanted pictures
};

struct CacheLimits {
  LaneLimits pictures;
  LaneLimits thumbnails;
};

// The pictures about to be on screen, when they will be shown fitted: the first `count` wanted pictures
// that are not decoded at all are first decoded as previews covering width × height device pixels
// (DecodeOptions::preview), so that something appears sooner; their full decodes follow, and each
// replaces its preview in the lane. count 0: no previews.
struct PreviewBox {
  int32_t width = 0, height = 0;

  bool Any() const { return width >= 1 && height >= 1; }
};

// What a lane holds now, for the benchmark, the tests and diagnostics.
struct LaneUsage {
  uint64_t usedBytes = 0;
  uint64_t budget = 0;
  size_t count = 0;
};

// Lane limits and budgets.
inline constexpr uint64_t kMinPictureBudget = 256ull << 20;
inline constexpr uint64_t kMaxPictureBudget = 2ull << 30;
inline constexpr uint64_t kUnknownMemoryPictureBudget = 1ull << 30;
inline constexpr uint64_t kLoweredBudgetFloor = 128ull << 20;
inline constexpr size_t kMaxCachedPictures = 64;
inline constexpr uint64_t kThumbnailBudget = 192ull << 20;
inline constexpr size_t kMaxCachedThumbnails = 1500;

// The picture lane's budget for a machine with this much physical memory (0: unknown): one fifth,
// kept between 256 MiB and 2 GiB.
uint64_t PictureBudgetFor(uint64_t physicalBytes);

// The limits for this machine, from the installed physical memory (sysinfo).
CacheLimits DefaultCacheLimits();

class PictureCache {
 public:
  using Notifier = std::function<void()>;
  struct Finished {
    std::vector<size_t> pictures;    // in finishing order
    std::vector<size_t> thumbnails;  // in finishing order
  };

  // Created by the viewer window before any list is opened; starts both loader threads (throws
  // std::system_error when one cannot be started). The notifier runs on a loader thread after each
  // stored result, never under the cache's lock; the program's posts a task to the UI thread.
  explicit PictureCache(Notifier notifier, DecodeFunction decode = LoadPicture,
                        CacheLimits limits = DefaultCacheLimits());
  // Stops both loaders, cancelling a decode in progress where the decoder allows, and joins them.
  ~PictureCache();
  PictureCache(const PictureCache&) = delete;
  PictureCache& operator=(const PictureCache&) = delete;

  // Called by the viewer window whenever the list changes. keep (a re-sort, a rename or a removal of
  // the same list) keeps the pictures whose keys remain and the failed keys; otherwise everything
  // is dropped. Results of decodes still running are discarded. No items and no reader clears it.
  void SetList(std::vector<PictureItem> items, std::shared_ptr<ZipReader> reader, bool keep);
  // Called by the viewer window at start and when a setting that affects decoding changes; drops
  // every picture and failed key of both lanes.
  void SetOptions(const DecodeOptions& options);
  // Called by the prefetch policy: the pictures to decode, nearest first. A decode in progress whose
  // picture is no longer wanted is cancelled and its result dropped. The first onScreen indices are
  // needed on screen now: while one of them is not decoded, a decode of any other picture is cancelled
  // too, so that paging faster than decoding (a held key) waits for one decode at most; and where preview
  // asks for it, they are decoded first at that size, then in full.
  void SetWanted(std::vector<size_t> indices, size_t onScreen = 0, PreviewBox preview = {});
  // Called by the image list for its visible tiles: thumbnails start .. start + count - 1. As with
  // SetWanted, a thumbnail decode that is no longer wanted is cancelled.
  void SetWantedThumbnails(size_t start, size_t count);

  // Called by the views: the decoded picture / thumbnail of an item (a picture may be a preview until
  // its full decode is stored), or null. Lookups do not change which pictures are evicted first.
  PicturePtr Get(size_t index) const;
  PicturePtr GetThumbnail(size_t index) const;

  // Called by the window's notification handler: the indices finished since the last call.
  Finished TakeFinished();

  // What a lane holds now.
  LaneUsage Usage(LaneKind lane) const;

 private:
  struct Entry {
    PicturePtr picture;
    std::list<std::string>::iterator recency;
  };
  struct Lane {
    std::unordered_map<std::string, Entry> map;
    std::list<std::string> recency;  // keys of map, oldest stored first
    std::unordered_set<std::string> failed;
    std::vector<size_t> wanted;
    size_t onScreen = 0;  // how many of the first wanted are needed on screen now
    PreviewBox preview;   // for the on-screen pictures; the thumbnail lane has none
    std::vector<size_t> finished;
    uint64_t usedBytes = 0;
    uint64_t budget = 0;
    size_t maxCount = 0;
    bool thumbnail = false;
    std::atomic<bool> cancel{false};      // raised when the decode in progress became useless
    std::optional<std::string> decoding;  // the key being decoded now, if any
    std::thread thread;
  };

  // One decode for a loader: the item's full picture, or its preview.
  struct Job {
    size_t index = 0;
    bool preview = false;
  };

  void Run(Lane& lane);
  PicturePtr DecodeGuarded(const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                           bool thumbnail);
  std::optional<Job> NextWanted(const Lane& lane) const;
  bool LowerBudgetAfterOutOfMemory(Lane& lane);
  void Store(Lane& lane, size_t index, const std::string& key, PicturePtr picture);
  void Remove(Lane& lane, const std::string& key);
  void Evict(Lane& lane);
  void Empty(Lane& lane);
  void CancelDecodes();
  void CancelIfUnwanted(Lane& lane);
  bool Waiting(const Lane& lane, size_t index) const;
  PicturePtr Lookup(const Lane& lane, size_t index) const;

  Notifier notifier_;
  DecodeFunction decode_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  uint64_t generation_ = 0;
  std::vector<PictureItem> items_;
  std::shared_ptr<ZipReader> reader_;
  DecodeOptions options_;
  Lane pictures_;
  Lane thumbnails_;
};

}  // namespace Quarlo::View

#include "core/picture_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "support/gif_builder.h"
#include "support/temp_folder.h"

namespace {

using namespace Quarlo::View;
using namespace std::chrono_literals;

constexpr uint64_t kMiB = 1ull << 20;
constexpr auto kPatience = 10s;

// A decode step that follows a script per key: what each attempt costs or fails with, and whether
// it holds until released (or cancelled), so that tests can act while a decode is running.
class ScriptedDecode {
 public:
  struct Script {
    uint64_t cost = 100;
    std::vector<LoadError> errors = {};  // per attempt; the last one repeats; none: success
    bool hold = false;
    bool throwOnFirstAttempt = false;  // as an allocation failure escaping the decode would
    bool previewHolds = true;          // with hold: preview decodes hold too
    bool previewReduces = true;        // a preview decode gives a preview (else the whole picture)
  };

  void Set(const std::string& key, Script script) {
    std::lock_guard lock(mutex_);
    scripts_[key] = std::move(script);
  }

  DecodeFunction Function() {
    return [this](const PictureItem& item, ZipReader*, const DecodeOptions& options, bool thumbnail) {
      return Decode(item, options, thumbnail);
    };
  }

  // Waits until a held decode has started.
  bool WaitHeld() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return holding_; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

  std::vector<std::string> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  int Attempts(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = attempts_.find(key);
    return found == attempts_.end() ? 0 : found->second;
  }
  bool SawCancel() const {
    std::lock_guard lock(mutex_);
    return sawCancel_;
  }
  bool SawThumbnailBox() const {
    std::lock_guard lock(mutex_);
    return sawThumbnail_;
  }
  // Full decodes that were handed the preview stored for their picture.
  int FullDecodesGivenTheirPreview() const {
    std::lock_guard lock(mutex_);
    return givenPreview_;
  }
  // The box of the last preview decode.
  std::pair<int32_t, int32_t> PreviewBoxSeen() const {
    std::lock_guard lock(mutex_);
    return previewBox_;
  }

 private:
  PicturePtr Decode(const PictureItem& item, const DecodeOptions& options, bool thumbnail) {
    std::unique_lock lock(mutex_);
    const std::string& key = KeyOf(item);
    calls_.push_back(key + (thumbnail ? " thumbnail" : "") + (options.preview ? " preview" : ""));
    sawThumbnail_ = sawThumbnail_ || thumbnail;
    if (options.preview) previewBox_ = {options.maxWidth, options.maxHeight};
    if (options.shownPreview && options.shownPreview->preview && options.shownPreview->key == key)
      ++givenPreview_;
    int attempt = attempts_[key]++;
    Script script = scripts_[key];
    if (script.hold && (script.previewHolds || !options.preview)) {
      holding_ = true;
      changed_.notify_all();
      // The cache raises the cancel flag without telling us; look at it now and then.
      while (!released_ && !(options.cancel != nullptr && options.cancel->load()))
        changed_.wait_for(lock, 1ms);
      sawCancel_ = sawCancel_ || (options.cancel != nullptr && options.cancel->load());
      holding_ = false;
    }
    if (script.throwOnFirstAttempt && attempt == 0) throw std::bad_alloc();
    auto picture = std::make_shared<LoadedPicture>();
    picture->key = key;
    picture->format = key + " attempt " + std::to_string(attempt + 1);  // tells attempts apart
    if (!script.errors.empty())
      picture->error = script.errors[std::min<size_t>(attempt, script.errors.size() - 1)];
    picture->cost = script.cost;
    picture->preview = options.preview && script.previewReduces;
    return picture;
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, Script> scripts_;
  std::map<std::string, int> attempts_;
  std::vector<std::string> calls_;
  bool holding_ = false;
  bool released_ = false;
  bool sawCancel_ = false;
  bool sawThumbnail_ = false;
  std::pair<int32_t, int32_t> previewBox_;
  int givenPreview_ = 0;
};

// Counts the notifier's calls so that tests can wait for stored results.
class Notices {
 public:
  PictureCache::Notifier Function() {
    return [this] {
      std::lock_guard lock(mutex_);
      ++count_;
      changed_.notify_all();
    };
  }
  bool WaitFor(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return count_ >= count; });
  }
  int Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

std::vector<PictureItem> Items(int count, const std::string& prefix = "p") {
  std::vector<PictureItem> items;
  for (int index = 0; index < count; ++index) {
    std::string name = prefix + std::to_string(index) + ".png";
    items.push_back({name, "/pictures/" + name});
  }
  return items;
}

std::string Key(int index, const std::string& prefix = "p") {
  return "/pictures/" + prefix + std::to_string(index) + ".png";
}

CacheLimits Limits(uint64_t budget, size_t maxCount = 64) {
  return {{budget, maxCount}, {kThumbnailBudget, 1500}};
}

// The test's own thread order: wants one picture and waits until it was stored.
void LoadOne(PictureCache& cache, Notices& notices, size_t index) {
  int before = notices.Count();
  cache.SetWanted({index});
  ASSERT_TRUE(notices.WaitFor(before + 1));
}

TEST(PictureCacheTest, PictureBudgetFollowsInstalledMemory) {
  const struct {
    uint64_t physical;
    uint64_t budget;
  } cases[] = {
      {16ull << 30, 2ull << 30}, {1ull << 30, 256 * kMiB}, {5ull << 30, 1ull << 30}, {0, 1ull << 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.physical);
    EXPECT_EQ(PictureBudgetFor(c.physical), c.budget);
  }
  CacheLimits limits = DefaultCacheLimits();
  EXPECT_GE(limits.pictures.budget, kMinPictureBudget);
  EXPECT_LE(limits.pictures.budget, kMaxPictureBudget);
  EXPECT_EQ(limits.pictures.maxCount, 64u);
  EXPECT_EQ(limits.thumbnails.budget, 192 * kMiB);
  EXPECT_EQ(limits.thumbnails.maxCount, 1500u);
}

TEST(PictureCacheTest, DecodesWantedPicturesInOrderAndReportsThem) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(5), nullptr, false);
  cache.SetWanted({2, 0, 7, 1});  // 7 is past the list and passed over
  ASSERT_TRUE(notices.WaitFor(3));
  EXPECT_EQ(decode.Calls(), (std::vector<std::string>{Key(2), Key(0), Key(1)}));
  EXPECT_EQ(cache.TakeFinished().pictures, (std::vector<size_t>{2, 0, 1}));
  EXPECT_TRUE(cache.TakeFinished().pictures.empty());
  ASSERT_NE(cache.Get(2), nullptr);
  EXPECT_EQ(cache.Get(2)->key, Key(2));
  EXPECT_EQ(cache.Get(3), nullptr);
  EXPECT_EQ(cache.Get(99), nullptr);
  EXPECT_EQ(cache.GetThumbnail(2), nullptr);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 300u);
}

TEST(PictureCacheTest, EvictsTheOldestStoredFirstAndIgnoresLookups) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(300));
  cache.SetList(Items(6), nullptr, false);
  for (size_t index : {0, 1, 2}) LoadOne(cache, notices, index);
  ASSERT_NE(cache.Get(0), nullptr);  // a lookup does not make picture 0 newer
  LoadOne(cache, notices, 3);
  EXPECT_EQ(cache.Get(0), nullptr);
  LoadOne(cache, notices, 4);
  EXPECT_EQ(cache.Get(1), nullptr);
  for (size_t index : {2, 3, 4}) EXPECT_NE(cache.Get(index), nullptr) << index;
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 300u);
}

TEST(PictureCacheTest, WantedPicturesStayEvenAboveTheBudget) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(150));
  cache.SetList(Items(4), nullptr, false);
  cache.SetWanted({3, 1, 2});
  ASSERT_TRUE(notices.WaitFor(3));
  for (size_t index : {1, 2, 3}) EXPECT_NE(cache.Get(index), nullptr) << index;
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 300u);
}

TEST(PictureCacheTest, SixtyFifthPictureEvictsTheOldestWithinTheBudget) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1ull << 40));
  cache.SetList(Items(65), nullptr, false);
  std::vector<size_t> first64;
  for (size_t index = 0; index < 64; ++index) first64.push_back(index);
  cache.SetWanted(first64);
  ASSERT_TRUE(notices.WaitFor(64));
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).count, 64u);
  LoadOne(cache, notices, 64);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).count, 64u);
  EXPECT_EQ(cache.Get(0), nullptr);
  EXPECT_NE(cache.Get(1), nullptr);
  EXPECT_NE(cache.Get(64), nullptr);
}

TEST(PictureCacheTest, ResultOfADecodeOverlappedByAChangeIsNeverStored) {
  const struct {
    const char* change;
    void (*apply)(PictureCache&);
  } cases[] = {
      {"new list", [](PictureCache& cache) { cache.SetList(Items(3, "q"), nullptr, false); }},
      {"same list kept", [](PictureCache& cache) { cache.SetList(Items(3), nullptr, true); }},
      {"new options", [](PictureCache& cache) { cache.SetOptions(DecodeOptions{.colorManage = false}); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    ScriptedDecode decode;
    decode.Set(Key(0), {.hold = true});
    Notices notices;
    PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
    cache.SetList(Items(3), nullptr, false);
    cache.SetWanted({0});
    ASSERT_TRUE(decode.WaitHeld());
    c.apply(cache);
    decode.Release();
    cache.SetWanted({1, 0});
    ASSERT_TRUE(notices.WaitFor(2));
    EXPECT_TRUE(decode.SawCancel());
    std::vector<size_t> finished = cache.TakeFinished().pictures;
    std::sort(finished.begin(), finished.end());
    EXPECT_EQ(finished, (std::vector<size_t>{0, 1}));
    // Index 0 holds a picture decoded after the change, never the one the change overtook.
    ASSERT_NE(cache.Get(0), nullptr);
    EXPECT_NE(cache.Get(0)->format, Key(0) + " attempt 1");
  }
}

// Paging on while a picture decodes: the decode that is no longer wanted stops at once instead of
// holding its lane, its result is dropped, and the lane goes on with what is wanted now.
TEST(PictureCacheTest, DecodeThatDroppedOutOfTheWantedListIsCancelled) {
  const struct {
    const char* lane;
    bool thumbnail;
    void (*want)(PictureCache&, size_t first, size_t count);
  } cases[] = {
      {"pictures", false,
       [](PictureCache& cache, size_t first, size_t count) {
         std::vector<size_t> wanted;
         for (size_t index = first; index < first + count; ++index) wanted.push_back(index);
         cache.SetWanted(wanted);
       }},
      {"thumbnails", true,
       [](PictureCache& cache, size_t first, size_t count) { cache.SetWantedThumbnails(first, count); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lane);
    const std::string suffix = c.thumbnail ? " thumbnail" : "";
    ScriptedDecode decode;
    decode.Set(Key(0), {.hold = true});
    Notices notices;
    PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
    cache.SetList(Items(3), nullptr, false);
    c.want(cache, 0, 1);
    ASSERT_TRUE(decode.WaitHeld());
    c.want(cache, 1, 2);
    ASSERT_TRUE(notices.WaitFor(2));
    EXPECT_TRUE(decode.SawCancel());
    EXPECT_EQ(decode.Calls(), (std::vector<std::string>{Key(0) + suffix, Key(1) + suffix, Key(2) + suffix}));
    PictureCache::Finished finished = cache.TakeFinished();
    EXPECT_EQ(c.thumbnail ? finished.thumbnails : finished.pictures, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(c.thumbnail ? cache.GetThumbnail(0) : cache.Get(0), nullptr);

    // Wanted again, it is decoded afresh rather than remembered as failed.
    decode.Release();
    c.want(cache, 0, 1);
    ASSERT_TRUE(notices.WaitFor(3));
    PicturePtr again = c.thumbnail ? cache.GetThumbnail(0) : cache.Get(0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->format, Key(0) + " attempt 2");
  }
}

// A held key pages faster than pictures decode: the picture the screen waits for must not queue behind the
// decode of one the viewer has already paged past, even when that one is still wanted for going back.
TEST(PictureCacheTest, ADecodeTheScreenDoesNotWaitForGivesWayToOneItDoes) {
  const struct {
    const char* what;
    std::vector<size_t> wanted;  // while 1 decodes, with 0 decoded already
    size_t onScreen;
    bool cancelled;
  } cases[] = {
      {"the screen waits for 2", {2, 3, 1}, 1, true},
      {"the screen waits for the spread 2, 3", {2, 3, 1}, 2, true},
      {"the screen shows 0, which is decoded", {0, 1, 2}, 1, false},
      {"1 is on screen itself", {0, 1, 2}, 2, false},
      {"nothing is on screen", {2, 3, 1}, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedDecode decode;
    decode.Set(Key(1), {.hold = true});
    Notices notices;
    PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
    cache.SetList(Items(4), nullptr, false);
    cache.SetWanted({0, 1}, 1);
    ASSERT_TRUE(decode.WaitHeld());
    cache.SetWanted(c.wanted, c.onScreen);
    decode.Release();
    ASSERT_TRUE(notices.WaitFor(c.wanted.size() + (c.wanted[0] == 0 ? 0 : 1)));
    EXPECT_EQ(decode.SawCancel(), c.cancelled);
    const std::vector<std::string> calls = decode.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2], c.cancelled ? Key(c.wanted[0]) : Key(c.wanted[0] == 0 ? 2 : c.wanted[0]));
    EXPECT_EQ(decode.Attempts(Key(1)), c.cancelled ? 2 : 1);
  }
}

TEST(PictureCacheTest, DecodeStillWantedAfterANewWantedListRunsOn) {
  ScriptedDecode decode;
  decode.Set(Key(1), {.hold = true});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(3), nullptr, false);
  cache.SetWanted({1});
  ASSERT_TRUE(decode.WaitHeld());
  cache.SetWanted({0, 1});  // moved back one page: 1 is still wanted
  decode.Release();
  ASSERT_TRUE(notices.WaitFor(2));
  EXPECT_FALSE(decode.SawCancel());
  EXPECT_EQ(cache.TakeFinished().pictures, (std::vector<size_t>{1, 0}));
  EXPECT_EQ(decode.Attempts(Key(1)), 1);
}

TEST(PictureCacheTest, PreviewsOfThePicturesOnScreenComeFirstAndTheirFullPicturesReplaceThem) {
  const struct {
    const char* name;
    size_t onScreen;
    std::vector<std::string> calls;
    std::vector<size_t> finished;
  } cases[] = {
      {"one page", 1, {Key(0) + " preview", Key(0), Key(1), Key(2)}, {0, 0, 1, 2}},
      {"two pages", 2, {Key(0) + " preview", Key(1) + " preview", Key(0), Key(1), Key(2)}, {0, 1, 0, 1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDecode decode;
    Notices notices;
    PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
    cache.SetList(Items(3), nullptr, false);
    cache.SetWanted({0, 1, 2}, c.onScreen, {1100, 760});
    ASSERT_TRUE(notices.WaitFor(int(c.finished.size())));
    EXPECT_EQ(decode.Calls(), c.calls);
    EXPECT_EQ(cache.TakeFinished().pictures, c.finished);
    EXPECT_EQ(decode.PreviewBoxSeen(), (std::pair<int32_t, int32_t>{1100, 760}));
    EXPECT_EQ(decode.FullDecodesGivenTheirPreview(), int(c.onScreen));
    for (size_t index : {0, 1, 2}) {
      ASSERT_NE(cache.Get(index), nullptr);
      EXPECT_FALSE(cache.Get(index)->preview);
    }
    // Each preview left the lane when its full picture came.
    EXPECT_EQ(cache.Usage(LaneKind::Pictures).count, 3u);
    EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 300u);
  }
}

TEST(PictureCacheTest, PreviewDecodeThatGaveTheWholePictureIsNotRepeated) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.previewReduces = false});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(2), nullptr, false);
  cache.SetWanted({0, 1}, 1, {1100, 760});
  ASSERT_TRUE(notices.WaitFor(2));
  EXPECT_EQ(decode.Calls(), (std::vector<std::string>{Key(0) + " preview", Key(1)}));
  EXPECT_FALSE(cache.Get(0)->preview);
}

// The full decode after a preview is cancelled when the picture is left behind: the preview stays as an
// ordinary evictable entry, is never taken for the full picture, and the full decode runs when the
// picture is wanted again; a new list drops a preview like any picture.
TEST(PictureCacheTest, CancelledFullDecodeAfterAPreviewLeavesThePreviewToBeCompleted) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.hold = true, .previewHolds = false});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(3), nullptr, false);
  cache.SetWanted({0}, 1, {800, 600});
  ASSERT_TRUE(decode.WaitHeld());
  ASSERT_NE(cache.Get(0), nullptr);
  EXPECT_TRUE(cache.Get(0)->preview);
  cache.SetWanted({1, 2}, 1, {800, 600});
  ASSERT_TRUE(notices.WaitFor(4));
  EXPECT_TRUE(decode.SawCancel());
  EXPECT_EQ(cache.TakeFinished().pictures, (std::vector<size_t>{0, 1, 1, 2}));
  EXPECT_EQ(decode.Calls(),
            (std::vector<std::string>{Key(0) + " preview", Key(0), Key(1) + " preview", Key(1), Key(2)}));
  ASSERT_NE(cache.Get(0), nullptr);
  EXPECT_TRUE(cache.Get(0)->preview);

  decode.Release();
  cache.SetWanted({0});  // previews off: the stored preview still needs its full picture
  ASSERT_TRUE(notices.WaitFor(5));
  ASSERT_NE(cache.Get(0), nullptr);
  EXPECT_FALSE(cache.Get(0)->preview);
  EXPECT_EQ(cache.Get(0)->format, Key(0) + " attempt 3");
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 300u);

  cache.SetList(Items(3, "q"), nullptr, false);
  cache.SetWanted({0}, 1, {800, 600});
  ASSERT_TRUE(notices.WaitFor(7));
  EXPECT_EQ(cache.Get(0)->key, Key(0, "q"));
  EXPECT_FALSE(cache.Get(0)->preview);
}

TEST(PictureCacheTest, UnreadableFileIsTriedOnceWhileTheListStays) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.errors = {LoadError::CannotRead}});
  decode.Set(Key(1), {.errors = {LoadError::Damaged}});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(100));
  cache.SetList(Items(3), nullptr, false);
  LoadOne(cache, notices, 0);
  ASSERT_NE(cache.Get(0), nullptr);
  EXPECT_EQ(cache.Get(0)->error, LoadError::CannotRead);
  LoadOne(cache, notices, 1);  // evicts 0; 1 is damaged but stored like any picture
  LoadOne(cache, notices, 2);  // evicts 1
  cache.SetWanted({0, 1});
  ASSERT_TRUE(notices.WaitFor(4));
  EXPECT_EQ(decode.Attempts(Key(0)), 1);
  EXPECT_EQ(decode.Attempts(Key(1)), 2);
  cache.SetList(Items(3), nullptr, true);  // a re-sort keeps the failed keys
  cache.SetWanted({0});
  LoadOne(cache, notices, 2);
  EXPECT_EQ(decode.Attempts(Key(0)), 1);
  cache.SetList(Items(3), nullptr, false);  // opening the folder again forgets them
  LoadOne(cache, notices, 0);
  EXPECT_EQ(decode.Attempts(Key(0)), 2);
}

TEST(PictureCacheTest, KeepingTheListDropsOnlyPicturesWhoseKeysAreGone) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(3), nullptr, false);
  cache.SetWanted({0, 1, 2});
  ASSERT_TRUE(notices.WaitFor(3));
  std::vector<PictureItem> renamed = Items(3);
  std::swap(renamed[0], renamed[2]);
  renamed[1] = {"renamed.png", "/pictures/renamed.png"};
  cache.SetList(renamed, nullptr, true);
  EXPECT_EQ(cache.Get(0)->key, Key(2));
  EXPECT_EQ(cache.Get(1), nullptr);
  EXPECT_EQ(cache.Get(2)->key, Key(0));
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 200u);
  EXPECT_TRUE(cache.TakeFinished().pictures.empty());
  cache.SetList({}, nullptr, false);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).count, 0u);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 0u);
}

TEST(PictureCacheTest, OutOfMemoryLowersTheBudgetAndRetries) {
  ScriptedDecode decode;
  for (int index = 0; index < 4; ++index) decode.Set(Key(index), {.cost = 300 * kMiB});
  decode.Set(Key(3), {.cost = 300 * kMiB, .errors = {LoadError::OutOfMemory, LoadError::None}});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1024 * kMiB));
  cache.SetList(Items(4), nullptr, false);
  for (size_t index : {0, 1, 2}) LoadOne(cache, notices, index);
  LoadOne(cache, notices, 3);
  EXPECT_EQ(decode.Attempts(Key(3)), 2);
  ASSERT_NE(cache.Get(3), nullptr);
  EXPECT_EQ(cache.Get(3)->error, LoadError::None);
  LaneUsage usage = cache.Usage(LaneKind::Pictures);
  EXPECT_EQ(usage.budget, 512 * kMiB);
  EXPECT_EQ(usage.count, 1u);  // 0 and 1 made room for the retry; storing 3 pushed 2 out
  cache.SetList(Items(4), nullptr, false);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).budget, 512 * kMiB);  // lowered for good
}

TEST(PictureCacheTest, OutOfMemoryWithNothingToFreeIsRememberedAsFailed) {
  const struct {
    const char* name;
    std::vector<size_t> wantedBefore;  // loaded first
    std::vector<size_t> wanted;
  } cases[] = {
      {"empty lane", {}, {1}},
      {"only wanted pictures held", {0}, {0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDecode decode;
    decode.Set(Key(1), {.errors = {LoadError::OutOfMemory}});
    Notices notices;
    PictureCache cache(notices.Function(), decode.Function(), Limits(100 * kMiB));
    cache.SetList(Items(3), nullptr, false);
    int stored = 0;
    if (!c.wantedBefore.empty()) {
      cache.SetWanted(c.wantedBefore);
      ASSERT_TRUE(notices.WaitFor(++stored));
    }
    cache.SetWanted(c.wanted);
    ASSERT_TRUE(notices.WaitFor(++stored));
    LoadOne(cache, notices, 2);
    EXPECT_EQ(decode.Attempts(Key(1)), 1);
    ASSERT_NE(cache.Get(1), nullptr);
    EXPECT_EQ(cache.Get(1)->error, LoadError::OutOfMemory);
  }
}

TEST(PictureCacheTest, AllocationFailureEscapingTheDecodeIsAnOutOfMemoryResult) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.throwOnFirstAttempt = true});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(2), nullptr, false);
  LoadOne(cache, notices, 0);
  ASSERT_NE(cache.Get(0), nullptr);
  EXPECT_EQ(cache.Get(0)->error, LoadError::OutOfMemory);
  LoadOne(cache, notices, 1);  // the loader lives on
  EXPECT_NE(cache.Get(1), nullptr);
  EXPECT_EQ(decode.Attempts(Key(0)), 1);
}

TEST(PictureCacheTest, LoweringASmallBudgetSetsTheFloor) {
  ScriptedDecode decode;
  decode.Set(Key(1), {.errors = {LoadError::OutOfMemory, LoadError::None}});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(200 * kMiB));
  cache.SetList(Items(2), nullptr, false);
  LoadOne(cache, notices, 0);
  LoadOne(cache, notices, 1);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).budget, 128 * kMiB);
  EXPECT_EQ(decode.Attempts(Key(1)), 1);  // nothing could be freed: given up, not retried
}

TEST(PictureCacheTest, ThumbnailLaneHasItsOwnWantedRangeAndStore) {
  ScriptedDecode decode;
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(5), nullptr, false);
  cache.SetWantedThumbnails(3, 10);  // cut at the end of the list
  ASSERT_TRUE(notices.WaitFor(2));
  EXPECT_EQ(decode.Calls(), (std::vector<std::string>{Key(3) + " thumbnail", Key(4) + " thumbnail"}));
  EXPECT_EQ(cache.TakeFinished().thumbnails, (std::vector<size_t>{3, 4}));
  EXPECT_NE(cache.GetThumbnail(4), nullptr);
  EXPECT_EQ(cache.Get(4), nullptr);
  EXPECT_EQ(cache.Usage(LaneKind::Thumbnails).usedBytes, 200u);
  EXPECT_EQ(cache.Usage(LaneKind::Pictures).usedBytes, 0u);
}

TEST(PictureCacheTest, ThumbnailsDoNotWaitBehindAPictureDecode) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.hold = true});
  Notices notices;
  PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
  cache.SetList(Items(2), nullptr, false);
  cache.SetWanted({0});
  ASSERT_TRUE(decode.WaitHeld());
  cache.SetWantedThumbnails(1, 1);
  ASSERT_TRUE(notices.WaitFor(1));
  EXPECT_NE(cache.GetThumbnail(1), nullptr);
  decode.Release();
  ASSERT_TRUE(notices.WaitFor(2));
  EXPECT_NE(cache.Get(0), nullptr);
}

TEST(PictureCacheTest, DestructionDuringADecodeCancelsItAndJoinsPromptly) {
  ScriptedDecode decode;
  decode.Set(Key(0), {.hold = true});
  Notices notices;
  auto started = std::chrono::steady_clock::now();
  {
    PictureCache cache(notices.Function(), decode.Function(), Limits(1 << 20));
    cache.SetList(Items(1), nullptr, false);
    cache.SetWanted({0});
    ASSERT_TRUE(decode.WaitHeld());
    started = std::chrono::steady_clock::now();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
  EXPECT_TRUE(decode.SawCancel());
  EXPECT_EQ(notices.Count(), 0);
}

// The cancel flag must travel through the real decode pipeline to the animation composer, so that
// closing the viewer during a long animation's decode does not wait for all of its frames.
TEST(PictureCacheTest, DestructionStopsARealAnimationDecodeBetweenFrames) {
  constexpr int kFrames = 300, kSide = 256;
  Quarlo::Test::TestGif file{kSide, kSide, true, {}};
  for (int frame = 0; frame < kFrames; ++frame) {
    Quarlo::Test::TestGifFrame picture = Quarlo::Test::FilledGifFrame(0, 0, kSide, kSide, 0);
    for (size_t at = 0; at < picture.indices.size(); ++at)
      picture.indices[at] = uint8_t((at / (frame + 1) + at) % 4);
    file.frames.push_back(std::move(picture));
  }
  Quarlo::Test::TempFolder folder;
  std::string path = folder.AddFile("long.gif", Quarlo::Test::EncodeGif(file));

  auto started = std::chrono::steady_clock::now();
  PicturePtr whole = LoadPictureFile(path, DecodeOptions{});
  auto wholeTime = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(whole->frames.size(), size_t(kFrames));

  std::mutex mutex;
  std::condition_variable changed;
  bool decoding = false;
  std::chrono::steady_clock::duration cancelledTime{};
  size_t cancelledFrames = 0;
  auto decode = [&](const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                    bool thumbnail) {
    {
      std::lock_guard lock(mutex);
      decoding = true;
      changed.notify_all();
    }
    auto begun = std::chrono::steady_clock::now();
    PicturePtr picture = LoadPicture(item, reader, options, thumbnail);
    std::lock_guard lock(mutex);
    cancelledTime = std::chrono::steady_clock::now() - begun;
    cancelledFrames = picture->frames.size();
    return picture;
  };
  {
    PictureCache cache(nullptr, decode, Limits(1ull << 30));
    cache.SetList({{"long.gif", path}}, nullptr, false);
    cache.SetWanted({0});
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, kPatience, [&] { return decoding; }));
    lock.unlock();
    std::this_thread::sleep_for(wholeTime / 10);
  }
  EXPECT_LT(cancelledTime, wholeTime / 2);
  EXPECT_LT(cancelledFrames, size_t(kFrames));
}

}  // namespace

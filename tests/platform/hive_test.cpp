#include "platform/registry/hive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/concurrent_processes.h"

namespace {

using namespace Quarlo::Platform;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class HiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quarlo_hive_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    file_ = (folder_ / "quarloview" / "registry.txt").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  HiveKey MustCreate(Hive& hive, const char* path) {
    HiveResult<HiveKey> key = hive.Root().Create(path);
    EXPECT_EQ(key.status, HiveStatus::Ok) << path;
    return key.value;
  }

  fs::path folder_;
  std::string file_;
};

// A key path of depth components, each the given name.
std::string NestedPath(size_t depth, std::string_view name) {
  std::string path(name);
  for (size_t level = 1; level < depth; ++level) (path += '\\') += name;
  return path;
}

// Bytes that a careless text format would break: separators, quotes, escapes, invalid UTF-8.
const std::string kHostile =
    std::string("tab\there\nnew line\r\\back\"quote\"%41 % 100%") +
    "\xff\xfe bad, \xc0\xaf overlong, \xed\xa0\x80 surrogate, \xe2\x82 cut, 사진, \x7f\x01";

TEST_F(HiveTest, EveryTypeRoundTripsThroughTheFile) {
  HiveBytes allBytes;
  for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<uint8_t>(b));
  const std::vector<std::pair<std::string, HiveValue>> values = {
      {"Zero", uint32_t{0}},
      {"MaxDword", uint32_t{0xFFFFFFFF}},
      {"MaxQword", uint64_t{0xFFFFFFFFFFFFFFFF}},
      {"Empty", std::string()},
      {"Hostile", kHostile},
      {"Bytes", allBytes},
      {"NoBytes", HiveBytes()},
      {"NoStrings", HiveStrings()},
      {"Strings", HiveStrings{"first", "", kHostile, " indented", "#not a comment"}},
      {kHostile, std::string("a name made of hostile bytes")},
      {"", std::string("the default value")},
  };
  {
    Hive hive(file_);
    HiveKey key = MustCreate(hive, "Software\\Quarlo \"View\" [1] %20\\Keys");
    for (const auto& [name, value] : values) EXPECT_EQ(key.Set(name, value), HiveStatus::Ok) << name;
  }
  Hive reopened(file_);
  HiveResult<HiveKey> key = reopened.Root().Open("Software\\Quarlo \"View\" [1] %20\\Keys");
  ASSERT_TRUE(key.Ok());
  for (const auto& [name, value] : values) {
    HiveResult<HiveValue> read = key.value.Get(name);
    ASSERT_TRUE(read.Ok()) << name;
    EXPECT_EQ(TypeOf(read.value), TypeOf(value)) << name;
    EXPECT_EQ(read.value, value) << name;
  }
  std::vector<std::string> names;
  for (const auto& entry : values) names.push_back(entry.first);
  EXPECT_EQ(key.value.ValueNames().value, names);
}

TEST_F(HiveTest, FileIsTextAPersonCanRead) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "Software\\QuarloView");
  key.Set("Language", uint32_t{2});
  key.Set("Recent", HiveStrings{"/home/me/a.cbz", "/home/me/tab\there"});
  EXPECT_EQ(
      ReadFile(file_),
      "QuarloView hive 1\n"
      "# The per-user store of QuarloView. In quoted text, %XX stands for the byte with that hex value.\n"
      "\n[\"Software\"]\n"
      "\n[\"Software\\QuarloView\"]\n"
      "\"Language\" = dword 2\n"
      "\"Recent\" = multi_sz\n"
      "  \"/home/me/a.cbz\"\n"
      "  \"/home/me/tab%09here\"\n");
}

TEST_F(HiveTest, NamesIgnoreAsciiCaseAndKeepTheirSpelling) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "Software\\QuarloView");
  ASSERT_EQ(key.Set("Language", uint32_t{1}), HiveStatus::Ok);
  ASSERT_EQ(key.Set("LANGUAGE", uint32_t{2}), HiveStatus::Ok);
  ASSERT_EQ(key.Set("Theme", uint32_t{1}), HiveStatus::Ok);

  HiveResult<HiveKey> upper = hive.Root().Open("SOFTWARE\\quarloVIEW");
  ASSERT_TRUE(upper.Ok());
  EXPECT_EQ(upper.value.GetDword("language").value, 2u);
  EXPECT_EQ(upper.value.ValueNames().value, (std::vector<std::string>{"Language", "Theme"}));
  EXPECT_EQ(MustCreate(hive, "software\\QUARLOVIEW").Path(), "software\\QUARLOVIEW");
  EXPECT_EQ(hive.Root().Open("Software").value.SubkeyNames().value, std::vector<std::string>{"QuarloView"});

  // Only ASCII letters fold; other letters are distinct names.
  key.Set("\xc3\x89t\xc3\xa9", uint32_t{1});  // "Été"
  EXPECT_EQ(key.GetDword("\xc3\xa9t\xc3\xa9").status, HiveStatus::NotFound);
}

TEST_F(HiveTest, SubkeysListInCaseInsensitiveOrder) {
  Hive hive(file_);
  for (const char* name : {"b", "C", "a", "B2"}) MustCreate(hive, (std::string("Root\\") + name).c_str());
  EXPECT_EQ(hive.Root().Open("Root").value.SubkeyNames().value,
            (std::vector<std::string>{"a", "b", "B2", "C"}));
}

TEST_F(HiveTest, TypedReadsFollowTheRegistryRules) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  key.Set("Text", std::string("1"));
  key.Set("List", HiveStrings{"a", "b", "", "after the end"});
  key.Set("Number", uint32_t{7});

  EXPECT_EQ(key.GetDword("Text").status, HiveStatus::WrongType);
  EXPECT_EQ(key.GetString("Number").status, HiveStatus::WrongType);
  EXPECT_EQ(key.GetStrings("Text").status, HiveStatus::WrongType);
  EXPECT_EQ(key.GetDword("Missing").status, HiveStatus::NotFound);
  EXPECT_EQ(key.GetDword("Number").value, 7u);
  EXPECT_EQ(key.GetStrings("List").value, (HiveStrings{"a", "b"}));
  EXPECT_EQ(std::get<HiveStrings>(key.Get("List").value).size(), 4u);  // stored whole
}

TEST_F(HiveTest, BadNamesAndHandlesAreRefused) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  const std::string nul("a\0b", 3);
  EXPECT_EQ(key.Set(nul, uint32_t{1}), HiveStatus::InvalidParameter);
  EXPECT_EQ(key.Set("Sz", nul), HiveStatus::InvalidParameter);
  EXPECT_EQ(key.Set("Multi", HiveStrings{"ok", nul}), HiveStatus::InvalidParameter);
  for (const char* path : {"a\\\\b", "\\a", "a\\"}) {
    EXPECT_EQ(key.Create(path).status, HiveStatus::InvalidParameter) << path;
    EXPECT_EQ(key.Open(path).status, HiveStatus::InvalidParameter) << path;
  }
  EXPECT_EQ(key.DeleteTree(""), HiveStatus::InvalidParameter);
  HiveKey closed;
  EXPECT_EQ(closed.Get("x").status, HiveStatus::NotOpen);
  EXPECT_EQ(closed.Set("x", uint32_t{1}), HiveStatus::NotOpen);
  EXPECT_EQ(closed.Open("").status, HiveStatus::NotOpen);
  EXPECT_EQ(key.ValueNames().value, std::vector<std::string>{});
}

TEST_F(HiveTest, DeleteTreeRemovesEverythingBelow) {
  Hive hive(file_);
  HiveKey deep = MustCreate(hive, "A\\B\\C");
  deep.Set("V", uint32_t{1});
  MustCreate(hive, "A\\B2").Set("W", uint32_t{2});

  EXPECT_EQ(hive.Root().DeleteTree("a\\b"), HiveStatus::Ok);
  Hive reopened(file_);
  EXPECT_EQ(reopened.Root().Open("A\\B").status, HiveStatus::NotFound);
  EXPECT_EQ(reopened.Root().Open("A\\B2").value.GetDword("W").value, 2u);
  EXPECT_EQ(hive.Root().DeleteTree("A\\Missing"), HiveStatus::Ok);
  EXPECT_EQ(hive.Root().Open("A").value.DeleteValue("Missing"), HiveStatus::Ok);

  // A handle to a deleted key reads and writes nothing.
  EXPECT_EQ(deep.Get("V").status, HiveStatus::NotFound);
  EXPECT_EQ(deep.Set("V", uint32_t{3}), HiveStatus::NotFound);
  EXPECT_EQ(deep.Create("D").status, HiveStatus::NotFound);
  EXPECT_EQ(hive.Root().Open("A\\B").status, HiveStatus::NotFound);
}

TEST_F(HiveTest, ChangesReReadTheFileFirst) {
  Hive first(file_);
  Hive second(file_);
  HiveKey a = MustCreate(first, "K");
  ASSERT_EQ(a.Set("FromFirst", uint32_t{1}), HiveStatus::Ok);
  HiveKey b = MustCreate(second, "K");
  ASSERT_EQ(b.Set("FromSecond", uint32_t{2}), HiveStatus::Ok);
  ASSERT_EQ(a.Set("AgainFirst", uint32_t{3}), HiveStatus::Ok);

  EXPECT_EQ(b.GetDword("AgainFirst").value, 3u);
  EXPECT_EQ(a.GetDword("FromSecond").value, 2u);
  EXPECT_EQ(Hive(file_).Root().Open("K").value.ValueNames().value,
            (std::vector<std::string>{"FromFirst", "FromSecond", "AgainFirst"}));
}

TEST_F(HiveTest, BatchWritesItsChangesTogether) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  {
    HiveBatch batch(hive);
    EXPECT_EQ(key.Set("One", uint32_t{1}), HiveStatus::Ok);
    EXPECT_EQ(key.Create("Sub").status, HiveStatus::Ok);
    EXPECT_EQ(key.GetDword("One").value, 1u);  // the batch sees its own changes
    EXPECT_EQ(Hive(file_).Root().Open("K").value.GetDword("One").status, HiveStatus::NotFound);
    EXPECT_EQ(batch.Commit(), HiveStatus::Ok);
    EXPECT_EQ(batch.Commit(), HiveStatus::Ok);
  }
  Hive reopened(file_);
  EXPECT_EQ(reopened.Root().Open("K").value.GetDword("One").value, 1u);
  EXPECT_TRUE(reopened.Root().Open("K\\Sub").Ok());
}

// Each child process writes its own keys, one change at a time and in batches, while the other does
// the same; every key of both must be in the file afterwards.
TEST_F(HiveTest, TwoProcessesChangingTheHiveAtOnceKeepEachOthersKeys) {
  constexpr int kChanges = 40;
  EXPECT_TRUE(Quarlo::Test::RunConcurrently(2, [&](int child) {
    Hive hive(file_);
    HiveResult<HiveKey> key = hive.Root().Create("Process" + std::to_string(child));
    bool ok = key.Ok();
    for (int i = 0; i < kChanges; ++i) {
      ok = ok && key.value.Set("Value" + std::to_string(i), uint32_t(i)) == HiveStatus::Ok;
      HiveBatch batch(hive);
      ok = ok && key.value.Set("Batch" + std::to_string(i), HiveStrings{"x"}) == HiveStatus::Ok;
      ok = ok && batch.Commit() == HiveStatus::Ok;
    }
    return ok;
  }));
  Hive hive(file_);
  for (int child = 0; child < 2; ++child) {
    HiveResult<HiveKey> key = hive.Root().Open("Process" + std::to_string(child));
    ASSERT_TRUE(key.Ok());
    EXPECT_EQ(key.value.ValueNames().value.size(), size_t{2 * kChanges});
    EXPECT_EQ(key.value.GetDword("Value" + std::to_string(kChanges - 1)).value, uint32_t{kChanges - 1});
  }
}

// One hive object shared by the interface thread (saving in batches) and a background thread (as
// the usage client writes its id) while a third thread reads.
TEST_F(HiveTest, ThreadsSharingOneHiveKeepEveryChange) {
  constexpr int kChanges = 30;
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  std::thread batches([&] {
    for (int i = 0; i < kChanges; ++i) {
      HiveBatch batch(hive);
      key.Set("Batch" + std::to_string(i), uint32_t(i));
      key.Set("Shared", std::string("batch"));
      EXPECT_EQ(batch.Commit(), HiveStatus::Ok);
    }
  });
  std::thread singles([&] {
    for (int i = 0; i < kChanges; ++i)
      EXPECT_EQ(key.Set("Single" + std::to_string(i), uint32_t(i)), HiveStatus::Ok);
  });
  std::thread reader([&] {
    for (int i = 0; i < kChanges; ++i) EXPECT_TRUE(key.ValueNames().Ok());
  });
  batches.join();
  singles.join();
  reader.join();
  EXPECT_EQ(Hive(file_).Root().Open("K").value.ValueNames().value.size(), size_t{2 * kChanges + 1});
}

TEST_F(HiveTest, DamagedFileIsKeptAsideAndTheHiveStartsEmpty) {
  const std::string good = "QuarloView hive 1\n[\"K\"]\n";
  // DEL is written back as %7f: three bytes for one.
  std::string escapedTooLarge = good;
  for (const char* name : {"A", "B", "C"})
    escapedTooLarge +=
        std::string("\"") + name + "\" = sz \"" + std::string(kMaxValueDataBytes - 1, '\x7f') + "\"\n";
  const std::vector<std::string> damaged = {
      "",
      "garbage\n",
      "QuarloView hive 2\n[\"K\"]\n",
      good + "\"V\" = dword 4294967296\n",
      good + "\"V\" = dword -1\n",
      good + "\"V\" = sz \"unterminated\n",
      good + "\"V\" = sz \"bad escape %zz\"\n",
      good + "\"V\" = binary 0g\n",
      good + "\"V\" = binary 012\n",
      good + "\"V\" = dword 1\n\"v\" = dword 2\n",
      good + "\"V\" = sz \"a\"\n  \"continuation of a string\"\n",
      good + "\"V\" = float 1.5\n",
      good + "\"V\" = sz \"a\" trailing\n",
      good + "\"V\" = sz \"nul %00 inside\"\n",
      good + "[\"A\\\\B\"]\n",
      good + "[\"\"]\n",
      std::string("QuarloView hive 1\n\"V\" = binary \xff\n"),
      // Past the registry's limits: key depth, key and value name lengths, value data.
      good + "[\"" + NestedPath(100000, "a") + "\"]\n",
      good + "[\"" + NestedPath(513, "a") + "\"]\n",
      good + "[\"" + std::string(256, 'n') + "\"]\n",
      good + "\"" + std::string(16384, 'v') + "\" = dword 1\n",
      good + "\"V\" = binary " + std::string(2 * (kMaxValueDataBytes + 1), 'a') + "\n",
      // Within every limit, but too large to write back: the keys' paths alone, or values whose
      // bytes the text escapes.
      escapedTooLarge,
      good + "[\"" + NestedPath(512, std::string(255, 'a')) + "\"]\n[\"" +
          NestedPath(512, std::string(255, 'b')) + "\"]\n",
  };
  for (const std::string& bytes : damaged) {
    SCOPED_TRACE(bytes.substr(0, 100));
    fs::remove_all(folder_ / "quarloview");
    WriteFile(file_, bytes);
    Hive hive(file_);
    EXPECT_EQ(hive.Root().Open("K").status, HiveStatus::NotFound);
    const std::string aside = hive.KeptAsidePath();
    ASSERT_FALSE(aside.empty());
    EXPECT_TRUE(aside.starts_with(file_ + ".damaged-"));
    EXPECT_EQ(ReadFile(aside), bytes);

    // The hive works again, and a second damaged file gets a name of its own.
    ASSERT_EQ(MustCreate(hive, "K").Set("V", uint32_t{1}), HiveStatus::Ok);
    EXPECT_EQ(Hive(file_).Root().Open("K").value.GetDword("V").value, 1u);
    WriteFile(file_, bytes);
    Hive again(file_);
    EXPECT_EQ(again.Root().Open("K").status, HiveStatus::NotFound);
    EXPECT_NE(again.KeptAsidePath(), aside);
    EXPECT_EQ(ReadFile(again.KeptAsidePath()), bytes);
  }
}

// The registry's own limits: keys 512 levels deep, key names of 255 and value names of 16,383
// (bytes here), and a cap on each value's data. Requests beyond them are refused and change nothing.
TEST_F(HiveTest, RegistryLimitsHoldAtTheEdgeAndRefuseBeyondIt) {
  Hive hive(file_);
  HiveKey deepest = MustCreate(hive, NestedPath(512, "k").c_str());
  EXPECT_EQ(deepest.Create("beyond").status, HiveStatus::InvalidParameter);
  EXPECT_EQ(hive.Root().Create(NestedPath(513, "k")).status, HiveStatus::InvalidParameter);
  EXPECT_EQ(hive.Root().Open(NestedPath(513, "k")).status, HiveStatus::InvalidParameter);
  EXPECT_EQ(hive.Root().DeleteTree(NestedPath(513, "k")), HiveStatus::InvalidParameter);

  const std::string keyName(255, 'n'), valueName(16383, 'v');
  HiveKey names = MustCreate(hive, ("Names\\" + keyName).c_str());
  EXPECT_EQ(hive.Root().Create("Names\\" + keyName + "n").status, HiveStatus::InvalidParameter);
  EXPECT_EQ(names.Set(valueName, uint32_t{1}), HiveStatus::Ok);
  EXPECT_EQ(names.Set(valueName + "v", uint32_t{1}), HiveStatus::InvalidParameter);
  EXPECT_EQ(names.Get(valueName + "v").status, HiveStatus::InvalidParameter);

  Hive reopened(file_);
  HiveResult<HiveKey> deep = reopened.Root().Open(NestedPath(512, "k"));
  ASSERT_TRUE(deep.Ok());
  EXPECT_TRUE(deep.value.SubkeyNames().value.empty());
  EXPECT_EQ(reopened.Root().Open("Names\\" + keyName).value.ValueNames().value,
            std::vector<std::string>{valueName});
  EXPECT_TRUE(reopened.KeptAsidePath().empty());
}

// Data sizes count as the registry counts them: a string with its NUL, a multi-string with one NUL
// per string and a last one.
TEST_F(HiveTest, ValueDataAboveTheCapIsRefused) {
  const size_t cap = kMaxValueDataBytes;
  const struct {
    const char* type;
    HiveValue largest, tooLarge;
  } cases[] = {
      {"binary", HiveBytes(cap, 7), HiveBytes(cap + 1, 7)},
      {"sz", std::string(cap - 1, 's'), std::string(cap, 's')},
      {"multi_sz", HiveStrings{std::string(cap - 3, 'm'), ""}, HiveStrings{std::string(cap - 2, 'm'), ""}},
  };
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  {
    HiveBatch batch(hive);  // one write of the file for all of them
    for (const auto& c : cases) EXPECT_EQ(key.Set(c.type, c.largest), HiveStatus::Ok) << c.type;
    ASSERT_EQ(batch.Commit(), HiveStatus::Ok);
  }
  for (const auto& c : cases) EXPECT_EQ(key.Set(c.type, c.tooLarge), HiveStatus::TooLarge) << c.type;
  Hive reopened(file_);
  HiveKey reread = reopened.Root().Open("K").value;
  for (const auto& c : cases) EXPECT_TRUE(reread.Get(c.type).value == c.largest) << c.type;
}

TEST_F(HiveTest, HandWrittenFileWithCommentsAndLooseSpacingLoads) {
  WriteFile(file_,
            "QuarloView hive 1\r\n"
            "# a comment\n"
            "\"RootValue\"=dword 5\n"
            "\n"
            "   \t\n"
            "[ \"A\\B\" ]\n"
            "\"S\"   =   sz   \"x%2525\"\n"
            "\"Bin\" = binary\n"
            "\"L\" = multi_sz\n"
            "\t\"one\"\n"
            "\"Q\" = qword 007\n"
            "[\"a\"]\n"
            "\"More\" = sz \"\"\n");
  Hive hive(file_);
  EXPECT_EQ(hive.Root().GetDword("RootValue").value, 5u);
  HiveKey key = hive.Root().Open("A\\B").value;
  EXPECT_EQ(key.GetString("S").value, "x%25");
  EXPECT_EQ(key.Get("Bin").value, HiveValue(HiveBytes()));
  EXPECT_EQ(key.GetStrings("L").value, HiveStrings{"one"});
  EXPECT_EQ(key.Get("Q").value, HiveValue(uint64_t{7}));
  EXPECT_TRUE(hive.Root().Open("A").value.GetString("More").Ok());
  EXPECT_TRUE(hive.KeptAsidePath().empty());
}

TEST_F(HiveTest, UnusableFolderGivesAClearFailure) {
  WriteFile(folder_ / "plain-file", "not a folder");
  Hive hive((folder_ / "plain-file" / "quarloview" / "registry.txt").string());
  EXPECT_EQ(hive.Root().Open("K").status, HiveStatus::NotFound);
  EXPECT_EQ(hive.Root().Create("K").status, HiveStatus::IoError);
  EXPECT_EQ(hive.Root().Set("V", uint32_t{1}), HiveStatus::IoError);
  HiveBatch batch(hive);
  EXPECT_EQ(hive.Root().Set("V", uint32_t{1}), HiveStatus::IoError);
  EXPECT_EQ(batch.Commit(), HiveStatus::IoError);

  Hive nowhere("");
  EXPECT_EQ(nowhere.Root().Open("K").status, HiveStatus::NotFound);
  EXPECT_EQ(nowhere.Root().Create("K").status, HiveStatus::IoError);
}

TEST_F(HiveTest, ReadOnlyFolderKeepsTheFileAndFailsChanges) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  Hive writer(file_);
  MustCreate(writer, "K").Set("V", uint32_t{1});
  const fs::path folder = fs::path(file_).parent_path();
  const std::string before = ReadFile(file_);
  chmod(folder.c_str(), 0500);
  Hive hive(file_);
  EXPECT_EQ(hive.Root().Open("K").value.GetDword("V").value, 1u);
  EXPECT_EQ(hive.Root().Create("New").status, HiveStatus::IoError);
  chmod(folder.c_str(), 0700);
  EXPECT_EQ(ReadFile(file_), before);

  // A damaged file that cannot be moved aside reads as an empty hive and is never replaced.
  WriteFile(file_, "damaged");
  chmod(folder.c_str(), 0500);
  Hive damaged(file_);
  EXPECT_EQ(damaged.Root().Open("K").status, HiveStatus::NotFound);
  EXPECT_EQ(damaged.Root().Create("K").status, HiveStatus::IoError);
  EXPECT_TRUE(damaged.KeptAsidePath().empty());
  chmod(folder.c_str(), 0700);
  EXPECT_EQ(ReadFile(file_), "damaged");
}

TEST_F(HiveTest, UnreadableFileIsNeverReplacedWithoutTheLock) {
  // A folder in place of the file cannot be read; without the lock it cannot be moved aside safely,
  // so reads see an empty hive and changes fail rather than replace it.
  fs::create_directories(file_);
  WriteFile(fs::path(file_) / "inside", "kept");
  fs::create_directories(file_ + ".lock");
  Hive hive(file_);
  EXPECT_EQ(hive.Root().Open("K").status, HiveStatus::NotFound);
  EXPECT_NE(hive.Root().Create("K").status, HiveStatus::Ok);
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(ReadFile(fs::path(file_) / "inside"), "kept");
}

TEST_F(HiveTest, PipeInPlaceOfTheFileDoesNotHang) {
  fs::create_directories(fs::path(file_).parent_path());
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  Hive hive(file_);
  EXPECT_EQ(hive.Root().Open("K").status, HiveStatus::NotFound);
  EXPECT_FALSE(hive.KeptAsidePath().empty());
  EXPECT_EQ(MustCreate(hive, "K").Set("V", uint32_t{1}), HiveStatus::Ok);
}

TEST_F(HiveTest, OversizedChangeIsRefusedAndTheFileStays) {
  Hive hive(file_);
  HiveKey key = MustCreate(hive, "K");
  key.Set("Small", uint32_t{1});
  const std::string before = ReadFile(file_);
  EXPECT_EQ(key.Set("Huge", HiveBytes(33u << 20, 0xAB)), HiveStatus::TooLarge);
  EXPECT_EQ(ReadFile(file_), before);
  EXPECT_EQ(key.Get("Huge").status, HiveStatus::NotFound);
  EXPECT_EQ(key.GetDword("Small").value, 1u);
}

TEST_F(HiveTest, LockHeldElsewhereMakesChangesBusyButNotReads) {
  Hive writer(file_);
  MustCreate(writer, "K").Set("V", uint32_t{1});
  // flock locks of two open descriptions exclude each other even within one process.
  int held = open((file_ + ".lock").c_str(), O_RDWR);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  Hive hive(file_);
  EXPECT_EQ(hive.Root().Open("K").value.GetDword("V").value, 1u);
  EXPECT_EQ(hive.Root().Open("K").value.Set("V", uint32_t{2}), HiveStatus::Busy);
  close(held);
  EXPECT_EQ(hive.Root().Open("K").value.Set("V", uint32_t{2}), HiveStatus::Ok);
}

TEST_F(HiveTest, SymbolicLinkToTheFileSurvivesChanges) {
  const fs::path target = folder_ / "dotfiles" / "registry.txt";
  WriteFile(target, "QuarloView hive 1\n");
  fs::create_directories(fs::path(file_).parent_path());
  fs::create_symlink(target, file_);
  Hive hive(file_);
  ASSERT_EQ(MustCreate(hive, "K").Set("V", uint32_t{3}), HiveStatus::Ok);
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_NE(ReadFile(target).find("\"V\" = dword 3"), std::string::npos);
  EXPECT_EQ(Hive(file_).Root().Open("K").value.GetDword("V").value, 3u);
}

TEST(UserHivePathTest, FollowsXdgConfigHomeElseHome) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string restore = savedConfig ? savedConfig : "";
  setenv("XDG_CONFIG_HOME", "/tmp/config-here", 1);
  EXPECT_EQ(UserHivePath(), "/tmp/config-here/quarloview/registry.txt");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    EXPECT_EQ(UserHivePath(), std::string(home) + "/.config/quarloview/registry.txt");
  }
  if (savedConfig) {
    setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace

#include "core/picture_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "core/file_time.h"
#include "support/special_files.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace Quarlo::View {
namespace {

using Quarlo::Test::TempFolder;

std::vector<std::string> Names(const PictureList& list) {
  std::vector<std::string> names;
  for (const PictureItem& item : list.items) names.push_back(item.name);
  return names;
}

void SetModified(const std::string& path, int64_t unixSeconds) {
  timespec times[2] = {{unixSeconds, 0}, {unixSeconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

PictureItem Item(std::string name, uint64_t size, int64_t modified) {
  PictureItem item;
  item.path = "/pictures/" + name;
  item.name = std::move(name);
  item.size = size;
  item.modified = modified;
  return item;
}

TEST(OpenSource, ListsTheFolderPicturesInNaturalOrder) {
  TempFolder folder;
  folder.AddFile("10.jpg", "ten bytes!");
  folder.AddFile("2.jpg");
  folder.AddFile("1.JPG");
  folder.AddFile("notes.txt");
  folder.AddFile(".hidden.png");
  folder.AddFolder("folder.jpg");
  folder.AddFile("sub/3.jpg");
  SetModified(folder.At("10.jpg"), 1700000000);

  OpenedSource opened = OpenSource(folder.Path() + "/", "");
  ASSERT_TRUE(opened.outcome.succeeded);
  EXPECT_EQ(opened.outcome.startIndex, 0u);
  EXPECT_EQ(opened.outcome.archiveStatus, ZipStatus::Ok);
  const PictureList& list = opened.list;
  EXPECT_EQ(list.kind, SourceKind::Folder);
  EXPECT_EQ(list.location, folder.Path());
  EXPECT_EQ(list.reader, nullptr);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"1.JPG", "2.jpg", "10.jpg"}));
  const PictureItem& ten = list.items[2];
  EXPECT_EQ(ten.path, folder.At("10.jpg"));
  EXPECT_EQ(ten.size, 10u);
  EXPECT_EQ(ten.modified, FileTimeFromUnix(1700000000, 0));
  EXPECT_EQ(ten.entryIndex, 0u);
}

TEST(OpenSource, OpenedFileJoinsItsFolderListEvenWhenHiddenOrNotAPicture) {
  TempFolder folder;
  folder.AddFile("a.jpg");
  folder.AddFile("c.jpg");
  std::string hidden = folder.AddFile(".b.jpg", "hidden");
  std::string text = folder.AddFile("b.txt", "some notes");

  OpenedSource onHidden = OpenSource(hidden, "");
  ASSERT_TRUE(onHidden.outcome.succeeded);
  EXPECT_EQ(Names(onHidden.list), (std::vector<std::string>{".b.jpg", "a.jpg", "c.jpg"}));
  EXPECT_EQ(onHidden.outcome.startIndex, 0u);
  EXPECT_EQ(onHidden.list.items[0].size, 6u);

  OpenedSource onText = OpenSource(text, "");
  ASSERT_TRUE(onText.outcome.succeeded);
  EXPECT_EQ(Names(onText.list), (std::vector<std::string>{"a.jpg", "b.txt", "c.jpg"}));
  EXPECT_EQ(onText.outcome.startIndex, 1u);
  EXPECT_EQ(onText.list.items[1].path, text);
  EXPECT_EQ(onText.list.items[1].size, 10u);
}

TEST(OpenSource, RelativePathIsNormalised) {
  TempFolder folder;
  std::string picture = folder.AddFile("x/p.png");
  std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  OpenedSource opened = OpenSource("./x/../x/p.png", "");
  std::filesystem::current_path(cwd);
  ASSERT_TRUE(opened.outcome.succeeded);
  EXPECT_EQ(opened.list.location, folder.At("x"));
  ASSERT_EQ(opened.list.items.size(), 1u);
  EXPECT_EQ(opened.list.items[0].path, picture);
}

TEST(OpenSource, EmptyAndMissingFolders) {
  TempFolder folder;
  OpenedSource empty = OpenSource(folder.AddFolder("empty"), "");
  EXPECT_TRUE(empty.outcome.succeeded);
  EXPECT_TRUE(empty.list.items.empty());
  EXPECT_EQ(empty.list.kind, SourceKind::Folder);

  for (const std::string& path : {folder.At("gone"), std::string()}) {
    OpenedSource missing = OpenSource(path, "");
    EXPECT_FALSE(missing.outcome.succeeded) << path;
    EXPECT_EQ(missing.outcome.archiveStatus, ZipStatus::Ok);
    EXPECT_EQ(missing.list.kind, SourceKind::None);
  }
}

TEST(OpenSource, UnreadableFolderFails) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempFolder folder;
  std::string locked = folder.AddFolder("locked");
  std::string picture = folder.AddFile("locked/a.jpg");
  ASSERT_EQ(chmod(locked.c_str(), 0300), 0);  // can open files inside, cannot list them
  OpenedSource opened = OpenSource(picture, "");
  chmod(locked.c_str(), 0700);
  EXPECT_FALSE(opened.outcome.succeeded);
  EXPECT_EQ(opened.outcome.archiveStatus, ZipStatus::Ok);
}

// Only regular files hold pictures: links count as what they point to, and pipes, sockets, devices
// and dangling links are left out, since reading them would block or yield no picture.
TEST(OpenSource, ListsOnlyRegularFilesFollowingLinks) {
  TempFolder folder;
  folder.AddFile("real.jpg", "12345");
  folder.AddFolder("dir.jpg");
  Quarlo::Test::MakeLink(folder.At("link.jpg"), "real.jpg");
  Quarlo::Test::MakeLink(folder.At("dirlink.jpg"), "dir.jpg");
  Quarlo::Test::MakeLink(folder.At("dangling.jpg"), "nowhere.jpg");
  Quarlo::Test::MakeLink(folder.At("null.jpg"), "/dev/null");
  Quarlo::Test::MakeFifo(folder.At("pipe.jpg"));
  Quarlo::Test::MakeSocket(folder.At("socket.jpg"));
  OpenedSource opened = OpenSource(folder.Path(), "");
  ASSERT_TRUE(opened.outcome.succeeded);
  EXPECT_EQ(Names(opened.list), (std::vector<std::string>{"link.jpg", "real.jpg"}));
  EXPECT_EQ(opened.list.items[0].size, 5u);
}

// A pipe given as the path to open joins its folder's list like any opened file; neither opening
// it nor reading it waits for a writer.
TEST(OpenSource, PipeGivenAsThePathOpensWithoutBlocking) {
  using namespace std::chrono_literals;
  TempFolder folder;
  folder.AddFile("a.jpg");
  const std::string pipe = Quarlo::Test::MakeFifo(folder.At("b.jpg"));
  OpenedSource opened;
  std::vector<uint8_t> bytes = {1};
  EXPECT_TRUE(Quarlo::Test::EndsWithin(5s,
                                       [&] {
                                         opened = OpenSource(pipe, "");
                                         if (opened.list.items.size() == 2)
                                           bytes = ReadItemBytes(opened.list.items[1], nullptr);
                                       },
                                       {pipe}));
  ASSERT_TRUE(opened.outcome.succeeded);
  EXPECT_EQ(Names(opened.list), (std::vector<std::string>{"a.jpg", "b.jpg"}));
  EXPECT_EQ(opened.outcome.startIndex, 1u);
  EXPECT_TRUE(bytes.empty());
}

TEST(OpenSource, ListsArchivePicturesWithoutResourceForks) {
  using Quarlo::Test::ZipTestEntry;
  auto entry = [](std::string name, std::string_view data) {
    ZipTestEntry e;
    e.name = std::move(name);
    e.data = Quarlo::Test::BytesOf(data);
    return e;
  };
  TempFolder folder;
  std::string archive = folder.AddFile(
      "book.CBZ",
      Quarlo::Test::BuildZip({entry("__MACOSX/a.jpg", "m"), entry("pics/", ""), entry("pics/._b.jpg", "r"),
                              entry("pics/c.jpg", "ccc"), entry("pics/10.jpg", "t"), entry("readme.txt", "r"),
                              entry("pics/2.jpg", "2")})
          .bytes);
  OpenedSource opened = OpenSource(archive, "pics/10.jpg");
  ASSERT_TRUE(opened.outcome.succeeded);
  const PictureList& list = opened.list;
  EXPECT_EQ(list.kind, SourceKind::Archive);
  EXPECT_EQ(list.location, archive);
  ASSERT_NE(list.reader, nullptr);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"pics/2.jpg", "pics/10.jpg", "pics/c.jpg"}));
  EXPECT_EQ(opened.outcome.startIndex, 1u);
  EXPECT_EQ(list.items[2].entryIndex, 3u);
  EXPECT_EQ(list.items[2].size, 3u);
  EXPECT_TRUE(list.items[2].path.empty());
  EXPECT_EQ(KeyOf(list.items[2]), "pics/c.jpg");
  EXPECT_EQ(ReadItemBytes(list.items[2], list.reader.get()), Quarlo::Test::BytesOf("ccc"));

  EXPECT_EQ(OpenSource(archive, "pics/missing.jpg").outcome.startIndex, 0u);
}

TEST(OpenSource, ArchiveThatIsNotAZipFailsWithItsStatus) {
  TempFolder folder;
  OpenedSource opened = OpenSource(folder.AddFile("fake.cbz", "GIF89a definitely not a zip file"), "");
  EXPECT_FALSE(opened.outcome.succeeded);
  EXPECT_EQ(opened.outcome.archiveStatus, ZipStatus::NotZip);
  EXPECT_EQ(opened.list.reader, nullptr);
}

struct SortCase {
  SortKey key;
  bool descending;
  std::vector<std::string> expected;
};

TEST(Resort, OrdersByEveryKeyWithNameTieBreaks) {
  PictureList list;
  list.kind = SourceKind::Folder;
  list.items = {Item("b.png", 300, 50), Item("10.jpg", 100, 20), Item("a.jpeg", 300, 20),
                Item("2.jpg", 200, 50), Item("c.JPG", 100, 10)};
  const SortCase cases[] = {
      {SortKey::Name, false, {"2.jpg", "10.jpg", "a.jpeg", "b.png", "c.JPG"}},
      {SortKey::Name, true, {"c.JPG", "b.png", "a.jpeg", "10.jpg", "2.jpg"}},
      {SortKey::DateModified, false, {"c.JPG", "10.jpg", "a.jpeg", "2.jpg", "b.png"}},
      {SortKey::DateModified, true, {"b.png", "2.jpg", "a.jpeg", "10.jpg", "c.JPG"}},
      {SortKey::Size, false, {"10.jpg", "c.JPG", "2.jpg", "a.jpeg", "b.png"}},
      {SortKey::Size, true, {"b.png", "a.jpeg", "2.jpg", "c.JPG", "10.jpg"}},
      {SortKey::Type, false, {"a.jpeg", "2.jpg", "10.jpg", "c.JPG", "b.png"}},
      {SortKey::Type, true, {"b.png", "c.JPG", "10.jpg", "2.jpg", "a.jpeg"}},
  };
  for (const SortCase& c : cases) {
    Resort(list, c.key, c.descending, 0);
    EXPECT_EQ(list.sortKey, c.key);
    EXPECT_EQ(list.descending, c.descending);
    EXPECT_EQ(Names(list), c.expected) << static_cast<int>(c.key) << " " << c.descending;
  }
}

TEST(Resort, KeepsTheCurrentPicture) {
  PictureList list;
  list.kind = SourceKind::Folder;
  list.items = {Item("1.jpg", 30, 0), Item("2.jpg", 10, 0), Item("3.jpg", 20, 0)};
  EXPECT_EQ(Resort(list, SortKey::Size, false, 0), 2u);
  EXPECT_EQ(list.items[2].name, "1.jpg");
  EXPECT_EQ(Resort(list, SortKey::Name, true, 2), 2u);
  EXPECT_EQ(Resort(list, SortKey::Name, false, 0), 2u);
  EXPECT_EQ(list.items[2].name, "3.jpg");
  EXPECT_EQ(Resort(list, SortKey::Size, false, 7), 7u);  // out of range: unchanged
}

TEST(Resort, EqualNamesKeepTheirOrder) {
  PictureList list;
  list.items = {Item("B.jpg", 1, 0), Item("b.jpg", 2, 0), Item("a.jpg", 3, 0)};
  Resort(list, SortKey::Name, false, 0);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.jpg", "B.jpg", "b.jpg"}));
  Resort(list, SortKey::Name, true, 0);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B.jpg", "b.jpg", "a.jpg"}));
}

TEST(IndexOf, ComparesKeysExactly) {
  PictureList list;
  list.items = {Item("a.jpg", 0, 0), Item("A.jpg", 0, 0)};
  EXPECT_EQ(IndexOf(list, "/pictures/A.jpg"), 1u);
  EXPECT_EQ(IndexOf(list, "/pictures/a.jpg"), 0u);
  EXPECT_EQ(IndexOf(list, "/pictures/a.JPG"), std::nullopt);
}

TEST(RemoveItem, RemovesOneAndIgnoresIndexesOutOfRange) {
  PictureList list;
  list.items = {Item("a.jpg", 0, 0), Item("b.jpg", 0, 0), Item("c.jpg", 0, 0)};
  RemoveItem(list, 1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.jpg", "c.jpg"}));
  RemoveItem(list, 2);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.jpg", "c.jpg"}));
}

TEST(RenameItem, ChangesFolderItemsOnlyAndKeepsTheOrder) {
  PictureList list;
  list.kind = SourceKind::Folder;
  list.items = {Item("a.jpg", 0, 0), Item("b.jpg", 0, 0)};
  RenameItem(list, 0, "/pictures/z.jpg");
  EXPECT_EQ(list.items[0].name, "z.jpg");
  EXPECT_EQ(list.items[0].path, "/pictures/z.jpg");
  RenameItem(list, 5, "/pictures/y.jpg");
  EXPECT_EQ(Names(list), (std::vector<std::string>{"z.jpg", "b.jpg"}));
  list.kind = SourceKind::Archive;
  RenameItem(list, 1, "/pictures/y.jpg");
  EXPECT_EQ(list.items[1].name, "b.jpg");
}

TEST(ReadItemBytes, ReadsFilesAndFailsEmpty) {
  TempFolder folder;
  PictureItem item = Item("a.jpg", 0, 0);
  item.path = folder.AddFile("a.jpg", "picture bytes");
  EXPECT_EQ(ReadItemBytes(item, nullptr), Quarlo::Test::BytesOf("picture bytes"));
  item.path = folder.At("missing.jpg");
  EXPECT_TRUE(ReadItemBytes(item, nullptr).empty());
  item.path = folder.AddFolder("dir.jpg");
  EXPECT_TRUE(ReadItemBytes(item, nullptr).empty());
  PictureItem entry;
  entry.name = "x.jpg";
  EXPECT_TRUE(ReadItemBytes(entry, nullptr).empty());
  ZipReader closed;
  EXPECT_TRUE(ReadItemBytes(entry, &closed).empty());
}

class SiblingFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ch1", "ch2", "ch10", ".hidden"}) folder_.AddFolder(name);
    folder_.AddFile("ch3.zip", "not even a zip: siblings are found by name");
    Quarlo::Test::MakeFifo(folder_.At("ch2b.cbz"));  // a pipe is no archive
    folder_.AddFile("ch4.txt");
    folder_.AddFile("ch1/p.jpg");
  }

  PictureList ListAt(const std::string& location) {
    PictureList list;
    list.kind = SourceKind::Folder;
    list.location = location;
    return list;
  }

  TempFolder folder_;
};

TEST_F(SiblingFolderTest, StepsThroughFoldersAndArchivesInNaturalOrder) {
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("ch2")), +1), folder_.At("ch3.zip"));
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("ch3.zip")), +1), folder_.At("ch10"));
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("ch2")), -1), folder_.At("ch1"));
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("ch10")), +1), std::nullopt);
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("ch1")), -1), std::nullopt);
}

TEST_F(SiblingFolderTest, NothingForRootsUnknownOrEmptyLocations) {
  EXPECT_EQ(SiblingFolder(ListAt("/"), +1), std::nullopt);
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At(".hidden")), +1), std::nullopt);
  EXPECT_EQ(SiblingFolder(ListAt(folder_.At("CH2")), +1), std::nullopt);
  EXPECT_EQ(SiblingFolder(ListAt(""), +1), std::nullopt);
  PictureList none = ListAt(folder_.At("ch2"));
  none.kind = SourceKind::None;
  EXPECT_EQ(SiblingFolder(none, +1), std::nullopt);
}

TEST_F(SiblingFolderTest, PictureFileSourceUsesItsFolder) {
  OpenedSource opened = OpenSource(folder_.At("ch1/p.jpg"), "");
  ASSERT_TRUE(opened.outcome.succeeded);
  EXPECT_EQ(SiblingFolder(opened.list, +1), folder_.At("ch2"));
}

}  // namespace
}  // namespace Quarlo::View

// The folder and file pickers: what they ask the desktop's chooser, and what its replies mean to the caller.

#include "widget/kit/pickers.h"

#include <gtest/gtest.h>

#include "support/headless_file_picker.h"
#include "widget/window.h"

namespace Quarlo::Widget::Kit {
namespace {

using Testing::QueuePickerReply;
using Testing::ShownPickers;

class Pickers : public ::testing::Test {
 protected:
  Pickers() {
    Testing::ResetPickers();
    owner.Create(WindowOptions{});
  }
  ~Pickers() override { Testing::ResetPickers(); }

  Window owner;
};

TEST_F(Pickers, OnlyAnAcceptedReplyWithAPathChoosesSomething) {
  struct Case {
    const char* what;
    PickerReply reply;
    bool ok;
  };
  const Case cases[] = {
      {"accepted", {PickerOutcome::Accepted, "/home/a/Pictures"}, true},
      {"cancelled", {PickerOutcome::Cancelled, ""}, false},
      {"cancelled with a stale path", {PickerOutcome::Cancelled, "/home/a"}, false},
      {"no chooser", {PickerOutcome::Unavailable, ""}, false},
      {"accepted without a path", {PickerOutcome::Accepted, ""}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueuePickerReply(c.reply);
    const PickerResult result = PickFolder(owner.Handle(), "Choose", "");
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.path, c.ok ? c.reply.path : "");
  }
}

TEST_F(Pickers, ANotAnsweredChooserIsAFailureNotAChoice) {
  const PickerResult result = PickFile(owner.Handle(), "Open", {});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(ShownPickers().size(), 1u);
}

TEST_F(Pickers, RequestsCarryKindTitleFolderAndFiltersWithTheOwnerHeld) {
  QueuePickerReply({PickerOutcome::Accepted, "/srv/album"});
  QueuePickerReply({PickerOutcome::Accepted, "/srv/a.cbz"});
  EXPECT_EQ(PickFolder(owner.Handle(), "Choose the folder for album folder 1", "/srv").path, "/srv/album");
  const std::vector<FileFilter> filters{{"Pictures", "*.jpg;*.png"}, {"Archives", "*.zip;*.cbz"}};
  EXPECT_EQ(PickFile(owner.Handle(), "Open", filters).path, "/srv/a.cbz");

  ASSERT_EQ(ShownPickers().size(), 2u);
  const Testing::RecordedPicker& folder = ShownPickers()[0];
  EXPECT_EQ(folder.request.kind, PickerKind::Folder);
  EXPECT_EQ(folder.request.title, "Choose the folder for album folder 1");
  EXPECT_EQ(folder.request.initialFolder, "/srv");
  EXPECT_EQ(folder.request.owner, owner.Handle());
  const Testing::RecordedPicker& file = ShownPickers()[1];
  EXPECT_EQ(file.request.kind, PickerKind::File);
  ASSERT_EQ(file.request.filters.size(), 2u);
  EXPECT_EQ(file.request.filters[1].name, "Archives");
  EXPECT_EQ(file.request.filters[1].pattern, "*.zip;*.cbz");
  // The owner takes no input while a chooser is open, and takes it again afterwards.
  EXPECT_FALSE(folder.ownerInputEnabled);
  EXPECT_FALSE(file.ownerInputEnabled);
  EXPECT_TRUE(owner.IsInputEnabled());
}

TEST_F(Pickers, AnOwnerDisabledBeforeStaysDisabled) {
  owner.SetInputEnabled(false);
  QueuePickerReply({PickerOutcome::Cancelled, ""});
  PickFolder(owner.Handle(), "Choose", "");
  EXPECT_FALSE(owner.IsInputEnabled());
}

}  // namespace
}  // namespace Quarlo::Widget::Kit

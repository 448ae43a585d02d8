// The file drop target: registration, paths delivered in the source's order after the drop returned, and
// revoking (also after the window is gone).

#include "widget/kit/file_drop_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_drop_target.h"
#include "widget/application.h"
#include "widget/window.h"

namespace Quarlo::Widget::Kit {
namespace {

using Paths = std::vector<std::string>;
using Testing::DropPaths;

// Runs what was posted so far.
void RunPosted() {
  bool done = false;
  Application::Instance().Post([&] { done = true; });
  Application::Instance().RunUntil([&] { return done; });
}

struct Dropping {
  Dropping() { window.Create(WindowOptions{}); }
  Window window;
  FileDropTarget target;
  std::vector<Paths> received;
  FileDropTarget::Callback Record() {
    return [this](Paths paths) { received.push_back(std::move(paths)); };
  }
};

TEST(FileDropTarget, DeliversThePathsInOrderAfterTheDropReturned) {
  Dropping d;
  ASSERT_TRUE(d.target.Register(d.window.Handle(), d.Record()));
  EXPECT_TRUE(d.target.IsRegistered());
  ASSERT_TRUE(DropPaths(d.window.Handle(), {"/pictures/album", "/pictures/b.jpg", "/pictures/a.jpg"}));
  EXPECT_TRUE(d.received.empty());
  RunPosted();
  EXPECT_EQ(d.received, (std::vector<Paths>{{"/pictures/album", "/pictures/b.jpg", "/pictures/a.jpg"}}));
}

TEST(FileDropTarget, ADropWithoutPathsDoesNothing) {
  Dropping d;
  ASSERT_TRUE(d.target.Register(d.window.Handle(), d.Record()));
  DropPaths(d.window.Handle(), {});
  RunPosted();
  EXPECT_TRUE(d.received.empty());
}

TEST(FileDropTarget, RegistrationFailsWithoutALiveWindow) {
  Dropping d;
  Window never;
  EXPECT_FALSE(d.target.Register(nullptr, d.Record()));
  EXPECT_FALSE(d.target.Register(never.Handle(), d.Record()));
  EXPECT_FALSE(d.target.IsRegistered());
}

TEST(FileDropTarget, RegisteringAgainReplacesTheFirstWindow) {
  Dropping d;
  Window second;
  second.Create(WindowOptions{});
  ASSERT_TRUE(d.target.Register(d.window.Handle(), d.Record()));
  ASSERT_TRUE(d.target.Register(second.Handle(), d.Record()));
  EXPECT_FALSE(Testing::IsDropTarget(d.window.Handle()));
  EXPECT_TRUE(Testing::IsDropTarget(second.Handle()));
}

TEST(FileDropTarget, RevokingForgetsDropsThatWereStillWaiting) {
  Dropping d;
  ASSERT_TRUE(d.target.Register(d.window.Handle(), d.Record()));
  DropPaths(d.window.Handle(), {"/a.jpg"});
  d.target.Revoke();
  RunPosted();
  EXPECT_TRUE(d.received.empty());
  EXPECT_FALSE(d.target.IsRegistered());
  EXPECT_FALSE(Testing::IsDropTarget(d.window.Handle()));
}

TEST(FileDropTarget, ADestroyedTargetIsNotCalledByAWaitingDrop) {
  Dropping d;
  {
    FileDropTarget shortLived;
    ASSERT_TRUE(shortLived.Register(d.window.Handle(), d.Record()));
    DropPaths(d.window.Handle(), {"/a.jpg"});
  }
  RunPosted();
  EXPECT_TRUE(d.received.empty());
}

TEST(FileDropTarget, RevokingAfterTheWindowIsGoneIsSafe) {
  Dropping d;
  ASSERT_TRUE(d.target.Register(d.window.Handle(), d.Record()));
  const NativeHandle handle = d.window.Handle();
  d.window.Destroy();
  EXPECT_FALSE(DropPaths(handle, {"/a.jpg"}));
  d.target.Revoke();
  EXPECT_FALSE(d.target.IsRegistered());
}

}  // namespace
}  // namespace Quarlo::Widget::Kit

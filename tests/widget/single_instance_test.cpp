// The single-instance link on the headless loop: links of one identity in this process (the primary's loop
// runs here while a worker thread sends), raw clients that speak the wire format by hand, and processes
// that die holding the lock or belong to another user.

#include "widget/kit/single_instance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/concurrent_processes.h"
#include "support/headless_window.h"
#include "support/temp_folder.h"
#include "widget/application.h"
#include "widget/detail/instance_channel.h"
#include "widget/detail/instance_frame.h"
#include "widget/detail/instance_names.h"
#include "widget/detail/unique_fd.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget::Kit {
namespace {

using Detail::UniqueFd;

constexpr char kIdentity[] = "QuarloUtility.QuarloView.t1";
constexpr int kTimeoutMs = 5000;

// Every test keeps its link files in a runtime folder of its own.
class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1); }

  std::string SocketPath(const std::string& identity = kIdentity) const {
    return Detail::InstancePathsFor(identity).value().socket;
  }

  Quarlo::Test::TempFolder runtime_;
};

// Runs the loop here until work, on a worker thread, has finished; returns its result.
bool WhileServing(const std::function<bool()>& work) {
  std::atomic<bool> done{false};
  bool result = false;
  std::thread worker([&] {
    result = work();
    done = true;
    Application::Instance().Post([] {});
  });
  Application::Instance().RunUntil([&] { return done.load(); });
  worker.join();
  return result;
}

// Dispatches the loop until the condition holds; for conditions that descriptors already ready will bring.
void DispatchUntil(const std::function<bool()>& done) {
  while (!done()) Detail::WaitAndDispatch();
}

bool SendWhileServing(SingleInstance& sender, std::string_view text) {
  return WhileServing([&] { return sender.Send(text, kTimeoutMs); });
}

// A client that speaks the wire format by hand.
UniqueFd ConnectRaw(const std::string& socketPath) {
  UniqueFd client(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  EXPECT_EQ(connect(client.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  return client;
}

// Runs the loop until the client has its answer: the byte the receiver sent, or nullopt when it closed the
// connection without one. Gives up (nullopt, with a failure) when neither came within a few seconds.
std::optional<char> AnswerOf(const UniqueFd& client) {
  std::atomic<bool> readable{false}, expired{false};
  const uint64_t watch = Detail::WatchReadable(client.Get(), [&] { readable = true; });
  std::thread watchdog([&] {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!readable && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    expired = !readable;
    Application::Instance().Post([] {});
  });
  Application::Instance().RunUntil([&] { return readable || expired; });
  watchdog.join();
  Detail::Unwatch(watch);
  EXPECT_FALSE(expired) << "no answer and no hang-up";
  char reply = 0;
  if (recv(client.Get(), &reply, 1, MSG_DONTWAIT) != 1) return std::nullopt;
  return reply;
}

std::string Header(uint32_t tag, uint32_t length) {
  std::string header(8, '\0');
  std::memcpy(header.data(), &tag, 4);
  std::memcpy(header.data() + 4, &length, 4);
  return header;
}

TEST_F(SingleInstanceTest, TheFirstLinkOfAnIdentityIsPrimaryAndLaterOnesAreNot) {
  SingleInstance first(kIdentity);
  SingleInstance second(kIdentity);
  EXPECT_TRUE(first.IsPrimary());
  EXPECT_FALSE(second.IsPrimary());
}

TEST_F(SingleInstanceTest, TextsArriveExactlyAsSent) {
  SingleInstance primary(kIdentity);
  std::vector<std::string> received;
  primary.SetOnCommand([&](const std::string& text) { received.push_back(text); });
  SingleInstance sender(kIdentity);
  const std::vector<std::string> texts = {
      "show",  "open:/home/u/Pictures/a b/\xED\x95\x9C.jpg", std::string("a\0b\0", 4), "",
      "quit ", std::string(Detail::kInstanceTextLimit, 'x')};
  for (const std::string& text : texts) {
    EXPECT_TRUE(SendWhileServing(sender, text)) << text.size() << " bytes";
  }
  EXPECT_EQ(received, texts);
}

TEST_F(SingleInstanceTest, ATextAboveTheLimitIsRefusedWithoutReachingTheHandler) {
  SingleInstance primary(kIdentity);
  int calls = 0;
  primary.SetOnCommand([&](const std::string&) { ++calls; });
  SingleInstance sender(kIdentity);
  EXPECT_FALSE(SendWhileServing(sender, std::string(Detail::kInstanceTextLimit + 1, 'x')));
  EXPECT_TRUE(SendWhileServing(sender, "show"));
  EXPECT_EQ(calls, 1);
}

TEST_F(SingleInstanceTest, MessagesBeforeTheHandlerIsInstalledAreRefused) {
  SingleInstance primary(kIdentity);
  SingleInstance sender(kIdentity);
  EXPECT_FALSE(SendWhileServing(sender, "show"));
  std::string received;
  primary.SetOnCommand([&](const std::string& text) { received = text; });
  EXPECT_TRUE(SendWhileServing(sender, "open:/a.jpg"));
  EXPECT_EQ(received, "open:/a.jpg");
}

TEST_F(SingleInstanceTest, TheHandlerRunsWhileTheSenderWaitsForItsAnswer) {
  SingleInstance primary(kIdentity);
  SingleInstance sender(kIdentity);
  std::atomic<bool> answered{false};
  bool answeredDuringHandler = true;
  primary.SetOnCommand([&](const std::string&) { answeredDuringHandler = answered.load(); });
  EXPECT_TRUE(WhileServing([&] {
    const bool delivered = sender.Send("show", kTimeoutMs);
    answered = true;
    return delivered;
  }));
  EXPECT_FALSE(answeredDuringHandler);
}

TEST_F(SingleInstanceTest, DifferentIdentitiesNeverSeeEachOther) {
  const std::string other = std::string(kIdentity) + "/../t2";
  SingleInstance first(kIdentity);
  SingleInstance second(other);
  EXPECT_TRUE(first.IsPrimary());
  EXPECT_TRUE(second.IsPrimary());
  std::vector<std::string> toFirst, toSecond;
  first.SetOnCommand([&](const std::string& text) { toFirst.push_back(text); });
  second.SetOnCommand([&](const std::string& text) { toSecond.push_back(text); });
  SingleInstance senderToSecond(other);
  EXPECT_TRUE(SendWhileServing(senderToSecond, "show"));
  EXPECT_TRUE(toFirst.empty());
  EXPECT_EQ(toSecond, std::vector<std::string>{"show"});
}

TEST_F(SingleInstanceTest, AHandBuiltFrameIsAccepted) {
  SingleInstance primary(kIdentity);
  std::string received;
  primary.SetOnCommand([&](const std::string& text) { received = text; });
  UniqueFd client = ConnectRaw(SocketPath());
  const std::string frame = std::string("ISLQ\x04\0\0\0", 8) + "show";
  ASSERT_EQ(send(client.Get(), frame.data(), frame.size(), MSG_NOSIGNAL), static_cast<ssize_t>(frame.size()));
  EXPECT_EQ(AnswerOf(client), Detail::kInstanceAccepted);
  EXPECT_EQ(received, "show");
}

TEST_F(SingleInstanceTest, MalformedFramesAreRefusedAndReachNoHandler) {
  struct Case {
    const char* name;
    std::string bytes;
    // Whether the client then ends its side; a frame refused on sight is answered while the client waits.
    bool endsItsSide;
  };
  const std::vector<Case> cases = {
      {"wrong tag", Header(0x514C5350, 4) + "show", false},
      {"tag with its bytes swapped", Header(0x49534C51, 4) + "show", false},
      {"length above the limit", Header(Detail::kInstanceTag, Detail::kInstanceTextLimit + 1), false},
      {"largest length", Header(Detail::kInstanceTag, 0xFFFFFFFF), false},
      {"text shorter than its length", Header(Detail::kInstanceTag, 10) + "show", true},
      {"header cut short", Header(Detail::kInstanceTag, 4).substr(0, 6), true},
      {"three bytes", "ISL", true},
  };
  SingleInstance primary(kIdentity);
  int calls = 0;
  primary.SetOnCommand([&](const std::string&) { ++calls; });
  for (const Case& c : cases) {
    UniqueFd client = ConnectRaw(SocketPath());
    ASSERT_EQ(send(client.Get(), c.bytes.data(), c.bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(c.bytes.size()));
    if (c.endsItsSide) shutdown(client.Get(), SHUT_WR);
    const std::optional<char> answer = AnswerOf(client);
    EXPECT_NE(answer, std::optional<char>(Detail::kInstanceAccepted)) << c.name;
  }
  EXPECT_EQ(calls, 0);
  SingleInstance sender(kIdentity);
  EXPECT_TRUE(SendWhileServing(sender, "show"));
}

TEST_F(SingleInstanceTest, ASilentClientIsDroppedAtItsDeadlineAndTheLinkGoesOn) {
  SingleInstance primary(kIdentity);
  int calls = 0;
  primary.SetOnCommand([&](const std::string&) { ++calls; });
  UniqueFd silent = ConnectRaw(SocketPath());
  // The connection is queued, so the listener is ready and the loop accepts it without waiting.
  DispatchUntil([] { return Testing::NextLoopTimerDue() >= 0; });
  pollfd polled{silent.Get(), POLLIN, 0};
  Testing::AdvanceHeadlessClock(Detail::kInstanceReadDeadlineSeconds - 0.1);
  EXPECT_EQ(poll(&polled, 1, 0), 0) << "dropped before its deadline";
  Testing::AdvanceHeadlessClock(0.2);
  EXPECT_EQ(poll(&polled, 1, 0), 1) << "still open after its deadline";
  char reply = 0;
  EXPECT_FALSE(recv(silent.Get(), &reply, 1, 0) == 1 && reply == Detail::kInstanceAccepted);
  SingleInstance sender(kIdentity);
  EXPECT_TRUE(SendWhileServing(sender, "show"));
  EXPECT_EQ(calls, 1);
}

TEST_F(SingleInstanceTest, SendGivesUpAtItsTimeOutWhenThePrimaryDoesNotDispatch) {
  SingleInstance primary(kIdentity);
  int calls = 0;
  primary.SetOnCommand([&](const std::string&) { ++calls; });
  SingleInstance sender(kIdentity);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(sender.Send("open:/late.jpg", 300));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(290));
  EXPECT_LT(waited, std::chrono::milliseconds(2000));
  // The primary reads the message once it dispatches (accept, then read), but its sender has given up and
  // opened a window of its own: acting on it now would open the picture twice. The connection's deadline
  // timer marks it from its acceptance to its end; the socket is ready all along, so the loop never waits.
  DispatchUntil([] { return Testing::NextLoopTimerDue() >= 0; });
  DispatchUntil([] { return Testing::NextLoopTimerDue() < 0; });
  EXPECT_EQ(calls, 0);
}

TEST_F(SingleInstanceTest, AnEndedPrimaryLeavesNothingBehindAndSendingToNoneFailsAtOnce) {
  { SingleInstance primary(kIdentity); }
  struct stat info {};
  EXPECT_NE(lstat(SocketPath().c_str(), &info), 0) << "the socket file went with the link";
  SingleInstance alone(kIdentity);
  EXPECT_TRUE(alone.IsPrimary()) << "the lock went with the link";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Detail::SendInstanceMessage(SocketPath(std::string(kIdentity) + ".none"), "show", kTimeoutMs));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(SingleInstanceTest, AStaleSocketFromADeadPrimaryDoesNotStopANewOne) {
  // The child takes the lock, listens and dies without cleaning up: the kernel drops its lock, the socket
  // file stays behind.
  ASSERT_TRUE(Quarlo::Test::RunConcurrently(1, [](int) {
    auto* leaked = new SingleInstance(kIdentity);
    return leaked->IsPrimary();
  }));
  struct stat info {};
  ASSERT_EQ(lstat(SocketPath().c_str(), &info), 0);
  ASSERT_TRUE(S_ISSOCK(info.st_mode));
  SingleInstance primary(kIdentity);
  EXPECT_TRUE(primary.IsPrimary());
  std::string received;
  primary.SetOnCommand([&](const std::string& text) { received = text; });
  SingleInstance sender(kIdentity);
  EXPECT_TRUE(SendWhileServing(sender, "show"));
  EXPECT_EQ(received, "show");
}

TEST_F(SingleInstanceTest, TheLinkFolderIsMadePrivate) {
  SingleInstance primary(kIdentity);
  struct stat info {};
  ASSERT_EQ(stat(runtime_.At("quarloview").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(SingleInstanceTest, AFolderOthersMayWriteIntoIsNotUsed) {
  const std::string folder = runtime_.AddFolder("quarloview");
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  SingleInstance first(kIdentity);
  SingleInstance second(kIdentity);
  // Neither can take part: each starts on its own, and nothing was put into the folder.
  EXPECT_TRUE(first.IsPrimary());
  EXPECT_TRUE(second.IsPrimary());
  EXPECT_FALSE(second.Send("show", kTimeoutMs));
  struct stat info {};
  EXPECT_NE(lstat((folder + "/" + kIdentity + ".lock").c_str(), &info), 0);
  EXPECT_NE(lstat((folder + "/" + kIdentity + ".socket").c_str(), &info), 0);
}

TEST_F(SingleInstanceTest, OnlyAPrivateFolderOfThisUserIsAccepted) {
  const std::string mine = runtime_.AddFolder("mine");
  ASSERT_EQ(chmod(mine.c_str(), 0700), 0);
  const std::string readable = runtime_.AddFolder("readable");
  ASSERT_EQ(chmod(readable.c_str(), 0755), 0);
  const std::string groupWritable = runtime_.AddFolder("group");
  ASSERT_EQ(chmod(groupWritable.c_str(), 0770), 0);
  const std::string link = runtime_.At("link");
  ASSERT_EQ(symlink(mine.c_str(), link.c_str()), 0);
  const std::string file = runtime_.AddFile("file");
  EXPECT_TRUE(Detail::EnsurePrivateFolder(mine));
  EXPECT_TRUE(Detail::EnsurePrivateFolder(readable));
  EXPECT_TRUE(Detail::EnsurePrivateFolder(runtime_.At("new")));
  EXPECT_FALSE(Detail::EnsurePrivateFolder(groupWritable));
  EXPECT_FALSE(Detail::EnsurePrivateFolder(link));
  EXPECT_FALSE(Detail::EnsurePrivateFolder(file));
  EXPECT_FALSE(Detail::EnsurePrivateFolder(runtime_.At("missing/parent")));
}

TEST_F(SingleInstanceTest, AFolderOwnedByAnotherUserIsNotUsed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a folder away";
  const std::string folder = runtime_.AddFolder("theirs");
  ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
  ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
  EXPECT_FALSE(Detail::EnsurePrivateFolder(folder));
}

TEST_F(SingleInstanceTest, AnotherUsersProcessGetsNoAnswer) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run a process as another user";
  SingleInstance primary(kIdentity);
  int calls = 0;
  primary.SetOnCommand([&](const std::string&) { ++calls; });
  // Open the way to the socket, so that only the receiver's own check stands between it and the stranger.
  ASSERT_EQ(chmod(runtime_.Path().c_str(), 0711), 0);
  ASSERT_EQ(chmod(runtime_.At("quarloview").c_str(), 0711), 0);
  const std::string path = SocketPath();
  ASSERT_EQ(chmod(path.c_str(), 0777), 0);
  const std::string frame = Detail::EncodeInstanceFrame("show");
  EXPECT_TRUE(WhileServing([&] {
    return Quarlo::Test::RunConcurrently(1, [&](int) {
      if (syscall(SYS_setuid, 65534) != 0) return false;
      UniqueFd client(socket(AF_UNIX, SOCK_STREAM, 0));
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
      if (connect(client.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
      send(client.Get(), frame.data(), frame.size(), MSG_NOSIGNAL);
      char reply = 0;
      return recv(client.Get(), &reply, 1, 0) <= 0;  // closed unanswered
    });
  }));
  EXPECT_EQ(calls, 0);
}

TEST(InstanceFileStem, KeepsIdentitiesApartAndInsideTheFolder) {
  using Detail::InstanceFileStem;
  EXPECT_EQ(InstanceFileStem("QuarloUtility.QuarloView", 200), "QuarloUtility.QuarloView");
  EXPECT_EQ(InstanceFileStem("QuarloUtility.QuarloView.a/../b", 200), "QuarloUtility.QuarloView.a%2F..%2Fb");
  EXPECT_NE(InstanceFileStem("a/b", 200), InstanceFileStem("a%2Fb", 200));
  EXPECT_EQ(InstanceFileStem(std::string("a\0b", 3), 200), "a%00b");
  const std::string longA(300, 'a');
  const std::string longB = longA + "b";
  const std::string stemA = InstanceFileStem(longA, 60);
  EXPECT_EQ(stemA.size(), 60u);
  EXPECT_EQ(stemA.substr(0, 43), longA.substr(0, 43));
  EXPECT_EQ(stemA[43], '~');
  EXPECT_NE(stemA, InstanceFileStem(longB, 60));
  EXPECT_EQ(InstanceFileStem(longA, 60), stemA) << "the same identity always gets the same name";
  EXPECT_EQ(InstanceFileStem(longA, 10), "");
}

TEST_F(SingleInstanceTest, AVeryLongInstanceNameStillLinks) {
  const std::string identity = std::string(kIdentity) + "." + std::string(1000, 'z');
  SingleInstance primary(identity);
  ASSERT_TRUE(primary.IsPrimary());
  std::string received;
  primary.SetOnCommand([&](const std::string& text) { received = text; });
  SingleInstance sender(identity);
  EXPECT_FALSE(sender.IsPrimary());
  EXPECT_TRUE(SendWhileServing(sender, "show"));
  EXPECT_EQ(received, "show");
}

}  // namespace
}  // namespace Quarlo::Widget::Kit

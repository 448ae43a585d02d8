#include "support/special_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace Quarlo::Test {

namespace {

constexpr auto kReleaseInterval = std::chrono::milliseconds(10);

// Opening the write end of a pipe that a reader is opening lets that open return; closing it again
// gives the reader an end of file.
void ReleasePipes(const std::vector<std::string>& pipes) {
  for (const std::string& pipe : pipes) {
    int fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) close(fd);
  }
}

}  // namespace

std::string MakeFifo(const std::string& path) {
  EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path << ": " << std::strerror(errno);
  return path;
}

std::string MakeSocket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  EXPECT_LT(path.size(), sizeof address.sun_path) << path;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  EXPECT_GE(fd, 0) << std::strerror(errno);
  EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
      << path << ": " << std::strerror(errno);
  close(fd);
  return path;
}

std::string MakeLink(const std::string& path, const std::string& target) {
  EXPECT_EQ(symlink(target.c_str(), path.c_str()), 0) << path << ": " << std::strerror(errno);
  return path;
}

bool EndsWithin(std::chrono::milliseconds patience, const std::function<void()>& work,
                const std::vector<std::string>& pipes) {
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::thread worker([&] {
    work();
    std::lock_guard lock(mutex);
    done = true;
    ended.notify_all();
  });
  std::unique_lock lock(mutex);
  const bool inTime = ended.wait_for(lock, patience, [&] { return done; });
  while (!done) {
    lock.unlock();
    ReleasePipes(pipes);
    lock.lock();
    ended.wait_for(lock, kReleaseInterval, [&] { return done; });
  }
  lock.unlock();
  worker.join();
  return inTime;
}

}  // namespace Quarlo::Test

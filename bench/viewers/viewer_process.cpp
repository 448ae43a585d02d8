#include "bench/viewers/viewer_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

namespace Quarlo::Bench {
namespace {

constexpr auto kStopGrace = std::chrono::seconds(2);
constexpr auto kStopPoll = std::chrono::milliseconds(10);

int StatusCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

[[noreturn]] void ExecChild(const std::vector<std::string>& argv, int errorPipe) {
  setpgid(0, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  const int error = errno;
  (void)!write(errorPipe, &error, sizeof error);
  _exit(127);
}

}  // namespace

ViewerProcess::~ViewerProcess() { Stop(); }

bool ViewerProcess::Start(const std::vector<std::string>& argv, std::string& error) {
  int errorPipe[2];
  if (argv.empty() || pipe2(errorPipe, O_CLOEXEC) != 0) {
    error = argv.empty() ? "no program to start" : std::strerror(errno);
    return false;
  }
  pid_ = fork();
  if (pid_ == 0) ExecChild(argv, errorPipe[1]);
  close(errorPipe[1]);
  int execError = 0;
  const bool startFailed = pid_ < 0 || read(errorPipe[0], &execError, sizeof execError) == sizeof execError;
  close(errorPipe[0]);
  if (!startFailed) {
    setpgid(pid_, pid_);  // also here, so the group exists whichever side runs first
    return true;
  }
  error = "cannot start " + argv[0] + ": " + std::strerror(pid_ < 0 ? errno : execError);
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
  pid_ = -1;
  return false;
}

std::optional<int> ViewerProcess::Exited() {
  if (pid_ > 0 && !status_) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = StatusCode(status);
  }
  return status_;
}

long ViewerProcess::PeakResidentKiB() const {
  std::ifstream file("/proc/" + std::to_string(pid_) + "/status");
  std::string key;
  long value = 0;
  while (file >> key) {
    if (key == "VmHWM:" && file >> value) return value;
    file.ignore(1 << 12, '\n');
  }
  return 0;
}

void ViewerProcess::Stop() {
  if (pid_ <= 0) return;
  kill(-pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
  while (!Exited() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(kStopPoll);
  // Whatever the viewer started in its group goes too, also when the viewer itself has already ended.
  kill(-pid_, SIGKILL);
  if (!Exited()) {
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = StatusCode(status);
  }
  pid_ = -1;
}

}  // namespace Quarlo::Bench

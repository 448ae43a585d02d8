#include "support/concurrent_processes.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace Quarlo::Test {

namespace {

// True when the child ran to its end and reported success.
bool WaitForSuccess(pid_t child) {
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool RunConcurrently(int processes, const std::function<bool(int)>& work) {
  int gate[2];
  if (pipe(gate) != 0) return false;
  std::vector<pid_t> children;
  bool started = true;
  for (int index = 0; index < processes; ++index) {
    pid_t child = fork();
    if (child < 0) {
      started = false;
      break;
    }
    if (child == 0) {
      close(gate[1]);
      char go;
      // read returns 0 once the parent closes its end: that is the start signal.
      bool ok = read(gate[0], &go, 1) == 0;
      ok = work(index) && ok;
      _exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  close(gate[0]);
  close(gate[1]);
  bool succeeded = started;
  for (pid_t child : children) succeeded = WaitForSuccess(child) && succeeded;
  return succeeded;
}

}  // namespace Quarlo::Test

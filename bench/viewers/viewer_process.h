#pragma once
// One run of a viewer program, started in a process group of its own so that it and anything it starts
// can be ended together.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace Quarlo::Bench {

class ViewerProcess {
 public:
  ViewerProcess() = default;
  ~ViewerProcess();
  ViewerProcess(const ViewerProcess&) = delete;
  ViewerProcess& operator=(const ViewerProcess&) = delete;

  // Forks and executes argv (searched on PATH); false with error set when the program could not be started.
  bool Start(const std::vector<std::string>& argv, std::string& error);
  // The exit status once the program has ended (128 + signal number when a signal ended it), else nothing.
  std::optional<int> Exited();
  // The peak resident set size so far (VmHWM), in KiB; 0 when it cannot be read.
  long PeakResidentKiB() const;
  // Asks the process group to end, waits up to two seconds, then kills it.
  void Stop();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace Quarlo::Bench

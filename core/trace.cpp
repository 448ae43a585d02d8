#include "core/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <mutex>
#include <string>

#include "core/env_switches.h"

namespace Quarlo::View {

void TraceTo(const std::string& file, std::string_view text) {
  if (file.empty()) return;
  static std::mutex mutex;
  std::string line(text);
  line += '\n';
  std::lock_guard lock(mutex);
  // O_APPEND with one write per line keeps lines whole even when another process appends too.
  int fd = open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
}

void Trace(std::string_view text) { TraceTo(Env().trace, text); }

}  // namespace Quarlo::View

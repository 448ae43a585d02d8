#pragma once
// Files that are not regular files (named pipes, sockets, links), for tests of code that must refuse
// them without blocking, and a guard that turns such a block into a test failure.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace Quarlo::Test {

// A named pipe at path; nobody writes to it, so a blocking open or read of it waits for ever.
std::string MakeFifo(const std::string& path);

// A Unix-domain socket file at path: bound, then closed (the file stays).
std::string MakeSocket(const std::string& path);

// A symbolic link at path that points to target.
std::string MakeLink(const std::string& path, const std::string& target);

// Runs work on a thread of its own and waits at most patience for it to end. When it has not ended
// by then, the pipes are opened for writing and closed again until it does (which wakes a reader
// stuck on one of them), and the result is false.
bool EndsWithin(std::chrono::milliseconds patience, const std::function<void()>& work,
                const std::vector<std::string>& pipes);

}  // namespace Quarlo::Test

#pragma once
// Runs the same work in several child processes at once, for tests of files shared between
// processes (the hive, the settings): every child is held at a start gate until all are forked, so
// that their work really overlaps.

#include <functional>

namespace Quarlo::Test {

// Forks processes children; child i waits at the gate, runs work(i) and exits with its result.
// Returns true when every child was started and every one returned true. Only async-signal-safe
// exits are used in the children, so gtest's state in the parent is left alone.
bool RunConcurrently(int processes, const std::function<bool(int)>& work);

}  // namespace Quarlo::Test

#pragma once
// Where a start of the viewer becomes exactly one outcome: an installer action, a request handed to the
// instance that is already running, a full start with the viewer window, or the screenshot run.

namespace App {

struct CommandLine;

inline constexpr int kExitSucceeded = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitShotsFailed = 2;
// How long a later start waits for the running instance to take its request.
inline constexpr int kForwardTimeoutMs = 5000;

// The whole start-up and shutdown sequence; returns the process exit code.
int RunStart(const CommandLine& commandLine);

}  // namespace App

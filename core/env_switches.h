#pragma once
// Process-wide switches read once from the environment, and the identity helpers built on them.

#include <string>

namespace Quarlo::View {

struct EnvSwitches {
  std::string settingsKey;   // QUARLO_VIEW_SETTINGS_KEY: test mode and the settings key override
  bool parkWindows = false;  // QUARLO_VIEW_PARK_WINDOWS: exactly "1" parks windows off screen
  std::string instance;      // QUARLO_VIEW_INSTANCE: separates instance identities
  std::string shots;         // QUARLO_VIEW_SHOTS: folder for the screenshot run
  std::string trace;         // QUARLO_VIEW_TRACE: file the trace lines go to
};

// The switches of this process, read on first use and never changed afterwards.
const EnvSwitches& Env();

// Reads the switches through the given lookup (name -> value or nullptr); used by Env() and tests.
EnvSwitches ReadEnvSwitches(const char* (*lookup)(const char*));

// Values this long or longer count as empty, like a value that does not fit the reading buffer.
inline constexpr size_t kSwitchValueLimit = 1024;

// "QuarloUtility.QuarloView", plus "." and the instance switch when it is set.
std::string InstanceIdentity(const EnvSwitches& env = Env());

// The settings key below the user's hive: the override when set, else "Software\QuarloView".
std::string SettingsKeyPath(const EnvSwitches& env = Env());

}  // namespace Quarlo::View

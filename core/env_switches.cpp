#include "core/env_switches.h"

#include <cstdlib>
#include <cstring>

namespace Quarlo::View {

namespace {

std::string ReadSwitch(const char* (*lookup)(const char*), const char* name) {
  const char* value = lookup(name);
  if (value == nullptr) return {};
  // Counted in UTF-16 units, as the limit was set for wide-character buffers.
  size_t units = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p != 0; ++p) {
    if ((*p & 0xC0) != 0x80) units += (*p >= 0xF0) ? 2 : 1;
  }
  return units >= kSwitchValueLimit ? std::string() : std::string(value);
}

const char* ProcessLookup(const char* name) { return std::getenv(name); }

}  // namespace

EnvSwitches ReadEnvSwitches(const char* (*lookup)(const char*)) {
  EnvSwitches env;
  env.settingsKey = ReadSwitch(lookup, "QUARLO_VIEW_SETTINGS_KEY");
  env.parkWindows = ReadSwitch(lookup, "QUARLO_VIEW_PARK_WINDOWS") == "1";
  env.instance = ReadSwitch(lookup, "QUARLO_VIEW_INSTANCE");
  env.shots = ReadSwitch(lookup, "QUARLO_VIEW_SHOTS");
  env.trace = ReadSwitch(lookup, "QUARLO_VIEW_TRACE");
  return env;
}

const EnvSwitches& Env() {
  static const EnvSwitches env = ReadEnvSwitches(ProcessLookup);
  return env;
}

std::string InstanceIdentity(const EnvSwitches& env) {
  std::string identity = "QuarloUtility.QuarloView";
  if (!env.instance.empty()) identity += "." + env.instance;
  return identity;
}

std::string SettingsKeyPath(const EnvSwitches& env) {
  return env.settingsKey.empty() ? std::string("Software\\QuarloView") : env.settingsKey;
}

}  // namespace Quarlo::View

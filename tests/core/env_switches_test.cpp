#include "core/env_switches.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace Quarlo::View;

std::map<std::string, std::string> fakeEnvironment;

const char* FakeLookup(const char* name) {
  auto it = fakeEnvironment.find(name);
  return it == fakeEnvironment.end() ? nullptr : it->second.c_str();
}

EnvSwitches Read(std::map<std::string, std::string> values) {
  fakeEnvironment = std::move(values);
  return ReadEnvSwitches(FakeLookup);
}

TEST(EnvSwitchesTest, MissingSwitchesAreEmpty) {
  EnvSwitches env = Read({});
  EXPECT_TRUE(env.settingsKey.empty());
  EXPECT_FALSE(env.parkWindows);
  EXPECT_EQ(InstanceIdentity(env), "QuarloUtility.QuarloView");
  EXPECT_EQ(SettingsKeyPath(env), "Software\\QuarloView");
}

TEST(EnvSwitchesTest, OnlyExactlyOneParksWindows) {
  const std::pair<const char*, bool> cases[] = {{"1", true}, {"true", false}, {"01", false}, {"1 ", false}, {"", false}};
  for (auto [value, parks] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(Read({{"QUARLO_VIEW_PARK_WINDOWS", value}}).parkWindows, parks);
  }
}

TEST(EnvSwitchesTest, InstanceAndSettingsKeyOverrides) {
  EnvSwitches env = Read({{"QUARLO_VIEW_INSTANCE", "t7"}, {"QUARLO_VIEW_SETTINGS_KEY", "Software\\QuarloTest"}});
  EXPECT_EQ(InstanceIdentity(env), "QuarloUtility.QuarloView.t7");
  EXPECT_EQ(SettingsKeyPath(env), "Software\\QuarloTest");
}

TEST(EnvSwitchesTest, ValuesOfTheLimitOrLongerCountAsEmpty) {
  EXPECT_EQ(Read({{"QUARLO_VIEW_TRACE", std::string(kSwitchValueLimit - 1, 'a')}}).trace.size(),
            kSwitchValueLimit - 1);
  EXPECT_TRUE(Read({{"QUARLO_VIEW_TRACE", std::string(kSwitchValueLimit, 'a')}}).trace.empty());
  // The limit counts characters, not bytes: 1023 Hangul syllables (3 bytes each) still fit.
  std::string hangul;
  for (size_t i = 0; i < kSwitchValueLimit - 1; ++i) hangul += "\xEA\xB0\x80";
  EXPECT_EQ(Read({{"QUARLO_VIEW_SHOTS", hangul}}).shots, hangul);
}

}  // namespace

#include "app/time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/clock_text.h"

namespace {

// Puts TZ back as the test found it.
class TimeZoneVariable : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
  }
  void TearDown() override {
    if (saved_)
      ::setenv("TZ", saved_->c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }
  static std::optional<std::string> tz() {
    const char* tz = std::getenv("TZ");
    return tz ? std::optional<std::string>(tz) : std::nullopt;
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(TimeZoneVariable, UnsetNamesTheSystemZoneFileAndKeepsTheLocalTime) {
  ::unsetenv("TZ");
  ::tzset();
  // A summer and a winter moment, where a zone with daylight saving differs.
  const std::time_t moments[] = {1783000000, 1796000000};
  std::string before[2];
  for (int i = 0; i < 2; ++i) before[i] = core::localTimeText(moments[i], "%Y-%m-%d %H:%M:%S %z");
  EXPECT_TRUE(app::NameTimeZoneFile());
  EXPECT_EQ(tz(), ":/etc/localtime");
  ::tzset();
  for (int i = 0; i < 2; ++i) EXPECT_EQ(core::localTimeText(moments[i], "%Y-%m-%d %H:%M:%S %z"), before[i]);
}

TEST_F(TimeZoneVariable, ZoneTheUserSetStays) {
  for (const std::string set : {"", "UTC0", "Europe/Paris", ":/usr/share/zoneinfo/Asia/Tokyo"}) {
    ::setenv("TZ", set.c_str(), 1);
    EXPECT_FALSE(app::NameTimeZoneFile()) << set;
    EXPECT_EQ(tz(), set);
  }
}

}  // namespace

#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/environment.h"
#include "support/temp_dir.h"

namespace testsupport {

// One Wine prefix for the whole run of wine_tests, made by wineboot in a
// temporary home the first time a test asks for it, with FS2002 and FS2000
// registered the way their 32-bit setups do it and Windows stand-ins for the
// scenery installer and the converter. Nothing is set up on the program's
// side: HOME points at the temporary home, whose .wine is the prefix.
struct WineWorld {
  WineWorld();
  ~WineWorld();
  WineWorld(const WineWorld&) = delete;
  WineWorld& operator=(const WineWorld&) = delete;

  // Runs a program (wine, wineserver, reg) in the prefix; its exit status.
  int run(std::vector<std::string> argv);
  int reg(std::vector<std::string> args);

  TempDir tmp;
  std::string home = tmp.path() + "/home";
  std::string prefix = home + "/.wine";
  std::string driveC = prefix + "/drive_c";
  core::Environment wineEnv;
  std::string skip;  // why the Wine tests cannot run here; empty when they can
  bool booted = false;
};

// A host path as the prefix's programs name it, on drive Z:.
inline std::string windowsPath(std::string host) {
  std::replace(host.begin(), host.end(), '/', '\\');
  return "Z:" + host;
}

// The prefix of this run, made on first use and ended after the last test.
WineWorld& wineWorld();

// A test that needs the prefix: skipped where it could not be made.
class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override;
  static WineWorld& world() { return wineWorld(); }
};

}  // namespace testsupport

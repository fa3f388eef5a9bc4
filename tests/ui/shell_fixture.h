#pragma once

#include <memory>
#include <string>

#include "core/registry.h"
#include "core/settings.h"
#include "support/sim_fixture.h"
#include "ui/main_window.h"

namespace uitest {

// A simulator-less context with the main window built over it; helpers to
// read and write the stores the shell uses.
class ShellFixture : public testsupport::SimFixture {
 protected:
  ShellFixture() : main(std::make_unique<ui::MainWindow>(ctx())) {}

  std::string setting(std::string_view section, std::string_view key, std::string_view def = "<absent>") {
    return settings->get("Hangarpak", section, key, def);
  }
  void setSetting(std::string_view section, std::string_view key, std::string_view value) {
    settings->save("Hangarpak", section, key, value);
  }
  // A store as a finished first run leaves it, with the simulator at C:\FS2002.
  void storeAfterFirstRun() {
    makeSimulator(80);
    setSetting("Options", "RunOnce", "1");
    setSetting("Options", "FS Version", "80");
    setSetting("Main", "FS Path", "C:\\FS2002");
  }

  std::unique_ptr<ui::MainWindow> main;
};

}  // namespace uitest

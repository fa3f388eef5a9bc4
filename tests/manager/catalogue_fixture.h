#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/profile.h"
#include "core/window_host.h"
#include "manager/catalogue.h"
#include "support/fs_configs.h"
#include "support/sim_fixture.h"

namespace managertest {

// The progress dialog as the catalogue drives it.
struct RecordingWindows : core::WindowHost {
  std::vector<std::string> calls;
  std::vector<std::pair<int, int>> bars;  // max, value
  bool loaded = false;
  void loadProgress() override {
    loaded = true;
    calls.push_back("load");
  }
  void showProgress() override { calls.push_back("show"); }
  void unloadProgress() override {
    loaded = false;
    calls.push_back("unload");
  }
  bool progressLoaded() const override { return loaded; }
  void setProgressBar(int max, int value) override { bars.emplace_back(max, value); }
  void setBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
};

// A simulator at C:\FS2002 whose aircraft folder the cases fill.
class CatalogueTest : public testsupport::SimFixture {
 protected:
  CatalogueTest() {
    makeSimulator(80, "FS2002");
    ctx().setWindowHost(&windows);
  }

  // C:\FS2002\Aircraft\<relative>
  std::string air(std::string_view relative) const { return "C:\\FS2002\\Aircraft\\" + std::string(relative); }
  // What the catalogue writes in its rows: the aircraft folder as spelled on
  // disk + relative.
  std::string rowFolder(std::string_view relative) const {
    return "C:\\FS2002\\Aircraft\\" + std::string(relative) + "\\";
  }
  void writeAircraft(std::string_view folder, const std::vector<testsupport::Variant>& variants) {
    writeFile(air(folder) + "\\aircraft.cfg", testsupport::aircraftCfg(variants));
  }
  std::string cfgValue(std::string_view file, std::string_view section, std::string_view key) {
    return core::ReadProfileString(ctx(), file, section, key, "<absent>");
  }

  std::vector<std::string> texts(const core::ListView& list) const {
    std::vector<std::string> out;
    for (const auto& row : list.items()) out.push_back(row.text);
    return out;
  }
  std::vector<std::string> column(const core::ListView& list, std::size_t n) const {
    std::vector<std::string> out;
    for (const auto& row : list.items()) out.push_back(row.subItem(n));
    return out;
  }
  int rowOf(const core::ListView& list, std::string_view text) const {
    for (int i = 0; i < list.count(); ++i)
      if (list.item(i).text == text) return i;
    ADD_FAILURE() << "no row " << text;
    return -1;
  }

  RecordingWindows windows;
  manager::Catalogue cat{ctx()};
};

}  // namespace managertest

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/profile.h"
#include "manager/build_catalogue.h"
#include "manager/catalogue.h"
#include "support/fs_configs.h"
#include "support/sim_fixture.h"

namespace managertest {

using Strings = std::vector<std::string>;

// A simulator at C:\FS2002 whose aircraft folder the cases fill.
class CatalogueTest : public testsupport::SimFixture {
 protected:
  CatalogueTest() { makeSimulator(80, "FS2002"); }

  void writeAircraft(std::string_view folder, const std::vector<testsupport::Variant>& variants) {
    writeFile(air(folder) + "\\aircraft.cfg", testsupport::aircraftCfg(variants));
  }
  std::string cfgValue(std::string_view file, std::string_view section, std::string_view key) {
    return core::ReadProfileString(ctx(), file, section, key, "<absent>");
  }
  manager::Catalogue build() { return manager::BuildCatalogue(ctx()); }

  // Each variant as "title|folder|N|hidden or active|panel|sound", the
  // entries it uses by relative folder ("-" for none listed).
  static Strings variants(const manager::Catalogue& cat) {
    Strings out;
    for (const auto& v : cat.variants())
      out.push_back(v.title + "|" + v.folder + "|" + std::to_string(v.section) + "|" +
                    (v.hidden ? "hidden" : "active") + "|" + v.panel.value_or("-") + "|" + v.sound.value_or("-"));
    return out;
  }
  // Each entry as "name|folder|relative".
  template <class Entries>
  static Strings entries(const Entries& list) {
    Strings out;
    for (const manager::Entry& e : list) out.push_back(e.name + "|" + e.folder + "|" + e.relative);
    return out;
  }
};

}  // namespace managertest

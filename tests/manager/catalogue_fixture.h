#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/profile.h"
#include "manager/catalogue.h"
#include "support/fs_configs.h"
#include "support/sim_fixture.h"

namespace managertest {

using Strings = std::vector<std::string>;

// A simulator at C:\FS2002 whose aircraft folder the cases fill.
class CatalogueTest : public testsupport::SimFixture {
 protected:
  CatalogueTest() { makeSimulator(80, "FS2002"); }

  // C:\FS2002\Aircraft\<relative>
  std::string air(std::string_view relative) const { return "C:\\FS2002\\Aircraft\\" + std::string(relative); }
  void writeAircraft(std::string_view folder, const std::vector<testsupport::Variant>& variants) {
    writeFile(air(folder) + "\\aircraft.cfg", testsupport::aircraftCfg(variants));
  }
  std::string cfgValue(std::string_view file, std::string_view section, std::string_view key) {
    return core::ReadProfileString(ctx(), file, section, key, "<absent>");
  }

  // Each row as "text|sub-item 1|sub-item 2", with "|icon" if asked for.
  static Strings rows(const core::ListView& list, bool icons = false) {
    Strings out;
    for (const auto& r : list.items())
      out.push_back(r.text + "|" + r.subItem(1) + "|" + r.subItem(2) +
                    (icons ? "|" + std::to_string(r.smallIcon) : ""));
    return out;
  }
  static Strings texts(const core::ListView& list) {
    Strings out;
    for (const auto& row : list.items()) out.push_back(row.text);
    return out;
  }
  int rowOf(const core::ListView& list, std::string_view text) const {
    for (int i = 0; i < list.count(); ++i)
      if (list.item(i).text == text) return i;
    ADD_FAILURE() << "no row " << text;
    return -1;
  }
  // The user clicks the variant in the Aircraft tab.
  void selectVariant(std::string_view title) {
    cat.flyLst_MouseDown(manager::LeftButton);
    cat.flyLst_ItemClick(rowOf(cat.flyLst, title));
  }

  manager::Catalogue cat{ctx()};
};

}  // namespace managertest

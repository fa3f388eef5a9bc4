#include <string>

#include "core/context.h"
#include "core/errors.h"
#include "core/profile.h"
#include "manager/catalogue.h"

namespace manager {

void Catalogue::flyLst_ItemClick(int index) {
  if (index < 0 || index >= flyLst.count()) return;
  flyLst.select(index);
  ctx_.state.flyItemClicked = 1;
  if (!ctx_.state.catalogueBusy) UpdateAircraft();
  changed();
}

void Catalogue::flyLst_MouseDown(int /*button*/) {
  ctx_.state.flyItemClicked = 0;
  flyLstHasFocus = true;
}

// Hides an active variant (its "sim" value moves to "Hangarpak"/"Hide" + N
// and "sim" becomes empty) or unhides a hidden one (the value moves back and
// "Hide" + N stays, empty). The simulator skips a variant without "sim".
void Catalogue::flyLst_DblClick() {
  auto& state = ctx_.state;
  if (state.flyItemClicked != 1) return;
  const int row = flyLst.selectedIndex();
  if (row >= 0 && selFound) {
    const std::string cfg = state.selFolder + "aircraft.cfg";
    const std::string n = std::to_string(state.selSection);
    const std::string section = "fltsim." + n;
    auto& item = flyLst.item(row);
    // Each change is written before the value it replaces is given up: the
    // record before "sim" is emptied, "sim" before the record is cleared. A
    // write that fails leaves the variant as it was.
    const auto written = [&](const std::string& sec, const std::string& key, const std::string& value) {
      return static_cast<bool>(core::WriteProfileString(ctx_, cfg, sec, key, value));
    };
    if (item.smallIcon == ActiveIcon) {
      std::string sim;
      core::step([&] { sim = core::ReadProfileString(ctx_, cfg, section, "sim", ""); });
      if (written("Hangarpak", "Hide" + n, sim) && written(section, "sim", "")) item.smallIcon = HiddenIcon;
    } else {
      std::string sim;
      core::step([&] { sim = core::ReadProfileString(ctx_, cfg, "Hangarpak", "Hide" + n, ""); });
      if (written(section, "sim", sim)) {
        item.smallIcon = ActiveIcon;
        written("Hangarpak", "Hide" + n, "");
      }
    }
    countAircraft();
  }
  state.flyItemClicked = 0;
  changed();
}

}  // namespace manager

#include <string>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "manager/catalogue.h"
#include "manager/twins.h"

namespace manager {

namespace {

constexpr int kMaxSections = 1000;

// The relative folder (lower case) of the entry a variant uses: the target
// of an alias configuration, its own entry when the configuration is
// usable, else "---Not Listed---". The key may lead into another aircraft's
// folder, as add-ons that share a panel or sound set do, but a key that
// leads out of the simulator's aircraft folder lists nothing.
std::string currentEntry(core::Context& ctx, const Twin& twin, const std::string& selFolder,
                         const std::string& keyValue) {
  const std::string tree = core::normalizeWindowsPath(ctx.state.simFolder + "\\aircraft");
  const auto path = core::PathWithin(tree, selFolder, twinFolderName(twin, keyValue) + "\\" + twin.file);
  if (!path) return std::string(NotListed);
  const auto file = core::ReadProfileDocument(ctx, *path);
  const std::string alias = file.get("fltsim", "alias").value_or("");
  if (!alias.empty()) return core::lower(alias);
  if (!file.get(twin.markerSection, twin.markerKey).value_or("").empty())
    return core::lower(core::parentPath(path->substr(tree.size() + 1)));
  return std::string(NotListed);
}

}  // namespace

void selectEntry(core::ListView& lst, core::ComboBox& com, const std::string& entry) {
  for (int i = 0; i < lst.count(); ++i) {
    if (lst.item(i).subItem(2) == entry) {
      com.setListIndex(i + 1);
      return;
    }
  }
  com.setListIndex(0);
}

void Catalogue::UpdateAircraft() {
  auto& state = ctx_.state;
  if (state.catalogueBusy) return;
  state.selSection = 0;
  state.catalogueBusy = true;
  selFound = false;
  currentPanel.clear();
  currentSound.clear();

  const int row = flyLst.selectedIndex();
  if (row >= 0) {
    const auto& item = flyLst.item(row);
    state.selFolder = item.subItem(1);
    const std::string cfg = state.selFolder + "aircraft.cfg";
    const auto file = core::ReadProfileDocument(ctx_, cfg);
    // The first section with the row's title is the variant's; the number
    // in the row may be stale after an edit outside the program.
    for (int n = 0; n < kMaxSections && !selFound; ++n) {
      if (file.get("fltsim." + std::to_string(n), "title").value_or("") == item.text) {
        state.selSection = static_cast<std::int16_t>(n);
        selFound = true;
      }
    }
    if (!selFound) {
      // The file changed under the catalogue. The variant keeps
      // "---Not Listed---" in both lists and nothing is written for it
      // until the catalogue is rebuilt.
      ctx_.dialogs.msgBox("Overflow error in ''UpdateAircraft''\r\n\r\nError reading: " + cfg, "Error",
                          core::Buttons::OK, core::Icon::Critical);
    }
    for (const Twin* twin : kTwins) {
      std::string& current = this->*twin->current;
      if (selFound) {
        const std::string section = "fltsim." + std::to_string(state.selSection);
        core::step([&] {
          current = currentEntry(ctx_, *twin, state.selFolder, file.get(section, twin->variantKey).value_or(""));
        });
      } else {
        current = std::string(NotListed);
      }
      core::step([&] { selectEntry(this->*twin->lst, this->*twin->com, current); });
    }
  }

  state.catalogueBusy = false;
  for (const Twin* twin : kTwins) {
    const int picked = (this->*twin->com).listIndex();
    const auto& lst = this->*twin->lst;
    this->*twin->shown = picked <= 0 || picked > lst.count() ? std::string(NotListed) : lst.item(picked - 1).subItem(2);
  }
  changed();
}

}  // namespace manager

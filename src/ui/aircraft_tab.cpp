#include "ui/aircraft_tab.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/simulator.h"
#include "core/text.h"
#include "manager/build_catalogue.h"

namespace ui {

using manager::EntryKind;

AircraftTab::AircraftTab(core::Context& ctx) : ctx_(ctx) {
  flyLst.columns = {"name", "state", "folder"};
  // Selecting a position from code raises Click as a user's pick does; the
  // handlers tell the two apart by catalogueBusy.
  panelCom.onClick = [this] { panelCom_Click(); };
  lydCom.onClick = [this] { lydCom_Click(); };
}

void AircraftTab::Search() {
  auto& state = ctx_.state;
  auto& windows = ctx_.windows();
  windows.setBusyCursor(true);
  state.progressMode = core::ProgressMode::Update;
  windows.loadProgress();
  windows.showProgress();
  windows.repaintProgress();
  windows.repaintMainWindow();
  // Confirms simFolder; may ask the user, and may end the program.
  core::FindSimulator(ctx_);

  state.catalogueBusy = true;
  catalogue = manager::BuildCatalogue(ctx_);
  render();
  state.catalogueBusy = false;

  flyLst.select(flyLst.count() > 0 ? 0 : -1);
  flyLstHasFocus = true;
  if (flyLst.count() >= 1) UpdateAircraft();

  state.catalogueStale = false;
  windows.unloadProgress();
  windows.setBusyCursor(false);
  changed();
}

// The rows, the choice lists and the counts, from the catalogue; nothing
// selected.
void AircraftTab::render() {
  std::vector<core::ListItem> rows;
  rows.reserve(catalogue.variants().size());
  for (const auto& v : catalogue.variants()) rows.push_back(rowOf(v));
  flyLst.assign(std::move(rows));
  for (const EntryKind kind : manager::kEntryKinds) {
    core::ComboBox& com = choiceList(kind);
    com.clear();
    com.addItem(std::string(manager::NotListed));
    for (std::size_t i = 0; i < catalogue.entryCount(kind); ++i) com.addItem(catalogue.entry(kind, i).name);
  }
  panel2Lbl.caption = "Total: " + std::to_string(catalogue.panels().size());
  lyd2Lbl.caption = "Total: " + std::to_string(catalogue.sounds().size());
  countAircraft();
}

// A variant's row: its title, its state in words (the icon alone says it
// only to those who see the grey) and its folder below the aircraft folder.
core::ListItem AircraftTab::rowOf(const manager::AircraftVariant& v) const {
  const std::string aircraftFolder = ctx_.state.simFolder + "\\aircraft\\";
  std::string folder = v.folder;
  if (folder.size() > aircraftFolder.size() &&
      core::lower(folder.substr(0, aircraftFolder.size())) == core::lower(aircraftFolder))
    folder.erase(0, aircraftFolder.size());
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return {v.title, {v.hidden ? "hidden" : "active", folder}, v.hidden ? HiddenIcon : ActiveIcon, false};
}

// "Active: " + active + "  Total: " + variants.
void AircraftTab::countAircraft() {
  fly2Lbl.caption =
      "Active: " + std::to_string(catalogue.activeCount()) + "  Total: " + std::to_string(catalogue.variants().size());
}

void AircraftTab::refresh() {
  const bool selected = flyLst.selectedIndex() >= 0;
  ctx_.state.catalogueBusy = true;
  render();
  ctx_.state.catalogueBusy = false;
  const auto index = selected && shown_ ? catalogue.findVariant(shown_->folder, shown_->section) : std::nullopt;
  flyLst.select(index ? static_cast<int>(*index) : -1);
  if (index) UpdateAircraft();
  changed();
}

const manager::AircraftVariant* AircraftTab::selectedVariant() const {
  const int row = flyLst.selectedIndex();
  return row >= 0 && static_cast<std::size_t>(row) < catalogue.variants().size()
             ? &catalogue.variants()[static_cast<std::size_t>(row)]
             : nullptr;
}

void AircraftTab::UpdateAircraft() {
  auto& state = ctx_.state;
  if (state.catalogueBusy) return;
  state.catalogueBusy = true;
  if (const auto* variant = selectedVariant()) {
    shown_ = refOf(*variant);
    for (const EntryKind kind : manager::kEntryKinds) {
      const auto& used = variant->uses(kind);
      const auto index = used ? catalogue.findEntry(kind, *used) : std::nullopt;
      choiceList(kind).setListIndex(index ? static_cast<int>(*index) + 1 : 0);
    }
  }
  state.catalogueBusy = false;
  changed();
}

void AircraftTab::flyLst_ItemClick(int index) {
  if (index < 0 || index >= flyLst.count()) return;
  flyLst.select(index);
  ctx_.state.flyItemClicked = true;
  if (!ctx_.state.catalogueBusy) UpdateAircraft();
  changed();
}

bool AircraftTab::selectFolder(const std::string& folder) {
  const auto& variants = catalogue.variants();
  for (std::size_t i = 0; i < variants.size(); ++i)
    if (core::iequals(variants[i].folder, folder)) {
      flyLst.select(static_cast<int>(i));
      flyLstHasFocus = true;
      UpdateAircraft();
      return true;
    }
  return false;
}

void AircraftTab::flyLst_MouseDown(int /*button*/) {
  ctx_.state.flyItemClicked = false;
  flyLstHasFocus = true;
}

// Hides an active variant or unhides a hidden one; the simulator skips a
// variant without "sim".
void AircraftTab::flyLst_DblClick() {
  auto& state = ctx_.state;
  if (!state.flyItemClicked) return;
  state.flyItemClicked = false;
  hideCap_Click();
}

std::string AircraftTab::hideCaption() const {
  const auto* variant = selectedVariant();
  return !variant ? std::string() : variant->hidden ? "&Unhide" : "&Hide";
}

void AircraftTab::hideCap_Click() {
  if (const auto* variant = selectedVariant()) {
    const int row = flyLst.selectedIndex();
    const auto ref = refOf(*variant);
    const auto result = variant->hidden ? manager::Apply(ctx_, catalogue, manager::Unhide{ref})
                                        : manager::Apply(ctx_, catalogue, manager::Hide{ref});
    report(result);
    auto& shown = flyLst.item(row);
    const auto fresh = rowOf(catalogue.variants()[static_cast<std::size_t>(row)]);
    shown.smallIcon = fresh.smallIcon;
    shown.subItems = fresh.subItems;
    countAircraft();
  }
  changed();
}

void AircraftTab::panelCom_Click() {
  swap(EntryKind::Panel);
}

void AircraftTab::lydCom_Click() {
  swap(EntryKind::Sound);
}

// A pick of the user gives the selected variant that entry. "---Not
// Listed---" names no entry to give it: the list shows the variant's entry
// again and no file changes.
void AircraftTab::swap(EntryKind kind) {
  if (ctx_.state.catalogueBusy) return;
  const auto* variant = selectedVariant();
  const int picked = choiceList(kind).listIndex();
  if (variant && picked > 0 && static_cast<std::size_t>(picked) <= catalogue.entryCount(kind))
    report(manager::Apply(ctx_, catalogue,
                          manager::Swap{refOf(*variant), kind, catalogue.entry(kind, picked - 1).relative}));
  UpdateAircraft();
}

void AircraftTab::report(const manager::EditResult& result) {
  if (!result.succeeded())
    ctx_.dialogs.msgBox(result.text, "Hangarpak Aircraft Manager", core::Buttons::OK, core::Icon::Exclamation);
}

}  // namespace ui

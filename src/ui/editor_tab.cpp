#include "ui/editor_tab.h"

#include <algorithm>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/text.h"
#include "ui/aircraft_tab.h"
#include "ui/desktop_open.h"

namespace ui {

using manager::EntryKind;

namespace {

// "A", "A and B", "A, B and C", each in quotes.
std::string namesList(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + ("\"" + names[i] + "\"");
  return text;
}

// Where a deleted folder's files go.
std::string destination(const core::Context& ctx) {
  return ctx.trash ? " Everything goes to the trash." : " There is no trash: everything is deleted for good.";
}

// The line added to the deletion's question: the folder that goes, what
// else goes with it, and where the files go.
std::string scopeLine(const core::Context& ctx, const manager::DeletionScope& scope) {
  std::vector<std::string> parts;
  const auto add = [&parts](const std::vector<std::string>& names, const char* one, const char* many) {
    if (!names.empty()) parts.push_back((names.size() == 1 ? one : many) + namesList(names));
  };
  add(scope.otherVariants, "the variant ", "the variants ");
  add(scope.panels, "the panel ", "the panels ");
  add(scope.sounds, "the sound ", "the sounds ");
  std::string line = "The whole folder " + scope.folder + " goes with everything in it";
  if (parts.empty()) line += "; no other variant is in it";
  for (std::size_t i = 0; i < parts.size(); ++i)
    line += (i == 0 ? ", including " : i + 1 == parts.size() ? " and " : ", ") + parts[i];
  return line + "." + destination(ctx);
}

}  // namespace

EditorTab::EditorTab(core::Context& ctx, AircraftTab& aircraft) : ctx_(ctx), aircraft_(aircraft) {
  editLst.columns = {"name"};
}

std::string EditorTab::folderOf(int row) const {
  const auto& cat = aircraft_.catalogue;
  const auto i = static_cast<std::size_t>(row);
  return mode == AircraftMode ? cat.variants().at(i).folder : cat.entry(entryKind(), i).folder;
}

// The rows of the mode's list, in the catalogue's order; nothing selected.
void EditorTab::render() {
  const auto& cat = aircraft_.catalogue;
  std::vector<core::ListItem> rows;
  if (mode == AircraftMode) {
    for (const auto& v : cat.variants()) rows.push_back({v.title, {}, 0, false});
  } else {
    for (std::size_t i = 0; i < cat.entryCount(entryKind()); ++i)
      rows.push_back({cat.entry(entryKind(), i).name, {}, 0, false});
  }
  editLst.assign(std::move(rows));
}

// Selects a row (or none) and shows it in the name and path boxes.
void EditorTab::selectRow(int index) {
  editLst.select(index);
  if (index >= 0) {
    editLstHasFocus = true;
    nameTxt.text = editLst.item(index).text;
    pathTxt.text = folderOf(index);
  } else {
    nameTxt.text.clear();
    pathTxt.text.clear();
  }
}

void EditorTab::FillEditList(int newMode) {
  if (ctx_.state.catalogueStale) aircraft_.Search();
  editLst.clear();
  static constexpr const char* kCaptions[] = {"E&dit Aircraft", "E&dit Panel", "E&dit Sound"};
  if (newMode >= AircraftMode && newMode <= SoundMode) {
    mode = newMode;
    editCmd.caption = kCaptions[newMode - 1];
    render();
  }
  selectRow(editLst.count() > 0 ? 0 : -1);
  changed();
}

bool EditorTab::selectFolder(const std::string& folder) {
  for (int row = 0; row < editLst.count(); ++row)
    if (core::iequals(folderOf(row), folder)) {
      selectRow(row);
      changed();
      return true;
    }
  return false;
}

void EditorTab::editLst_MouseDown(int button) {
  editLstHasFocus = true;
  editRightButton = button == RightButton ? 1 : 0;
}

void EditorTab::editLst_ItemClick(int index) {
  if (index < 0 || index >= editLst.count()) return;
  selectRow(index);
  changed();
  if (editRightButton == 1) {
    if (onPopMenu) onPopMenu();
    editRightButton = 5;
  }
}

void EditorTab::renCap_Click() {
  const int row = editLst.selectedIndex();
  if (row >= 0 && onStartLabelEdit) onStartLabelEdit(row);
}

void EditorTab::editLst_AfterLabelEdit(bool& /*cancel*/, const std::string& newString) {
  nameTxt.text = newString;
  nameTxt_KeyUp(0, 0);
}

// The renamed row moves to its new place in editLst, the catalogue and the
// Aircraft tab's lists alike; the Aircraft tab keeps what it shows.
void EditorTab::nameTxt_KeyUp(int /*keyCode*/, int /*shift*/) {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  auto& cat = aircraft_.catalogue;
  const auto i = static_cast<std::size_t>(row);
  std::optional<std::size_t> moved;
  manager::EditResult result;
  if (mode == AircraftMode) {
    const auto ref = refOf(cat.variants().at(i));
    result = manager::Apply(ctx_, cat, manager::RenameVariant{ref, nameTxt.text});
    moved = cat.findVariant(ref.folder, ref.section);
  } else {
    const std::string relative = cat.entry(entryKind(), i).relative;
    result = manager::Apply(ctx_, cat, manager::RenameEntry{entryKind(), relative, nameTxt.text});
    moved = cat.findEntry(entryKind(), relative);
  }
  if (!result.succeeded())
    ctx_.dialogs.msgBox(result.text, "Hangarpak Addon Editor", core::Buttons::OK, core::Icon::Exclamation);
  // The box shows the name the entry has now: the typed one, or the old one
  // when the file did not take it.
  render();
  selectRow(moved ? static_cast<int>(*moved) : -1);
  aircraft_.refresh();
  changed();
}

void EditorTab::editCmd_Click() {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  const std::string folder = folderOf(row);
  OpenOnDesktop(ctx_, ctx_.fs.hostPath(folder), {"The folder", "file manager"});
}

void EditorTab::delCap_Click() {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  auto& cat = aircraft_.catalogue;
  const std::string name = editLst.item(row).text;
  const std::string folder = folderOf(row);
  const bool aircraft = mode == AircraftMode;

  if (const auto why = manager::WhyNotDeletable(ctx_, folder, name)) {
    ctx_.dialogs.msgBox(*why, "Delete " + name, core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  const auto i = static_cast<std::size_t>(row);
  const std::string scope = aircraft ? scopeLine(ctx_, manager::ScopeOfDeletion(cat, refOf(cat.variants().at(i))))
                                     : "The folder " + folder + " goes with its doc folder." + destination(ctx_);
  if (ctx_.dialogs.msgBox("Do you want to delete " + name + "?\r\n\r\n" + scope, "Delete " + name, core::Buttons::YesNo,
                          core::Icon::Exclamation) != core::Answer::Yes)
    return;
  if (aircraft &&
      ctx_.dialogs.msgBox("All files and directories will be deleted!", "Warning", core::Buttons::OKCancelDefaultCancel,
                          core::Icon::Exclamation) != core::Answer::OK)
    return;

  manager::EditResult result;
  if (aircraft) {
    ctx_.state.catalogueStale = true;
    result = manager::Apply(ctx_, cat, manager::DeleteAircraft{refOf(cat.variants().at(i))});
  } else {
    result = manager::Apply(ctx_, cat, manager::DeleteEntry{entryKind(), cat.entry(entryKind(), i).relative});
  }
  if (!result.succeeded())
    ctx_.dialogs.msgBox(result.text, "Delete " + name, core::Buttons::OK, core::Icon::Exclamation);
  // The whole catalogue is read again after an aircraft's folder went.
  if (ctx_.state.catalogueStale)
    aircraft_.Search();
  else
    aircraft_.refresh();
  render();
  // The row before the deleted one, or the first.
  selectRow(editLst.count() == 0 ? -1 : std::min(std::max(row - 1, 0), editLst.count() - 1));
  changed();
}

}  // namespace ui

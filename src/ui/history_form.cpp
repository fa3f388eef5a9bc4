#include "ui/history_form.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/clock_text.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "journal/store.h"
#include "journal/uninstall.h"
#include "manager/build_catalogue.h"
#include "ui/alias_users.h"

namespace ui {

namespace {

// The last part of a Windows path: the archive's file name.
std::string fileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

// One step as a line of a message box: "delete C:\...\file", or what was
// left alone and why.
std::string stepLine(const journal::UninstallStep& step) {
  std::string where = step.effect.path;
  if (!step.effect.key.empty()) where += " [" + step.effect.section + "] " + step.effect.key;
  switch (step.outcome) {
    case journal::StepOutcome::Reversed:
      return step.action + " " + where;
    case journal::StepOutcome::AlreadyUndone:
      if (step.action == "hand over") return "keep " + where + " (" + step.reason + ")";
      return "nothing to do for " + where;
    case journal::StepOutcome::LeftAlone:
      break;
  }
  return "left alone: " + where + (step.reason.empty() ? "" : " (" + step.reason + ")");
}

// The journal's UTC time ("2026-12-07T12:40:47Z") as the user's local time
// ("2026-12-07 13:40"); anything else as it is.
std::string localTime(const std::string& utc) {
  std::tm t{};
  if (std::sscanf(utc.c_str(), "%d-%d-%dT%d:%d:%dZ", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min,
                  &t.tm_sec) != 6)
    return utc;
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  return core::localTimeText(timegm(&t), "%Y-%m-%d %H:%M");
}

// "file-overwritten" as "file overwritten".
std::string spoken(std::string_view word) {
  std::string text(word);
  std::replace(text.begin(), text.end(), '-', ' ');
  return text;
}

// A message box shows this many steps of an uninstall; the rest are counted.
constexpr std::size_t kStepsShown = 25;

std::string stepsText(const journal::UninstallReport& report, bool leftAloneOnly) {
  std::string text;
  if (!leftAloneOnly)
    for (const auto& edit : report.edits) text += "undo " + edit.installation.description + "\r\n";
  std::size_t shown = 0, more = 0;
  for (const auto& step : report.steps) {
    if (leftAloneOnly && step.outcome != journal::StepOutcome::LeftAlone) continue;
    if (shown == kStepsShown) {
      ++more;
      continue;
    }
    ++shown;
    text += stepLine(step) + "\r\n";
  }
  if (more) text += "... and " + std::to_string(more) + " more\r\n";
  return text;
}

}  // namespace

HistoryForm::HistoryForm(core::Context& ctx, journal::Store& store) : ctx_(ctx), store_(store) {
  caption = "History";
  historyLst.columns = {"#", "Time", "Archive", "Kind", "Folder", "Created", "Overwritten", "Keys", "State"};
  effectsLst.columns = {"#", "Change", "Path", "Detail"};
}

void HistoryForm::Form_Load() {
  fill(std::nullopt);
}

void HistoryForm::fill(std::optional<std::int64_t> pick) {
  auto rows = store_.installations();
  std::reverse(rows.begin(), rows.end());
  historyLst.clear();
  for (const auto& row : rows) {
    const auto& i = row.installation;
    historyLst.add(
        std::to_string(i.id),
        {localTime(i.time), i.change == journal::Change::Install ? fileNameOf(i.archivePath) : i.description,
         std::string(i.change == journal::Change::Install ? journal::wordOf(i.kind) : journal::wordOf(i.change)),
         i.folder, std::to_string(row.filesCreated), std::to_string(row.filesOverwritten),
         std::to_string(row.keysWritten), journal::standing(i)});
  }
  int row = historyLst.count() ? 0 : -1;
  for (int k = 0; pick && k < historyLst.count(); ++k)
    if (historyLst.item(k).text == std::to_string(*pick)) row = k;
  historyLst_SelectionChanged(row);
}

void HistoryForm::historyLst_SelectionChanged(int row) {
  if (row >= historyLst.count()) row = -1;
  historyLst.select(row);
  picked_ = row < 0 ? std::nullopt : std::optional<std::int64_t>(std::stoll(historyLst.item(row).text));
  effectsLst.clear();
  uninstallCmd.enabled = false;
  if (const auto id = picked_) {
    for (const auto& e : store_.effects(*id)) {
      std::string detail = e.key.empty() ? e.note : "[" + e.section + "] " + e.key + " = " + e.newValue;
      effectsLst.add(std::to_string(e.seq), {spoken(journal::wordOf(e.kind)), e.path, detail});
    }
    const auto installation = store_.installation(*id);
    uninstallCmd.enabled = installation && journal::uninstallable(*installation);
  }
  changed();
}

void HistoryForm::uninstallCmd_Click() {
  const auto id = picked_;
  if (!id) return;
  const std::string title = "Uninstall";
  try {
    const auto plan = journal::Uninstall(ctx_, store_, *id, true);
    const auto& row = plan.installation;
    const std::string name = row.change == journal::Change::Install ? fileNameOf(row.archivePath) : row.description;
    // Variants elsewhere that use its panel or sound set through an alias
    // would point at a folder that is gone: they are pointed back first.
    manager::Catalogue catalogue;
    if (!ctx_.state.simFolder.empty()) catalogue = manager::BuildCatalogue(ctx_);
    const auto users = AliasUsers(catalogue, store_.effects(*id));
    const std::string first = users.empty() ? std::string()
                                            : NamesOf(users) +
                                                  " use its panel or sound set through an alias; they are first "
                                                  "pointed back to their own.\r\n\r\n";
    if (ctx_.dialogs.msgBox("Uninstall " + name + "?\r\n\r\n" + first + stepsText(plan, false), title,
                            core::Buttons::YesNo, core::Icon::Question) != core::Answer::Yes)
      return;
    const auto pointed = PointBack(ctx_, catalogue, users);
    if (!pointed.failed.empty()) {
      ctx_.dialogs.msgBox(name + " is not uninstalled:\r\n\r\n" + pointed.failed.front(), title, core::Buttons::OK,
                          core::Icon::Exclamation);
      return fill(id);
    }
    const auto done = journal::Uninstall(ctx_, store_, *id, false);
    // The Aircraft and Editor tabs list what was there before.
    ctx_.state.catalogueStale = true;
    std::string kept;
    for (const auto& line : pointed.kept) kept += "\r\n" + line;
    if (done.allReversed())
      ctx_.dialogs.msgBox(name + " is uninstalled." + kept, title, core::Buttons::OK, core::Icon::Information);
    else
      ctx_.dialogs.msgBox(name +
                              " is partly uninstalled. These changes were made by somebody else since and are "
                              "left alone:\r\n\r\n" +
                              stepsText(done, true),
                          title, core::Buttons::OK, core::Icon::Exclamation);
  } catch (const core::RuntimeError& e) {
    ctx_.dialogs.msgBox("Uninstall error " + std::to_string(e.number()) + "\r\n" + e.what(), title, core::Buttons::OK,
                        core::Icon::Exclamation);
  }
  fill(id);
}

}  // namespace ui

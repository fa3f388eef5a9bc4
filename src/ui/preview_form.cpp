#include "ui/preview_form.h"

#include <algorithm>

#include "plan/install_plan.h"

namespace ui {

namespace {

std::string fileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

std::string shownValue(const std::optional<std::string>& value) {
  return value ? "\"" + *value + "\"" : "absent";
}

// A message's lines as one.
std::string oneLine(std::string text) {
  std::string line;
  for (char c : text)
    if (c != '\n' || (!line.empty() && line.back() != ' ')) line += c == '\n' ? ' ' : c;
  return line;
}

std::string plural(std::size_t n, const std::string& word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string originOf(const plan::PlannedFile& file, const plan::InstallPlan& plan,
                     const std::function<std::string(std::int64_t)>& archiveOf) {
  if (file.oldFromArchive && *file.oldFromArchive < plan.archives.size())
    return "put there by " + fileNameOf(plan.archives[*file.oldFromArchive].archive) + " of this preview";
  if (!file.oldInstallation) return {};
  const std::string id = "installation " + std::to_string(*file.oldInstallation);
  const std::string archive = archiveOf ? fileNameOf(archiveOf(*file.oldInstallation)) : std::string();
  return "put there by " + (archive.empty() ? id : archive + " (" + id + ")");
}

// What the archive's section says of it: what it would install, or why not.
std::string detailOf(const plan::ArchivePlan& a) {
  const auto verdict = plan::verdictOf(a);
  if (verdict.verdict != plan::Verdict::Install) return verdict.reason;
  std::size_t overwrites = 0, fresh = 0, identical = 0;
  for (const auto& f : a.files) {
    overwrites += f.change == plan::FileChange::Overwrites;
    fresh += f.change == plan::FileChange::New;
    identical += f.change == plan::FileChange::Identical;
  }
  std::string line = std::string(plan::kindWord(a.kind));
  if (!a.folder.empty()) line += " \"" + a.folder + "\"";
  return line + ", " + plural(fresh, "new file") + ", " + plural(overwrites, "overwrite") + " of different content, " +
         plural(identical, "identical file") + ", " + plural(a.values.size(), "value") + " written";
}

}  // namespace

PreviewForm::PreviewForm(const plan::InstallPlan& plan,
                         const std::function<std::string(std::int64_t installation)>& archiveOf) {
  caption = "Preview";
  planLst.columns = {"Change", "Target", "Source", "Detail"};
  summaryLbl.caption = plan::planSummary(plan);
  if (plan.endedProgram) summaryLbl.caption += " The run would end early.";
  // One section per archive: a heading row that says what would happen to
  // it, then its changes, overwrites of different content first.
  for (const auto& a : plan.archives) {
    const std::string name = a.archive.empty() ? "(before any archive)" : fileNameOf(a.archive);
    sectionRows.push_back(
        planLst.add(name + ": " + plan::verdictWords(plan::verdictOf(a).verdict) + ": " + detailOf(a), {"", "", ""}));
    for (const auto& n : a.notes) planLst.add("note", {n.path, "", n.text});
    for (const auto& p : a.placedFolders) planLst.add("places folder", {p.target, p.archiveFolder, ""});
    auto files = a.files;
    // The enum is in order of concern.
    std::stable_sort(files.begin(), files.end(), [](const auto& x, const auto& y) { return x.change < y.change; });
    for (const auto& f : files)
      planLst.add(plan::changeWord(f.change), {f.target, f.source, originOf(f, plan, archiveOf)});
    for (const auto& d : a.folders) planLst.add(d.removed ? "removes folder" : "makes folder", {d.path, "", ""});
    for (const auto& v : a.values) {
      const char* store = v.store == plan::PlannedValue::Store::Profile    ? "writes key"
                          : v.store == plan::PlannedValue::Store::Settings ? "writes setting"
                                                                           : "writes registry value";
      const std::string where = v.section.empty() ? v.key : "[" + v.section + "] " + v.key;
      planLst.add(store, {v.file, where, shownValue(v.oldValue) + " -> " + shownValue(v.newValue)});
    }
    for (const auto& p : a.programs) {
      std::string command;
      for (const auto& arg : p.argv) command += (command.empty() ? "" : " ") + arg;
      planLst.add("runs program", {command, "", "not run now; what it changes is not known"});
    }
    for (const auto& q : a.prompts) planLst.add("asks", {q.title, oneLine(q.text), "answer: " + q.answer});
  }
}

}  // namespace ui

#include "plan/plan_recorder.h"

#include "core/text.h"

namespace plan {

ArchivePlan& PlanRecorder::current() {
  if (!open_) {
    plan_.archives.emplace_back();
    fs_.setArchive(plan_.archives.size() - 1);
    open_ = true;
  }
  return plan_.archives.back();
}

std::string PlanRecorder::archiveStarted(std::string_view archivePath) {
  close();
  current().archive = std::string(archivePath);
  return {};
}

std::string PlanRecorder::archiveFinished(bool counted, core::PackageKind kind, std::string_view folder) {
  ArchivePlan& a = current();
  a.counted = counted;
  a.kind = kind;
  a.folder = std::string(folder);
  close();
  return {};
}

std::string PlanRecorder::archiveFailed() {
  // Told once by the failing installation and once more as the program ends.
  if (!open_) return {};
  current().failed = true;
  close();
  return {};
}

void PlanRecorder::profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                                     const std::optional<std::string>& oldValue, std::string_view newValue) {
  current().values.push_back({PlannedValue::Store::Profile, std::string(file), std::string(section), std::string(key),
                              oldValue, std::string(newValue)});
}

void PlanRecorder::memberStored(std::string_view stored, std::string_view archivePath) {
  members_[core::lower(stored)] = std::string(archivePath);
}

void PlanRecorder::folderPlaced(std::string_view archiveFolder, std::string_view target) {
  current().placedFolders.push_back({std::string(archiveFolder), std::string(target)});
}

void PlanRecorder::noted(std::string_view path, std::string_view note) {
  current().notes.push_back({std::string(path), std::string(note)});
}

void PlanRecorder::close() {
  if (!open_) return;
  open_ = false;
  ArchivePlan& a = plan_.archives.back();
  auto changes = fs_.takeChanges();
  for (auto& f : changes.files) {
    if (!f.oldHash.empty() && !f.oldFromArchive && originOf_) f.oldInstallation = originOf_(f.target, f.oldHash);
    if (!f.sourceInArchive) continue;
    if (auto it = members_.find(core::lower(f.source)); it != members_.end()) f.source = it->second;
  }
  members_.clear();
  a.files = std::move(changes.files);
  a.folders = std::move(changes.folders);
}

}  // namespace plan

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/change_journal.h"
#include "plan/install_plan.h"
#include "plan/planning_fs.h"

namespace plan {

// Which earlier installation put a file with this content at this path
// (the install journal's answer); empty: nobody knows.
using OriginLookup = std::function<std::optional<std::int64_t>(std::string_view path, std::string_view hash)>;

// The plan as it grows: the journal of the planning run. It opens an
// archive's plan where the install command starts the archive and closes it
// with the file system's net changes where the archive ends; the planning
// stores, launcher and dialogs add what they see to the open one.
class PlanRecorder : public core::ChangeJournal {
 public:
  PlanRecorder(PlanningFileSystem& fs, OriginLookup originOf) : fs_(fs), originOf_(std::move(originOf)) {}

  // The archive being planned; one without a name collects what happens
  // outside any archive.
  ArchivePlan& current();
  InstallPlan& plan() { return plan_; }

  std::string archiveStarted(std::string_view archivePath) override;
  std::string archiveFinished(bool counted, core::PackageKind kind, std::string_view folder) override;
  std::string archiveFailed() override;
  void profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                         const std::optional<std::string>& oldValue, std::string_view newValue) override;
  void memberStored(std::string_view stored, std::string_view archivePath) override;
  void folderPlaced(std::string_view archiveFolder, std::string_view target) override;
  void noted(std::string_view path, std::string_view note) override;

  // Closes the open archive's plan (also after the run ended early).
  void close();

 private:
  PlanningFileSystem& fs_;
  OriginLookup originOf_;
  InstallPlan plan_;
  bool open_ = false;
  // The open archive's members by their lower-case name in the extraction
  // folder: the planned files name them as the archive does.
  std::map<std::string, std::string> members_;
};

}  // namespace plan

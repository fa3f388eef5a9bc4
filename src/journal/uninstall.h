#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "journal/model.h"

namespace core {
class Context;
}

namespace journal {

class Store;

enum class StepOutcome {
  Reversed,       // done (or, in a dry run, would be done)
  AlreadyUndone,  // already as it was before the installation: nothing to do
  LeftAlone,      // changed since, or not reversible: left as it is
};
std::string_view wordOf(StepOutcome outcome);

struct UninstallStep {
  Effect effect;
  std::string action;  // what reversing it does: "delete", "restore", ...
  StepOutcome outcome = StepOutcome::LeftAlone;
  std::string reason;  // why it was left alone or needed nothing
};

struct UninstallReport {
  Installation installation;
  bool dryRun = false;
  std::vector<UninstallStep> steps;  // newest effect first
  // The manager's edits of the installation's files, undone before it,
  // newest first.
  std::vector<UninstallReport> edits;
  InstallState state = InstallState::Installed;
  bool allReversed() const;
};

// Whether a Windows path is an installation's own: a file it wrote, or
// anything in a folder it made (compared without regard to case).
class OwnPaths {
 public:
  explicit OwnPaths(const std::vector<Effect>& effects);
  bool holds(std::string_view path) const;
  bool holdsAny(const std::vector<Effect>& effects) const;

 private:
  std::set<std::string> files_;
  std::vector<std::string> folders_;  // lower case, with trailing "\"
};

// Reverses one installation, newest effect first, touching only what is
// still as the installation left it: a file still holding what it wrote is
// deleted or gets its kept old content back, a key still holding its value
// gets its old value back or goes, a folder it made goes when empty.
// Anything changed since is left alone and reported. A profile key of a file
// the installation itself created or replaced goes with that file. The
// installation is then marked uninstalled, or partly uninstalled when
// something was left alone; its kept old files are removed once it is
// wholly uninstalled (each backup belongs to one effect, so no other
// installation's undo needs them); no row names them from then on. The
// installation reads uninstalling while this runs, so that the next start
// finishes an uninstall that was cut short. The manager's later edits of
// the installation's files (a hide, a swap, a rename) are undone first, so
// that what it left is as it left it and goes; a file a later installation
// overwrote is left to that one, whose uninstall then puts back what was
// there before this one. A dry run only reports. Throws
// core::RuntimeError 53 for an unknown id.
UninstallReport Uninstall(core::Context& ctx, Store& store, std::int64_t id, bool dryRun);

// Rolls back an installation that never ended (a killed program left it in
// progress) to what was there before it started, newest effect first,
// whatever is there now; it then reads interrupted and rolled back (or
// partly uninstalled, when something could not be put back).
UninstallReport RollBack(core::Context& ctx, Store& store, std::int64_t id);

}  // namespace journal

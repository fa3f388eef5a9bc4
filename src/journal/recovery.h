#pragma once

#include <string>
#include <vector>

#include "journal/uninstall.h"

namespace core {
class Context;
}

namespace journal {

class Store;

// What a start did with the installations an earlier run left unfinished:
// each one killed while installing is rolled back, each one killed while
// uninstalling is uninstalled to the end. Their reports, newest first.
struct Recovery {
  std::vector<UninstallReport> reports;
  // Why the journal could not be read, when it could not ("" else).
  std::string error;
};

// Recovers the journal of the context's application folder, when it has
// one. Run at start, by the holder of the instance lock, before anything
// else touches the simulator's tree; then the backups no row names go.
Recovery RecoverUnfinished(core::Context& ctx);

// Removes the backups no row names: each was made for a change whose intent
// was never committed, so that change was not made either. An unfinished
// installation names its backups in its rows. Returns how many went.
int RemoveUnnamedBackups(Store& store, const std::string& appFolder);

// One sentence for each report (and the error): what happened to which
// archive, for the window's message box and the terminal.
std::vector<std::string> recoveryMessages(const Recovery& recovery);

}  // namespace journal

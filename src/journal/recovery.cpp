#include "journal/recovery.h"

#include <filesystem>

#include "core/context.h"
#include "core/errors.h"
#include "journal/store.h"

namespace journal {

Recovery RecoverUnfinished(core::Context& ctx) {
  Recovery recovery;
  try {
    const auto store = openExistingJournal(ctx.locations.appFolder);
    if (!store) return recovery;
    for (const auto id : store->unfinished()) {
      const auto installation = store->installation(id);
      recovery.reports.push_back(installation && installation->state == InstallState::Uninstalling
                                     ? Uninstall(ctx, *store, id, false)
                                     : RollBack(ctx, *store, id));
    }
    RemoveUnnamedBackups(*store, ctx.locations.appFolder);
  } catch (const core::RuntimeError& e) {
    recovery.error = e.what();
  }
  return recovery;
}

int RemoveUnnamedBackups(Store& store, const std::string& appFolder) {
  const auto named = store.backupNames();
  int removed = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(backupFolder(appFolder), ec), end; !ec && it != end; it.increment(ec))
    if (!named.count(it->path().filename().string()) && std::filesystem::remove(it->path(), ec)) ++removed;
  return removed;
}

std::vector<std::string> recoveryMessages(const Recovery& recovery) {
  std::vector<std::string> out;
  for (const auto& report : recovery.reports) {
    const Installation& i = report.installation;
    const std::string which =
        i.change == Change::Install
            ? "installation " + std::to_string(i.id) + " of " + i.archivePath
            : std::string(wordOf(i.change)) + " " + std::to_string(i.id) + " (" + i.description + ")";
    const bool whole = report.allReversed();
    if (i.state == InstallState::Uninstalling)
      out.push_back("The uninstall of " + which + " was interrupted; it has now been finished" +
                    (whole ? "." : ", except for what its history shows as left alone."));
    else
      out.push_back("The " + which + " was interrupted; " +
                    (whole ? "everything it had changed was put back as it was before."
                           : "what it had changed was put back, except for what its history shows as left alone."));
  }
  if (!recovery.error.empty()) out.push_back("Unfinished installations could not be looked for: " + recovery.error);
  return out;
}

}  // namespace journal

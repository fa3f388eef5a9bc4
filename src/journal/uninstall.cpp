#include "journal/uninstall.h"

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "journal/recorder.h"
#include "journal/store.h"

namespace journal {

namespace {

bool isFileEffect(EffectKind kind) {
  return kind == EffectKind::FileCreated || kind == EffectKind::FileOverwritten || kind == EffectKind::FileDeleted;
}

enum class Mode { DryRun, Uninstall, RollBack };

// Reverses single effects, remembering in a dry run what it would have done
// so that later steps see the tree as it would then be. Rolling back an
// unfinished installation puts back what was there before whatever is there
// now: nothing but that installation wrote there since it started, and a
// change may have been cut short after its intent was written, or before.
class Undoer {
 public:
  Undoer(core::Context& ctx, Store& store, Mode mode)
      : ctx_(ctx), store_(store), dryRun_(mode == Mode::DryRun), force_(mode == Mode::RollBack) {}

  // The row whose effects come next; the edits undone with an installation
  // go first, through the same undoer, so that a dry run sees the tree as
  // they would leave it.
  void row(const Installation& next) {
    id_ = next.id;
    handsOver_ = !force_ && next.change == Change::Install;
  }

  UninstallStep undo(const Effect& e) {
    UninstallStep step{e, {}, StepOutcome::LeftAlone, {}};
    try {
      switch (e.kind) {
        case EffectKind::FileCreated:
          fileCreated(step);
          break;
        case EffectKind::FileOverwritten:
          fileReplaced(step);
          break;
        case EffectKind::FileDeleted:
          fileDeleted(step);
          break;
        case EffectKind::FolderCreated:
          folderCreated(step);
          break;
        case EffectKind::FolderRemoved:
          folderRemoved(step);
          break;
        case EffectKind::KeyWritten:
          keyWritten(step);
          break;
        case EffectKind::SettingWritten:
        case EffectKind::RegistryValueWritten:
          storeValueWritten(step);
          break;
        case EffectKind::Noted:
          // A note changed nothing, so nothing is to be undone.
          step.outcome = StepOutcome::AlreadyUndone;
          step.reason = e.note;
          break;
        default:
          step.reason = e.note.empty() ? "cannot be reversed" : e.note;
      }
    } catch (const core::RuntimeError& err) {
      step.outcome = StepOutcome::LeftAlone;
      step.reason = err.what();
    }
    return step;
  }

 private:
  bool fileThere(const std::string& path) {
    const std::string lowered = core::lower(path);
    return !gone_.count(lowered) && (now_.count(lowered) || ctx_.fs.fileExists(path));
  }
  std::string currentHash(const std::string& path) {
    if (auto it = now_.find(core::lower(path)); it != now_.end()) return it->second;
    return hashHostFile(ctx_.fs.hostPath(path)).second;
  }

  // A file this installation wrote that a later one, still installed,
  // overwrote: it stays, and the later one's undo is given what this one
  // found there, so that uninstalling both in either order leaves what was
  // there before either.
  bool handedOver(UninstallStep& step) {
    const Effect& e = step.effect;
    const auto next = handsOver_ ? store_.nextOverwrite(e.path, id_) : std::nullopt;
    if (!next) return false;
    step.action = "hand over";
    step.outcome = StepOutcome::AlreadyUndone;
    step.reason = "left to installation " + std::to_string(next->first) +
                  ", which overwrote it: its uninstall now puts back what was there before this one";
    if (!dryRun_) {
      const std::string dropped = store_.handOver(e, id_, next->first, next->second);
      std::error_code ec;
      if (!dropped.empty()) std::filesystem::remove(backupFolder(ctx_.locations.appFolder) + "/" + dropped, ec);
    }
    return true;
  }

  std::string changedSince(const std::string& path, const std::string& hash) {
    const auto origin = store_.originOf(path, hash);
    if (origin && *origin != id_)
      return "changed since: it holds what installation " + std::to_string(*origin) + " wrote";
    return "changed since the installation";
  }

  void done(UninstallStep& step, const std::function<void()>& act) {
    if (!dryRun_) act();
    step.outcome = StepOutcome::Reversed;
  }

  bool restore(UninstallStep& step) {
    const std::string& backup = step.effect.backup;
    const std::string host = backupFolder(ctx_.locations.appFolder) + "/" + backup;
    const auto windows = ctx_.drives.toWindows(host);
    if (backup.empty() || !windows || !ctx_.fs.fileExists(*windows)) {
      step.reason = step.effect.note.empty() ? "its old content was not kept" : step.effect.note;
      return false;
    }
    done(step, [&] { ctx_.fs.copyFile(*windows, step.effect.path); });
    if (!step.effect.oldHash.empty()) now_[core::lower(step.effect.path)] = step.effect.oldHash;
    return true;
  }

  void fileCreated(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = "delete";
    if (handedOver(step)) return;
    if (!fileThere(e.path)) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "no longer there";
      return;
    }
    if (!force_) {
      const std::string hash = currentHash(e.path);
      if (hash != e.newHash) {
        step.reason = changedSince(e.path, hash);
        return;
      }
    }
    done(step, [&] { ctx_.fs.deleteFile(e.path); });
    gone_.insert(core::lower(e.path));
    now_.erase(core::lower(e.path));
  }

  void fileReplaced(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = "restore";
    if (force_) return putBack(step);
    if (handedOver(step)) return;
    if (!fileThere(e.path)) {
      step.reason = "no longer there";
      return;
    }
    const std::string hash = currentHash(e.path);
    if (hash == e.oldHash) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already holds its old content";
    } else if (hash != e.newHash) {
      step.reason = changedSince(e.path, hash);
    } else {
      restore(step);
    }
  }

  // The file's old content, unless it holds that already.
  void putBack(UninstallStep& step) {
    const Effect& e = step.effect;
    if (fileThere(e.path) && !e.oldHash.empty() && currentHash(e.path) == e.oldHash) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already holds its old content";
    } else if (restore(step)) {
      gone_.erase(core::lower(e.path));
    }
  }

  void fileDeleted(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = "restore";
    if (force_) return putBack(step);
    if (!fileThere(e.path)) {
      if (restore(step)) gone_.erase(core::lower(e.path));
      return;
    }
    if (currentHash(e.path) == e.oldHash) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already there";
    } else {
      step.reason = "another file is there now";
    }
  }

  void folderCreated(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = "remove folder";
    if (gone_.count(core::lower(e.path)) || !ctx_.fs.folderExists(e.path)) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "no longer there";
      return;
    }
    if (force_) {
      // What is in it came with the installation, recorded or not.
      done(step, [&] { removeTree(e.path); });
      gone_.insert(core::lower(e.path));
      return;
    }
    auto entries = ctx_.fs.listFiles(e.path, "*", true);
    for (auto& name : ctx_.fs.listFolders(e.path)) entries.push_back(std::move(name));
    for (const auto& name : entries)
      if (!gone_.count(core::lower(core::joinPath(e.path, name)))) {
        if (!folderHandedOver(step)) step.reason = "not empty";
        return;
      }
    done(step, [&] { ctx_.fs.removeFolder(e.path); });
    gone_.insert(core::lower(e.path));
  }

  // A folder this installation made that holds what a later one, still
  // installed, put in it: it goes with that one.
  bool folderHandedOver(UninstallStep& step) {
    const auto next = handsOver_ ? store_.nextInside(step.effect.path, id_) : std::nullopt;
    if (!next) return false;
    step.action = "hand over";
    step.outcome = StepOutcome::AlreadyUndone;
    step.reason = "left to installation " + std::to_string(*next) + ", which put files in it: its uninstall removes it";
    if (!dryRun_) store_.giveFolder(step.effect, id_, *next);
    return true;
  }

  // Made again, empty: what was in it comes back by the effects before.
  void folderRemoved(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = "make folder";
    if (!gone_.count(core::lower(e.path)) && ctx_.fs.folderExists(e.path)) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already there";
      return;
    }
    done(step, [&] { ctx_.fs.makeFolder(e.path); });
    gone_.erase(core::lower(e.path));
  }

  void removeTree(const std::string& folder) {
    for (const auto& name : ctx_.fs.listFiles(folder, "*", true)) {
      const std::string path = core::joinPath(folder, name);
      if ((ctx_.fs.attributes(path) & core::attr::ReadOnly) != 0) ctx_.fs.setAttributes(path, core::attr::Normal);
      ctx_.fs.deleteFile(path);
    }
    for (const auto& name : ctx_.fs.listFolders(folder)) removeTree(core::joinPath(folder, name));
    ctx_.fs.removeFolder(folder);
  }

  std::optional<std::string> keyValue(const Effect& e) {
    const std::string id = core::lower(e.path + "\n" + e.section + "\n" + e.key);
    if (auto it = keys_.find(id); it != keys_.end()) return it->second;
    if (!fileThere(e.path)) return std::nullopt;
    return core::profile::fileValue(ctx_.fs.readFile(e.path), e.section, e.key, std::string::npos);
  }

  void keyWritten(UninstallStep& step) {
    const Effect& e = step.effect;
    step.action = e.oldValue ? "put back " + *e.oldValue : "remove key";
    if (force_ && !e.backup.empty()) return putBack(step);
    const auto current = keyValue(e);
    if (current == e.oldValue) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already as before";
      return;
    }
    if (current != e.newValue && !force_) {
      step.reason = current ? "changed since: now " + *current : "removed since";
      return;
    }
    if ((ctx_.fs.attributes(e.path) & core::attr::ReadOnly) != 0) {
      step.reason = "the file is read-only";
      return;
    }
    done(step, [&] {
      const std::string bytes = ctx_.fs.readFile(e.path);
      ctx_.fs.writeFile(e.path, e.oldValue ? core::profile::fileWithValue(bytes, e.section, e.key, *e.oldValue)
                                           : core::profile::fileWithoutKey(bytes, e.section, e.key));
    });
    keys_[core::lower(e.path + "\n" + e.section + "\n" + e.key)] = e.oldValue;
  }

  // A settings value (application in path) or a registry value (hive word
  // in section, key path in path, value name in key).
  void storeValueWritten(UninstallStep& step) {
    const Effect& e = step.effect;
    const bool registry = e.kind == EffectKind::RegistryValueWritten;
    step.action = e.oldValue ? "put back " + *e.oldValue : "remove value";
    std::optional<std::string> current;
    if (registry) {
      current = ctx_.registry.query(core::hiveFromWord(e.section), e.path, e.key);
    } else {
      current = ctx_.settings.get(e.path, e.section, e.key, "\x01");
      if (*current == "\x01" && ctx_.settings.get(e.path, e.section, e.key, "\x02") == "\x02") current.reset();
    }
    if (current == e.oldValue) {
      step.outcome = StepOutcome::AlreadyUndone;
      step.reason = "already as before";
    } else if (current != e.newValue && !force_) {
      step.reason = current ? "changed since: now " + *current : "removed since";
    } else if (!e.oldValue) {
      step.reason = "the store cannot remove one value";
    } else {
      done(step, [&] {
        if (registry)
          ctx_.registry.setValue(core::hiveFromWord(e.section), e.path, e.key, *e.oldValue);
        else
          ctx_.settings.save(e.path, e.section, e.key, *e.oldValue);
      });
    }
  }

  core::Context& ctx_;
  Store& store_;
  std::int64_t id_ = 0;
  bool dryRun_;
  bool force_;
  bool handsOver_ = false;
  std::set<std::string> gone_;                              // lower-cased paths removed (or that would be)
  std::map<std::string, std::string> now_;                  // lower-cased path -> content put back (or that would be)
  std::map<std::string, std::optional<std::string>> keys_;  // keys put back (or that would be)
};

}  // namespace

std::string_view wordOf(StepOutcome outcome) {
  switch (outcome) {
    case StepOutcome::Reversed:
      return "reversed";
    case StepOutcome::AlreadyUndone:
      return "nothing-to-do";
    case StepOutcome::LeftAlone:
      return "left-alone";
  }
  return "?";
}

bool UninstallReport::allReversed() const {
  for (const auto& step : steps)
    if (step.outcome == StepOutcome::LeftAlone) return false;
  return true;
}

namespace {

// Removes the installation's kept old files, once no row names them.
void dropBackups(core::Context& ctx, Store& store, std::int64_t id, const std::vector<Effect>& effects) {
  store.forgetBackups(id);
  for (const auto& e : effects) {
    if (e.backup.empty()) continue;
    std::error_code ec;
    std::filesystem::remove(backupFolder(ctx.locations.appFolder) + "/" + e.backup, ec);
  }
}

UninstallReport reverse(core::Context& ctx, Store& store, std::int64_t id, Mode mode, Undoer& undoer) {
  const auto installation = store.installation(id);
  if (!installation)
    throw core::RuntimeError(core::err::FileNotFound, "no installation " + std::to_string(id) + " in the journal");
  UninstallReport report;
  report.installation = *installation;
  report.dryRun = mode == Mode::DryRun;
  report.state = installation->state;
  // Only an installation that stands (partly) installed, or one a killed
  // program left unfinished, has anything to take back.
  const bool unfinished =
      installation->state == InstallState::InProgress || installation->state == InstallState::Uninstalling;
  if (!unfinished && !uninstallable(*installation)) return report;
  // Marked first, so that an uninstall cut short is finished at the next
  // start.
  if (mode == Mode::Uninstall) store.setState(id, InstallState::Uninstalling);

  const auto effects = store.effects(id);
  // The manager's later edits of the installation's files go first, newest
  // first: its files are then as it left them, and go. An edit of what a
  // later installation put in a folder this one made is that one's.
  if (mode != Mode::RollBack && installation->change == Change::Install) {
    const OwnPaths own(effects);
    std::vector<std::pair<std::int64_t, OwnPaths>> later;
    for (const auto& row : store.installations())
      if (row.installation.id > id && row.installation.change == Change::Install && uninstallable(row.installation))
        later.emplace_back(row.installation.id, OwnPaths(store.effects(row.installation.id)));
    for (const auto edit : store.standingEditsAfter(id)) {
      const auto changed = store.effects(edit);
      bool ours = own.holdsAny(changed);
      for (const auto& [other, paths] : later)
        if (other < edit && paths.holdsAny(changed)) ours = false;
      if (ours) report.edits.push_back(reverse(ctx, store, edit, mode, undoer));
    }
  }
  undoer.row(*installation);
  // A key written into a file the installation had already created or
  // replaced goes with that file.
  std::map<std::string, std::size_t> fileEffects;
  std::map<std::size_t, std::size_t> coveredBy;
  for (std::size_t i = 0; i < effects.size(); ++i) {
    const std::string path = core::lower(effects[i].path);
    if (isFileEffect(effects[i].kind)) fileEffects.emplace(path, i);
    if (effects[i].kind == EffectKind::KeyWritten)
      if (auto it = fileEffects.find(path); it != fileEffects.end()) coveredBy[i] = it->second;
  }
  std::vector<UninstallStep> steps(effects.size());
  for (std::size_t i = effects.size(); i-- > 0;)
    if (!coveredBy.count(i)) steps[i] = undoer.undo(effects[i]);
  for (const auto& [key, file] : coveredBy)
    steps[key] = {effects[key], "with the file", steps[file].outcome, "goes with " + effects[file].path};
  report.steps.assign(steps.rbegin(), steps.rend());

  const bool whole = report.allReversed();
  // A killed installation still reads interrupted; a refused or failed one
  // was given its outcome before it was rolled back.
  const InstallState rolledBack =
      installation->outcome == Outcome::Interrupted ? InstallState::InterruptedRolledBack : InstallState::RolledBack;
  if (mode == Mode::RollBack)
    report.state = whole ? rolledBack : InstallState::PartlyUninstalled;
  else
    report.state = whole ? InstallState::Uninstalled : InstallState::PartlyUninstalled;
  if (mode == Mode::DryRun) return report;
  store.setState(id, report.state);
  // Backups handed over to a later installation are no longer named.
  if (whole) dropBackups(ctx, store, id, store.effects(id));
  return report;
}

UninstallReport reverse(core::Context& ctx, Store& store, std::int64_t id, Mode mode) {
  Undoer undoer(ctx, store, mode);
  return reverse(ctx, store, id, mode, undoer);
}

}  // namespace

OwnPaths::OwnPaths(const std::vector<Effect>& effects) {
  for (const auto& e : effects)
    if (e.kind == EffectKind::FolderCreated)
      folders_.push_back(core::lower(e.path) + "\\");
    else if (e.kind == EffectKind::FileCreated || e.kind == EffectKind::FileOverwritten)
      files_.insert(core::lower(e.path));
}

bool OwnPaths::holds(std::string_view path) const {
  const std::string lowered = core::lower(path);
  if (files_.count(lowered)) return true;
  for (const auto& folder : folders_)
    if (lowered.starts_with(folder) || lowered + "\\" == folder) return true;
  return false;
}

bool OwnPaths::holdsAny(const std::vector<Effect>& effects) const {
  for (const auto& e : effects)
    if (holds(e.path)) return true;
  return false;
}

UninstallReport Uninstall(core::Context& ctx, Store& store, std::int64_t id, bool dryRun) {
  return reverse(ctx, store, id, dryRun ? Mode::DryRun : Mode::Uninstall);
}

UninstallReport RollBack(core::Context& ctx, Store& store, std::int64_t id) {
  return reverse(ctx, store, id, Mode::RollBack);
}

}  // namespace journal

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.h"

namespace core {

// Told what an installation does, for the changes the file system service
// alone cannot name: where one archive's installation starts and ends, each
// configuration key written (the file service only sees the whole file
// replaced), and how the archive's folders and files came where they are.
// The install journal records through it, and a dry run plans through it.
// Nothing is told when the context has none.
class ChangeJournal {
 public:
  virtual ~ChangeJournal() = default;

  // Before anything of the archive (a Windows path) is extracted or run.
  // Returns why the installation cannot be recorded, in words ("" when it
  // can): then it must not run.
  virtual std::string archiveStarted(std::string_view archivePath) = 0;
  // After the archive's installation ended normally: counted tells whether it
  // added to installedCount; kind and folder are what it was installed as.
  // Returns what went wrong in recording its end, in words ("" when
  // nothing did).
  virtual std::string archiveFinished(bool counted, PackageKind kind, std::string_view folder) = 0;
  // The installation ended in a run-time error that ends the program: what
  // it changed so far is put back where the journal can. Returns that in a
  // sentence for the user ("" when there is nothing to say). A second call
  // for the same archive does nothing.
  virtual std::string archiveFailed() = 0;

  // Before the file is replaced: key in section of the configuration file
  // (a Windows path) goes from oldValue (nullopt: absent) to newValue. Names
  // and values in UTF-8, as the program's profile calls take them.
  virtual void profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                                 const std::optional<std::string>& oldValue, std::string_view newValue) = 0;

  // Extraction wrote the archive's member archivePath (its folders and name
  // in the archive, joined by "\") into the extraction folder as the file
  // stored (a name there).
  virtual void memberStored(std::string_view stored, std::string_view archivePath) = 0;
  // A folder of the archive (archiveFolder, as the archive names it) is
  // placed as the folder target (a Windows path) with what it holds.
  virtual void folderPlaced(std::string_view archiveFolder, std::string_view target) = 0;
  // Something the user must know that no change shows: a member of the
  // archive left out, or kept elsewhere, because another member took its
  // place at path (a Windows path). note says it in words.
  virtual void noted(std::string_view path, std::string_view note) = 0;

  // The manager's edits, recorded like an installation: before one changes
  // anything, what it is in words ("hide \"Skyhawk\""; deletion: it
  // deletes an add-on's files). Returns why it cannot be recorded ("" when
  // it can): then it must not be made. A journal that records no edits
  // (a dry run's) has nothing to say.
  virtual std::string editStarted(std::string_view, bool /*deletion*/) { return {}; }
  // After the edit: made tells whether it changed the files as asked; one
  // that did not is put back where it had begun. Returns what went wrong
  // in recording its end ("" when nothing did).
  virtual std::string editFinished(bool /*made*/) { return {}; }
  // A file (a Windows path) about to be moved out of the simulator's tree
  // behind the file system service's back (into the desktop's trash): kept
  // as a deletion first. Throws core::RuntimeError when it cannot be
  // recorded; the file must then stay.
  virtual void fileLeaving(std::string_view) {}
};

}  // namespace core

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace plan {

// What a planned file does to what is at its target. The order is the order
// of concern: a review shows overwrites of different content first.
enum class FileChange { Overwrites, Deleted, New, Identical };

struct PlannedFile {
  std::string target;  // Windows path
  // Where the bytes come from: a member extracted from the archive (its
  // folders and name in the archive), another file (a Windows path), or
  // nothing for a file the program writes itself (a configuration file
  // edited in place).
  std::string source;
  bool sourceInArchive = false;
  FileChange change = FileChange::New;
  std::uint64_t size = 0;  // after the installation; 0 for a deleted file
  std::string hash;        // content hash after the installation; empty for a deleted file
  std::string oldHash;     // of what was there before; empty for a new file
  // Who put the old file there: an earlier archive of the same plan (index
  // into InstallPlan::archives), or an installation the journal knows.
  std::optional<std::size_t> oldFromArchive;
  std::optional<std::int64_t> oldInstallation;
};

struct PlannedFolder {
  std::string path;
  bool removed = false;  // false: made
};

// A key of a configuration file (profile), a setting of the program's own
// store, or a registry value; nullopt old value: absent.
struct PlannedValue {
  enum class Store { Profile, Settings, Registry } store;
  std::string file;     // profile: Windows path; settings: application name; registry: hive word + key path
  std::string section;  // profile and settings; empty for the registry
  std::string key;      // key, or value name ("" is a registry key's default value)
  std::optional<std::string> oldValue;
  std::optional<std::string> newValue;  // nullopt: removed (a deleted registry key)
};

// A program the installation would start. It is not started, so what it
// would change is not known.
struct PlannedProgram {
  std::vector<std::string> argv;  // host paths, as it would be started
  std::string workingFolder;
  bool waited = true;  // the installation waits for its end (and takes exit status 0)
};

// A message, question or prompt, and the answer the run takes.
struct PlannedPrompt {
  enum class Kind { Message, Question, Input, FileChoice, Dialog, NamePrompt } kind;
  std::string title;
  std::string text;
  std::string answer;  // "OK", "Yes", "No", "Cancel", a name; an input box's answer is never shown
};

// A folder of the archive placed as a folder with what it holds (a
// livery's "texture.red").
struct PlacedFolder {
  std::string archiveFolder;  // as the archive names it
  std::string target;         // Windows path
};

// What the installation has to tell about a member it left out or kept
// elsewhere, because another member took its place at path.
struct PlannedNote {
  std::string path;  // Windows path
  std::string text;
};

struct ArchivePlan {
  std::string archive;  // Windows path
  bool counted = false;
  // The installation ended in a run-time error, which ends the program.
  bool failed = false;
  core::PackageKind kind = core::PackageKind::None;
  std::string folder;  // folder name it installs as
  std::vector<PlannedFile> files;
  std::vector<PlannedFolder> folders;
  std::vector<PlacedFolder> placedFolders;
  std::vector<PlannedNote> notes;
  std::vector<PlannedValue> values;  // in the order written
  std::vector<PlannedProgram> programs;
  std::vector<PlannedPrompt> prompts;
  // Why the installation would not install it, as the run's summary says.
  std::string refusal;
};

struct InstallPlan {
  std::vector<ArchivePlan> archives;
  int installedCount = 0;
  int total = 0;
  // The line the run ends with ("1/2 file(s) successfully installed."); an
  // outside program's result may change it (a conversion that succeeds).
  std::string counterLine;
  bool endedProgram = false;  // a run-time error or a dialog the run cannot show ends it early
};

// What a plan says of one archive.
enum class Verdict {
  Install,  // it would be installed (counted)
  Refused,  // it would not be installed; the run goes on
  Error,    // the run would end in an error on it
  Outside,  // an outside program it starts decides, which a plan does not run
};
struct ArchiveVerdict {
  Verdict verdict = Verdict::Install;
  // Why not, in the words of the message the run would show (the archive's
  // own path left out), or the question whose answer turned it down.
  std::string reason;
};
ArchiveVerdict verdictOf(const ArchivePlan& archive);
// "would install", "would be refused", "would end in an error", "would go
// to an outside program".
const char* verdictWords(Verdict verdict);
// "Would install 1 of 3 archives."
std::string planSummary(const InstallPlan& plan);

// The plain word for a change ("new", "identical", "overwrites", "deletes").
const char* changeWord(FileChange change);
// The package kind as a word ("aircraft", "panel", ..., "none").
const char* kindWord(core::PackageKind kind);

}  // namespace plan

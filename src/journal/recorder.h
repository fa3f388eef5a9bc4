#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/change_journal.h"
#include "journal/model.h"

namespace core {
class Context;
class FileSystem;
}  // namespace core

namespace journal {

class Store;

// Records each installation between archiveStarted and archiveFinished (or
// archiveFailed), ahead of what it does: the installation's row is
// committed as it starts (in progress), and each change's intent (with the
// old content kept and synced first) before the change is made (a new file
// in a folder the installation made needs none: rolling back the folder
// takes what is in it), so that the
// next start can roll back an installation a killed program left behind
// (recovery.h). At the end the installation's effects are written once
// more, merged, in one transaction with its outcome. The recording services
// (recording_fs.h, recording_services.h) tell it what they do while an
// installation is open. Effects on one file within one installation are one
// effect: a file created and then edited is created with its last content;
// one overwritten twice keeps its first backup. An installation that ends
// refused or failed is rolled back at once (uninstall.h), newest change
// first.
class Recorder : public core::ChangeJournal {
 public:
  // inner: the file system the recording one wraps (hashes and backups go
  // around the recording). appFolder: the application's host folder, which
  // holds the database and the backups.
  Recorder(core::FileSystem& inner, std::string appFolder);
  ~Recorder() override;

  // The context whose state names the simulator and the application folder;
  // sets its journal to this recorder.
  void attach(core::Context& ctx);

  std::string archiveStarted(std::string_view archivePath) override;
  std::string archiveFinished(bool counted, core::PackageKind kind, std::string_view folder) override;
  std::string archiveFailed() override;
  void profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                         const std::optional<std::string>& oldValue, std::string_view newValue) override;
  // Where members and folders came from shows in the files themselves.
  void memberStored(std::string_view, std::string_view) override {}
  void folderPlaced(std::string_view, std::string_view) override {}
  // Kept as a Noted effect of the installation.
  void noted(std::string_view path, std::string_view note) override;
  // An edit is a row of its own, recorded as an installation is; a profile
  // file it writes is kept whole, so that its undo gives back the very
  // bytes. An edit that changed nothing leaves no row.
  std::string editStarted(std::string_view description, bool deletion) override;
  std::string editFinished(bool made) override;
  void fileLeaving(std::string_view path) override;

  // An installation is open and the Windows path is not in the program's
  // own folder (TempZip, TempAdv and the journal are no effects).
  bool records(std::string_view path) const;
  bool open() const { return open_ != nullptr; }
  // An edit of the manager is open.
  bool editing() const;

  // A file about to get new content: taken before the replacement, so that
  // the old content is kept (a hard link survives the rename that replaces).
  struct Prior {
    std::string path;
    bool existed = false;
    std::string backup, oldHash;
    std::optional<std::uint64_t> oldSize;
    // The installation's own effect on this file, when it had one already.
    std::optional<std::size_t> known;
    // The effect written ahead for this change, when it is the first on
    // this file.
    std::optional<std::size_t> fresh;
    // A profile write on a file that was there: its key effect says it all.
    bool keyOnly = false;
    // Why the old content could not be kept, when it could not.
    std::string note;
  };
  Prior beforeReplace(std::string_view path);
  void replaced(const Prior& prior, std::uint64_t size, std::string newHash);
  // The replacement failed: its backup goes.
  void replaceFailed(const Prior& prior);
  Prior beforeDelete(std::string_view path);
  void deleted(const Prior& prior);
  // A folder about to be made: its intent, written ahead; and the undoing
  // of that intent when the folder could not be made.
  std::size_t folderCreating(std::string_view path);
  void folderNotMade(std::size_t effect);
  // A folder about to be removed, written ahead; and its undoing when the
  // folder could not be removed.
  std::size_t folderRemoving(std::string_view path);
  void folderNotRemoved(std::size_t effect);
  void noted(EffectKind kind, std::string_view path, std::string note);
  void valueWritten(EffectKind kind, std::string_view where, std::string_view section, std::string_view key,
                    const std::optional<std::string>& oldValue, std::string_view newValue);

  // What a scratch file of the program's own folder (a TempZip member) held
  // when it was written while an installation was open: the content a file
  // placed from it by a link gets, so that the file is not read again. Kept
  // until it is taken or the installation ends; forgotten when the file is
  // written, renamed or deleted again, and all of them when a program runs
  // (it may change any file).
  struct Content {
    std::uint64_t size = 0;
    std::string hash;
  };
  void scratchWritten(std::string_view path, const Content& content);
  [[nodiscard]] std::optional<Content> takeScratch(std::string_view path);
  void scratchChanged(std::string_view path);
  // A program runs: the scratch files' content is forgotten, and a folder
  // the installation made may hold files it did not write; one that goes on
  // running (stillRunning) may change any file later, so no scratch file's
  // content is kept until the installation ends.
  void programRuns(bool stillRunning);

  // Why the last installation, or a change of it, went unrecorded ("" when
  // it was recorded).
  const std::string& lastError() const { return lastError_; }
  // The id of the last installation written to the journal.
  std::optional<std::int64_t> lastInstallation() const { return lastId_; }

 private:
  struct OpenInstallation;
  // Opens a row as it starts (its id filled in); retry: what the user does
  // once the journal is moved aside.
  std::string start(Installation head, std::string_view retry);
  std::string keep(const std::string& hostPath);
  void keepOld(Prior& prior);
  // Returns what became of the changes of one that did not count.
  std::string close(Outcome outcome, core::PackageKind kind, std::string_view folder);
  std::string rollBack(std::int64_t id);
  void dropBackup(const std::string& name);
  // Adds an effect to the open installation (at a place, or last), its row
  // committed first; returns its place.
  std::size_t record(Effect e, std::optional<std::size_t> at = std::nullopt);
  // The same, its row written only at the end.
  std::size_t remember(Effect e, std::optional<std::size_t> at = std::nullopt);
  // Whether a lower-cased path lies in a folder the open installation made.
  bool inMadeFolder(const std::string& lowered) const;
  // Takes back an effect written ahead whose change did not happen.
  void takeBack(std::size_t effect);

  core::FileSystem& inner_;
  std::string appFolder_;
  core::Context* ctx_ = nullptr;
  std::unique_ptr<Store> store_;
  std::unique_ptr<OpenInstallation> open_;
  std::string lastError_;
  std::optional<std::int64_t> lastId_;
  std::uint64_t backupCount_ = 0;
};

// The size and content hash of a host file, read once in blocks.
std::pair<std::uint64_t, std::string> hashHostFile(const std::string& hostPath);

}  // namespace journal

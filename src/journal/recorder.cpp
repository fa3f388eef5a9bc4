#include "journal/recorder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <deque>
#include <filesystem>
#include <future>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/clock_text.h"
#include "core/content_hash.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/text_hash.h"
#include "journal/journal_check.h"
#include "journal/store.h"
#include "journal/uninstall.h"

namespace journal {

namespace fsys = std::filesystem;

struct Recorder::OpenInstallation {
  Installation head;  // its id the row written as it started
  int lastSeq = 0;    // of the rows written ahead
  // A deque: a long installation's effects are never moved to grow it.
  std::deque<Effect> effects;
  std::vector<bool> dropped;  // created and deleted again within the installation
  // Both hashed: the paths of an aircraft's tens of thousands of textures
  // begin alike, which a sorted table compared at each look-up.
  // Lower-cased path -> its file effect.
  std::unordered_map<std::string, std::size_t, core::TextHash, std::equal_to<>> files;
  // Lower-cased paths of the folders it made.
  std::unordered_set<std::string, core::TextHash, std::equal_to<>> madeFolders;
  // The key effect of a profile write whose file write comes next.
  std::optional<std::pair<std::string, std::size_t>> pendingKey;
  // Scratch files written and not yet placed, by lower-cased path: their
  // size and hash (the hex digits of core::contentHash).
  struct Written {
    std::uint64_t size = 0;
    std::array<char, 32> hash{};
  };
  std::unordered_map<std::string, Written> scratch;
  bool scratchKept = true;  // until a program started goes on running
  // Until a program runs or a file is renamed, a file in a folder it made
  // that it did not write is not there.
  bool madeFoldersOwn = true;
  // The archive's size and hash, read on a worker.
  std::future<std::pair<std::uint64_t, std::string>> archive;

  std::size_t add(Effect e, std::optional<std::size_t> at = std::nullopt) {
    const std::size_t index = at ? *at : effects.size();
    if (index < effects.size())
      for (auto& [path, i] : files)
        if (i >= index) ++i;
    effects.insert(effects.begin() + static_cast<std::ptrdiff_t>(index), std::move(e));
    dropped.insert(dropped.begin() + static_cast<std::ptrdiff_t>(index), false);
    return index;
  }
};

namespace {

struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Makes a file's content, or a folder's entries, durable.
void syncPath(const std::string& path) {
  Fd fd{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (fd.fd < 0 || ::fsync(fd.fd) != 0)
    throw core::RuntimeError(core::err::PathFileAccess, "cannot flush " + path + " to the disk", errno);
}

std::string utcNow() {
  return core::utcTimeText(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()),
                           "%Y-%m-%dT%H:%M:%SZ");
}

// A copy sharing the blocks where the file system can (reflink).
bool cloneFile(const std::string& from, const std::string& to) {
  Fd in{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) return false;
  Fd out{::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
  if (out.fd < 0) return false;
  if (::ioctl(out.fd, FICLONE, in.fd) == 0) return true;
  ::unlink(to.c_str());
  return false;
}

}  // namespace

std::pair<std::uint64_t, std::string> hashHostFile(const std::string& hostPath) {
  Fd in{::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (in.fd < 0) throw core::RuntimeError(core::err::FileNotFound, "cannot read " + hostPath, errno);
  core::ContentHasher hasher;
  std::vector<char> buf(1 << 16);
  std::uint64_t size = 0;
  for (;;) {
    const ssize_t n = ::read(in.fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw core::RuntimeError(core::err::PathFileAccess, "cannot read " + hostPath, errno);
    if (n == 0) break;
    hasher.update(buf.data(), static_cast<std::size_t>(n));
    size += static_cast<std::uint64_t>(n);
  }
  return {size, hasher.hex()};
}

Recorder::Recorder(core::FileSystem& inner, std::string appFolder) : inner_(inner), appFolder_(std::move(appFolder)) {}

Recorder::~Recorder() = default;

void Recorder::attach(core::Context& ctx) {
  ctx_ = &ctx;
  ctx.journal = this;
}

bool Recorder::editing() const {
  return open_ && open_->head.change != Change::Install;
}

bool Recorder::records(std::string_view path) const {
  if (!open_) return false;
  if (!ctx_) return true;
  const std::string& app = ctx_->appFolder();
  return !(path.size() > app.size() && path[app.size()] == '\\' && core::istartsWith(path, app));
}

std::string Recorder::archiveStarted(std::string_view archivePath) {
  Installation head;
  head.archivePath = std::string(archivePath);
  std::string host;
  try {
    host = inner_.hostPath(archivePath);
  } catch (const core::RuntimeError&) {
    // A missing archive is the installation's own message to give.
  }
  std::error_code ec;
  if (const auto size = fsys::file_size(host, ec); !ec) head.archiveSize = size;
  std::string said = start(std::move(head), "install again");
  // The archive is hashed beside the installation, which reads it anyway;
  // the row gets the hash as it ends. One killed before has none: it is
  // rolled back at the next start and never stands installed.
  if (open_ && !ec)
    open_->archive = std::async(std::launch::async, [host = std::move(host)] { return hashHostFile(host); });
  return said;
}

std::string Recorder::editStarted(std::string_view description, bool deletion) {
  Installation head;
  head.change = deletion ? Change::Deletion : Change::Edit;
  head.description = std::string(description);
  return start(std::move(head), "try again");
}

std::string Recorder::start(Installation head, std::string_view retry) {
  open_.reset();
  lastError_.clear();
  lastId_.reset();
  auto open = std::make_unique<OpenInstallation>();
  head.time = utcNow();
  head.outcome = Outcome::Interrupted;
  head.state = InstallState::InProgress;
  if (ctx_) {
    head.simVersion = ctx_->state.simVersion;
    head.simFolder = ctx_->state.simFolder;
  }
  try {
    if (!store_) store_ = std::make_unique<Store>(databasePath(appFolder_));
    head.id = store_->begin(head);
  } catch (const core::RuntimeError& e) {
    lastError_ = e.what();
    store_.reset();
    return "the install journal " + databasePath(appFolder_) +
           " cannot record it: " + JournalProblem(appFolder_).value_or(lastError_) +
           ". Move the file aside (hangarpak-cli install --yes does, and so does the window program when it "
           "starts), then " +
           std::string(retry) + ".";
  }
  open->head = std::move(head);
  open_ = std::move(open);
  return {};
}

std::string Recorder::archiveFinished(bool counted, core::PackageKind kind, std::string_view folder) {
  const std::string said = close(counted ? Outcome::Counted : Outcome::Refused, kind, folder);
  return lastError_.empty() ? std::string() : said;
}

std::string Recorder::editFinished(bool made) {
  // A deletion that stopped part-way removed what it removed: that stays.
  const bool stands = made || (open_ && open_->head.change == Change::Deletion);
  const std::string said = close(stands ? Outcome::Counted : Outcome::Failed, core::PackageKind::None, {});
  return lastError_.empty() ? std::string() : said;
}

std::string Recorder::archiveFailed() {
  return close(Outcome::Failed, ctx_ ? ctx_->state.packageKind : core::PackageKind::None,
               ctx_ ? ctx_->state.installFolderName : std::string());
}

std::string Recorder::close(Outcome outcome, core::PackageKind kind, std::string_view folder) {
  if (!open_) return {};
  auto open = std::move(open_);
  // What did not count is rolled back; it stays in progress until then, so
  // that a rollback cut short is finished at the next start.
  const bool undo = outcome != Outcome::Counted && ctx_;
  open->head.outcome = outcome;
  if (open->archive.valid()) {
    try {
      std::tie(open->head.archiveSize, open->head.archiveHash) = open->archive.get();
    } catch (const core::RuntimeError&) {
      // Gone or unreadable since it was opened: the row keeps its size, no hash.
    }
  }
  open->head.kind = kind;
  open->head.folder = std::string(folder);
  open->head.state = undo ? InstallState::InProgress : InstallState::Installed;
  // The effects that stand, written from where they are.
  std::vector<std::size_t> kept;
  std::vector<std::string> unneeded;
  for (std::size_t i = 0; i < open->effects.size(); ++i) {
    Effect& e = open->effects[i];
    // A key's kept file served a rollback only; so did the backup of a
    // change that did not happen.
    if ((open->dropped[i] || (e.kind == EffectKind::KeyWritten && !undo)) && !e.backup.empty()) {
      unneeded.push_back(std::move(e.backup));
      e.backup.clear();
      e.oldHash.clear();
    }
    if (open->dropped[i]) continue;
    // A file overwritten with what it already held needs nothing kept: an
    // undo finds it as it was (an add-on's update rewrites many such).
    if (e.kind == EffectKind::FileOverwritten && e.oldHash == e.newHash && !e.backup.empty()) {
      unneeded.push_back(std::move(e.backup));
      e.backup.clear();
    }
    kept.push_back(i);
  }
  // An edit that changed nothing leaves no row.
  const bool nothing = open->head.change != Change::Install && kept.empty();
  try {
    if (nothing) {
      store_->drop(open->head.id);
    } else {
      store_->finish(open->head, kept.size(), [&](std::size_t i) -> const Effect& { return open->effects[kept[i]]; });
      lastId_ = open->head.id;
    }
  } catch (const core::RuntimeError& e) {
    // The rows written ahead stay, in progress, with their backups: the
    // next start rolls the installation back.
    lastError_ = e.what();
    return "The journal could not record how it ended (" + lastError_ + "); the next start puts back what it changed.";
  }
  // No row names them any more.
  for (const auto& name : unneeded) dropBackup(name);
  return undo && !nothing ? rollBack(open->head.id) : std::string();
}

std::string Recorder::rollBack(std::int64_t id) {
  try {
    const auto report = RollBack(*ctx_, *store_, id);
    bool changed = false;
    for (const auto& step : report.steps) changed = changed || step.outcome != StepOutcome::AlreadyUndone;
    if (!changed) return {};
    if (report.allReversed()) return "Everything the installation had changed was put back as it was.";
    return "What the installation had changed was put back, except what its history shows as left alone.";
  } catch (const core::RuntimeError& e) {
    lastError_ = e.what();
    return "What the installation had changed could not be put back now (" + lastError_ +
           "); the next start puts it back.";
  }
}

std::size_t Recorder::record(Effect e, std::optional<std::size_t> at) {
  e.seq = ++open_->lastSeq;
  try {
    store_->addEffect(open_->head.id, e);
  } catch (const core::RuntimeError& err) {
    lastError_ = err.what();
    throw;
  }
  return open_->add(std::move(e), at);
}

std::size_t Recorder::remember(Effect e, std::optional<std::size_t> at) {
  e.seq = ++open_->lastSeq;
  return open_->add(std::move(e), at);
}

bool Recorder::inMadeFolder(const std::string& lowered) const {
  for (auto end = lowered.rfind('\\'); end != std::string::npos && end > 0; end = lowered.rfind('\\', end - 1))
    if (open_->madeFolders.count(std::string_view(lowered).substr(0, end))) return true;
  return false;
}

void Recorder::takeBack(std::size_t effect) {
  open_->dropped[effect] = true;
  Effect& e = open_->effects[effect];
  try {
    store_->removeEffect(open_->head.id, e.seq);
  } catch (const core::RuntimeError& err) {
    // Its row still names the backup, which therefore stays; rolling back
    // what did not happen finds nothing to do.
    lastError_ = err.what();
    return;
  }
  dropBackup(e.backup);
  e.backup.clear();
}

void Recorder::scratchWritten(std::string_view path, const Content& content) {
  if (!open_ || !open_->scratchKept) return;
  OpenInstallation::Written written{content.size, {}};
  if (content.hash.size() != written.hash.size()) return;
  std::copy(content.hash.begin(), content.hash.end(), written.hash.begin());
  open_->scratch.insert_or_assign(core::lower(path), written);
}

std::optional<Recorder::Content> Recorder::takeScratch(std::string_view path) {
  if (!open_ || open_->scratch.empty()) return std::nullopt;
  const auto it = open_->scratch.find(core::lower(path));
  if (it == open_->scratch.end()) return std::nullopt;
  Content content{it->second.size, std::string(it->second.hash.begin(), it->second.hash.end())};
  open_->scratch.erase(it);
  return content;
}

void Recorder::scratchChanged(std::string_view path) {
  if (open_ && !open_->scratch.empty()) open_->scratch.erase(core::lower(path));
}

void Recorder::programRuns(bool stillRunning) {
  if (!open_) return;
  open_->scratch.clear();
  open_->madeFoldersOwn = false;
  if (stillRunning) open_->scratchKept = false;
}

void Recorder::profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                                 const std::optional<std::string>& oldValue, std::string_view newValue) {
  if (!records(file)) return;
  Effect e;
  e.kind = EffectKind::KeyWritten;
  e.path = std::string(file);
  e.section = std::string(section);
  e.key = std::string(key);
  e.oldValue = oldValue;
  e.newValue = std::string(newValue);
  // While the installation runs, the bytes of a file it has not touched
  // yet are kept too: a rollback puts them back exactly, where taking the
  // key out again might leave a section it added behind.
  // An edit keeps the file's bytes as the effect on the whole file, which
  // its undo puts back.
  if (!editing() && !open_->files.count(core::lower(file)) && inner_.fileExists(file)) {
    Prior prior;
    prior.path = e.path;
    keepOld(prior);
    e.backup = prior.backup;
    e.oldHash = prior.oldHash;
  }
  try {
    record(e);
  } catch (...) {
    dropBackup(e.backup);
    throw;
  }
  open_->pendingKey.emplace(core::lower(file), open_->effects.size() - 1);
}

void Recorder::valueWritten(EffectKind kind, std::string_view where, std::string_view section, std::string_view key,
                            const std::optional<std::string>& oldValue, std::string_view newValue) {
  if (!open_) return;
  Effect e;
  e.kind = kind;
  e.path = std::string(where);
  e.section = std::string(section);
  e.key = std::string(key);
  e.oldValue = oldValue;
  e.newValue = std::string(newValue);
  record(std::move(e));
}

void Recorder::noted(std::string_view path, std::string_view note) {
  noted(EffectKind::Noted, path, std::string(note));
}

void Recorder::noted(EffectKind kind, std::string_view path, std::string note) {
  if (!open_) return;
  if (kind == EffectKind::FileRenamed) open_->madeFoldersOwn = false;
  Effect e;
  e.kind = kind;
  e.path = std::string(path);
  e.note = std::move(note);
  record(std::move(e));
}

std::size_t Recorder::folderCreating(std::string_view path) {
  Effect e;
  e.kind = EffectKind::FolderCreated;
  e.path = std::string(path);
  const std::size_t at = record(std::move(e));
  open_->madeFolders.insert(core::lower(path));
  return at;
}

std::size_t Recorder::folderRemoving(std::string_view path) {
  Effect e;
  e.kind = EffectKind::FolderRemoved;
  e.path = std::string(path);
  e.note = "an empty folder removed";
  return record(std::move(e));
}

void Recorder::folderNotRemoved(std::size_t effect) {
  takeBack(effect);
}

void Recorder::fileLeaving(std::string_view path) {
  if (!records(path)) return;
  deleted(beforeDelete(path));
}

void Recorder::folderNotMade(std::size_t effect) {
  open_->madeFolders.erase(core::lower(open_->effects[effect].path));
  takeBack(effect);
}

std::string Recorder::keep(const std::string& hostPath) {
  const std::string folder = backupFolder(appFolder_);
  std::error_code ec;
  fsys::create_directories(folder, ec);
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string name = std::to_string(stamp) + "-" + std::to_string(++backupCount_);
  const std::string target = folder + "/" + name;
  // A hard link shares content that is on the disk already; a clone or a
  // copy is flushed first. Either way the folder's new entry is.
  if (::link(hostPath.c_str(), target.c_str()) != 0) {
    if (!cloneFile(hostPath, target) && !fsys::copy_file(hostPath, target, ec))
      throw core::RuntimeError(core::err::PathFileAccess, "cannot keep a copy of " + hostPath + ": " + ec.message());
    syncPath(target);
  }
  syncPath(folder);
  return name;
}

void Recorder::keepOld(Prior& prior) {
  // The installation goes on as it would without the journal; its undo
  // then cannot bring this file back.
  try {
    const std::string host = inner_.hostPath(prior.path);
    std::tie(prior.oldSize, prior.oldHash) = hashHostFile(host);
    prior.backup = keep(host);
  } catch (const core::RuntimeError& e) {
    prior.note = std::string("old content not kept: ") + e.what();
  }
}

void Recorder::dropBackup(const std::string& name) {
  if (name.empty()) return;
  std::error_code ec;
  fsys::remove(backupFolder(appFolder_) + "/" + name, ec);
}

Recorder::Prior Recorder::beforeReplace(std::string_view path) {
  Prior prior;
  prior.path = std::string(path);
  std::string lowered = core::lower(path);
  if (auto it = open_->files.find(lowered); it != open_->files.end()) {
    prior.known = it->second;
    return prior;
  }
  // A folder the installation made holds only what it wrote there (known
  // above), unless a program or a rename put something in: no need to look.
  const bool made = inMadeFolder(lowered);
  prior.existed = !(made && open_->madeFoldersOwn) && inner_.fileExists(path);
  auto& pending = open_->pendingKey;
  const bool keyPending = pending && pending->first == lowered;
  if (prior.existed && keyPending && !editing()) {
    // The key's row is the intent: its old value is what an undo writes.
    prior.keyOnly = true;
    return prior;
  }
  if (prior.existed) keepOld(prior);
  Effect e;
  e.kind = prior.existed ? EffectKind::FileOverwritten : EffectKind::FileCreated;
  e.path = prior.path;
  e.oldHash = prior.oldHash;
  e.backup = prior.backup;
  e.note = prior.note;
  // A profile file made by a key write comes before its key, so that the
  // key reads as part of the file the installation made.
  std::optional<std::size_t> keyAt;
  if (keyPending) keyAt = pending->second;
  try {
    // A new file in a folder the installation made goes with that folder
    // when it is rolled back: its row is written at the end only.
    prior.fresh = !prior.existed && made ? remember(std::move(e), keyAt) : record(std::move(e), keyAt);
  } catch (...) {
    dropBackup(prior.backup);
    throw;
  }
  if (keyPending) ++pending->second;
  open_->files.insert_or_assign(std::move(lowered), *prior.fresh);
  return prior;
}

void Recorder::replaced(const Prior& prior, std::uint64_t size, std::string newHash) {
  open_->pendingKey.reset();
  if (prior.keyOnly) return;
  const std::size_t at = prior.fresh ? *prior.fresh : *prior.known;
  Effect& e = open_->effects[at];
  if (prior.known && open_->dropped[at]) {
    open_->dropped[at] = false;
    e.kind = EffectKind::FileCreated;
  } else if (prior.known && e.kind == EffectKind::FileDeleted) {
    e.kind = EffectKind::FileOverwritten;
  }
  e.size = size;
  e.newHash = std::move(newHash);
}

void Recorder::replaceFailed(const Prior& prior) {
  if (prior.fresh) {
    open_->files.erase(core::lower(prior.path));
    takeBack(*prior.fresh);
  }
  auto& pending = open_->pendingKey;
  if (pending && pending->first == core::lower(prior.path)) open_->dropped[pending->second] = true;
  pending.reset();
}

Recorder::Prior Recorder::beforeDelete(std::string_view path) {
  Prior prior;
  prior.path = std::string(path);
  if (auto it = open_->files.find(core::lower(path)); it != open_->files.end()) {
    prior.known = it->second;
    return prior;
  }
  prior.existed = inner_.fileExists(path);
  if (!prior.existed) return prior;
  keepOld(prior);
  Effect e;
  e.kind = EffectKind::FileDeleted;
  e.path = prior.path;
  e.size = prior.oldSize;
  e.oldHash = prior.oldHash;
  e.backup = prior.backup;
  e.note = prior.note;
  try {
    prior.fresh = record(std::move(e));
  } catch (...) {
    dropBackup(prior.backup);
    throw;
  }
  open_->files[core::lower(path)] = *prior.fresh;
  return prior;
}

void Recorder::deleted(const Prior& prior) {
  if (!prior.known) return;
  Effect& e = open_->effects[*prior.known];
  // Made and removed again: no effect; else the file's first content is
  // what an undo brings back.
  if (e.kind == EffectKind::FileCreated)
    open_->dropped[*prior.known] = true;
  else
    e.kind = EffectKind::FileDeleted;
  e.newHash.clear();
  e.size.reset();
}

}  // namespace journal

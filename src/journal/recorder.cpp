#include "journal/recorder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <vector>

#include "core/content_hash.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "journal/store.h"

namespace journal {

namespace fsys = std::filesystem;

struct Recorder::OpenInstallation {
  Installation head;
  std::vector<Effect> effects;
  std::vector<bool> dropped;                 // created and deleted again within the installation
  std::map<std::string, std::size_t> files;  // lower-cased path -> its file effect
  // The key effect of a profile write whose file write comes next.
  std::optional<std::pair<std::string, std::size_t>> pendingKey;

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

std::string utcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
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

bool Recorder::records(std::string_view path) const {
  if (!open_) return false;
  return !(ctx_ && core::istartsWith(path, ctx_->appFolder() + "\\"));
}

void Recorder::archiveStarted(std::string_view archivePath) {
  open_.reset();
  lastError_.clear();
  lastId_.reset();
  try {
    if (!store_) store_ = std::make_unique<Store>(databasePath(appFolder_));
    // Backups no entry names are left from an installation that never
    // ended; only one installation runs at a time (the instance lock).
    const auto named = store_->backupNames();
    std::error_code ec;
    for (fsys::directory_iterator it(backupFolder(appFolder_), ec), end; !ec && it != end; it.increment(ec))
      if (!named.count(it->path().filename().string())) fsys::remove(it->path(), ec);
  } catch (const core::RuntimeError& e) {
    lastError_ = e.what();
    return;
  }
  auto open = std::make_unique<OpenInstallation>();
  Installation& head = open->head;
  head.time = utcNow();
  head.archivePath = std::string(archivePath);
  try {
    std::tie(head.archiveSize, head.archiveHash) = hashHostFile(inner_.hostPath(archivePath));
  } catch (const core::RuntimeError&) {
    // A missing archive is the installation's own message to give.
  }
  if (ctx_) {
    head.simVersion = ctx_->state.simVersion;
    head.simFolder = ctx_->state.simFolder;
  }
  open_ = std::move(open);
}

void Recorder::archiveFinished(bool counted, core::PackageKind kind, std::string_view folder) {
  close(counted ? Outcome::Counted : Outcome::Refused, kind, folder);
}

void Recorder::archiveFailed() {
  close(Outcome::Failed, ctx_ ? ctx_->state.packageKind : core::PackageKind::None,
        ctx_ ? ctx_->state.installFolderName : std::string());
}

void Recorder::close(Outcome outcome, core::PackageKind kind, std::string_view folder) {
  if (!open_) return;
  auto open = std::move(open_);
  open->head.outcome = outcome;
  open->head.kind = kind;
  open->head.folder = std::string(folder);
  std::vector<Effect> effects;
  for (std::size_t i = 0; i < open->effects.size(); ++i) {
    if (open->dropped[i]) continue;
    Effect& e = open->effects[i];
    // A file overwritten with what it already held needs nothing kept: an
    // undo finds it as it was (an add-on's update rewrites many such).
    if (e.kind == EffectKind::FileOverwritten && e.oldHash == e.newHash) {
      dropBackup(e.backup);
      e.backup.clear();
    }
    effects.push_back(std::move(e));
  }
  try {
    lastId_ = store_->add(open->head, effects);
  } catch (const core::RuntimeError& e) {
    lastError_ = e.what();
    for (const auto& effect : effects) dropBackup(effect.backup);
  }
}

void Recorder::profileKeyWritten(std::string_view file, std::string_view section, std::string_view key,
                                 const std::optional<std::string>& oldValue, std::string_view newValue) {
  if (!records(file)) return;
  valueWritten(EffectKind::KeyWritten, file, section, key, oldValue, newValue);
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
  open_->add(std::move(e));
}

void Recorder::noted(std::string_view path, std::string_view note) {
  noted(EffectKind::Noted, path, std::string(note));
}

void Recorder::noted(EffectKind kind, std::string_view path, std::string note) {
  if (!open_) return;
  Effect e;
  e.kind = kind;
  e.path = std::string(path);
  e.note = std::move(note);
  open_->add(std::move(e));
}

void Recorder::folderCreated(std::string_view path) {
  if (!records(path)) return;
  Effect e;
  e.kind = EffectKind::FolderCreated;
  e.path = std::string(path);
  open_->add(std::move(e));
}

std::string Recorder::keep(const std::string& hostPath) {
  const std::string folder = backupFolder(appFolder_);
  std::error_code ec;
  fsys::create_directories(folder, ec);
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string name = std::to_string(stamp) + "-" + std::to_string(++backupCount_);
  const std::string target = folder + "/" + name;
  if (::link(hostPath.c_str(), target.c_str()) == 0 || cloneFile(hostPath, target)) return name;
  if (!fsys::copy_file(hostPath, target, ec))
    throw core::RuntimeError(core::err::PathFileAccess, "cannot keep a copy of " + hostPath + ": " + ec.message());
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
  const std::string lowered = core::lower(path);
  if (auto it = open_->files.find(lowered); it != open_->files.end()) {
    prior.known = it->second;
    return prior;
  }
  prior.existed = inner_.fileExists(path);
  const auto& pending = open_->pendingKey;
  if (prior.existed && pending && pending->first == lowered) {
    prior.keyOnly = true;
  } else if (prior.existed) {
    keepOld(prior);
  }
  return prior;
}

void Recorder::replaced(const Prior& prior, std::uint64_t size, std::string newHash) {
  const std::string lowered = core::lower(prior.path);
  std::optional<std::size_t> keyAt;
  if (open_->pendingKey && open_->pendingKey->first == lowered) keyAt = open_->pendingKey->second;
  open_->pendingKey.reset();
  if (prior.keyOnly) return;
  if (prior.known) {
    Effect& e = open_->effects[*prior.known];
    if (open_->dropped[*prior.known]) {
      open_->dropped[*prior.known] = false;
      e.kind = EffectKind::FileCreated;
    } else if (e.kind == EffectKind::FileDeleted) {
      e.kind = EffectKind::FileOverwritten;
    }
    e.size = size;
    e.newHash = std::move(newHash);
    return;
  }
  Effect e;
  e.kind = prior.existed ? EffectKind::FileOverwritten : EffectKind::FileCreated;
  e.path = prior.path;
  e.size = size;
  e.oldHash = prior.oldHash;
  e.newHash = std::move(newHash);
  e.backup = prior.backup;
  e.note = prior.note;
  // A profile file made by a key write comes before its key, so that the
  // key reads as part of the file the installation made.
  const std::size_t index = open_->add(std::move(e), keyAt);
  open_->files[lowered] = index;
}

void Recorder::replaceFailed(const Prior& prior) {
  dropBackup(prior.backup);
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
  if (prior.existed) keepOld(prior);
  return prior;
}

void Recorder::deleted(const Prior& prior) {
  if (prior.known) {
    Effect& e = open_->effects[*prior.known];
    // Made and removed again: no effect; else the file's first content is
    // what an undo brings back.
    if (e.kind == EffectKind::FileCreated)
      open_->dropped[*prior.known] = true;
    else
      e.kind = EffectKind::FileDeleted;
    e.newHash.clear();
    e.size.reset();
    return;
  }
  Effect e;
  e.kind = EffectKind::FileDeleted;
  e.path = prior.path;
  e.size = prior.oldSize;
  e.oldHash = prior.oldHash;
  e.backup = prior.backup;
  e.note = prior.note;
  open_->files[core::lower(prior.path)] = open_->add(std::move(e));
}

}  // namespace journal

#include "journal/store.h"

#include <sqlite3.h>

#include <filesystem>
#include <type_traits>

#include "core/errors.h"

namespace journal {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
  throw core::RuntimeError(core::err::PathFileAccess, "install journal: " + what + ": " + sqlite3_errmsg(db));
}

// One prepared statement; values bound by position from 1.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) fail(db, "prepare");
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int i, std::string_view text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // Text that outlives the statement's next run(), which SQLite reads in
  // place instead of copying.
  Statement& bindLasting(int i, const std::string& text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    return *this;
  }
  Statement& bind(int i, std::int64_t n) {
    sqlite3_bind_int64(stmt_, i, n);
    return *this;
  }
  Statement& bindOpt(int i, const std::optional<std::string>& text) {
    if (text) return bind(i, std::string_view(*text));
    sqlite3_bind_null(stmt_, i);
    return *this;
  }
  Statement& bindSize(int i, std::optional<std::uint64_t> n) {
    if (n) return bind(i, static_cast<std::int64_t>(*n));
    sqlite3_bind_null(stmt_, i);
    return *this;
  }
  // True while there is a row.
  bool step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) fail(db_, "step");
    return false;
  }
  void run() {
    step();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  std::string text(int col) const {
    const auto* p = sqlite3_column_text(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }
  std::optional<std::string> optText(int col) const {
    if (sqlite3_column_type(stmt_, col) == SQLITE_NULL) return std::nullopt;
    return text(col);
  }
  std::int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
  bool isNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(db, sql);
}

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS installations(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  time TEXT NOT NULL,
  archive_path TEXT NOT NULL,
  archive_size INTEGER NOT NULL,
  archive_hash TEXT NOT NULL,
  sim_version INTEGER NOT NULL,
  sim_folder TEXT NOT NULL,
  kind TEXT NOT NULL,
  folder TEXT NOT NULL,
  outcome TEXT NOT NULL,
  state TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS effects(
  installation INTEGER NOT NULL REFERENCES installations(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  kind TEXT NOT NULL,
  path TEXT NOT NULL,
  size INTEGER,
  old_hash TEXT NOT NULL,
  new_hash TEXT NOT NULL,
  backup TEXT NOT NULL,
  section TEXT NOT NULL,
  key TEXT NOT NULL,
  old_value TEXT,
  new_value TEXT NOT NULL,
  note TEXT NOT NULL,
  PRIMARY KEY(installation, seq));
CREATE INDEX IF NOT EXISTS effects_by_path ON effects(path COLLATE NOCASE, new_hash);
)";

// Added to a journal made before edits were recorded; its rows are
// installations.
constexpr const char* kEditColumns =
    "ALTER TABLE installations ADD COLUMN change_kind TEXT NOT NULL DEFAULT 'install';"
    "ALTER TABLE installations ADD COLUMN description TEXT NOT NULL DEFAULT '';";

constexpr const char* kInstallationColumns =
    "id, time, archive_path, archive_size, archive_hash, sim_version, sim_folder, kind, folder, outcome, state, "
    "change_kind, description";
constexpr int kInstallationColumnCount = 13;

Installation installationFrom(const Statement& s) {
  Installation i;
  i.id = s.integer(0);
  i.time = s.text(1);
  i.archivePath = s.text(2);
  i.archiveSize = static_cast<std::uint64_t>(s.integer(3));
  i.archiveHash = s.text(4);
  i.simVersion = static_cast<int>(s.integer(5));
  i.simFolder = s.text(6);
  const std::string kind = s.text(7);
  for (int k = 0; k <= static_cast<int>(core::PackageKind::Sif); ++k)
    if (wordOf(static_cast<core::PackageKind>(k)) == kind) i.kind = static_cast<core::PackageKind>(k);
  i.folder = s.text(8);
  i.outcome = outcomeOf(s.text(9)).value_or(Outcome::Failed);
  i.state = installStateOf(s.text(10)).value_or(InstallState::Installed);
  i.change = changeOf(s.text(11)).value_or(Change::Install);
  i.description = s.text(12);
  return i;
}

}  // namespace

std::string databasePath(const std::string& appFolder) {
  return appFolder + "/journal.sqlite";
}
std::unique_ptr<Store> openExistingJournal(const std::string& appFolder) {
  const std::string path = databasePath(appFolder);
  std::error_code ec;
  return std::filesystem::exists(path, ec) ? std::make_unique<Store>(path) : nullptr;
}

std::string backupFolder(const std::string& appFolder) {
  return appFolder + "/journal-backups";
}

Store::Store(const std::string& hostPath) {
  if (sqlite3_open_v2(hostPath.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw core::RuntimeError(core::err::PathFileAccess, "install journal: cannot open " + hostPath + ": " + message);
  }
  try {
    sqlite3_busy_timeout(db_, 5000);
    // Each commit is on the disk before it returns: an intent is written
    // ahead of the change it announces, also when the power goes.
    exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
    exec(db_, kSchema);
    bool edits = false;
    for (Statement columns(db_, "PRAGMA table_info(installations)"); columns.step();)
      edits = edits || columns.text(1) == "change_kind";
    if (!edits) exec(db_, (std::string("BEGIN IMMEDIATE;") + kEditColumns + "COMMIT;").c_str());
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

Store::~Store() {
  sqlite3_close(db_);
}

namespace {

// Runs work in one transaction: committed when it returns, rolled back when
// it throws.
template <class Work>
auto inTransaction(sqlite3* db, Work&& work) {
  exec(db, "BEGIN IMMEDIATE");
  try {
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      exec(db, "COMMIT");
    } else {
      auto result = work();
      exec(db, "COMMIT");
      return result;
    }
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

constexpr const char* kInsertEffect =
    "INSERT INTO effects(installation, seq, kind, path, size, old_hash, new_hash, backup, section, key, "
    "old_value, new_value, note) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)";

// seq: the effect's own unless given.
void insertEffect(Statement& row, std::int64_t id, const Effect& e, std::optional<int> seq = std::nullopt) {
  row.bind(1, id)
      .bind(2, std::int64_t{seq.value_or(e.seq)})
      .bind(3, wordOf(e.kind))
      .bindLasting(4, e.path)
      .bindSize(5, e.size)
      .bindLasting(6, e.oldHash)
      .bindLasting(7, e.newHash)
      .bindLasting(8, e.backup)
      .bindLasting(9, e.section)
      .bindLasting(10, e.key)
      .bindOpt(11, e.oldValue)
      .bindLasting(12, e.newValue)
      .bindLasting(13, e.note);
  row.run();
}

}  // namespace

std::int64_t Store::begin(const Installation& in) {
  Statement head(db_,
                 "INSERT INTO installations(time, archive_path, archive_size, archive_hash, sim_version, sim_folder, "
                 "kind, folder, outcome, state, change_kind, description) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)");
  head.bind(1, in.time)
      .bind(2, in.archivePath)
      .bind(3, static_cast<std::int64_t>(in.archiveSize))
      .bind(4, in.archiveHash)
      .bind(5, std::int64_t{in.simVersion})
      .bind(6, in.simFolder)
      .bind(7, wordOf(in.kind))
      .bind(8, in.folder)
      .bind(9, wordOf(in.outcome))
      .bind(10, wordOf(in.state))
      .bind(11, wordOf(in.change))
      .bind(12, in.description);
  head.run();
  return sqlite3_last_insert_rowid(db_);
}

void Store::drop(std::int64_t id) {
  Statement s(db_, "DELETE FROM installations WHERE id = ?");
  s.bind(1, id).run();
}

void Store::addEffect(std::int64_t id, const Effect& effect) {
  Statement row(db_, kInsertEffect);
  insertEffect(row, id, effect);
}

void Store::removeEffect(std::int64_t id, int seq) {
  Statement s(db_, "DELETE FROM effects WHERE installation = ? AND seq = ?");
  s.bind(1, id).bind(2, std::int64_t{seq}).run();
}

void Store::finish(const Installation& in, std::size_t count, const std::function<const Effect&(std::size_t)>& effect) {
  inTransaction(db_, [&] {
    Statement drop(db_, "DELETE FROM effects WHERE installation = ?");
    drop.bind(1, in.id).run();
    Statement row(db_, kInsertEffect);
    for (std::size_t i = 0; i < count; ++i) insertEffect(row, in.id, effect(i), static_cast<int>(i + 1));
    Statement head(db_,
                   "UPDATE installations SET kind = ?, folder = ?, outcome = ?, state = ?, archive_size = ?, "
                   "archive_hash = ? WHERE id = ?");
    head.bind(1, wordOf(in.kind))
        .bind(2, in.folder)
        .bind(3, wordOf(in.outcome))
        .bind(4, wordOf(in.state))
        .bind(5, static_cast<std::int64_t>(in.archiveSize))
        .bind(6, in.archiveHash)
        .bind(7, in.id);
    head.run();
  });
}

void Store::setState(std::int64_t id, InstallState state) {
  Statement s(db_, "UPDATE installations SET state = ? WHERE id = ?");
  s.bind(1, wordOf(state)).bind(2, id).run();
}

void Store::forgetBackups(std::int64_t id) {
  Statement s(db_, "UPDATE effects SET backup = '' WHERE installation = ?");
  s.bind(1, id).run();
}

std::vector<std::int64_t> Store::unfinished() {
  Statement s(db_, "SELECT id FROM installations WHERE state IN ('in-progress', 'uninstalling') ORDER BY id DESC");
  std::vector<std::int64_t> out;
  while (s.step()) out.push_back(s.integer(0));
  return out;
}

std::vector<InstallationSummary> Store::installations() {
  Statement s(db_, (std::string("SELECT ") + kInstallationColumns +
                    ", (SELECT count(*) FROM effects e WHERE e.installation = i.id AND e.kind = 'file-created'),"
                    " (SELECT count(*) FROM effects e WHERE e.installation = i.id AND e.kind = 'file-overwritten'),"
                    " (SELECT count(*) FROM effects e WHERE e.installation = i.id AND e.kind = 'key-written')"
                    " FROM installations i ORDER BY id")
                       .c_str());
  std::vector<InstallationSummary> out;
  while (s.step())
    out.push_back({installationFrom(s), static_cast<int>(s.integer(kInstallationColumnCount)),
                   static_cast<int>(s.integer(kInstallationColumnCount + 1)),
                   static_cast<int>(s.integer(kInstallationColumnCount + 2))});
  return out;
}

std::vector<ArchivePrint> Store::installedArchives() {
  Statement s(db_,
              "SELECT DISTINCT archive_size, archive_hash FROM installations WHERE state = ? AND outcome = ?"
              " AND change_kind = 'install'");
  s.bind(1, wordOf(InstallState::Installed)).bind(2, wordOf(Outcome::Counted));
  std::vector<ArchivePrint> out;
  while (s.step()) out.push_back({static_cast<std::uint64_t>(s.integer(0)), s.text(1)});
  return out;
}

std::optional<Installation> Store::installation(std::int64_t id) {
  Statement s(db_, (std::string("SELECT ") + kInstallationColumns + " FROM installations WHERE id = ?").c_str());
  s.bind(1, id);
  if (!s.step()) return std::nullopt;
  return installationFrom(s);
}

std::vector<Effect> Store::effects(std::int64_t id) {
  Statement s(db_,
              "SELECT seq, kind, path, size, old_hash, new_hash, backup, section, key, old_value, new_value, note "
              "FROM effects WHERE installation = ? ORDER BY seq");
  s.bind(1, id);
  std::vector<Effect> out;
  while (s.step()) {
    Effect e;
    e.seq = static_cast<int>(s.integer(0));
    e.kind = effectKindOf(s.text(1)).value_or(EffectKind::ProgramRun);
    e.path = s.text(2);
    if (!s.isNull(3)) e.size = static_cast<std::uint64_t>(s.integer(3));
    e.oldHash = s.text(4);
    e.newHash = s.text(5);
    e.backup = s.text(6);
    e.section = s.text(7);
    e.key = s.text(8);
    e.oldValue = s.optText(9);
    e.newValue = s.text(10);
    e.note = s.text(11);
    out.push_back(std::move(e));
  }
  return out;
}

std::optional<std::int64_t> Store::originOf(std::string_view windowsPath, std::string_view contentHash) {
  Statement s(db_,
              "SELECT e.installation FROM effects e JOIN installations i ON i.id = e.installation"
              " WHERE e.path = ? COLLATE NOCASE AND e.new_hash = ?"
              " AND e.kind IN ('file-created', 'file-overwritten') AND i.state NOT IN ('uninstalled', "
              "'interrupted-rolled-back', 'rolled-back')"
              " ORDER BY e.installation DESC LIMIT 1");
  s.bind(1, windowsPath).bind(2, contentHash);
  if (!s.step()) return std::nullopt;
  return s.integer(0);
}

std::vector<std::int64_t> Store::standingEditsAfter(std::int64_t id) {
  Statement s(db_,
              "SELECT id FROM installations WHERE id > ? AND change_kind = 'edit'"
              " AND state IN ('installed', 'partly-uninstalled') ORDER BY id DESC");
  s.bind(1, id);
  std::vector<std::int64_t> out;
  while (s.step()) out.push_back(s.integer(0));
  return out;
}

std::optional<std::pair<std::int64_t, int>> Store::nextOverwrite(std::string_view windowsPath, std::int64_t id) {
  Statement s(db_,
              "SELECT e.installation, e.seq FROM effects e JOIN installations i ON i.id = e.installation"
              " WHERE e.path = ? COLLATE NOCASE AND e.kind = 'file-overwritten' AND i.id > ?"
              " AND i.change_kind = 'install' AND i.state IN ('installed', 'partly-uninstalled')"
              " ORDER BY e.installation LIMIT 1");
  s.bind(1, windowsPath).bind(2, id);
  if (!s.step()) return std::nullopt;
  return std::pair{s.integer(0), static_cast<int>(s.integer(1))};
}

std::optional<std::int64_t> Store::nextInside(std::string_view windowsFolder, std::int64_t id) {
  const std::string prefix = std::string(windowsFolder) + "\\";
  Statement s(db_,
              "SELECT e.installation FROM effects e JOIN installations i ON i.id = e.installation"
              " WHERE lower(substr(e.path, 1, ?)) = lower(?) AND i.id > ? AND i.change_kind = 'install'"
              " AND i.state IN ('installed', 'partly-uninstalled') ORDER BY e.installation LIMIT 1");
  s.bind(1, static_cast<std::int64_t>(prefix.size())).bind(2, prefix).bind(3, id);
  if (!s.step()) return std::nullopt;
  return s.integer(0);
}

void Store::giveFolder(const Effect& folder, std::int64_t fromId, std::int64_t toId) {
  inTransaction(db_, [&] {
    int first = 1;
    Statement lowest(db_, "SELECT min(seq) FROM effects WHERE installation = ?");
    lowest.bind(1, toId);
    if (lowest.step() && !lowest.isNull(0)) first = static_cast<int>(lowest.integer(0));
    Effect given = folder;
    given.seq = first - 1;
    Statement row(db_, kInsertEffect);
    insertEffect(row, toId, given);
    Statement mine(db_, "DELETE FROM effects WHERE installation = ? AND seq = ?");
    mine.bind(1, fromId).bind(2, std::int64_t{folder.seq}).run();
  });
}

std::string Store::handOver(const Effect& from, std::int64_t fromId, std::int64_t toId, int toSeq) {
  return inTransaction(db_, [&] {
    std::string dropped;
    Statement old(db_, "SELECT backup FROM effects WHERE installation = ? AND seq = ?");
    old.bind(1, toId).bind(2, std::int64_t{toSeq});
    if (old.step()) dropped = old.text(0);
    Statement to(db_,
                 "UPDATE effects SET kind = ?, old_hash = ?, backup = ?, note = ? WHERE installation = ? AND seq = ?");
    to.bind(1, wordOf(from.kind == EffectKind::FileCreated ? EffectKind::FileCreated : EffectKind::FileOverwritten))
        .bind(2, from.oldHash)
        .bind(3, from.backup)
        .bind(4, "overwrote what installation " + std::to_string(fromId) +
                     " wrote; since that one's uninstall, its undo puts back what was there before both")
        .bind(5, toId)
        .bind(6, std::int64_t{toSeq})
        .run();
    // Noted, so that an uninstall cut short and finished at the next start
    // does not hand it over again.
    Statement mine(db_, "UPDATE effects SET kind = 'noted', backup = '', note = ? WHERE installation = ? AND seq = ?");
    mine.bind(1, "left to installation " + std::to_string(toId) + ", which overwrote it")
        .bind(2, fromId)
        .bind(3, std::int64_t{from.seq})
        .run();
    return dropped;
  });
}

std::set<std::string> Store::backupNames() {
  Statement s(db_, "SELECT backup FROM effects WHERE backup <> ''");
  std::set<std::string> out;
  while (s.step()) out.insert(s.text(0));
  return out;
}

}  // namespace journal

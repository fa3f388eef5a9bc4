#include "journal/journal_check.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "core/clock_text.h"
#include "core/errors.h"
#include "journal/store.h"

namespace journal {

namespace {

struct Connection {
  sqlite3* db = nullptr;
  ~Connection() { sqlite3_close(db); }
  std::string error() const { return db ? sqlite3_errmsg(db) : "out of memory"; }
};

// The first column of the statement's first row; nullopt when it fails.
std::optional<std::string> firstValue(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) return std::nullopt;
  std::optional<std::string> value;
  const int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    const auto* text = sqlite3_column_text(stmt, 0);
    value = text ? reinterpret_cast<const char*>(text) : "";
  } else if (rc == SQLITE_DONE) {
    value = "";
  }
  sqlite3_finalize(stmt);
  return value;
}

std::string localStamp() {
  return core::localTimeText(std::time(nullptr), "%Y%m%d-%H%M%S");
}

}  // namespace

std::optional<std::string> JournalProblem(const std::string& appFolder) {
  const std::string path = databasePath(appFolder);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  if (S_ISDIR(st.st_mode)) return "it is a folder, not a database file";
  // SQLite writes files of its own beside the journal.
  if (::access(appFolder.c_str(), W_OK) != 0) {
    const int e = errno;
    return "its folder cannot be written (" + std::generic_category().message(e) + ")";
  }
  Connection c;
  if (sqlite3_open_v2(path.c_str(), &c.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    return "it cannot be opened (" + c.error() + ")";
  const auto check = firstValue(c.db, "PRAGMA quick_check");
  if (!check) return "it cannot be read (" + c.error() + ")";
  if (*check != "ok") return "it is damaged (" + *check + ")";
  // A change that is taken back: nothing reaches the file, but a journal
  // that cannot be written refuses it.
  std::optional<std::string> problem;
  if (sqlite3_exec(c.db, "BEGIN IMMEDIATE; CREATE TABLE write_check(x)", nullptr, nullptr, nullptr) != SQLITE_OK)
    problem = "it cannot be written (" + c.error() + ")";
  sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
  return problem;
}

std::string MoveJournalAside(const std::string& appFolder) {
  const std::string path = databasePath(appFolder);
  // Never over an earlier broken journal moved aside in the same second.
  std::string stamp = ".broken-" + localStamp();
  for (int n = 2; ::access((path + stamp).c_str(), F_OK) == 0; ++n)
    stamp = ".broken-" + localStamp() + "-" + std::to_string(n);
  const std::string aside = path + stamp;
  // The kept files are named by the old journal's rows: they go with it
  // (first, so that a failure moves nothing), and the next start does not
  // take them for files no row names.
  const std::string backups = backupFolder(appFolder);
  const bool keptFiles = ::access(backups.c_str(), F_OK) == 0;
  if (keptFiles && std::rename(backups.c_str(), (backups + stamp).c_str()) != 0)
    throw core::RuntimeError(core::err::PathFileAccess, "cannot move " + backups + " aside", errno);
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    const int e = errno;
    if (keptFiles) std::rename((backups + stamp).c_str(), backups.c_str());
    throw core::RuntimeError(core::err::PathFileAccess, "cannot move " + path + " aside as " + aside, e);
  }
  // Its write-ahead file goes with it, under the name SQLite looks for.
  for (const char* suffix : {"-wal", "-shm"}) std::rename((path + suffix).c_str(), (aside + suffix).c_str());
  return aside;
}

}  // namespace journal

#pragma once

#include <optional>
#include <string>

namespace journal {

// Why the install journal of the application folder (a host folder) cannot
// record an installation, in words ("it is not a database file"), or
// nullopt when it can: it opens, reads as whole, and takes a write. A
// missing journal is none of these (the first installation makes it) and
// is not made here.
std::optional<std::string> JournalProblem(const std::string& appFolder);

// Moves a journal that cannot be used aside, with its write-ahead file and
// its folder of kept files, as journal.sqlite.broken-YYYYMMDD-HHMMSS (the
// local time; -2, -3... after it when that name is taken), so that a new one starts and nothing of the old one is lost.
// Returns the new host path; throws core::RuntimeError naming the file and
// the cause when it cannot be moved.
std::string MoveJournalAside(const std::string& appFolder);

}  // namespace journal

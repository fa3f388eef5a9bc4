#pragma once

#include <string>
#include <string_view>

namespace core {
class Context;
}

namespace ui {

// Where a path the user typed, pasted or chose leads: a folder of a drive,
// and the archive to select there when the path named one; or why it leads
// nowhere, in a sentence that names the path.
struct TypedFolder {
  std::string folder;   // Windows path; empty when the path leads nowhere
  std::string archive;  // Windows path of the archive named, or empty
  std::string problem;  // empty when folder is set
};

// Takes a host path ("/srv/files", "~/Downloads", "~", a "file://"
// address) or a Windows one ("D:\Downloads", "d:"); blanks and quotes
// around it are ignored. A host path goes through the drive table to the
// drive that reaches it. A host folder no drive reaches, a drive not in the
// table, a path that names neither a folder nor an archive, and a relative
// path lead nowhere.
TypedFolder ReachTypedFolder(core::Context& ctx, std::string_view typed);

}  // namespace ui

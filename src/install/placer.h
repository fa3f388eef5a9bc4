#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/text_hash.h"
#include "install/archive_members.h"
#include "install/member_marks.h"
#include "install/member_scope.h"

namespace core {
class Context;
}

namespace install {

// Where one member goes.
struct Placement {
  const ArchiveMember* member;
  std::string folder;  // a Windows path with a trailing "\"
  // The name it takes there; empty: its own.
  std::string name = {};
  // Named by a configuration file and moved: it leaves TempZip (when the
  // scope owns it), and a copy that fails is passed over, leaving it there.
  bool moved = false;
};

// Places the members of one archive's installation, so that no member is
// lost silently: each target file takes one member. Where several members
// would take one file (flattened, a livery's "texture\a.bmp" and an
// "a.bmp" beside it), the folder decides: the member whose folder in the
// archive is named like the target's folder ("texture" for "...\Texture\",
// the aircraft's own folder for the aircraft folder) takes it, else one of
// the aircraft's own members, else the first extracted; a member placed
// earlier in the archive's installation keeps its file. Each other member
// is kept in the Doc folder under a numbered name ("a (2).bmp", never its
// own: a panel.cfg there would be listed as a panel) when the installation
// has one, else left out, and either way noted (NoteMember).
// Members of the same content are one file. Members placed into the Doc
// folder are all kept, numbered where their names meet, without a note.
class Placer {
 public:
  Placer(core::Context& ctx, const ArchiveMembers& members) : ctx_(ctx), members_(members), given_(members) {}

  // doc: the installation's Doc folder (trailing "\"); nullopt when it has
  // none ("Install Doc" off). A copy that fails (other than a move) is a
  // run-time error for the caller's handler. lastLook: no later step of the
  // installation looks for these members in TempZip, so that a member no
  // other aircraft can take leaves TempZip for the first file it goes to
  // (FileSystem::moveFile) instead of being linked there.
  void place(MemberScope& scope, const std::vector<Placement>& placements, const std::optional<std::string>& doc,
             bool lastLook = false);
  // Places one member (see place).
  void placeOne(MemberScope& scope, const Placement& placement, const std::optional<std::string>& doc) {
    place(scope, {placement}, doc);
  }

  // Of the members given that no step took, named name (in any case), the
  // one that would take folder + name as place() decides, but one in the
  // folder near first (the folder of the configuration file that names it);
  // nullptr when none is named so.
  const ArchiveMember* choose(const MemberScope& scope, const std::vector<const ArchiveMember*>& members,
                              std::string_view name, const std::string& folder,
                              const std::string* near = nullptr) const;

 private:
  // claim: the target's lower-case path.
  void put(MemberScope& scope, const Placement& p, const std::string& name, std::string claim);
  // Into folder under the member's name, numbered past the names other
  // members took there (from the start when second): the file it went to;
  // nullopt when a file of the same content is there already.
  std::optional<std::string> keep(MemberScope& scope, const Placement& p, const std::string& folder, bool second);
  void displaced(MemberScope& scope, const Placement& p, const std::string& target, const ArchiveMember& holder,
                 const std::optional<std::string>& doc);
  bool sameContent(const ArchiveMember& member, const std::string& target);
  int rank(const MemberScope& scope, const ArchiveMember& member, const std::string& folder) const;
  std::size_t order(const ArchiveMember& member) const;

  core::Context& ctx_;
  const ArchiveMembers& members_;
  // Lower-case target path -> the member placed there in this installation.
  std::unordered_map<std::string, const ArchiveMember*, core::TextHash, std::equal_to<>> claimed_;
  // The members given to a file so far.
  MemberMarks given_;
  // The placements being made are the last look at their members.
  bool lastLook_ = false;
};

// Tells what a member's installation had to leave out or keep elsewhere:
// the sentence joins the run's notes, which the progress dialog shows at
// its end, and the journal keeps it with the installation (path: the file
// that was contested).
void NoteMember(core::Context& ctx, const std::string& path, const std::string& text);

}  // namespace install

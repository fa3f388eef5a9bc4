#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "install/archive_members.h"
#include "install/member_marks.h"

namespace core {
class Context;
}

namespace install {

// The members one installation works on, and which of them its steps have
// taken. An aircraft has the members in its folder of the archive and
// those outside the folders of every aircraft (a readme beside them,
// shared), and its variant folders; a panel or sound package has all
// members and no variants.
class MemberScope {
 public:
  // A panel or sound package; home: its store folder (a Windows path with a
  // trailing "\").
  MemberScope(const ArchiveMembers& members, std::string home);
  // An aircraft: root, its folder in the archive; others, the folders of
  // the archive's other aircraft; home, its aircraft folder.
  MemberScope(const ArchiveMembers& members, std::string root, std::vector<std::string> others, std::string home);

  // The files of TempZip, in its listing's order, that are members of the
  // scope no step took yet. A file the table does not know (put there by
  // hand) counts as a member at the top of the archive. TempZip is listed
  // at the first call only: until the last look (Placer::place) a file
  // leaves it only when a step takes its member, so the later calls pass
  // over the members taken since.
  std::vector<const ArchiveMember*> remaining(core::Context& ctx);
  // Of them, those in no variant folder.
  std::vector<const ArchiveMember*> remainingPlain(core::Context& ctx);

  // The member's folder below the root; nullopt for one outside it.
  std::optional<std::string> below(const ArchiveMember& member) const;
  // Only this installation has the member: it may leave TempZip when it is
  // moved out. A shared member stays there for the other aircraft.
  bool owns(const ArchiveMember& member) const;
  // No other aircraft of the archive can take the member: it lies below the
  // root and below no other aircraft's folder, or the archive has no other.
  bool alone(const ArchiveMember& member) const;
  // For an aircraft, where in its folder a member of a variant folder goes
  // (VariantFolderOf its folder below the root, or its whole folder for a
  // shared member); nullopt for any other member.
  std::optional<std::string> variantOf(const ArchiveMember& member) const;

  // A step moved the member out or left it out; later steps pass it over.
  void take(const ArchiveMember& member) { taken_.mark(member); }
  bool taken(const ArchiveMember& member) const { return taken_.marked(member); }

  const std::string& root() const { return root_; }
  const std::string& home() const { return home_; }

 private:
  // A file of TempZip that is a member of the scope; plain: in no variant
  // folder.
  struct Listed {
    const ArchiveMember* member;
    bool plain;
  };

  // Below the folder of another aircraft of the archive.
  bool belowAnother(const ArchiveMember& member) const;
  const std::vector<Listed>& listed(core::Context& ctx);

  const ArchiveMembers& members_;
  std::string root_;
  std::vector<std::string> others_;
  std::string home_;
  bool variants_ = false;
  // The scope's files of TempZip as first listed.
  std::optional<std::vector<Listed>> listed_;
  MemberMarks taken_;
  // Files of TempZip the table does not know, as members of their own, by
  // their lower-case names.
  std::unordered_map<std::string, std::unique_ptr<ArchiveMember>> strays_;
};

}  // namespace install

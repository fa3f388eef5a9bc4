#pragma once

#include <unordered_set>
#include <vector>

#include "install/archive_members.h"

namespace install {

// One mark for each member of an archive, found by the member's place in
// its table rather than by a look-up of its name; a member the table does
// not hold (a file put into TempZip by hand) is marked by its address.
class MemberMarks {
 public:
  explicit MemberMarks(const ArchiveMembers& members) : members_(members) {}

  // Marks the member; false when it was marked already.
  bool mark(const ArchiveMember& member);
  bool marked(const ArchiveMember& member) const;

 private:
  const ArchiveMembers& members_;
  std::vector<bool> inTable_;
  std::unordered_set<const ArchiveMember*> others_;
};

}  // namespace install

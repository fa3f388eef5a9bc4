#include "install/member_marks.h"

namespace install {

bool MemberMarks::mark(const ArchiveMember& member) {
  const std::size_t at = members_.position(member);
  if (at == members_.size()) return others_.insert(&member).second;
  if (inTable_.size() < members_.size()) inTable_.resize(members_.size());
  if (inTable_[at]) return false;
  inTable_[at] = true;
  return true;
}

bool MemberMarks::marked(const ArchiveMember& member) const {
  const std::size_t at = members_.position(member);
  if (at == members_.size()) return others_.count(&member) != 0;
  return at < inTable_.size() && inTable_[at];
}

}  // namespace install

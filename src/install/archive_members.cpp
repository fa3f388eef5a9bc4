#include "install/archive_members.h"

#include "core/text.h"

namespace install {

std::string ArchiveMember::path() const {
  return folder.empty() ? name : folder + "\\" + name;
}

std::string NumberedName(std::string_view name, int number) {
  const std::string suffix = " (" + std::to_string(number) + ")";
  const auto dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return std::string(name) + suffix;
  return std::string(name.substr(0, dot)) + suffix + std::string(name.substr(dot));
}

std::string ArchiveMembers::storedNameFor(std::string_view name) const {
  std::string candidate(name);
  for (int number = 2; index_.count(core::lower(candidate)); ++number) candidate = NumberedName(name, number);
  return candidate;
}

void ArchiveMembers::add(ArchiveMember member) {
  const auto [it, added] = index_.try_emplace(core::lower(member.stored), members_.size());
  if (!added && it->second != kRemoved) {
    members_[it->second] = std::move(member);
    return;
  }
  it->second = members_.size();
  members_.push_back(std::move(member));
}

void ArchiveMembers::remove(std::string_view stored) {
  auto it = index_.find(core::lower(stored));
  if (it == index_.end() || it->second == kRemoved) return;
  const std::size_t gone = it->second;
  members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(gone));
  it->second = kRemoved;
  for (auto& [name, at] : index_)
    if (at != kRemoved && at > gone) --at;
}

std::size_t ArchiveMembers::position(const ArchiveMember& member) const {
  if (!members_.empty() && &member >= &members_.front() && &member <= &members_.back())
    return static_cast<std::size_t>(&member - &members_.front());
  return members_.size();
}

const ArchiveMember* ArchiveMembers::byStored(std::string_view stored) const {
  auto it = index_.find(core::lower(stored));
  return it == index_.end() || it->second == kRemoved ? nullptr : &members_[it->second];
}

}  // namespace install

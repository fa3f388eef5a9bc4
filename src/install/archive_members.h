#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace install {

// One file of the archive being installed, as extraction wrote it into
// TempZip. TempZip stays flat, so that classification and the installers
// that go by names alone see every file at its top; the member keeps where
// the archive had it, so that the installers that place by folder can.
struct ArchiveMember {
  // Its folders in the archive joined by "\" ("" at the top). The members
  // of an archive nested in the archive lie in a folder named after it.
  std::string folder;
  // Its own name in the archive.
  std::string name;
  // Its file in TempZip: its own name, or the name numbered ("readme
  // (2).txt") where an earlier member took that one, in any case.
  std::string stored;

  // folder\name, as the archive names the member.
  std::string path() const;
};

// "readme.txt", 2 -> "readme (2).txt"; a name without an extension gets
// the number at its end. The extension stays last, so the rules that go by
// a name's last characters place the numbered file as the plain one.
std::string NumberedName(std::string_view name, int number);

// The members of one archive, nested archives' included, in the order they
// were extracted: the side table of TempZip.
class ArchiveMembers {
 public:
  // The name in TempZip for a new member of that name: the name itself, or
  // the first numbered one that no member added so far took (in any case).
  std::string storedNameFor(std::string_view name) const;
  // A member written into TempZip; its stored name is taken from now on.
  void add(ArchiveMember member);
  // The nested archive stored under that name is gone from TempZip.
  void remove(std::string_view stored);

  // The member stored under the name (in any case); nullptr when none is.
  const ArchiveMember* byStored(std::string_view stored) const;
  const std::vector<ArchiveMember>& all() const { return members_; }
  // The member's position in all(); size() for one the table does not hold.
  std::size_t position(const ArchiveMember& member) const;
  std::size_t size() const { return members_.size(); }

 private:
  // A name given out to a member that is gone from TempZip since.
  static constexpr std::size_t kRemoved = static_cast<std::size_t>(-1);

  std::vector<ArchiveMember> members_;
  // Lower-case stored name -> position, or kRemoved: every name given out,
  // ever. Hashed rather than sorted: in an archive of tens of thousands of
  // textures named alike ("texture_01234.bmp") each look-up in a sorted
  // table compared a dozen long common beginnings.
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace install

#include "install/member_scope.h"

#include <algorithm>

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/temp_zip.h"
#include "install/variant_folders.h"

namespace install {

namespace {

// Whether folder is root or below it. Folders compare without regard to
// case.
bool isBelow(const std::string& folder, const std::string& root) {
  return root.empty() || core::iequals(folder, root) ||
         (folder.size() > root.size() && folder[root.size()] == '\\' && core::istartsWith(folder, root));
}

// The part of folder below root ("" for root itself); nullopt when folder is
// not root or below it.
std::optional<std::string> folderBelow(const std::string& folder, const std::string& root) {
  if (!isBelow(folder, root)) return std::nullopt;
  if (root.empty()) return folder;
  return folder.size() == root.size() ? std::string() : folder.substr(root.size() + 1);
}

}  // namespace

MemberScope::MemberScope(const ArchiveMembers& members, std::string home)
    : members_(members), home_(std::move(home)), taken_(members) {}

MemberScope::MemberScope(const ArchiveMembers& members, std::string root, std::vector<std::string> others,
                         std::string home)
    : members_(members),
      root_(std::move(root)),
      others_(std::move(others)),
      home_(std::move(home)),
      variants_(true),
      taken_(members) {}

std::optional<std::string> MemberScope::below(const ArchiveMember& member) const {
  return folderBelow(member.folder, root_);
}

bool MemberScope::owns(const ArchiveMember& member) const {
  return others_.empty() || isBelow(member.folder, root_);
}

bool MemberScope::alone(const ArchiveMember& member) const {
  return others_.empty() || (isBelow(member.folder, root_) && !belowAnother(member));
}

bool MemberScope::belowAnother(const ArchiveMember& member) const {
  return std::any_of(others_.begin(), others_.end(),
                     [&](const std::string& other) { return isBelow(member.folder, other); });
}

std::optional<std::string> MemberScope::variantOf(const ArchiveMember& member) const {
  if (!variants_) return std::nullopt;
  const auto folder = below(member);
  return VariantFolderOf(folder ? *folder : member.folder);
}

const std::vector<MemberScope::Listed>& MemberScope::listed(core::Context& ctx) {
  if (listed_) return *listed_;
  auto& listed = listed_.emplace();
  for (const auto& name : ctx.fs.listFiles(TempZipFolder(ctx))) {
    const ArchiveMember* member = members_.byStored(name);
    if (!member) {
      auto& stray = strays_[core::lower(name)];
      if (!stray) stray = std::make_unique<ArchiveMember>(ArchiveMember{"", name, name});
      member = stray.get();
    }
    // Another aircraft's own member.
    if (isBelow(member->folder, root_) || !belowAnother(*member))
      listed.push_back({member, !variantOf(*member).has_value()});
  }
  return listed;
}

std::vector<const ArchiveMember*> MemberScope::remaining(core::Context& ctx) {
  std::vector<const ArchiveMember*> out;
  for (const Listed& l : listed(ctx))
    if (!taken(*l.member)) out.push_back(l.member);
  return out;
}

std::vector<const ArchiveMember*> MemberScope::remainingPlain(core::Context& ctx) {
  std::vector<const ArchiveMember*> out;
  for (const Listed& l : listed(ctx))
    if (l.plain && !taken(*l.member)) out.push_back(l.member);
  return out;
}

}  // namespace install

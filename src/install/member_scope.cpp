#include "install/member_scope.h"

#include <algorithm>

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/temp_zip.h"
#include "install/variant_folders.h"

namespace install {

namespace {

// The part of folder below root ("" for root itself); nullopt when folder is
// not root or below it. Folders compare without regard to case.
std::optional<std::string> folderBelow(const std::string& folder, const std::string& root) {
  if (root.empty()) return folder;
  if (core::iequals(folder, root)) return std::string();
  if (folder.size() > root.size() && folder[root.size()] == '\\' && core::istartsWith(folder, root))
    return folder.substr(root.size() + 1);
  return std::nullopt;
}

}  // namespace

MemberScope::MemberScope(const ArchiveMembers& members, std::string home) : members_(members), home_(std::move(home)) {}

MemberScope::MemberScope(const ArchiveMembers& members, std::string root, std::vector<std::string> others,
                         std::string home)
    : members_(members), root_(std::move(root)), others_(std::move(others)), home_(std::move(home)), variants_(true) {}

std::string MemberScope::key(const ArchiveMember& member) {
  return core::lower(member.stored);
}

std::optional<std::string> MemberScope::below(const ArchiveMember& member) const {
  return folderBelow(member.folder, root_);
}

bool MemberScope::owns(const ArchiveMember& member) const {
  return others_.empty() || below(member).has_value();
}

bool MemberScope::alone(const ArchiveMember& member) const {
  return others_.empty() || (below(member) && !belowAnother(member));
}

bool MemberScope::belowAnother(const ArchiveMember& member) const {
  return std::any_of(others_.begin(), others_.end(),
                     [&](const std::string& other) { return folderBelow(member.folder, other).has_value(); });
}

std::optional<std::string> MemberScope::variantOf(const ArchiveMember& member) const {
  if (!variants_) return std::nullopt;
  const auto folder = below(member);
  return VariantFolderOf(folder ? *folder : member.folder);
}

std::vector<const ArchiveMember*> MemberScope::remainingPlain(core::Context& ctx) {
  auto members = remaining(ctx);
  std::erase_if(members, [&](const ArchiveMember* m) { return variantOf(*m).has_value(); });
  return members;
}

std::vector<const ArchiveMember*> MemberScope::remaining(core::Context& ctx) {
  std::vector<const ArchiveMember*> out;
  for (const auto& name : ctx.fs.listFiles(TempZipFolder(ctx))) {
    const ArchiveMember* member = members_.byStored(name);
    if (!member) {
      auto& stray = strays_[core::lower(name)];
      if (!stray) stray = std::make_unique<ArchiveMember>(ArchiveMember{"", name, name});
      member = stray.get();
    }
    if (taken(*member)) continue;
    // Another aircraft's own member.
    if (below(*member) || !belowAnother(*member)) out.push_back(member);
  }
  return out;
}

}  // namespace install

#include "install/placer.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/install_folders.h"
#include "install/temp_zip.h"

namespace install {

namespace {

const std::string& nameOf(const Placement& p) {
  return p.name.empty() ? p.member->name : p.name;
}

std::string folderName(const std::string& folder) {
  return core::lastComponent(core::dropRight(folder, 1));
}

// folder + name in lower case, the key of the file in claimed_.
std::string foldedPath(std::string_view folder, std::string_view name) {
  std::string out;
  out.reserve(folder.size() + name.size());
  for (const std::string_view part : {folder, name})
    for (const char c : part) out += core::lowerChar(c);
  return out;
}

}  // namespace

void NoteMember(core::Context& ctx, const std::string& path, const std::string& text) {
  ctx.state.installNotes.push_back(text);
  if (ctx.journal) ctx.journal->noted(path, text);
}

std::size_t Placer::order(const ArchiveMember& member) const {
  return members_.position(member);
}

int Placer::rank(const MemberScope& scope, const ArchiveMember& member, const std::string& folder) const {
  const auto below = scope.below(member);
  if (!below) return 2;
  const bool home = below->empty() ? core::iequals(folder, scope.home())
                                   : core::iequals(core::lastComponent(*below), folderName(folder));
  return home ? 0 : 1;
}

const ArchiveMember* Placer::choose(const MemberScope& scope, const std::vector<const ArchiveMember*>& members,
                                    std::string_view name, const std::string& folder, const std::string* near) const {
  const ArchiveMember* best = nullptr;
  auto key = [&](const ArchiveMember& m) {
    return std::tuple(near && core::iequals(m.folder, *near) ? 0 : 1, rank(scope, m, folder), order(m));
  };
  for (const ArchiveMember* m : members)
    if (!scope.taken(*m) && core::iequals(m->name, name) && (!best || key(*m) < key(*best))) best = m;
  return best;
}

bool Placer::sameContent(const ArchiveMember& member, const std::string& target) {
  const std::string source = TempZipPrefix(ctx_) + member.stored;
  bool same = false;
  core::step([&] {
    same = ctx_.fs.fileSize(source) == ctx_.fs.fileSize(target) && ctx_.fs.readFile(source) == ctx_.fs.readFile(target);
  });
  return same;
}

void Placer::put(MemberScope& scope, const Placement& p, const std::string& name, std::string claim) {
  const std::string source = TempZipPrefix(ctx_) + p.member->stored;
  const std::string target = p.folder + name;
  // The first file a member goes to is given TempZip's file itself where
  // the file system allows (moved there when nothing looks for it in TempZip
  // later); any other gets a copy of its own.
  const bool first = given_.mark(*p.member);
  auto give = [&] {
    if (!first) return ctx_.fs.copyFile(source, target);
    if (lastLook_ && scope.alone(*p.member)) return ctx_.fs.moveFile(source, target);
    ctx_.fs.linkFile(source, target);
  };
  if (p.moved) {
    // A member the other aircraft share stays for them.
    const bool placed = scope.owns(*p.member) ? MoveToTarget(ctx_, source, target, first) : core::step(give);
    if (!placed) return;
    scope.take(*p.member);
  } else {
    give();
  }
  claimed_.insert_or_assign(std::move(claim), p.member);
}

std::optional<std::string> Placer::keep(MemberScope& scope, const Placement& p, const std::string& folder,
                                        bool second) {
  const std::string& own = nameOf(p);
  int number = second ? 2 : 1;
  std::string name = second ? NumberedName(own, number) : own;
  std::string claim;
  for (;; name = NumberedName(own, ++number)) {
    claim = foldedPath(folder, name);
    auto it = claimed_.find(claim);
    if (it == claimed_.end()) break;
    if (it->second == p.member || sameContent(*p.member, folder + name)) return std::nullopt;
  }
  Placement into = p;
  into.folder = folder;
  put(scope, into, name, std::move(claim));
  return folder + name;
}

void Placer::displaced(MemberScope& scope, const Placement& p, const std::string& target, const ArchiveMember& holder,
                       const std::optional<std::string>& doc) {
  scope.take(*p.member);
  const std::string why = ": " + holder.path() + " takes " + target + ".";
  if (doc) {
    Placement kept = p;
    kept.moved = false;
    if (auto where = keep(scope, kept, *doc, true))
      NoteMember(ctx_, target, p.member->path() + " is kept as " + *where + why);
    return;
  }
  NoteMember(ctx_, target, p.member->path() + " is not installed" + why);
}

void Placer::place(MemberScope& scope, const std::vector<Placement>& placements, const std::optional<std::string>& doc,
                   bool lastLook) {
  lastLook_ = lastLook;
  // The placements by target file (its lower-case path), in the order
  // first named.
  struct Group {
    const std::string* claim;
    std::vector<const Placement*> placements;
  };
  std::vector<Group> groups;
  std::unordered_map<std::string, std::size_t, core::TextHash, std::equal_to<>> byTarget;
  byTarget.reserve(placements.size());
  for (const auto& p : placements) {
    const auto [it, added] = byTarget.try_emplace(foldedPath(p.folder, nameOf(p)), groups.size());
    if (added) groups.push_back({&it->first, {}});
    groups[it->second].placements.push_back(&p);
  }
  for (auto& [claim, group] : groups) {
    const Placement& first = *group.front();
    if (doc && core::iequals(first.folder, *doc)) {
      std::stable_sort(group.begin(), group.end(),
                       [&](const Placement* a, const Placement* b) { return order(*a->member) < order(*b->member); });
      for (const Placement* p : group) keep(scope, *p, p->folder, false);
      continue;
    }
    std::stable_sort(group.begin(), group.end(), [&](const Placement* a, const Placement* b) {
      const int ra = rank(scope, *a->member, a->folder), rb = rank(scope, *b->member, b->folder);
      return ra != rb ? ra < rb : order(*a->member) < order(*b->member);
    });
    auto held = claimed_.find(*claim);
    if (held == claimed_.end()) {
      put(scope, *group.front(), nameOf(*group.front()), *claim);
      held = claimed_.find(*claim);
      // A move that failed leaves the file to the rules that follow.
      if (held == claimed_.end()) continue;
    }
    const ArchiveMember& holder = *held->second;
    std::string target;
    for (const Placement* p : group) {
      if (p->member == &holder) continue;
      if (target.empty()) target = first.folder + nameOf(first);
      if (sameContent(*p->member, target)) {
        // The file is there already; one named by a configuration is done.
        if (p->moved) {
          scope.take(*p->member);
          if (scope.owns(*p->member)) core::step([&] { ctx_.fs.deleteFile(TempZipPrefix(ctx_) + p->member->stored); });
        }
        continue;
      }
      displaced(scope, *p, target, holder, doc);
    }
  }
}

}  // namespace install

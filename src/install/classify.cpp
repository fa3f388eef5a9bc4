#include "install/classify.h"

#include <map>
#include <set>

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using core::PackageKind;

// airs: the .air files of the folder.
PackageKind classifyAircraft(core::Context& ctx, const std::string& folder, const std::vector<std::string>& airs) {
  if (airs.empty()) return PackageKind::None;
  if (ctx.fs.fileSize(core::joinPath(folder, airs[0])) > kLargestModernAir) return PackageKind::Fs5Aircraft;
  if (airs.size() > 1) return PackageKind::MultiAircraft;
  if (!ctx.fs.listFiles(folder, "aircraft.cfg").empty()) return PackageKind::Aircraft;
  // One small .air without aircraft.cfg is no aircraft package: the rules
  // below decide.
  return PackageKind::None;
}

bool isAir(const ArchiveMember& member) {
  return core::iendsWith(member.name, ".air");
}

// folder is the other one or lies in it.
bool within(const std::string& folder, const std::string& other) {
  const std::string f = core::lower(folder), o = core::lower(other);
  return f == o || o.empty() || (f.size() > o.size() && f[o.size()] == '\\' && f.starts_with(o));
}

// Two .air members of one name, as the archive names them; none when their
// names all differ.
std::vector<std::string> clashingAir(const ArchiveMembers& members) {
  std::map<std::string, const ArchiveMember*> seen;
  for (const auto& m : members.all()) {
    if (!isAir(m)) continue;
    auto [it, added] = seen.try_emplace(core::lower(m.name), &m);
    if (!added) return {it->second->path(), m.path()};
  }
  return {};
}
}  // namespace

std::vector<std::string> SeparateAircraftFolders(const ArchiveMembers& members) {
  std::set<std::string> configured;
  for (const auto& m : members.all())
    if (core::iequals(m.name, "aircraft.cfg")) configured.insert(core::lower(m.folder));
  std::vector<std::string> folders;
  for (const auto& m : members.all()) {
    if (!isAir(m)) continue;
    if (!configured.count(core::lower(m.folder))) return {};
    for (const auto& other : folders)
      if (within(m.folder, other) || within(other, m.folder)) return {};
    folders.push_back(m.folder);
  }
  return folders.size() > 1 ? folders : std::vector<std::string>{};
}

void ClassifyPackage(core::Context& ctx, Package& package) {
  const std::string folder = TempZipFolder(ctx);
  ctx.state.tempZipPath = folder + "\\";
  auto has = [&](const char* pattern) { return !ctx.fs.listFiles(folder, pattern).empty(); };

  const auto airs = ctx.fs.listFiles(folder, "*.air");
  PackageKind kind = classifyAircraft(ctx, folder, airs);
  if (kind == PackageKind::None) {
    if (has("panel.cfg"))
      kind = PackageKind::Panel;
    else if (has("sound.cfg"))
      kind = PackageKind::Sound;
    else if (has("*.sif"))
      kind = PackageKind::Sif;
    else if (has("*.bgl"))
      kind = PackageKind::Scenery;
    else if (has("*.adv"))
      kind = PackageKind::Adventure;
  }
  package.aircraftFolders.clear();
  package.clashingAirFiles.clear();
  if (kind == PackageKind::MultiAircraft) {
    package.aircraftFolders = SeparateAircraftFolders(package.members);
    if (!package.aircraftFolders.empty())
      kind = PackageKind::Aircraft;
    else
      package.clashingAirFiles = clashingAir(package.members);
  } else if (kind == PackageKind::Aircraft) {
    const ArchiveMember* air = package.members.byStored(airs.front());
    package.aircraftFolders = {air ? air->folder : std::string()};
  }
  ctx.state.packageKind = kind;
}

}  // namespace install

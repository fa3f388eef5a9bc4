#include "manager/build_catalogue.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/paths.h"
#include "core/profile.h"
#include "core/text.h"
#include "manager/config_facts.h"
#include "manager/entry_kinds.h"

namespace manager {

namespace {

// Sections "fltsim.0" to "fltsim.999" are the most one aircraft.cfg may hold.
constexpr int kMaxSections = 1000;

// A variant's panel or sound folder, resolved once every entry is known.
struct PendingUse {
  std::size_t variant;
  EntryKind kind;
  std::string file;  // the configuration file the variant's key names
};

class CatalogueWalk {
 public:
  CatalogueWalk(core::Context& ctx, ParsedAircraftConfigs* parsed)
      : ctx_(ctx),
        parsed_(parsed),
        aircraftFolder_(onDiskSpelling(ctx)),
        tree_(core::normalizeWindowsPath(aircraftFolder_)) {}

  Catalogue run() {
    const std::vector<std::string> subFolders = examineFolder(aircraftFolder_);
    const int max = static_cast<int>(subFolders.size());
    ctx_.windows().setProgressBar(max, 0);
    for (int i = 0; i < max; ++i) {
      ctx_.windows().setProgressBar(max, i + 1);
      const std::string folder = core::joinPath(aircraftFolder_, subFolders[static_cast<std::size_t>(i)]);
      for (const auto& name : examineFolder(folder)) examineFolder(core::joinPath(folder, name));
    }
    listed_[0].reserve(panels_.size());
    listed_[1].reserve(sounds_.size());
    for (const auto& e : panels_) listed_[0].insert(e.relative);
    for (const auto& e : sounds_) listed_[1].insert(e.relative);
    for (const auto& use : pending_) core::step([&] { resolve(use); });
    return Catalogue(std::move(variants_), std::move(panels_), std::move(sounds_));
  }

 private:
  // Lists the configuration files of the folder and returns its
  // sub-folders, from one listing of it.
  std::vector<std::string> examineFolder(const std::string& folder) {
    core::FileSystem::Listing listing;
    if (!core::step([&] { listing = ctx_.fs.listFilesAndFolders(folder); })) return {};
    // Of several aircraft.cfg in capitals of their own, the one the
    // folder's path and "aircraft.cfg" lead to: that name itself, else the
    // first in byte order (the listing's first of them).
    const std::string* found = nullptr;
    for (const auto& name : listing.files)
      if ((!found || name == "aircraft.cfg") && core::iequals(name, "aircraft.cfg")) found = &name;
    // Only the configuration files are joined into paths; most names of
    // an aircraft's folders are models, textures and gauges.
    for (const auto& name : listing.files) {
      if (core::iequals(name, "aircraft.cfg"))
        core::step([&] { listAircraft(core::joinPath(folder, name), &name == found); });
      else if (core::iequals(name, kPanelNames.file))
        core::step([&] { listEntry(EntryKind::Panel, folder, core::joinPath(folder, name)); });
      else if (core::iequals(name, kSoundNames.file))
        core::step([&] { listEntry(EntryKind::Sound, folder, core::joinPath(folder, name)); });
    }
    return std::move(listing.folders);
  }

  // Lists the variants of an aircraft.cfg, and keeps its document when it
  // is the one its folder's path leads to.
  void listAircraft(const std::string& path, bool foldersOwn) {
    // An unreadable file lists nothing.
    auto file = core::ReadProfileDocumentIfReadable(ctx_, path);
    if (!file) return;
    const std::string folder = core::dropRight(path, 12);  // without "aircraft.cfg", trailing "\" kept
    listVariants(*file, path, folder);
    if (parsed_ && foldersOwn) parsed_->keep(folder, std::move(*file));
  }

  void listVariants(const core::profile::Document& file, const std::string& path, const std::string& folder) {
    for (int n = 0;;) {
      const std::string section = "fltsim." + std::to_string(n);
      std::string title = file.get(section, "title").value_or("");
      if (title.empty() || title.front() == '~') break;
      const std::size_t index = variants_.size();
      variants_.push_back({.title = std::move(title),
                           .folder = folder,
                           .section = n,
                           .hidden = file.get(section, "sim").value_or("").empty(),
                           .panel = std::nullopt,
                           .sound = std::nullopt});
      // A key may lead into another aircraft's folder, as add-ons that
      // share a panel or sound set do; one that leads out of the aircraft
      // folder names nothing.
      for (const EntryKind kind : kEntryKinds)
        if (auto config =
                EntryConfigPath(tree_, folder, kind, file.get(section, namesOf(kind).variantKey).value_or("")))
          pending_.push_back({index, kind, std::move(*config)});
      if (++n == kMaxSections) {
        // The file is left at this section; the rest of the catalogue is
        // still worth having, so the program goes on.
        ctx_.dialogs.msgBox("Overflow error in ''Search''\r\n\r\nError reading: " + path, "Error", core::Buttons::OK,
                            core::Icon::Critical);
        break;
      }
    }
  }

  // A configuration file in a folder of its own below the aircraft folder;
  // alias configurations are never entries of their own. An alias key
  // whose value is "Err" reads like a missing one here.
  void listEntry(EntryKind kind, const std::string& folder, const std::string& path) {
    if (folder.size() <= aircraftFolder_.size()) return;
    const ConfigFacts& facts = factsOf(kind, path);
    if (facts.alias && *facts.alias != "Err") return;
    const std::string relative = core::lower(folder.substr(aircraftFolder_.size() + 1));
    Entry entry{facts.name && *facts.name != "Err" ? *facts.name : relative, folder + "\\", relative};
    if (kind == EntryKind::Panel)
      panels_.push_back({std::move(entry)});
    else
      sounds_.push_back({std::move(entry)});
  }

  // The entry a variant's folder names: the target of an alias (lower
  // case), else the folder itself when its configuration is usable; listed
  // only when the catalogue has an entry of that relative folder.
  void resolve(const PendingUse& use) {
    auto used = NamedEntry(factsOf(use.kind, use.file), tree_, use.file);
    if (used && listed_[static_cast<int>(use.kind)].contains(*used))
      variants_[use.variant].uses(use.kind) = std::move(used);
  }

  // Each configuration file parsed once, whether the walk found it or a
  // variant's key names it. Most variants name a file already known, so
  // its key is folded into a buffer of the walk's own and copied only for
  // a new file.
  const ConfigFacts& factsOf(EntryKind kind, const std::string& path) {
    factsKey_.assign(path);
    std::transform(factsKey_.begin(), factsKey_.end(), factsKey_.begin(), core::lowerChar);
    if (const auto known = facts_.find(factsKey_); known != facts_.end()) return known->second;
    return facts_.emplace(factsKey_, ReadConfigFacts(ctx_, kind, path)).first->second;
  }

  // simFolder + "\aircraft" in the capitals the folder has on disk, so
  // that every path below it is found at the first try.
  static std::string onDiskSpelling(core::Context& ctx) {
    std::vector<std::string> names;
    core::step([&] { names = ctx.fs.listFolders(ctx.state.simFolder); });
    for (const auto& name : names)
      if (core::iequals(name, "aircraft")) return core::joinPath(ctx.state.simFolder, name);
    return ctx.state.simFolder + "\\aircraft";
  }

  core::Context& ctx_;
  ParsedAircraftConfigs* parsed_;
  std::string aircraftFolder_;
  std::string tree_;  // the aircraft folder as paths inside it are spelled
  std::vector<AircraftVariant> variants_;
  std::vector<PanelEntry> panels_;
  std::vector<SoundEntry> sounds_;
  std::vector<PendingUse> pending_;
  std::unordered_map<std::string, ConfigFacts> facts_;  // by the file's path in lower case
  std::string factsKey_;                                // the path factsOf looks up, in lower case
  std::unordered_set<std::string> listed_[2];           // relative folders of the entries, by kind
};

}  // namespace

Catalogue BuildCatalogue(core::Context& ctx, ParsedAircraftConfigs* parsed) {
  return CatalogueWalk(ctx, parsed).run();
}

}  // namespace manager

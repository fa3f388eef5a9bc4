#include <string>
#include <vector>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/simulator.h"
#include "core/text.h"
#include "manager/catalogue.h"
#include "manager/profile_reader.h"
#include "manager/twins.h"

namespace manager {

namespace {

// Sections "fltsim.0" to "fltsim.999" are the most one aircraft.cfg may hold.
constexpr int kMaxSections = 1000;

// One rebuild's walk over the aircraft folder. Every step goes on past a
// failure: a folder that cannot be listed or a file that cannot be read
// leaves the rows read so far.
class CatalogueWalk {
 public:
  CatalogueWalk(Catalogue& cat, ProfileReads reads)
      : cat_(cat), ctx_(cat.context()), reads_(reads), aircraftFolder_(onDiskSpelling(cat)) {}

  // The aircraft folder itself, each sub-folder and each sub-folder of
  // those: exactly two levels below it, never deeper.
  void run() {
    examineFolder(aircraftFolder_);
    std::vector<std::string> subFolders;
    core::step([&] { subFolders = ctx_.fs.listFolders(aircraftFolder_); });
    const int max = static_cast<int>(subFolders.size());
    ctx_.windows().setProgressBar(max, 0);
    for (int i = 0; i < max; ++i) {
      ctx_.windows().setProgressBar(max, i + 1);
      const std::string folder = core::joinPath(aircraftFolder_, subFolders[static_cast<std::size_t>(i)]);
      examineFolder(folder);
      std::vector<std::string> inner;
      core::step([&] { inner = ctx_.fs.listFolders(folder); });
      for (const auto& name : inner) examineFolder(core::joinPath(folder, name));
    }
    // Rows arrive in walk order and are sorted once, into the order that
    // adding them one by one would give.
    cat_.flyLst.assign(std::move(fly_));
    cat_.panelLst.assign(std::move(panels_));
    cat_.lydLst.assign(std::move(sounds_));
  }

 private:
  void examineFolder(const std::string& folder) {
    std::vector<std::string> files;
    if (!core::step([&] { files = ctx_.fs.listFiles(folder, "*", true); })) return;
    for (const auto& name : files) {
      const std::string path = core::joinPath(folder, name);
      const std::string lowerName = core::lower(name);
      if (lowerName == "aircraft.cfg")
        core::step([&] { listAircraft(path); });
      else if (lowerName == kPanelTwin.file)
        core::step([&] { listEntry(kPanelTwin, folder, path); });
      else if (lowerName == kSoundTwin.file)
        core::step([&] { listEntry(kSoundTwin, folder, path); });
    }
  }

  // One row per section "fltsim." + N, N = 0, 1, ... up to the first
  // section without a title or with a title that starts with "~".
  void listAircraft(const std::string& path) {
    ProfileReader file(ctx_, path, reads_);
    const std::string folder = core::dropRight(path, 12);  // without "aircraft.cfg", trailing "\" kept
    for (int n = 0;;) {
      const std::string section = "fltsim." + std::to_string(n);
      const std::string title = file.get(section, "title", "");
      if (title.empty() || title.front() == '~') break;
      const std::string sim = file.get(section, "sim", "");
      fly_.push_back({title, {folder, std::to_string(n)}, sim.empty() ? HiddenIcon : ActiveIcon});
      if (++n == kMaxSections) {
        // The file is left at this section; the rest of the catalogue is
        // still worth having, so the program goes on.
        ctx_.dialogs.msgBox("Overflow error in ''Search''\r\n\r\nError reading: " + path, "Error", core::Buttons::OK,
                            core::Icon::Critical);
        break;
      }
    }
  }

  // A panel.cfg or sound.cfg in a folder of its own below the aircraft
  // folder; alias configurations are never entries of their own.
  void listEntry(const Twin& twin, const std::string& folder, const std::string& path) {
    if (folder.size() <= aircraftFolder_.size()) return;
    ProfileReader file(ctx_, path, reads_);
    if (file.get("fltsim", "alias", "Err") != "Err") return;
    const std::string name = file.get("Hangarpak", "name", "Err");
    const std::string relative = core::lower(folder.substr(aircraftFolder_.size() + 1));
    (&twin == &kPanelTwin ? panels_ : sounds_).push_back({name == "Err" ? relative : name, {folder + "\\", relative}});
  }

  // simFolder + "\aircraft" in the capitals the folder has on disk, so
  // that every path below it is found at the first try.
  static std::string onDiskSpelling(Catalogue& cat) {
    core::Context& ctx = cat.context();
    std::vector<std::string> names;
    core::step([&] { names = ctx.fs.listFolders(ctx.state.simFolder); });
    for (const auto& name : names)
      if (core::iequals(name, "aircraft")) return core::joinPath(ctx.state.simFolder, name);
    return cat.aircraftFolder();
  }

  Catalogue& cat_;
  core::Context& ctx_;
  ProfileReads reads_;
  std::string aircraftFolder_;
  std::vector<core::ListItem> fly_;
  std::vector<core::ListItem> panels_;
  std::vector<core::ListItem> sounds_;
};

void fillChoiceList(const core::ListView& lst, core::ComboBox& com) {
  com.clear();
  com.pinnedTop = 1;
  com.insertItem(0, std::string(NotListed));
  // Both lists sort by the same order and equal texts keep their order of
  // arrival, so position i + 1 is row i.
  for (const auto& row : lst.items()) com.addItem(row.text);
}

}  // namespace

void Catalogue::Search(ProfileReads reads) {
  auto& state = ctx_.state;
  auto& windows = ctx_.windows();
  windows.setBusyCursor(true);
  state.progressMode = 2;
  windows.loadProgress();
  windows.showProgress();
  windows.repaintProgress();
  windows.repaintMainWindow();
  // Confirms simFolder; may ask the user, and may end the program.
  core::FindSimulator(ctx_);

  state.catalogueBusy = true;
  selFound = false;
  flyLst.clear();
  panelLst.clear();
  lydLst.clear();
  panelCom.clear();
  lydCom.clear();

  CatalogueWalk(*this, reads).run();

  for (const Twin* twin : kTwins) fillChoiceList(this->*twin->lst, this->*twin->com);
  state.catalogueBusy = false;
  countPanelsAndSounds();
  countAircraft();

  flyLst.select(flyLst.count() > 0 ? 0 : -1);
  flyLstHasFocus = true;
  if (flyLst.count() >= 1) UpdateAircraft();

  state.catalogueStale = 0;
  windows.unloadProgress();
  windows.setBusyCursor(false);
  changed();
}

void Catalogue::countAircraft() {
  int active = 0;
  for (const auto& row : flyLst.items())
    if (row.smallIcon == ActiveIcon) ++active;
  fly2Lbl.caption = "Active: " + std::to_string(active) + "  Total: " + std::to_string(flyLst.count());
}

void Catalogue::countPanelsAndSounds() {
  for (const Twin* twin : kTwins)
    (this->*twin->totalLbl).caption = "Total: " + std::to_string((this->*twin->com).listCount() - 1);
}

std::string Catalogue::aircraftFolder() const {
  return ctx_.state.simFolder + "\\aircraft";
}

}  // namespace manager

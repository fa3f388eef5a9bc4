#include <string>

#include "core/codepage.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "core/trash.h"
#include "manager/catalogue.h"
#include "manager/twins.h"

namespace manager {

// A variant is given another installed panel (or sound set) without
// copying it: a folder of its own, "panel.hgrpak" + N, holds a panel.cfg
// that only names the picked entry as an alias, and the variant's "panel"
// key points at it. What the variant used before is recorded once in
// "Hangarpak" ("OrgPanel" + N, "OrgPanInt" + N); picking the recorded
// entry again removes the alias folder and puts the old key value back.
void Catalogue::panelCom_Click() {
  swap(kPanelTwin);
}

void Catalogue::lydCom_Click() {
  swap(kSoundTwin);
}

namespace {

std::string aliasLines(const std::string& entry) {
  return "[fltsim]\r\nalias=" + core::utf8ToCp1252(entry) + "\r\n";
}

}  // namespace

void Catalogue::swap(const Twin& twin) {
  auto& state = ctx_.state;
  if (state.catalogueBusy) return;
  auto& lst = this->*twin.lst;
  auto& com = this->*twin.com;
  std::string& chosen = this->*twin.chosen;
  std::string& shown = this->*twin.shown;
  std::string& orig = this->*twin.orig;
  std::string& origSuffix = this->*twin.origSuffix;

  const auto showAgain = [&] {
    state.catalogueBusy = true;
    core::step([&] { selectEntry(lst, com, shown); });
    state.catalogueBusy = false;
    changed();
  };
  const int picked = com.listIndex();
  // "---Not Listed---" names no entry to swap in, and a variant whose
  // section was not found has nothing to write into: the list shows the
  // variant's entry again and no file changes.
  if (picked <= 0 || picked > lst.count() || !selFound) return showAgain();

  const std::string n = std::to_string(state.selSection);
  const std::string cfg = state.selFolder + "aircraft.cfg";
  const std::string section = "fltsim." + n;
  const std::string aliasFolder = state.selFolder + twin.folder + ".hgrpak" + n;
  const auto read = [&](const std::string& file, const std::string& sec, const std::string& key) {
    std::string value;
    core::step([&] { value = core::ReadProfileString(ctx_, file, sec, key, ""); });
    return value;
  };
  const auto write = [&](const std::string& sec, const std::string& key, const std::string& value) {
    return static_cast<bool>(core::WriteProfileString(ctx_, cfg, sec, key, value));
  };
  // The key goes back first: while it cannot, the alias folder stays what
  // the variant uses.
  const auto restore = [&] {
    if (!write(section, twin.variantKey, origSuffix)) return false;
    std::vector<std::string> files;
    std::unique_ptr<core::TrashItem> trash;
    core::step([&] { trash = core::OpenTrashItem(ctx_, aliasFolder); });
    core::step([&] { files = ctx_.fs.listFiles(aliasFolder); });
    for (const auto& name : files)
      core::step([&] { core::DiscardFile(ctx_, trash.get(), core::joinPath(aliasFolder, name)); });
    core::step([&] { ctx_.fs.removeFolder(aliasFolder); });
    return true;
  };

  orig = read(cfg, "Hangarpak", twin.origKey + n);
  origSuffix = read(cfg, "Hangarpak", twin.origSuffixKey + n);
  chosen = lst.item(picked - 1).subItem(2);
  const std::string value = read(cfg, section, twin.variantKey);
  // Only an alias in the variant's own folder is rewritten. A key that leads
  // elsewhere (another aircraft's entry, or out of the aircraft folder) is
  // never written through: the variant gets an alias folder of its own.
  const auto file = core::PathWithin(state.selFolder, state.selFolder, twinFolderName(twin, value) + "\\" + twin.file);
  const std::string alias = file ? read(*file, "fltsim", "alias") : std::string();

  if (!alias.empty()) {
    // Already an alias: a swap made earlier, or an entry shipped as one.
    if (!value.empty() && chosen == orig) {
      if (!restore()) return showAgain();
    } else {
      core::step([&] { ctx_.fs.writeFile(*file, aliasLines(chosen)); });
    }
  } else {
    if (orig.empty()) {
      // The variant's own entry is recorded before anything points away
      // from it; without the record a swap could never be undone.
      if (!write("Hangarpak", twin.origKey + n, shown) || !write("Hangarpak", twin.origSuffixKey + n, value))
        return showAgain();
      orig = shown;
      origSuffix = value;
    }
    if (chosen == orig) {
      if (!restore()) return showAgain();
    } else {
      if (!write(section, twin.variantKey, "hgrpak" + n)) return showAgain();
      core::step([&] { ctx_.fs.makeFolder(aliasFolder); });
      core::step([&] { ctx_.fs.writeFile(core::joinPath(aliasFolder, twin.file), aliasLines(chosen)); });
    }
  }
  shown = chosen;
  changed();
}

}  // namespace manager

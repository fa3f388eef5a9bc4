#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/controls.h"

namespace core {
class Context;
}

namespace manager {

// Position 0 of both choice lists: a panel or sound that is not in the
// catalogue.
inline constexpr std::string_view NotListed = "---Not Listed---";

// Mouse buttons as the list handlers receive them.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;

// Small icons of flyLst rows.
inline constexpr int ActiveIcon = 1;  // the section has a non-empty "sim"
inline constexpr int HiddenIcon = 2;  // "sim" is empty; its value waits in "Hangarpak"/"Hide" + N

// How the catalogue walk reads the configuration files: each file parsed
// once per rebuild, or one profile read per key. Both go through the one
// profile parser and give the same rows; the second exists to prove that
// and to measure the difference.
enum class ProfileReads { OncePerFile, KeyByKey };

struct Twin;

// The catalogue of installed aircraft variants, panels and sound sets and
// the Aircraft tab's controls over it: the aircraft list with its hide and
// unhide toggle, the two choice lists and the swap of a variant's panel or
// sound set. Toolkit-free; the Qt view renders the controls and forwards
// the user's actions to the handlers.
//
// Catalogue rows (flyLst, panelLst, lydLst; the editor's and the scans'
// data as well):
//   text       display name (aircraft: the section's "title"; panel, sound:
//              "Hangarpak"/"Name" of the file, else the relative folder)
//   sub-item 1 folder holding the configuration file, with trailing "\"
//   sub-item 2 aircraft: the section number N of "fltsim." + N as decimal
//              text; panel, sound: the folder below simFolder + "\aircraft\",
//              lower case, no trailing "\" ("cessna\panel")
// All three lists and both choice lists are sorted by core::textOrderLess,
// the one text order of the program, so that position i (i >= 1) of a
// choice list is row i - 1 (0-based) of its catalogue; "---Not Listed---"
// is pinned at position 0.
class Catalogue {
 public:
  explicit Catalogue(core::Context& ctx);
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  // Controls of the Aircraft tab.
  core::ListView flyLst;    // the aircraft variants
  core::ListView panelLst;  // invisible: the panel catalogue
  core::ListView lydLst;    // invisible: the sound catalogue
  core::ComboBox panelCom;  // "Panel:" choice
  core::ComboBox lydCom;    // "Sound:" choice
  core::Label flyLbl{"Aircraft:"};
  core::Label fly2Lbl{"Active: Total:"};
  core::Label panelLbl{"Panel:"};
  core::Label panel2Lbl{"Total:"};
  core::Label lydLbl{"Sound:"};
  core::Label lyd2Lbl{"Total:"};
  core::Button updateCmd{"&Update"};
  core::Button lukk2Cmd{"E&xit"};
  bool flyLstHasFocus = false;

  // The selected variant's panel and sound: what it uses (relative folder
  // or "---Not Listed---") and what the choice list shows.
  std::string currentPanel, currentSound;
  std::string shownPanel, shownSound;
  // The swap handlers' state, reloaded from aircraft.cfg at every pick.
  std::string chosenPanel, chosenSound;
  std::string origPanel, origSound;
  std::string origPanelSuffix, origSoundSuffix;
  // True when UpdateAircraft found the selected row's section, so selFolder
  // and selSection name a section that exists; hide and swap write nothing
  // otherwise.
  bool selFound = false;

  // Tells the view that controls changed.
  std::function<void()> onChanged;

  // Rebuilds the three catalogues, the choice lists and the counts, then
  // selects the first aircraft.
  void Search() { Search(ProfileReads::OncePerFile); }
  void Search(ProfileReads reads);
  // Evaluates the selected flyLst row: selFolder, selSection, the current
  // panel and sound and the choice lists' selection.
  void UpdateAircraft();

  void updateCmd_Click() { Search(); }
  void flyLst_ItemClick(int index);
  void flyLst_MouseDown(int button);
  void flyLst_DblClick();
  void panelCom_Click();
  void lydCom_Click();

  // "Active: " + active + "  Total: " + rows, after a change of icons.
  void countAircraft();
  // "Total: " + entries of both choice lists.
  void countPanelsAndSounds();

  core::Context& context() { return ctx_; }
  // Tells the view that controls changed.
  void changed() {
    if (onChanged) onChanged();
  }
  // simFolder + "\aircraft", the root of every catalogue row.
  std::string aircraftFolder() const;

 private:
  void swap(const Twin& twin);

  core::Context& ctx_;
};

}  // namespace manager

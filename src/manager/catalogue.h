#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text_hash.h"

namespace manager {

// What the choice lists show for a panel or sound set that is not in the
// catalogue, always at their first position.
inline constexpr std::string_view NotListed = "---Not Listed---";

// Panels and sound sets are twins: the catalogue lists both, a variant uses
// one of each, and the swap works alike on both.
enum class EntryKind { Panel, Sound };
inline constexpr EntryKind kEntryKinds[] = {EntryKind::Panel, EntryKind::Sound};

// An installed panel or sound set: a panel.cfg or sound.cfg in a folder of
// its own below the aircraft folder, not an alias.
struct Entry {
  std::string name;      // "Hangarpak"/"Name" of its file, else the relative folder
  std::string folder;    // the folder holding the file, with trailing "\"
  std::string relative;  // the folder below simFolder + "\aircraft\", lower case, no trailing "\"
};
struct PanelEntry : Entry {};
struct SoundEntry : Entry {};

// One "fltsim." + N section of an aircraft.cfg.
struct AircraftVariant {
  std::string title;
  std::string folder;   // the folder holding aircraft.cfg, with trailing "\"
  int section = 0;      // N
  bool hidden = false;  // its "sim" is empty, so the simulator skips it
  // The relative folder of the catalogue entry the variant uses, or nullopt
  // when that is no entry of the catalogue ("---Not Listed---").
  std::optional<std::string> panel;
  std::optional<std::string> sound;

  const std::optional<std::string>& uses(EntryKind kind) const { return kind == EntryKind::Panel ? panel : sound; }
  std::optional<std::string>& uses(EntryKind kind) { return kind == EntryKind::Panel ? panel : sound; }
  std::string configFile() const { return folder + "aircraft.cfg"; }
  bool operator==(const AircraftVariant&) const = default;
};

// The order of every list of the catalogue, and of a list view sorted by a
// column: letters compared without regard to case (ASCII folding, byte
// order otherwise), ties broken by the exact bytes so that the order is
// total.
bool textOrderLess(std::string_view a, std::string_view b);

// The installed aircraft variants, panels and sound sets, each list sorted
// by its display text, letters without regard to case (equal texts in the
// order the walk found them), with look-ups by identity: a variant by its folder and
// section, an entry by its relative folder. BuildCatalogue makes one; the
// edits of edits.h keep it in step with the files they change.
class Catalogue {
 public:
  Catalogue() = default;
  Catalogue(std::vector<AircraftVariant> variants, std::vector<PanelEntry> panels, std::vector<SoundEntry> sounds);

  const std::vector<AircraftVariant>& variants() const { return variants_; }
  const std::vector<PanelEntry>& panels() const { return panels_; }
  const std::vector<SoundEntry>& sounds() const { return sounds_; }
  std::size_t entryCount(EntryKind kind) const { return kind == EntryKind::Panel ? panels_.size() : sounds_.size(); }
  const Entry& entry(EntryKind kind, std::size_t index) const {
    return kind == EntryKind::Panel ? static_cast<const Entry&>(panels_.at(index)) : sounds_.at(index);
  }
  int activeCount() const;

  // The index of the variant of section N of folder + "aircraft.cfg" (the
  // folder with its trailing "\", compared without regard to case).
  std::optional<std::size_t> findVariant(std::string_view folder, int section) const;
  // The index of the entry with that relative folder (lower case).
  std::optional<std::size_t> findEntry(EntryKind kind, std::string_view relative) const;
  // The entry a variant uses, when the catalogue lists it.
  const Entry* usedEntry(const AircraftVariant& variant, EntryKind kind) const;
  // What the variant's choice list shows: the relative folder of the entry
  // it uses, or "---Not Listed---".
  std::string shownEntry(const AircraftVariant& variant, EntryKind kind) const;

  // The catalogue's side of an edit whose files are written. Indices are
  // those of the lists; a change of text sorts the list again and returns
  // the row's new index.
  void setHidden(std::size_t variant, bool hidden) { variants_.at(variant).hidden = hidden; }
  void setUses(std::size_t variant, EntryKind kind, std::optional<std::string> relative);
  std::size_t setTitle(std::size_t variant, std::string title);
  std::size_t setEntryName(EntryKind kind, std::size_t index, std::string name);
  // Takes an entry out; the variants that used it use no listed entry then.
  void removeEntry(EntryKind kind, std::size_t index);
  // Takes out every variant of the folder (an aircraft folder deleted).
  void removeFolder(std::string_view folder);

 private:
  void indexVariants();
  void indexEntries(EntryKind kind);

  std::vector<AircraftVariant> variants_;
  std::vector<PanelEntry> panels_;
  std::vector<SoundEntry> sounds_;
  std::unordered_map<std::string, std::size_t> variantIndex_;  // lower-case folder + "|" + N
  // Found by a view of the relative folder, without a copy of it.
  std::unordered_map<std::string, std::size_t, core::TextHash, std::equal_to<>>
      entryIndex_[2];  // relative folder, by kind
};

}  // namespace manager

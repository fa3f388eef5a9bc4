#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace manager {

// A variant as an edit names it: section N of folder + "aircraft.cfg".
struct VariantRef {
  std::string folder;  // with trailing "\"
  int section = 0;
};

// Empties the variant's "sim" so that the simulator skips it; the value
// waits in "Hangarpak"/"Hide" + N.
struct Hide {
  VariantRef variant;
};
// Puts the value kept by Hide back into "sim"; "Hide" + N stays, empty.
struct Unhide {
  VariantRef variant;
};
// Gives the variant the entry of that relative folder without copying it:
// a folder of its own ("panel.hgrpak" + N) whose configuration names the
// entry as an alias, and the variant's key pointing at it. What it used
// before is recorded once ("OrgPanel" + N, "OrgPanInt" + N); giving it the
// recorded entry again is a Restore.
struct Swap {
  VariantRef variant;
  EntryKind kind = EntryKind::Panel;
  std::string entry;
};
// Points a swapped variant back at its own entry and removes its alias
// folder; the records stay.
struct Restore {
  VariantRef variant;
  EntryKind kind = EntryKind::Panel;
};
// Writes the variant's "title".
struct RenameVariant {
  VariantRef variant;
  std::string title;
};
// Writes the entry's display name ("Hangarpak"/"Name" of its file).
struct RenameEntry {
  EntryKind kind = EntryKind::Panel;
  std::string entry;
  std::string name;
};
// Deletes the variant's folder, with every variant of its aircraft.cfg; one
// level of sub-folders is emptied, so a deeper one keeps its parents. The
// files go to the desktop's trash when there is one.
struct DeleteAircraft {
  VariantRef variant;
};
// Deletes an entry's folder and its "doc" folder.
struct DeleteEntry {
  EntryKind kind = EntryKind::Panel;
  std::string entry;
};

using Edit = std::variant<Hide, Unhide, Swap, Restore, RenameVariant, RenameEntry, DeleteAircraft, DeleteEntry>;

// What an edit did, or why it did not. A refused or failed edit changed no
// file (a failed one put back what it had written), except a deletion,
// which goes on past a file it cannot remove and says so.
struct [[nodiscard]] EditResult {
  enum class Status {
    Done,       // the files changed as asked
    Unchanged,  // they already were as asked
    Refused,    // nothing was tried: the text says why
    Failed,     // a step failed: the text names the file and the cause
  };
  Status status = Status::Done;
  std::string text;  // "Skyhawk: hidden", or the reason

  bool succeeded() const { return status == Status::Done || status == Status::Unchanged; }
};

// The one way the manager changes the user's files: applies the edit to
// the files and then to the catalogue, which must be the one the edit's
// names come from. The context's journal records it ahead, as a row of its
// own: an edit it cannot record is refused and changes nothing.
EditResult Apply(core::Context& ctx, Catalogue& catalogue, const Edit& edit);

// The edit in words, as the journal's history names it: hide "Skyhawk",
// panel of "Skyhawk": fsfsconv\panel.glass, rename "A" to "B".
std::string Describe(const Catalogue& catalogue, const Edit& edit);

// Why the folder (with trailing "\") must not be deleted as an add-on's
// folder: one that is not strictly inside the aircraft folder. nullopt when
// it may be.
std::optional<std::string> WhyNotDeletable(core::Context& ctx, std::string_view folder, std::string_view name);

// What deleting a variant takes with it: its whole folder, the other
// variants of its aircraft.cfg and the panels and sound sets inside the
// folder, each list in the catalogue's order.
struct DeletionScope {
  std::string folder;  // with trailing "\"
  std::vector<std::string> otherVariants;
  std::vector<std::string> panels;
  std::vector<std::string> sounds;
};
DeletionScope ScopeOfDeletion(const Catalogue& catalogue, const VariantRef& variant);

}  // namespace manager

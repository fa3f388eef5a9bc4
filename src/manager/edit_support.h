#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/profile.h"
#include "manager/edits.h"

namespace core {
class Context;
class RuntimeError;
}  // namespace core

namespace manager {

// The pieces the edits share. Internal to the manager.

EditResult done(std::string text);
EditResult unchanged(std::string text);
EditResult refused(std::string text);
EditResult failed(std::string text);

// "<path> is read-only (Path/File access error)": the error's own text and
// the name of its number.
std::string causeOf(const core::RuntimeError& e);

class Rollback;
// A failed step: puts back what the edit wrote, and says what did not
// happen ("\"Skyhawk\" is not hidden"), why, and whether anything could not
// be put back.
EditResult failedAfter(Rollback& rollback, const std::string& what, const core::RuntimeError& e);

// What an edit wrote, so that a step that fails can put every file and
// folder back as it was before the edit. Files are kept whole, as bytes.
class Rollback {
 public:
  explicit Rollback(core::Context& ctx) : ctx_(ctx) {}
  // Keeps the file's bytes (or that it is absent) before its first change;
  // throws when the file cannot be read, so that nothing is changed.
  void keep(const std::string& file);
  // A folder the edit made.
  void made(const std::string& folder) { folders_.push_back(folder); }
  // Puts back every kept file and removes the folders made; the files
  // that could not be put back.
  std::vector<std::string> undo();

 private:
  core::Context& ctx_;
  std::vector<std::pair<std::string, std::optional<std::string>>> files_;
  std::vector<std::string> folders_;
};

// The aircraft.cfg of one variant of the catalogue, read once when the edit
// starts. Refuses when the section no longer holds the variant's title:
// the file changed since the catalogue was read, and writing into it could
// change another variant.
class VariantFile {
 public:
  VariantFile(core::Context& ctx, const Catalogue& catalogue, const VariantRef& ref);

  // Why the edit cannot act on this variant; nullopt when it can.
  const std::optional<std::string>& refusal() const { return refusal_; }
  std::size_t index() const { return index_; }
  const AircraftVariant& variant() const { return *variant_; }
  const std::string& path() const { return path_; }
  std::string section() const { return "fltsim." + number(); }
  std::string number() const { return std::to_string(variant_->section); }
  // A value as read when the edit started, "" when absent.
  std::string get(const std::string& section, const std::string& key) const {
    return file_.get(section, key).value_or("");
  }

 private:
  std::optional<std::string> refusal_;
  std::size_t index_ = 0;
  const AircraftVariant* variant_ = nullptr;
  std::string path_;
  core::profile::Document file_;
};

// Writes key=value into a configuration file through the profile
// functions; throws a RuntimeError naming the key and the file when it
// could not.
void writeKey(core::Context& ctx, const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// The relative folder of the entry a variant's folder names (the target of
// an alias, or the folder itself when its configuration is usable),
// when the catalogue lists that entry.
std::optional<std::string> listedUse(core::Context& ctx, const Catalogue& catalogue, const AircraftVariant& variant,
                                     EntryKind kind, const std::string& keyValue);

// Edits of one kind, by file.
EditResult hideVariant(core::Context& ctx, Catalogue& catalogue, const VariantRef& ref, bool hide);
EditResult swapEntry(core::Context& ctx, Catalogue& catalogue, const Swap& swap);
EditResult restoreEntry(core::Context& ctx, Catalogue& catalogue, const Restore& restore);
EditResult renameVariant(core::Context& ctx, Catalogue& catalogue, const RenameVariant& rename);
EditResult renameEntry(core::Context& ctx, Catalogue& catalogue, const RenameEntry& rename);
EditResult deleteAircraft(core::Context& ctx, Catalogue& catalogue, const DeleteAircraft& del);
EditResult deleteEntry(core::Context& ctx, Catalogue& catalogue, const DeleteEntry& del);

}  // namespace manager

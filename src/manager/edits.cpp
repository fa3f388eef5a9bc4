#include "manager/edits.h"

#include <type_traits>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/paths.h"
#include "core/profile.h"
#include "core/text.h"
#include "manager/config_facts.h"
#include "manager/edit_support.h"
#include "manager/entry_kinds.h"

namespace manager {

namespace {

EditResult applyEdit(core::Context& ctx, Catalogue& catalogue, const Edit& edit) {
  struct Dispatch {
    core::Context& ctx;
    Catalogue& cat;
    EditResult operator()(const Hide& e) { return hideVariant(ctx, cat, e.variant, true); }
    EditResult operator()(const Unhide& e) { return hideVariant(ctx, cat, e.variant, false); }
    EditResult operator()(const Swap& e) { return swapEntry(ctx, cat, e); }
    EditResult operator()(const Restore& e) { return restoreEntry(ctx, cat, e); }
    EditResult operator()(const RenameVariant& e) { return renameVariant(ctx, cat, e); }
    EditResult operator()(const RenameEntry& e) { return renameEntry(ctx, cat, e); }
    EditResult operator()(const DeleteAircraft& e) { return deleteAircraft(ctx, cat, e); }
    EditResult operator()(const DeleteEntry& e) { return deleteEntry(ctx, cat, e); }
  };
  return std::visit(Dispatch{ctx, catalogue}, edit);
}

}  // namespace

std::string Describe(const Catalogue& catalogue, const Edit& edit) {
  const auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
  const auto variant = [&](const VariantRef& ref) {
    const auto index = catalogue.findVariant(ref.folder, ref.section);
    return index ? quoted(catalogue.variants()[*index].title)
                 : "section " + std::to_string(ref.section) + " of " + ref.folder + "aircraft.cfg";
  };
  const auto key = [](EntryKind kind) { return std::string(namesOf(kind).variantKey); };
  return std::visit(
      [&](const auto& e) -> std::string {
        using T = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<T, Hide>) return "hide " + variant(e.variant);
        if constexpr (std::is_same_v<T, Unhide>) return "unhide " + variant(e.variant);
        if constexpr (std::is_same_v<T, Swap>) return key(e.kind) + " of " + variant(e.variant) + ": " + e.entry;
        if constexpr (std::is_same_v<T, Restore>) return key(e.kind) + " of " + variant(e.variant) + ": its own again";
        if constexpr (std::is_same_v<T, RenameVariant>)
          return "rename " + variant(e.variant) + " to " + quoted(e.title);
        if constexpr (std::is_same_v<T, RenameEntry>)
          return "rename " + key(e.kind) + " " + e.entry + " to " + quoted(e.name);
        if constexpr (std::is_same_v<T, DeleteAircraft>) return "delete " + e.variant.folder;
        if constexpr (std::is_same_v<T, DeleteEntry>) return "delete " + key(e.kind) + " " + e.entry;
      },
      edit);
}

EditResult Apply(core::Context& ctx, Catalogue& catalogue, const Edit& edit) {
  if (!ctx.journal) return applyEdit(ctx, catalogue, edit);
  const bool deletion = std::holds_alternative<DeleteAircraft>(edit) || std::holds_alternative<DeleteEntry>(edit);
  if (const auto why = ctx.journal->editStarted(Describe(catalogue, edit), deletion); !why.empty())
    return refused("Nothing was changed: " + why);
  EditResult result = applyEdit(ctx, catalogue, edit);
  if (const auto said = ctx.journal->editFinished(result.succeeded()); !said.empty()) result.text += " " + said;
  return result;
}

EditResult done(std::string text) {
  return {EditResult::Status::Done, std::move(text)};
}
EditResult unchanged(std::string text) {
  return {EditResult::Status::Unchanged, std::move(text)};
}
EditResult refused(std::string text) {
  return {EditResult::Status::Refused, std::move(text)};
}
EditResult failed(std::string text) {
  return {EditResult::Status::Failed, std::move(text)};
}

std::string causeOf(const core::RuntimeError& e) {
  const std::string text = e.what(), name = core::describeError(e.number());
  return text.empty() || text == name ? name : text + " (" + name + ")";
}

EditResult failedAfter(Rollback& rollback, const std::string& what, const core::RuntimeError& e) {
  const auto left = rollback.undo();
  return failed(what + ": " + causeOf(e) +
                (left.empty() ? "; nothing was changed." : "; " + left.front() + " could not be put back as it was."));
}

void Rollback::keep(const std::string& file) {
  for (const auto& kept : files_)
    if (core::iequals(kept.first, file)) return;
  std::optional<std::string> bytes;
  try {
    bytes = ctx_.fs.readFile(file);
  } catch (const core::RuntimeError& e) {
    if (e.number() != core::err::FileNotFound || ctx_.fs.folderExists(file)) throw;
  }
  files_.emplace_back(file, std::move(bytes));
}

std::vector<std::string> Rollback::undo() {
  std::vector<std::string> left;
  for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
    const auto& [file, bytes] = *it;
    const bool ok = core::step([&] {
      if (bytes) {
        std::optional<std::string> now;
        core::step([&] { now = ctx_.fs.readFile(file); });
        if (now != bytes) ctx_.fs.writeFile(file, *bytes);
      } else if (ctx_.fs.fileExists(file)) {
        ctx_.fs.deleteFile(file);
      }
    });
    if (!ok) left.push_back(file);
  }
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
    if (!core::step([&] { ctx_.fs.removeFolder(*it); })) left.push_back(*it);
  files_.clear();
  folders_.clear();
  return left;
}

VariantFile::VariantFile(core::Context& ctx, const Catalogue& catalogue, const VariantRef& ref)
    : path_(ref.folder + "aircraft.cfg"), file_(std::string_view()) {
  const auto index = catalogue.findVariant(ref.folder, ref.section);
  if (!index) {
    refusal_ = "The catalogue has no section fltsim." + std::to_string(ref.section) + " of " + path_ + ".";
    return;
  }
  index_ = *index;
  variant_ = &catalogue.variants()[*index];
  path_ = variant_->configFile();
  file_ = core::ReadProfileDocument(ctx, path_);
  if (get(section(), "title") != variant_->title)
    refusal_ = "Section " + section() + " of " + path_ + " is no longer \"" + variant_->title +
               "\": the file changed after the catalogue was read. Update the catalogue and try again.";
}

void writeKey(core::Context& ctx, const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  core::WriteProfileString(ctx, file, section, key, value).orThrow();
}

std::optional<std::string> listedUse(core::Context& ctx, const Catalogue& catalogue, const AircraftVariant& variant,
                                     EntryKind kind, const std::string& keyValue) {
  const std::string tree = core::normalizeWindowsPath(ctx.state.simFolder + "\\aircraft");
  const auto file = EntryConfigPath(tree, variant.folder, kind, keyValue);
  if (!file) return std::nullopt;
  auto used = NamedEntry(ReadConfigFacts(ctx, kind, *file), tree, *file);
  if (!used || !catalogue.findEntry(kind, *used)) return std::nullopt;
  return used;
}

std::optional<std::string> WhyNotDeletable(core::Context& ctx, std::string_view folder, std::string_view name) {
  const std::string aircraftFolder = ctx.state.simFolder + "\\aircraft";
  const std::string root = aircraftFolder + "\\";
  bool inside = core::istartsWith(folder, root) && folder.size() > root.size() + 1;
  if (inside) {
    // A configuration file lying in the aircraft folder itself is listed
    // with that folder, and emptying it would take every aircraft with it.
    const std::string below = "\\" + std::string(folder.substr(root.size()));
    inside = below[1] != '\\' && below[1] != '/';
    for (const char* part : {"\\..\\", "\\.\\", "/"})
      if (below.find(part) != std::string::npos) inside = false;
  }
  if (inside) return std::nullopt;
  return std::string(name) + " is not deleted: its folder\r\n" + std::string(folder) + "\r\nis not inside " +
         aircraftFolder + "\\.";
}

}  // namespace manager

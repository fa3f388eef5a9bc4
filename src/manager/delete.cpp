#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/trash.h"
#include "manager/edit_support.h"
#include "manager/entry_kinds.h"

namespace manager {

namespace {

// Removes the files and folders of one add-on, going on past any that
// cannot be removed, and remembers the first failure.
class Removal {
 public:
  Removal(core::Context& ctx, const std::string& folder) : ctx_(ctx) {
    core::step([&] { trash_ = core::OpenTrashItem(ctx_, folder); });
  }

  // The files of one folder, into the trash item when there is one.
  void files(const std::string& folder) {
    std::vector<std::string> names;
    attempt([&] { names = ctx_.fs.listFiles(folder, "*", true); });
    for (const auto& name : names)
      attempt([&] { core::DiscardFile(ctx_, trash_.get(), core::joinPath(folder, name)); });
  }
  void folder(const std::string& folder) {
    attempt([&] { ctx_.fs.removeFolder(folder); });
  }
  std::vector<std::string> subFolders(const std::string& folder) {
    std::vector<std::string> names;
    attempt([&] { names = ctx_.fs.listFolders(folder); });
    return names;
  }
  // The first failure, after the add-on's folder: nullopt when it is gone.
  std::optional<std::string> left(const std::string& folder) const {
    if (!ctx_.fs.folderExists(folder)) return std::nullopt;
    return firstFailure_ ? *firstFailure_ : folder + " is not empty";
  }

 private:
  template <class F>
  void attempt(F&& f) {
    try {
      f();
    } catch (const core::RuntimeError& e) {
      if (!firstFailure_) firstFailure_ = causeOf(e);
    }
  }

  core::Context& ctx_;
  std::unique_ptr<core::TrashItem> trash_;
  std::optional<std::string> firstFailure_;
};

}  // namespace

// The whole folder goes, with every variant of its aircraft.cfg; only one
// level of sub-folders is emptied, so a deeper one keeps its parents. Once
// aircraft.cfg is gone the catalogue lists nothing of the folder, whatever
// is left.
EditResult deleteAircraft(core::Context& ctx, Catalogue& catalogue, const DeleteAircraft& del) {
  const auto index = catalogue.findVariant(del.variant.folder, del.variant.section);
  if (!index)
    return refused("The catalogue has no section fltsim." + std::to_string(del.variant.section) + " of " +
                   del.variant.folder + "aircraft.cfg.");
  const std::string name = catalogue.variants()[*index].title;
  const std::string folder = catalogue.variants()[*index].folder;
  if (auto why = WhyNotDeletable(ctx, folder, name)) return refused(*why);
  const std::string dir = core::dropRight(folder, 1);
  Removal removal(ctx, dir);
  removal.files(dir);
  for (const auto& sub : removal.subFolders(dir)) {
    removal.files(core::joinPath(dir, sub));
    removal.folder(core::joinPath(dir, sub));
  }
  removal.folder(dir);
  if (ctx.fs.fileExists(folder + "aircraft.cfg"))
    return failed(name + " is not deleted: " + removal.left(dir).value_or(folder + "aircraft.cfg is left"));
  catalogue.removeFolder(folder);
  // The panels and sound sets of the folder went with it.
  for (const EntryKind kind : kEntryKinds) {
    for (std::size_t i = catalogue.entryCount(kind); i-- > 0;) {
      const Entry& entry = catalogue.entry(kind, i);
      if (core::istartsWith(entry.folder, folder) && !ctx.fs.fileExists(entry.folder + namesOf(kind).file))
        catalogue.removeEntry(kind, i);
    }
  }
  const auto left = removal.left(dir);
  return done(left ? "Deleted " + name + "; left: " + *left : "Deleted " + name);
}

DeletionScope ScopeOfDeletion(const Catalogue& catalogue, const VariantRef& variant) {
  DeletionScope scope{variant.folder, {}, {}, {}};
  for (const auto& v : catalogue.variants())
    if (core::iequals(v.folder, variant.folder) && v.section != variant.section) scope.otherVariants.push_back(v.title);
  for (const EntryKind kind : kEntryKinds)
    for (std::size_t i = 0; i < catalogue.entryCount(kind); ++i) {
      const Entry& entry = catalogue.entry(kind, i);
      if (core::istartsWith(entry.folder, variant.folder))
        (kind == EntryKind::Panel ? scope.panels : scope.sounds).push_back(entry.name);
    }
  return scope;
}

// The entry's folder with its "doc" folder.
EditResult deleteEntry(core::Context& ctx, Catalogue& catalogue, const DeleteEntry& del) {
  const auto index = catalogue.findEntry(del.kind, del.entry);
  const KindNames& names = namesOf(del.kind);
  if (!index) return refused("The catalogue has no " + std::string(names.variantKey) + " \"" + del.entry + "\".");
  const Entry entry = catalogue.entry(del.kind, *index);
  if (auto why = WhyNotDeletable(ctx, entry.folder, entry.name)) return refused(*why);
  const std::string dir = core::dropRight(entry.folder, 1);
  const std::string doc = core::joinPath(dir, "doc");
  Removal removal(ctx, dir);
  removal.files(doc);
  removal.files(dir);
  removal.folder(doc);
  removal.folder(dir);
  if (ctx.fs.fileExists(entry.folder + names.file))
    return failed(entry.name +
                  " is not deleted: " + removal.left(dir).value_or(entry.folder + names.file + " is left"));
  catalogue.removeEntry(del.kind, *index);
  const auto left = removal.left(dir);
  return done(left ? "Deleted " + entry.name + "; left: " + *left : "Deleted " + entry.name);
}

}  // namespace manager

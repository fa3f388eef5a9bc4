#include "manager/edits.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "core/text.h"
#include "core/trash.h"
#include "manager/catalogue_fixture.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"

namespace managertest {
namespace {

using manager::EntryKind;
using Status = manager::EditResult::Status;

const std::string kC172 = "C:\\FS2002\\Aircraft\\C172\\";
const std::string kCfg = kC172 + "aircraft.cfg";

// C172 with section 0 ("Skyhawk") on its own panel and sound folders,
// section 1 ("Floats") hidden by hand without a record, section 2
// ("Skyhawk IFR") on "panel.IFR" and "sound.IFR"; two entries P and Q of
// each kind in the store of separately installed ones.
class EditTest : public CatalogueTest {
 protected:
  EditTest() {
    writeAircraft("C172", {{.title = "Skyhawk"},
                           {.title = "Floats", .sim = ""},
                           {.title = "Skyhawk IFR", .panel = "IFR", .sound = "IFR"}});
    for (const EntryKind kind : manager::kEntryKinds) {
      const std::string k = key(kind);
      writeFile(kC172 + k + "\\" + k + ".cfg", config(kind, ""));
      writeFile(kC172 + k + ".IFR\\" + k + ".cfg", config(kind, ""));
      writeFile(air("fsfsconv\\" + k + ".P\\" + k + ".cfg"), config(kind, "Entry P"));
      writeFile(air("fsfsconv\\" + k + ".Q\\" + k + ".cfg"), config(kind, "Entry Q"));
    }
    cat = build();
  }

  static std::string key(EntryKind kind) { return kind == EntryKind::Panel ? "panel" : "sound"; }
  static std::string config(EntryKind kind, std::string_view name) {
    return kind == EntryKind::Panel ? testsupport::panelCfg(name) : testsupport::soundCfg(name);
  }
  static manager::VariantRef ref(int section) { return {kC172, section}; }
  manager::EditResult apply(const manager::Edit& edit) { return manager::Apply(ctx(), cat, edit); }
  const manager::AircraftVariant& variant(int section) {
    return cat.variants().at(cat.findVariant(kC172, section).value());
  }
  // "sim|Hide<N>" of a section.
  std::string simAndKept(int n) {
    return cfgValue(kCfg, "fltsim." + std::to_string(n), "sim") + "|" +
           cfgValue(kCfg, "Hangarpak", "Hide" + std::to_string(n));
  }
  // The records of a kind for section n and the section's key.
  std::string records(EntryKind kind, int n) {
    const std::string number = std::to_string(n);
    const bool panel = kind == EntryKind::Panel;
    return cfgValue(kCfg, "Hangarpak", (panel ? "OrgPanel" : "OrgLyd") + number) + "|" +
           cfgValue(kCfg, "Hangarpak", (panel ? "OrgPanInt" : "OrgLydInt") + number) + "|" +
           cfgValue(kCfg, "fltsim." + number, key(kind));
  }
  std::string aliasFile(EntryKind kind, int n) {
    return kC172 + key(kind) + ".hgrpak" + std::to_string(n) + "\\" + key(kind) + ".cfg";
  }
  static std::string entry(EntryKind kind, const char* letter) { return "fsfsconv\\" + key(kind) + "." + letter; }
  static std::string own(EntryKind kind, const std::string& suffix = "") { return "c172\\" + key(kind) + suffix; }
  static std::string aliasTo(const std::string& entry) { return "[fltsim]\r\nalias=" + entry + "\r\n"; }

  manager::Catalogue cat;
};

// Hiding moves "sim" into "Hangarpak"/"Hide" + N, unhiding moves it back
// and leaves the record empty; an edit that finds the variant as asked
// writes nothing, and a hidden variant without a kept value stays hidden
// and says why.
TEST_F(EditTest, HideAndUnhideMoveSimAndNeverClaimWhatDidNotHappen) {
  const struct {
    bool hide;
    int section;
    Status status;
    std::string text;
    std::string after;  // sim|Hide<N>
  } steps[] = {{true, 0, Status::Done, "Skyhawk: hidden", "|Cessna172"},
               {true, 0, Status::Unchanged, "Skyhawk: hidden", "|Cessna172"},
               {false, 0, Status::Done, "Skyhawk: active", "Cessna172|"},
               {false, 0, Status::Unchanged, "Skyhawk: active", "Cessna172|"},
               {false, 1, Status::Refused, "\"Floats\" stays hidden: " + kCfg, "|<absent>"}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.text);
    const std::string before = readFile(kCfg);
    const auto result = apply(s.hide ? manager::Edit(manager::Hide{ref(s.section)}) : manager::Unhide{ref(s.section)});
    EXPECT_EQ(result.status, s.status);
    EXPECT_TRUE(result.text.starts_with(s.text)) << result.text;
    EXPECT_EQ(simAndKept(s.section), s.after);
    EXPECT_EQ(variant(s.section).hidden, s.after.front() == '|');
    if (s.status != Status::Done) {
      EXPECT_EQ(readFile(kCfg), before);
    }
  }
  EXPECT_EQ(cat.activeCount(), 2);
}

// A configuration shipped as an alias is rewritten in place, without
// records. Otherwise the first swap records the variant's own entry and
// points its key at an alias folder of its own; a later swap rewrites the
// alias only; giving it the recorded entry, or a Restore, puts the key back
// and removes the folder, the records staying. Each section keeps its own.
TEST_F(EditTest, SwapRewriteAndRestoreKeepEachSectionApart) {
  for (const EntryKind kind : manager::kEntryKinds) {
    SCOPED_TRACE(key(kind));
    const std::string ownFile = kC172 + key(kind) + "\\" + key(kind) + ".cfg";
    writeFile(ownFile, testsupport::aliasCfg(entry(kind, "p")));
    cat = build();
    EXPECT_EQ(variant(0).uses(kind), entry(kind, "p"));
    EXPECT_TRUE(apply(manager::Swap{ref(0), kind, entry(kind, "q")}).succeeded());
    EXPECT_EQ(readFile(ownFile), aliasTo(entry(kind, "q")));
    EXPECT_EQ(records(kind, 0), "<absent>|<absent>|");
    EXPECT_FALSE(exists(aliasFile(kind, 0)));
    EXPECT_EQ(variant(0).uses(kind), entry(kind, "q"));

    writeFile(ownFile, config(kind, ""));
    cat = build();
    EXPECT_EQ(apply(manager::Swap{ref(0), kind, own(kind)}).status, Status::Unchanged);
    EXPECT_EQ(apply(manager::Restore{ref(0), kind}).status, Status::Unchanged);
    const auto swapped = apply(manager::Swap{ref(0), kind, entry(kind, "p")});
    EXPECT_EQ(swapped.text, "Skyhawk: " + key(kind) + " " + entry(kind, "p"));
    EXPECT_EQ(records(kind, 0), own(kind) + "||hgrpak0");
    EXPECT_EQ(readFile(aliasFile(kind, 0)), aliasTo(entry(kind, "p")));

    EXPECT_TRUE(apply(manager::Swap{ref(2), kind, entry(kind, "p")}).succeeded());
    EXPECT_TRUE(apply(manager::Swap{ref(2), kind, entry(kind, "q")}).succeeded());
    EXPECT_EQ(records(kind, 2), own(kind, ".ifr") + "|IFR|hgrpak2");
    EXPECT_EQ(readFile(aliasFile(kind, 2)), aliasTo(entry(kind, "q")));
    EXPECT_EQ(build().variants(), cat.variants()) << "the catalogue follows its edits";

    const auto back = apply(manager::Swap{ref(0), kind, own(kind)});
    EXPECT_EQ(back.text, "Skyhawk: " + key(kind) + " " + own(kind));
    EXPECT_FALSE(exists(core::parentPath(aliasFile(kind, 0))));
    EXPECT_EQ(records(kind, 0), own(kind) + "||");
    EXPECT_TRUE(apply(manager::Restore{ref(2), kind}).succeeded());
    EXPECT_FALSE(exists(core::parentPath(aliasFile(kind, 2))));
    EXPECT_EQ(records(kind, 2), own(kind, ".ifr") + "|IFR|IFR");
    EXPECT_EQ(records(kind, 1), "<absent>|<absent>|");
    EXPECT_EQ(build().variants(), cat.variants());
  }
}

// A key may lead into another aircraft's folder, as add-ons that share a
// panel or sound set do: the variant uses what it finds there. One that
// leads out of the aircraft folder names nothing. Neither is ever written
// through: a swap gives the variant an alias folder of its own and putting
// the recorded entry back restores the key; nothing outside the variant's
// folder changes.
TEST_F(EditTest, AKeyThatLeadsElsewhereIsNeverWrittenThrough) {
  const auto climbing = [](const std::string& to) { return "\\..\\..\\" + to; };
  writeAircraft(
      "Jay", {{.title = "Shares", .panel = climbing("Heron\\panel.hgrpak1"), .sound = climbing("Heron\\sound.hgrpak1")},
              {.title = "Climbs", .panel = climbing("..\\Outside\\panel"), .sound = climbing("..\\Outside\\sound")}});
  for (const EntryKind kind : manager::kEntryKinds) {
    writeFile(air("Heron\\" + key(kind) + ".hgrpak1\\" + key(kind) + ".cfg"), aliasTo(entry(kind, "p")));
    writeFile("C:\\FS2002\\Outside\\" + key(kind) + "\\" + key(kind) + ".cfg", aliasTo(entry(kind, "p")));
  }
  cat = build();
  const std::string jay = air("Jay\\");
  for (const EntryKind kind : manager::kEntryKinds) {
    for (const int section : {0, 1}) {
      SCOPED_TRACE(key(kind) + " " + std::to_string(section));
      const auto before = testsupport::snapshotTree(host("C:\\FS2002"));
      const manager::VariantRef variant{jay, section};
      const auto& uses = cat.variants().at(cat.findVariant(jay, section).value()).uses(kind);
      EXPECT_EQ(uses, section == 0 ? std::optional(entry(kind, "p")) : std::nullopt);
      EXPECT_TRUE(apply(manager::Swap{variant, kind, entry(kind, "q")}).succeeded());
      EXPECT_EQ(readFile(jay + key(kind) + ".hgrpak" + std::to_string(section) + "\\" + key(kind) + ".cfg"),
                aliasTo(entry(kind, "q")));
      if (section == 0) {
        EXPECT_TRUE(apply(manager::Swap{variant, kind, entry(kind, "p")}).succeeded());
        EXPECT_EQ(cfgValue(jay + "aircraft.cfg", "fltsim.0", key(kind)), climbing("Heron\\" + key(kind) + ".hgrpak1"));
      }
      auto after = testsupport::snapshotTree(host("C:\\FS2002"));
      auto outside = before;
      for (auto* tree : {&outside, &after})
        std::erase_if(*tree, [](const auto& e) { return e.first.starts_with("Aircraft/Jay/"); });
      EXPECT_EQ(testsupport::treeDifferences(outside, after), "");
    }
  }
}

// An edit that cannot happen says why and leaves every file and folder as
// it was, the catalogue included: the alias folder's place taken by a file,
// a read-only aircraft.cfg (with or without the records of an earlier
// swap), a write of aircraft.cfg that fails after the first key, a section
// whose title changed since the catalogue was read.
TEST_F(EditTest, EditsThatCannotHappenChangeNothing) {
  testsupport::ForwardingFs faulty(*fs);
  auto faultyCtx = contextWith(&faulty);
  const std::string dir = host(kC172);
  const manager::Edit swapP = manager::Swap{ref(0), EntryKind::Panel, entry(EntryKind::Panel, "p")};
  const manager::Edit hide = manager::Hide{ref(0)};
  const struct {
    const char* name;
    std::function<void()> arrange;
    const manager::Edit& edit;
    Status status;
    std::string said;
  } cases[] = {
      {"alias folder taken", [&] { writeFile(kC172 + "panel.hgrpak0", "a file"); }, swapP, Status::Failed,
       kC172 + "panel.hgrpak0"},
      {"read-only aircraft.cfg", [&] { ::chmod(host(kCfg).c_str(), 0444); }, swapP, Status::Failed,
       "into " + kCfg + ": the file is read-only"},
      {"read-only aircraft.cfg", [&] { ::chmod(host(kCfg).c_str(), 0444); }, hide, Status::Failed,
       "into " + kCfg + ": the file is read-only"},
      {"read-only after a swap and its undo",
       [&] {
         ASSERT_TRUE(apply(swapP).succeeded());
         ASSERT_TRUE(apply(manager::Restore{ref(0), EntryKind::Panel}).succeeded());
         ::chmod(host(kCfg).c_str(), 0444);
       },
       swapP, Status::Failed, "into " + kCfg + ": the file is read-only"},
      {"second write fails",
       [&, writes = std::make_shared<int>(0)] {
         faulty.failWrite = [writes](std::string_view p) {
           return core::iendsWith(p, "aircraft.cfg") && ++*writes == 2;
         };
       },
       swapP, Status::Failed, "Path/File access error"},
      {"title changed",
       [&] {
         writeAircraft("C172", {{.title = "Renamed"}, {.title = "Floats", .sim = ""}});
       },
       hide, Status::Refused, "Section fltsim.0 of " + kCfg + " is no longer \"Skyhawk\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeAircraft("C172", {{.title = "Skyhawk"},
                           {.title = "Floats", .sim = ""},
                           {.title = "Skyhawk IFR", .panel = "IFR", .sound = "IFR"}});
    cat = build();
    c.arrange();
    const auto listed = cat.variants();
    const auto before = testsupport::snapshotTree(host(air("")));
    const auto result = manager::Apply(*faultyCtx, cat, c.edit);
    ::chmod(host(kCfg).c_str(), 0644);
    faulty.failWrite = nullptr;
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(result.text.find(c.said), std::string::npos) << result.text;
    EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(host(air("")))), "");
    EXPECT_EQ(cat.variants(), listed);
    std::filesystem::remove(host(kC172 + "panel.hgrpak0"));
  }
}

// A rename writes the title or the entry's name and moves the row to its
// place in the sorted list; an empty title is written as it is.
TEST_F(EditTest, RenamesWriteTheNameAndSortAgain) {
  writeAircraft("Alpha", {{.title = "Alpha"}});
  cat = build();
  EXPECT_EQ(apply(manager::RenameVariant{ref(2), "Aardvark"}).text, "Aardvark");
  EXPECT_EQ(cfgValue(kCfg, "fltsim.2", "title"), "Aardvark");
  EXPECT_EQ(cat.variants().front().title, "Aardvark");
  EXPECT_EQ(build().variants(), cat.variants());
  EXPECT_EQ(apply(manager::RenameVariant{ref(0), ""}).status, Status::Done);
  EXPECT_EQ(cfgValue(kCfg, "fltsim.0", "title"), "");
  EXPECT_EQ(cat.variants().front().title, "");

  EXPECT_EQ(apply(manager::RenameEntry{EntryKind::Sound, entry(EntryKind::Sound, "q"), "A first"}).status,
            Status::Done);
  EXPECT_EQ(cfgValue(air("fsfsconv\\sound.Q\\sound.cfg"), "Hangarpak", "Name"), "A first");
  EXPECT_EQ(cat.sounds().front().relative, entry(EntryKind::Sound, "q"));
  EXPECT_EQ(cat.findEntry(EntryKind::Sound, entry(EntryKind::Sound, "q")), 0u);
  EXPECT_EQ(apply(manager::RenameEntry{EntryKind::Panel, "fsfsconv\\panel.none", "x"}).status, Status::Refused);
  EXPECT_EQ(entries(build().sounds()), entries(cat.sounds()));
}

// An entry goes with its "doc" folder, and a variant that used it uses no
// listed entry then; an aircraft goes with its whole folder (one level of
// sub-folders emptied, so a deeper one keeps its parents) and the entries
// in it. With a desktop trash the files go there, from where a file manager
// can put them back. Folders not strictly inside the aircraft folder are
// refused.
TEST_F(EditTest, DeletesAddOnFoldersIntoTheTrash) {
  const auto trash = core::makeDesktopTrash(ctx().env);
  ctx().trash = trash.get();
  const std::string bin = root + "/data/Trash/";
  writeFile(kC172 + "texture\\old\\t.bmp", "t");
  writeFile(air("fsfsconv\\panel.P\\doc\\readme.txt"), "read me");
  writeFile(air("fsfsconv\\keep.txt"), "k");
  cat = build();
  ASSERT_TRUE(apply(manager::Swap{ref(0), EntryKind::Panel, entry(EntryKind::Panel, "p")}).succeeded());

  EXPECT_EQ(apply(manager::DeleteEntry{EntryKind::Panel, entry(EntryKind::Panel, "p")}).text, "Deleted Entry P");
  EXPECT_FALSE(exists(air("fsfsconv\\panel.P")));
  EXPECT_TRUE(exists(air("fsfsconv\\keep.txt")));
  EXPECT_EQ(variant(0).panel, std::nullopt);
  EXPECT_EQ(build().variants(), cat.variants());
  EXPECT_EQ(testsupport::readHostFile(bin + "files/panel.P/doc/readme.txt"), "read me");
  const std::string info = testsupport::readHostFile(bin + "info/panel.P.trashinfo");
  EXPECT_TRUE(
      std::regex_match(info, std::regex(R"(\[Trash Info\]\nPath=.*\nDeletionDate=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\n)")));
  EXPECT_NE(info.find("Path=" + core::trashInfoPath(host(air("fsfsconv\\panel.P"))) + "\n"), std::string::npos);

  EXPECT_EQ(apply(manager::DeleteAircraft{ref(1)}).status, Status::Done);
  EXPECT_FALSE(exists(kCfg) || exists(kC172 + "panel"));
  EXPECT_TRUE(exists(kC172 + "texture\\old\\t.bmp"));
  EXPECT_TRUE(cat.variants().empty());
  EXPECT_EQ(testsupport::readHostFile(bin + "files/C172/panel/panel.cfg"), testsupport::panelCfg());
  EXPECT_EQ(entries(cat.panels()), entries(build().panels()));

  for (const std::string folder :
       {"C:\\FS2002\\Aircraft\\", "C:\\FS2002\\aircraft\\Alpha\\..\\..\\", "C:\\FS2002\\aircraftX\\",
        "C:\\FS2002\\aircraft\\\\", "C:\\FS2002\\aircraft\\a/b\\"})
    EXPECT_EQ(manager::WhyNotDeletable(ctx(), folder, "Alpha"),
              "Alpha is not deleted: its folder\r\n" + folder + "\r\nis not inside C:\\FS2002\\aircraft\\.")
        << folder;
  EXPECT_EQ(manager::WhyNotDeletable(ctx(), air("Alpha\\"), "Alpha"), std::nullopt);
}

}  // namespace
}  // namespace managertest

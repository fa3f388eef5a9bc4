#include "plan/planning_fs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/content_hash.h"
#include "support/sim_fixture.h"

namespace {

using plan::PlanningFileSystem;

constexpr const char* kTempZip = "Z:\\app\\TempZip";

// A planning file system over the fixture's drives, whose pass-through
// folder is Z:\app\TempZip as the planner's is, over a real folder
// C:\Sim\Old that holds kept.txt and gone.txt.
class PlanningFsTest : public testsupport::SimFixture {
 protected:
  PlanningFsTest() : planning(*fs, root + "/app/.plan-test") {
    std::filesystem::create_directories(root + "/app/.plan-test");
    std::filesystem::create_directories(root + "/app/TempZip");
    planning.setPassThrough([] { return std::string(kTempZip); });
    writeFile("C:\\Sim\\Old\\kept.txt", "kept");
    writeFile("C:\\Sim\\Old\\gone.txt", "gone");
  }

  // The net changes as "new C:\x" and "made C:\y" lines, in the order first touched.
  std::vector<std::string> changes() {
    std::vector<std::string> out;
    const auto taken = planning.takeChanges();
    for (const auto& f : taken.folders) out.push_back((f.removed ? "removed " : "made ") + f.path);
    for (const auto& f : taken.files) out.push_back(std::string(plan::changeWord(f.change)) + " " + f.target);
    return out;
  }

  PlanningFileSystem planning;
};

// What the plan sees at a path: "file", "folder" or "nothing".
std::string seenAt(PlanningFileSystem& fs, const std::string& path) {
  if (fs.fileExists(path)) return fs.folderExists(path) ? "file and folder" : "file";
  return fs.folderExists(path) ? "folder" : "nothing";
}

struct Found {
  const char* name;
  std::function<void(PlanningFileSystem&)> steps;
  std::vector<std::pair<std::string, std::string>> seen;  // path, what is there
  std::string listed;                                     // a folder whose files are listed
  std::vector<std::string> files;
  std::vector<std::string> changes;
  friend void PrintTo(const Found& row, std::ostream* out) { *out << row.name; }
};

class FindsWhatThePlanLeft : public PlanningFsTest, public ::testing::WithParamInterface<Found> {};

// The plan answers from what it made, deleted or wrote where it touched a
// path, and from the real tree elsewhere, in any case of the names.
TEST_P(FindsWhatThePlanLeft, AsTheRealTreeWouldAfterTheSteps) {
  const Found& row = GetParam();
  row.steps(planning);
  for (const auto& [path, what] : row.seen) EXPECT_EQ(seenAt(planning, path), what) << path;
  EXPECT_EQ(planning.listFiles(row.listed, "*", true), row.files);
  EXPECT_EQ(changes(), row.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FindsWhatThePlanLeft,
    ::testing::Values(
        Found{"FolderMadeAndFilled",
              [](PlanningFileSystem& fs) {
                fs.makeFolder("C:\\Sim\\New");
                fs.makeFolder("C:\\Sim\\New\\Sub");
                fs.writeFile("C:\\Sim\\New\\Sub\\a.txt", "a");
              },
              {{"c:\\sim\\NEW\\sub\\A.TXT", "file"},
               {"C:\\SIM\\new\\SUB", "folder"},
               {"C:\\Sim\\New\\b.txt", "nothing"},
               {"C:\\Sim\\New\\Sub\\a.txt\\x", "nothing"}},
              "C:\\Sim\\New\\Sub",
              {"a.txt"},
              {"made C:\\Sim\\New", "made C:\\Sim\\New\\Sub", "new C:\\Sim\\New\\Sub\\a.txt"}},
        Found{"RealFolderEmptiedRemovedAndMadeAgain",
              [](PlanningFileSystem& fs) {
                fs.deleteFile("C:\\Sim\\Old\\kept.txt");
                fs.deleteFile("C:\\Sim\\Old\\gone.txt");
                fs.removeFolder("C:\\Sim\\Old");
                fs.makeFolder("C:\\SIM\\old");
                fs.writeFile("C:\\Sim\\Old\\Kept.txt", "new");
              },
              {{"C:\\Sim\\Old\\kept.txt", "file"}, {"C:\\Sim\\Old\\GONE.txt", "nothing"}, {"C:\\Sim\\old", "folder"}},
              "C:\\Sim\\Old",
              {"kept.txt"},
              {"overwrites C:\\Sim\\Old\\kept.txt", "deletes C:\\Sim\\Old\\gone.txt"}},
        Found{"FileDeletedAndWrittenAgainInAnotherCase",
              [](PlanningFileSystem& fs) {
                fs.deleteFile("C:\\Sim\\Old\\kept.txt");
                fs.writeFile("C:\\SIM\\OLD\\KEPT.TXT", "again");
              },
              {{"C:\\Sim\\Old\\kept.txt", "file"}, {"C:\\Sim\\Old\\gone.txt", "file"}},
              "C:\\Sim\\Old",
              {"gone.txt", "kept.txt"},
              {"overwrites C:\\Sim\\Old\\kept.txt"}},
        Found{"FileWhereARealFolderWas",
              [](PlanningFileSystem& fs) {
                fs.deleteFile("C:\\Sim\\Old\\kept.txt");
                fs.deleteFile("C:\\Sim\\Old\\gone.txt");
                fs.removeFolder("C:\\Sim\\Old");
                fs.writeFile("C:\\Sim\\Old", "x");
              },
              {{"C:\\Sim\\Old", "file"}, {"C:\\Sim\\Old\\kept.txt", "nothing"}},
              "C:\\Sim",
              {"Old"},
              {"removed C:\\Sim\\Old", "deletes C:\\Sim\\Old\\kept.txt", "deletes C:\\Sim\\Old\\gone.txt",
               "new C:\\Sim\\Old"}},
        Found{"FolderMadeWhereAPlannedFileWasDeleted",
              [](PlanningFileSystem& fs) {
                fs.writeFile("C:\\Sim\\f", "x");
                fs.deleteFile("C:\\Sim\\f");
                fs.makeFolder("C:\\Sim\\F");
                fs.writeFile("C:\\Sim\\f\\in.txt", "in");
              },
              {{"C:\\Sim\\F", "folder"}, {"C:\\Sim\\f\\IN.TXT", "file"}, {"C:\\Sim\\f\\out.txt", "nothing"}},
              "C:\\Sim\\f",
              {"in.txt"},
              {"made C:\\Sim\\f", "new C:\\Sim\\f\\in.txt"}}),
    [](const auto& rowInfo) { return std::string(rowInfo.param.name); });

// A file extracted into the pass-through folder, then changed there
// before the plan takes it (written, copied over, deleted and extracted
// again, in any case of its name).
struct Extracted {
  const char* name;
  std::function<void(PlanningFileSystem&)> after;
  std::string content;  // what the file holds when the plan takes it
  friend void PrintTo(const Extracted& row, std::ostream* out) { *out << row.name; }
};

void extract(PlanningFileSystem& fs, const std::string& path, std::string_view bytes) {
  auto writer = fs.createScratchFile(path);
  writer->write(bytes.data(), bytes.size());
  writer->commit();
}

class TakesAnExtractedFile : public PlanningFsTest, public ::testing::WithParamInterface<Extracted> {};

// The planned file's size and hash are those of the extracted file as it
// is when the installation moves it, and the plan reads those bytes there.
TEST_P(TakesAnExtractedFile, AsItIsWhenMoved) {
  const Extracted& row = GetParam();
  const std::string member = std::string(kTempZip) + "\\a.bmp";
  extract(planning, member, "extracted");
  row.after(planning);
  planning.makeFolder("C:\\Sim\\Textures");
  planning.moveFile(member, "C:\\Sim\\Textures\\a.bmp");
  EXPECT_FALSE(planning.fileExists(member));
  EXPECT_EQ(planning.readFile("C:\\Sim\\Textures\\a.bmp"), row.content);
  const auto taken = planning.takeChanges();
  ASSERT_EQ(taken.files.size(), 1u);
  EXPECT_EQ(taken.files[0].size, row.content.size());
  EXPECT_EQ(taken.files[0].hash, core::contentHash(row.content));
  EXPECT_EQ(taken.files[0].change, plan::FileChange::New);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TakesAnExtractedFile,
    ::testing::Values(Extracted{"AsExtracted", [](PlanningFileSystem&) {}, "extracted"},
                      Extracted{"RewrittenInAnotherCase",
                                [](PlanningFileSystem& fs) { fs.writeFile("z:\\APP\\tempzip\\A.BMP", "rewritten"); },
                                "rewritten"},
                      Extracted{"WrittenAgainByAWriter",
                                [](PlanningFileSystem& fs) {
                                  auto writer = fs.createFile("Z:\\app\\TempZip\\a.bmp");
                                  writer->write("again", 5);
                                  writer->commit();
                                },
                                "again"},
                      Extracted{"DeletedAndExtractedAgain",
                                [](PlanningFileSystem& fs) {
                                  fs.deleteFile("Z:\\app\\TempZip\\a.bmp");
                                  extract(fs, "Z:\\app\\TempZip\\A.bmp", "second member");
                                },
                                "second member"},
                      Extracted{"CopiedOverFromAnother",
                                [](PlanningFileSystem& fs) {
                                  extract(fs, "Z:\\app\\TempZip\\b.bmp", "copied over");
                                  fs.copyFile("Z:\\app\\TempZip\\b.bmp", "Z:\\app\\TempZip\\a.bmp");
                                },
                                "copied over"},
                      Extracted{"RenamedFromAnother",
                                [](PlanningFileSystem& fs) {
                                  extract(fs, "Z:\\app\\TempZip\\b.bmp", "renamed");
                                  fs.deleteFile("Z:\\app\\TempZip\\a.bmp");
                                  fs.renameFile("Z:\\app\\TempZip\\b.bmp", "Z:\\app\\TempZip\\a.bmp");
                                },
                                "renamed"}),
    [](const auto& rowInfo) { return std::string(rowInfo.param.name); });

}  // namespace

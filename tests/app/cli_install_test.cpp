#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/cli_terminal.h"
#include "cli_fixture.h"
#include "support/tree_snapshot.h"

namespace {

using testsupport::ArchiveBuilder;

class CliInstallTest : public clitest::CliFixture {
 protected:
  CliInstallTest() { useSimulator(); }
};

// Runs of hangarpak-cli install, one after another over one tree in which an
// aircraft "hopper" is installed: the status, the whole stdout (or for a dry
// run the lines its plan holds, with nothing changed), what stderr holds and
// a file the run leaves with what it holds ("<absent>": no such file).
TEST_F(CliInstallTest, AnswersNamesPasswordsAndPlansComeFromTheCommandLine) {
  const std::string hopper = putArchive("hopper.zip", ArchiveBuilder()
                                                          .add("aircraft.cfg", "[fltsim.0]\r\ntitle=Hopper\r\n")
                                                          .add("hopper.air", "a")
                                                          .add("extra.mdl", "m"));
  const std::string junk = putArchive("junk.zip", ArchiveBuilder().add("readme.txt", "x"));
  const std::string dots =
      putArchive("...zip", ArchiveBuilder().add("aircraft.cfg", "[fltsim.0]\r\ntitle=Dots\r\n").add("hopper.air", "a"));
  const std::string locked = putArchive("locked.zip", ArchiveBuilder()
                                                          .addEncrypted("aircraft.cfg", "[fltsim.0]\r\n", "pilot")
                                                          .addEncrypted("hopper.air", "a", "pilot"));
  std::filesystem::create_directories(host("C:\\FS2002\\Aircraft\\Hopper"));
  const std::string extra = "C:\\FS2002\\Aircraft\\Hopper\\Model\\extra.mdl";
  const std::string lockedAir = "C:\\FS2002\\Aircraft\\locked\\hopper.air";
  // The start of an archive's refusal, and two causes.
  const auto aborted = [](const std::string& archive) { return "Installation aborted: " + archive + "\n\n"; };
  const std::string nothing = "The ZIP file does NOT contain any FS98/2000/2002 files.\n";
  const std::string asked = "Aircraft already installed: Do you want to update hopper? no";
  const std::string none = "0/1 file(s) successfully installed.\n", one = "1/1 file(s) successfully installed.\n";
  // A plan says what would happen, per archive and in all.
  const std::string planNone = "Would install 0 of 1 archive.\n", planOne = "Would install 1 of 1 archive.\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out;
    std::string err = "", file = "", holds = "<absent>";  // file "": hopper's extra.mdl
  };
  const Case cases[] = {
      {{"--dry-run", hopper},
       1,
       {"  would be refused: \"Do you want to update hopper?\" answered No\n",
        "  question     Aircraft already installed: Do you want to update hopper? -> No\n", "\n" + planNone}},
      {{"--yes", "--dry-run", hopper},
       0,
       {"  would install as aircraft \"hopper\"\n",
        "  new          C:\\FS2002\\aircraft\\hopper\\Model\\extra.mdl  from the archive's extra.mdl\n",
        "\n" + planOne}},
      {{"--dry-run", "--json", "--yes", hopper},
       0,
       {"{\"target\": \"C:\\\\FS2002\\\\aircraft\\\\hopper\\\\Model\\\\extra.mdl\", \"source\": \"extra.mdl\"",
        "\"outcome\": \"install\", \"reason\": \"\"", "\"summary\": \"Would install 1 of 1 archive.\""}},
      {{"--dry-run", locked, locked},
       1,
       {"  would be refused: \"Please Enter The Password!\" answered (empty)\n",
        "  would be refused: it is encrypted, and after an empty password answer no password is asked for until the "
        "program ends\n"},
       "",
       lockedAir},
      // Without --yes or --no the question is answered No.
      {{hopper}, 1, {none}, asked},
      {{"--no", hopper}, 1, {none}, asked},
      {{"--yes", hopper}, 0, {one}, "", extra, "m"},
      // No terminal: an empty password.
      {{locked}, 1, {none}, "Not installed: " + locked + ": it is encrypted, and no password was given\n", lockedAir},
      {{"--password", "pilot", locked, junk},
       1,
       {"1/2 file(s) successfully installed.\n"},
       aborted(junk) + nothing,
       lockedAir,
       "a"},
      // A folder name must stay a name; an archive may be named by its host path.
      {{"--folder-name", "..\\..\\Outside", hopper}, 1, {none}, "in foldername!", "C:\\Outside"},
      {{"--folder-name", "..", hopper}, 1, {none}, "in foldername!", "C:\\FS2002\\hopper.air"},
      {{"--folder-name", "Hopper.", hopper}, 1, {none}, "in foldername!", "C:\\FS2002\\Aircraft\\Hopper."},
      // Without a terminal a folder name taken from the archive's name cannot be changed.
      {{dots}, 1, {none}, "The folder name taken from the archive's name is \".\" or \"..\"", "C:\\FS2002\\hopper.air"},
      {{"--folder-name", "Sky Hopper", "--name", "My Hopper", host(hopper)},
       0,
       {one},
       "",
       "C:\\FS2002\\Aircraft\\Sky Hopper\\aircraft.cfg",
       "[fltsim.0]\r\ntitle=My Hopper\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const auto before = testsupport::snapshotTree(root + "/c");
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "install");
    const auto r = run(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (std::ranges::find(c.args, "--dry-run") != c.args.end()) {
      for (const auto& line : c.out) EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
      EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(root + "/c")), "");
    } else {
      EXPECT_EQ(r.out, c.out.front());
    }
    if (!c.err.empty()) {
      EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    const std::string file = c.file.empty() ? extra : c.file;
    EXPECT_EQ(exists(file) ? readFile(file) : "<absent>", c.holds) << file;
  }
}

// A livery and a texture left out: the dry run shows where the livery's
// folder goes, which member each file comes from and what is left out; the
// journal keeps the note with the installation, and an uninstall, which has
// nothing to undo for it, takes the rest back whole.
TEST_F(CliInstallTest, DryRunAndJournalTellWhatGoesWhereAndWhatIsLeftOut) {
  const std::string archive = putArchive("shape.zip", ArchiveBuilder()
                                                          .add("aircraft.cfg", "[fltsim.0]\r\ntitle=Shape\r\n")
                                                          .add("plane.air", "air")
                                                          .add("texture/t.bmp", "paint")
                                                          .add("extra/t.bmp", "loose")
                                                          .add("texture.red/t.bmp", "red"));
  const std::string a = "C:\\FS2002\\aircraft\\shape\\";
  const std::string note = "extra\\t.bmp is not installed: texture\\t.bmp takes " + a + "Texture\\t.bmp.";
  const auto before = testsupport::snapshotTree(host("C:\\FS2002"));
  const auto plan = run({"install", "--dry-run", archive});
  EXPECT_EQ(plan.status, 0) << plan.err;
  for (const std::string& line :
       {"  places       texture.red as " + a + "texture.red\n",
        "  new          " + a + "texture.red\\t.bmp  from the archive's texture.red\\t.bmp\n",
        "  new          " + a + "Texture\\t.bmp  from the archive's texture\\t.bmp\n", "  note         " + note + "\n"})
    EXPECT_NE(plan.out.find(line), std::string::npos) << line << plan.out;
  // The same as JSON, paths with their backslashes escaped.
  auto json = [](std::string text) {
    for (auto at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 2)) text.insert(at, "\\");
    return text;
  };
  const auto asJson = run({"install", "--dry-run", "--json", archive});
  for (const std::string& part :
       {"\"placedFolders\": [{\"archiveFolder\": \"texture.red\", \"target\": \"" + json(a + "texture.red") + "\"}]",
        "\"notes\": [{\"path\": \"" + json(a + "Texture\\t.bmp") + "\", \"text\": \"" + json(note) + "\"}]"})
    EXPECT_NE(asJson.out.find(part), std::string::npos) << part << asJson.out;
  const auto sim = [&] { return testsupport::snapshotTree(host("C:\\FS2002")); };
  EXPECT_EQ(testsupport::treeDifferences(before, sim()), "") << "a plan changes nothing";

  ASSERT_EQ(run({"install", archive}).status, 0);
  const auto history = run({"history", "1"});
  EXPECT_NE(history.out.find("\tnoted\t" + a + "Texture\\t.bmp\t" + note + "\n"), std::string::npos) << history.out;
  const auto uninstall = run({"uninstall", "1"});
  EXPECT_EQ(uninstall.status, 0) << uninstall.out << uninstall.err;
  EXPECT_EQ(testsupport::treeDifferences(before, sim()), "");
}

TEST(TerminalDialogs, AsksOnTheTerminalWhenThereIsOne) {
  std::ostringstream err;
  std::vector<std::pair<std::string, bool>> asked;
  std::vector<std::string> answers = {"y", "n", "secret"};
  app::TerminalDialogs dialogs(err,
                               [&](std::string_view prompt, bool secret) -> std::optional<std::string> {
                                 asked.emplace_back(std::string(prompt), secret);
                                 auto answer = answers.front();
                                 answers.erase(answers.begin());
                                 return answer;
                               },
                               {});
  EXPECT_EQ(dialogs.msgBox("Update?", "Title", core::Buttons::YesNo, core::Icon::Question), core::Answer::Yes);
  EXPECT_EQ(dialogs.msgBox("Again?", "Title", core::Buttons::YesNo, core::Icon::Question), core::Answer::No);
  EXPECT_EQ(dialogs.inputBox("Please Enter The Password!", "", ""), std::optional<std::string>("secret"));
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0], std::make_pair(std::string("Title: Update? [y/N] "), false));
  EXPECT_TRUE(asked[2].second) << "a password is read without echo";
  EXPECT_EQ(dialogs.msgBox("Line one\r\nline two", "Note", core::Buttons::OK, core::Icon::Information),
            core::Answer::OK);
  EXPECT_NE(err.str().find("Note: Line one\nline two\n"), std::string::npos);
}

}  // namespace

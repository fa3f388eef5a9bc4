#include <filesystem>
#include <sstream>

#include "app/cli_terminal.h"
#include "cli_fixture.h"
#include "support/archive_builder.h"
#include "support/tree_snapshot.h"

namespace {

using testsupport::ArchiveBuilder;

class CliInstallTest : public clitest::CliFixture {
 protected:
  CliInstallTest() { useSimulator(); }

  clitest::CliRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), "install");
    return run(args);
  }
  std::string put(const std::string& name, const ArchiveBuilder& a) {
    a.writeTo(host("C:\\Downloads\\" + name));
    return "C:\\Downloads\\" + name;
  }
  static ArchiveBuilder aircraft() {
    return ArchiveBuilder().add("aircraft.cfg", "[fltsim.0]\r\ntitle=Hopper\r\n").add("hopper.air", "a");
  }
};

TEST_F(CliInstallTest, CountsAndReportsEachArchive) {
  const auto r = cli({put("hopper.zip", aircraft()), put("junk.zip", ArchiveBuilder().add("readme.txt", "x"))});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1/2 file(s) successfully installed.\n");
  EXPECT_NE(r.err.find("Installation aborted: C:\\DOWNLOADS\\JUNK.ZIP\n\nThe ZIP file does NOT contain any "
                       "FS98/2000/2002 files.\n"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\hopper\\hopper.air"));
}

TEST_F(CliInstallTest, AnUpdateQuestionIsAnsweredByYesOrNoAndNoWithoutEither) {
  const std::string path = put("hopper.zip", aircraft().add("extra.mdl", "m"));
  std::filesystem::create_directories(host("C:\\FS2002\\Aircraft\\Hopper"));
  for (const char* answer : {"", "--no"}) {
    SCOPED_TRACE(answer);
    auto r = *answer ? cli({answer, path}) : cli({path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "0/1 file(s) successfully installed.\n");
    EXPECT_NE(r.err.find("Aircraft already installed: Do you want to update hopper? no"), std::string::npos) << r.err;
    EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\Hopper\\Model\\extra.mdl"));
  }
  const auto r = cli({"--yes", path});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\Hopper\\Model\\extra.mdl"));
}

TEST_F(CliInstallTest, APasswordComesFromTheCommandLineOrIsEmpty) {
  ArchiveBuilder secret;
  secret.addEncrypted("aircraft.cfg", "[fltsim.0]\r\n", "pilot").addEncrypted("hopper.air", "a", "pilot");
  const std::string path = put("hopper.zip", secret);
  auto r = cli({path});
  EXPECT_EQ(r.status, 1) << "no terminal: an empty password skips the encrypted members";
  r = cli({"--password", "pilot", path});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\hopper\\hopper.air"));
}

TEST_F(CliInstallTest, NamesComeFromTheCommandLineAndAFolderNameMustStayAName) {
  const std::string path = put("hopper.zip", aircraft());
  auto r = cli({"--folder-name", "..\\..\\Outside", path});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("in foldername!"), std::string::npos) << r.err;
  EXPECT_FALSE(exists("C:\\Outside"));

  r = cli({"--folder-name", "Sky Hopper", "--name", "My Hopper", host(path)});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(readFile("C:\\FS2002\\Aircraft\\Sky Hopper\\aircraft.cfg").find("title=My Hopper\r\n"), std::string::npos);
}

// A dry run prints the plan, with the answers the run would take, and
// changes nothing; --json only goes with it.
TEST_F(CliInstallTest, ADryRunPrintsThePlanAndChangesNothing) {
  const std::string path = put("hopper.zip", aircraft().add("extra.mdl", "m"));
  std::filesystem::create_directories(host("C:\\FS2002\\Aircraft\\Hopper"));
  const auto before = testsupport::snapshotTree(root + "/c");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"--dry-run", path},
       1,
       {"  question     Aircraft already installed: Do you want to update hopper? -> No\n",
        "\n0/1 file(s) successfully installed.\n"}},
      {{"--yes", "--dry-run", path},
       0,
       {"  new          C:\\FS2002\\aircraft\\hopper\\Model\\extra.mdl  from the archive's extra.mdl\n",
        "\n1/1 file(s) successfully installed.\n"}},
      {{"--dry-run", "--json", "--yes", path},
       0,
       {"{\"target\": \"C:\\\\FS2002\\\\aircraft\\\\hopper\\\\Model\\\\extra.mdl\", \"source\": \"extra.mdl\"",
        "\"counter\": \"1/1 file(s) successfully installed.\""}},
      {{"--json", path}, 2, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args[1]);
    const auto r = cli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    for (const auto& line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
  }
  EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(root + "/c")), "");
}

// A gauge another panel's installation put there is named in the plan of
// the panel that would overwrite it.
TEST_F(CliInstallTest, ADryRunNamesTheInstallationOfAnOverwrittenFile) {
  auto panel = [](const char* gauge) {
    return ArchiveBuilder().add("panel.cfg", "[Window00]\r\n").add("Dial.gau", gauge);
  };
  ASSERT_EQ(cli({put("first.zip", panel("one"))}).status, 0);
  const auto r = cli({"--dry-run", put("second.zip", panel("two"))});
  EXPECT_NE(r.out.find("  overwrites   C:\\FS2002\\gauges\\Dial.gau  from the archive's Dial.gau (different content); "
                       "the old file from installation 1\n"),
            std::string::npos)
      << r.out;
}

TEST(TerminalDialogs, AsksOnTheTerminalWhenThereIsOne) {
  std::ostringstream err;
  std::vector<std::pair<std::string, bool>> asked;
  std::vector<std::string> answers = {"y", "n", "secret"};
  app::TerminalDialogs dialogs(err,
                               [&](std::string_view prompt, bool secret) -> std::optional<std::string> {
                                 asked.emplace_back(std::string(prompt), secret);
                                 auto a = answers.front();
                                 answers.erase(answers.begin());
                                 return a;
                               },
                               {});
  EXPECT_EQ(dialogs.msgBox("Update?", "Title", core::Buttons::YesNo, core::Icon::Question), core::Answer::Yes);
  EXPECT_EQ(dialogs.msgBox("Again?", "Title", core::Buttons::YesNo, core::Icon::Question), core::Answer::No);
  EXPECT_EQ(dialogs.inputBox("Please Enter The Password!", "", ""), std::optional<std::string>("secret"));
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].first, "Title: Update? [y/N] ");
  EXPECT_FALSE(asked[0].second);
  EXPECT_TRUE(asked[2].second) << "a password is read without echo";
  EXPECT_EQ(dialogs.msgBox("Line one\r\nline two", "Note", core::Buttons::OK, core::Icon::Information),
            core::Answer::OK);
  EXPECT_NE(err.str().find("Note: Line one\nline two\n"), std::string::npos);
}

}  // namespace

#include <sys/mount.h>

#include <filesystem>

#include "cli_fixture.h"

namespace {

using testsupport::ArchiveBuilder;

class CliMessagesTest : public clitest::CliFixture {
 protected:
  CliMessagesTest() {
    putArchive("readme.zip", ArchiveBuilder().add("readme.txt", "x"));
    const std::string whole = ArchiveBuilder().add("a.air", std::string(100, 'a')).bytes();
    writeFile("C:\\Downloads\\cut.zip", whole.substr(0, whole.size() / 2));
  }
  ~CliMessagesTest() override {
    if (mounted) ::umount2(mounted->c_str(), MNT_DETACH);
  }

  // The store folder made unwritable: a read-only file system where the
  // test may mount one, else a file in the folder's place.
  void makeUnwritable(const std::string& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0) {
      mounted = folder;
    } else {
      std::filesystem::remove(folder);
      testsupport::writeHostFile(folder, "");
    }
  }

  const std::string kCfg = "C:\\FS2002\\Aircraft\\C172\\aircraft.cfg";
  std::optional<std::string> mounted;
};

// What a person reads when a command cannot do its work: one sentence per
// fault that names the path as it was typed, status 1, and never an error
// number or the name of one of the program's forms; a run that says
// nothing on stderr succeeds. "{root}" stands for the test's folder.
TEST_F(CliMessagesTest, FaultsAreSentencesNamingThePathAsTyped) {
  useSimulator();
  writeFile(kCfg, "[FLTSIM.0]\r\nTITLE = \"Skyhawk\"\r\nmodel=\r\n");
  const std::string me = "hangarpak-cli: ", notInstalled = "hangarpak-cli: nothing was installed\n";
  const std::string none = "0/1 file(s) successfully installed.\n";
  const std::string cut =
      "it is not a ZIP archive, or it is damaged or cut short: it does not end with a ZIP archive's table of contents";
  const struct {
    std::vector<std::string> args;
    std::string out, err;
  } cases[] = {
      {{"install", "--yes", "{root}/nope.zip"},
       "",
       me + "cannot read {root}/nope.zip: no such file or directory\n" + notInstalled},
      {{"install", "--dry-run", "c/Downloads", "C:\\Downloads\\readme.zip"},
       "",
       me + "c/Downloads is a folder, not an archive\n" + notInstalled},
      {{"install", "C:\\Downloads\\Nope.zip"},
       "",
       me + "cannot read C:\\Downloads\\Nope.zip: no such file or directory\n" + notInstalled},
      {{"install", "Q:\\a.zip"}, "", me + "no drive Q: in the drive table for Q:\\a.zip\n" + notInstalled},
      // The message names the archive as typed.
      {{"install", "{root}/c/Downloads/readme.zip"},
       none,
       "Installation aborted: {root}/c/Downloads/readme.zip\n\nThe ZIP file does NOT contain any FS98/2000/2002 "
       "files.\nNot installed: {root}/c/Downloads/readme.zip: it holds no FS98/2000/2002 files\n"},
      {{"install", "c/Downloads/cut.zip"},
       none,
       "Installation aborted: c/Downloads/cut.zip\n\nThe archive is not installed: " + cut +
           ".\nNot installed: c/Downloads/cut.zip: " + cut + "\n"},
      {{"cfg", "get", "{root}/missing.cfg", "fltsim.0", "title", "x"},
       "",
       me + "cannot read {root}/missing.cfg: no such file or directory\n"},
      {{"cfg", "get", "C:\\FS2002", "a", "b"}, "", me + "C:\\FS2002 is a folder, not a configuration file\n"},
      // A file that fails to read is no file without the key.
      {{"cfg", "get", "/proc/self/mem", "a", "b", "x"}, "", me + "cannot read /proc/self/mem: input/output error\n"},
      {{"cfg", "get", "c:\\fs2002\\AIRCRAFT\\c172\\Aircraft.cfg", "FLTSIM.0", "title"}, "Skyhawk\n", ""},
      {{"cfg", "get", kCfg, "fltsim.1", "title"}, "\n", ""},
      {{"cfg", "set", "{root}/c/cafe.cfg", "fltsim.0", "title", "Café"}, "", ""},
      {{"cfg", "get", "{root}/c/cafe.cfg", "FLTSIM.0", "TITLE"}, "Café\n", ""},
      {{"cfg", "set", "C:\\FS2002\\aircraft\\C172\\aircraft.cfg", "fltsim.0", "sim", "c172"}, "", ""},
      {{"cfg", "get", "{root}/c/FS2002/Aircraft/C172/aircraft.cfg", "fltsim.0", "sim"}, "c172\n", ""},
      {{"cfg", "set", "{root}/c/new.cfg", "a", "b", "--", "--x"}, "", ""},  // a value that begins with a dash
      {{"cfg", "get", "--json", "{root}/c/new.cfg", "a", "b"},
       "{\"file\": \"{root}/c/new.cfg\", \"section\": \"a\", \"key\": \"b\", \"value\": \"--x\"}\n",
       ""},
      {{"cfg", "get", kCfg, "fltsim.0", "panel", "-1", "--json"},
       "{\"file\": \"C:\\\\FS2002\\\\Aircraft\\\\C172\\\\aircraft.cfg\", \"section\": \"fltsim.0\", \"key\": "
       "\"panel\", \"value\": \"-1\"}\n",
       ""},
      {{"cfg", "set", "C:\\FS2002\\NoSuchFolder\\a.cfg", "a", "b", "c"},
       "",
       me + "cannot write C:\\FS2002\\NoSuchFolder\\a.cfg: no folder {root}/c/FS2002/NoSuchFolder\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const auto expand = [&](std::string s) {
      for (auto pos = s.find("{root}"); pos != std::string::npos; pos = s.find("{root}")) s.replace(pos, 6, root);
      return s;
    };
    std::vector<std::string> args;
    for (const auto& a : c.args) args.push_back(expand(a));
    const auto workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(root);
    const clitest::CliRun r = run(args);
    std::filesystem::current_path(workingFolder);
    EXPECT_EQ(r.status, c.err.empty() ? 0 : 1);
    EXPECT_EQ(r.out, expand(c.out));
    EXPECT_EQ(r.err, expand(c.err));
  }
  // Written as Windows-1252; a failed read or write creates nothing; a
  // Windows path is never taken for the name of a file in the working
  // folder.
  EXPECT_EQ(readFile("C:\\cafe.cfg"), "[fltsim.0]\r\ntitle=Caf\xE9\r\n");
  EXPECT_FALSE(testsupport::hostExists(root + "/missing.cfg"));
  EXPECT_FALSE(exists("C:\\FS2002\\NoSuchFolder"));
  for (const auto& entry : std::filesystem::directory_iterator(root))
    EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
}

// Where the window program would ask something first (the version of a
// first start, the simulator's folder) or cannot write its stores, the
// terminal says so in words.
TEST_F(CliMessagesTest, WhatOnlyTheWindowProgramAsksAndUnwritableStoresAreSaidInWords) {
  for (const auto& args : {std::vector<std::string>{"install", "--yes", "C:\\Downloads\\readme.zip"},
                           std::vector<std::string>{"list", "aircraft"}}) {
    SCOPED_TRACE(args.front());
    const clitest::CliRun r = run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.err,
        "hangarpak-cli: here the window program would ask \"Choose FS version\"; run hangarpak once to answer it, "
        "then try again\n");
  }

  makeUnwritable(root + "/config/hangarpak");
  const clitest::CliRun r = run({"sample", root + "/sample", "--register"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("hangarpak-cli: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(root + "/config/hangarpak"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("error"), std::string::npos) << r.err;
}

}  // namespace

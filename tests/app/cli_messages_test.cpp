#include <sys/mount.h>

#include <filesystem>

#include "cli_fixture.h"

namespace {

using testsupport::ArchiveBuilder;

class CliMessagesTest : public clitest::CliFixture {
 protected:
  CliMessagesTest() {
    put("readme.zip", ArchiveBuilder().add("readme.txt", "x"));
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
// number or the name of one of the program's forms. "{root}" stands for
// the test's folder.
TEST_F(CliMessagesTest, FaultsAreSentencesNamingThePathAsTyped) {
  useSimulator();
  writeFile(kCfg, "[fltsim.0]\r\ntitle=Skyhawk\r\n");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const std::string notInstalled = "hangarpak-cli: nothing was installed\n";
  const Case cases[] = {
      {"missing archive",
       {"install", "--yes", "{root}/nope.zip"},
       1,
       "",
       "hangarpak-cli: cannot read {root}/nope.zip: no such file or directory\n" + notInstalled},
      {"folder as archive",
       {"install", "--dry-run", "c/Downloads", "C:\\Downloads\\readme.zip"},
       1,
       "",
       "hangarpak-cli: c/Downloads is a folder, not an archive\n" + notInstalled},
      {"missing Windows path",
       {"install", "C:\\Downloads\\Nope.zip"},
       1,
       "",
       "hangarpak-cli: cannot read C:\\Downloads\\Nope.zip: no such file or directory\n" + notInstalled},
      {"drive not in the table",
       {"install", "Q:\\a.zip"},
       1,
       "",
       "hangarpak-cli: no drive Q: in the drive table for Q:\\a.zip\n" + notInstalled},
      {"message names the archive as typed",
       {"install", "{root}/c/Downloads/readme.zip"},
       1,
       "0/1 file(s) successfully installed.\n",
       "Installation aborted: {root}/c/Downloads/readme.zip\n\nThe ZIP file does NOT contain any FS98/2000/2002 "
       "files.\nNot installed: {root}/c/Downloads/readme.zip: it holds no FS98/2000/2002 files\n"},
      {"damaged archive",
       {"install", "c/Downloads/cut.zip"},
       1,
       "0/1 file(s) successfully installed.\n",
       "Installation aborted: c/Downloads/cut.zip\n\nThe archive is not installed: it is not a ZIP archive, or it is "
       "damaged or cut short: it does not end with a ZIP archive's table of contents.\nNot installed: "
       "c/Downloads/cut.zip: it is not a ZIP archive, or it is damaged or cut short: it does not end with a ZIP "
       "archive's table of contents\n"},
      {"missing configuration file",
       {"cfg", "get", "{root}/missing.cfg", "fltsim.0", "title", "x"},
       1,
       "",
       "hangarpak-cli: cannot read {root}/missing.cfg: no such file or directory\n"},
      {"folder as configuration file",
       {"cfg", "get", "C:\\FS2002", "a", "b"},
       1,
       "",
       "hangarpak-cli: C:\\FS2002 is a folder, not a configuration file\n"},
      {"Windows path read",
       {"cfg", "get", "c:\\fs2002\\AIRCRAFT\\c172\\Aircraft.cfg", "FLTSIM.0", "title"},
       0,
       "Skyhawk\n",
       ""},
      {"Windows path written",
       {"cfg", "set", "C:\\FS2002\\aircraft\\C172\\aircraft.cfg", "fltsim.0", "sim", "c172"},
       0,
       "",
       ""},
      {"the write read back",
       {"cfg", "get", "{root}/c/FS2002/Aircraft/C172/aircraft.cfg", "fltsim.0", "sim"},
       0,
       "c172\n",
       ""},
      {"a value that begins with a dash", {"cfg", "set", "{root}/c/new.cfg", "a", "b", "--", "--x"}, 0, "", ""},
      {"read as JSON",
       {"cfg", "get", "--json", "{root}/c/new.cfg", "a", "b"},
       0,
       "{\"file\": \"{root}/c/new.cfg\", \"section\": \"a\", \"key\": \"b\", \"value\": \"--x\"}\n",
       ""},
      {"a default read as JSON",
       {"cfg", "get", kCfg, "fltsim.0", "panel", "-1", "--json"},
       0,
       "{\"file\": \"C:\\\\FS2002\\\\Aircraft\\\\C172\\\\aircraft.cfg\", \"section\": \"fltsim.0\", \"key\": "
       "\"panel\", "
       "\"value\": \"-1\"}\n",
       ""},
      {"folder that does not exist",
       {"cfg", "set", "C:\\FS2002\\NoSuchFolder\\a.cfg", "a", "b", "c"},
       1,
       "",
       "hangarpak-cli: cannot write C:\\FS2002\\NoSuchFolder\\a.cfg: no folder {root}/c/FS2002/NoSuchFolder\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args;
    for (auto a : c.args) args.push_back(a.starts_with("{root}") ? root + a.substr(6) : a);
    const auto expand = [&](std::string s) {
      for (auto pos = s.find("{root}"); pos != std::string::npos; pos = s.find("{root}")) s.replace(pos, 6, root);
      return s;
    };
    const auto workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(root);
    const clitest::CliRun r = run(args);
    std::filesystem::current_path(workingFolder);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, expand(c.out));
    EXPECT_EQ(r.err, expand(c.err));
  }
  // A Windows path is never taken for the name of a file in the working
  // folder.
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

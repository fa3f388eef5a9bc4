#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/profile.h"
#include "support/fs_configs.h"

namespace {

class CliManagerTest : public clitest::CliFixture {
 protected:
  CliManagerTest() {
    useSimulator();
    writeFile(air("C172\\aircraft.cfg"),
              testsupport::aircraftCfg({{.title = "Skyhawk"}, {.title = "Skyhawk float", .sim = ""}}));
    writeFile(air("C172\\panel\\panel.cfg"), testsupport::panelCfg());
    writeFile(air("C172\\sound\\sound.cfg"), testsupport::soundCfg("Lycoming \"O-320\""));
    writeFile(air("Twins\\aircraft.cfg"), testsupport::aircraftCfg({{.title = "Twin"}, {.title = "Twin"}}));
    writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), testsupport::panelCfg("Glass cockpit"));
    writeFile(air("fsfsconv\\sound.Radial\\sound.cfg"), testsupport::soundCfg("Radial"));
  }
  std::string air(std::string_view relative) const { return "C:\\FS2002\\Aircraft\\" + std::string(relative); }

  // A value of a configuration file; without a section, what the path is:
  // the file's bytes, "<folder>" or "<absent>".
  std::string valueOf(const std::string& file, std::string_view section, std::string_view key) {
    if (!section.empty()) return core::ReadProfileString(ctx(), file, section, key, "<absent>");
    return fs->folderExists(file) ? "<folder>" : exists(file) ? readFile(file) : "<absent>";
  }
};

// Runs one after another: the status, stdout (for a refusal: what stderr
// holds) and the values the run leaves. Two sections with one title cannot
// be told apart, so nothing is written for them.
TEST_F(CliManagerTest, ListsHidesAndSwapsAndRefusesWhatItCannotTellApart) {
  const std::string c172 = air("C172\\"), twins = air("Twins\\"), cfg = c172 + "aircraft.cfg";
  const std::string twinsCfg = readFile(twins + "aircraft.cfg");
  struct Value {
    std::string file, section, key, value;
  };
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::vector<Value> after;
  };
  const std::vector<Value> twinsKept = {{twins + "aircraft.cfg", "", "", twinsCfg}};
  const Case cases[] = {
      {{"list", "aircraft"},
       0,
       "Skyhawk\t" + c172 + "\t0\tactive\tc172\\panel\tc172\\sound\n" + "Skyhawk float\t" + c172 +
           "\t1\thidden\tc172\\panel\tc172\\sound\n" + "Twin\t" + twins +
           "\t0\tactive\t---Not Listed---\t---Not Listed---\n" + "Twin\t" + twins +
           "\t1\tactive\t---Not Listed---\t---Not Listed---\n",
       {}},
      {{"list", "sounds", "--json"},
       0,
       "[\n {\"name\": \"Lycoming \\\"O-320\\\"\", \"folder\": \"C:\\\\FS2002\\\\Aircraft\\\\C172\\\\sound\\\\\", "
       "\"relative\": \"c172\\\\sound\"},\n {\"name\": \"Radial\", \"folder\": "
       "\"C:\\\\FS2002\\\\Aircraft\\\\fsfsconv\\\\sound.Radial\\\\\", \"relative\": \"fsfsconv\\\\sound.radial\"}\n]\n",
       {}},
      {{"list", "panels"},
       0,
       "c172\\panel\t" + c172 + "panel\\\tc172\\panel\n" +
           "Glass cockpit\tC:\\FS2002\\Aircraft\\fsfsconv\\panel.Glass\\\tfsfsconv\\panel.glass\n",
       {}},
      {{"hide", "Skyhawk"},
       0,
       "Skyhawk: hidden\n",
       {{cfg, "fltsim.0", "sim", ""}, {cfg, "Hangarpak", "Hide0", "Cessna172"}}},
      // Already hidden: nothing to do.
      {{"hide", "Skyhawk"},
       0,
       "Skyhawk: hidden\n",
       {{cfg, "fltsim.0", "sim", ""}, {cfg, "Hangarpak", "Hide0", "Cessna172"}}},
      {{"unhide", "--folder", "C:\\FS2002\\Aircraft\\C172", "--section", "0"},
       0,
       "Skyhawk: active\n",
       {{cfg, "fltsim.0", "sim", "Cessna172"}, {cfg, "Hangarpak", "Hide0", ""}}},
      {{"hide", "Twin"}, 1, "2 aircraft are titled \"Twin\"", twinsKept},
      {{"hide", "--folder", twins, "--section", "1"}, 1, "is not section 1 of", twinsKept},
      {{"hide", "Nobody"}, 1, "no aircraft \"Nobody\"", twinsKept},
      {{"panel", "Twin", "Glass cockpit"}, 1, "2 aircraft are titled", twinsKept},
      {{"panel", "Skyhawk", "Steam"}, 1, "no panel \"Steam\"", twinsKept},
      {{"panel", "Skyhawk", "Glass cockpit"},
       0,
       "Skyhawk: panel fsfsconv\\panel.glass\n",
       {{c172 + "panel.hgrpak0\\panel.cfg", "", "", "[fltsim]\r\nalias=fsfsconv\\panel.glass\r\n"},
        {cfg, "Hangarpak", "OrgPanel0", "c172\\panel"}}},
      // Back to its own.
      {{"panel", "Skyhawk", "C172\\Panel"},
       0,
       "Skyhawk: panel c172\\panel\n",
       {{c172 + "panel.hgrpak0", "", "", "<absent>"}, {cfg, "fltsim.0", "panel", ""}}},
      {{"sound", "Skyhawk float", "Radial"},
       0,
       "Skyhawk float: sound fsfsconv\\sound.radial\n",
       {{cfg, "fltsim.1", "sound", "hgrpak1"}, {cfg, "Hangarpak", "OrgLyd1", "c172\\sound"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const auto r = run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
      EXPECT_EQ(r.out, c.out);
    } else {
      EXPECT_NE(r.err.find(c.out), std::string::npos) << r.err;
    }
    for (const auto& v : c.after) EXPECT_EQ(valueOf(v.file, v.section, v.key), v.value) << v.file << " " << v.key;
  }
}

}  // namespace

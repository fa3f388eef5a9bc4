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
    // An alias to no listed entry, and one to a listed entry.
    writeFile(air("Lark\\aircraft.cfg"), testsupport::aircraftCfg({{.title = "Lark"}}));
    writeFile(air("Lark\\panel\\panel.cfg"), testsupport::aliasCfg("lark\\panel\\"));
    writeFile(air("Lark\\sound\\sound.cfg"), testsupport::aliasCfg("fsfsconv\\sound.radial"));
    // Hidden by hand: no flight model kept for it.
    writeFile(air("Bare\\aircraft.cfg"), testsupport::aircraftCfg({{.title = "Bare", .sim = ""}}));
    // A file where the panel alias folder of section 1 would go.
    writeFile(air("C172\\panel.hgrpak1"), "in the way");
  }

  // A value of a configuration file; without a section, what the path is:
  // the file's bytes, "<folder>" or "<absent>".
  std::string valueOf(const std::string& file, std::string_view section, std::string_view key) {
    if (!section.empty()) return core::ReadProfileString(ctx(), file, section, key, "<absent>");
    return fs->folderExists(file) ? "<folder>" : exists(file) ? readFile(file) : "<absent>";
  }
};

// Runs one after another: the status, stdout (for a refusal: what stderr
// holds) and the values the run leaves. A row lists what the Aircraft tab
// shows; an edit that cannot happen changes nothing and says why with a
// status of 1. Two sections with one title are told apart by folder and
// section only.
TEST_F(CliManagerTest, ListsHidesAndSwapsAndRefusesWhatItCannotTellApart) {
  const std::string c172 = air("C172\\"), twins = air("Twins\\"), cfg = c172 + "aircraft.cfg";
  const std::string bare = air("Bare\\aircraft.cfg");
  const std::string twinsCfg = readFile(twins + "aircraft.cfg");
  struct Value {
    std::string section, key, value, file = "";  // file "": C172's aircraft.cfg; section "": the whole file
  };
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // for a refusal: what stderr holds
    std::vector<Value> after = {};
  };
  const std::vector<Value> hidden = {{"fltsim.0", "sim", ""}, {"Hangarpak", "Hide0", "Cessna172"}};
  const std::vector<Value> twinsKept = {{"", "", twinsCfg, twins + "aircraft.cfg"}};
  const Case cases[] = {
      {{"list", "aircraft"},
       0,
       "Bare\t" + air("Bare\\") + "\t0\thidden\t---Not Listed---\t---Not Listed---\n" + "Lark\t" + air("Lark\\") +
           "\t0\tactive\t---Not Listed---\tfsfsconv\\sound.radial\n" + "Skyhawk\t" + c172 +
           "\t0\tactive\tc172\\panel\tc172\\sound\n" + "Skyhawk float\t" + c172 +
           "\t1\thidden\tc172\\panel\tc172\\sound\n" + "Twin\t" + twins +
           "\t0\tactive\t---Not Listed---\t---Not Listed---\n" + "Twin\t" + twins +
           "\t1\tactive\t---Not Listed---\t---Not Listed---\n"},
      {{"list", "aircraft", "--json"},
       0,
       R"([
 {"name": "Bare", "folder": "C:\\FS2002\\Aircraft\\Bare\\", "section": 0, "state": "hidden", "panel": "---Not Listed---", "sound": "---Not Listed---", "panelName": "---Not Listed---", "soundName": "---Not Listed---"},
 {"name": "Lark", "folder": "C:\\FS2002\\Aircraft\\Lark\\", "section": 0, "state": "active", "panel": "---Not Listed---", "sound": "fsfsconv\\sound.radial", "panelName": "---Not Listed---", "soundName": "Radial"},
 {"name": "Skyhawk", "folder": "C:\\FS2002\\Aircraft\\C172\\", "section": 0, "state": "active", "panel": "c172\\panel", "sound": "c172\\sound", "panelName": "c172\\panel", "soundName": "Lycoming \"O-320\""},
 {"name": "Skyhawk float", "folder": "C:\\FS2002\\Aircraft\\C172\\", "section": 1, "state": "hidden", "panel": "c172\\panel", "sound": "c172\\sound", "panelName": "c172\\panel", "soundName": "Lycoming \"O-320\""},
 {"name": "Twin", "folder": "C:\\FS2002\\Aircraft\\Twins\\", "section": 0, "state": "active", "panel": "---Not Listed---", "sound": "---Not Listed---", "panelName": "---Not Listed---", "soundName": "---Not Listed---"},
 {"name": "Twin", "folder": "C:\\FS2002\\Aircraft\\Twins\\", "section": 1, "state": "active", "panel": "---Not Listed---", "sound": "---Not Listed---", "panelName": "---Not Listed---", "soundName": "---Not Listed---"}
]
)"},
      {{"list", "sounds", "--json"},
       0,
       "[\n {\"name\": \"Lycoming \\\"O-320\\\"\", \"folder\": \"C:\\\\FS2002\\\\Aircraft\\\\C172\\\\sound\\\\\", "
       "\"relative\": \"c172\\\\sound\"},\n {\"name\": \"Radial\", \"folder\": "
       "\"C:\\\\FS2002\\\\Aircraft\\\\fsfsconv\\\\sound.Radial\\\\\", \"relative\": "
       "\"fsfsconv\\\\sound.radial\"}\n]\n"},
      {{"list", "panels"},
       0,
       "c172\\panel\t" + c172 + "panel\\\tc172\\panel\n" +
           "Glass cockpit\tC:\\FS2002\\Aircraft\\fsfsconv\\panel.Glass\\\tfsfsconv\\panel.glass\n"},
      {{"hide", "Skyhawk"}, 0, "Skyhawk: hidden\n", hidden},
      {{"hide", "Skyhawk"}, 0, "Skyhawk: hidden\n", hidden},  // already hidden: nothing to do
      {{"unhide", "--folder", "C:\\FS2002\\Aircraft\\C172", "--section", "0"},
       0,
       "Skyhawk: active\n",
       {{"fltsim.0", "sim", "Cessna172"}, {"Hangarpak", "Hide0", ""}}},
      {{"hide", "Twin"}, 1, "2 aircraft are titled \"Twin\"", twinsKept},
      {{"hide", "Nobody"}, 1, "no aircraft \"Nobody\"", twinsKept},
      {{"panel", "Skyhawk", "Steam"}, 1, "no panel \"Steam\"", twinsKept},
      {{"panel", "Skyhawk", "Glass cockpit"},
       0,
       "Skyhawk: panel fsfsconv\\panel.glass\n",
       {{"", "", "[fltsim]\r\nalias=fsfsconv\\panel.glass\r\n", c172 + "panel.hgrpak0\\panel.cfg"},
        {"Hangarpak", "OrgPanel0", "c172\\panel"}}},
      // Back to its own.
      {{"panel", "Skyhawk", "C172\\Panel"},
       0,
       "Skyhawk: panel c172\\panel\n",
       {{"", "", "<absent>", c172 + "panel.hgrpak0"}, {"fltsim.0", "panel", ""}}},
      {{"sound", "Skyhawk float", "Radial"},
       0,
       "Skyhawk float: sound fsfsconv\\sound.radial\n",
       {{"fltsim.1", "sound", "hgrpak1"}, {"Hangarpak", "OrgLyd1", "c172\\sound"}}},
      // A failed edit (Status::Failed, not Refused) is a status of 1 too.
      {{"panel", "Skyhawk float", "Glass cockpit"},
       1,
       c172 + "panel.hgrpak1",
       {{"fltsim.1", "panel", ""}, {"Hangarpak", "OrgPanel1", "<absent>"}}},
      {{"unhide", "Bare"},
       1,
       "\"Bare\" stays hidden",
       {{"fltsim.0", "sim", "", bare}, {"Hangarpak", "Hide0", "<absent>", bare}}},
      {{"hide", "--folder", twins, "--section", "1"},
       0,
       "Twin: hidden\n",
       {{"fltsim.0", "sim", "Cessna172", twins + "aircraft.cfg"}, {"fltsim.1", "sim", "", twins + "aircraft.cfg"}}},
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
    for (const auto& v : c.after) {
      const std::string file = v.file.empty() ? cfg : v.file;
      EXPECT_EQ(valueOf(file, v.section, v.key), v.value) << file << " " << v.key;
    }
  }
}

}  // namespace

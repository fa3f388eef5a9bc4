#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/profile.h"
#include "support/fs_configs.h"

namespace {

using testsupport::Variant;

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
  }
  std::string air(std::string_view relative) const { return "C:\\FS2002\\Aircraft\\" + std::string(relative); }

  std::string cfgValue(std::string_view file, std::string_view section, std::string_view key) {
    return core::ReadProfileString(ctx(), file, section, key, "<absent>");
  }
};

TEST_F(CliManagerTest, ListsEachCatalogueInOrder) {
  const std::string c172 = "C:\\FS2002\\Aircraft\\C172\\";
  const std::string twins = "C:\\FS2002\\Aircraft\\Twins\\";
  auto r = run({"list", "aircraft"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Skyhawk\t" + c172 + "\t0\tactive\tc172\\panel\tc172\\sound\n" +  //
                       "Skyhawk float\t" + c172 + "\t1\thidden\tc172\\panel\tc172\\sound\n" + "Twin\t" + twins +
                       "\t0\tactive\t---Not Listed---\t---Not Listed---\n" + "Twin\t" + twins +
                       "\t1\tactive\t---Not Listed---\t---Not Listed---\n");
  r = run({"list", "sounds", "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "[\n {\"name\": \"Lycoming \\\"O-320\\\"\", \"folder\": \"C:\\\\FS2002\\\\Aircraft\\\\C172\\\\sound\\\\\", "
            "\"relative\": \"c172\\\\sound\"}\n]\n");
  r = run({"list", "panels"});
  EXPECT_EQ(r.out, "c172\\panel\t" + c172 + "panel\\\tc172\\panel\n" +
                       "Glass cockpit\tC:\\FS2002\\Aircraft\\fsfsconv\\panel.Glass\\\tfsfsconv\\panel.glass\n");
}

TEST_F(CliManagerTest, HidesByTitleAndUnhidesByFolderAndSection) {
  const std::string cfg = air("C172\\aircraft.cfg");
  auto r = run({"hide", "Skyhawk"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Skyhawk: hidden\n");
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "sim"), "");
  EXPECT_EQ(cfgValue(cfg, "Hangarpak", "Hide0"), "Cessna172");
  r = run({"hide", "Skyhawk"});  // already hidden: nothing to do
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(cfgValue(cfg, "Hangarpak", "Hide0"), "Cessna172");
  r = run({"unhide", "--folder", "C:\\FS2002\\Aircraft\\C172", "--section", "0"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "sim"), "Cessna172");
  EXPECT_EQ(cfgValue(cfg, "Hangarpak", "Hide0"), "");
}

// Two sections with one title: the title names neither, and the second
// section cannot be told from the first, so nothing is written.
TEST_F(CliManagerTest, RefusesWhatItCannotTellApart) {
  const std::string before = readFile(air("Twins\\aircraft.cfg"));
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"hide", "Twin"}, "2 aircraft are titled \"Twin\""},
      {{"hide", "--folder", "C:\\FS2002\\Aircraft\\Twins\\", "--section", "1"}, "is not section 1 of"},
      {{"hide", "Nobody"}, "no aircraft \"Nobody\""},
      {{"panel", "Twin", "Glass cockpit"}, "2 aircraft are titled"},
      {{"panel", "Skyhawk", "Steam"}, "no panel \"Steam\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const auto r = run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(readFile(air("Twins\\aircraft.cfg")), before);
}

TEST_F(CliManagerTest, GivesAnAircraftAPanelOrSoundByNameOrFolder) {
  auto r = run({"panel", "Skyhawk", "Glass cockpit"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Skyhawk: panel fsfsconv\\panel.glass\n");
  EXPECT_EQ(readFile(air("C172\\panel.hgrpak0\\panel.cfg")), "[fltsim]\r\nalias=fsfsconv\\panel.glass\r\n");
  EXPECT_EQ(cfgValue(air("C172\\aircraft.cfg"), "Hangarpak", "OrgPanel0"), "c172\\panel");
  r = run({"panel", "Skyhawk", "C172\\Panel"});  // back to its own
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(exists(air("C172\\panel.hgrpak0")));
  EXPECT_EQ(cfgValue(air("C172\\aircraft.cfg"), "fltsim.0", "panel"), "");
  writeFile(air("fsfsconv\\sound.Radial\\sound.cfg"), testsupport::soundCfg("Radial"));
  r = run({"sound", "Skyhawk float", "Radial"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(cfgValue(air("C172\\aircraft.cfg"), "fltsim.1", "sound"), "hgrpak1");
  EXPECT_EQ(cfgValue(air("C172\\aircraft.cfg"), "Hangarpak", "OrgLyd1"), "c172\\sound");
}

}  // namespace

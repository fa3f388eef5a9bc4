#include "ui/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/errors.h"
#include "scan/scan_form.h"
#include "shell_fixture.h"
#include "support/recording_launcher.h"
#include "support/sim_fixture.h"

namespace {

class MainWindowTest : public uitest::ShellFixture {
 protected:
  MainWindowTest() { makeSimulator(80); }
};

TEST_F(MainWindowTest, EachTabShowsItsFrameAndCaptions) {
  struct Case {
    int tab;
    const char* key;
    const char* caption;
    const char* unzip;
    int currentTab;
  };
  for (const Case& c :
       {Case{2, "man", "Hangarpak Aircraft Manager", "U&pdate", 1},
        Case{3, "edi", "Hangarpak Addon Editor", "E&dit", 0}, Case{1, "ins", "Hangarpak 2000", "Un&Zip", 0}}) {
    SCOPED_TRACE(c.key);
    state().currentTab = 7;
    main->selectTab(c.tab);
    EXPECT_EQ(main->selectedKey(), c.key);
    EXPECT_EQ(main->caption, c.caption);
    EXPECT_EQ(main->unzipCap.caption, c.unzip);
    EXPECT_EQ(state().currentTab, c.currentTab);
    EXPECT_EQ(main->installFra.visible, c.tab == 1);
    EXPECT_EQ(main->managerFra.visible, c.tab == 2);
    EXPECT_EQ(main->editFra.visible, c.tab == 3);
  }
}

TEST_F(MainWindowTest, TheAircraftTabRebuildsAStaleCatalogueOnce) {
  writeFile("C:\\FS2002\\Aircraft\\Cub\\aircraft.cfg", "[fltsim.0]\r\ntitle=Piper Cub\r\nsim=cub\r\n");
  state().catalogueStale = true;
  main->selectTab(2);
  EXPECT_FALSE(state().catalogueStale);
  ASSERT_EQ(main->managerFra.flyLst.count(), 1);
  writeFile("C:\\FS2002\\Aircraft\\Spit\\aircraft.cfg", "[fltsim.0]\r\ntitle=Spitfire\r\nsim=spit\r\n");
  main->selectTab(1);
  main->selectTab(2);
  EXPECT_EQ(main->managerFra.flyLst.count(), 1) << "not rebuilt while nothing marked it stale";
  main->unzipCap_Click();  // "U&pdate" on this tab
  EXPECT_EQ(main->managerFra.flyLst.count(), 2);
}

// Buttons 1 to 3 are a group with one pressed, 1 when the window opens;
// delete (6) is a plain button. Each state: the editor mode, then whether
// buttons 1, 2, 3 and 6 are pressed.
TEST_F(MainWindowTest, TheToolbarsGroupOfThreeHasOneButtonPressed) {
  auto toolbar = [&] {
    std::string s = std::to_string(main->editorMode()) + ":";
    for (int button : {1, 2, 3, 6}) s += main->toolButtonPressed(button) ? '1' : '0';
    return s;
  };
  EXPECT_EQ(toolbar(), "1:1000");
  for (const auto& [button, after] : {std::pair{2, "2:0100"}, {3, "3:0010"}, {6, "3:0010"}}) {
    main->ToolBar_ButtonClick(button);
    EXPECT_EQ(toolbar(), after) << button;
  }
  std::vector<std::string> tags;
  for (const auto& b : main->toolButtons) tags.push_back(b.tag);
  EXPECT_EQ(tags, (std::vector<std::string>{"1", "2", "3", "", "4", "5", "6"}));
}

TEST_F(MainWindowTest, HelpShowsThePageInTheShareFolderBesideTheProgram) {
  std::string shown;
  main->onShowHelp = [&](const std::string& file) { shown = file; };
  main->helpCap_Click();
  EXPECT_EQ(shown, root + "/share/hangarpak/help/index.html");

  // A page that cannot be shown is reported.
  main->onShowHelp = [](const std::string&) { throw core::RuntimeError(core::err::FileNotFound); };
  dialogs.expectMessage("", "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
  main->helpCap_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].text.find(root + "/share/hangarpak/help/index.html"), std::string::npos);
}

// "Hangarpak Online" opens the page shipped beside the help page; without a
// way to start a browser it says which page could not be shown.
TEST_F(MainWindowTest, OnlineOpensTheShippedPageOrSaysWhyNot) {
  const std::string page = root + "/share/hangarpak/help/online.html";
  testsupport::RecordingLauncher launcher2;
  auto ctx2 = contextWith(nullptr, &launcher2);
  ui::MainWindow main2(*ctx2);
  ctx2->env.set("PATH", root + "/bin");
  testsupport::writeHostFile(root + "/bin/xdg-open", "#!/bin/sh\n");
  ::chmod((root + "/bin/xdg-open").c_str(), 0755);
  main2.homesiteCap_Click();
  ASSERT_EQ(launcher2.starts.size(), 1u);
  EXPECT_EQ(launcher2.starts[0].argv, (std::vector<std::string>{root + "/bin/xdg-open", page}));

  ctx2->env.set("PATH", root + "/nowhere");
  dialogs.expectMessage("", "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
  main2.homesiteCap_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].text.find(page + " cannot be shown: no web browser"), std::string::npos);
  EXPECT_NE(dialogs.messages()[0].text.find("xdg-open"), std::string::npos);
}

TEST_F(MainWindowTest, EveryExitUnloadsTheMainWindow) {
  writeFile("C:\\Games\\a.zip");
  main->installFra.ZipFileDir.setPath("C:\\Games");
  using Handler = void (ui::MainWindow::*)();
  for (Handler exit : {&ui::MainWindow::lukkCmd_Click, &ui::MainWindow::lukk2Cmd_Click, &ui::MainWindow::lukk3Cmd_Click,
                       &ui::MainWindow::exitCap_Click}) {
    setSetting("Main", "Startup Path", "unset");
    EXPECT_THROW((main.get()->*exit)(), core::EndProgram);
    EXPECT_EQ(setting("Main", "Startup Path"), "C:\\Games");
  }
}

TEST_F(MainWindowTest, TheWindowHostReachesTheMainWindow) {
  auto& host = ctx().windows();
  host.hideMainWindow();
  EXPECT_FALSE(main->visible);
  host.showMainWindow();
  EXPECT_TRUE(main->visible);
  host.setMainWindowEnabled(false);
  EXPECT_FALSE(main->enabled);
  host.setBusyCursor(true);
  EXPECT_TRUE(main->busyCursor());
  main.reset();
  ctx().windows().showMainWindow();  // the default host again, not a dangling one
}

// The toolbar's scan button and the pop-up menu's "Scan" open scanFrm on the
// catalogue of the pressed view button, with the main window disabled
// until it closes (by its button or its close box).
TEST_F(MainWindowTest, ScanOpensOnTheToolbarsViewWithTheMainWindowDisabled) {
  const std::string panel = "C:\\FS2002\\Aircraft\\C172\\panel\\";
  writeFile(panel + "panel.cfg", "file=gone.bmp\r\n");

  struct Row {
    int viewButton;
    bool fromMenu;
    const char* caption;
  } rows[] = {{1, false, "Scan Aircraft"}, {2, false, "Scan Panel"}, {3, true, "Scan Sound"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.caption);
    ui::MainWindow window(ctx());
    window.managerFra.catalogue = manager::Catalogue({}, {{{"Cessna panel", panel, "c172\\panel"}}}, {});
    window.ToolBar_ButtonClick(r.viewButton);
    dialogs.allowAnyMessages();
    dialogs.expectModal("scanFrm", [&](core::ModalController& c) {
      auto& form = dynamic_cast<scan::ScanForm&>(c);
      EXPECT_FALSE(window.enabled);
      EXPECT_EQ(r.caption, form.caption);
      form.scanCmd_Click();
      // Only the panel list has an entry.
      EXPECT_EQ(r.viewButton == 2 ? 1 : 0, form.missingFound);
      if (r.fromMenu) {
        EXPECT_TRUE(form.closeBox());
      } else {
        form.okCmd_Click();
      }
    });
    if (r.fromMenu)
      window.scanCap_Click();
    else
      window.ToolBar_ButtonClick(5);
    EXPECT_TRUE(window.enabled);
    EXPECT_TRUE(dialogs.done());
  }
}

}  // namespace

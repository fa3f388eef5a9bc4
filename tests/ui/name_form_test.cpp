#include "ui/name_form.h"

#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace {

using core::Buttons;
using core::Icon;

class NamePrompt : public uitest::ShellFixture {
 protected:
  const std::string refused = "Do NOT use \\ / :  '' * ? < > | in foldername!";
};

TEST_F(NamePrompt, EachModeHasItsCaptionLabelAndProposalAndAnEmptyBoxIsNotTaken) {
  struct Case {
    int mode;
    const char* caption;
    const char* label;
    const char* text;
  };
  state().installFolderName = "cessna172";
  state().archiveBaseName = "Cessna 172";
  for (const Case& c : {Case{1, "Folder name", "Enter folder name:", "cessna172"},
                        Case{2, "Aircraft name", "Enter aircraft name:", "Cessna 172"},
                        Case{3, "Panel name", "Enter panel name:", "Cessna 172"},
                        Case{4, "Sound name", "Enter sound name:", "Cessna 172"}}) {
    SCOPED_TRACE(c.mode);
    state().askName(static_cast<core::NamePrompt>(c.mode));
    ui::NameForm f(ctx());
    f.Form_Load();
    EXPECT_EQ(f.caption, c.caption);
    EXPECT_EQ(f.nameLbl.caption, c.label);
    EXPECT_EQ(f.nameTxt.text, c.text);
    EXPECT_EQ(f.nameTxt.selStart, 0u);
    EXPECT_EQ(f.nameTxt.selLength, f.nameTxt.text.size()) << "typing replaces the proposal";
    // OK on an empty box does nothing; the close box counts as Cancel.
    f.nameTxt.text.clear();
    f.okCmd_Click();
    EXPECT_FALSE(f.unloaded());
    EXPECT_FALSE(state().nameConfirmed);
    EXPECT_EQ(state().installFolderName, "cessna172");
    EXPECT_EQ(state().archiveBaseName, "Cessna 172");
    EXPECT_TRUE(f.closeBox());
    EXPECT_FALSE(state().nameConfirmed);
  }
  EXPECT_TRUE(dialogs.messages().empty());
}

// A reserved or control character, "." or "..", a trailing dot or blank, or
// "TempZip" while that folder exists, is refused and selected; no trial
// folder is left behind.
TEST_F(NamePrompt, AFolderNameWithAReservedCharacterIsRefusedAndSelected) {
  writeFile("Z:\\app\\TempZip\\x.txt");
  for (const char* name : {"a:b", "what?", "x|y", "a\\b", "say \"hi\"", "TempZip", "..", "plane.", "plane ", "a\tb"}) {
    SCOPED_TRACE(name);
    state().askName(core::NamePrompt::FolderName);
    state().installFolderName = "before";
    ui::NameForm f(ctx());
    f.Form_Load();
    f.nameTxt.text = name;
    f.nameTxt.selStart = 1;
    f.nameTxt.selLength = 0;
    dialogs.expectMessage(refused, "Installation aborted", Buttons::OK, Icon::Critical);
    f.okCmd_Click();
    EXPECT_FALSE(f.unloaded());
    EXPECT_FALSE(state().nameConfirmed);
    EXPECT_EQ(state().installFolderName, "before");
    EXPECT_TRUE(f.nameTxt.hasFocus);
    EXPECT_EQ(f.nameTxt.selLength, std::string(name).size());
  }
  EXPECT_EQ(fs->listFolders("Z:\\app"), std::vector<std::string>{"TempZip"});
  EXPECT_TRUE(exists("Z:\\app\\TempZip\\x.txt"));

  // Without that folder the name is taken, and the trial folder removed again.
  fs->deleteFile("Z:\\app\\TempZip\\x.txt");
  fs->removeFolder("Z:\\app\\TempZip");
  ui::NameForm f(ctx());
  f.Form_Load();
  f.nameTxt.text = "TempZip";
  f.okCmd_Click();
  EXPECT_TRUE(f.unloaded());
  EXPECT_EQ(state().installFolderName, "TempZip");
  EXPECT_TRUE(state().nameConfirmed);
  EXPECT_FALSE(fs->folderExists("Z:\\app\\TempZip"));
}

TEST_F(NamePrompt, ThroughTheWindowHostOkConfirmsAndCancelKeepsTheMode) {
  state().archiveBaseName = "Proposal";
  for (bool confirm : {true, false}) {
    SCOPED_TRACE(confirm ? "OK" : "Cancel");
    state().askName(core::NamePrompt::PanelName);
    main->setEnabled(false);
    dialogs.expectModal("nameFrm", [&](core::ModalController& c) {
      auto& f = static_cast<ui::NameForm&>(c);
      f.nameTxt.text = "Learjet Panel";
      confirm ? f.okCmd_Click() : f.cancelCmd_Click();
    });
    ctx().windows().showNamePrompt();
    EXPECT_TRUE(main->enabled);
    EXPECT_EQ(state().nameConfirmed, confirm);
    EXPECT_EQ(state().namePrompt, core::NamePrompt::PanelName);
    EXPECT_EQ(state().archiveBaseName, confirm ? "Learjet Panel" : "Proposal");
    state().archiveBaseName = "Proposal";
  }
}

}  // namespace

#include "ui/history_form.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "manager/build_catalogue.h"
#include "manager/edits.h"
#include "support/journal_fixture.h"

namespace {

// Two panels that ship a gauge of the same name, installed one after the
// other through a journalled context.
class HistoryFormTest : public testsupport::JournalFixture {
 protected:
  HistoryFormTest() { installPanels({"first", "second"}, true); }
  std::string lastMessage() const { return dialogs.messages().empty() ? "" : dialogs.messages().back().text; }
  // Paths in a message are as the installers spelled them.
  bool lastMessageNames(const std::string& text) const {
    return core::lower(lastMessage()).find(core::lower(text)) != std::string::npos;
  }
};

TEST_F(HistoryFormTest, ListsNewestFirstAndUninstallsWithTheEditsOfItsFiles) {
  // An edit of the second panel's files is a row of its own.
  auto catalogue = manager::BuildCatalogue(*jctx);
  ASSERT_TRUE(manager::Apply(*jctx, catalogue,
                             manager::RenameEntry{manager::EntryKind::Panel, "fsfsconv\\panel.second", "Second"})
                  .succeeded());
  auto journal = store();
  ui::HistoryForm form(*jctx, journal);
  form.Form_Load();
  ASSERT_EQ(form.historyLst.count(), 3);
  EXPECT_EQ(form.historyLst.item(0).subItem(2), "rename panel fsfsconv\\panel.second to \"Second\"");
  EXPECT_EQ(form.historyLst.item(0).subItem(3), "edit");
  EXPECT_EQ(form.historyLst.item(0).subItem(8), "made");
  EXPECT_EQ(form.historyLst.item(1).subItem(2), "second.zip");
  EXPECT_EQ(form.historyLst.item(2).subItem(2), "first.zip");
  EXPECT_EQ(form.historyLst.item(2).subItem(3), "panel");
  EXPECT_EQ(form.historyLst.selectedIndex(), 0);
  EXPECT_GT(form.effectsLst.count(), 0);

  // The first panel's gauge was overwritten by the second: asked, answered
  // No, nothing changes; answered Yes, the gauge is left to the second.
  const std::string gauge = "C:\\FS2002\\Gauges\\shared.gau";
  form.historyLst_SelectionChanged(2);
  ASSERT_TRUE(form.uninstallCmd.enabled);
  dialogs.expectMessage("", core::Answer::No);
  form.uninstallCmd_Click();
  EXPECT_EQ(lastMessage().rfind("Uninstall first.zip?\r\n\r\n", 0), 0u) << lastMessage();
  EXPECT_TRUE(lastMessageNames("keep " + gauge + " (left to installation 2")) << lastMessage();
  EXPECT_TRUE(jctx->fs.folderExists("C:\\FS2002\\Aircraft\\FSFSConv\\panel.first"));

  jctx->state.catalogueStale = false;
  dialogs.expectMessage("", core::Answer::Yes);
  form.uninstallCmd_Click();
  EXPECT_TRUE(jctx->state.catalogueStale);
  EXPECT_EQ(lastMessage(), "first.zip is uninstalled.");
  EXPECT_EQ(readFile(gauge), "gauge of second");
  EXPECT_FALSE(jctx->fs.folderExists("C:\\FS2002\\Aircraft\\FSFSConv\\panel.first"));
  // The list is read again and the same installation stays picked.
  EXPECT_EQ(form.historyLst.selectedIndex(), 2);
  EXPECT_NE(form.historyLst.item(2).subItem(8), form.historyLst.item(1).subItem(8));

  // The rename is undone first, so that the panel's file goes too.
  form.historyLst_SelectionChanged(1);
  dialogs.expectMessage("", core::Answer::Yes);
  form.uninstallCmd_Click();
  const std::string question = dialogs.messages().at(dialogs.messages().size() - 2).text;
  EXPECT_NE(question.find("undo rename panel fsfsconv\\panel.second"), std::string::npos) << question;
  EXPECT_EQ(lastMessage(), "second.zip is uninstalled.");
  EXPECT_FALSE(exists(gauge));
  EXPECT_FALSE(form.uninstallCmd.enabled);
  EXPECT_EQ(form.historyLst.item(0).subItem(8), "undone");
  EXPECT_TRUE(dialogs.done());

  // No row selected: an empty pane, and Uninstall does nothing.
  form.historyLst_SelectionChanged(-1);
  EXPECT_EQ(form.effectsLst.count(), 0);
  EXPECT_FALSE(form.uninstallCmd.enabled);
  form.uninstallCmd_Click();
  EXPECT_EQ(lastMessage(), "second.zip is uninstalled.");
}

}  // namespace

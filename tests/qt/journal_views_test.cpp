#include "qt/journal_views.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "support/journal_fixture.h"
#include "ui/history_form.h"

namespace {

// Three panels installed one after the other.
class JournalViews : public testsupport::JournalFixture {
 protected:
  JournalViews() { installPanels({"first", "second", "third"}, false); }
  qt::QtDialogs qtDialogs;
};

void press(QWidget* widget, int key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &down);
}

// The keyboard moves the selection as the mouse does, and the changes pane
// and Uninstall follow it.
TEST_F(JournalViews, HistoryFollowsTheKeyboardSelection) {
  auto journal = store();
  ui::HistoryForm form(*jctx, journal);
  form.Form_Load();
  dialogs.expectMessage("", core::Answer::Yes);
  form.uninstallCmd_Click();
  qt::HistoryView view(form, qtDialogs, nullptr);
  view.show();
  auto* list = view.findChild<qt::ListViewWidget*>("historyLst");
  auto* uninstall = view.findChild<QPushButton*>("uninstallCmd");
  ASSERT_TRUE(list && uninstall);
  ASSERT_EQ(form.historyLst.selectedIndex(), 0);
  EXPECT_FALSE(uninstall->isEnabled()) << "third.zip is uninstalled";

  const auto paneNames = [&form](const std::string& name) {
    for (const auto& row : form.effectsLst.items())
      if (row.subItem(2).find("panel." + name) != std::string::npos) return true;
    return false;
  };
  const struct {
    int key;
    int row;
    const char* archive;
  } steps[] = {{Qt::Key_End, 2, "first"}, {Qt::Key_Up, 1, "second"}, {Qt::Key_Home, 0, "third"}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.archive);
    press(list, s.key);
    EXPECT_EQ(list->currentIndex().row(), s.row);
    EXPECT_EQ(form.historyLst.selectedIndex(), s.row);
    EXPECT_EQ(form.historyLst.item(s.row).subItem(2), std::string(s.archive) + ".zip");
    EXPECT_TRUE(paneNames(s.archive));
    EXPECT_EQ(uninstall->isEnabled(), s.row != 0);
  }
}

}  // namespace

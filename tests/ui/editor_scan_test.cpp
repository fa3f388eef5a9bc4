#include <gtest/gtest.h>

#include "scan/scan_form.h"
#include "support/sim_fixture.h"
#include "ui/main_window.h"

namespace {

class EditorScanTest : public testsupport::SimFixture {
 protected:
  EditorScanTest() { makeSimulator(80, "FS2002"); }
};

// The toolbar's scan button and the pop-up menu's "Scan" open scanFrm on the
// catalogue of the pressed view button, with the main window disabled
// until it closes.
TEST_F(EditorScanTest, ScanOpensOnTheToolbarsViewWithTheMainWindowDisabled) {
  const std::string panel = "C:\\FS2002\\Aircraft\\C172\\panel\\";
  writeFile(panel + "panel.cfg", "file=gone.bmp\r\n");

  struct Row {
    int viewButton;
    bool fromMenu;
    const char* caption;
  } rows[] = {{1, false, "Scan Aircraft"}, {2, false, "Scan Panel"}, {3, true, "Scan Sound"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.caption);
    ui::MainWindow main(ctx());
    main.managerFra.panelLst.add("Cessna panel", {panel, "c172\\panel"});
    main.ToolBar_ButtonClick(r.viewButton);
    dialogs.allowAnyMessages();
    dialogs.expectModal("scanFrm", [&](core::ModalController& c) {
      auto& form = dynamic_cast<scan::ScanForm&>(c);
      EXPECT_FALSE(main.enabled);
      EXPECT_EQ(r.caption, form.caption);
      form.scanCmd_Click();
      // Only the panel list has an entry.
      EXPECT_EQ(r.viewButton == 2 ? 1 : 0, form.missingFound);
      form.okCmd_Click();
    });
    if (r.fromMenu)
      main.scanCap_Click();
    else
      main.ToolBar_ButtonClick(5);
    EXPECT_TRUE(main.enabled);
    EXPECT_TRUE(dialogs.done());
  }
}

}  // namespace

#include "scan/scan_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "scan/print_report.h"
#include "scan_fixture.h"
#include "support/temp_dir.h"

namespace scantest {
namespace {

const std::string kSound = "C:\\FS2002\\Aircraft\\C172\\sound\\";

class ScanFormTest : public ScanFixture {
 protected:
  ScanFormTest() {
    writeFile(kSound + "sound.cfg", "filename=engine\r\n");
    sounds.push_back({{"Cessna sound", kSound, "c172\\sound"}});
  }

  scan::ScanForm form(scan::ScanView view) {
    catalogue = manager::Catalogue({}, panels, sounds);
    return scan::ScanForm(scanCtx(), view, catalogue);
  }

  std::vector<manager::PanelEntry> panels;
  std::vector<manager::SoundEntry> sounds;
  manager::Catalogue catalogue;
};

// The first pressed view button names the dialog and the list it scans; with
// none the report is "Error". Print waits for a report.
TEST_F(ScanFormTest, ViewButtonsPickTheCaptionAndTheList) {
  const std::string panel = "C:\\FS2002\\Aircraft\\C172\\panel\\";
  writeFile(panel + "panel.cfg");
  panels.push_back({{"Cessna panel", panel, "c172\\panel"}});
  const std::string panelReport = expectedReport("panel", {{panel + "panel.cfg:", "Panel: OK"}});
  dialogs.allowAnyMessages();
  const struct {
    bool b1, b2, b3;
    const char* caption;
    std::string report;
  } rows[] = {{true, true, false, "Scan Aircraft", expectedReport("aircraft", {})},
              {false, true, false, "Scan Panel", panelReport},
              {false, true, true, "Scan Panel", panelReport},
              {false, false, true, "Scan Sound",
               expectedReport("sound", {{kSound + "sound.cfg:", "Missing file: " + kSound + "engine.wav"}})},
              {false, false, false, "Scan Error", "Error"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.caption);
    auto f = form(scan::ScanViewFromToolbar(r.b1, r.b2, r.b3));
    EXPECT_EQ(r.caption, f.caption);
    EXPECT_FALSE(f.printCmd.enabled || f.saveTxtCmd.enabled || f.savePdfCmd.enabled);
    f.scanCmd_Click();
    EXPECT_EQ(r.report, f.checkTxt.text);
  }
  EXPECT_EQ((std::vector<std::string>{"All files are OK!", "All files are OK!", "All files are OK!",
                                      "1 file is missing, in 1 entry.", "All files are OK!"}),
            dialogs.messageTexts());
}

TEST_F(ScanFormTest, ScanWithMissingFilesWarnsAndEnablesPrint) {
  const std::string quiet = "C:\\FS2002\\Aircraft\\Quiet\\sound\\";
  writeFile(quiet + "sound.cfg", "filename=hum\r\nfilename=buzz\r\n");
  const std::string fine = "C:\\FS2002\\Aircraft\\Fine\\sound\\";
  writeFile(fine + "sound.cfg");
  sounds.push_back({{"Quiet sound", quiet, "quiet\\sound"}});
  sounds.push_back({{"Fine sound", fine, "fine\\sound"}});
  const std::vector<std::string> quietEntry{quiet + "sound.cfg:", "Missing file: " + quiet + "hum.wav",
                                            "Missing file: " + quiet + "buzz.wav"};
  auto f = form(scan::ScanView::Sounds);
  std::vector<bool> okEnabled, closeRefused;
  f.onChange = [&] {
    okEnabled.push_back(f.okCmd.enabled);
    if (f.busyPointer) closeRefused.push_back(!f.closeBox());
  };
  dialogs.expectMessage("3 files are missing, in 2 entries.", "Missing files", core::Buttons::OK,
                        core::Icon::Exclamation);

  // Detection runs first: a lost simulator folder is found again.
  scanCtx().state.simFolder = "C:\\Elsewhere";
  f.scanCmd_Click();

  EXPECT_EQ("C:\\FS2002", scanCtx().state.simFolder);
  const std::vector<std::string> engineEntry{kSound + "sound.cfg:", "Missing file: " + kSound + "engine.wav"};
  const std::string full = f.checkTxt.text;
  EXPECT_EQ(expectedReport("sound", {engineEntry, {fine + "sound.cfg:", "Sound: OK"}, quietEntry}), full);
  EXPECT_EQ(1, f.missingFound);
  // The check box hides the entries without missing files, and shows the
  // whole report again.
  EXPECT_TRUE(f.missingChk.enabled);
  const auto recorded = std::exchange(f.onChange, nullptr);
  f.missingChk.value = 1;
  f.missingChk_Click();
  EXPECT_EQ(expectedReport("sound", {engineEntry, quietEntry}), f.checkTxt.text);
  f.missingChk.value = 0;
  f.missingChk_Click();
  EXPECT_EQ(full, f.checkTxt.text);
  f.onChange = recorded;
  EXPECT_TRUE(f.printCmd.enabled && f.saveTxtCmd.enabled && f.savePdfCmd.enabled);
  EXPECT_FALSE(f.busyPointer);
  // Close (button and box) is refused from the start of the scan until its end.
  ASSERT_GE(okEnabled.size(), 3u);  // cleared, progress, done
  EXPECT_EQ(std::vector<bool>(okEnabled.size() - 1, false), std::vector<bool>(okEnabled.begin(), okEnabled.end() - 1));
  EXPECT_TRUE(okEnabled.back());
  EXPECT_EQ(std::vector<bool>(closeRefused.size(), true), closeRefused);
  EXPECT_FALSE(closeRefused.empty());
  EXPECT_FALSE(f.unloaded());

  // Scanning again replaces the report, counts again and keeps the filter.
  writeFile(kSound + "engine.wav");
  f.missingChk.value = 1;
  dialogs.expectMessage("2 files are missing, in 1 entry.", "Missing files", core::Buttons::OK,
                        core::Icon::Exclamation);
  f.scanCmd_Click();
  EXPECT_EQ(expectedReport("sound", {quietEntry}), f.checkTxt.text);
  EXPECT_TRUE(dialogs.done());

  // Print sends the report and leaves no print file; before a scan it has
  // nothing to print.
  f.printCmd_Click();
  EXPECT_EQ(1, printer.documentsEnded);
  EXPECT_FALSE(printer.lines.empty());
  EXPECT_FALSE(exists(scanCtx().appFolder() + "\\print.txt"));
  form(scan::ScanView::Sounds).printCmd_Click();
  EXPECT_EQ(1, printer.documentsEnded);
}

// Save writes the report as the box shows it, whole or filtered, where the
// save dialog points: as text with LF line ends, or as Print's pages. A
// failed save names the file and its cause and claims nothing.
TEST_F(ScanFormTest, SaveWritesTheReportAsShown) {
  const std::string fine = "C:\\FS2002\\Aircraft\\Fine\\sound\\";
  writeFile(fine + "sound.cfg");
  sounds.push_back({{"Fine sound", fine, "fine\\sound"}});
  auto f = form(scan::ScanView::Sounds);
  dialogs.allowAnyMessages();
  f.scanCmd_Click();

  const std::string head = "----- Scanning for missing sound files -----\n\n";
  const std::string engine = kSound + "sound.cfg:\nMissing file: " + kSound + "engine.wav\n\n";
  const std::string whole = head + engine + fine + "sound.cfg:\nSound: OK\n\n" + kScanDone + "\n";
  const std::string missingOnly = head + engine + kScanDone + "\n";
  const std::string closing = "\n\n\nHangarpak 2000 (Version 3.2)\n" + std::string(scan::kPrintNotice) + "\n";
  const std::string docs = root + "/docs", notSaved = "Report not saved: The report could not be saved as ";
  std::filesystem::create_directories(docs);
  const struct {
    bool pdf;
    int missingOnly;
    std::string file, written, said;  // said: the message's title and text up to its first colon
  } rows[] = {{false, 0, docs + "/r.txt", whole, ""},
              {false, 1, docs + "/r.txt", missingOnly, ""},
              {true, 1, docs + "/r.pdf", missingOnly + closing, ""},
              {false, 0, root + "/gone/r.txt", "", notSaved + root + "/gone/r.txt.\r\n\r\nNo folder " + root + "/gone"},
              {true, 0, docs, "", notSaved + docs + ".\r\n\r\n" + docs + " is a folder"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    f.missingChk.value = r.missingOnly;
    f.missingChk_Click();
    const std::size_t before = dialogs.messages().size();
    dialogs.expectSaveFile(r.pdf ? "Save the report as PDF" : "Save the report as text", r.file);
    r.pdf ? f.savePdfCmd_Click() : f.saveTxtCmd_Click();
    const auto& m = dialogs.messages().back();
    EXPECT_EQ(r.said, dialogs.messages().size() > before ? m.title + ": " + m.text.substr(0, m.text.find(':')) : "");
    EXPECT_EQ(r.said.empty() ? "Report saved as " + r.file : "", f.statusLbl.caption);
    if (!r.written.empty()) {
      EXPECT_EQ(r.written, testsupport::readHostFile(r.file));
    }
  }
}

}  // namespace
}  // namespace scantest

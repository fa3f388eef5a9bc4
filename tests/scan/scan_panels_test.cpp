#include "scan/scan_panels.h"

#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace scantest {
namespace {

const std::string kPanel = "C:\\FS2002\\Aircraft\\C172\\panel\\";
const std::string kGauges = "C:\\FS2002\\gauges\\";

struct PanelCase {
  const char* name;
  std::string cfg;
  std::vector<std::string> files;  // Windows paths that exist
  std::vector<std::string> lines;  // after the header; "{F}" is the panel folder
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const PanelCase& c, std::ostream* os) {
  *os << c.name;
}

const PanelCase kCases[] = {
    {"EmptyConfiguration", "", {}, {"Panel: OK"}},
    {"BitmapPresent", "[Window00]\r\nfile=Day.bmp\r\n", {kPanel + "day.BMP"}, {"Panel: OK"}},
    {"BitmapMissing", "[Window00]\r\nfile = night.bmp \r\n", {}, {"Missing file: {F}night.bmp"}},
    {"LongerFileKey", "[Window00]\r\nFILE_1024=big.bmp\r\n", {}, {"Missing file: {F}big.bmp"}},
    {"FileFieldWithoutEquals", "file_day\r\n", {}, {"Missing file: {F}file_day"}},
    {"QuotedField", "\"file=night.bmp\"\r\n", {}, {"Missing file: {F}night.bmp"}},
    {"BlanksBeforeMissingGauge",
     "[Window00]\r\n\tgauge00=Cessna!Attitude, 20, 30\r\n",
     {},
     {"Missing file: " + kGauges + "Cessna.gau (cab)"}},
    {"GaugeWithBangAndTwoNumbers",
     "gauge01= Bendix King ! Radio ,10,20\r\n",
     {},
     {"Missing file: " + kGauges + "Bendix King.gau (cab)"}},
    {"GaugeOnlyAsCab", "gauge01=radios!com,10,20\r\n", {"C:\\FS2002\\Gauges\\Radios.CAB"}, {"Panel: OK"}},
    {"GaugeWithoutEquals", "gauge02\r\n", {}, {"Panel: OK"}},
    {"GaugeWithEmptyName", "gauge03=!x,1,1\r\n", {}, {"Missing file: " + kGauges + ".gau (cab)"}},
    {"GaugeInPanelFolderDoesNotCount",
     "gauge03=own,1,1\r\n",
     {kPanel + "own.gau"},
     {"Missing file: " + kGauges + "own.gau (cab)"}},
    {"UpDirBitmap",
     "file=..\\..\\Other\\panel\\shared.bmp\r\n",
     {"C:\\FS2002\\Aircraft\\Other\\Panel\\shared.bmp"},
     {"Panel: OK"}},
    {"UpDirBitmapMissing",
     "file=..\\..\\Other\\panel\\gone.bmp\r\n",
     {},
     {"Missing file: C:\\FS2002\\aircraft\\Other\\panel\\gone.bmp"}},
    {"SeveralMissing",
     "[Window00]\r\nfile=a.bmp\r\ngauge00=g1!x,1,2\r\n[Window01]\r\nfile=b.bmp\r\n",
     {},
     {"Missing file: {F}a.bmp", "Missing file: " + kGauges + "g1.gau (cab)", "Missing file: {F}b.bmp"}},
};

class ScanPanelsTest : public ScanFixture, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(ScanPanelsTest, ChecksBitmapsAndGauges) {
  const PanelCase& c = GetParam();
  writeFile(kPanel + "panel.cfg", c.cfg);
  for (const auto& f : c.files) writeFile(f);
  core::ListView panelLst;
  panelLst.add("Cessna panel", {kPanel, "c172\\panel"});

  std::vector<std::string> entry{kPanel + "panel.cfg:"};
  for (const auto& line : c.lines) entry.push_back(withFolder(line, kPanel));
  EXPECT_EQ(expectedReport("panel", {entry}), run(scan::ScanPanels, panelLst));
  EXPECT_EQ(c.lines != std::vector<std::string>{"Panel: OK"} ? 1 : 0, missingFound);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanPanelsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using ScanPanelsListTest = ScanFixture;

// An unreadable or missing configuration is reported and the scan goes on;
// names in the Windows code page come out in UTF-8.
TEST_F(ScanPanelsListTest, EveryEntryIsReportedInListOrder) {
  EXPECT_EQ("----- Scanning for missing panel files -----\r\n\r\n----- Scanning done! -----",
            run(scan::ScanPanels, core::ListView{}));
  const std::string b = "C:\\FS2002\\Aircraft\\B737\\panel\\", c = "C:\\FS2002\\Aircraft\\Gone\\panel\\";
  writeFile(kPanel + "panel.cfg", "file=day.bmp\r\n");
  writeFile(b + "panel.cfg", "file=m\xe9t\xe9o.bmp\r\n");
  const std::string locked = host(kPanel + "panel.cfg");
  fwd.failRead = [&](std::string_view p) { return host(p) == locked; };

  core::ListView panelLst;
  panelLst.add("A", {kPanel, "c172\\panel"});
  panelLst.add("B", {b, "b737\\panel"});
  panelLst.add("C", {c, "gone\\panel"});
  EXPECT_EQ(expectedReport("panel", {{kPanel + "panel.cfg:", "Cannot read file: " + kPanel + "panel.cfg"},
                                     {b + "panel.cfg:", "Missing file: " + b + "m\xc3\xa9t\xc3\xa9o.bmp"},
                                     {c + "panel.cfg:", "Cannot read file: " + c + "panel.cfg"}}),
            run(scan::ScanPanels, panelLst));
  EXPECT_EQ(1, missingFound);
}

}  // namespace
}  // namespace scantest

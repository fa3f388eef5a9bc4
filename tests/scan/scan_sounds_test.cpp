#include "scan/scan_sounds.h"

#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace scantest {
namespace {

const std::string kSound = "C:\\FS2002\\Aircraft\\C172\\sound\\";

struct SoundCase {
  const char* name;
  std::string cfg;
  std::vector<std::string> files;  // Windows paths that exist
  std::vector<std::string> lines;  // after the header; "{F}" is the sound folder
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const SoundCase& c, std::ostream* os) {
  *os << c.name;
}

const SoundCase kCases[] = {
    {"EmptyConfiguration", "", {}, {"Sound: OK"}},
    {"WaveInOwnFolder", "[ENGINE]\r\nfilename=engine\r\nflags=0\r\n", {kSound + "Engine.WAV"}, {"Sound: OK"}},
    {"WaveMissing", "[ENGINE]\r\nfilename=engine\r\n", {}, {"Missing file: {F}engine.wav"}},
    {"WaveOnlyInSimulatorSoundFolder", "filename=stall\r\n", {"C:\\FS2002\\Sound\\stall.wav"}, {"Sound: OK"}},
    {"FirstNameFoundEndsTheLine", "filename=a, b, c\r\n", {kSound + "a.wav"}, {"Sound: OK"}},
    {"MissingNamesReportedUntilOneIsFound",
     "filename= a ,b,c\r\n",
     {"C:\\FS2002\\Sound\\b.wav"},
     {"Missing file: {F}a.wav"}},
    {"AllNamesMissing",
     "filename=a,b,c\r\n",
     {},
     {"Missing file: {F}a.wav", "Missing file: {F}b.wav", "Missing file: {F}c.wav"}},
    {"BlanksBeforeFilenameIgnored", "[ENGINE]\r\n   filename=gone\r\n\tfilename=gone2\r\n", {}, {"Sound: OK"}},
    {"LongerKeyCounts", "filename2=gone\r\n", {}, {"Missing file: {F}gone.wav"}},
    {"FilenameWithoutEquals", "filename\r\n", {}, {"Sound: OK"}},
    {"WaveIsAFolder", "filename=engine\r\n", {kSound + "engine.wav\\x"}, {"Missing file: {F}engine.wav"}},
    {"LastLineWithoutLineEnd", "filename=a\r\nfilename=b", {kSound + "a.wav"}, {"Missing file: {F}b.wav"}},
};

class ScanSoundsTest : public ScanFixture, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(ScanSoundsTest, ChecksWaveFiles) {
  const SoundCase& c = GetParam();
  writeFile(kSound + "sound.cfg", c.cfg);
  for (const auto& f : c.files) writeFile(f);
  core::ListView lydLst;
  lydLst.add("Cessna sound", {kSound, "c172\\sound"});

  std::vector<std::string> entry{kSound + "sound.cfg:"};
  for (const auto& line : c.lines) entry.push_back(withFolder(line, kSound));
  EXPECT_EQ(expectedReport("sound", {entry}), run(scan::ScanSounds, lydLst));
  EXPECT_EQ(c.lines != std::vector<std::string>{"Sound: OK"} ? 1 : 0, missingFound);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanSoundsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using ScanSoundsListTest = ScanFixture;

TEST_F(ScanSoundsListTest, EntriesInListOrderUnreadableOneReported) {
  EXPECT_EQ("----- Scanning for missing sound files -----\r\n\r\n----- Scanning done! -----",
            run(scan::ScanSounds, core::ListView{}));
  const std::string other = "C:\\FS2002\\Aircraft\\B737\\sound\\";
  writeFile(kSound + "sound.cfg", "filename=a\r\n");
  writeFile(other + "sound.cfg", "filename=a\r\n");
  writeFile(kSound + "a.wav");
  const std::string locked = host(other + "sound.cfg");
  fwd.failRead = [&](std::string_view p) { return host(p) == locked; };

  core::ListView lydLst;
  lydLst.sorted = true;
  lydLst.add("Boeing", {other, "b737\\sound"});
  lydLst.add("Airbus", {kSound, "c172\\sound"});
  EXPECT_EQ(expectedReport("sound", {{kSound + "sound.cfg:", "Sound: OK"},
                                     {other + "sound.cfg:", "Cannot read file: " + other + "sound.cfg"}}),
            run(scan::ScanSounds, lydLst));
  EXPECT_EQ(1, missingFound);
}

}  // namespace
}  // namespace scantest

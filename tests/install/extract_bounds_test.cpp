#include <chrono>
#include <filesystem>

#include "core/context.h"
#include "install/extract.h"
#include "install/install_archive.h"
#include "install/install_fixture.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"
#include "support/zip_bytes.h"
#include "support/zip_quine.h"

namespace installtest {
namespace {

using testsupport::ArchiveBuilder;
using testsupport::getLe;
using testsupport::le;
using testsupport::putLe;

// The overlapping bomb: the archive's one member, listed `copies` more times
// in the central directory, every entry pointing at the same data.
std::string overlappingBomb(const ArchiveBuilder& one, int copies) {
  std::string zip = one.bytes();
  const std::size_t end = testsupport::endRecord(zip);
  const std::size_t cd = getLe(zip, end + 16, 4), cdSize = getLe(zip, end + 12, 4);
  const std::string entry = zip.substr(cd, cdSize);
  std::string tail = zip.substr(end);
  zip.resize(end);
  for (int i = 0; i < copies; ++i) zip += entry;
  putLe(tail, 10, static_cast<std::uint32_t>(copies + 1) * 0x10001u, 4);  // both entry counts
  putLe(tail, 12, static_cast<std::uint32_t>(cdSize * (copies + 1)), 4);
  return zip + tail;
}

// The member's declared size, in its local header and in the central
// directory, replaced by a smaller one.
std::string lyingSize(const ArchiveBuilder& one, std::uint32_t declared) {
  std::string zip = one.bytes();
  putLe(zip, 22, declared, 4);
  putLe(zip, getLe(zip, testsupport::endRecord(zip) + 16, 4) + 24, declared, 4);
  return zip;
}

// An archive of `count` empty stored members, written by hand: libzip takes
// seconds to write a hundred thousand. Its end records are the 64-bit ones,
// since the count does not fit 16 bits.
std::string crowdedArchive(std::uint32_t count) {
  std::string local, central;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string name = "z" + std::to_string(i);
    const std::size_t offset = local.size();
    le(local, 0x04034b50, 4), le(local, 20, 2), le(local, 0, 22), le(local, name.size(), 2), le(local, 0, 2);
    local += name;
    le(central, 0x02014b50, 4), le(central, 20, 2), le(central, 20, 2), le(central, 0, 20);
    le(central, name.size(), 2), le(central, 0, 12), le(central, offset, 4);
    central += name;
  }
  std::string zip = local + central;
  const std::size_t end64 = zip.size();
  le(zip, 0x06064b50, 4), le(zip, 44, 8), le(zip, 45, 2), le(zip, 45, 2), le(zip, 0, 8);
  le(zip, count, 8), le(zip, count, 8), le(zip, central.size(), 8), le(zip, local.size(), 8);
  le(zip, 0x07064b50, 4), le(zip, 0, 4), le(zip, end64, 8), le(zip, 1, 4);
  le(zip, 0x06054b50, 4), le(zip, 0, 4), le(zip, 0xffffffff, 4), le(zip, central.size(), 4);
  le(zip, local.size(), 4), le(zip, 0, 2);
  return zip;
}

ArchiveBuilder zeros(int members, std::size_t size, const std::string& prefix = "z") {
  ArchiveBuilder a;
  for (int i = 0; i < members; ++i) a.add(prefix + std::to_string(i) + ".bin", std::string(size, '\0'));
  return a;
}

// The last message shown names the archive and says why it was refused.
void expectRefusal(const testsupport::ScriptedDialogs& dialogs, const std::string& path, const std::string& why) {
  ASSERT_FALSE(dialogs.messages().empty());
  const auto& m = dialogs.messages().back();
  EXPECT_EQ(m.text.rfind(path + "\r\n\r\n", 0), 0u) << m.text;
  EXPECT_NE(m.text.find(why), std::string::npos) << m.text;
  EXPECT_EQ(m.title, "Installation aborted");
}

class ExtractBoundsTest : public InstallFixture {
 protected:
  ExtractBoundsTest()
      : counting(*fs),
        counted(env, ctx().locations, drives, counting, *settings, *registry, *launcher, dialogs, printer) {
    counted.setWindowHost(&windows);
    std::filesystem::create_directories(tempZipHost());
    dialogs.allowAnyMessages();
  }
  testsupport::ForwardingFs counting;  // never fails; counts the bytes written
  core::Context counted;
};

constexpr std::uint64_t kMiB = 1 << 20;

TEST_F(ExtractBoundsTest, HostileArchivesAreRefusedQuicklyWithinTheBound) {
  ArchiveBuilder level = zeros(10, kMiB);  // 10 MiB in 10 KB
  ArchiveBuilder nestedBomb;
  for (int i = 0; i < 10; ++i) nestedBomb.addArchive("inner" + std::to_string(i) + ".zip", level);
  // A quine holds itself byte for byte, beside a pad that each level it is
  // extracted at writes again.
  const std::string quine = testsupport::zipQuine("q.zip", zeros(1, 3 * kMiB, "pad"));
  ArchiveBuilder inflated;
  inflated.add("big.bin", std::string(12 * kMiB, '\0'));

  struct Case {
    const char* name;
    std::string bytes;
    std::string why;  // empty: extracted, within the bounds
  };
  const Case cases[] = {
      {"overlapping", overlappingBomb(zeros(1, 4 * kMiB), 200), "files overlap"},
      {"nested", nestedBomb.bytes(), "unpacks to more than 4 MB"},
      {"quine", quine, "unpacks to more than 4 MB"},
      {"lying size", lyingSize(inflated, 100), "unpacks to more than 4 MB"},
      {"many members", zeros(21, 0).bytes(), "holds more than 20 files"},
      {"many nested members",
       ArchiveBuilder().addArchive("a.zip", zeros(15, 0)).addArchive("b.zip", zeros(15, 0)).bytes(),
       "holds more than 20 files"},
  };
  install::ExtractLimits limits;
  limits.minBytes = 4 * kMiB;
  limits.maxMembers = 20;
  {  // One level of the quine gives the archive back.
    writeFile("C:\\Downloads\\one.zip", quine);
    install::ExtractBudget once(limits, quine.size());
    ASSERT_EQ(install::UnzipToTempZip(counted, "C:\\Downloads\\one.zip", once), install::UnzipStatus::Done);
    ASSERT_EQ(tempZipFile("q.zip"), quine);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(tempZipHost());
    std::filesystem::create_directories(tempZipHost());
    const std::string path = "C:\\Downloads\\" + std::string(c.name) + ".zip";
    writeFile(path, c.bytes);
    counting.bytesWritten = 0;
    const auto shown = dialogs.messages().size();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(install::ExtractArchive(counted, path, limits), c.why.empty());
    if (c.why.empty())
      EXPECT_EQ(dialogs.messages().size(), shown);
    else
      expectRefusal(dialogs, path, c.why);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_LE(counting.bytesWritten, limits.minBytes);
    EXPECT_LE(tempZipFiles().size(), limits.maxMembers);
  }
}

TEST_F(ExtractBoundsTest, TheByteBoundIsTheLargerOfTheFloorAndFiftyTimesTheArchive) {
  const install::ExtractLimits limits;
  EXPECT_EQ(limits.bytesFor(0), 256 * kMiB);
  EXPECT_EQ(limits.bytesFor(5 * kMiB), 256 * kMiB);
  EXPECT_EQ(limits.bytesFor(6 * kMiB), 300 * kMiB);
  EXPECT_EQ(limits.bytesFor(UINT64_MAX / 2), UINT64_MAX);
}

TEST_F(ExtractBoundsTest, AnArchiveAtTheLimitsIsExtracted) {
  install::ExtractLimits limits;
  limits.minBytes = 2 * kMiB;
  limits.maxMembers = 4;
  writeFile("C:\\Downloads\\fits.zip", zeros(4, kMiB / 2).bytes());
  EXPECT_TRUE(install::ExtractArchive(counted, "C:\\Downloads\\fits.zip", limits));
  EXPECT_EQ(tempZipFiles().size(), 4u);
}

TEST_F(ExtractBoundsTest, AHundredThousandAndOneMembersAreRefusedUnderTheRealLimits) {
  const std::string path = "C:\\Downloads\\crowd.zip";
  writeFile(path, crowdedArchive(100001));
  EXPECT_FALSE(install::ExtractArchive(counted, path));
  expectRefusal(dialogs, path, "holds more than 100000 files");
  EXPECT_TRUE(tempZipFiles().empty());
}

class BoundsInstallTest : public InstallFixture {
 protected:
  BoundsInstallTest() { makeSimulator(80); }
};

TEST_F(BoundsInstallTest, ARefusedArchiveInstallsNothingAndLeavesTempZipClear) {
  ArchiveBuilder plane;
  plane.add("plane.air", std::string(4 * kMiB, 'a')).add("aircraft.cfg", "[fltsim.0]\r\ntitle=Plane\r\n");
  writeFile("C:\\Downloads\\bomb.zip", overlappingBomb(plane, 50));
  const auto before = testsupport::snapshotTree(host("C:\\FS2002"));
  dialogs.allowAnyMessages();
  state().currentArchivePath = "C:\\Downloads\\bomb.zip";
  install::InstallArchive(ctx(), state().currentArchivePath);
  expectRefusal(dialogs, "C:\\Downloads\\bomb.zip", "files overlap");
  EXPECT_EQ(state().installedCount, 0);
  EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(host("C:\\FS2002"))), "");
  EXPECT_FALSE(std::filesystem::exists(tempZipHost()));
}

}  // namespace
}  // namespace installtest

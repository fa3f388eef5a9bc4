#include "install/extract.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/install_fixture.h"
#include "install/member_names.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"

namespace installtest {
namespace {

using testsupport::ArchiveBuilder;
using Enc = ArchiveBuilder::Encryption;

TEST(FlatMemberName, KeepsTheLastComponentOfAnyForm) {
  struct Case {
    std::string stored;
    std::optional<std::string> flat;
  };
  const Case cases[] = {
      {"plane.air", "plane.air"},
      {"Cessna/model/plane.mdl", "plane.mdl"},
      {"../evil.txt", "evil.txt"},
      {"/etc/evil.txt", "evil.txt"},
      {"C:\\Windows\\evil.dll", "evil.dll"},
      {"C:evil.dll", "evil.dll"},
      {"folder/", std::nullopt},
      {"", std::nullopt},
      {"a/..", std::nullopt},
      {std::string(256, 'x'), std::nullopt},
      {std::string("a\0b", 3), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(install::FlatMemberName(c.stored), c.flat);
  }
}

class ExtractTest : public InstallFixture {
 protected:
  // Extracts the archive as an installation does: into a fresh TempZip.
  bool extract(const ArchiveBuilder& archive, const std::string& name = "addon.zip") {
    const std::string path = putArchive(name, archive);
    std::filesystem::create_directories(tempZipHost());
    return install::ExtractArchive(ctx(), path);
  }
};

// Members come out flat; the same name in another case leaves one file, the
// last extracted, over what TempZip held; nested archives (any name ending
// in "zip") are opened and deleted.
TEST_F(ExtractTest, WritesEveryMemberFlatIntoTempZip) {
  testsupport::writeHostFile(tempZipHost() + "/Plane.AIR", "old");
  ArchiveBuilder inner;
  inner.add("inner.air", "air");
  ArchiveBuilder a;
  a.add("Cessna/plane.air", "air").add("Cessna\\Model\\plane.mdl", "mdl").addFolder("Cessna/Texture/");
  a.add("a\\readme.txt", "first").add("b\\README.TXT", "second").addArchive("Inner.ZIP", inner);
  a.add("notes.gzip", "not an archive at all");
  ASSERT_TRUE(extract(a));
  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"Plane.AIR", "inner.air", "plane.mdl", "readme.txt"}));
  EXPECT_EQ(tempZipFile("Plane.AIR"), "air");
  EXPECT_EQ(tempZipFile("readme.txt"), "second");
}

// Five nested levels come out, a sixth stays an archive; what is no archive
// at all extracts nothing, silently.
TEST_F(ExtractTest, FiveNestedLevelsComeOutSixStayAnArchive) {
  for (int levels : {5, 6}) {
    SCOPED_TRACE(levels);
    std::filesystem::remove_all(tempZipHost());
    ASSERT_TRUE(extract(testsupport::nestedArchive(levels, "deep.air", "air"), "nested.zip"));
    EXPECT_EQ(tempZipFiles(), std::vector<std::string>{levels == 5 ? "deep.air" : "level6.zip"});
  }
  std::filesystem::remove_all(tempZipHost());
  writeFile("C:\\Downloads\\broken.zip", "PK\x03\x04 but nothing after");
  std::filesystem::create_directories(tempZipHost());
  EXPECT_TRUE(install::ExtractArchive(ctx(), "C:\\Downloads\\broken.zip"));
  EXPECT_TRUE(tempZipFiles().empty());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ExtractTest, HostileNamesWriteNothingOutsideTempZip) {
  ArchiveBuilder a;
  a.add("../../up2.txt", "2")
      .add("..\\..\\..\\up3.txt", "3")
      .add("/tmp/absolute.txt", "4")
      .add("C:drive2.txt", "6")
      .add("..", "8")
      .add("a/.", "9")
      .addSymlink("link", root)
      .addSymlink("uplink", "../../..")
      .add("link/through.txt", "10")
      .add("uplink\\through2.txt", "11");
  const std::string path = putArchive("hostile.zip", a);
  std::filesystem::create_directories(tempZipHost());
  const auto before = testsupport::snapshotTree(root);
  ASSERT_TRUE(install::ExtractArchive(ctx(), path));
  auto after = testsupport::snapshotTree(root);

  // Only TempZip may have changed.
  for (auto it = after.begin(); it != after.end();) {
    if (it->first.rfind("app/TempZip/", 0) == 0)
      it = after.erase(it);
    else
      ++it;
  }
  EXPECT_EQ(testsupport::treeDifferences(before, after), "");

  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"absolute.txt", "drive2.txt", "link", "through.txt",
                                                      "through2.txt", "up2.txt", "up3.txt", "uplink"}));
  // A link member is a plain file holding its target's text.
  EXPECT_FALSE(std::filesystem::is_symlink(tempZipHost() + "/link"));
  EXPECT_EQ(tempZipFile("link"), root);
  EXPECT_EQ(tempZipFile("uplink"), "../../..");
}

// One question for the archive: the right answer opens the later members too.
TEST_F(ExtractTest, EncryptedMembersOpenWithTheRightPasswordOnly) {
  for (Enc method : {Enc::Aes256, Enc::Traditional})
    for (const char* answer : {"pilot", "copilot"}) {
      SCOPED_TRACE(std::string(method == Enc::Aes256 ? "AES " : "traditional ") + answer);
      std::filesystem::remove_all(tempZipHost());
      ArchiveBuilder a;
      a.addEncrypted("plane.air", std::string(5000, 'a'), "pilot", method)
          .addEncrypted("plane.mdl", "secret mdl", "pilot", method)
          .add("readme.txt", "open");
      dialogs.expectInput("Please Enter The Password!", answer);
      // A wrong answer is asked again at the next member.
      if (answer != std::string("pilot")) dialogs.expectInput("Please Enter The Password!", answer);
      ASSERT_TRUE(extract(a));
      const std::vector<std::string> opened = {"plane.air", "plane.mdl", "readme.txt"};
      EXPECT_EQ(tempZipFiles(), answer == std::string("pilot") ? opened : std::vector<std::string>{"readme.txt"});
      EXPECT_FALSE(state().skipPasswords);
    }
  EXPECT_EQ(tempZipFile("readme.txt"), "open");
}

TEST_F(ExtractTest, AnEmptyAnswerOrCancelSkipsEveryLaterEncryptedMember) {
  for (bool cancel : {false, true}) {
    SCOPED_TRACE(cancel ? "cancel" : "empty answer");
    std::filesystem::remove_all(tempZipHost());
    state().skipPasswords = false;
    ArchiveBuilder a;
    a.addEncrypted("a.air", "a", "pilot").addEncrypted("b.air", "b", "pilot").add("readme.txt", "open");
    dialogs.expectInput("Please Enter The Password!", cancel ? std::nullopt : std::optional<std::string>(""));
    ASSERT_TRUE(extract(a, "first.zip"));
    EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"readme.txt"}));
    EXPECT_TRUE(state().skipPasswords);

    // A later archive of the run is not asked about (no input expected).
    ArchiveBuilder b;
    b.addEncrypted("c.air", "c", "pilot", Enc::Traditional);
    ASSERT_TRUE(extract(b, "second.zip"));
    EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"readme.txt"}));
  }
}

TEST_F(ExtractTest, AMemberFailingItsCheckSumIsNotLeftBehind) {
  const std::string payload(4000, 'Q');
  ArchiveBuilder a;
  a.addStored("plane.air", payload).add("readme.txt", "open");
  std::string bytes = a.bytes();
  const auto at = bytes.find(payload);
  ASSERT_NE(at, std::string::npos);
  bytes[at + 1000] = 'R';
  writeFile("C:\\Downloads\\damaged.zip", bytes);
  std::filesystem::create_directories(tempZipHost());
  ASSERT_TRUE(install::ExtractArchive(ctx(), "C:\\Downloads\\damaged.zip"));
  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"readme.txt"}));
}

TEST_F(ExtractTest, StopsBeforeTheDiskKeepsLessThanTheReserve) {
  testsupport::ForwardingFs tight(*fs);
  auto smallp = contextWith(&tight);
  core::Context& small = *smallp;
  small.setWindowHost(&windows);
  ArchiveBuilder a;
  a.add("a.txt", std::string(1000, 'a')).add("b.air", std::string(3000, 'b')).add("c.txt", "c");
  const std::string path = putArchive("big.zip", a);

  // Room for the first member only.
  tight.free = install::kExtractReserve + 2000;
  std::filesystem::create_directories(tempZipHost());
  dialogs.expectMessage("Not enough disk space to extract " + path, "Installation aborted", core::Buttons::OK,
                        core::Icon::Critical);
  EXPECT_FALSE(install::ExtractArchive(small, path));
  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"a.txt"}));

  // Exactly enough for everything.
  std::filesystem::remove_all(tempZipHost());
  std::filesystem::create_directories(tempZipHost());
  tight.free = install::kExtractReserve + 3000;
  EXPECT_TRUE(install::ExtractArchive(small, path));
  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"a.txt", "b.air", "c.txt"}));
}

}  // namespace
}  // namespace installtest

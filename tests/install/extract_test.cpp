#include "install/extract.h"

#include <chrono>
#include <filesystem>

#include "core/context.h"
#include "install/install_fixture.h"
#include "install/member_names.h"
#include "support/built_paths.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"
#include "support/zip_bytes.h"

namespace installtest {
namespace {

using testsupport::getLe;
using testsupport::le;
using testsupport::putLe;
using Enc = ArchiveBuilder::Encryption;
constexpr std::uint64_t kMiB = 1 << 20;

// The flat name is the last component, none when no file of the
// simulator's tree may have it; the folders kept beside it are those a
// folder of the tree could be called, so that nothing made after them
// climbs anywhere.
TEST(MemberNames, FlatNameAndTheFoldersAFolderMayBeNamed) {
  const struct {
    std::string stored;
    std::optional<std::string> flat;
    std::string folder;
  } cases[] = {
      {"plane.air", "plane.air", ""},
      {"Cessna/model/plane.mdl", "plane.mdl", "Cessna\\model"},
      {"Cessna\\Model\\plane.mdl", "plane.mdl", "Cessna\\Model"},
      {"Cessna/texture.red/a.bmp", "a.bmp", "Cessna\\texture.red"},
      {"../evil.txt", "evil.txt", ""},
      {"../../evil/./x.txt", "x.txt", "evil"},
      {"/etc/evil.txt", "evil.txt", "etc"},
      {"/abs//x.txt", "x.txt", "abs"},
      {"C:\\Windows\\evil.dll", "evil.dll", "C\\Windows"},
      {"C:evil.dll", "evil.dll", "C"},
      {"texture.red./x.bmp", "x.bmp", ""},
      {"a*/b?/c.bmp", "c.bmp", ""},
      {"folder/", std::nullopt, "folder"},
      {"", std::nullopt, ""},
      {"a/..", std::nullopt, "a"},
      {std::string(256, 'x'), std::nullopt, ""},
      {std::string("a\0b", 3), std::nullopt, ""},
      {"dir/*vil_q.bmp", std::nullopt, "dir"},
      {"plane.air.", std::nullopt, ""},
      {"\x1b[2Jplane.air", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(install::FlatMemberName(c.stored), c.flat) << c.stored;
    EXPECT_EQ(install::MemberFolder(c.stored), c.folder) << c.stored;
  }
}

// The overlapping bomb: the archive's last member, listed `copies` more
// times in the central directory, every entry pointing at the same data.
std::string overlappingBomb(const ArchiveBuilder& archive, int copies) {
  std::string zip = archive.bytes();
  const std::size_t end = testsupport::endRecord(zip);
  const std::size_t cd = getLe(zip, end + 16, 4), cdSize = getLe(zip, end + 12, 4);
  std::size_t last = cd;
  for (std::size_t at = cd; at < cd + cdSize;
       at += 46 + getLe(zip, at + 28, 2) + getLe(zip, at + 30, 2) + getLe(zip, at + 32, 2))
    last = at;
  const std::string entry = zip.substr(last, cd + cdSize - last);
  std::string tail = zip.substr(end);
  zip.resize(end);
  for (int i = 0; i < copies; ++i) zip += entry;
  const auto entries = static_cast<std::uint32_t>(getLe(tail, 10, 2)) + static_cast<std::uint32_t>(copies);
  putLe(tail, 10, entries * 0x10001u, 4);  // both entry counts
  putLe(tail, 12, static_cast<std::uint32_t>(cdSize + entry.size() * static_cast<std::size_t>(copies)), 4);
  return zip + tail;
}

// The first member's declared size, in its local header and in the central
// directory, replaced by another one.
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

class ExtractTest : public InstallFixture {
 protected:
  ExtractTest() { std::filesystem::create_directories(tempZipHost()); }
  // Extracts as an installation does, into TempZip as it is.
  bool extract(const ArchiveBuilder& archive, const std::string& name = "addon.zip") {
    return install::ExtractArchive(ctx(), putArchive(name, archive)).has_value();
  }
  // The last message shown names the archive and says why it was refused,
  // in the words the run's summary keeps.
  void expectRefusal(core::Context& context, const std::string& path, const std::string& why) {
    ASSERT_FALSE(dialogs.messages().empty());
    const auto& m = dialogs.messages().back();
    const std::string& reason = context.state.archiveRefusal;
    EXPECT_NE(reason.find(why), std::string::npos) << reason;
    EXPECT_EQ(m.text, path + "\r\n\r\nThe archive is not installed: " + reason + ".");
    EXPECT_EQ(m.title, "Installation aborted");
  }
};

// Members come out flat, each beside its folders in the archive: the same
// name in any case is numbered for the second member, a file that TempZip
// held before is overwritten; nested archives (any name ending in "zip")
// are opened and deleted (five levels deep: the quine of the damaged
// archives' table), their members in a folder named after them; a member
// whose name only ends in "zip" and is no archive goes.

TEST_F(ExtractTest, WritesEveryMemberFlatIntoTempZip) {
  testsupport::writeHostFile(tempZipHost() + "/Plane.AIR", "old");
  ArchiveBuilder a;
  a.add("Cessna/plane.air", "air").add("Cessna\\Model\\plane.mdl", "mdl").addFolder("Cessna/Texture/");
  a.add("a\\readme.txt", "first").add("b\\README.TXT", "second").add("notes.gzip", "not an archive at all");
  a.add("../up/./readme.txt", "third");
  const auto members = install::ExtractArchive(
      ctx(), putArchive("addon.zip", a.addArchive("Sub/Inner.ZIP", ArchiveBuilder().add("x/inner.air", "air"))));
  ASSERT_TRUE(members.has_value());
  Files table;
  for (const auto& m : members->all()) table.push_back(m.folder + "|" + m.name + "|" + m.stored);
  EXPECT_EQ(table, (Files{"Cessna|plane.air|plane.air", "Cessna\\Model|plane.mdl|plane.mdl", "a|readme.txt|readme.txt",
                          "b|README.TXT|README (2).TXT", "up|readme.txt|readme (3).txt",
                          "Sub\\Inner\\x|inner.air|inner.air"}));
  EXPECT_EQ(tempZipFiles(),
            (Files{"Plane.AIR", "README (2).TXT", "inner.air", "plane.mdl", "readme (3).txt", "readme.txt"}));
  EXPECT_EQ(tempZipFile("Plane.AIR") + tempZipFile("readme.txt") + tempZipFile("README (2).TXT"), "airfirstsecond");
}

// The members table keeps archive order across members written whole and
// an encrypted one, which is streamed, between them; a member whose file cannot be made is left
// out and leaves its name to the next member of that name.
TEST_F(ExtractTest, MembersKeepArchiveOrderAndAFailedOneFreesItsName) {
  testsupport::ForwardingFs refusing(*fs);
  refusing.failWrite = [](std::string_view path) { return path.ends_with("readme.txt"); };
  auto context = contextOn(refusing);
  ArchiveBuilder a;
  a.add("x1.txt", "1").addEncrypted("secret.air", "air", "pilot").add("x2.txt", "2");
  a.add("a/readme.txt", "first").add("b/README.TXT", "second").add("x3.txt", "3");
  dialogs.expectInput("Please Enter The Password!", "pilot");
  const auto members = install::ExtractArchive(*context, putArchive("addon.zip", a));
  ASSERT_TRUE(members.has_value());
  Files table;
  for (const auto& m : members->all()) table.push_back(m.path() + "|" + m.stored);
  EXPECT_EQ(table, (Files{"x1.txt|x1.txt", "secret.air|secret.air", "x2.txt|x2.txt", "b\\README.TXT|README.TXT",
                          "x3.txt|x3.txt"}));
  EXPECT_EQ(tempZipFile("README.TXT"), "second");
}

TEST_F(ExtractTest, HostileNamesWriteNothingOutsideTempZip) {
  ArchiveBuilder a;
  a.add("../../up2.txt", "2").add("..\\..\\..\\up3.txt", "3").add("/tmp/absolute.txt", "4").add("C:drive2.txt", "6");
  a.add("..", "8").add("a/.", "9").addSymlink("link", root).addSymlink("uplink", "../../..");
  a.add("link/through.txt", "10").add("uplink\\through2.txt", "11");
  const std::string path = putArchive("hostile.zip", a);
  const auto before = testsupport::snapshotTree(root);
  ASSERT_TRUE(install::ExtractArchive(ctx(), path).has_value());
  auto after = testsupport::snapshotTree(root);
  std::erase_if(after, [](const auto& entry) { return entry.first.rfind("app/TempZip/", 0) == 0; });
  EXPECT_EQ(testsupport::treeDifferences(before, after), "");
  EXPECT_EQ(tempZipFiles(), (Files{"absolute.txt", "drive2.txt", "link", "through.txt", "through2.txt", "up2.txt",
                                   "up3.txt", "uplink"}));
  // A link member is a plain file holding its target's text.
  EXPECT_FALSE(std::filesystem::is_symlink(tempZipHost() + "/link"));
  EXPECT_EQ(tempZipFile("link") + "|" + tempZipFile("uplink"), root + "|../../..");
}

// One question for the archive: the right answer opens the later members
// too; a wrong one refuses the archive, naming the member it does not open;
// an empty answer or Cancel refuses it without a message, and every later
// encrypted archive of the run, unasked.
TEST_F(ExtractTest, EncryptedMembersOpenWithTheRightPasswordOnly) {
  using Answer = std::optional<std::string>;
  const struct {
    Enc method;
    std::vector<Answer> answers;
    bool opened, skipsLater;
  } cases[] = {
      {Enc::Aes256, {"pilot"}, true, false},      {Enc::Aes256, {"copilot"}, false, false},
      {Enc::Traditional, {"pilot"}, true, false}, {Enc::Traditional, {"copilot"}, false, false},
      {Enc::Aes256, {""}, false, true},           {Enc::Aes256, {std::nullopt}, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.method == Enc::Aes256 ? "AES " : "traditional ") + c.answers[0].value_or("(cancel)"));
    emptyTempZip();
    state().skipPasswords = false;
    state().archiveRefusal.clear();
    for (const auto& answer : c.answers) dialogs.expectInput("Please Enter The Password!", answer);
    const bool wrong = !c.opened && !c.skipsLater;
    if (wrong)
      dialogs.expectMessage(
          "C:\\Downloads\\addon.zip\r\n\r\nThe archive is not installed: it is encrypted, and the password given "
          "does not open Cessna\\plane.air.");
    EXPECT_EQ(extract(ArchiveBuilder()
                          .add("readme.txt", "open")
                          .addEncrypted("Cessna/plane.air", std::string(5000, 'a'), "pilot", c.method)
                          .addEncrypted("plane.mdl", "secret mdl", "pilot", c.method)),
              c.opened);
    EXPECT_EQ(tempZipFiles(), (c.opened ? Files{"plane.air", "plane.mdl", "readme.txt"} : Files{"readme.txt"}));
    EXPECT_EQ(tempZipFile("readme.txt") + (c.opened ? tempZipFile("plane.mdl") : ""),
              c.opened ? "opensecret mdl" : "open");
    EXPECT_EQ(state().skipPasswords, c.skipsLater);
    EXPECT_EQ(state().archiveRefusal, c.opened ? ""
                                      : wrong
                                          ? "it is encrypted, and the password given does not open Cessna\\plane.air"
                                          : "it is encrypted, and no password was given");
    if (!c.skipsLater) continue;
    EXPECT_FALSE(extract(ArchiveBuilder().addEncrypted("c.air", "c", "pilot", Enc::Traditional), "second.zip"));
    EXPECT_EQ(tempZipFiles(), Files{"readme.txt"});
    EXPECT_NE(state().archiveRefusal.find("no password is asked for until the program ends"), std::string::npos);
  }
  EXPECT_TRUE(dialogs.done());
}

// Members unpacked ahead on other threads, or streamed for their size,
// each come out with their own bytes.
TEST_F(ExtractTest, MembersOfEverySizeAndMethodComeOutWithTheirOwnBytes) {
  ArchiveBuilder a;
  Files names, contents;
  for (int i = 0; i < 40; ++i) {
    const std::size_t size = i == 7 ? 9 * kMiB : i == 12 ? kMiB / 2 : i == 3 ? 0 : std::size_t(i) * 4099;
    std::string bytes(size, '\0');
    for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>('a' + (k / 7 + k * std::size_t(i)) % 26);
    names.push_back("m" + std::to_string(i) + ".bin");
    contents.push_back(bytes);
    i % 4 ? a.add(names.back(), bytes) : a.addStored(names.back(), bytes);
  }
  ASSERT_TRUE(extract(a));
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_TRUE(tempZipFile(names[i]) == contents[i]) << names[i];
}

TEST_F(ExtractTest, StopsBeforeTheDiskKeepsLessThanTheReserve) {
  testsupport::ForwardingFs tight(*fs);
  auto small = contextOn(tight);
  ArchiveBuilder a;
  a.add("a.txt", std::string(1000, 'a')).add("b.air", std::string(3000, 'b')).add("c.txt", "c");
  const std::string path = putArchive("big.zip", a);
  tight.free = install::kExtractReserve + 2000;  // room for the first member only
  dialogs.expectMessage("Not enough disk space to extract " + path, "Installation aborted", core::Buttons::OK,
                        core::Icon::Critical);
  EXPECT_FALSE(install::ExtractArchive(*small, path).has_value());
  EXPECT_EQ(tempZipFiles(), Files{"a.txt"});
  emptyTempZip();
  tight.free = install::kExtractReserve + 3000;  // exactly enough for everything
  EXPECT_TRUE(install::ExtractArchive(*small, path).has_value());
  EXPECT_EQ(tempZipFiles(), (Files{"a.txt", "b.air", "c.txt"}));
}

// A damaged, cut short, false or hostile archive is refused quickly with a
// message that names it and says what is wrong, instead of extracting what
// it can, having written no more than the bounds or the members' declared
// sizes allow: a member whose data does not come to its declared size, or
// fails its check sum, leaves no file, and nothing after it is extracted.
// Archives exactly at the bounds come out whole.
TEST_F(ExtractTest, DamagedOrHostileArchivesAreRefusedWithinTheBoundSayingWhy) {
  testsupport::ForwardingFs counting(*fs);  // never fails; counts the bytes written
  auto counted = contextOn(counting);
  dialogs.allowAnyMessages();
  const std::string text(4000, 'Q');
  // Stored whole, more than the library is given at once: members that
  // start in one read of the archive and end in the next.
  ArchiveBuilder stored;
  Files storedNames;
  for (int i = 0; i < 40; ++i) {
    storedNames.push_back("tex" + std::to_string(i) + ".bmp");
    stored.addStored(storedNames.back(), std::string(7001, char('0' + i)));
  }
  std::sort(storedNames.begin(), storedNames.end());
  std::string crc =
      ArchiveBuilder().add("readme.txt", "open").addStored("Cessna/plane.air", text).add("after.txt", "a").bytes();
  crc[crc.find(text) + 1000] = 'R';
  const std::string whole = ArchiveBuilder().add("plane.air", text).add("readme.txt", "open").bytes();
  const std::string cut = whole.substr(0, whole.size() / 2);
  const std::string cutShort = "it is not a ZIP archive, or it is damaged or cut short";
  ArchiveBuilder nestedBomb;
  for (int i = 0; i < 10; ++i) nestedBomb.addArchive("inner" + std::to_string(i) + ".zip", zeros(10, kMiB));
  Files sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back("z" + std::to_string(i) + ".bin");
  std::sort(sixteen.begin(), sixteen.end());
  // A quine holds itself byte for byte beside a pad of 100000 bytes: five
  // levels of it come out, the sixth stays an archive (named as its local
  // header names it).
  const std::string quine = testsupport::readHostFile(testsupport::zipQuineFile());
  Files quineLeft = {"q (6).zip", "pad.bin"};
  for (int n = 2; n <= 6; ++n) quineLeft.push_back("pad (" + std::to_string(n) + ").bin");
  std::sort(quineLeft.begin(), quineLeft.end());
  // Archives nested under one name, each level of them within the bound.
  ArchiveBuilder sameName = zeros(1, 3 * kMiB, "pad");
  for (int level = 0; level < 2; ++level) sameName = zeros(1, 3 * kMiB, "pad").addArchive("q.zip", sameName);
  install::ExtractLimits small;
  small.minBytes = 4 * kMiB;
  small.maxMembers = 16;
  const install::ExtractLimits real;  // 256 MB or fifty times the archive, saturating
  EXPECT_EQ((std::vector{real.bytesFor(0), real.bytesFor(5 * kMiB), real.bytesFor(6 * kMiB), real.bytesFor(~0ull / 2)}),
            (std::vector<std::uint64_t>{256 * kMiB, 256 * kMiB, 300 * kMiB, ~0ull}));
  const struct {
    const char* name;
    std::string bytes, why;     // why empty: extracted
    std::uint64_t written;      // the most bytes written; all of them when extracted
    std::optional<Files> left;  // none: no more than the bound's members
    bool bounded = false;       // under the small limits, else the real ones
  } cases[] = {
      {"check sum", crc, "it is damaged: Cessna\\plane.air cannot be read (crc error)", 4004, Files{"readme.txt"}},
      {"cut short", cut, cutShort, 0, Files{}},
      {"no archive", "PK\x03\x04 but nothing after", cutShort, 0, Files{}},
      {"empty", "", cutShort, 0, Files{}},
      {"nested cut short", ArchiveBuilder().add("Sub/inner.zip", cut).bytes(),
       "it is damaged: the archive Sub\\inner.zip in it does not open: " + cutShort, cut.size(), Files{"inner.zip"}},
      {"deflated past its size", lyingSize(ArchiveBuilder().add("big.bin", std::string(12 * kMiB, '\0')), 100),
       "it is damaged", 100, Files{}},
      {"stored past its size", lyingSize(ArchiveBuilder().addStored("plane.air", text), 3000), "it is damaged", 3000,
       Files{}},
      {"declares nothing", lyingSize(ArchiveBuilder().add("plane.air", text), 0), "it is damaged", 0, Files{}},
      {"ends short of its size", lyingSize(ArchiveBuilder().add("plane.air", text), 5000), "it is damaged", 5000,
       Files{}},
      {"its exact size", ArchiveBuilder().add("plane.air", text).bytes(), "", text.size(), Files{"plane.air"}},
      {"stored members", stored.bytes(), "", 40 * 7001, storedNames},
      {"a hundred thousand and one members", crowdedArchive(100001), "holds more than 100000 files", 0, Files{}},
      {"at the limits", zeros(16, kMiB / 4).bytes(), "", 4 * kMiB, sixteen, true},
      {"overlapping", overlappingBomb(zeros(1, 4 * kMiB), 200), "files overlap", 4 * kMiB, {}, true},
      // Only the last of members stored whole lies twice in the directory,
      // its header well past the first of the archive's reads.
      {"overlapping at its end", overlappingBomb(stored, 1), "files overlap", 0, Files{}},
      {"nested", nestedBomb.bytes(), "unpacks to more than 4 MB", 4 * kMiB, {}, true},
      {"quine", quine, "", 6 * (quine.size() + 100000), quineLeft, true},
      {"nested under one name", sameName.bytes(), "unpacks to more than 4 MB", 4 * kMiB, {}, true},
      {"many members", zeros(17, 0).bytes(), "holds more than 16 files", 0, {}, true},
      {"many nested members",
       ArchiveBuilder().addArchive("a.zip", zeros(9, 0)).addArchive("b.zip", zeros(9, 0)).bytes(),
       "holds more than 16 files",
       4 * kMiB,
       {},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "C:\\Downloads\\" + std::string(c.name) + ".zip";
    emptyTempZip();
    writeFile(path, c.bytes);
    counting.bytesWritten = 0;
    const auto shown = dialogs.messages().size();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(install::ExtractArchive(*counted, path, c.bounded ? small : real).has_value(), c.why.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    if (!c.why.empty()) {
      expectRefusal(*counted, path, c.why);
      EXPECT_LE(counting.bytesWritten, c.written);
    } else {
      EXPECT_EQ(dialogs.messages().size(), shown);
      EXPECT_EQ(counting.bytesWritten, c.written);
    }
    if (c.left) {
      EXPECT_EQ(tempZipFiles(), *c.left);
    } else {
      EXPECT_LE(tempZipFiles().size(), small.maxMembers);
    }
    if (c.bytes == quine) {
      EXPECT_EQ(tempZipFile("q (6).zip"), quine);
    }
  }
}

}  // namespace
}  // namespace installtest

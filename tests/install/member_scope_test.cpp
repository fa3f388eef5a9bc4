#include "install/member_scope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/text.h"
#include "install/temp_zip.h"
#include "support/sim_fixture.h"

namespace {

using Names = std::vector<std::string>;

// An archive of two aircraft, Hopper and Glider, and a readme beside them,
// extracted into TempZip.
class MemberScopeTest : public testsupport::SimFixture {
 protected:
  MemberScopeTest() {
    for (const auto& [folder, name] :
         std::vector<std::pair<std::string, std::string>>{{"Hopper", "hopper.air"},
                                                          {"Hopper\\texture.red", "hopper.bmp"},
                                                          {"Glider", "glider.air"},
                                                          {"", "readme.txt"},
                                                          {"Glider", "README.TXT"}}) {
      const std::string stored = members.storedNameFor(name);
      members.add({folder, name, stored});
      putInTempZip(stored);
    }
  }

  void putInTempZip(const std::string& name) { writeFile(install::TempZipPrefix(ctx()) + name); }
  void removeFromTempZip(const std::string& name) { std::remove(host(install::TempZipPrefix(ctx()) + name).c_str()); }

  install::MemberScope hopper() { return {members, "Hopper", {"Glider"}, "C:\\FS2002\\Aircraft\\Hopper\\"}; }
  install::MemberScope glider() { return {members, "Glider", {"Hopper"}, "C:\\FS2002\\Aircraft\\Glider\\"}; }

  // The archive's paths of the members, sorted.
  static Names paths(const std::vector<const install::ArchiveMember*>& found) {
    Names out;
    for (const auto* m : found) out.push_back(m->path());
    std::sort(out.begin(), out.end());
    return out;
  }

  install::ArchiveMembers members;
};

// An aircraft's scope holds its own members and the shared ones, not the
// other aircraft's; its plain members leave out its variant folders.
TEST_F(MemberScopeTest, AnAircraftHasItsOwnAndTheSharedMembers) {
  auto scope = hopper();
  EXPECT_EQ(paths(scope.remaining(ctx())),
            (Names{"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "readme.txt"}));
  EXPECT_EQ(paths(scope.remainingPlain(ctx())), (Names{"Hopper\\hopper.air", "readme.txt"}));
  EXPECT_EQ(paths(glider().remaining(ctx())), (Names{"Glider\\README.TXT", "Glider\\glider.air", "readme.txt"}));
}

// What one look finds and a step takes, the next look passes over; what
// another aircraft's scope took stays for this one, and what a file of
// TempZip in another case or a file put there by hand is, the table (or
// the stray's own name) says.
TEST_F(MemberScopeTest, LaterLooksPassOverWhatTheStepsTook) {
  struct Case {
    const char* what;
    Names byHand;          // put into TempZip before the first look
    Names renamed;         // stored names whose file is in TempZip in upper case
    Names takenBySibling;  // taken by Glider's scope first
    Names takenHere;       // stored names (or strays' names) taken after the first look
    Names expected;
  };
  const Case cases[] = {
      {"nothing taken", {}, {}, {}, {}, {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
      {"a member taken", {}, {}, {}, {"hopper.air"}, {"Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
      {"a shared member another aircraft took",
       {},
       {},
       {"readme.txt"},
       {},
       {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
      {"a shared member taken here",
       {},
       {},
       {},
       {"readme.txt"},
       {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp"}},
      {"a file put by hand",
       {"extra.cfg"},
       {},
       {},
       {},
       {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "extra.cfg", "readme.txt"}},
      {"a file put by hand and taken",
       {"extra.cfg"},
       {},
       {},
       {"extra.cfg"},
       {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
      {"a member's file in another case",
       {},
       {"hopper.air"},
       {},
       {},
       {"Hopper\\hopper.air", "Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
      {"a member's file in another case, taken",
       {},
       {"hopper.air"},
       {},
       {"hopper.air"},
       {"Hopper\\texture.red\\hopper.bmp", "readme.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& name : c.byHand) putInTempZip(name);
    for (const auto& stored : c.renamed) {
      removeFromTempZip(stored);
      putInTempZip(core::upper(stored));
    }
    auto sibling = glider();
    for (const auto& stored : c.takenBySibling) sibling.take(*members.byStored(stored));
    auto scope = hopper();
    const auto first = scope.remaining(ctx());
    for (const auto& name : c.takenHere) {
      const auto* member = members.byStored(name);
      if (!member)
        for (const auto* m : first)
          if (core::iequals(m->stored, name)) member = m;
      ASSERT_NE(member, nullptr) << name;
      scope.take(*member);
      EXPECT_TRUE(scope.taken(*member));
    }
    EXPECT_EQ(paths(scope.remaining(ctx())), c.expected);
    for (const auto& name : c.byHand) removeFromTempZip(name);
    for (const auto& stored : c.renamed) {
      removeFromTempZip(core::upper(stored));
      putInTempZip(stored);
    }
  }
}

}  // namespace

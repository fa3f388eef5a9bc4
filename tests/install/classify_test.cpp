#include "install/classify.h"

#include <filesystem>

#include "core/context.h"
#include "install/extract.h"
#include "install/install_fixture.h"

namespace installtest {
namespace {

using core::PackageKind;
using testsupport::ArchiveBuilder;

struct Member {
  std::string name;
  std::size_t size;
};

struct ClassifyCase {
  const char* title;
  std::vector<Member> members;
  PackageKind kind;
};

class ClassifyTest : public InstallFixture {
 protected:
  PackageKind classify(const std::vector<Member>& members) {
    std::filesystem::remove_all(tempZipHost());
    std::filesystem::create_directories(tempZipHost());
    ArchiveBuilder a;
    for (const auto& m : members) a.add(m.name, std::string(m.size, 'x'));
    EXPECT_TRUE(install::ExtractArchive(ctx(), putArchive("addon.zip", a)));
    install::ClassifyPackage(ctx());
    return state().packageKind;
  }
};

TEST_F(ClassifyTest, FirstMatchingRuleDecides) {
  const ClassifyCase cases[] = {
      {"air of 15000 bytes with aircraft.cfg", {{"plane.air", 15000}, {"aircraft.cfg", 10}}, PackageKind::Aircraft},
      {"air of 15001 bytes with aircraft.cfg", {{"plane.air", 15001}, {"aircraft.cfg", 10}}, PackageKind::Fs5Aircraft},
      {"two airs with aircraft.cfg",
       {{"a.air", 100}, {"b.air", 100}, {"aircraft.cfg", 10}},
       PackageKind::MultiAircraft},
      {"first air large, second small", {{"a.air", 15001}, {"b.air", 100}}, PackageKind::Fs5Aircraft},
      {"first air small, second large", {{"a.air", 100}, {"b.air", 15001}}, PackageKind::MultiAircraft},
      {"small air without aircraft.cfg beside bgl", {{"plane.air", 100}, {"scenery.bgl", 10}}, PackageKind::Scenery},
      {"small air without aircraft.cfg beside panel.cfg", {{"plane.air", 100}, {"panel.cfg", 10}}, PackageKind::Panel},
      {"aircraft with its own panel and sound",
       {{"plane.air", 100}, {"aircraft.cfg", 10}, {"panel.cfg", 10}, {"sound.cfg", 10}},
       PackageKind::Aircraft},
      {"panel before sound", {{"panel.cfg", 10}, {"sound.cfg", 10}}, PackageKind::Panel},
      {"sound before sif", {{"sound.cfg", 10}, {"x.sif", 10}}, PackageKind::Sound},
      {"sif before bgl", {{"x.sif", 10}, {"x.bgl", 10}}, PackageKind::Sif},
      {"bgl before adv", {{"x.bgl", 10}, {"x.adv", 10}}, PackageKind::Scenery},
      {"adventures", {{"tour.adv", 10}, {"tour.wav", 10}}, PackageKind::Adventure},
      {"nothing known", {{"readme.txt", 10}, {"picture.jpg", 10}}, PackageKind::None},
      {"names in capitals", {{"PLANE.AIR", 100}, {"Aircraft.CFG", 10}}, PackageKind::Aircraft},
      {"configuration in a sub-folder counts after flattening", {{"Cessna/panel/panel.cfg", 10}}, PackageKind::Panel},
      {"only the extension counts", {{"aircraft.cfg.bak", 10}, {"panel.cfg.txt", 10}}, PackageKind::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(classify(c.members), c.kind);
    EXPECT_EQ(state().tempZipPath, ctx().appFolder() + "\\TempZip\\");
  }
}

}  // namespace
}  // namespace installtest

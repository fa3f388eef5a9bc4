#include "install/member_writer.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/text.h"
#include "install/install_fixture.h"
#include "install/temp_zip.h"
#include "support/forwarding_fs.h"

namespace installtest {
namespace {

// Keeps the names the writer says it stored, and fails for one of them.
class StoredNames : public core::ChangeJournal {
 public:
  std::string archiveStarted(std::string_view) override { return {}; }
  std::string archiveFinished(bool, core::PackageKind, std::string_view) override { return {}; }
  std::string archiveFailed() override { return {}; }
  void profileKeyWritten(std::string_view, std::string_view, std::string_view, const std::optional<std::string>&,
                         std::string_view) override {}
  void memberStored(std::string_view stored, std::string_view archivePath) override {
    if (stored == failFor) throw std::runtime_error("the journal cannot be written");
    names.push_back(std::string(stored) + "<" + std::string(archivePath));
  }
  void folderPlaced(std::string_view, std::string_view) override {}
  void noted(std::string_view, std::string_view) override {}

  std::string failFor;
  Files names;
};

struct Case {
  const char* what;
  std::vector<std::size_t> sizes;  // of members m0, m1, ...
  std::function<void(testsupport::ForwardingFs&, StoredNames&)> arrange;
  Files written;  // the members kept, in order; the files TempZip has
  bool diskFull = false;
  bool thrown = false;
};

std::string name(std::size_t i) {
  return "m" + std::to_string(i) + ".bmp";
}
Files names(std::initializer_list<std::size_t> of) {
  Files out;
  for (std::size_t i : of) out.push_back(name(i));
  return out;
}

// Each member is written, and the journal told, in the order queued, on the
// writer's thread as on the caller's: one whose file cannot be made is left
// out; a full disk keeps the members before it and drops the rest; an error
// of any other kind stops the writer and comes back to the caller.
class MemberWriterTest : public InstallFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(MemberWriterTest, WritesInOrderAndStopsWhereTheExtractionStopped) {
  const std::vector<std::size_t> six{10, 3000, 0, 70000, 5, 200};
  std::vector<std::size_t> crowd(1500, 3);  // more than the queue holds at once
  crowd.insert(crowd.end(), {3u << 20, 3u << 20, 3u << 20});
  Files crowdNames;
  for (std::size_t i = 0; i < crowd.size(); ++i) crowdNames.push_back(name(i));

  const Case cases[] = {
      {"every member written", six, nullptr, names({0, 1, 2, 3, 4, 5})},
      {"a file that cannot be made is left out", six,
       [](auto& faulty, auto&) { faulty.failWrite = [](std::string_view p) { return p.ends_with("m2.bmp"); }; },
       names({0, 1, 3, 4, 5})},
      {"a full disk keeps the members before it and drops those after", six,
       [](auto& faulty, auto&) {
         faulty.failWrite = [](std::string_view p) { return p.ends_with("m3.bmp"); };
         faulty.failWriteErrno = ENOSPC;
       },
       names({0, 1, 2}), true},
      {"the journal's error stops the writer", six, [](auto&, auto& journal) { journal.failFor = "m3.bmp"; },
       names({0, 1, 2}), false, true},
      {"more members and bytes than the queue holds", crowd, nullptr, crowdNames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    emptyTempZip();
    testsupport::ForwardingFs faulty(*fs);
    StoredNames journal;
    if (c.arrange) c.arrange(faulty, journal);
    auto context = contextOn(faulty);
    context->journal = &journal;
    install::MemberWriter::Finished finished;
    bool thrown = false;
    {
      install::MemberWriter writer(*context, GetParam());
      try {
        for (std::size_t i = 0; i < c.sizes.size(); ++i) {
          install::ArchiveMember member{"f", name(i), name(i)};
          if (!writer.queue(core::joinPath(install::TempZipFolder(*context), name(i)),
                            std::vector<char>(c.sizes[i], 'x'), member))
            break;
        }
        finished = writer.finish();
      } catch (const std::runtime_error&) {
        thrown = true;
      }
    }
    Files kept, told;
    for (const auto& m : finished.written) kept.push_back(m.stored);
    for (const auto& n : c.written) told.push_back(n + "<f\\" + n);
    EXPECT_EQ(thrown, c.thrown);
    EXPECT_EQ(finished.diskFull, c.diskFull);
    if (!c.thrown) {
      EXPECT_EQ(kept, c.written);
    }
    EXPECT_EQ(journal.names, told);
    Files files = c.written;
    // The member whose journal entry failed was written before the journal
    // was told, as a streamed member is.
    if (c.thrown) files.push_back(name(3));
    std::sort(files.begin(), files.end());
    EXPECT_EQ(tempZipFiles(), files);
    for (const auto& n : c.written)
      EXPECT_EQ(std::filesystem::file_size(tempZipHost() + "/" + n), c.sizes[std::stoul(n.substr(1))]) << n;
  }
}

INSTANTIATE_TEST_SUITE_P(OnEitherThread, MemberWriterTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Threaded" : "OnCallersThread"; });

}  // namespace
}  // namespace installtest

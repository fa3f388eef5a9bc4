#include "qt/instance_channel.h"

#include <gtest/gtest.h>

#include <QTest>
#include <future>

#include "core/errors.h"
#include "core/single_instance.h"
#include "support/sim_fixture.h"

namespace {

using InstanceChannelTest = testsupport::SimFixture;

// A second start while the program runs: the archive reaches the running
// program and the start ends without a word; with nobody listening it says
// the program is already running.
TEST_F(InstanceChannelTest, ASecondStartHandsItsArchiveToTheRunningProgram) {
  const std::string lockFile = core::lockFilePath(ctx().locations);
  auto first = core::InstanceLock::acquire(lockFile);
  ASSERT_NE(first, nullptr);
  const QString channel = qt::channelName(lockFile);
  EXPECT_NE(channel, qt::channelName(root + "/other/hangarpak.lock")) << "each application folder has its own";

  // Started with the running program not yet listening.
  dialogs.expectMessage("Hangarpak is already running!");
  EXPECT_THROW(core::GuardSingleInstance(ctx().locations, dialogs, [&] { return qt::handOver(channel, "a.zip", 300); }),
               core::EndProgram);
  EXPECT_TRUE(dialogs.done());

  std::vector<std::string> received;
  qt::InstanceChannel running(channel, [&](const std::string& archive) { received.push_back(archive); });
  ASSERT_TRUE(running.listening());
  const std::string archive = root + "/Downloads/b 737 (v2).zip";
  auto second = std::async(std::launch::async, [&] {
    try {
      (void)core::GuardSingleInstance(ctx().locations, dialogs, [&] { return qt::handOver(channel, archive); });
    } catch (const core::EndProgram& end) {
      return end.exitCode;
    }
    return -1;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 5000));
  EXPECT_EQ(second.get(), 0);
  EXPECT_EQ(received, std::vector<std::string>{archive});
  EXPECT_EQ(dialogs.messages().size(), 1u) << "no second message";
}

}  // namespace

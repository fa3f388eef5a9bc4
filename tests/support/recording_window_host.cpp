#include "support/recording_window_host.h"

#include <gtest/gtest.h>

namespace testsupport {

RecordingWindowHost::~RecordingWindowHost() {
  if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " name prompt answer(s) never asked for";
}

void RecordingWindowHost::showNamePrompt() {
  calls.push_back("showNamePrompt");
  const int mode = static_cast<int>(state_.namePrompt);
  std::string& text =
      state_.namePrompt == core::NamePrompt::FolderName ? state_.installFolderName : state_.archiveBaseName;
  prompts.push_back({mode, text});
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected name prompt in mode " << mode << " proposing \"" << text << "\"";
    return;
  }
  auto answer = std::move(answers_.front());
  answers_.pop_front();
  if (!answer) return;
  text = *answer;
  state_.nameConfirmed = true;
}

}  // namespace testsupport

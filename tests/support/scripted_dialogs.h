#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/dialogs.h"

namespace testsupport {

// Thrown (after a test failure is recorded) when the program shows a prompt
// the test did not expect, so the run stops where it went wrong.
struct UnexpectedPrompt : std::logic_error {
  using std::logic_error::logic_error;
};

// A scripted Dialogs: a queue of the prompts a case expects, each with its
// answer. Every message shown is recorded; an unexpected or unanswered
// prompt fails the test.
class ScriptedDialogs : public core::Dialogs {
 public:
  struct Message {
    std::string text;
    std::string title;
    core::Buttons buttons;
    core::Icon icon;
  };

  ~ScriptedDialogs() override;

  // A message box whose text is exactly text (empty text: any message).
  ScriptedDialogs& expectMessage(std::string text, core::Answer answer = core::Answer::OK);
  ScriptedDialogs& expectMessage(std::string text, std::string title, core::Buttons buttons, core::Icon icon,
                                 core::Answer answer = core::Answer::OK);
  // A message box whose first paragraph (up to a blank line) is head: the
  // message the program is known by, with its cause in words below.
  ScriptedDialogs& expectMessageHead(std::string head, std::string title, core::Buttons buttons, core::Icon icon,
                                     core::Answer answer = core::Answer::OK);
  // An input box, a file-open dialog, a folder chooser (answered with a host
  // folder) or a file-save dialog; nullopt answers Cancel.
  ScriptedDialogs& expectInput(std::string prompt, std::optional<std::string> answer) {
    return expect(Expectation::Input, std::move(prompt), std::move(answer));
  }
  ScriptedDialogs& expectOpenFile(std::string title, std::optional<std::string> answer) {
    return expect(Expectation::OpenFile, std::move(title), std::move(answer));
  }
  ScriptedDialogs& expectFolderChooser(std::string title, std::optional<std::string> answer) {
    return expect(Expectation::Folder, std::move(title), std::move(answer));
  }
  ScriptedDialogs& expectSaveFile(std::string title, std::optional<std::string> answer) {
    return expect(Expectation::SaveFile, std::move(title), std::move(answer));
  }
  // One of the program's own dialogs: play acts as the user (type a name,
  // press OK) and must leave the dialog unloaded.
  ScriptedDialogs& expectModal(std::string formName, std::function<void(core::ModalController&)> play);

  // Lets every OK-only message through without an expectation (recorded all
  // the same), for cases that check messages afterwards.
  void allowAnyMessages(bool allow = true) { allowMessages_ = allow; }

  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) override;
  std::optional<std::string> inputBox(std::string_view prompt, std::string_view, std::string_view) override {
    return answerNext(Expectation::Input, prompt);
  }
  std::optional<std::string> openFile(std::string_view title, std::string_view filter,
                                      std::string_view startFolder) override;
  std::optional<std::string> chooseFolder(std::string_view title, std::string_view startFolder) override;
  std::optional<std::string> saveFile(std::string_view title, std::string_view, std::string_view) override {
    return answerNext(Expectation::SaveFile, title);
  }
  void runModal(core::ModalController& controller) override;
  void beep() override { ++beeps; }
  void keepPainting() override { ++keepPaintingCalls; }

  const std::vector<Message>& messages() const { return messages_; }
  std::vector<std::string> messageTexts() const;
  bool done() const { return queue_.empty(); }
  int beeps = 0;
  int keepPaintingCalls = 0;
  std::vector<std::string> openFileFilters;
  std::vector<std::string> openFileStartFolders;
  std::vector<std::string> folderChooserStarts;

 private:
  struct Expectation {
    enum Kind { Message, Input, OpenFile, Modal, Folder, SaveFile } kind;
    std::string text;
    std::optional<std::string> title;
    std::optional<core::Buttons> buttons;
    std::optional<core::Icon> icon;
    core::Answer answer = core::Answer::OK;
    std::optional<std::string> input;
    std::function<void(core::ModalController&)> play;
    bool headOnly = false;
  };
  Expectation next(Expectation::Kind kind, std::string_view what);
  ScriptedDialogs& expect(Expectation::Kind kind, std::string text, std::optional<std::string> answer);
  // The answer of the next prompt, which must be of the kind and show what.
  std::optional<std::string> answerNext(Expectation::Kind kind, std::string_view what);

  std::deque<Expectation> queue_;
  std::vector<Message> messages_;
  bool allowMessages_ = false;
};

}  // namespace testsupport

#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {
const char* kindName(int kind) {
  static const char* const names[] = {"message box", "input box",      "file dialog",
                                      "dialog",      "folder chooser", "save dialog"};
  return names[kind];
}
}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
  for (const auto& e : queue_) ADD_FAILURE() << "expected " << kindName(e.kind) << " \"" << e.text << "\" never came";
}

ScriptedDialogs& ScriptedDialogs::expectMessage(std::string text, core::Answer answer) {
  queue_.push_back({Expectation::Message, std::move(text), {}, {}, {}, answer, {}, {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMessage(std::string text, std::string title, core::Buttons buttons,
                                                core::Icon icon, core::Answer answer) {
  queue_.push_back({Expectation::Message, std::move(text), std::move(title), buttons, icon, answer, {}, {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMessageHead(std::string head, std::string title, core::Buttons buttons,
                                                    core::Icon icon, core::Answer answer) {
  expectMessage(std::move(head), std::move(title), buttons, icon, answer);
  queue_.back().headOnly = true;
  return *this;
}

ScriptedDialogs& ScriptedDialogs::expect(Expectation::Kind kind, std::string text, std::optional<std::string> answer) {
  queue_.push_back({kind, std::move(text), {}, {}, {}, core::Answer::OK, std::move(answer), {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::expectModal(std::string formName, std::function<void(core::ModalController&)> play) {
  queue_.push_back({Expectation::Modal, std::move(formName), {}, {}, {}, core::Answer::OK, {}, std::move(play)});
  return *this;
}

ScriptedDialogs::Expectation ScriptedDialogs::next(Expectation::Kind kind, std::string_view what) {
  if (queue_.empty() || queue_.front().kind != kind) {
    std::string msg = std::string("unexpected ") + kindName(kind) + ": \"" + std::string(what) + "\"";
    if (!queue_.empty())
      msg += std::string(" (expected ") + kindName(queue_.front().kind) + " \"" + queue_.front().text + "\")";
    ADD_FAILURE() << msg;
    throw UnexpectedPrompt(msg);
  }
  Expectation e = std::move(queue_.front());
  queue_.pop_front();
  return e;
}

core::Answer ScriptedDialogs::msgBox(std::string_view text, std::string_view title, core::Buttons buttons,
                                     core::Icon icon) {
  messages_.push_back({std::string(text), std::string(title), buttons, icon});
  if (allowMessages_ && buttons == core::Buttons::OK && (queue_.empty() || queue_.front().kind != Expectation::Message))
    return core::Answer::OK;
  Expectation e = next(Expectation::Message, text);
  if (e.headOnly) {
    EXPECT_EQ(e.text, text.substr(0, text.find("\r\n\r\n")));
  } else if (!e.text.empty()) {
    EXPECT_EQ(e.text, text);
  }
  if (e.title) {
    EXPECT_EQ(*e.title, title) << "title of \"" << text << "\"";
  }
  if (e.buttons) {
    EXPECT_EQ(static_cast<int>(*e.buttons), static_cast<int>(buttons)) << "buttons of \"" << text << "\"";
  }
  if (e.icon) {
    EXPECT_EQ(static_cast<int>(*e.icon), static_cast<int>(icon)) << "icon of \"" << text << "\"";
  }
  return e.answer;
}

std::optional<std::string> ScriptedDialogs::answerNext(Expectation::Kind kind, std::string_view what) {
  Expectation e = next(kind, what);
  EXPECT_EQ(e.text, what);
  return e.input;
}

std::optional<std::string> ScriptedDialogs::openFile(std::string_view title, std::string_view filter,
                                                     std::string_view startFolder) {
  openFileFilters.emplace_back(filter);
  openFileStartFolders.emplace_back(startFolder);
  return answerNext(Expectation::OpenFile, title);
}

std::optional<std::string> ScriptedDialogs::chooseFolder(std::string_view title, std::string_view startFolder) {
  folderChooserStarts.emplace_back(startFolder);
  return answerNext(Expectation::Folder, title);
}

void ScriptedDialogs::runModal(core::ModalController& controller) {
  const std::string name(controller.formName());
  Expectation e = next(Expectation::Modal, name);
  EXPECT_EQ(e.text, name);
  controller.Form_Load();
  if (e.play) e.play(controller);
  if (!controller.unloaded()) {
    ADD_FAILURE() << "dialog " << name << " was left open";
    throw UnexpectedPrompt("dialog " + name + " left open");
  }
}

std::vector<std::string> ScriptedDialogs::messageTexts() const {
  std::vector<std::string> out;
  for (const auto& m : messages_) out.push_back(m.text);
  return out;
}

}  // namespace testsupport

#include "app/cli_terminal.h"

#include <algorithm>
#include <ostream>

#include "core/context.h"
#include "core/errors.h"
#include "core/form.h"
#include "core/safe_names.h"
#include "core/text.h"

namespace app {

namespace {

// CR LF breaks a message's line in a box; on the terminal a line end does.
std::string terminalText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

bool saysYes(const std::string& answer) {
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

const char* promptLabel(core::NamePrompt prompt) {
  switch (prompt) {
    case core::NamePrompt::FolderName:
      return "Enter folder name:";
    case core::NamePrompt::AircraftName:
      return "Enter aircraft name:";
    case core::NamePrompt::PanelName:
      return "Enter panel name:";
    default:
      return "Enter sound name:";
  }
}

}  // namespace

void TypedPaths::add(std::string programPath, std::string typed) {
  const auto at =
      std::find_if(paths_.begin(), paths_.end(), [&](const auto& p) { return p.first.size() < programPath.size(); });
  paths_.insert(at, {std::move(programPath), std::move(typed)});
}

std::string TypedPaths::shown(std::string_view text) const {
  std::string out(text);
  for (const auto& [program, typed] : paths_) {
    if (program.empty()) continue;
    const std::string wanted = core::lower(program);
    std::string lowered = core::lower(out);
    for (auto pos = lowered.find(wanted); pos != std::string::npos; pos = lowered.find(wanted, pos + typed.size())) {
      out.replace(pos, program.size(), typed);
      lowered.replace(pos, program.size(), typed);
    }
  }
  return out;
}

core::Answer TerminalDialogs::msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon) {
  const std::string shown = typed_ ? typed_->shown(text) : std::string(text);
  const std::string line = (title.empty() ? std::string() : std::string(title) + ": ") + terminalText(shown);
  if (buttons == core::Buttons::OK) {
    err_ << line << '\n';
    return core::Answer::OK;
  }
  const bool okCancel = buttons == core::Buttons::OKCancel;
  const core::Answer yes = okCancel ? core::Answer::OK : core::Answer::Yes;
  const core::Answer no = okCancel ? core::Answer::Cancel : core::Answer::No;
  if (answers_.yes) {
    err_ << line << (*answers_.yes ? " yes" : " no") << '\n';
    return *answers_.yes ? yes : no;
  }
  if (ask_) {
    auto answer = ask_(line + " [y/N] ", false);
    return answer && saysYes(*answer) ? yes : no;
  }
  err_ << line << " no\n";
  return no;
}

std::optional<std::string> TerminalDialogs::inputBox(std::string_view prompt, std::string_view, std::string_view) {
  if (answers_.password) return *answers_.password;
  if (ask_) {
    auto answer = ask_(std::string(prompt) + " ", true);
    return answer ? *answer : std::string();
  }
  err_ << prompt << " (no terminal: empty answer)\n";
  return std::string();
}

std::string needsTheWindowProgram(std::string_view caption) {
  return "hangarpak-cli: here the window program would ask \"" + std::string(caption) +
         "\"; run hangarpak once to answer it, then try again";
}

std::string captionOf(const core::ModalController& controller) {
  const auto* form = dynamic_cast<const core::Form*>(&controller);
  return form && !form->caption.empty() ? form->caption : "a question of its own";
}

std::optional<std::string> TerminalDialogs::openFile(std::string_view title, std::string_view, std::string_view) {
  err_ << needsTheWindowProgram(title) << '\n';
  return std::nullopt;
}

void TerminalDialogs::runModal(core::ModalController& controller) {
  err_ << needsTheWindowProgram(captionOf(controller)) << '\n';
  throw core::EndProgram{1};
}

void TerminalWindowHost::showNamePrompt() {
  auto& s = ctx_.state;
  const auto prompt = s.namePrompt;
  if (prompt == core::NamePrompt::None) return;
  const bool folder = prompt == core::NamePrompt::FolderName;
  std::string& text = folder ? s.installFolderName : s.archiveBaseName;
  const auto& given = folder ? answers_.folderName : answers_.addonName;
  const std::string refused = "Installation aborted: " + std::string(core::kFolderNameRefusal);

  std::string answer;
  if (given) {
    answer = *given;
    if (folder && !core::IsSafeName(answer)) {
      err_ << refused << '\n';
      return;  // cancelled: the archive is not installed
    }
  } else if (ask_) {
    for (;;) {
      auto typed = ask_(std::string(promptLabel(prompt)) + " [" + text + "] ", false);
      if (!typed) return;  // end of input: cancel
      answer = typed->empty() ? text : *typed;
      if (!folder || core::IsSafeName(answer)) break;
      err_ << refused << '\n';
    }
  } else {
    answer = text;
  }
  text = answer;
  s.nameConfirmed = true;
}

}  // namespace app

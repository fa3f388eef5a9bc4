#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dialogs.h"
#include "core/null_printer.h"
#include "core/window_host.h"

namespace core {
class Context;
}

namespace app {

// Asks the person at the terminal: shows the prompt and returns the line
// typed (secret: without echo); nullopt at the end of input. Empty when
// hangarpak-cli runs without a terminal.
using TerminalAsk = std::function<std::optional<std::string>(std::string_view prompt, bool secret)>;

// The answers given on the command line instead of at a prompt.
struct PromptAnswers {
  std::optional<bool> yes;                // --yes / --no
  std::optional<std::string> password;    // --password
  std::optional<std::string> folderName;  // --folder-name
  std::optional<std::string> addonName;   // --name
};

// The archives of a run as the person typed them and as the program names
// them. The program's messages name an archive by its Windows path, often
// upper-cased ("Z:\HOME\ME\DOWNLOADS\C182.ZIP"); on the terminal it is
// named as it was typed.
class TypedPaths {
 public:
  void add(std::string programPath, std::string typed);
  // text with every program path in it, in any case, replaced by its typed
  // form.
  std::string shown(std::string_view text) const;

 private:
  std::vector<std::pair<std::string, std::string>> paths_;  // longest program path first
};

// Dialogs for hangarpak-cli. Every message goes to the error stream as
// "Title: text". A question is answered by --yes or --no, else asked on the
// terminal, else answered No. An input box (the archive password) takes
// --password, else the terminal (without echo), else gets an empty answer.
// The program's own dialogs and the file dialog need the window program:
// they end the run.
class TerminalDialogs : public core::Dialogs {
 public:
  TerminalDialogs(std::ostream& err, TerminalAsk ask, PromptAnswers answers)
      : err_(err), ask_(std::move(ask)), answers_(std::move(answers)) {}

  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) override;
  std::optional<std::string> inputBox(std::string_view prompt, std::string_view title, std::string_view def) override;
  std::optional<std::string> openFile(std::string_view title, std::string_view filter,
                                      std::string_view startFolder) override;
  void runModal(core::ModalController& controller) override;

  // Messages name the archives as typed from now on.
  void showPathsAsTyped(const TypedPaths& typed) { typed_ = &typed; }

 private:
  std::ostream& err_;
  TerminalAsk ask_;
  PromptAnswers answers_;
  const TypedPaths* typed_ = nullptr;
};

// The windows of hangarpak-cli: there are none, so the progress dialog and
// the main window are no-ops; the name prompt takes --folder-name or --name,
// else asks on the terminal, else keeps the proposed name.
class TerminalWindowHost : public core::WindowHost {
 public:
  TerminalWindowHost(core::Context& ctx, std::ostream& err, TerminalAsk ask, PromptAnswers answers)
      : ctx_(ctx), err_(err), ask_(std::move(ask)), answers_(std::move(answers)) {}

  void showNamePrompt() override;

 private:
  core::Context& ctx_;
  std::ostream& err_;
  TerminalAsk ask_;
  PromptAnswers answers_;
};

// What hangarpak-cli says where the window program would ask something it
// cannot ask on a terminal (the version chooser of a first start, the file
// dialog that locates the simulator): the dialog's caption, and what to do.
std::string needsTheWindowProgram(std::string_view caption);

// The caption of one of the program's own dialogs.
std::string captionOf(const core::ModalController& controller);

// Nothing to print on in hangarpak-cli.
using core::NullPrinter;

}  // namespace app

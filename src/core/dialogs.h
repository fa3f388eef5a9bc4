#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// OKCancelDefaultCancel: OK and Cancel with Cancel as the default button,
// for a question whose OK cannot be undone.
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, OKCancelDefaultCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Yes, No };

// A modal dialog of the program's own (name prompt, options, version
// chooser, start, about, scan). Implemented by the toolkit-free controllers;
// the Qt seam shows the matching view, the scripted seam plays the user.
class ModalController {
 public:
  virtual ~ModalController() = default;
  // A stable name ("nameFrm", "optionFrm", "fsOptFrm", "startFrm", ...).
  virtual std::string_view formName() const = 0;
  // Called when the dialog appears and when it is closed by its close box.
  virtual void Form_Load() {}
  // Returns whether the dialog may close now (false keeps it open).
  virtual bool closeBox() { return true; }
  // True once the controller has unloaded itself (an OK or Cancel handler).
  virtual bool unloaded() const = 0;
};

// Everything modal goes through this seam.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box; CR LF inside text breaks the line. Returns the button pressed.
  virtual Answer msgBox(std::string_view text, std::string_view title, Buttons buttons, Icon icon) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> inputBox(std::string_view prompt, std::string_view title,
                                              std::string_view def) = 0;
  // A file-open dialog; filter is "description|pattern". Returns a Windows
  // path, nullopt on cancel. startFolder (Windows path) may be empty.
  virtual std::optional<std::string> openFile(std::string_view title, std::string_view filter,
                                              std::string_view startFolder = {}) = 0;
  // A folder chooser starting in startFolder (a host path). Returns the
  // chosen folder as a host path, which may lie on no drive (the caller
  // says so); nullopt on cancel, and where no chooser can be shown.
  virtual std::optional<std::string> chooseFolder(std::string_view /*title*/, std::string_view /*startFolder*/) {
    return std::nullopt;
  }
  // A file-save dialog that asks before replacing a file; filter is
  // "description|pattern", name the file name it proposes. Returns a host
  // path: what is saved is the user's own document, kept wherever the user
  // keeps files, not in the simulator's tree. nullopt on cancel, and where
  // no such dialog can be shown.
  virtual std::optional<std::string> saveFile(std::string_view /*title*/, std::string_view /*filter*/,
                                              std::string_view /*name*/) {
    return std::nullopt;
  }
  // Shows one of the program's own dialogs modally until it unloads.
  virtual void runModal(ModalController& controller) = 0;
  // Lets the windows repaint without taking input (long work, waiting for a
  // program). A no-op where nothing is shown.
  virtual void keepPainting() {}
  // A short sound, as after an installation run.
  virtual void beep() {}
};

}  // namespace core

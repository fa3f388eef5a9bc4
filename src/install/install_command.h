#pragma once

#include <string>
#include <vector>

namespace core {
class Context;
}

namespace install {

// What one run of the install command did.
struct InstallRun {
  int total = 0;
  // Per archive, in the order given: whether it added to installedCount.
  std::vector<bool> installed;
  // What the run had to tell beside the counter (state.installNotes).
  std::vector<std::string> notes;
  bool allInstalled() const;
};

// The line the progress dialog ends with: installedCount + "/" + total +
// " file(s) successfully installed.".
std::string CounterText(int installedCount, int total);

// The progress dialog's last message: "Done!", and below it the notes, as
// many as fit a dialog (the rest counted).
std::string DoneText(const std::vector<std::string>& notes);

// The install command over a list of archives (Windows paths): loads the
// progress dialog in installing mode, installs each archive in turn with
// "Installing file k/n" on the dialog, then shows "Done!" (with the run's
// notes below it) and the counter, enables its OK button and beeps. With no archive it only loads and
// unloads the dialog. A run-time error ends the program inside
// InstallArchive (core::EndProgram).
InstallRun RunInstallCommand(core::Context& ctx, const std::vector<std::string>& archives);

}  // namespace install

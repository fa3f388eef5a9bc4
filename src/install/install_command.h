#pragma once

#include <string>
#include <vector>

namespace core {
class Context;
}

namespace install {

// An archive of the run that was not installed, and why, in words.
struct NotInstalled {
  std::string archive;  // Windows path, as given to the run
  std::string reason;
};

// What one run of the install command did.
struct InstallRun {
  int total = 0;
  // Per archive, in the order given: whether it added to installedCount.
  std::vector<bool> installed;
  // The archives that did not, in the order given.
  std::vector<NotInstalled> notInstalled;
  // What the run had to tell beside the counter (state.installNotes).
  std::vector<std::string> notes;
  bool allInstalled() const;
};

// "name.zip: reason", the line a summary gives an archive not installed.
std::string NotInstalledLine(const NotInstalled& archive);

// The line the progress dialog ends with: installedCount + "/" + total +
// " file(s) successfully installed.".
std::string CounterText(int installedCount, int total);

// The progress dialog's last message: "Done!", below it the archives that
// were not installed and why, then the notes, as many of each as fit a
// dialog (the rest counted).
std::string DoneText(const InstallRun& run);

// The install command over a list of archives (Windows paths): loads the
// progress dialog in installing mode, installs each archive in turn with
// "Installing file k/n" on the dialog, then shows "Done!" (with the run's
// notes below it) and the counter, enables its OK button and beeps. With no archive it only loads and
// unloads the dialog. A run-time error ends the program inside
// InstallArchive (core::EndProgram).
InstallRun RunInstallCommand(core::Context& ctx, const std::vector<std::string>& archives);

}  // namespace install

#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/runtime.h"
#include "app/time_zone.h"
#include "core/errors.h"
#include "core/single_instance.h"
#include "qt/icons.h"
#include "qt/instance_channel.h"
#include "qt/journal_views.h"
#include "qt/main_view.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_printer.h"
#include "qt/scan_view.h"
#include "qt/small_views.h"
#include "ui/main_window.h"

namespace {

std::string executablePath(const char* argv0) {
  char exe[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  return n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string(argv0);
}

// The whole argument text is one archive path. A file manager passes a host
// path; the program works in Windows paths.
std::string commandLine(int argc, char** argv, const core::DriveTable& drives) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  if (!text.empty() && text[0] == '/')
    if (auto win = drives.toWindows(text)) return *win;
  return text;
}

// What a second start passes to the running program: the archive as an
// absolute host path (that program runs in another folder), or "" to just
// bring the window forward.
std::string handedArchive(int argc, char** argv) {
  QStringList words;
  for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  const QString text = words.join(' ');
  if (text.isEmpty()) return {};
  const bool windowsPath = text.size() >= 2 && text[1] == ':';
  return text.startsWith('/') || windowsPath ? text.toStdString() : QFileInfo(text).absoluteFilePath().toStdString();
}

// --version and --help answer on standard output before anything else: no
// window, no display needed, no setting read.
std::optional<int> answerOption(int argc, char** argv) {
  if (argc != 2) return std::nullopt;
  const std::string_view arg = argv[1];
  if (arg == "--version") {
    std::printf("hangarpak %s\n", HANGARPAK_VERSION);
    return 0;
  }
  if (arg == "--help" || arg == "-h") {
    std::printf(
        "Usage: hangarpak [ARCHIVE]\n"
        "Installs and manages add-ons of FS98, FS2000 and FS2002.\n"
        "With an archive, installs it without showing the main window.\n"
        "\n"
        "Options:\n"
        "  -h, --help     print this help and exit\n"
        "  --version      print the version and exit\n"
        "\n"
        "See hangarpak(1); hangarpak-cli(1) does the same jobs from a terminal.\n");
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = answerOption(argc, argv)) return *status;
  const bool zoneNamed = app::NameTimeZoneFile();
  QApplication application(argc, argv);
  QApplication::setApplicationName("Hangarpak");
  qt::QtDialogs dialogs;
  qt::registerShellViews(dialogs);
  qt::registerScanView(dialogs);
  qt::registerJournalViews(dialogs);

  core::Environment env = core::Environment::fromProcess();
  if (zoneNamed) env.unset("TZ");
  const std::string exe = executablePath(argv[0]);
  try {
    // A second instance ends here, before any setting is read.
    const core::Locations locations = core::Locations::fromEnvironment(env, exe);
    QApplication::setWindowIcon(qt::appIcon(locations.shareFolder));
    // A second start hands its archive to the running window instead.
    const QString channel = qt::channelName(core::lockFilePath(locations));
    auto lock =
        core::GuardSingleInstance(locations, dialogs, [&] { return qt::handOver(channel, handedArchive(argc, argv)); });

    qt::QtPrinter printer(env);
    app::Runtime runtime(env, exe, dialogs, printer);
    dialogs.setDrives(&runtime.drives());
    // Before anything touches the simulator's tree: what a killed run left
    // half done is undone (or finished), and said once.
    // A journal that cannot record is named and, when the user agrees,
    // moved aside; otherwise every installation is refused with its name.
    const auto journalCheck = runtime.checkJournal();
    if (!journalCheck.said.empty())
      dialogs.msgBox(journalCheck.said, "Install journal", core::Buttons::OK,
                     journalCheck.usable ? core::Icon::Information : core::Icon::Exclamation);
    for (const auto& message : journal::recoveryMessages(runtime.tidyAfterEarlierRun(lock != nullptr)))
      dialogs.msgBox(message, "Hangarpak", core::Buttons::OK, core::Icon::Information);
    ui::MainWindow mainWindow(runtime.context());
    mainWindow.adoptInstanceLock(std::move(lock));
    qt::MainView view(mainWindow, dialogs);
    dialogs.setParent(&view);

    // Listening from before the first install, so a later start never
    // finds the lock taken and nobody to hand over to.
    qt::InstanceChannel later(channel, [&view](const std::string& archive) { view.takeHandedOver(archive); });
    mainWindow.Form_Load(commandLine(argc, argv, runtime.drives()));
    view.present();  // shows the window unless a command-line install keeps it hidden
    return QApplication::exec();
  } catch (const core::EndProgram& end) {
    return end.exitCode;
  } catch (const core::RuntimeError& e) {
    dialogs.msgBox(std::string("Hangarpak cannot start: ") + e.what(), "Hangarpak", core::Buttons::OK,
                   core::Icon::Critical);
    return 1;
  }
}

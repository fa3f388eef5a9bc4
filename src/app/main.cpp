#include <unistd.h>

#include <QApplication>
#include <climits>
#include <string>

#include "app/runtime.h"
#include "core/errors.h"
#include "core/single_instance.h"
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

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Hangarpak");
  qt::QtDialogs dialogs;
  qt::registerShellViews(dialogs);
  qt::registerScanView(dialogs);

  const core::Environment env = core::Environment::fromProcess();
  const std::string exe = executablePath(argv[0]);
  try {
    // A second instance ends here, before any setting is read.
    auto lock = core::GuardSingleInstance(core::Locations::fromEnvironment(env, exe), dialogs);

    qt::QtPrinter printer(env);
    app::Runtime runtime(env, exe, dialogs, printer);
    dialogs.setDrives(&runtime.drives());
    ui::MainWindow mainWindow(runtime.context());
    mainWindow.adoptInstanceLock(std::move(lock));
    qt::MainView view(mainWindow, dialogs);
    dialogs.setParent(&view);

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

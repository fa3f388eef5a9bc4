// Archive bytes in, extracted as an installation extracts them, into the
// TempZip of a fresh temporary tree: nothing appears anywhere else, and what
// TempZip holds stays within the bounds.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/null_printer.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "install/extract.h"

namespace {

namespace fsys = std::filesystem;

// Answers every message with OK and every password prompt with a wrong one.
class QuietDialogs : public core::Dialogs {
 public:
  core::Answer msgBox(std::string_view, std::string_view, core::Buttons, core::Icon) override {
    return core::Answer::OK;
  }
  std::optional<std::string> inputBox(std::string_view, std::string_view, std::string_view) override { return "x"; }
  std::optional<std::string> openFile(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void runModal(core::ModalController&) override {}
};

class NoProcesses : public core::ProcessLauncher {
 public:
  int runAndWait(const core::ProcessRequest&, const std::function<void()>&) override { std::abort(); }
  void start(const core::ProcessRequest&) override { std::abort(); }
};

// outer/ holds only tree/; the tree holds the archive and the application
// folder with its TempZip.
struct Tree {
  Tree() {
    char pattern[] = "/tmp/hangarpak-fuzz-XXXXXX";
    outer = ::mkdtemp(pattern);
    root = outer + "/tree";
    fsys::create_directories(root + "/app");
    drives.set('z', root, "fuzz");
    env.set("HANGARPAK_HOME", root + "/app");
    env.set("XDG_CONFIG_HOME", root + "/config");
    env.set("HOME", root);
    fs = core::makeHostFileSystem(drives);
    settings = std::make_unique<core::IniSettingsStore>(root + "/config");
    registry = std::make_unique<core::IniRegistryStore>(root + "/config/registry.ini");
    ctx = std::make_unique<core::Context>(env, core::Locations::fromEnvironment(env, root + "/bin/hangarpak"), drives,
                                          *fs, *settings, *registry, processes, dialogs, printer);
  }
  std::string outer, root;
  core::Environment env;
  core::DriveTable drives;
  std::unique_ptr<core::FileSystem> fs;
  std::unique_ptr<core::IniSettingsStore> settings;
  std::unique_ptr<core::IniRegistryStore> registry;
  NoProcesses processes;
  QuietDialogs dialogs;
  core::NullPrinter printer;
  std::unique_ptr<core::Context> ctx;
};

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Tree tree;
  const std::string tempZip = tree.root + "/app/TempZip";
  fsys::remove_all(tempZip);
  fsys::create_directory(tempZip);
  { std::ofstream(tree.root + "/in.zip", std::ios::binary).write(reinterpret_cast<const char*>(data), size); }
  tree.ctx->state.skipPasswords = false;

  install::ExtractLimits limits;
  limits.minBytes = 4 << 20;
  limits.maxMembers = 200;
  install::ExtractArchive(*tree.ctx, "Z:\\in.zip", limits);

  std::uint64_t bytes = 0, files = 0;
  for (const auto& e : fsys::directory_iterator(tempZip)) {
    check(e.is_regular_file() && !e.is_symlink());
    bytes += e.file_size();
    ++files;
  }
  check(bytes <= limits.bytesFor(size) && files <= limits.maxMembers);
  for (const auto& e : fsys::recursive_directory_iterator(tree.root)) {
    const std::string p = e.path().string();
    check(p == tree.root + "/in.zip" || p == tree.root + "/app" || p.rfind(tempZip, 0) == 0);
  }
  for (const auto& e : fsys::directory_iterator(tree.outer)) check(e.path().string() == tree.root);
  return 0;
}

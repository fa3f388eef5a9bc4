// Time from starting the window program to its first shown window, on a
// settings store with the simulator already set, side by side with the
// floor of any Qt program that shows one window. Runs on an X display
// (xvfb-run); the window is found through the X server, so the program
// itself is measured exactly as a user starts it.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ratio_reporter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A home with a finished first run and an FS2002 folder.
class Home {
 public:
  Home() : root_(fs::temp_directory_path() / ("hangarpak-startup-" + std::to_string(::getpid()))) {
    fs::create_directories(root_ / "c/FS2002/Aircraft");
    fs::create_directories(root_ / "config/Hangarpak");
    std::ofstream(root_ / "c/FS2002/fs2002.exe");
    std::ofstream(root_ / "config/Hangarpak/settings.ini")
        << "[Options]\r\nRunOnce=1\r\nFS Version=80\r\n[Main]\r\nFS Path=C:\\FS2002\r\n";
  }
  ~Home() { fs::remove_all(root_); }

  std::vector<std::string> environment() const {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "HANGARPAK_HOME", "HANGARPAK_DRIVES"})
      env.erase(std::remove_if(env.begin(), env.end(),
                               [&](const std::string& v) { return v.rfind(std::string(name) + "=", 0) == 0; }),
                env.end());
    env.push_back("HOME=" + (root_ / "home").string());
    env.push_back("XDG_CONFIG_HOME=" + (root_ / "config").string());
    env.push_back("XDG_DATA_HOME=" + (root_ / "data").string());
    env.push_back("HANGARPAK_HOME=" + (root_ / "app").string());
    env.push_back("HANGARPAK_DRIVES=c=" + (root_ / "c").string() + ";z=/");
    return env;
  }

 private:
  fs::path root_;
};

std::string windowName(xcb_connection_t* x, xcb_window_t w) {
  auto cookie = xcb_get_property(x, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(x, cookie, nullptr);
  if (!reply) return {};
  std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                   static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  std::free(reply);
  return name;
}

// Whether a viewable top-level window's title starts with prefix.
bool windowShown(xcb_connection_t* x, xcb_window_t root, const std::string& prefix) {
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr);
  if (!tree) return false;
  bool shown = false;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !shown; ++i) {
    xcb_get_window_attributes_reply_t* attrs =
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, children[i]), nullptr);
    if (attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE && windowName(x, children[i]).rfind(prefix, 0) == 0)
      shown = true;
    std::free(attrs);
  }
  std::free(tree);
  return shown;
}

void startUntilShown(benchmark::State& state, const std::string& program, const std::string& title) {
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    state.SkipWithError("no X display: run under xvfb-run");
    xcb_disconnect(x);
    return;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  Home home;
  std::vector<std::string> env = home.environment();
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};

  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    while (!windowShown(x, root, title)) {
      if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) {
        state.SkipWithError("no window within 20 s");
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  xcb_disconnect(x);
}

void BM_WindowProgram(benchmark::State& state) {
  startUntilShown(state, HANGARPAK_WINDOW_PROGRAM, "Hangarpak");
}
void BM_QtFloor(benchmark::State& state) {
  startUntilShown(state, HANGARPAK_FLOOR_PROGRAM, "Hangarpak floor");
}

}  // namespace

BENCHMARK(BM_QtFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowProgram)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("the window program's start against the floor of a Qt program", "BM_WindowProgram", "BM_QtFloor");
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}

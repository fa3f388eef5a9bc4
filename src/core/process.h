#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// Splits a Windows command line into arguments by the rules of the Windows
// C runtime: blanks separate, double quotes group, 2n backslashes before a
// quote give n backslashes, 2n+1 give n and a literal quote, and "" inside a
// quoted run gives a quote.
std::vector<std::string> splitCommandLine(std::string_view commandLine);
// The same rules for text that holds only arguments (no program name).
std::vector<std::string> splitCommandLineArguments(std::string_view arguments);
// The argument written so that splitCommandLine gives it back unchanged:
// quoted when it is empty or holds blanks or quotes, with the backslashes
// before a quote doubled. Callers that put a file name on a command line
// use it, whatever the name holds.
std::string quoteCommandLineArgument(std::string_view arg);

// One program to start, already mapped to the host: argv[0] is the host path
// of the program (or of "wine" with the program after it).
struct ProcessRequest {
  std::vector<std::string> argv;
  std::vector<std::pair<std::string, std::string>> extraEnvironment;
  std::string workingFolder;  // host folder; empty = the program's own
};

// Starts processes, never through a shell. Throws RuntimeError when the
// program cannot be started.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts and waits for the end, calling keepPainting now and then while
  // waiting. Returns the exit status.
  virtual int runAndWait(const ProcessRequest& request, const std::function<void()>& keepPainting) = 0;
  // Starts without waiting.
  virtual void start(const ProcessRequest& request) = 0;
};

class Environment;
// Starts programs with posix_spawn in the environment given here (plus a
// request's extra variables), with the program's own descriptors closed and
// signals at their defaults. runAndWait calls keepPainting about every 50 ms
// and returns as soon as the program ends.
std::unique_ptr<ProcessLauncher> makePosixProcessLauncher(const Environment& env);

// The host path of a program found on env's PATH (a plain name, no "/"):
// the first regular file with the run bit; nullopt when there is none.
std::optional<std::string> findOnPath(const Environment& env, std::string_view name);

class Context;

// Turns a Windows command line into a request: the program is mapped to its
// host path (an unquoted program path with blanks is tried at each blank,
// shortest first, until a file exists); a program the kernel can run itself
// (ELF, or "#!" with the run bit) is started directly; a .exe that is neither
// goes through "wine" when wine is on the PATH, in the simulator's Wine
// prefix, with every argument that is a Windows path named as that prefix
// names the file. Throws RuntimeError 53 when no program is found.
ProcessRequest requestForCommandLine(Context& ctx, std::string_view commandLine);

// The file at the Windows path is a program for Windows: it exists and is
// neither an ELF file nor a "#!" script.
bool IsWindowsProgram(Context& ctx, std::string_view windowsPath);

// Wine itself with the arguments given ({"reg", "add", ...}), in the
// simulator's prefix. Throws RuntimeError 53 when wine is not on the PATH.
ProcessRequest WineRequest(Context& ctx, std::vector<std::string> args);

// Starts the command line and waits for it to end; the windows keep painting
// but take no input meanwhile. A start failure shows "ShellAndWait error " +
// number (title "Error", exclamation) and returns.
void ShellAndWait(Context& ctx, std::string_view commandLine);

// Starts the command line without waiting (help viewer, file manager).
// Throws RuntimeError when it cannot be started.
void StartProgram(Context& ctx, std::string_view commandLine);

// Opens a host folder or a web address with xdg-open, without waiting.
void OpenWithDesktop(Context& ctx, const std::string& hostPathOrUrl);

}  // namespace core

#include "core/process.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace core {

namespace {

// "\x7f" and "ELF" apart, or the escape would swallow the "E".
constexpr std::string_view kElfMagic =
    "\x7f"
    "ELF";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool isHostFile(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool hasExtension(std::string_view path) {
  return lastComponent(path).find('.') != std::string::npos;
}

// The host file a program name stands for: a Windows path through the drive
// table, a plain name on the PATH, an absolute host path as it is. A name
// without an extension may also mean name + ".exe".
std::optional<std::string> locateProgram(Context& ctx, std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::vector<std::string> tries{std::string(name)};
  if (!hasExtension(name)) tries.push_back(std::string(name) + ".exe");
  for (const auto& candidate : tries) {
    if (candidate[0] == '/') {
      if (isHostFile(candidate)) return candidate;
    } else if (candidate.find_first_of("\\:") == std::string::npos) {
      if (auto found = findOnPath(ctx.env, candidate)) return found;
    } else {
      try {
        if (ctx.fs.fileExists(candidate)) return ctx.fs.hostPath(candidate);
      } catch (const RuntimeError&) {
        // A name no drive holds is simply not this candidate.
      }
    }
  }
  return std::nullopt;
}

std::string firstBytes(const std::string& hostPath, std::size_t count) {
  std::string head(count, '\0');
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  const ssize_t n = ::read(fd, head.data(), count);
  ::close(fd);
  head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return head;
}

std::string hostFolderOf(const std::string& hostPath) {
  auto slash = hostPath.find_last_of('/');
  return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

bool isDrivePath(std::string_view s) {
  return s.size() >= 3 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':' &&
         (s[2] == '\\' || s[2] == '/');
}

}  // namespace

bool IsWindowsProgram(Context& ctx, std::string_view windowsPath) {
  try {
    if (!ctx.fs.fileExists(windowsPath)) return false;
    const std::string head = firstBytes(ctx.fs.hostPath(windowsPath), 4);
    return head != kElfMagic && head.rfind("#!", 0) != 0;
  } catch (const RuntimeError&) {
    return false;
  }
}

ProcessRequest WineRequest(Context& ctx, std::vector<std::string> args) {
  auto wine = findOnPath(ctx.env, "wine");
  if (!wine) throw RuntimeError(err::FileNotFound, "wine is not on the PATH", ENOENT);
  ProcessRequest request;
  request.argv.push_back(*wine);
  request.argv.insert(request.argv.end(), args.begin(), args.end());
  const WinePrefix* prefix = ctx.winePrefixes ? ctx.winePrefixes->simulator() : nullptr;
  if (prefix) request.extraEnvironment.emplace_back("WINEPREFIX", prefix->path);
  return request;
}

ProcessRequest requestForCommandLine(Context& ctx, std::string_view commandLine) {
  std::size_t pos = 0;
  while (pos < commandLine.size() && isBlank(commandLine[pos])) ++pos;
  const std::string_view line = commandLine.substr(pos);
  if (line.empty()) throw RuntimeError(err::InvalidProcedureCall, "empty command line");

  std::optional<std::string> program;
  std::vector<std::string> args;
  if (line[0] == '"') {
    auto parts = splitCommandLine(line);
    program = locateProgram(ctx, parts[0]);
    args.assign(parts.begin() + 1, parts.end());
  } else {
    // An unquoted path with blanks is ambiguous; like the process start of
    // the simulator's system, try the text up to each blank, shortest first.
    for (std::size_t i = 1; i <= line.size() && !program; ++i) {
      if (i < line.size() && !isBlank(line[i])) continue;
      if (isBlank(line[i - 1])) continue;
      program = locateProgram(ctx, line.substr(0, i));
      if (program) args = splitCommandLineArguments(line.substr(i));
    }
  }
  if (!program) {
    const auto parts = splitCommandLine(line);
    throw RuntimeError(err::FileNotFound, "no program " + parts[0], ENOENT);
  }

  ProcessRequest request;
  request.workingFolder = hostFolderOf(*program);
  const std::string head = firstBytes(*program, 4);
  if (head == kElfMagic || head.rfind("#!", 0) == 0) {
    // The kernel runs it, whatever its name.
    if (::access(program->c_str(), X_OK) != 0)
      throw RuntimeError(err::PermissionDenied, *program + " has no run permission", EACCES);
    request.argv.push_back(*program);
  } else if (iendsWith(*program, ".exe")) {
    if (!findOnPath(ctx.env, "wine"))
      throw RuntimeError(err::FileNotFound, "wine is not on the PATH to start " + *program, ENOENT);
    // The program sees the files through the prefix's own drives.
    for (auto& arg : args)
      if (isDrivePath(arg)) arg = PathInPrefix(ctx, arg);
    const std::string folder = request.workingFolder;
    request = WineRequest(ctx, {*program});
    request.workingFolder = folder;
  } else {
    throw RuntimeError(err::InvalidProcedureCall, *program + " is not a program", ENOEXEC);
  }
  request.argv.insert(request.argv.end(), args.begin(), args.end());
  return request;
}

void ShellAndWait(Context& ctx, std::string_view commandLine) {
  try {
    const ProcessRequest request = requestForCommandLine(ctx, commandLine);
    ctx.dialogs.keepPainting();
    ctx.processes.runAndWait(request, [&ctx] { ctx.dialogs.keepPainting(); });
  } catch (const RuntimeError& e) {
    ctx.dialogs.msgBox("ShellAndWait error " + std::to_string(e.number()), "Error", Buttons::OK, Icon::Exclamation);
  }
}

void StartProgram(Context& ctx, std::string_view commandLine) {
  ctx.processes.start(requestForCommandLine(ctx, commandLine));
}

void OpenWithDesktop(Context& ctx, const std::string& hostPathOrUrl) {
  auto opener = findOnPath(ctx.env, "xdg-open");
  if (!opener) throw RuntimeError(err::FileNotFound, "xdg-open is not on the PATH", ENOENT);
  ProcessRequest request;
  // A relative name starting with "-" would be read as an option.
  const std::string target = hostPathOrUrl.rfind('-', 0) == 0 ? "./" + hostPathOrUrl : hostPathOrUrl;
  request.argv = {*opener, target};
  ctx.processes.start(request);
}

}  // namespace core

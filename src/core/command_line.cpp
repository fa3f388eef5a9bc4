#include "core/process.h"

namespace core {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The arguments after the program name. Backslashes are literal except
// before a quote: 2n of them then give n and the quote opens or closes a
// quoted run, 2n+1 give n and a literal quote; "" inside a quoted run is a
// literal quote and the run goes on.
void splitArguments(std::string_view s, std::size_t pos, std::vector<std::string>& out) {
  for (;;) {
    while (pos < s.size() && isBlank(s[pos])) ++pos;
    if (pos >= s.size()) return;
    std::string arg;
    bool quoted = false;
    for (;;) {
      std::size_t slashes = 0;
      while (pos < s.size() && s[pos] == '\\') {
        ++slashes;
        ++pos;
      }
      bool copy = true;
      if (pos < s.size() && s[pos] == '"') {
        if (slashes % 2 == 0) {
          if (quoted && pos + 1 < s.size() && s[pos + 1] == '"') {
            ++pos;
          } else {
            copy = false;
            quoted = !quoted;
          }
        }
        slashes /= 2;
      }
      arg.append(slashes, '\\');
      if (pos >= s.size() || (!quoted && isBlank(s[pos]))) break;
      if (copy) arg += s[pos];
      ++pos;
    }
    out.push_back(std::move(arg));
  }
}

std::size_t programNameEnd(std::string_view commandLine, std::size_t start) {
  bool quoted = false;
  std::size_t pos = start;
  while (pos < commandLine.size() && (quoted || !isBlank(commandLine[pos]))) {
    if (commandLine[pos] == '"') quoted = !quoted;
    ++pos;
  }
  return pos;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < commandLine.size() && isBlank(commandLine[pos])) ++pos;
  if (pos >= commandLine.size()) return out;
  // The program name has rules of its own: quotes group and vanish, and a
  // backslash is always literal (a path may end in one).
  const std::size_t end = programNameEnd(commandLine, pos);
  std::string program;
  for (std::size_t i = pos; i < end; ++i)
    if (commandLine[i] != '"') program += commandLine[i];
  out.push_back(std::move(program));
  splitArguments(commandLine, end, out);
  return out;
}

std::vector<std::string> splitCommandLineArguments(std::string_view arguments) {
  std::vector<std::string> out;
  splitArguments(arguments, 0, out);
  return out;
}

std::string quoteCommandLineArgument(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
  std::string out = "\"";
  std::size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote (the argument's own or the closing one)
    // are doubled so that they stay backslashes.
    out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(2 * slashes, '\\');
  out += '"';
  return out;
}

}  // namespace core

#include <ostream>
#include <sstream>

#include "app/cli_commands.h"

namespace app {

namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kOptionColumn = 22;

// A usage's words, with brackets and bars as words of their own.
std::vector<std::string_view> tokensOf(std::string_view usage) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < usage.size()) {
    if (usage[i] == ' ') {
      ++i;
    } else if (usage[i] == '[' || usage[i] == ']') {
      tokens.push_back(usage.substr(i++, 1));
    } else {
      const std::size_t end = usage.find_first_of(" []", i);
      tokens.push_back(usage.substr(i, end - i));
      i = end == std::string_view::npos ? usage.size() : end;
    }
  }
  return tokens;
}

bool isOptionWord(std::string_view token) {
  return token.size() > 2 && token.substr(0, 2) == "--";
}

// text broken into lines of at most kWidth characters, every line after the
// first indented by indent blanks; the first line starts at column start.
void printWrapped(std::ostream& out, std::string_view text, std::size_t start, std::size_t indent) {
  std::istringstream words{std::string(text)};
  std::size_t column = start;
  bool first = true;
  for (std::string word; words >> word;) {
    if (!first && column + 1 + word.size() > kWidth) {
      out << '\n' << std::string(indent, ' ');
      column = indent;
    } else if (!first) {
      out << ' ';
      ++column;
    }
    out << word;
    column += word.size();
    first = false;
  }
  out << '\n';
}

// A form after its lead ("Usage: hangarpak-cli "), broken between its
// words (a bracket is one word) so that lines stay within kWidth;
// continuation lines start under the form's second word.
void printForm(std::ostream& out, std::string_view lead, std::string_view form) {
  std::vector<std::string_view> words;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= form.size(); ++i) {
    if (i < form.size() && form[i] == '[') ++depth;
    if (i < form.size() && form[i] == ']' && depth > 0) --depth;
    if (i == form.size() || (form[i] == ' ' && depth == 0)) {
      if (i > start) words.push_back(form.substr(start, i - start));
      start = i + 1;
    }
  }
  out << lead;
  std::size_t column = lead.size();
  const std::size_t indent = lead.size() + (words.empty() ? 0 : words.front().size() + 1);
  for (std::size_t k = 0; k < words.size(); ++k) {
    if (k > 0 && column + 1 + words[k].size() > kWidth) {
      out << '\n' << std::string(indent, ' ');
      column = indent;
    } else if (k > 0) {
      out << ' ';
      ++column;
    }
    out << words[k];
    column += words[k].size();
  }
  out << '\n';
}

void printOption(std::ostream& out, std::string_view form, std::string_view text) {
  out << "  " << form;
  std::size_t column = 2 + form.size();
  if (column + 2 > kOptionColumn) {
    out << '\n';
    column = 0;
  }
  out << std::string(kOptionColumn - column, ' ');
  printWrapped(out, text, kOptionColumn, kOptionColumn);
}

}  // namespace

// A family's usage joins its forms with " | "; a bar inside brackets
// ("[--yes | --no]") is a choice within one form, not between forms.
std::vector<std::string_view> formsOf(std::string_view usage) {
  std::vector<std::string_view> forms;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < usage.size(); ++i) {
    if (usage[i] == '[') ++depth;
    if (usage[i] == ']' && depth > 0) --depth;
    if (depth == 0 && usage.substr(i, 3) == " | ") {
      forms.push_back(usage.substr(start, i - start));
      start = i + 3;
      i += 2;
    }
  }
  forms.push_back(usage.substr(start));
  return forms;
}

std::vector<std::pair<std::string, bool>> optionsOf(std::string_view usage) {
  std::vector<std::pair<std::string, bool>> options;
  const auto tokens = tokensOf(usage);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (!isOptionWord(tokens[i])) continue;
    const bool takesValue = i + 1 < tokens.size() && !isOptionWord(tokens[i + 1]) && tokens[i + 1] != "[" &&
                            tokens[i + 1] != "]" && tokens[i + 1] != "|";
    bool seen = false;
    for (const auto& o : options) seen = seen || o.first == tokens[i];
    if (!seen) options.emplace_back(std::string(tokens[i]), takesValue);
  }
  return options;
}

// One form per line under "Commands:", two blanks in; the bash completion
// reads that block, so its shape is part of the interface.
void printHelp(std::span<const CliCommand> commands, std::ostream& out) {
  out << "Usage: hangarpak-cli COMMAND [ARGUMENTS...]\n"
         "Installs and manages add-ons of FS98, FS2000 and FS2002.\n"
         "\n"
         "Commands:\n";
  for (const auto& command : commands)
    for (const auto form : formsOf(command.usage)) out << "  " << form << '\n';
  out << "\n"
         "Options:\n"
         "  -h, --help     print this help and exit\n"
         "  --version      print the version and exit\n"
         "\n"
         "hangarpak-cli help COMMAND, or hangarpak-cli COMMAND --help, explains a command and its options.\n"
         "Exit status: 0 done, 1 the operation failed or found a problem, 2 wrong usage.\n"
         "See hangarpak-cli(1) for the environment and the files it uses.\n";
}

void printCommandHelp(const CliCommand& command, std::ostream& out) {
  const char* lead = "Usage: hangarpak-cli ";
  for (const auto form : formsOf(command.usage)) {
    printForm(out, lead, form);
    lead = "       hangarpak-cli ";
  }
  out << '\n';
  printWrapped(out, command.about, 0, 0);
  out << "\nOptions:\n";
  for (const auto& option : command.options) printOption(out, option.form, option.text);
  printOption(out, "-h, --help", "print this help and exit");
}

void printVersion(std::string_view program, std::ostream& out) {
  out << program << ' ' << HANGARPAK_VERSION << '\n';
}

}  // namespace app

#include <gtest/gtest.h>

#include "core/process.h"

namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRuntimeRules) {
  struct Case {
    const char* name;
    const char* line;
    Args args;
  };
  const Case cases[] = {
      {"blanks and tabs separate, repeated or not", "  p \t a   b  ", {"p", "a", "b"}},
      {"quotes group blanks", R"(p "C:\Program Files\x.sif" y)", {"p", R"(C:\Program Files\x.sif)", "y"}},
      {"quotes in the middle of a word", R"(p a"b c"d)", {"p", "ab cd"}},
      {"backslashes not before a quote are literal", R"(p C:\a\\b\)", {"p", R"(C:\a\\b\)"}},
      {"2n backslashes before a quote give n", R"(p "a\\" b)", {"p", R"(a\)", "b"}},
      {"2n+1 backslashes give n and a quote", R"(p a\\\"b)", {"p", R"(a\"b)"}},
      {"doubled quote inside a quoted run", R"(p "a""b" c)", {"p", R"(a"b)", "c"}},
      {"unclosed quote runs to the end", R"(p "a b)", {"p", "a b"}},
      {"program name: quotes vanish, backslashes stay", R"("C:\Tools\\" x)", {R"(C:\Tools\\)", "x"}},
      {"program name quoted in part", R"(C:\"Program Files"\o.exe /s)", {R"(C:\Program Files\o.exe)", "/s"}},
      {"shell characters are ordinary", "p a;b $(c) `d` |e &f", {"p", "a;b", "$(c)", "`d`", "|e", "&f"}},
      {"nothing", "  \t ", {}},
  };
  for (const auto& k : cases) EXPECT_EQ(core::splitCommandLine(k.line), k.args) << k.name;
}

TEST(QuoteCommandLineArgument, SplitsBackToTheSameArgument) {
  const char* const args[] = {
      "plain",   "",          "two words",      R"(C:\Program Files\)",      R"(ends in two\\)", R"(it's "quoted")",
      R"(a\"b)", "tab\there", "$(touch x);`y`", R"(\\server\share\a b.zip)",
  };
  for (const char* arg : args) {
    SCOPED_TRACE(arg);
    const std::string line = "prog " + core::quoteCommandLineArgument(arg) + " next";
    EXPECT_EQ(core::splitCommandLine(line), (Args{"prog", arg, "next"}));
  }
  EXPECT_EQ(core::quoteCommandLineArgument(R"(C:\FS\x.sif)"), R"(C:\FS\x.sif)");
}

}  // namespace

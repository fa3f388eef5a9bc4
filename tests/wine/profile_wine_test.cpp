// The program's profile reads and writes against the Windows profile calls
// of the Wine in the test prefix: each case applies the same calls to two
// copies of one file, Wine's through a small Windows program, ours through
// the program's own functions, and compares what the reads give and the
// bytes the writes leave, byte for byte.
//
// Wine's profile code is a reimplementation, and where it is known to part
// from Windows (Wine's own conformance tests mark those places) a case
// gives Windows' answer, which the program follows. Wine also rewrites the
// whole file in its own form on every write (CR LF line ends, no blank
// lines, lines trimmed), where Windows changes only the lines it writes; for
// files that are not in that form already, the two files are compared by
// what Wine reads from each, key by key.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/profile.h"
#include "support/built_paths.h"
#include "support/profile_rules.h"
#include "support/temp_dir.h"
#include "support/utf16_bytes.h"
#include "wine/wine_world.h"

namespace {

using testsupport::readHostFile;
using testsupport::utf16Bytes;
using testsupport::windowsPath;
using testsupport::writeHostFile;

struct Call {
  enum Kind { Read, Write } kind;
  std::string section, key, text;  // text: the default of a read, the value of a write (UTF-8)
  bool wide = false;               // the W call rather than the A call
};

Call read(std::string section, std::string key, std::string def = "(default)") {
  return {Call::Read, std::move(section), std::move(key), std::move(def)};
}
Call readW(std::string section, std::string key, std::string def = "(default)") {
  return {Call::Read, std::move(section), std::move(key), std::move(def), true};
}
Call write(std::string section, std::string key, std::string value) {
  return {Call::Write, std::move(section), std::move(key), std::move(value)};
}
Call writeW(std::string section, std::string key, std::string value) {
  return {Call::Write, std::move(section), std::move(key), std::move(value), true};
}

struct WineCase {
  const char* name;
  std::optional<std::string> before;  // none: no file
  std::vector<Call> calls;
  // Why Wine's bytes cannot be Windows' here (its rewrite of the whole
  // file); the files are then compared by what Wine reads from them.
  const char* wineRewrites = nullptr;
  // Where Windows is known to answer otherwise than Wine: Windows' result
  // of the last call (the value read, or the file's bytes after a write).
  std::optional<std::string> windows = std::nullopt;
};

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  if (bytes.empty()) return "-";
  std::string out;
  for (const unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
  return out;
}

std::string unhex(std::string_view text) {
  std::string out;
  if (text == "-") return out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2)
    out += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  return out;
}

// Every read of the read rules' file but the one of keys before the first
// section, where Wine parts from Windows (a case of its own below).
std::vector<Call> ruleReads() {
  std::vector<Call> reads;
  for (const auto& r : testsupport::kProfileReads)
    if (*r.section) reads.push_back(read(r.section, r.key));
  return reads;
}

std::vector<WineCase> cases() {
  const std::string bom8 = "\xEF\xBB\xBF";
  const std::string long250(250, 'x');
  std::vector<WineCase> table = {
      {"the read rules", testsupport::withLineEnds(testsupport::kProfileRules, "\r\n"), ruleReads()},
      {"lines ended by CR alone", testsupport::withLineEnds(testsupport::kProfileRules, "\r"), ruleReads()},
      {"CR LF pairs after a stray CR", "[a]\r\r\nk=1\r\r\nj=2\r\r\n", {read("a", "k"), read("a", "j")}},
      {"a default loses its trailing blanks, not its tabs",
       "[a]\r\n",
       {read("a", "k", "dflt  "), read("a", "k", "one two  "), read("a", "k", "  lead"), read("a", "k", "tab\t"),
        readW("a", "k", "wide  ")}},
      {"values and defaults are cut to 199 characters",
       "[a]\r\nk=" + long250 + "\r\nq=\"" + long250 + "\"\r\n",
       {read("a", "k"), read("a", "q"), read("a", "none", std::string(250, 'd'))}},
      {"a new file", std::nullopt, {write("s", "k", "v"), write("s", "j", "")}},
      // Windows' own calls take neither a UTF-8 mark nor a UTF-16 BE file
      // (they read both as 8-bit text); Wine, which the simulator reads its
      // files through, reads both, and so does the program (profile_text.h).
      {"UTF-8 with its mark",
       bom8 + "[fltsim.0]\r\ntitle=Caf\xC3\xA9 \xE2\x82\xAC\r\n",
       {readW("fltsim.0", "title"), write("fltsim.0", "sim", "x"), writeW("fltsim.0", "title", "\xC3\x9C\xD0\xB6"),
        writeW("new", "k", "\xE2\x82\xAC")}},
      {"UTF-8: only the mark", bom8, {write("s", "k", "v")}},
      {"UTF-16 LE",
       utf16Bytes(u"\uFEFF[a]\r\nk=Caf\u00E9 \u20AC\r\n"),
       {readW("A", "K"), writeW("a", "j", "\xD0\xB6"), writeW("b", "k", "v"), writeW("a", "k", "1")}},
      {"UTF-16 BE",
       utf16Bytes(u"\uFEFF[a]\r\nk=Caf\u00E9 \u20AC\r\n", true),
       {readW("a", "k"), writeW("a", "j", "\xD0\xB6"), writeW("b", "k", "v")}},
      {"UTF-16: only the mark", utf16Bytes(u"\uFEFF"), {writeW("s", "k", "v")}},
      {"UTF-16: a long value",
       utf16Bytes(u"\uFEFF[a]\r\nk=" + std::u16string(250, u'\u00E9') + u"\r\n"),
       {readW("a", "k")}},
      {"UTF-16 with CR alone",
       utf16Bytes(u"\uFEFF[a]\rk=1\rj=2\r"),
       {readW("a", "j"), writeW("a", "n", "3")},
       "Wine writes CR LF line ends"},
      // Windows reads the keys of a "[]" section for an empty section name,
      // and keeps those before the first section out of every section; Wine
      // gives the latter (a known difference in Wine's own tests).
      {"keys before the first section belong to none",
       "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n",
       {readW("", "key")},
       nullptr,
       std::string("val_e_section")},
  };
  for (const auto& w : testsupport::kProfileWrites)
    table.push_back({w.name, w.before, {write(w.section, w.key, w.value)}, w.wine});
  return table;
}

using ProfileAgainstWine = testsupport::WinePrefixTest;

TEST_F(ProfileAgainstWine, ReadsAndWritesGiveWhatTheWindowsCallsGive) {
  const std::string profileCalls = testsupport::windowsProfileCalls();
  if (profileCalls.empty()) GTEST_SKIP() << "the Windows profile program was not built";
  const std::vector<WineCase> table = cases();
  testsupport::TempDir tmp;
  const auto file = [&](std::size_t i, const char* side) {
    return tmp.path() + "/" + side + std::to_string(i) + ".ini";
  };

  // Our side first, then one run of the Windows program over all cases,
  // which also reads back every key a case names from both files.
  std::vector<std::vector<std::string>> ours(table.size());
  std::ostringstream script;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const WineCase& c = table[i];
    for (const char* side : {"wine", "ours"})
      if (c.before) writeHostFile(file(i, side), *c.before);
    for (const Call& call : c.calls) {
      if (call.kind == Call::Read)
        ours[i].push_back(core::readProfileHostFile(file(i, "ours"), call.section, call.key, call.text));
      else
        ours[i].push_back(core::writeProfileHostFile(file(i, "ours"), call.section, call.key, call.text) ? "1" : "0");
    }
    const auto line = [&](const Call& call, const std::string& path) {
      const auto arg = [&](const std::string& s) { return hex(call.wide ? s : core::utf8ToCp1252(s)); };
      script << (call.kind == Call::Read ? 'r' : 'w') << (call.wide ? 'w' : 'a') << ' ' << hex(windowsPath(path)) << ' '
             << arg(call.section) << ' ' << arg(call.key) << ' ' << arg(call.text) << '\n';
    };
    for (const Call& call : c.calls) line(call, file(i, "wine"));
    for (const Call& call : c.calls)
      for (const char* side : {"wine", "ours"}) line(readW(call.section, call.key, "(none)"), file(i, side));
  }
  writeHostFile(tmp.path() + "/script", script.str());
  ASSERT_EQ(
      world().run({"wine", profileCalls, windowsPath(tmp.path() + "/script"), windowsPath(tmp.path() + "/results")}),
      0);

  std::istringstream results(readHostFile(tmp.path() + "/results"));
  const auto next = [&](bool wide) {
    std::string line;
    std::getline(results, line);
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos) return line;  // a write's result
    const std::string text = unhex(line.substr(blank + 1));
    return wide ? text : core::cp1252ToUtf8(text);
  };
  for (std::size_t i = 0; i < table.size(); ++i) {
    const WineCase& c = table[i];
    SCOPED_TRACE(c.name);
    std::vector<std::string> wine;
    for (const Call& call : c.calls) wine.push_back(next(call.wide));
    const bool lastIsRead = c.calls.back().kind == Call::Read;
    if (c.windows && lastIsRead) {
      EXPECT_EQ(ours[i].back(), *c.windows) << "Wine gives " << testing::PrintToString(wine.back());
      wine.back() = ours[i].back();
    }
    EXPECT_EQ(ours[i], wine);

    const bool wrote = std::any_of(c.calls.begin(), c.calls.end(), [](const Call& k) { return k.kind == Call::Write; });
    const auto bytesOf = [&](const char* side) {
      return testsupport::hostExists(file(i, side)) ? readHostFile(file(i, side)) : "(no file)";
    };
    const std::string ourBytes = bytesOf("ours"), wineBytes = bytesOf("wine");
    if (c.windows && !lastIsRead) {
      EXPECT_EQ(testing::PrintToString(ourBytes), testing::PrintToString(*c.windows))
          << "Wine writes " << testing::PrintToString(wineBytes);
    } else if (wrote && !c.wineRewrites) {
      EXPECT_EQ(testing::PrintToString(ourBytes), testing::PrintToString(wineBytes));
    }
    for (const Call& call : c.calls) {
      const std::string fromWines = next(true), fromOurs = next(true);
      EXPECT_EQ(fromOurs, fromWines) << "Wine reading [" << call.section << "] " << call.key;
    }
  }
  std::string acp;
  std::getline(results, acp);
  EXPECT_EQ(acp, "acp 1252");
}

}  // namespace

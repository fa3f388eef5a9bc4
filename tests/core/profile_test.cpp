#include "core/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/errors.h"
#include "core/profile_stream.h"
#include "support/error_number.h"
#include "support/profile_rules.h"
#include "support/temp_dir.h"
#include "support/utf16_bytes.h"

namespace {

using core::profile::Document;
using core::profile::lookup;
using core::profile::withoutKey;
using core::profile::withValue;
using testsupport::utf16Bytes;

// lookup() of text handed over in pieces of the given size.
std::optional<std::string> lookupInPieces(std::string_view text, std::size_t size, std::string_view section,
                                          std::string_view key) {
  core::profile::LookupStream stream(section, key);
  for (; !text.empty() && stream.take(text.substr(0, size)); text.remove_prefix(std::min(size, text.size()))) {
  }
  return stream.finish();
}

// The streamed read of a whole file whose reads give at most size bytes.
std::optional<std::string> streamedInPieces(std::string_view bytes, std::size_t size, std::string_view section,
                                            std::string_view key) {
  return core::profile::streamedFileValue(
      [&](char* buffer, std::size_t room) {
        const std::size_t n = std::min({size, room, bytes.size()});
        std::copy_n(bytes.data(), n, buffer);
        bytes.remove_prefix(n);
        return n;
      },
      section, key);
}

TEST(ProfileLookup, FollowsTheWindowsReadRules) {
  // Old editors end lines with CR alone; Windows reads those too.
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    const std::string file = testsupport::withLineEnds(testsupport::kProfileRules, eol);
    const Document doc(file);
    for (const auto& c : testsupport::kProfileReads) {
      SCOPED_TRACE(std::string(c.name) + " (" + testing::PrintToString(eol) + ")");
      EXPECT_EQ(lookup(file, c.section, c.key), c.expected);
      EXPECT_EQ(doc.get(c.section, c.key), c.expected);
      for (const std::size_t piece : {1, 2, 5}) EXPECT_EQ(lookupInPieces(file, piece, c.section, c.key), c.expected);
    }
  }
}

TEST(ProfileLookup, CutsLongValuesTo199CharactersAndSurvivesHostileBytes) {
  const std::string v250(250, 'x'), huge(10 * 1024 * 1024, 'h');
  // The opening quote goes; the cut takes the closing one.
  for (const std::string& file : {"[a]\r\nk=" + v250 + "\r\n", "[a]\r\nk=\"" + v250 + "\"  \r\n"}) {
    EXPECT_EQ(lookup(file, "a", "k"), std::string(199, 'x'));
    EXPECT_EQ(Document(file).get("a", "k"), std::string(199, 'x'));
  }
  EXPECT_EQ(lookup("[a]\r\nk=" + v250, "a", "k", 1000), v250);
  // A NUL ends the value, as the C buffer of the Windows call does.
  EXPECT_EQ(lookup(std::string("[a]\r\nk=ab\0cd\r\n", 14), "a", "k"), "ab");
  const std::string big = "[a]\r\n" + huge + "\r\nj=after\r\n";
  EXPECT_EQ(lookup(big, "a", "j"), "after");
  EXPECT_EQ(Document(big).get("a", "j"), "after");
  EXPECT_EQ(lookup("\xff\xfe\x00\x01[a]\rk=1\r\r\n", "a", "k"), std::nullopt);
  EXPECT_EQ(lookup("[a]\r\r\nk=1\r\r\n", "a", "k"), "1");
}

TEST(ProfileWithValue, ChangesOnlyWhatItMust) {
  for (const auto& c : testsupport::kProfileWrites)
    EXPECT_EQ(withValue(c.before, c.section, c.key, c.value), c.after) << c.name;
}

TEST(ProfileWithValue, RefusesWhatWouldNotReadBack) {
  const struct {
    const char* name;
    std::string section, key, value;
  } cases[] = {
      {"line break in the value", "a", "k", "1\r\n[evil]"},
      {"line break in the section", "a]\r\n[b", "k", "1"},
      {"NUL in the value", "a", "k", std::string("a\0b", 3)},
      {"key that reads as a comment", "a", ";k", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(testsupport::errorNumberOf([&] { withValue("[a]\r\nk=0\r\n", c.section, c.key, c.value); }),
              core::err::InvalidProcedureCall);
  }
}

TEST(ProfileWithoutKey, RemovesTheFirstMatchOnly) {
  EXPECT_EQ(withoutKey("[a]\r\nk=1\r\nj=2\r\n", "A", "K"), "[a]\r\nj=2\r\n");
  EXPECT_EQ(withoutKey("[a]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", "a", "k"), "[a]\r\nk=2\r\n[a]\r\nk=3\r\n");
  EXPECT_EQ(withoutKey("[a]\nj=2\nk=1", "a", "k"), "[a]\nj=2\n");
  EXPECT_EQ(withoutKey("[a]\r\nj=2\r\n[b]\r\nk=1\r\n", "a", "k"), "[a]\r\nj=2\r\n[b]\r\nk=1\r\n");
}

TEST(ProfileWithoutSections, DropsHeaderAndLinesUpToTheNextHeader) {
  const std::string file = "; top\r\n[a]\r\nx=1\r\n\r\n[a\\b]\r\ny=2\r\n[c]\r\nz=3";
  EXPECT_EQ(core::profile::withoutSections(file, [](std::string_view n) { return n.substr(0, 1) == "a"; }),
            "; top\r\n[c]\r\nz=3");
  EXPECT_EQ(core::profile::withoutSections(file, [](std::string_view) { return false; }), file);
}

TEST(ProfileStoredForm, ReadsBackUnchanged) {
  const char* const values[] = {"",   "plain", " leading", "trailing\t", "\"quoted\"", "'single'",
                                "\"", "\"\"",  "a\"b",     "\"a' ",      "x = y ; z",  "  "};
  for (const char* v : values) {
    SCOPED_TRACE(v);
    const std::string file = withValue("[s]\r\n", "s", "k", core::profile::storedForm(v));
    EXPECT_EQ(lookup(file, "s", "k", 1000), v);
  }
  EXPECT_EQ(core::profile::storedForm("plain"), "plain");
  EXPECT_EQ(core::profile::storedForm("'x'"), "\"'x'\"");
}

// Reads and writes of whole files as the program makes them (names and
// values in UTF-8): a file keeps its encoding and byte-order mark, the
// parsed document reads as the key-by-key read does, and the default of a
// read loses its trailing blanks as the Windows call's does.
TEST(ProfileFile, KeepsEachEncodingAndItsMark) {
  const std::string bom8 = "\xEF\xBB\xBF";
  const std::u16string longValue(250, u'\u00E9');
  const std::string longDefault(250, 'd');
  const struct {
    const char* name;
    std::string before;
    const char *section, *key;
    std::optional<std::string> write;  // the value written; none for a read
    std::string expected;              // the value read, or the file written
    const char* def = "(absent)";
  } cases[] = {
      {"UTF-8 mark: the first section is seen", bom8 + "[fltsim.0]\r\ntitle=Café\r\n", "fltsim.0", "title", {}, "Café"},
      {"UTF-8 mark: replaced in place in the first section", bom8 + "[fltsim.0]\r\ntitle=Old\r\nsim=x\r\n", "fltsim.0",
       "title", "Ünï €", bom8 + "[fltsim.0]\r\ntitle=Ünï €\r\nsim=x\r\n"},
      {"UTF-8 mark: a new key joins the first section", bom8 + "[fltsim.0]\r\ntitle=A\r\n", "FLTSIM.0", "sim", "b",
       bom8 + "[fltsim.0]\r\ntitle=A\r\nsim=b\r\n"},
      {"UTF-8 mark: a malformed byte reads as U+FFFD", bom8 + "[a]\r\nk=Caf\xE9\r\n", "a", "k", {}, "Caf\uFFFD"},
      {"UTF-8 mark: a malformed byte on another line stays", bom8 + "[a]\r\nk=Caf\xE9\r\n", "a", "j", "é",
       bom8 + "[a]\r\nk=Caf\xE9\r\nj=é\r\n"},
      {"UTF-8 mark: a malformed name is not U+FFFD", bom8 + "[a]\r\n\xE5=1\r\n", "a", "\uFFFD", {}, "(absent)"},
      {"UTF-16 LE: read", utf16Bytes(u"\uFEFF[a]\r\nk = Café €\r\n"), "A", "K", {}, "Café €"},
      {"UTF-16 LE: a new key in UTF-16", utf16Bytes(u"\uFEFF[a]\r\nk=Café €\r\n"), "a", "j", "ж",
       utf16Bytes(u"\uFEFF[a]\r\nk=Café €\r\nj=ж\r\n")},
      {"UTF-16 BE: read", utf16Bytes(u"\uFEFF[a]\r\nk=Café €\r\n", true), "a", "k", {}, "Café €"},
      {"UTF-16 LE: a character of two units", utf16Bytes(u"\uFEFF[a]\rk=𝄞\r"), "a", "k", {}, "𝄞"},
      {"UTF-16 BE: CR LF split from a line of two units",
       utf16Bytes(u"\uFEFF[a]\r\nk=𝄞\r\nj=1", true),
       "A",
       "J",
       {},
       "1"},
      {"UTF-16 BE: replaced in place", utf16Bytes(u"\uFEFF[a]\r\nk=1\r\nj=2\r\n", true), "a", "k", "𝄞",
       utf16Bytes(u"\uFEFF[a]\r\nk=𝄞\r\nj=2\r\n", true)},
      {"UTF-16 BE: a new section", utf16Bytes(u"\uFEFF[a]\r\nk=1\r\n", true), "b", "k", "v",
       utf16Bytes(u"\uFEFF[a]\r\nk=1\r\n[b]\r\nk=v\r\n", true)},
      {"UTF-16: a file of only its mark", utf16Bytes(u"\uFEFF"), "s", "k", "v", utf16Bytes(u"\uFEFF[s]\r\nk=v\r\n")},
      {"UTF-16: a value cut to 199 characters",
       utf16Bytes(u"\uFEFF[a]\r\nk=" + longValue + u"\r\n"),
       "a",
       "k",
       {},
       core::cp1252ToUtf8(std::string(199, '\xE9'))},
      {"UTF-16: a lone surrogate reads as U+FFFD", utf16Bytes(u"\uFEFF[a]\r\nx=\xD800\r\n"), "a", "x", {}, "\uFFFD"},
      {"UTF-16: a lone surrogate on another line stays", utf16Bytes(u"\uFEFF[a]\r\nx=\xD800\r\nk=1\r\n"), "a", "k", "2",
       utf16Bytes(u"\uFEFF[a]\r\nx=\xD800\r\nk=2\r\n")},
      {"UTF-16: a lone surrogate in a section name is not U+FFFD",
       utf16Bytes(u"\uFEFF[\xD800]\r\nk=1\r\n"),
       "\uFFFD",
       "k",
       {},
       "(absent)"},
      {"8-bit file: a name in its code page", "[Caf\xE9]\r\n\x80=1\r\n", "CAFé", "€", {}, "1"},
      {"8-bit file stays Windows-1252", "[a]\r\nk=1\r\n", "a", "k", "Café €", "[a]\r\nk=Caf\xE9 \x80\r\n"},
      {"UTF-8 without its mark is Windows-1252", "[a]\r\nk=Caf\xC3\xA9\r\n", "a", "k", {}, "CafÃ©"},
      {"an empty value is no default", "[a]\r\nk=\r\n", "a", "k", {}, "", "dflt"},
      {"default: trailing blanks dropped", "[a]\r\n", "a", "k", {}, "  lead", "  lead  "},
      {"default: tabs are no blanks", "[a]\r\n", "a", "k", {}, "tab\t", "tab\t"},
      {"default: cut to 199 characters", "[a]\r\n", "a", "k", {}, std::string(199, 'd'), longDefault.c_str()},
  };
  testsupport::TempDir tmp;
  const std::string file = tmp.path() + "/aircraft.cfg";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::writeHostFile(file, c.before);
    if (!c.write) {
      EXPECT_EQ(core::readProfileHostFile(file, c.section, c.key, c.def), c.expected);
      // The catalogue reads each file once, through the parsed document.
      EXPECT_EQ(core::profile::Document::fromFile(c.before).get(c.section, c.key),
                core::profile::fileValue(c.before, c.section, c.key));
      for (const std::size_t piece : {1, 2, 3})
        EXPECT_EQ(streamedInPieces(c.before, piece, c.section, c.key),
                  core::profile::fileValue(c.before, c.section, c.key));
      continue;
    }
    EXPECT_TRUE(core::writeProfileHostFile(file, c.section, c.key, *c.write));
    EXPECT_EQ(testing::PrintToString(testsupport::readHostFile(file)), testing::PrintToString(c.expected));
    EXPECT_EQ(core::readProfileHostFile(file, c.section, c.key, c.def), *c.write);
  }
}

// Random files built from the characters that matter to the format: a write
// must read back, leave every other key as it was, and keep every other line.
TEST(ProfileProperties, HoldOnRandomFiles) {
  std::mt19937 rng(20261207);
  const std::string alphabet = std::string("[]=;\r\n\n\n \t\"'aAkKjb\0\xff", 21);
  const std::vector<std::string> names = {"a", "A", " a ", "b", "k", "K", "j", "[a", "a]", ""};
  auto pick = [&](const std::vector<std::string>& v) { return v[rng() % v.size()]; };
  auto lines = [](const std::string& s) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < s.size()) {
      std::size_t lf = s.find('\n', pos);
      std::size_t end = lf == std::string::npos ? s.size() : lf + 1;
      out.push_back(s.substr(pos, end - pos));
      pos = end;
    }
    return out;
  };
  for (int round = 0; round < 2000; ++round) {
    std::string file;
    const std::size_t length = rng() % 120;
    for (std::size_t i = 0; i < length; ++i) file += alphabet[rng() % alphabet.size()];
    const std::string section = pick(names);
    const std::string key = pick({"a", "k", "K", " j"});
    const std::string value = pick({"v", "", "x y", "new value"});
    SCOPED_TRACE(testing::PrintToString(file) + " [" + section + "] " + key + "=" + value);

    const Document doc(file);
    for (const auto& s : names)
      for (const auto& k : names) {
        ASSERT_EQ(doc.get(s, k), lookup(file, s, k)) << s << "/" << k;
        ASSERT_EQ(lookupInPieces(file, 1 + round % 4, s, k), lookup(file, s, k)) << s << "/" << k;
      }

    const std::string after = withValue(file, section, key, value);
    ASSERT_EQ(lookup(after, section, key), value);
    for (const auto& s : names)
      for (const auto& k : names) {
        if (lookup(after, s, k) == lookup(file, s, k)) continue;
        // Only the written key (under any spelling of its names) may change.
        ASSERT_EQ(Document(after).get(s, k), value);
        ASSERT_TRUE(Document(withValue(file, s, k, "probe")).get(section, key) == std::optional<std::string>("probe"))
            << s << "/" << k;
      }

    // The old lines appear in order in the new file, but for the one line
    // that was replaced or lost its missing line end.
    const auto oldLines = lines(file), newLines = lines(after);
    std::size_t j = 0, missing = 0;
    for (const auto& line : oldLines) {
      std::size_t k = j;
      while (k < newLines.size() && newLines[k] != line) ++k;
      if (k == newLines.size())
        ++missing;
      else
        j = k + 1;
    }
    ASSERT_LE(missing, 1u);
    ASSERT_LE(newLines.size(), oldLines.size() + 2);  // a header and a key line, no blank line
  }
}

}  // namespace

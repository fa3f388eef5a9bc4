#include "core/wine_reg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using core::winereg::ValueType;

const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";

// Every kind of value line as Wine writes it, one after another in a key
// whose line is escaped, between two other keys. Names compare without
// regard to case; the fast read takes only the keys asked for.
TEST(WineReg, ValuesReadAsWineWroteThem) {
  const struct {
    const char* line;
    const char* name;
    ValueType type;
    std::string data;
  } cases[] = {
      {R"("EXE Path"="C:\\Program Files\\FS2002")", "exe path", ValueType::String, "C:\\Program Files\\FS2002"},
      {R"("q"="say \"hi\"\n\r\t\0end")", "Q", ValueType::String, std::string("say \"hi\"\n\r\t\0end", 15)},
      {R"("u"="Caf\xe9 \x20ac\x41")", "u", ValueType::String,
       "Caf\xC3\xA9 \xE2\x82\xAC"
       "A"},
      {R"("pair"="\xd83d\xde00 lone \xd800.")", "pair", ValueType::String, "\xF0\x9F\x98\x80 lone \xEF\xBF\xBD."},
      {R"(@="the default")", "", ValueType::String, "the default"},
      {R"("n\"x"=dword:0000010a)", "N\"X", ValueType::Dword, "266"},
      {R"("e"=str(2):"%SystemRoot%\\x")", "e", ValueType::ExpandString, "%SystemRoot%\\x"},
      {"\"h\"=hex(2):25,00,41,00,\\\n  25,00,00,00", "h", ValueType::ExpandString, "%A%"},
      {"\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00", "m", ValueType::MultiString, std::string("a\0b", 3)},
      {"\"b\"=hex:00,ff,\\\n  10,\\\n  7f", "b", ValueType::Binary, std::string("\0\xff\x10\x7f", 4)},
  };
  std::string text = kHead + "[A] 1\n\"v\"=\"1\"\n[Odd\\\\na\\]me\\\\Caf\\xe9] 1733581234\n#time=1db48e0c3a6e1f2\n";
  for (const auto& c : cases) text += std::string(c.line) + "\n";
  text += "[D] 3\n\"v\"=\"3\"\n";
  const std::string wanted[] = {"ODD\\NA]ME\\Caf\xC3\xA9", "missing"};
  for (const bool fast : {false, true}) {
    SCOPED_TRACE(fast ? "fast" : "full");
    const auto file = fast ? core::winereg::parseKeys(text, wanted) : core::winereg::parse(text);
    ASSERT_TRUE(file.problems.empty()) << file.problems[0].what;
    EXPECT_EQ(file.keys.size(), fast ? 1u : 3u);
    EXPECT_EQ(file.key("d") != nullptr, !fast);
    const auto* key = file.key("odd\\NA]me\\CAF\xC3\xA9");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, "Odd\\na]me\\Caf\xC3\xA9");
    EXPECT_EQ(key->values.size(), std::size(cases));
    for (const auto& c : cases) {
      SCOPED_TRACE(c.line);
      const auto* value = key->value(c.name);
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(value->type, c.type);
      EXPECT_EQ(value->data, c.data);
    }
  }
  EXPECT_EQ(core::winereg::parse(text).arch, "win64");
}

// A damaged line is reported by its number, in the full and the fast read
// alike, and the values around it are still read.
TEST(WineReg, DamageIsReportedAndTheRestRead) {
  const struct {
    std::string body;
    std::size_t line;    // of the first problem
    std::size_t values;  // that were still read
  } cases[] = {
      {"[K] 1\n\"a\"=\"open\n\"b\"=\"ok\"\n", 7, 1},
      {"[K] 1\n\"a\"=hex:01,\\", 7, 0},
      {"[K] 1\n\"a\"=hex:0g\n\"b\"=dword:123456789\n\"c\"=dword:1\n", 7, 1},
      {"[K] 1\n\"a\"=str(2):x\n\"b\"=hex(zz):00\n\"c\"=\"1\"\n", 7, 1},
      {"[K] 1\ngarbage\n\"a=\"1\"\n\"b\"\n@=\"ok\"\n", 7, 1},
      {"[K 1\n\"a\"=\"1\"\n[K] 2\n\"x\"=\"\\", 6, 0},
  };
  const std::string wanted[] = {"K"};
  for (const auto& c : cases)
    for (bool fast : {false, true}) {
      SCOPED_TRACE(c.body + (fast ? " (fast)" : ""));
      const auto file = fast ? core::winereg::parseKeys(kHead + c.body, wanted) : core::winereg::parse(kHead + c.body);
      ASSERT_FALSE(file.problems.empty());
      EXPECT_EQ(file.problems[0].line, c.line) << file.problems[0].what;
      std::size_t values = 0;
      for (const auto& key : file.keys) values += key.values.size();
      EXPECT_EQ(values, c.values);
    }
}

// The fast read skips the lines of keys not asked for, yet a value that goes
// on over further lines takes them whatever they hold, even one that looks
// like a key: the fast read finds exactly the keys, in order and with their
// values, that the full read finds under those names.
TEST(WineReg, TheFastReadFindsTheKeysOfTheFullRead) {
  const std::string bodies[] = {
      // a skipped key's value goes on over a line that looks like the next key
      "[M] 1\n\"v\"=hex:01,\\\n[Z] 2\n\"x\"=\"taken by M\"\n[Z] 3\n\"y\"=\"2\"\n",
      // the same with blanks and a carriage return after the backslash
      "[M] 1\n\"v\"=hex:01,\\ \t\r\n[Z] 2\n\"x\"=\"taken by M\"\n[Z] 3\n",
      // a continued line that fails ends the value; the next line is read
      "[M] 1\n\"v\"=hex:01,\\\n[Q] 2\\\n[Z] 3\n\"y\"=\"2\"\n",
      // a backslash at the end of a string value continues nothing
      "[M] 1\n\"s\"=\"a\"\\\n[Z] 2\n\"y\"=\"2\"\n",
      // nor does one of a value outside any key
      "[M 1\n\"v\"=hex:01,\\\n[Z] 2\n\"y\"=\"2\"\n",
  };
  const std::string wanted[] = {"a", "z"};
  for (const auto& body : bodies) {
    SCOPED_TRACE(body);
    const std::string text = kHead + "[A] 0\n\"a\"=\"0\"\n" + body;
    const auto full = core::winereg::parse(text);
    const auto fast = core::winereg::parseKeys(text, wanted);
    std::vector<const core::winereg::Key*> expected;
    for (const auto& key : full.keys)
      if (key.path == "A" || key.path == "Z") expected.push_back(&key);
    ASSERT_EQ(fast.keys.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(fast.keys[k].path, expected[k]->path);
      ASSERT_EQ(fast.keys[k].values.size(), expected[k]->values.size()) << expected[k]->path;
      for (std::size_t v = 0; v < expected[k]->values.size(); ++v)
        EXPECT_EQ(fast.keys[k].values[v].data, expected[k]->values[v].data);
    }
  }
}

TEST(WineReg, AnythingButARegistryFileIsRefusedWhole) {
  for (std::string text : {std::string(), std::string("REGEDIT4\n[A]\n\"v\"=\"1\"\n"), std::string("\0\xff[", 3)}) {
    const auto file = core::winereg::parse(text);
    EXPECT_FALSE(file.recognised);
    EXPECT_TRUE(file.keys.empty());
    ASSERT_EQ(file.problems.size(), 1u);
  }
}

}  // namespace

#include "core/list_input.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

TEST(ListInput, SplitsLikeBasicInput) {
  const struct {
    const char* name;
    std::string text;
    Fields fields;
  } cases[] = {
      {"empty text", "", {}},
      {"leading blanks skipped, trailing blanks lost", "  a  ,\tb\t, c ", {"a", "b", "c"}},
      {"blanks inside stay", "Cessna 172 , panel one", {"Cessna 172", "panel one"}},
      {"line ends separate", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a blank line is an empty field", "a\r\n\r\nb", {"a", "", "b"}},
      {"empty fields between commas", "a,,b", {"a", "", "b"}},
      {"a comma at the end leaves an empty field", "a,", {"a", ""}},
      {"quotes keep commas and blanks", "\" a, b \",c", {" a, b ", "c"}},
      {"text after the closing quote is dropped", "\"a\"junk,b", {"a", "b"}},
      {"a quote inside an unquoted field stays", "a\"b\",c", {"a\"b\"", "c"}},
      {"quoted field runs over a line end", "\"a\r\nb\",c", {"a\r\nb", "c"}},
      {"unclosed quote runs to the end", "\"abc, def", {"abc, def"}},
      {"panel gauge line", "fs9gps!gps_500,  0,0,500,266", {"fs9gps!gps_500", "0", "0", "500", "266"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(core::splitListInput(c.text), c.fields);
    EXPECT_EQ(core::firstListInputField(c.text), c.fields.empty() ? "" : c.fields.front());
  }
}

TEST(ListInput, SurvivesHostileText) {
  const std::string nul("a\0b,c", 5);
  EXPECT_EQ(core::splitListInput(nul), (Fields{std::string("a\0b", 3), "c"}));
  const std::string commas(100000, ',');
  EXPECT_EQ(core::splitListInput(commas).size(), commas.size() + 1);
  const std::string huge = "  " + std::string(10 * 1024 * 1024, 'x') + "  ,y";
  EXPECT_EQ(core::splitListInput(huge), (Fields{std::string(10 * 1024 * 1024, 'x'), "y"}));
  EXPECT_EQ(core::splitListInput("\"").front(), "");
}

}  // namespace

#include "core/controls.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace {

TEST(ListView, EqualTextsKeepArrivalOrder) {
  core::ListView list;
  list.sorted = true;
  list.add("same", {"1"});
  list.add("same", {"2"});
  list.add("Same", {"3"});
  EXPECT_EQ(list.item(0).subItem(1), "3");  // "Same" < "same" by bytes when folded equal
  EXPECT_EQ(list.item(1).subItem(1), "1");
  EXPECT_EQ(list.item(2).subItem(1), "2");
}

TEST(ListView, AssignSortsAsAddingOneByOne) {
  const std::vector<std::string> texts = {"delta", "Alpha", "same", "charlie", "Same", "same", "", "alpha"};
  core::ListView one, all;
  one.sorted = all.sorted = true;
  std::vector<core::ListItem> rows;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    one.add(texts[i], {std::to_string(i)});
    rows.push_back({texts[i], {std::to_string(i)}});
  }
  all.assign(rows);
  ASSERT_EQ(all.count(), one.count());
  for (int i = 0; i < one.count(); ++i) {
    EXPECT_EQ(all.item(i).text, one.item(i).text);
    EXPECT_EQ(all.item(i).subItem(1), one.item(i).subItem(1));
  }
}

TEST(ComboBox, SelectionFromCodeRaisesClick) {
  core::ComboBox combo;
  int clicks = 0;
  combo.onClick = [&] { ++clicks; };
  combo.addItem("---Not Listed---");
  combo.addItem("cessna\\panel");
  combo.setListIndex(1);
  combo.setListIndex(1);
  combo.setListIndex(-1);
  EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, PinnedHeadStaysFirstWhatSortsBeforeIt) {
  core::ComboBox combo;
  combo.sorted = true;
  combo.addItem("beta");
  combo.addItem("!alpha");  // '!' sorts before '-'
  combo.setListIndex(1);
  combo.insertItem(0, "---Not Listed---");
  combo.pinnedTop = 1;
  EXPECT_EQ(combo.text(), "beta");
  EXPECT_EQ(combo.addItem(""), 1);
  EXPECT_EQ(combo.addItem("zulu"), 4);
  EXPECT_EQ(combo.items(), (std::vector<std::string>{"---Not Listed---", "", "!alpha", "beta", "zulu"}));
  EXPECT_THROW(combo.insertItem(6, "x"), core::RuntimeError);
}

}  // namespace

#include "core/controls.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace

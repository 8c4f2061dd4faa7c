#include "common/print_line.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

TEST(PrintBuffer, ZonesAreFourteenCharactersWide) {
  PrintBuffer buffer;
  buffer.Print({PrintItem::Text("Ep", Separator::kZone), PrintItem::Text("Ip", Separator::kZone),
                PrintItem::Text("x", Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(), "Ep            Ip            x\n");
}

TEST(PrintBuffer, TextPastAZoneStartUsesTheNextZone) {
  PrintBuffer buffer;
  buffer.Print({PrintItem::Text("fifteen chars..", Separator::kZone),
                PrintItem::Text("b", Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(), "fifteen chars..             b\n");
  buffer.Clear();
  // Text that ends exactly at a zone start moves on to the following zone.
  buffer.Print({PrintItem::Text("fourteen chars", Separator::kZone),
                PrintItem::Text("b", Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(), "fourteen chars              b\n");
}

TEST(PrintBuffer, LineMayBeginWithAZoneMoveAndNumbersArePlain) {
  PrintBuffer buffer;
  buffer.Print({PrintItem::Zone(), PrintItem::Number(-0.5, Separator::kZone),
                PrintItem::Number(1e-6, Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(), "              -.5            1E-06 \n");
}

TEST(PrintBuffer, ItemsWithoutSeparatorFollowDirectlyAndUnsetValuesWriteNothing) {
  PrintBuffer buffer("\r\n");
  buffer.Print({PrintItem::Text("time = "), PrintItem::Number(2), PrintItem::Text("s"),
                PrintItem::Optional(std::nullopt, Separator::kLineEnd)});
  buffer.Print({PrintItem::Text("next", Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(), "time =  2 s\r\nnext\r\n");
}

}  // namespace
}  // namespace qalto

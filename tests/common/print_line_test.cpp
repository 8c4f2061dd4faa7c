#include "common/print_line.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

// Zones of 14 characters; text reaching a zone start (or past it) moves to the next zone.
TEST(PrintBuffer, ZonesLineEndsAndPlainNumbers) {
  PrintBuffer buffer("\r\n");
  buffer.Print({PrintItem::Text("Ep", Separator::kZone), PrintItem::Text("Ip", Separator::kZone),
                PrintItem::Text("x", Separator::kLineEnd)});
  buffer.Print({PrintItem::Text("fourteen chars", Separator::kZone),
                PrintItem::Text("b", Separator::kLineEnd)});
  buffer.Print({PrintItem::Zone(), PrintItem::Number(-0.5, Separator::kZone),
                PrintItem::Number(1e-6, Separator::kLineEnd)});
  buffer.Print({PrintItem::Text("time = "), PrintItem::Number(2), PrintItem::Text("s"),
                PrintItem::Optional(std::nullopt, Separator::kLineEnd)});
  EXPECT_EQ(buffer.Text(),
            "Ep            Ip            x\r\n"
            "fourteen chars              b\r\n"
            "              -.5            1E-06 \r\n"
            "time =  2 s\r\n");
}

}  // namespace
}  // namespace qalto

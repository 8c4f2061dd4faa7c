#include "common/typed_number.h"

#include <gtest/gtest.h>

#include "common/error_description.h"

namespace qalto {
namespace {

// Read once at the form as ReadNumber reads it; an overflow waits for the computation that
// takes the number, with the description the run's message shows.
TEST(TypedNumber, ReadsAsTheBoxAndKeepsAnOverflowForItsUse) {
  EXPECT_EQ(TypedNumber::Read(" 7.5 pH").Get(), 7.5);
  EXPECT_EQ(TypedNumber::Read("abc").Get(), 0.0);
  EXPECT_EQ(TypedNumber().Get(), 0.0);
  EXPECT_EQ(ErrorDescription([] { TypedNumber::Read("1e999").Get(); }), "Overflow");
}

}  // namespace
}  // namespace qalto

#include "core/conversion.h"
#include "tests/logic/conversion_rows.h"

#include <gtest/gtest.h>

TEST(DottedToIntegerText, Rows) {
  for (const auto& [text, expected] : quadsum_test::kConversionRows) {
    EXPECT_EQ(quadsum::DottedToIntegerText(text), expected) << "text: \"" << text << '"';
  }
}

#include "core/conversion.h"
#include "tests/logic/conversion_rows.h"

#include <gtest/gtest.h>

#include <string>

TEST(DottedToIntegerText, Rows) {
  for (const auto& [text, expected] : quadsum_test::kConversionRows) {
    EXPECT_EQ(quadsum::DottedToIntegerText(text), expected) << "text: \"" << text << '"';
  }
  // Too long for a row: a part of 400 digits is beyond the double range.
  const std::string nines(400, '9');
  EXPECT_EQ(quadsum::DottedToIntegerText(nines + "..."), "");
  EXPECT_EQ(quadsum::DottedToIntegerText("1.2.3.4" + nines), "");
}

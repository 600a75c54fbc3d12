#include <gtest/gtest.h>

#include "app/ConfigurationDiff.h"

using gc::app::fieldDifferences;
using gc::app::keyedFields;

TEST(ConfigurationDiff, FieldsAreNamedBySectionAndListsKeepTheirLines) {
    const std::string text =
        "*** Config ***\nClock= 100 \n*** Filter of Channel 2 ***\nShift= 4 \n"
        "--- Mode Channel 3 ---\nPFIR[]= 1 2\n         3 4\nShift= 5\n";
    const auto fields = keyedFields(text);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0].name, "Clock");
    EXPECT_EQ(fields[0].value, "100");
    EXPECT_EQ(fields[1].name, "Channel 2 Shift");
    EXPECT_EQ(fields[2].name, "Channel 3 PFIR[]");
    EXPECT_EQ(fields[2].value, "1 2 3 4");
    EXPECT_EQ(fields[3].name, "Channel 3 Shift");

    // Differences in the order of the first text, then what only the second holds.
    const auto diff = fieldDifferences("A= 1\nB= 2\nC= 3\n", "C= 4\nA= 1\nD= 5\n");
    ASSERT_EQ(diff.size(), 3u);
    EXPECT_EQ(diff[0].name, "B");
    EXPECT_FALSE(diff[0].inB);
    EXPECT_EQ(diff[1].name, "C");
    EXPECT_EQ(diff[1].a, "3");
    EXPECT_EQ(diff[1].b, "4");
    EXPECT_EQ(diff[2].name, "D");
    EXPECT_FALSE(diff[2].inA);
    EXPECT_TRUE(fieldDifferences(text, text).empty());
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "model/Numeric.h"
#include "model/TextFile.h"

using namespace gc::model;

TEST(FormatFixed, RoundsToDigitsAndPadsDecimals) {
    EXPECT_EQ(formatFixed(1.0, 6, 4), "1.0000");
    EXPECT_EQ(formatFixed(2.0, 6, 4), "2.0000");
    EXPECT_EQ(formatFixed(0.0, 6, 4), "0.0000");
    EXPECT_EQ(formatFixed(1562500, 8, 1), "1562500.0");
    EXPECT_EQ(formatFixed(403225, 8, 1), "403225.0");
    EXPECT_EQ(formatFixed(12.5, 5, 3), "12.500");
    EXPECT_EQ(formatFixed(25195.3125, 7, 3), "25195.310");  // 7 significant digits, then padded
    EXPECT_EQ(formatFixed(0.1953125, 5, 3), "0.195");
    EXPECT_EQ(formatFixed(0.390625, 5, 3), "0.391");
    EXPECT_EQ(formatFixed(0.78125, 5, 3), "0.781");
    EXPECT_EQ(formatFixed(-3.0103, 5, 2), "-3.01");
    EXPECT_EQ(formatFixed(-20.0, 4, 1), "-20.0");
    EXPECT_EQ(formatFixed(-120.0, 4, 1), "-120.0");
    EXPECT_EQ(formatFixed(0.9999999, 6, 4), "1.0000");  // carry into a new integer digit
    EXPECT_EQ(formatFixed(99.9999, 5, 3), "100.000");
    EXPECT_EQ(formatFixed(0.00004, 6, 4), "0.0000");
    EXPECT_EQ(formatFixed(0.00005, 6, 4), "0.0001");
    EXPECT_EQ(formatFixed(-0.00001, 5, 2), "0.00");  // no "-0.00"
    EXPECT_EQ(formatFixed(6.2831855f, 4, 3), "6.283");
    EXPECT_EQ(formatFixed(1.0f, 9, 7), "1.0000000");
    // One rounding only: 83001/65536 = 1.266494 is 1.266, not 1.2665 rounded again to 1.267.
    EXPECT_EQ(formatFixed(83001.0 / 65536.0, 5, 3), "1.266");
    EXPECT_EQ(formatFixed(3.64746, 5, 3), "3.647");
    EXPECT_EQ(formatFixed(-0.0449, 5, 2), "-0.04");
    EXPECT_EQ(formatFixed(9.9996, 4, 3), "10.000");
    EXPECT_EQ(formatFixed(1.5625, 5, 3), "1.563");  // an exact tie rounds away from zero
    EXPECT_EQ(formatFixed(-4.6875, 5, 3), "-4.688");
    EXPECT_EQ(formatFixed(0.0625, 6, 1), "0.1");
}

TEST(FormatFixed, TooManyIntegerDigitsGiveExponentForm) {
    EXPECT_EQ(formatFixed(100000000, 8, 1), "1E8");
    EXPECT_EQ(formatFixed(123456789, 8, 1), "1.2345679E8");
    EXPECT_EQ(formatFixed(99999999, 8, 1), "99999999.0");
    EXPECT_EQ(formatFixed(std::nan(""), 6, 4), "NAN");
    EXPECT_EQ(formatFixed(-INFINITY, 6, 4), "-INF");
}

TEST(FormatGeneral, ShortestDigitsUpToFifteen) {
    EXPECT_EQ(formatGeneral(2.0), "2");
    EXPECT_EQ(formatGeneral(64.0), "64");
    EXPECT_EQ(formatGeneral(0.5), "0.5");
    EXPECT_EQ(formatGeneral(67108864.0 / 2147483646.0), "0.0312500000291038");
    EXPECT_EQ(formatGeneral(-1.25), "-1.25");
    EXPECT_EQ(formatGeneral(0.0), "0");
    EXPECT_EQ(formatGeneral(1e20), "1E20");
    EXPECT_EQ(formatGeneral(1.5e-7), "1.5E-7");
    // Exponent form starts below 1e-5 and at sixteen integer digits.
    EXPECT_EQ(formatGeneral(1.5e-5), "0.000015");
    EXPECT_EQ(formatGeneral(-1e-5), "-0.00001");
    EXPECT_EQ(formatGeneral(1.5e-4), "0.00015");
    EXPECT_EQ(formatGeneral(9.5e-6), "9.5E-6");
    EXPECT_EQ(formatGeneral(1.5e-6), "1.5E-6");
    EXPECT_EQ(formatGeneral(999999999999999.0), "999999999999999");
    EXPECT_EQ(formatGeneral(1e15), "1E15");
}

TEST(TruncToInt, TruncatesAndSaturates) {
    EXPECT_EQ(truncToInt(-2.9), -2);
    EXPECT_EQ(truncToInt(2.9), 2);
    EXPECT_EQ(truncToInt(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(truncToInt(-1e20), std::numeric_limits<int>::min());
    EXPECT_EQ(truncToInt(2147483647.5), std::numeric_limits<int>::max());
    EXPECT_EQ(truncToInt(std::nan("")), 0);
    EXPECT_EQ(truncToInt(INFINITY), std::numeric_limits<int>::max());
}

TEST(Parse, IntegersAsTyped) {
    EXPECT_EQ(parseInt(" 64 "), 64);
    EXPECT_EQ(parseInt("-5"), -5);
    EXPECT_EQ(parseInt("0x02000000"), 0x02000000);
    EXPECT_EQ(parseInt("$10"), 16);
    EXPECT_EQ(parseInt("0x80000000"), std::numeric_limits<int>::min());
    EXPECT_EQ(parseInt("-0x80000000"), std::numeric_limits<int>::min());
    EXPECT_EQ(parseInt("-0x10"), -16);
    for (const char* bad : {"", "  ", "abc", "1.5", "12a", "0x", "99999999999", "0x1FFFFFFFF"}) {
        EXPECT_THROW((void)parseInt(bad), ConversionError) << bad;
    }
    try {
        (void)parseInt("abc");
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos);
    }
}

TEST(Parse, RealsAcceptPointOrComma) {
    EXPECT_DOUBLE_EQ(parseReal("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(parseReal(" 2.25 "), 2.25);
    EXPECT_DOUBLE_EQ(parseReal("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(parseReal("-7"), -7.0);
    for (const char* bad : {"", "x", "1,2,3", "1.5abc", "--1", "1e999"}) {
        EXPECT_THROW((void)parseReal(bad), ConversionError) << bad;
    }
}

TEST(HexWord, EightUpperCaseDigits) {
    EXPECT_EQ(formatHexWord(0x04000000), "0x04000000");
    EXPECT_EQ(formatHexWord(0x7FFFFFFE), "0x7FFFFFFE");
    EXPECT_EQ(formatHexWord(0x00100000), "0x00100000");
}

TEST(TextFile, SplitsLinesOfAnyLength) {
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("\n\n"), (std::vector<std::string>{"", ""}));
    const std::string longLine(5000, 'x');
    EXPECT_EQ(splitLines(longLine + "\nend"), (std::vector<std::string>{longLine, "end"}));
}

TEST(TextFile, AtomicWriteReplacesOrLeavesOldFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("gc_textfile_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "a.txt").string();
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    ASSERT_TRUE(writeFileAtomically(path, "new text\n"));
    EXPECT_EQ(readFileBytes(path).value(), "new text\n");
    EXPECT_FALSE(writeFileAtomically((dir / "missing" / "b.txt").string(), "x"));
    EXPECT_FALSE(readFileBytes((dir / "none.txt").string()).has_value());
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(formatString("%d    %d   0x%x", 98, 5, 0x5c), "98    5   0x5c");
    fs::remove_all(dir);
}

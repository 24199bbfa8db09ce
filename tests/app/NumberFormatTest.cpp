#include "app/model/NumberFormat.h"

#include "tests/app/CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <sstream>

TEST(FormatNumber, WritesSixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(FormatNumber(4.5), "4.5");
    EXPECT_EQ(FormatNumber(42), "42");
    EXPECT_EQ(FormatNumber(7.025), "7.025");
    EXPECT_EQ(FormatNumber(0.8377580409572781), "0.837758");
    EXPECT_EQ(FormatNumber(241.5), "241.5");
    EXPECT_EQ(FormatNumber(27.749999999925), "27.75");
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-3.25), "-3.25");
}

TEST(FormatNumber, MatchesADefaultFormattedStreamIncludingTheExponentForm) {
    for (double value : {999999.0, 1234567.0, 1e7, 0.0001, 0.00001234, 123456.7, -2.5e-9, 1e300}) {
        std::ostringstream stream;
        stream << value;
        EXPECT_EQ(FormatNumber(value), stream.str()) << value;
    }
    EXPECT_EQ(FormatNumber(1234567.0), "1.23457e+06");
    EXPECT_EQ(FormatNumber(0.00001), "1e-05");
    // What it writes, the parser reads back (to its three-decimal rounding).
    EXPECT_EQ(ParseNumber(FormatNumber(1e7)), 1e7);
}

TEST(ParseNumber, ReadsTheLeadingNumberAndRoundsToThreeDecimals) {
    EXPECT_EQ(ParseNumber("4.50"), 4.5);
    EXPECT_EQ(ParseNumber("  3.14159"), 3.142);
    EXPECT_EQ(ParseNumber("12abc"), 12);
    EXPECT_EQ(ParseNumber("30.0004"), 30);
    EXPECT_EQ(ParseNumber("30.0005"), 30.001);
    EXPECT_EQ(ParseNumber("-1.5e1x"), -15);
    EXPECT_EQ(ParseNumber("2e"), 2); // a bare exponent mark is not part of the number
    EXPECT_EQ(ParseNumber("2e+"), 2);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("5."), 5);
    EXPECT_EQ(ParseNumber("+7"), 7);
}

TEST(ParseNumber, TextWithoutANumberGivesZero) {
    for (const char* text : {"", "   ", "abc", ".", "-", "+.", "e5", "inf", "nan", "infinity"}) {
        EXPECT_EQ(ParseNumber(text), 0) << text;
    }
    EXPECT_EQ(ParseNumber("0x10"), 0);  // hexadecimal is not a typed number
    EXPECT_EQ(ParseNumber("1e999"), 0); // too large for a double: never infinite
}

TEST(ParseNumber, HugeValuesAreKeptInsteadOfOverflowingTheRounding) {
    EXPECT_EQ(ParseNumber("1e300"), 1e300);
    EXPECT_EQ(ParseNumber("123456789012345678"), 123456789012345678.0);
    EXPECT_TRUE(std::isfinite(ParseNumber("1.7e308")));
}

// Qt makes the user's locale the C library's at start-up; the number rules must not follow it.
TEST(NumberRules, AreTheSameInADecimalCommaLocale) {
    if (CommaLocalePath().empty()) {
        GTEST_SKIP() << kNoCommaLocale;
    }
    setenv("LOCPATH", CommaLocalePath().c_str(), 1);
    ASSERT_TRUE(std::setlocale(LC_ALL, kCommaLocale));
    const std::string written = FormatNumber(27.75);
    const double read = ParseNumber("2.5");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(written, "27.75");
    EXPECT_EQ(read, 2.5);
}

TEST(ReadNumber, TakesWholeDecimalNumbersOnlyAndOverflowsAsStrtod) {
    EXPECT_EQ(ReadNumber("+7"), 7);
    for (const char* text : {"", " 1", "12abc", "inf", "0x10", "1e", "2,5"}) {
        EXPECT_EQ(ReadNumber(text), std::nullopt) << text;
    }
    EXPECT_EQ(ReadNumber("-123456e99999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(ReadNumber("1000e-400"), 0);
}

// Oilfield sizes: 3 1/2 = 3 + 0.5; 2 7/8 = 2 + 0.875; 1/3 = 0.3333... rounds to 0.333.
TEST(Fractions, AreReadAsTheirDecimalsInBothRules) {
    const std::pair<const char*, double> cases[] = {
        {"3 1/2", 3.5},      {"3-1/2", 3.5},     {"2 7/8", 2.875},  {"7/8", 0.875},
        {"3\u00BD", 3.5},    {"3 \u00BE", 3.75}, {"\u215D", 0.625}, {"-1 1/4", -1.25},
        {"5\u20443", 1.667}, {"0/4", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseNumber(text), value) << text;
        ASSERT_TRUE(ReadNumber(text).has_value()) << text;
        EXPECT_NEAR(*ReadNumber(text), value, 0.0005) << text;
    }
    EXPECT_EQ(ParseNumber("  3  1/2 in"), 3.5); // blanks before, a unit after
    EXPECT_EQ(ParseNumber("1/3"), 0.333);
}

TEST(Fractions, ZeroDenominatorsAndNonsenseAreNoNumber) {
    for (const char* text : {"7/0", "3 1/0", "3 7/2", "3-4/4"}) {
        EXPECT_EQ(ParseNumber(text), 0) << text;
        EXPECT_EQ(ReadNumber(text), std::nullopt) << text;
    }
    // Not a fraction: today's rules read the leading decimal number, the whole rule refuses.
    const std::pair<const char*, double> leading[] = {{"3 1/", 3},    {"3 1", 3}, {"1.5/2", 1.5},
                                                      {"3 - 1/2", 3}, {"/2", 0},  {"3--1/2", 3}};
    for (const auto& [text, value] : leading) {
        EXPECT_EQ(ParseNumber(text), value) << text;
        EXPECT_EQ(ReadNumber(text), std::nullopt) << text;
    }
    EXPECT_EQ(ReadNumber("1/2x"), std::nullopt);
    EXPECT_EQ(ReadNumber(std::string(400, '9') + "/3"), std::nullopt); // beyond a double
}

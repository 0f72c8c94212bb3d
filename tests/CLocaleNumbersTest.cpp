#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "header/CLocaleNumbers.h"

namespace {

struct DoubleScanCase {
    std::string text;
    std::optional<double> expected;
};

TEST(CLocaleNumbers, ScanDoubleReadsLikeSscanf) {
    const DoubleScanCase cases[] = {
        {"1.5", 1.5},
        {"  \t-2.25abc", -2.25},
        {"+3", 3.0},
        {"12abc", 12.0},
        {"1e3", 1000.0},
        {"1e", 1.0},
        {".5", 0.5},
        {"0x10", 16.0},
        {"0x", 0.0},
        {"1,5", 1.0},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"--5", std::nullopt},
        {"+-5", std::nullopt},
        {"-+5", std::nullopt},
        {"1e309", std::numeric_limits<double>::infinity()},
        {"-1e309", -std::numeric_limits<double>::infinity()},
        {"1e-400", 0.0},
        {std::string(400, '9'), std::numeric_limits<double>::infinity()},
        {"0." + std::string(400, '0') + "1", 0.0},
        {"inf", std::numeric_limits<double>::infinity()},
        {"-4518000.1234\r\n", -4518000.1234},
    };
    for (const DoubleScanCase& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(ScanDouble(c.text), c.expected);
    }
}

TEST(CLocaleNumbers, ScanDoubleReadsNanWithSign) {
    const std::optional<double> value = ScanDouble("-nan");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(std::isnan(*value));
    EXPECT_TRUE(std::signbit(*value));
}

TEST(CLocaleNumbers, ScanFloatRoundsToFloat) {
    EXPECT_EQ(ScanFloat("1.2345"), 1.2345f);
    EXPECT_EQ(ScanFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ScanFloat("x"), std::nullopt);
}

struct IntScanCase {
    std::string text;
    std::optional<int> expected;
};

TEST(CLocaleNumbers, ScanIntReadsLikeSscanf) {
    const IntScanCase cases[] = {
        {"18", 18},
        {"  -3x", -3},
        {"+7", 7},
        {"2.9", 2},
        {"x", std::nullopt},
        {"- 1", std::nullopt},
        {"--5", std::nullopt},
        {"", std::nullopt},
        {"99999999999999999999", std::numeric_limits<int>::max()},
        {"-99999999999999999999", std::numeric_limits<int>::min()},
    };
    for (const IntScanCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ScanInt(c.text), c.expected);
    }
}

TEST(CLocaleNumbers, LeadingNumberIsZeroWithoutNumber) {
    EXPECT_EQ(LeadingNumber(" 2.0\r\n"), 2.0);
    EXPECT_EQ(LeadingNumber("sion 2.0"), 0.0);
}

struct FixedCase {
    double value;
    int decimals;
    std::string expected;
};

TEST(CLocaleNumbers, FormatFixedMatchesPrintf) {
    const FixedCase cases[] = {
        {1.5, 3, "1.500"},
        {0.0, 3, "0.000"},
        {-2.25, 1, "-2.2"},
        {0.05, 1, "0.1"},
        {1.2345f, 3, "1.235"},
        {4518000.123456, 4, "4518000.1235"},
        {std::numeric_limits<double>::infinity(), 3, "inf"},
        {1e22, 4, "1" + std::string(22, '0') + ".0000"},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected);
    }
}

TEST(CLocaleNumbers, FormatGeneralDropsTrailingZeros) {
    EXPECT_EQ(FormatGeneral(0.0, 15), "0");
    EXPECT_EQ(FormatGeneral(2.5, 15), "2.5");
    EXPECT_EQ(FormatGeneral(1234567.123456789012, 15), "1234567.12345679");
    EXPECT_EQ(FormatInt(-42), "-42");
}

}  // namespace

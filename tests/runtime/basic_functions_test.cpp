#include "runtime/basic_functions.h"
#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace hunt {
namespace {

// Switches LC_NUMERIC for one test and restores it.
class NumericLocale {
public:
    explicit NumericLocale(const char *name) : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
        available_ = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    NumericLocale(const NumericLocale &) = delete;
    NumericLocale &operator=(const NumericLocale &) = delete;
    bool available() const { return available_; }

private:
    std::string saved_;
    bool available_ = false;
};

TEST(FormatNum, WholeNumbersArePlainDigits) {
    NumericLocale locale("cs_CZ.UTF-8");
    ASSERT_TRUE(locale.available()) << "scripts/setup generates cs_CZ.UTF-8";
    EXPECT_EQ(formatnum(3), "3");
    EXPECT_EQ(formatnum(-12), "-12");
    EXPECT_EQ(formatnum(0), "0");
    EXPECT_EQ(formatnum(-0.0), "0");
    EXPECT_EQ(formatnum(100050), "100050");
    EXPECT_EQ(formatnum(123456789012345), "123456789012345");
}

TEST(FormatNum, FractionsUseTheLocaleSeparator) {
    struct Case {
        double number;
        const char *czech;
        const char *english;
    };
    const Case cases[] = {
        {2.5, "2,5", "2.5"},
        {-0.125, "-0,125", "-0.125"},
        {0.1 + 0.2, "0,3", "0.3"},
        {1.0 / 3, "0,333333333333333", "0.333333333333333"},
        {2.0 / 3, "0,666666666666667", "0.666666666666667"},
        {123.456, "123,456", "123.456"},
        {0.0001, "0,0001", "0.0001"},
        {0.00001, "0,00001", "0.00001"},
        {1.5e-6, "1,5E-6", "1.5E-6"},
        {1e20, "1E20", "1E20"},
        {-1.25e300, "-1,25E300", "-1.25E300"},
        {1e15, "1E15", "1E15"},
        {999999999999999.0, "999999999999999", "999999999999999"},
    };
    {
        NumericLocale locale("cs_CZ.UTF-8");
        ASSERT_TRUE(locale.available());
        for (const Case &c : cases)
            EXPECT_EQ(formatnum(c.number), c.czech);
    }
    {
        NumericLocale locale("en_US.UTF-8");
        ASSERT_TRUE(locale.available());
        for (const Case &c : cases)
            EXPECT_EQ(formatnum(c.number), c.english);
    }
}

TEST(FormatNum, NotANumberAndInfinityHaveNames) {
    EXPECT_EQ(formatnum(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(formatnum(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(formatnum(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(StrVal, DecimalTextsAndMalformedOnes) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"14", 14},     {" -2.5e1", -25}, {"12abc", 0}, {"", 0},       {"2,5", 0},
        {"+7", 7},      {"3.", 3},        {".5", 0.5},  {"1E3", 1000}, {"1e+2", 100},
        {"1e-2", 0.01}, {"   ", 0},       {"-", 0},     {".", 0},      {"1e", 0},
        {"14 ", 0},     {"\t14", 0},      {"0x10", 0},  {"inf", 0},    {"nan", 0},
        {"1e999", 0},   {"1e-999", 0},    {"--1", 0},   {"-0", 0},     {"007", 7},
    };
    for (const Case &c : cases)
        EXPECT_EQ(strval(c.text), c.value) << "text: '" << c.text << "'";
}

TEST(StrVal, DecimalPointIsAlwaysAFullStop) {
    NumericLocale locale("cs_CZ.UTF-8");
    ASSERT_TRUE(locale.available());
    EXPECT_EQ(strval("2.5"), 2.5);
    EXPECT_EQ(strval("2,5"), 0);
}

TEST(StrVal, PercentIsTheHexadecimalSign) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"%1A", 26},       {"%FF", 255},  {"%10", 16},  {"%ff", 255},
        {"  %7", 7},       {"-%10", -16}, {"+%10", 16}, {"%7FFFFFFF", 2147483647},
        {"%FFFFFFFF", -1}, {"12%", 0},
    };
    for (const Case &c : cases) {
        if (c.text == "12%") {
            EXPECT_THROW(strval(c.text), HuntError);
            continue;
        }
        EXPECT_EQ(strval(c.text), c.value) << "text: '" << c.text << "'";
    }
}

TEST(StrVal, MalformedPercentTextIsAnError) {
    for (const std::string text : {"%", "%G", "%1A ", "%%1", "%100000000", "1%2", "% 1", "%-1"}) {
        try {
            strval(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const HuntError &error) {
            EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(LeftStr, TakesTruncatedCount) {
    const std::string time = "14 05 09 ";
    EXPECT_EQ(leftstr(time, 2), "14");
    EXPECT_EQ(leftstr(time, 5), "14 05");
    EXPECT_EQ(leftstr(time, 2.9), "14");
    EXPECT_EQ(leftstr(time, 0), "");
    EXPECT_EQ(leftstr(time, -3), "");
    EXPECT_EQ(leftstr(time, 0.99), "");
    EXPECT_EQ(leftstr(time, 9), time);
    EXPECT_EQ(leftstr(time, 1e300), time);
    EXPECT_EQ(leftstr(time, std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(leftstr("", 3), "");
}

TEST(ReturnStack, LastPushedIsFirstPopped) {
    Stack stack;
    push(100050, stack);
    push(400, stack);
    int32_t value = 0;
    pop(value, stack);
    EXPECT_EQ(value, 400);
    pop(value, stack);
    EXPECT_EQ(value, 100050);
    EXPECT_TRUE(stack.cells.empty());
}

TEST(ReturnStack, PopOnEmptyGivesZeroAndClearEmpties) {
    Stack stack;
    int32_t value = 99;
    pop(value, stack);
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(stack.cells.empty());
    push(1, stack);
    push(2, stack);
    clearstack(stack);
    EXPECT_TRUE(stack.cells.empty());
    push(3, stack);
    pop(value, stack);
    EXPECT_EQ(value, 3);
}

} // namespace
} // namespace hunt

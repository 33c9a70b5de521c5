#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace hunt {

// The text form of a number: up to 15 significant digits, whole numbers without a decimal
// separator, others with the decimal separator of the user's locale (LC_NUMERIC).
std::string formatnum(double number);

// LEFT$: the first count characters (count truncated toward zero).
std::string leftstr(const std::string &text, double count);

// VAL: a decimal number with "." as the point, 0 for anything malformed; a text containing
// "%" is a 32-bit integer with "%" as the hexadecimal sign, and raises HuntError when malformed.
double strval(const std::string &text);

// The explicit return stack of GOSUB and RETURN: the last value pushed is the first popped.
struct Stack {
    std::vector<int32_t> cells;
};
void clearstack(Stack &stack);
void push(int32_t value, Stack &stack);
void pop(int32_t &value, Stack &stack);

} // namespace hunt

#pragma once
// Conversions of numeric text as the record reader defines them: C-locale
// strtod and strtoul rules plus the radix forms &H, &O, &B and &digits.
// Independent of the user's locale.
#include <cstdint>
#include <string_view>

namespace quillon {

// strtod of the C locale: optional white space, optional sign, then a decimal
// number, "inf", "infinity", "nan", "nan(...)" or a hexadecimal "0x" number;
// the longest valid prefix, correctly rounded; 0 when there is none.
double cLocaleStrtod(std::string_view text);

// Nearest integer, ties to even; -2147483648 for anything outside the int32
// range, for infinities and for NaN.
int32_t roundToInt32(double value);

// The value of a token stored by the numeric field reader. `floating` is the
// field's floating flag (a `.`, `e`, `E`, `d` or `D` stored before any `&`).
int32_t convertIntegerToken(std::string_view token, bool floating);

// The value of the number at the start of a short text, unrounded.
double convertLeadingNumber(std::string_view text);

}  // namespace quillon

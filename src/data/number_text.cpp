// Numeric text of record fields. Everything here is locale-free: the C
// library's strtod would read a decimal comma in some locales.
#include "data/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace quillon {
namespace {

constexpr int32_t kIntegerOutOfRange = std::numeric_limits<int32_t>::min();
// strtoul's limit where unsigned long has 32 bits, as the story format assumes.
constexpr uint64_t kUnsignedLongMax = 4294967295u;
// Exponents beyond this are all the same for deciding overflow against underflow.
constexpr int64_t kExponentSaturation = 1000000000;

char foldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// 0..15 for 0-9, a-f and A-F; -1 for anything else.
int digitValue(char c) {
  if (isDecimalDigit(c)) return c - '0';
  char folded = foldAsciiCase(c);
  if (folded >= 'a' && folded <= 'f') return folded - 'a' + 10;
  return -1;
}

std::string_view skipSpaces(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return text.substr(start);
}

bool beginsWithHexPrefix(std::string_view text) {
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Decides for a number that from_chars found out of range whether it
// overflowed or underflowed: the position of its first significant digit
// (in digits of its base, or in bits for hexadecimal) plus its exponent.
bool overflowed(std::string_view number, bool hexadecimal) {
  const char exponentLetter = hexadecimal ? 'p' : 'e';
  int64_t position = 0;
  bool significant = false;
  bool afterPoint = false;
  std::size_t i = 0;
  for (; i < number.size() && foldAsciiCase(number[i]) != exponentLetter; ++i) {
    if (number[i] == '.') {
      afterPoint = true;
    } else if (!afterPoint) {
      if (significant || number[i] != '0') {
        significant = true;
        ++position;
      }
    } else if (!significant) {
      if (number[i] == '0') {
        --position;
      } else {
        significant = true;
      }
    }
  }
  int64_t exponent = 0;
  bool negativeExponent = false;
  if (i < number.size()) ++i;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
    negativeExponent = number[i] == '-';
    ++i;
  }
  for (; i < number.size() && isDecimalDigit(number[i]); ++i) {
    if (exponent < kExponentSaturation) exponent = exponent * 10 + (number[i] - '0');
  }
  const int64_t scale = hexadecimal ? 4 * position : position;
  return scale + (negativeExponent ? -exponent : exponent) > 0;
}

// strtod after the sign: the unsigned number at the start of `rest`.
double unsignedPrefixValue(std::string_view rest) {
  if (rest.empty()) return 0.0;
  // "0x" counts as a hexadecimal prefix only if a significand follows;
  // otherwise the subject is the "0" alone.
  const bool hexadecimal =
      beginsWithHexPrefix(rest) && rest.size() > 2 && (digitValue(rest[2]) >= 0 || rest[2] == '.');
  const std::string_view number = hexadecimal ? rest.substr(2) : rest;
  const char first = foldAsciiCase(number.front());
  // from_chars accepts a '-' of its own; after strtod's sign none may follow.
  if (!hexadecimal && !isDecimalDigit(first) && first != '.' && first != 'i' && first != 'n') {
    return 0.0;
  }
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), value,
                      hexadecimal ? std::chars_format::hex : std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    const std::string_view taken(number.data(), static_cast<std::size_t>(end - number.data()));
    return overflowed(taken, hexadecimal) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return error == std::errc() ? value : 0.0;
}

// The floating reading shared by readInteger and leadingNumber: a rest that
// begins with "0x" is 0, `d` and `D` are exponent letters, then strtod.
double floatingValue(std::string_view rest) {
  if (beginsWithHexPrefix(rest)) return 0.0;
  std::string text(rest);
  for (char& c : text) {
    if (c == 'd') c = 'e';
    if (c == 'D') c = 'E';
  }
  return cLocaleStrtod(text);
}

// The radix form of a rest of at least two characters beginning with `&`.
// The value accumulates modulo 2^64; its low 32 bits are the value modulo 2^32.
uint64_t radixValue(std::string_view rest) {
  int radix = 8;
  std::size_t start = 1;
  switch (foldAsciiCase(rest[1])) {
    case 'b':
      radix = 2;
      start = 2;
      break;
    case 'h':
      radix = 16;
      start = 2;
      break;
    case 'o':
      start = 2;
      break;
    default:
      break;
  }
  uint64_t value = 0;
  for (std::size_t i = start; i < rest.size(); ++i) {
    const int digit = digitValue(rest[i]);
    if (digit < 0 || digit >= radix) break;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
  }
  return value;
}

bool isRadixForm(std::string_view rest) { return rest.size() >= 2 && rest[0] == '&'; }

// strtoul with base 10 and a 32-bit unsigned long.
uint32_t decimalValue(std::string_view rest) {
  std::size_t i = 0;
  while (i < rest.size() && isCSpace(rest[i])) ++i;
  bool negative = false;
  if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
    negative = rest[i] == '-';
    ++i;
  }
  uint64_t magnitude = 0;
  bool saturated = false;
  for (; i < rest.size() && isDecimalDigit(rest[i]); ++i) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(rest[i] - '0');
    if (magnitude > kUnsignedLongMax) {
      saturated = true;
      magnitude = kUnsignedLongMax;
    }
  }
  // strtoul reports an overflow as ULONG_MAX whatever the sign, so a minus
  // sign with a magnitude above 4294967295 also gives 4294967295, read as -1.
  if (saturated) return static_cast<uint32_t>(kUnsignedLongMax);
  const auto value = static_cast<uint32_t>(magnitude);
  return negative ? 0u - value : value;
}

}  // namespace

double cLocaleStrtod(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const double magnitude = unsignedPrefixValue(text.substr(i));
  return negative ? -magnitude : magnitude;
}

int32_t roundToInt32(double value) {
  // Also false for NaN. Within these bounds a double keeps its fraction bits,
  // so value - floor(value) is exact.
  if (!(value >= -2147483649.0 && value <= 2147483648.0)) return kIntegerOutOfRange;
  const double whole = std::floor(value);
  const double fraction = value - whole;
  double rounded = whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) rounded += 1.0;
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return kIntegerOutOfRange;
  return static_cast<int32_t>(rounded);
}

int32_t convertIntegerToken(std::string_view token, bool floating) {
  const std::string_view rest = skipSpaces(token);
  if (rest.empty()) return 0;
  if (floating) return roundToInt32(floatingValue(rest));
  if (isRadixForm(rest)) return static_cast<int32_t>(static_cast<uint32_t>(radixValue(rest)));
  return static_cast<int32_t>(decimalValue(rest));
}

double convertLeadingNumber(std::string_view text) {
  const std::string_view rest = skipSpaces(text);
  if (rest.empty()) return 0.0;
  if (isRadixForm(rest)) return static_cast<double>(static_cast<int64_t>(radixValue(rest)));
  return floatingValue(rest);
}

}  // namespace quillon

#pragma once
// Number texts shared by every view: the general format and half-even rounding. The decimal
// separator is a parameter; the program passes the one of the user's locale.

#include <cstdint>
#include <string>

namespace leeb {

// At most 15 significant digits, no trailing zeros, no separator for whole values:
// 450.0 -> "450", 45.60 -> "45.6" (with '.').
std::string FormatGeneral(double value, char decimalSeparator);

// Exactly `decimals` digits after the separator (0 to 6): 0.1 with 2 -> "0.10". For values that
// are already rounded to that many decimals.
std::string FormatFixed(double value, int decimals, char decimalSeparator);

// Rounds numerator / denominator (denominator > 0) to the nearest integer, exact halves to
// the even neighbour.
int64_t RoundHalfEvenQuotient(int64_t numerator, int64_t denominator);

// Rounds to the nearest integer, exact halves to the even neighbour.
double RoundHalfEven(double value);

}  // namespace leeb

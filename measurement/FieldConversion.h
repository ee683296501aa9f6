#pragma once
// Conversion of the text fields of a record line into numbers. Locale-independent: the
// decimal separator is a parameter. Failures throw ConversionError with a message that quotes
// the field, e.g. "'4x' is not a valid integer value".

#include <string_view>

namespace leeb {

// Removes leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view TrimField(std::string_view text);

// Optional sign and decimal digits only.
int ConvertInteger(std::string_view text);

// Optional sign, digits, optionally the decimal separator and more digits (at least one digit
// in all). No exponent, no "inf" or "nan": a reading is a plain decimal number, and a number
// written with another separator than the one given does not convert. `otherSeparator`, when
// not NUL, is taken as a decimal separator too (at most one separator in all).
double ConvertReal(std::string_view text, char decimalSeparator, char otherSeparator = '\0');

}  // namespace leeb

#pragma once

// Numbers read from texts, the two ways the program needs:
// - NumberPrefix: the number a text starts with, forgiving everything after it (settings values);
// - ToInteger16: a whole text taken as a 16-bit integer, refusing anything that is not a number or does
//   not fit (the levels box).

#include <QString>
#include <cstdint>
#include <variant>

namespace vesmarin {

// Number-prefix rule. Blanks, tabs and line feeds are ignored wherever they stand. What follows is read as
// an optional sign, decimal digits with at most one "." and an optional exponent (E or e, an optional sign
// and digits); reading stops at the first character that does not fit. A text starting with &H or &O is
// read as a hexadecimal or octal whole number instead. No digit read gives 0.
double NumberPrefix(const QString& text);

// Why a text could not be taken as a 16-bit integer; the values are the run-time error numbers the error
// report shows for them.
enum class ConversionError : int {
    Overflow = 6,      // a number outside -32768 to 32767
    TypeMismatch = 13, // not a number at all (an empty text included)
};
QString DescriptionOf(ConversionError error); // "Overflow", "Type mismatch"

// Rounds to the nearest integer, a half to the even neighbour; Overflow outside the 16-bit range.
std::variant<std::int16_t, ConversionError> RoundToInteger16(double value);

// The whole text, blanks around it allowed, as a number (decimal with sign, point and exponent, or &H/&O)
// rounded as RoundToInteger16 rounds; TypeMismatch when the text is anything else.
std::variant<std::int16_t, ConversionError> ToInteger16(const QString& text);

} // namespace vesmarin

#pragma once

#include <QString>
#include <cstdint>

namespace velmor {

// Conversions of numbers typed by the user, and the checked arithmetic of the deck's
// 16-bit values. Failures throw Error: "Type mismatch" for text that is not a number,
// "Overflow" for a value outside its type, "Division by zero".

// Decimal text with optional sign, fraction and exponent; spaces around it are allowed,
// "." is the decimal point. Empty text is not a number.
double ToDouble(const QString& text);

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 -> 2).
double RoundHalfEven(double value);

// A real value stored into an integer: rounded half-to-even, then range-checked.
int16_t RealToInt16(double value);
int32_t RealToInt32(double value);

// Text to integer: ToDouble, then the rounding and range check above.
int16_t ToInt16(const QString& text);
int32_t ToInt32(const QString& text);

// 16-bit arithmetic that fails instead of wrapping round.
int16_t Add16(int32_t a, int32_t b);
int16_t Sub16(int32_t a, int32_t b);
int16_t Mul16(int32_t a, int32_t b);
int16_t Check16(int64_t value);

// Real division that fails on a zero divisor.
double Divide(double numerator, double denominator);

} // namespace velmor

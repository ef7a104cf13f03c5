#include "legacy/Numbers.h"

#include "legacy/Error.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace velmor {

double ToDouble(const QString& text) {
    static const QRegularExpression decimal(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!decimal.match(text).hasMatch())
        throw Error(kTypeMismatch);
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw Error(kOverflow);
    return value;
}

double RoundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return std::nearbyint(value);
}

namespace {
template <typename Int> Int realToInt(double value) {
    const double rounded = RoundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<Int>::min() ||
        rounded > std::numeric_limits<Int>::max())
        throw Error(kOverflow);
    return static_cast<Int>(rounded);
}
} // namespace

int16_t RealToInt16(double value) {
    return realToInt<int16_t>(value);
}
int32_t RealToInt32(double value) {
    return realToInt<int32_t>(value);
}
int16_t ToInt16(const QString& text) {
    return RealToInt16(ToDouble(text));
}
int32_t ToInt32(const QString& text) {
    return RealToInt32(ToDouble(text));
}

int16_t Check16(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw Error(kOverflow);
    return static_cast<int16_t>(value);
}

int16_t Add16(int32_t a, int32_t b) {
    return Check16(int64_t(Check16(a)) + Check16(b));
}
int16_t Sub16(int32_t a, int32_t b) {
    return Check16(int64_t(Check16(a)) - Check16(b));
}
int16_t Mul16(int32_t a, int32_t b) {
    return Check16(int64_t(Check16(a)) * Check16(b));
}

double Divide(double numerator, double denominator) {
    if (denominator == 0.0)
        throw Error(kDivisionByZero);
    return numerator / denominator;
}

} // namespace velmor

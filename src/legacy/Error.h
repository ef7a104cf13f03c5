#pragma once

#include <QString>
#include <stdexcept>

namespace velmor {

// A run-time error of the program: its description is what the user is shown.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

// The descriptions of the conversion and arithmetic failures.
inline const char* const kTypeMismatch = "Type mismatch";
inline const char* const kOverflow = "Overflow";
inline const char* const kDivisionByZero = "Division by zero";

} // namespace velmor

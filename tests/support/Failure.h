#pragma once

#include "legacy/Error.h"

#include <QString>
#include <functional>

namespace velmor::test {

// The description of the Error that `body` throws, "" when it throws none.
inline QString FailureOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

} // namespace velmor::test

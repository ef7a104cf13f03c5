#pragma once

#include "common/Reporter.h"

#include <QString>
#include <vector>

namespace velmor::test {

// Records the message boxes the program would have shown.
class RecordingReporter : public Reporter {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
    };
    void show(const QString& text, const QString& title, Icon icon) override {
        messages.push_back({text, title, icon});
    }
    void notice(const QString& text) override { notices.push_back(text); }
    std::vector<Message> messages; // the message boxes
    std::vector<QString> notices;  // what was told without blocking
    bool empty() const { return messages.empty(); }
    const Message& last() const { return messages.back(); }
    void clear() { messages.clear(); }
};

} // namespace velmor::test

#pragma once

#include "common/Reporter.h"

#include <QString>
#include <functional>
#include <vector>

namespace velmor::test {

// Records the message boxes, notices and questions the program would have shown.
class RecordingReporter : public Reporter {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
    };
    void show(const QString& text, const QString& title, Icon icon) override {
        messages.push_back({text, title, icon});
        told.push_back(text);
    }
    void notice(const QString& text) override {
        notices.push_back(text);
        told.push_back(text);
    }
    bool ask(const QString& question, Answer byDefault = Answer::No) override {
        questions.push_back(question);
        defaults.push_back(byDefault);
        if (whileAsking)
            whileAsking();
        return answer;
    }
    std::vector<Message> messages; // the message boxes
    std::vector<QString> notices;  // what was told without blocking
    std::vector<QString> told;     // the texts of both, in order
    std::vector<QString> questions;
    std::vector<Answer> defaults;      // the default answer of each question, in order
    bool answer = false;               // what every question is answered
    std::function<void()> whileAsking; // what happens while a question waits
    bool empty() const { return messages.empty(); }
    const Message& last() const { return messages.back(); }
    void clear() {
        messages.clear();
        notices.clear();
        told.clear();
    }
};

} // namespace velmor::test

#pragma once

#include "common/Reporter.h"

#include <functional>

namespace velmor {

// The main window's reporter: the one place that decides how a trapped failure is told. A
// failure while any deck plays, or one that nobody asked for at that moment (a track's end,
// a timer's tick, a player's notification), becomes a notice, so that no box takes the
// keyboard from the person at the decks; a failure of a command given with nothing playing
// is a box. Everything else goes to the program's reporter as it is.
class WindowReporter : public Reporter {
public:
    WindowReporter(Reporter& outer, std::function<bool()> anyDeckPlays)
        : outer_(outer), anyDeckPlays_(std::move(anyDeckPlays)) {}

    void show(const QString& text, const QString& title, Icon icon) override {
        outer_.show(text, title, icon);
    }
    void notice(const QString& text) override { outer_.notice(text); }
    bool ask(const QString& question, Answer byDefault = Answer::No) override {
        return outer_.ask(question, byDefault);
    }

protected:
    void failure(const QString& description) override;

private:
    Reporter& outer_;
    std::function<bool()> anyDeckPlays_;
};

} // namespace velmor

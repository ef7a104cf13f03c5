#include "support/DriftingClocks.h"

#include <algorithm>

namespace velmor::test {

DriftingOutput::DriftingOutput(int sampleRate, int bufferFrames, double drift, Lateness lateness)
    : rate_(sampleRate), buffer_(bufferFrames), period_(bufferFrames / (sampleRate * (1 + drift))),
      lateness_(lateness), random_(lateness.seed), out_(static_cast<size_t>(2 * bufferFrames)) {
    schedule();
}

// The buffer is due on the card's clock; it comes when the machine gets round to it, and
// never before the one ahead of it.
void DriftingOutput::schedule() {
    const double due = static_cast<double>(calls_) * period_;
    double late = 0;
    if (lateness_.chance > 0 && chance_(random_) < lateness_.chance)
        late = chance_(random_) * lateness_.maxSeconds;
    nextCall_ = std::max(nextCall_, due + late);
}

void DriftingOutput::call() {
    if (callback_) {
        callback_->fillAhead();
        callback_->renderOutput(out_.data(), 2, buffer_);
    }
    ++calls_;
    schedule();
}

void RunClocks(const std::vector<DriftingOutput*>& outputs, double seconds) {
    for (;;) {
        DriftingOutput* next = *std::min_element(
            outputs.begin(), outputs.end(), [](const DriftingOutput* a, const DriftingOutput* b) {
                return a->nextCallSeconds() < b->nextCallSeconds();
            });
        if (next->nextCallSeconds() >= seconds)
            return;
        next->call();
    }
}

} // namespace velmor::test

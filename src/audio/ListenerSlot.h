#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

namespace velmor::audio {

// A listener that is called without a lock held, so that it may call back into whoever
// calls it (even replace itself), and that is never called once it has been replaced: set()
// returns only when no call of the listener before is still running, except a call on the
// setting thread itself (a listener that replaces itself). Never used on the audio thread.
template <typename... Args> class ListenerSlot {
public:
    using Listener = std::function<void(Args...)>;

    void set(Listener listener) {
        std::unique_lock lock(mutex_);
        Listener old = std::exchange(listener_, std::move(listener));
        size_t own = 0; // calls of this slot that this thread is inside of
        for (const Frame* frame = calling_; frame; frame = frame->outer)
            own += frame->slot == this;
        idle_.wait(lock, [&] { return calls_ <= own; });
        lock.unlock(); // `old` goes here, unlocked: it may hold what calls back
    }

    // Returns whether there was a listener to call.
    template <typename... Given> bool call(Given&&... args) {
        std::optional<Listener> listener;
        {
            std::lock_guard lock(mutex_);
            if (!listener_)
                return false;
            listener.emplace(listener_);
            ++calls_;
        }
        const Frame frame{this, calling_};
        calling_ = &frame;
        struct Done {
            ListenerSlot& slot;
            std::optional<Listener>& listener;
            const Frame& frame;
            ~Done() {
                listener.reset(); // nothing of it outlives the call
                calling_ = frame.outer;
                std::lock_guard lock(slot.mutex_);
                --slot.calls_;
                slot.idle_.notify_all();
            }
        } done{*this, listener, frame};
        (*listener)(std::forward<Given>(args)...);
        return true;
    }

private:
    // The calls of listeners this thread is inside of, innermost first.
    struct Frame {
        const void* slot;
        const Frame* outer;
    };
    static inline thread_local const Frame* calling_ = nullptr;
    std::mutex mutex_;
    std::condition_variable idle_;
    Listener listener_;
    size_t calls_ = 0;
};

} // namespace velmor::audio

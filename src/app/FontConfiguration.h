#pragma once

#include <thread>

namespace velmor {

// Fontconfig reads its configuration and font caches the first time Qt lays out a text: the
// longest step of building the window (about half of it). This reads them on a thread of its
// own while Qt starts; Qt then finds them read. Fontconfig's set-up is thread-safe, so a Qt
// that asks sooner only repeats the work.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

    // Returns once the configuration is read.
    void wait();

private:
    std::thread reader_;
};

} // namespace velmor

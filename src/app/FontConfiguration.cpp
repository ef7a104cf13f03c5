#include "app/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

namespace velmor {

FontConfigurationReader::FontConfigurationReader() : reader_([] { FcInit(); }) {}

FontConfigurationReader::~FontConfigurationReader() {
    wait();
}

void FontConfigurationReader::wait() {
    if (reader_.joinable())
        reader_.join();
}

} // namespace velmor
